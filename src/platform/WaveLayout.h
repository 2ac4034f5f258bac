// Finding the format block and the sample data of a PCM WAV file.
#pragma once

#include "platform/RiffFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kor::platform {

/// The format block of a WAV file as its "fmt " chunk stores it (the first 18 bytes).
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};

/// Where a PCM WAV file keeps what: its format, and the size and file offset of its sample data.
struct WaveLayout {
    WaveFormat format;
    std::uint32_t dataSize = 0;
    std::uint64_t dataOffset = 0;

    /// Bytes of one frame: whole bytes per sample times channels; never 0 for a layout that
    /// readWaveLayout() gave.
    std::uint32_t frameSize() const { return format.bitsPerSample / 8u * format.channels; }
    /// Whole frames in the sample data.
    std::uint32_t frameCount() const { return dataSize / frameSize(); }
};

/// Walks the freshly opened `file` into its "WAVE" form: reads the format block from the
/// "fmt " chunk (at most 18 bytes; a shorter chunk leaves the rest zero) and enters the "data"
/// chunk, leaving the position at the first sample byte. A data chunk that declares more than
/// the file holds is cut to the bytes present, so the frame count is that of the whole frames
/// there. nullopt when a chunk is missing, the format is not PCM, a sample has fewer than 8 bits
/// or there is no channel (a frame would have no bytes). Any other channel count is accepted:
/// callers decide what they play.
std::optional<WaveLayout> readWaveLayout(RiffFile& file);

/// The layout of the WAV file at `path`, opened and closed again; nullopt as above or when the
/// file cannot be opened.
std::optional<WaveLayout> readWaveLayout(const std::wstring& path);

} // namespace kor::platform
