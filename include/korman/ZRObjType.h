// The object type numbers that name the class of every object in a song document.
#pragma once

#include <cstdint>

/// One enumerator per object class, valued as stored in files and reported by getObjType().
/// Numbers outside 1 to 35 are never used.
enum class ZRObjType : std::int32_t {
    NodeList = 1,
    TimeSig = 2,
    Tempo = 3,
    MusicalNote = 4,
    NoteStyleAttrib = 5,
    NoteStyleSeqAttrib = 6,
    NoteStyleSeqAttribElement = 7,
    MusicalSinger = 8,
    MusicalControl = 9,
    StyleControl = 10,
    ProsodyPhoneme = 11,
    ProsodyVoice = 12,
    ProsodyElement = 13,
    ProsodyControl = 14,
    StylePlugin = 15,
    StylePluginAttribInfo = 16,
    PartStyleAttrib = 17,
    Part = 18, ///< shared part fields; never stands alone in a tree
    MusicalPart = 19,
    ProsodyPart = 20,
    WAVPart = 21,
    MasterTrack = 22,
    ZRTrack = 23,
    WAVTrack = 24,
    VVoice = 25,
    VstPlugin = 26,
    MasterUnit = 27,
    ZRUnit = 28,
    SEUnit = 29,
    KaraokeUnit = 30,
    Mixer = 31,
    Aux = 32,
    UnManaged = 33,
    Sequence = 34,
    KorRoot = 35,
};
