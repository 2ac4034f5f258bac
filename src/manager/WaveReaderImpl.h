// The state of one open WAV file behind a CZRWaveReader.
#pragma once

#include "platform/RiffFile.h"
#include "platform/WaveLayout.h"

#include <cstdint>
#include <string>

/// An open PCM WAV file of one or two channels: its format, where its sample data lies, and the
/// frame position.
class CZRWaveReaderImpl {
public:
    [[nodiscard]] bool open(const std::wstring& path);
    void close();
    bool isOpen() const { return file_.isOpen(); }

    const kor::platform::WaveFormat& format() const { return layout_.format; }
    std::uint32_t dataSize() const { return layout_.dataSize; }
    std::uint32_t sampleNum() const { return sampleNum_; }

    [[nodiscard]] bool seekFrame(std::uint64_t frame);
    std::uint32_t readFrames(void* buffer, std::uint32_t frames);

private:
    std::uint32_t frameSize() const { return layout_.frameSize(); }

    kor::platform::RiffFile file_;
    kor::platform::WaveLayout layout_;
    std::uint32_t sampleNum_ = 0;
    std::uint32_t position_ = 0;
};
