#include "platform/WaveLayout.h"

#include <algorithm>

namespace kor::platform {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::size_t kFormatBlockSize = 18;

std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(le16(p)) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

} // namespace

std::optional<WaveLayout> readWaveLayout(RiffFile& file) {
    if (!file.descendIntoForm("WAVE")) return std::nullopt;
    const auto fmt = file.descendIntoChunk("fmt ");
    if (!fmt) return std::nullopt;

    // A longer chunk is read only this far.
    unsigned char block[kFormatBlockSize] = {};
    const std::size_t wanted = std::min<std::size_t>(fmt->size, kFormatBlockSize);
    if (file.read(block, wanted) != wanted) return std::nullopt;
    WaveLayout layout;
    layout.format = WaveFormat{le16(block),      le16(block + 2),  le32(block + 4), le32(block + 8),
                               le16(block + 12), le16(block + 14), le16(block + 16)};
    if (layout.format.formatTag != kFormatPcm || layout.frameSize() == 0) return std::nullopt;

    if (!file.ascend()) return std::nullopt;
    const auto data = file.descendIntoChunk("data");
    if (!data) return std::nullopt;
    layout.dataSize = data->size;
    layout.dataOffset = file.position();
    return layout;
}

std::optional<WaveLayout> readWaveLayout(const std::wstring& path) {
    RiffFile file;
    if (!file.open(path)) return std::nullopt;
    return readWaveLayout(file);
}

} // namespace kor::platform
