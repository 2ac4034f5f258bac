#include "interchange/MusicXmlParser.h"

#include "formats/xml/XmlSource.h"
#include "formats/xml/XmlText.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <new>

namespace {

void trim(std::wstring& text) {
    const auto isBlank = [](wchar_t c) {
        return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
    };
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    std::size_t begin = 0;
    while (begin < end && isBlank(text[begin]))
        ++begin;
    text.erase(end);
    text.erase(0, begin);
}

} // namespace

/// Hands the events the reader kept to the sink.
struct CxMusicXmlParser::Forward {
    CxMusicXmlParser& parser;

    void start(const ZRXmlStartTag& tag) { parser.start(tag); }
    void end() { parser.end(); }
    void text(std::u16string_view text) { parser.text_.append(text); }
};

CxMusicXmlParser::CxMusicXmlParser()
    : reader_(kor::ZRXmlReaderSetup{.maxDepth = kMaxDepth, .eventsPerRun = 1}) {}

std::uint32_t CxMusicXmlParser::parseFile(const std::wstring& path, Sink& sink) {
    message_.clear();
    const auto file = kor::platform::toPath(path);
    if (!file) return ZR_E_FILE_NOT_FOUND;
    kor::CZRXmlFileSource source(*file);
    if (!source.isOpen()) return ZR_E_FILE_NOT_FOUND;
    return parse(source, path, sink);
}

std::uint32_t CxMusicXmlParser::parse(kor::AZRXmlSource& source, const std::wstring& name,
                                      Sink& sink) {
    message_.clear();
    try {
        if (!reader_.start()) return ZR_E_CANNOT_INITIALIZE_XML_PARSER;
    } catch (const std::bad_alloc&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    sink_ = &sink;
    stopCode_ = 0;
    depth_ = 0;
    text_.clear();
    const kor::ZRXmlReadResult result = reader_.parse(source, name, *this);
    message_ = reader_.message();
    switch (result) {
    case kor::ZRXmlReadResult::Read:
        message_.clear();
        return 0;
    case kor::ZRXmlReadResult::Refused:
        return stopCode_ != 0 ? stopCode_ : ZR_E_INVALID_XML_FILE;
    case kor::ZRXmlReadResult::ReaderFailed:
        return ZR_E_INVALID_XML_FILE;
    case kor::ZRXmlReadResult::OutOfMemory:
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    return ZR_E_INVALID_XML_FILE;
}

void CxMusicXmlParser::takeEvents(CZRXmlEventBuffer& events) {
    Forward forward{*this};
    events.handOn(forward);
}

kor::ZRXmlTextRoom CxMusicXmlParser::textRoom() const {
    return {depth_ > 0 ? std::u16string_view(open_[depth_ - 1]) : std::u16string_view(), kMaxText};
}

void CxMusicXmlParser::start(const ZRXmlStartTag& tag) {
    // The names' storage is kept from element to element.
    if (depth_ == open_.size()) open_.emplace_back();
    open_[depth_++].assign(tag.name);
    text_.clear();
    kor::assignUtf16(tag_.name, tag.name.data(), tag.name.size());
    tag_.attributes.resize(tag.attributes.size());
    for (std::size_t i = 0; i < tag.attributes.size(); ++i) {
        const auto& [key, value] = tag.attributes[i];
        kor::assignUtf16(tag_.attributes[i].first, key.data(), key.size());
        kor::assignUtf16(tag_.attributes[i].second, value.data(), value.size());
    }
    if (const std::uint32_t code = sink_->startElement(tag_)) {
        stopCode_ = code;
        reader_.refuse(sink_->refusalReason());
    }
}

void CxMusicXmlParser::end() {
    if (depth_ == 0) return;
    const std::u16string& name = open_[--depth_];
    kor::assignUtf16(name_, name.data(), name.size());
    kor::assignUtf16(value_, text_.data(), text_.size());
    trim(value_);
    text_.clear();
    if (const std::uint32_t code = sink_->endElement(name_, value_)) {
        stopCode_ = code;
        reader_.refuse(sink_->refusalReason());
    }
}
