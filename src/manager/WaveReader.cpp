#include <korman/CZRWaveReader.h>

#include "manager/WaveReaderImpl.h"

#include <cmath>
#include <new>

CZRWaveReader::CZRWaveReader()
    : impl_(new (std::nothrow) CZRWaveReaderImpl) {}

CZRWaveReader::~CZRWaveReader() = default;

int CZRWaveReader::open(const wchar_t* path) {
    if (impl_ == nullptr || path == nullptr) return 0;
    // The reader reports nothing but its result: any failure, running out of memory included,
    // leaves it closed and answers 0.
    try {
        return impl_->open(path) ? 1 : 0;
    } catch (...) {
        impl_->close();
        return 0;
    }
}

void CZRWaveReader::close() {
    if (impl_ != nullptr) impl_->close();
}

unsigned int CZRWaveReader::getFormatTag() const {
    return impl_ != nullptr && impl_->isOpen() ? impl_->format().formatTag : 0;
}

int CZRWaveReader::getSampleRate() const {
    return impl_ != nullptr && impl_->isOpen() ? static_cast<int>(impl_->format().samplesPerSec)
                                               : 0;
}

int CZRWaveReader::getSampleReso() const {
    return impl_ != nullptr && impl_->isOpen() ? impl_->format().bitsPerSample : 0;
}

int CZRWaveReader::getChannels() const {
    return impl_ != nullptr && impl_->isOpen() ? impl_->format().channels : 0;
}

unsigned int CZRWaveReader::getDataSize() const {
    return impl_ != nullptr && impl_->isOpen() ? impl_->dataSize() : 0;
}

unsigned int CZRWaveReader::getSampleNum() const {
    return impl_ != nullptr && impl_->isOpen() ? impl_->sampleNum() : 0;
}

int CZRWaveReader::seekPosSample(unsigned int frame) {
    return impl_ != nullptr && impl_->seekFrame(frame) ? 1 : 0;
}

int CZRWaveReader::seekPosSec(double seconds) {
    if (impl_ == nullptr || !impl_->isOpen() || !(seconds >= 0)) return 0;
    const double frame = std::trunc(impl_->format().samplesPerSec * seconds);
    // A time far past any file still seeks, to the end; it must not overflow the frame count.
    constexpr double kLastFrame = 4294967295.0;
    return impl_->seekFrame(static_cast<std::uint64_t>(std::min(frame, kLastFrame))) ? 1 : 0;
}

unsigned int CZRWaveReader::readSamples(std::int16_t* buffer, unsigned int frames) {
    return impl_ != nullptr ? impl_->readFrames(buffer, frames) : 0;
}
