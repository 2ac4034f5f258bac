// The read interface of an entry of the VVoice table of a sequence.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/ZRVVoice.h>

#include <string>

/// A virtual voice: a voice of the voice library (its 16-character component ID) under its own
/// bank select and program change (each 0 to 127; the pair is unique in the table), with a name
/// and five timbre parameters.
class KORMAN_API IZRVVoice : public virtual IZRKorObject {
public:
    /// The bank select, 0 to 127.
    virtual std::int32_t getVBS() const = 0;
    /// The program change, 0 to 127.
    virtual std::int32_t getVPC() const = 0;
    /// The voice's component ID in the voice library, 16 characters. Valid while the VVoice lives.
    virtual const std::wstring& getCompID() const = 0;
    /// The VVoice's name, 1 to 256 characters. Valid while the VVoice lives.
    virtual const std::wstring& getName() const = 0;
    /// The five timbre parameters, each -127 to 127. Valid while the VVoice lives.
    virtual const ZRVVoiceParam& getParam() const = 0;
};
