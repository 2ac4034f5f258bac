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
    /// Editor options: flags (0 or 1) and limits (-1, or 0 and more) handed on to the editor.
    int editorFlag4 = 1;
    int editorFlag5 = 1;
    int editorLimit6 = -1;
    int editorFlag7 = 1;
    /// Upper tick limit of edited notes and parts: -1 (no limit) or 0 and more.
    int maxNoteTick = -1;
    /// Longest play time of a musical part in ticks: -1 (no limit) or at least minPlayTime.
    int maxPlayTime = -1;
    /// Shortest play time of a musical part in ticks; the manager stores at least 60.
    int minPlayTime = 60;
    /// Further editor limits: -1 (no limit), or 0 and more (field 11), or 60 and more (field 12).
    int editorLimit11 = -1;
    int editorLimit12 = -1;
    /// Folder holding the schema files "kor3.xsd" and "kor4.xsd"; must not be empty.
    std::wstring schemaFolder;
};
