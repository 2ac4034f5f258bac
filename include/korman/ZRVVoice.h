// The plain records that describe a VVoice (a virtual voice) between the library and its host.
#pragma once

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
