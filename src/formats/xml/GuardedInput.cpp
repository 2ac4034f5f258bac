#include "formats/xml/GuardedInput.h"

#include "formats/xml/XmlSource.h"

#include <xercesc/util/BinInputStream.hpp>

namespace xc = XERCES_CPP_NAMESPACE;

namespace kor {

namespace {

class GuardedStream final : public xc::BinInputStream {
public:
    GuardedStream(AZRXmlSource& source, ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes)
        : source_(source)
        , progress_(progress)
        , maxQuietBytes_(maxQuietBytes)
        , lastEvents_(progress.events) {}
    GuardedStream(const GuardedStream&) = delete;
    GuardedStream& operator=(const GuardedStream&) = delete;

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
        const std::size_t count = source_.read(reinterpret_cast<std::byte*>(toFill), maxToRead);
        position_ += static_cast<XMLFilePos>(count);
        return static_cast<XMLSize_t>(count);
    }

    const XMLCh* getContentType() const override { return nullptr; }

private:
    AZRXmlSource& source_;
    ZRXmlReadProgress& progress_;
    std::uint64_t maxQuietBytes_;
    std::uint64_t lastEvents_;
    XMLFilePos position_ = 0;
    XMLFilePos quietSince_ = 0;
};

} // namespace

CZRGuardedInput::CZRGuardedInput(AZRXmlSource& source, const std::u16string& systemId,
                                 ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes,
                                 xc::MemoryManager& memory)
    : xc::InputSource(systemId.c_str(), &memory)
    , source_(source)
    , progress_(progress)
    , maxQuietBytes_(maxQuietBytes) {}

xc::BinInputStream* CZRGuardedInput::makeStream() const {
    return new (getMemoryManager()) GuardedStream(source_, progress_, maxQuietBytes_);
}

} // namespace kor
