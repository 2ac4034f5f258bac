#include "formats/xml/RootElement.h"

#include "formats/xml/BoundedXmlReader.h"
#include "formats/xml/XmlSource.h"
#include "platform/Path.h"

#include <new>

namespace kor {

namespace {

// Takes the root's name from the first event, the root's start, and ends the parse there.
class RootTaker final : public AZRXmlReaderClient {
public:
    explicit RootTaker(CZRBoundedXmlReader& reader)
        : reader_(reader) {}

    void takeEvents(CZRXmlEventBuffer& events) override { events.handOn(*this); }
    ZRXmlTextRoom textRoom() const override { return {}; }

    void start(const ZRXmlStartTag& tag) {
        root.assign(tag.name);
        reader_.refuse(L"the root element is read");
    }
    void end() {}
    void text(std::u16string_view) {}

    std::u16string root;

private:
    CZRBoundedXmlReader& reader_;
};

} // namespace

std::u16string rootElementOf(const wchar_t* path) {
    if (path == nullptr) return {};
    const auto fsPath = platform::toPath(path);
    if (!fsPath) return {};
    CZRXmlFileSource file(*fsPath);
    if (!file.isOpen()) return {};
    // One event a run, so that the parse stops at the root's start tag.
    CZRBoundedXmlReader reader({.eventsPerRun = 1});
    if (!reader.start()) return {};
    RootTaker taker(reader);
    if (reader.parse(file, path, taker) == ZRXmlReadResult::OutOfMemory) throw std::bad_alloc();
    return std::move(taker.root);
}

} // namespace kor
