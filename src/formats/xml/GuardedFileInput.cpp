#include "formats/xml/GuardedFileInput.h"

#include <xercesc/util/BinInputStream.hpp>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace xc = XERCES_CPP_NAMESPACE;

namespace kor {

namespace {

// Reads the input's file through a descriptor the input owns: the reader gives up a stream
// without deleting it when memory runs out, and the file must be closed all the same.
class GuardedFileStream final : public xc::BinInputStream {
public:
    GuardedFileStream(int fd, ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes)
        : fd_(fd)
        , progress_(progress)
        , maxQuietBytes_(maxQuietBytes)
        , lastEvents_(progress.events) {}
    GuardedFileStream(const GuardedFileStream&) = delete;
    GuardedFileStream& operator=(const GuardedFileStream&) = delete;

    XMLFilePos curPos() const override { return position_; }

    XMLSize_t readBytes(XMLByte* const toFill, const XMLSize_t maxToRead) override {
        if (progress_.events != lastEvents_) {
            lastEvents_ = progress_.events;
            quietSince_ = position_;
        }
        if (!progress_.unlimitedText && position_ - quietSince_ > maxQuietBytes_) {
            progress_.cutOff = true;
            return 0;
        }
        ssize_t count = 0;
        do {
            count = ::read(fd_, toFill, maxToRead);
        } while (count < 0 && errno == EINTR);
        // A read error ends the input like the end of the file: the reader reports the document
        // as cut short.
        if (count <= 0) return 0;
        position_ += static_cast<XMLFilePos>(count);
        return static_cast<XMLSize_t>(count);
    }

    const XMLCh* getContentType() const override { return nullptr; }

private:
    int fd_;
    ZRXmlReadProgress& progress_;
    std::uint64_t maxQuietBytes_;
    std::uint64_t lastEvents_;
    XMLFilePos position_ = 0;
    XMLFilePos quietSince_ = 0;
};

} // namespace

CZRGuardedFileInput::CZRGuardedFileInput(std::filesystem::path path, const std::u16string& systemId,
                                         ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes,
                                         xc::MemoryManager& memory)
    : xc::InputSource(systemId.c_str(), &memory)
    , path_(std::move(path))
    , progress_(progress)
    , maxQuietBytes_(maxQuietBytes) {}

CZRGuardedFileInput::~CZRGuardedFileInput() {
    if (fd_ >= 0) ::close(fd_);
}

xc::BinInputStream* CZRGuardedFileInput::makeStream() const {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return nullptr;
    return new (getMemoryManager()) GuardedFileStream(fd_, progress_, maxQuietBytes_);
}

} // namespace kor
