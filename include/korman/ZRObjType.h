// The object type numbers that name the class of every object in a song document.
#pragma once

#include <cstdint>

/// One enumerator per object class, valued as stored in files and reported by getObjType().
/// Numbers outside 1 to 35 are never used.
enum class ZRObjType : std::int32_t {
    NodeList = 1,                  ///< a list of objects of one type (IZRNodeList)
    TimeSig = 2,                   ///< a time signature (IZRTimeSig)
    Tempo = 3,                     ///< a tempo (IZRTempo)
    MusicalNote = 4,               ///< a sung note (IZRMusicalNote)
    NoteStyleAttrib = 5,           ///< a note's style values (IZRNoteStyleAttrib)
    NoteStyleSeqAttrib = 6,        ///< a note's style curves (IZRNoteStyleSeqAttrib)
    NoteStyleSeqAttribElement = 7, ///< a point of a style curve (IZRNoteStyleSeqAttribElement)
    MusicalSinger = 8,             ///< a singer change (IZRMusicalSinger)
    MusicalControl = 9,            ///< a musical control value (IZRMusicalControl)
    StyleControl = 10,             ///< a style control value (IZRStyleControl)
    ProsodyPhoneme = 11,           ///< a phoneme of a prosody part (IZRProsodyPhoneme)
    ProsodyVoice = 12,             ///< a voice change of a prosody part (IZRProsodyVoice)
    ProsodyElement = 13,           ///< a prosody curve point (IZRProsodyElement)
    ProsodyControl = 14,           ///< a prosody control value (IZRProsodyControl)
    StylePlugin = 15,              ///< a musical part's style (IZRStylePlugin)
    StylePluginAttribInfo = 16,    ///< a style attribute's description (IZRStylePluginAttribInfo)
    PartStyleAttrib = 17,          ///< a musical part's style values (IZRPartStyleAttrib)
    Part = 18,                     ///< shared part fields; never stands alone in a tree
    MusicalPart = 19,              ///< a musical part (IZRMusicalPart)
    ProsodyPart = 20,              ///< a prosody part (IZRProsodyPart)
    WAVPart = 21,                  ///< a WAV part of an audio track (IZRWAVPart)
    MasterTrack = 22,              ///< the master track (IZRMasterTrack)
    ZRTrack = 23,                  ///< a singing track (IZRZRTrack)
    WAVTrack = 24,                 ///< an audio track (IZRWAVTrack)
    VVoice = 25,                   ///< a VVoice of the song (IZRVVoice)
    VstPlugin = 26,                ///< a plug-in slot (IZRVstPlugin)
    MasterUnit = 27,               ///< the mixer's master unit (IZRMasterUnit)
    ZRUnit = 28,                   ///< a singing track's mixer channel (IZRZRUnit)
    SEUnit = 29,                   ///< the sound-effect track's mixer channel (IZRSEUnit)
    KaraokeUnit = 30,              ///< the backing track's mixer channel (IZRKaraokeUnit)
    Mixer = 31,                    ///< the mixer (IZRMixer)
    Aux = 32,                      ///< an aux record (IZRAux)
    UnManaged = 33,                ///< the container of the aux records (IZRUnManaged)
    Sequence = 34,                 ///< the song (IZRSequence)
    KorRoot = 35,                  ///< the top of a document (IZRKorRoot)
};
