// The settings a host hands to CZRKorManagerIF::sysInitialize.
#pragma once

#include <string>

/// How a manager limits editing, and where it finds the schema files of the song formats.
/// The defaults are what a manager holds before sysInitialize copies the host's policy over them.
struct ZRKorManagementPolicy {
    /// Number of commits kept undoable: -1 (no limit) or 1 and more.
    int undoLimit = -1;
    /// Most ZR tracks a sequence may hold, 1 to 16.
    unsigned int maxZRTracks = 16;
    /// Most parts a ZR track may hold: -1 (no limit) or 0 and more.
    int maxPartsPerTrack = -1;
    /// editorFlag4 to editorFlag7 have no effect: nothing in the library reads them. They are kept
    /// only so that the policy keeps the layout hosts fill in; sysInitialize still refuses a value
    /// outside its range (ZR_E_INVALID_MANAGEMENT_POLICY): flags 0 or 1, limits -1 or 0 and more.
    int editorFlag4 = 1;
    /// No effect; 0 or 1.
    int editorFlag5 = 1;
    /// No effect; -1, or 0 and more.
    int editorLimit6 = -1;
    /// No effect; 0 or 1.
    int editorFlag7 = 1;
    /// Upper tick limit of edited notes and parts: -1 (no limit) or 0 and more.
    int maxNoteTick = -1;
    /// Longest play time of a musical part in ticks: -1 (no limit) or at least minPlayTime.
    int maxPlayTime = -1;
    /// Shortest play time of a musical part in ticks; the manager stores at least 60.
    int minPlayTime = 60;
    /// No effect either, kept for the layout and validated like the four above: -1, or 0 and more
    /// (editorLimit11), or 60 and more (editorLimit12).
    int editorLimit11 = -1;
    /// No effect; -1, or 60 and more.
    int editorLimit12 = -1;
    /// Folder holding the schema files "kor3.xsd" and "kor4.xsd" that song files are validated
    /// against. Empty means the folder of libkorman.so, where the schemas are installed with it.
    /// sysInitialize fails with ZR_E_INVALID_MANAGEMENT_POLICY, naming the folder, when either
    /// schema cannot be read there. A relative folder is taken from the working folder at
    /// sysInitialize.
    std::wstring schemaFolder;
};
