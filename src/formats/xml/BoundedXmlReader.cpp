#include "formats/xml/BoundedXmlReader.h"

#include "formats/xml/GuardedInput.h"
#include "formats/xml/XmlPlatform.h"
#include "formats/xml/XmlSource.h"
#include "formats/xml/XmlText.h"

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <new>
#include <utility>

namespace xc = XERCES_CPP_NAMESPACE;

namespace kor {

namespace {

/// Diagnostics longer than this many characters are cut.
constexpr std::size_t kMaxDiagnostic = 2047;

std::wstring wide(const XMLCh* text) {
    return fromUtf16(text);
}

} // namespace

/// Receives the parser's events: checks each against the bounds as it comes, keeps it, and hands
/// the kept events on to the client by the run (when the buffer is full, the document ends, or a
/// long text must be measured at once). What runs per event here is kept small, as it shares the
/// processor's caches with the parser. Errors and fatal errors end the parse by throwing a copy
/// of their exception, which parse() catches.
class CZRBoundedXmlReader::Handler final : public xc::DefaultHandler {
public:
    Handler(CZRBoundedXmlReader& owner)
        : owner_(owner)
        , events_(owner.setup_.eventsPerRun) {}

    /// Starts a parse for `client` whose progress the input watches: nothing kept, nothing open.
    void reset(AZRXmlReaderClient& client, ZRXmlReadProgress& progress) {
        client_ = &client;
        progress_ = &progress;
        events_.clear();
        depth_ = 0;
        text_ = 0;
    }

    void startElement(const XMLCh* const, const XMLCh* const localname, const XMLCh* const,
                      const xc::Attributes& attrs) override {
        ++progress_->events;
        const ZRXmlReaderSetup& setup = owner_.setup_;
        if (depth_ == setup.maxDepth)
            owner_.refuse(L"elements nested deeper than " + std::to_wstring(setup.maxDepth) +
                          L" levels");
        const XMLSize_t count = attrs.getLength();
        if (count > kMaxAttributes)
            owner_.refuse(L"an element with more than " + std::to_wstring(kMaxAttributes) +
                          L" attributes");
        ++depth_;
        text_ = 0;
        const std::u16string_view name = view(localname);
        // Told before the parser goes on to the element's text, which it keeps whole before it
        // reports it.
        progress_->unlimitedText = name == setup.unlimitedTextElement;
        events_.addStart(name, count);
        for (XMLSize_t i = 0; i < count; ++i)
            events_.addAttribute(view(attrs.getLocalName(i)), view(attrs.getValue(i)));
        if (events_.full()) [[unlikely]]
            handOn();
    }

    void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override {
        ++progress_->events;
        if (depth_ > 0) --depth_;
        text_ = 0;
        progress_->unlimitedText = false;
        events_.addEnd();
        if (events_.full()) [[unlikely]]
            handOn();
    }

    void characters(const XMLCh* const chars, const XMLSize_t length) override {
        ++progress_->events;
        text_ += length;
        if (text_ <= kKeptTextMax) [[likely]] {
            events_.addText({chars, length});
            if (events_.full()) [[unlikely]]
                handOn();
            return;
        }
        // A long text is measured against its element at once, so that a text no element could
        // hold is refused where it stands, before it is kept. The client has then taken all the
        // element's earlier characters too.
        handOn();
        checkText();
        events_.addText({chars, length});
        handOn();
    }

    // White space between elements is no text of the document, but it is progress.
    void ignorableWhitespace(const XMLCh* const, const XMLSize_t) override { ++progress_->events; }

    void endDocument() override { handOn(); }

    void setDocumentLocator(const xc::Locator* const locator) override { locator_ = locator; }

    void warning(const xc::SAXParseException& exc) override { report(L"Warning", exc); }

    void error(const xc::SAXParseException& exc) override {
        report(L"Error", exc);
        throw xc::SAXParseException(exc);
    }

    void fatalError(const xc::SAXParseException& exc) override {
        if (progress_->cutOff)
            owner_.refuse(L"a text, comment or tag longer than " + std::to_wstring(kMaxQuietBytes) +
                          L" bytes");
        report(L"Fatal Error", exc);
        throw xc::SAXParseException(exc);
    }

    /// Where the parser is, while it reads a document.
    const xc::Locator* locator() const { return locator_; }

private:
    // Character data of one element kept with the other events, at most; a longer text is
    // handed on as it comes, so that its bound is checked piece by piece. Kept text never
    // reaches a bound, as every element may hold the margin or more.
    static constexpr std::size_t kKeptTextMax = 1024;

    static std::u16string_view view(const XMLCh* text) {
        return {text, xc::XMLString::stringLen(text)};
    }

    // One copy of the client's loop, called from the few places that hand on.
    [[gnu::noinline]] void handOn() { client_->takeEvents(events_); }

    void checkText() {
        const ZRXmlTextRoom room = client_->textRoom();
        const std::size_t margin = owner_.setup_.textMargin;
        if (room.maxText == SIZE_MAX || text_ <= room.maxText + margin) return;
        owner_.refuse(L"the text of element '" +
                      fromUtf16(room.element.data(), room.element.size()) + L"' is longer than " +
                      std::to_wstring(room.maxText) + L" characters");
    }

    void report(const wchar_t* kind, const xc::SAXParseException& exc) {
        owner_.diagnose(kind, wide(exc.getSystemId()), exc.getLineNumber(), exc.getColumnNumber(),
                        wide(exc.getMessage()));
    }

    CZRBoundedXmlReader& owner_;
    AZRXmlReaderClient* client_ = nullptr;
    const xc::Locator* locator_ = nullptr;
    ZRXmlReadProgress* progress_ = nullptr;
    // What the parser reported and the client has not yet taken; the depth of the parser's open
    // elements, and the characters reported since its last tag.
    CZRXmlEventBuffer events_;
    std::size_t depth_ = 0;
    std::size_t text_ = 0;
};

/// Answers the parser's requests for files other than the document: the setup's schema, when the
/// request names it, and nothing else, neither a schema the document names itself (passed over)
/// nor a DTD or an external entity (an error of the document). With the parser's own resolution
/// switched off, nothing else is ever opened.
class CZRBoundedXmlReader::Resolver final : public xc::XMLEntityResolver {
public:
    xc::InputSource* resolveEntity(xc::XMLResourceIdentifier* const resource) override {
        const XMLCh* const systemId = resource->getSystemId();
        if (!schemaURI.empty() &&
            resource->getResourceIdentifierType() == xc::XMLResourceIdentifier::SchemaGrammar &&
            systemId != nullptr && schemaURI == systemId)
            return new xc::LocalFileInputSource(schemaPath.c_str());
        return nullptr;
    }

    std::u16string schemaURI;
    std::u16string schemaPath;
};

struct CZRBoundedXmlReader::Xerces {
    explicit Xerces(CZRBoundedXmlReader& owner)
        : handler(owner) {}

    Handler handler;
    Resolver resolver;
    CZRXmlParseMemory memory; // outlives the parser that allocates from it
    std::unique_ptr<xc::SAX2XMLReaderImpl> sax;
    std::u16string schemaLocation;
};

CZRBoundedXmlReader::CZRBoundedXmlReader(ZRXmlReaderSetup setup)
    : setup_(std::move(setup)) {
    if (!setup_.schemaPath.empty())
        schemaLocation_ =
            setup_.schemaNamespace + L" file://" + escapeFolderForUri(setup_.schemaPath);
}

CZRBoundedXmlReader::~CZRBoundedXmlReader() = default;

bool CZRBoundedXmlReader::start() {
    if (xerces_ != nullptr) return true;
    if (!startXmlPlatform()) return false;
    try {
        auto xerces = std::make_unique<Xerces>(*this);
        xerces->sax = std::make_unique<xc::SAX2XMLReaderImpl>(&xerces->memory);
        xc::SAX2XMLReaderImpl& sax = *xerces->sax;
        const bool validating = !setup_.schemaPath.empty();
        // The scanner for documents validated by schema alone skips a DOCTYPE whole: no DTD is
        // read and no entity declared, so a document expands nothing but the predefined entities
        // and character references. It comes first, as changing it resets the other settings.
        sax.setProperty(xc::XMLUni::fgXercesScannerName,
                        const_cast<XMLCh*>(xc::XMLUni::fgSGXMLScanner));
        sax.setFeature(xc::XMLUni::fgSAX2CoreValidation, validating);
        sax.setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
        sax.setFeature(xc::XMLUni::fgXercesSchema, validating);
        sax.setFeature(xc::XMLUni::fgXercesSchemaFullChecking, validating);
        sax.setFeature(xc::XMLUni::fgXercesLoadExternalDTD, false);
        // Only the resolver hands out files.
        sax.setFeature(xc::XMLUni::fgXercesDisableDefaultEntityResolution, true);
        sax.setXMLEntityResolver(&xerces->resolver);
        if (validating) {
            xerces->resolver.schemaURI =
                toUtf16(L"file://" + escapeFolderForUri(setup_.schemaPath));
            xerces->resolver.schemaPath = toUtf16(setup_.schemaPath);
            xerces->schemaLocation = toUtf16(schemaLocation_);
            sax.setProperty(xc::XMLUni::fgXercesSchemaExternalSchemaLocation,
                            const_cast<char16_t*>(xerces->schemaLocation.c_str()));
        }
        sax.setContentHandler(&xerces->handler);
        sax.setErrorHandler(&xerces->handler);
        xerces_ = std::move(xerces);
        return true;
    } catch (const xc::XMLException&) {
        return false;
    } catch (const xc::OutOfMemoryException&) {
        throw std::bad_alloc();
    }
}

ZRXmlReadResult CZRBoundedXmlReader::parse(AZRXmlSource& source, const std::wstring& systemId,
                                           AZRXmlReaderClient& client) {
    message_.clear();
    if (xerces_ == nullptr) return ZRXmlReadResult::ReaderFailed;
    ZRXmlReadProgress progress;
    xerces_->handler.reset(client, progress);
    try {
        const std::u16string id = toUtf16(systemId);
        const CZRGuardedInput input(source, id, progress, kMaxQuietBytes, xerces_->memory);
        xerces_->sax->parse(input);
        return ZRXmlReadResult::Read;
    } catch (const xc::SAXParseException&) {
        return ZRXmlReadResult::Refused;
    } catch (const xc::XMLException& exc) {
        message_ = wide(exc.getMessage());
        return ZRXmlReadResult::ReaderFailed;
    } catch (const xc::OutOfMemoryException&) {
        return ZRXmlReadResult::OutOfMemory;
    } catch (const std::bad_alloc&) {
        return ZRXmlReadResult::OutOfMemory;
    } catch (const xc::SAXException& exc) {
        message_ = wide(exc.getMessage());
        return ZRXmlReadResult::ReaderFailed;
    }
}

void CZRBoundedXmlReader::refuse(const std::wstring& reason) {
    const xc::Locator* at = xerces_ != nullptr ? xerces_->handler.locator() : nullptr;
    const XMLCh* const systemId = at != nullptr ? at->getSystemId() : nullptr;
    const XMLFileLoc line = at != nullptr ? at->getLineNumber() : 0;
    const XMLFileLoc column = at != nullptr ? at->getColumnNumber() : 0;
    diagnose(L"Fatal Error", wide(systemId), line, column, reason);
    const std::u16string message = toUtf16(reason);
    throw xc::SAXParseException(message.c_str(), nullptr, systemId, line, column);
}

void CZRBoundedXmlReader::diagnose(const wchar_t* kind, const std::wstring& systemId,
                                   std::uint64_t line, std::uint64_t column,
                                   const std::wstring& reason) {
    std::wstring text = std::wstring(kind) + L" at file \"" + systemId + L"\", line " +
                        std::to_wstring(line) + L", char " + std::to_wstring(column) + L":\n- " +
                        reason + L"\n";
    if (text.size() > kMaxDiagnostic) text.resize(kMaxDiagnostic);
    message_ = std::move(text);
}

} // namespace kor
