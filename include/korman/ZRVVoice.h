// The plain records that describe a VVoice (a virtual voice) between the library and its host.
#pragma once

#include <cstdint>
#include <string>

/// The five timbre parameters of a VVoice, each -127 to 127.
struct ZRVVoiceParam {
    int breathiness = 0;
    int brightness = 0;
    int clearness = 0;
    int genderFactor = 0;
    int opening = 0;
};

/// One voice of the voice database as the library's VVoice tables hold it: its identity (bank
/// select and program change, each 0 to 127), its 16-character component ID, its name and its
/// timbre parameters.
struct ZRVVoiceLib {
    int vBS = -1;
    int vPC = -1;
    std::wstring compID;
    std::wstring name;
    ZRVVoiceParam param;
};

/// A song VVoice that loading moved to another key because the voice database lacks its voice or
/// its key: the VVoice object, its key and name before and after, and its component ID.
struct ZRVVoiceConvertInfo {
    std::uint32_t objID = 0xFFFFFFFFu;
    int oldBS = -1;
    int oldPC = -1;
    int newBS = -1;
    int newPC = -1;
    std::wstring compID;
    std::wstring oldName;
    std::wstring newName;
};

/// A singer change (or prosody voice) that loading moved along with its VVoice: the event object,
/// the part that holds it, and its key before and after.
struct ZRSingerConvertInfo {
    std::uint32_t objID = 0xFFFFFFFFu;
    std::uint32_t partID = 0xFFFFFFFFu;
    int oldBS = -1;
    int oldPC = -1;
    int newBS = -1;
    int newPC = -1;
};
