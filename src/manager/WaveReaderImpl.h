// The state of one open WAV file behind a CZRWaveReader.
#pragma once

#include "platform/RiffFile.h"

#include <cstdint>
#include <string>

/// The format block of a WAV file as its "fmt " chunk stores it (the first 18 bytes).
struct ZRWaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

/// An open PCM WAV file: its format, where its sample data lies, and the frame position.
class CZRWaveReaderImpl {
public:
    [[nodiscard]] bool open(const std::wstring& path);
    void close();
    bool isOpen() const { return file_.isOpen(); }

    const ZRWaveFormat& format() const { return format_; }
    std::uint32_t dataSize() const { return dataSize_; }
    std::uint32_t sampleNum() const { return sampleNum_; }

    [[nodiscard]] bool seekFrame(std::uint64_t frame);
    std::uint32_t readFrames(void* buffer, std::uint32_t frames);

private:
    bool parse();
    std::uint32_t frameSize() const { return format_.bitsPerSample / 8u * format_.channels; }

    kor::platform::RiffFile file_;
    ZRWaveFormat format_;
    std::uint32_t dataSize_ = 0;
    std::uint32_t sampleNum_ = 0;
    std::uint64_t dataOffset_ = 0;
    std::uint32_t position_ = 0;
};
