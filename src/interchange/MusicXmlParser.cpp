#include "interchange/MusicXmlParser.h"

#include "formats/xml/GuardedFileInput.h"
#include "formats/xml/XmlPlatform.h"
#include "formats/xml/XmlText.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <optional>

namespace xc = XERCES_CPP_NAMESPACE;

namespace {

constexpr std::size_t kMaxDiagnostic = 2047;

// Gives the reader nothing: with the reader's own resolution switched off, no entity, DTD or
// schema is ever opened.
class RefuseEverything final : public xc::XMLEntityResolver {
public:
    xc::InputSource* resolveEntity(xc::XMLResourceIdentifier* const) override { return nullptr; }
};

} // namespace

/// Receives the reader's events, keeps the nesting and text bounds, and hands elements to the
/// sink. Errors end the parse by throwing a parse exception, which run() catches.
class CxMusicXmlParser::Handler final : public xc::DefaultHandler {
public:
    Handler(Sink& sink, std::wstring& message, kor::ZRXmlReadProgress& progress)
        : sink_(sink)
        , message_(message)
        , progress_(progress) {}

    void startElement(const XMLCh* const, const XMLCh* const localname, const XMLCh* const,
                      const xc::Attributes& attrs) override {
        ++progress_.events;
        if (depth_ == kMaxDepth)
            refuse(L"elements nested deeper than " + std::to_wstring(kMaxDepth) + L" levels");
        ++depth_;
        text_.clear();
        assign(tag_.name, localname);
        const XMLSize_t count = attrs.getLength();
        tag_.attributes.resize(count);
        for (XMLSize_t i = 0; i < count; ++i) {
            assign(tag_.attributes[i].first, attrs.getLocalName(i));
            assign(tag_.attributes[i].second, attrs.getValue(i));
        }
        if (const std::uint32_t code = sink_.startElement(tag_)) stop(code);
    }

    void endElement(const XMLCh* const, const XMLCh* const localname, const XMLCh* const) override {
        ++progress_.events;
        if (depth_ > 0) --depth_;
        assign(name_, localname);
        kor::assignUtf16(value_, text_.data(), text_.size());
        trim(value_);
        text_.clear();
        if (const std::uint32_t code = sink_.endElement(name_, value_)) stop(code);
    }

    void characters(const XMLCh* const chars, const XMLSize_t length) override {
        ++progress_.events;
        if (text_.size() + length > kMaxText)
            refuse(L"a text longer than " + std::to_wstring(kMaxText) + L" characters");
        text_.append(chars, length);
    }

    void ignorableWhitespace(const XMLCh* const, const XMLSize_t) override { ++progress_.events; }

    void setDocumentLocator(const xc::Locator* const locator) override { locator_ = locator; }

    void error(const xc::SAXParseException& exc) override {
        report(exc);
        throw xc::SAXParseException(exc);
    }

    void fatalError(const xc::SAXParseException& exc) override {
        if (progress_.cutOff)
            refuse(L"a text, comment or tag longer than " + std::to_wstring(kMaxQuietBytes) +
                   L" bytes");
        report(exc);
        throw xc::SAXParseException(exc);
    }

    /// The code that ended the parse early, 0 when the document itself was at fault.
    std::uint32_t stopCode() const { return stopCode_; }

private:
    static void assign(std::wstring& out, const XMLCh* text) {
        kor::assignUtf16(out, text, xc::XMLString::stringLen(text));
    }

    static void trim(std::wstring& text) {
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

    void report(const xc::SAXParseException& exc) {
        diagnose(kor::fromUtf16(exc.getSystemId()), exc.getLineNumber(), exc.getColumnNumber(),
                 kor::fromUtf16(exc.getMessage()));
    }

    void diagnose(const std::wstring& systemId, std::uint64_t line, std::uint64_t column,
                  const std::wstring& reason) {
        message_ = L"Fatal Error at file \"" + systemId + L"\", line " + std::to_wstring(line) +
                   L", char " + std::to_wstring(column) + L":\n- " + reason + L"\n";
        if (message_.size() > kMaxDiagnostic) message_.resize(kMaxDiagnostic);
    }

    [[noreturn]] void stop(std::uint32_t code) {
        stopCode_ = code;
        refuse(sink_.refusalReason());
    }

    [[noreturn]] void refuse(const std::wstring& reason) {
        const XMLCh* const systemId = locator_ != nullptr ? locator_->getSystemId() : nullptr;
        const XMLFileLoc line = locator_ != nullptr ? locator_->getLineNumber() : 0;
        const XMLFileLoc column = locator_ != nullptr ? locator_->getColumnNumber() : 0;
        diagnose(kor::fromUtf16(systemId), line, column, reason);
        const std::u16string text = kor::toUtf16(reason);
        throw xc::SAXParseException(text.c_str(), nullptr, systemId, line, column);
    }

    Sink& sink_;
    std::wstring& message_;
    kor::ZRXmlReadProgress& progress_;
    const xc::Locator* locator_ = nullptr;
    std::size_t depth_ = 0;
    std::uint32_t stopCode_ = 0;
    ZRXmlTag tag_;
    std::wstring name_;
    std::wstring value_;
    std::u16string text_;
};

template <class MakeInput>
std::uint32_t CxMusicXmlParser::run(const std::wstring& name, Sink& sink, MakeInput&& makeInput) {
    message_.clear();
    kor::ZRXmlReadProgress progress;
    if (!kor::startXmlPlatform()) return ZR_E_CANNOT_INITIALIZE_XML_PARSER;
    std::optional<Handler> handler;
    // Outlives the reader, and frees what the reader leaves behind when memory runs out.
    kor::CZRXmlParseMemory memory;
    try {
        handler.emplace(sink, message_, progress);
        RefuseEverything resolver;
        xc::SAX2XMLReaderImpl sax(&memory);
        // The scanner for documents validated by schema alone skips a DOCTYPE whole, so the
        // DTD a score names by URL is never fetched and its entities never declared. It comes
        // first, as changing it resets the other settings.
        sax.setProperty(xc::XMLUni::fgXercesScannerName,
                        const_cast<XMLCh*>(xc::XMLUni::fgSGXMLScanner));
        sax.setFeature(xc::XMLUni::fgSAX2CoreValidation, false);
        sax.setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
        sax.setFeature(xc::XMLUni::fgXercesSchema, false);
        sax.setFeature(xc::XMLUni::fgXercesLoadExternalDTD, false);
        sax.setFeature(xc::XMLUni::fgXercesDisableDefaultEntityResolution, true);
        sax.setXMLEntityResolver(&resolver);
        sax.setContentHandler(&*handler);
        sax.setErrorHandler(&*handler);
        const std::u16string systemId = kor::toUtf16(name);
        const std::unique_ptr<xc::InputSource> input = makeInput(systemId, progress, memory);
        sax.parse(*input);
        return 0;
    } catch (const xc::SAXParseException&) {
        return handler && handler->stopCode() != 0 ? handler->stopCode() : ZR_E_INVALID_XML_FILE;
    } catch (const xc::XMLException& exc) {
        message_ = kor::fromUtf16(exc.getMessage());
        return ZR_E_INVALID_XML_FILE;
    } catch (const xc::OutOfMemoryException&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    } catch (const std::bad_alloc&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    } catch (const xc::SAXException& exc) {
        message_ = kor::fromUtf16(exc.getMessage());
        return ZR_E_INVALID_XML_FILE;
    }
}

std::uint32_t CxMusicXmlParser::parseFile(const std::wstring& path, Sink& sink) {
    const auto file = kor::platform::toPath(path);
    std::error_code ignored;
    if (!file || std::filesystem::is_directory(*file, ignored) ||
        !std::ifstream(*file, std::ios::binary).is_open()) {
        message_.clear();
        return ZR_E_FILE_NOT_FOUND;
    }
    return run(path, sink,
               [&file](const std::u16string& systemId, kor::ZRXmlReadProgress& progress,
                       xc::MemoryManager& memory) {
                   return std::make_unique<kor::CZRGuardedFileInput>(*file, systemId, progress,
                                                                     kMaxQuietBytes, memory);
               });
}

std::uint32_t CxMusicXmlParser::parseBytes(std::string_view bytes, const std::wstring& name,
                                           Sink& sink) {
    return run(name, sink,
               [bytes](const std::u16string& systemId, kor::ZRXmlReadProgress&,
                       xc::MemoryManager& memory) {
                   return std::make_unique<xc::MemBufInputSource>(
                       reinterpret_cast<const XMLByte*>(bytes.data()), bytes.size(),
                       systemId.c_str(), false, &memory);
               });
}
