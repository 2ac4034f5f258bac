#include "manager/WaveReaderImpl.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::size_t kFormatBlockSize = 18;

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(le16(p)) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

} // namespace

bool CZRWaveReaderImpl::open(const std::wstring& path) {
    close();
    if (file_.open(path) && parse()) return true;
    close();
    return false;
}

void CZRWaveReaderImpl::close() {
    file_.close();
    dataSize_ = sampleNum_ = position_ = 0;
    dataOffset_ = 0;
}

bool CZRWaveReaderImpl::parse() {
    if (!file_.descendIntoForm("WAVE")) return false;
    const auto fmt = file_.descendIntoChunk("fmt ");
    if (!fmt) return false;

    // A shorter chunk leaves the rest of the block zero; a longer one is read only this far.
    unsigned char block[kFormatBlockSize] = {};
    const std::size_t wanted = std::min<std::size_t>(fmt->size, kFormatBlockSize);
    if (file_.read(block, wanted) != wanted) return false;
    format_ = ZRWaveFormat{le16(block), le16(block + 2), le32(block + 4), le32(block + 8),
                           le16(block + 12), le16(block + 14), le16(block + 16)};
    // Below 8 bits per sample a frame would have no bytes.
    if (format_.formatTag != kFormatPcm || format_.bitsPerSample < 8) return false;
    if (format_.channels != 1 && format_.channels != 2) return false;

    if (!file_.ascend()) return false;
    const auto data = file_.descendIntoChunk("data");
    if (!data) return false;
    dataSize_ = data->size;
    sampleNum_ = dataSize_ / frameSize();
    dataOffset_ = file_.position();
    position_ = 0;
    return true;
}

bool CZRWaveReaderImpl::seekFrame(std::uint64_t frame) {
    if (!isOpen()) return false;
    const std::uint64_t offset = dataOffset_ + frame * frameSize();
    if (!file_.seek(static_cast<std::int64_t>(offset), kor::platform::RiffFile::Origin::Begin))
        return false;
    position_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(frame, sampleNum_));
    return true;
}

std::uint32_t CZRWaveReaderImpl::readFrames(void* buffer, std::uint32_t frames) {
    if (!isOpen() || buffer == nullptr || frames == 0) return 0;
    frames = std::min(frames, sampleNum_ - position_);
    const std::size_t bytes = file_.read(buffer, std::size_t{frames} * frameSize());
    const auto read = static_cast<std::uint32_t>(bytes / frameSize());
    position_ = std::min(position_ + read, sampleNum_);
    return read;
}
