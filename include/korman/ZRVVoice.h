// The plain records that describe a VVoice (a virtual voice) between the library and its host.
#pragma once

#include <cstdint>
#include <string>

/// The five timbre parameters of a VVoice, each -127 to 127.
struct ZRVVoiceParam {
    /// Breathiness, -127 to 127.
    int breathiness = 0;
    /// Brightness, -127 to 127.
    int brightness = 0;
    /// Clearness, -127 to 127.
    int clearness = 0;
    /// Gender factor, -127 to 127.
    int genderFactor = 0;
    /// Mouth opening, -127 to 127.
    int opening = 0;
};

/// One voice of the voice database as the library's VVoice tables hold it: its identity (bank
/// select and program change, each 0 to 127), its 16-character component ID, its name and its
/// timbre parameters.
struct ZRVVoiceLib {
    /// Bank select, 0 to 127 (-1 in a record not filled in).
    int vBS = -1;
    /// Program change, 0 to 127 (-1 in a record not filled in).
    int vPC = -1;
    /// The voice's component ID in the voice database, 16 characters.
    std::wstring compID;
    /// The voice's name, 1 to 256 characters.
    std::wstring name;
    /// The timbre parameters.
    ZRVVoiceParam param;
};

/// A song VVoice that loading moved to another key because the voice database lacks its voice or
/// its key: the VVoice object, its key and name before and after, and its component ID.
struct ZRVVoiceConvertInfo {
    /// The ID of the VVoice object in the current song.
    std::uint32_t objID = 0xFFFFFFFFu;
    /// The bank select the file gave.
    int oldBS = -1;
    /// The program change the file gave.
    int oldPC = -1;
    /// The bank select the VVoice has now.
    int newBS = -1;
    /// The program change the VVoice has now.
    int newPC = -1;
    /// The component ID of the voice the VVoice sings.
    std::wstring compID;
    /// The name the file gave.
    std::wstring oldName;
    /// The name the VVoice has now.
    std::wstring newName;
};

/// A singer change (or prosody voice) that loading moved along with its VVoice: the event object,
/// the part that holds it, and its key before and after.
struct ZRSingerConvertInfo {
    /// The ID of the singer change or prosody voice in the current song.
    std::uint32_t objID = 0xFFFFFFFFu;
    /// The ID of the musical or prosody part that holds it.
    std::uint32_t partID = 0xFFFFFFFFu;
    /// The bank select the file gave.
    int oldBS = -1;
    /// The program change the file gave.
    int oldPC = -1;
    /// The bank select the event sings now.
    int newBS = -1;
    /// The program change the event sings now.
    int newPC = -1;
};
