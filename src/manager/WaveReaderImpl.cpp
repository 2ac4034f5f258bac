#include "manager/WaveReaderImpl.h"

#include <algorithm>

bool CZRWaveReaderImpl::open(const std::wstring& path) {
    close();
    if (file_.open(path)) {
        const auto layout = kor::platform::readWaveLayout(file_);
        if (layout && (layout->format.channels == 1 || layout->format.channels == 2)) {
            // The format block keeps its last values after a close; the data fields do not.
            layout_ = *layout;
            sampleNum_ = layout_.frameCount();
            return true;
        }
    }
    close();
    return false;
}

void CZRWaveReaderImpl::close() {
    file_.close();
    layout_.dataSize = 0;
    layout_.dataOffset = 0;
    sampleNum_ = position_ = 0;
}

bool CZRWaveReaderImpl::seekFrame(std::uint64_t frame) {
    if (!isOpen()) return false;
    const std::uint64_t offset = layout_.dataOffset + frame * frameSize();
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
