// The read interface of a part that plays an audio file.
#pragma once

#include <korman/IZRPart.h>

#include <string>

/// A part of an audio track that refers to a WAV file.
class KORMAN_API IZRWAVPart : public IZRPart {
public:
    /// Length of the audio in seconds, 16.16 fixed point.
    virtual std::int32_t getDurSec() const = 0;
    /// 44100, 48000 or 96000.
    virtual std::int32_t getSampleRate() const = 0;
    /// Bits per sample; 16.
    virtual std::int32_t getSampleReso() const = 0;
    /// 1 or 2.
    virtual std::int32_t getChannels() const = 0;
    /// The audio file as the song names it, 1 to 260 characters: rooted, or a file name in the
    /// song's WAV parts folder (see CZRKorManagerIF::fileGetActualWAVFilePath).
    virtual const std::wstring& getFilePath() const = 0;
    /// True when the folder part of the path begins with a slash or a backslash.
    virtual bool isRootedPath() const = 0;
    /// The negation of isRootedPath().
    virtual bool isRelativePath() const = 0;
};
