#include "formats/xml/XmlFormatParser.h"

#include "formats/xml/GuardedFileInput.h"
#include "formats/xml/VerifyTree.h"
#include "formats/xml/XmlEvents.h"
#include "formats/xml/XmlPlatform.h"
#include "formats/xml/XmlText.h"
#include "model/KorDocument.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLEntityResolver.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLResourceIdentifier.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <filesystem>
#include <fstream>
#include <new>
#include <utility>

namespace xc = XERCES_CPP_NAMESPACE;

namespace {

/// Diagnostics longer than this many characters are cut.
constexpr std::size_t kMaxDiagnostic = 2047;

std::wstring wide(const XMLCh* text) {
    return kor::fromUtf16(text);
}

} // namespace

/// Hands the kept events to the parser's song building.
struct CZRXmlFormatParser::Builder {
    CZRXmlFormatParser& parser;

    void start(const ZRXmlStartTag& tag) { parser.startElement(tag); }
    void end() { parser.endElement(); }
    void text(std::u16string_view text) { parser.addCharacters(text); }
};

/// Receives the reader's events: checks each against the limits of a hostile document as it
/// comes, keeps it, and hands the kept events on to the parser's song building by the run (when
/// the buffer is full, the document ends, or a long text must be measured at once). What runs
/// per event here is kept small, as it shares the processor's caches with the reader. Errors and
/// fatal errors end the parse by throwing a copy of their exception, which parseFile catches.
class CZRXmlFormatParser::Handler final : public xc::DefaultHandler {
public:
    explicit Handler(CZRXmlFormatParser& owner)
        : owner_(owner) {}

    /// Starts a parse whose progress the input watches: nothing kept, nothing open.
    void reset(kor::ZRXmlReadProgress& progress) {
        progress_ = &progress;
        events_.clear();
        depth_ = 0;
        text_ = 0;
    }

    void startElement(const XMLCh* const, const XMLCh* const localname, const XMLCh* const,
                      const xc::Attributes& attrs) override {
        ++progress_->events;
        if (depth_ == kMaxDepth)
            owner_.refuse(L"elements nested deeper than " + std::to_wstring(kMaxDepth) +
                          L" levels");
        ++depth_;
        text_ = 0;
        const std::u16string_view name = view(localname);
        // Told before the reader goes on to the element's text, which it keeps whole before it
        // reports it.
        progress_->unlimitedText = name == owner_.format_.unlimitedTextElement;
        const XMLSize_t count = attrs.getLength();
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
        if (text_ <= kKeptTextMax) {
            events_.addText({chars, length});
            if (events_.full()) [[unlikely]]
                handOn();
        } else {
            // A long text is measured against its element at once, so that a text no element
            // could hold is refused where it stands, before it is kept. The building has then
            // handled all the element's earlier characters too.
            handOn();
            owner_.checkTextLength(text_);
            owner_.addCharacters({chars, length});
        }
    }

    // White space between elements is no text of the song, but it is progress of the reader.
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

    /// Where the reader is, while it reads a document.
    const xc::Locator* locator() const { return locator_; }

private:
    // Character data of one element kept with the other events, at most; a longer text is
    // handed on at once, so that its limit is checked as it comes. Kept text never reaches a
    // limit, as every element may hold the margin.
    static constexpr std::size_t kKeptTextMax = 1024;
    static_assert(kKeptTextMax <= kTextMargin);

    static std::u16string_view view(const XMLCh* text) {
        return {text, xc::XMLString::stringLen(text)};
    }

    // One copy of the building's loop, called from the few places that hand on.
    [[gnu::noinline]] void handOn() {
        Builder builder{owner_};
        events_.handOn(builder);
    }

    void report(const wchar_t* kind, const xc::SAXParseException& exc) {
        owner_.diagnose(kind, wide(exc.getSystemId()), exc.getLineNumber(), exc.getColumnNumber(),
                        wide(exc.getMessage()));
    }

    CZRXmlFormatParser& owner_;
    const xc::Locator* locator_ = nullptr;
    kor::ZRXmlReadProgress* progress_ = nullptr;
    // What the reader reported and the song building has not yet handled; the depth of the
    // reader's open elements, and the characters reported since its last tag.
    CZRXmlEventBuffer events_;
    std::size_t depth_ = 0;
    std::size_t text_ = 0;
};

/// Answers the reader's requests for files other than the song: the format's schema comes from
/// the schema folder, and nothing else is given, neither a schema the document names itself
/// (passed over) nor an external entity (an error of the document). With the reader's own
/// resolution switched off, nothing else is ever opened.
class CZRXmlFormatParser::Resolver final : public xc::XMLEntityResolver {
public:
    xc::InputSource* resolveEntity(xc::XMLResourceIdentifier* const resource) override {
        const XMLCh* const systemId = resource->getSystemId();
        if (resource->getResourceIdentifierType() == xc::XMLResourceIdentifier::SchemaGrammar &&
            systemId != nullptr && schemaURI == systemId)
            return new xc::LocalFileInputSource(schemaPath.c_str());
        return nullptr;
    }

    std::u16string schemaURI;
    std::u16string schemaPath;
};

struct CZRXmlFormatParser::Reader {
    Resolver resolver;
    kor::ZRXmlReadProgress progress;
    kor::CZRXmlParseMemory memory; // outlives the reader that allocates from it
    std::unique_ptr<xc::SAX2XMLReaderImpl> sax;
    std::u16string schemaLocation;
};

CZRXmlFormatParser::CZRXmlFormatParser(const ZRXmlFormat& format)
    : format_(format)
    , handler_(std::make_unique<Handler>(*this)) {}

CZRXmlFormatParser::~CZRXmlFormatParser() {
    dropNodes();
    reader_.reset();
    handler_.reset();
}

bool CZRXmlFormatParser::initParser(const std::wstring& schemaFolder) {
    if (initialized_) return true;
    try {
        // The schema is named by a file URI, so the folder must be absolute and escaped.
        std::wstring folder = schemaFolder;
        if (const auto path = kor::platform::toPath(schemaFolder)) {
            std::error_code ignored;
            const auto absolute = std::filesystem::absolute(*path, ignored);
            if (const auto text = kor::platform::fromPath(absolute)) folder = *text;
        }
        const std::wstring schemaPath = kor::platform::joinPath(folder, format_.schemaFile);
        const std::wstring schemaURI = L"file://" + kor::escapeFolderForUri(schemaPath);
        schemaLocation_ = std::wstring(format_.namespaceURI) + L" " + schemaURI;

        if (!kor::startXmlPlatform()) return false;
        auto reader = std::make_unique<Reader>();
        reader->sax = std::make_unique<xc::SAX2XMLReaderImpl>(&reader->memory);
        xc::SAX2XMLReaderImpl& sax = *reader->sax;
        // The scanner for documents validated by schema alone skips a DOCTYPE whole: no DTD is
        // read and no entity declared, so a song expands nothing but the predefined entities and
        // character references. It comes first, as changing it resets the other settings.
        sax.setProperty(xc::XMLUni::fgXercesScannerName,
                        const_cast<XMLCh*>(xc::XMLUni::fgSGXMLScanner));
        sax.setFeature(xc::XMLUni::fgSAX2CoreValidation, true);
        sax.setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
        sax.setFeature(xc::XMLUni::fgXercesSchema, true);
        sax.setFeature(xc::XMLUni::fgXercesSchemaFullChecking, true);
        // Only the resolver hands out files.
        sax.setFeature(xc::XMLUni::fgXercesDisableDefaultEntityResolution, true);
        reader->resolver.schemaURI = kor::toUtf16(schemaURI);
        reader->resolver.schemaPath = kor::toUtf16(schemaPath);
        sax.setXMLEntityResolver(&reader->resolver);
        reader->schemaLocation = kor::toUtf16(schemaLocation_);
        sax.setProperty(xc::XMLUni::fgXercesSchemaExternalSchemaLocation,
                        const_cast<char16_t*>(reader->schemaLocation.c_str()));
        sax.setContentHandler(handler_.get());
        sax.setErrorHandler(handler_.get());
        reader_ = std::move(reader);
        initialized_ = true;
        return true;
    } catch (const xc::XMLException&) {
        return false;
    } catch (const xc::OutOfMemoryException&) {
        throw std::bad_alloc();
    }
}

std::uint32_t CZRXmlFormatParser::parseFile(CZRKorDocument* target, const wchar_t* path) {
    lastMessage_.clear();
    if (!initialized_) return ZR_E_NOT_INITIALIZED;
    if (path == nullptr) return ZR_E_INVALID_PARAMETER;
    const auto fsPath = kor::platform::toPath(path);
    std::error_code ignored;
    if (!fsPath || std::filesystem::is_directory(*fsPath, ignored) ||
        !std::ifstream(*fsPath, std::ios::binary).is_open())
        return ZR_E_FILE_NOT_FOUND;

    result_ = 0xFFFFFFFFu;
    target_ = nullptr;
    resetBuildFailure();
    if (target == nullptr || target->root() == nullptr) return ZR_E_INVALID_PARAMETER;
    target_ = target;

    if (const std::uint32_t code = runParse(*fsPath, path); code != 0) return code;
    if (buildFailure() != 0) return buildFailure();
    result_ = kor::verifyTree(target_, lastMessage_);
    return result_;
}

std::uint32_t CZRXmlFormatParser::runParse(const std::filesystem::path& file, const wchar_t* path) {
    reader_->progress = {};
    handler_->reset(reader_->progress);
    depth_ = 0;
    valueDepth_ = 0;
    rootStarted_ = false;
    // A parse that stops half-way leaves its open elements' nodes behind.
    struct DropNodes {
        CZRXmlFormatParser& parser;
        ~DropNodes() { parser.dropNodes(); }
    } leftovers{*this};
    try {
        const std::u16string systemId = kor::toUtf16(path);
        const kor::CZRGuardedFileInput input(file, systemId, reader_->progress, kMaxQuietBytes,
                                             reader_->memory);
        reader_->sax->parse(input);
        return 0;
    } catch (const xc::SAXParseException&) {
        return format_.invalidFileCode;
    } catch (const xc::XMLException& exc) {
        lastMessage_ = wide(exc.getMessage());
        return format_.xmlErrorCode;
    } catch (const xc::OutOfMemoryException&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    } catch (const std::bad_alloc&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    } catch (const xc::SAXException& exc) {
        lastMessage_ = wide(exc.getMessage());
        return format_.xmlErrorCode;
    }
}

void* CZRXmlFormatParser::roomForNode(std::size_t size) {
    OpenElement& element = open_[depth_];
    if (element.roomSize < size) {
        constexpr std::size_t kUnit = sizeof(std::max_align_t);
        const std::size_t units = (size + kUnit - 1) / kUnit;
        element.room = std::make_unique_for_overwrite<std::max_align_t[]>(units);
        element.roomSize = units * kUnit;
    }
    return element.room.get();
}

std::u16string_view CZRXmlFormatParser::placeNode(AZRXmlNode& node) {
    OpenElement& element = open_[depth_];
    element.node = &node;
    return element.name;
}

void CZRXmlFormatParser::endNode(OpenElement& element) {
    AZRXmlNode& node = *element.node;
    setCurrentNode(node.parent());
    node.endElement(); // should it throw, the node is still open and dropNodes destroys it
    element.node = nullptr;
    node.~AZRXmlNode();
}

void CZRXmlFormatParser::dropNodes() {
    for (std::size_t depth = open_.size(); depth-- > 0;)
        if (AZRXmlNode* node = std::exchange(open_[depth].node, nullptr)) node->~AZRXmlNode();
    setCurrentNode(nullptr);
}

void CZRXmlFormatParser::startElement(const ZRXmlStartTag& startTag) {
    ZRXmlStartTag tag = startTag;
    renameStart(tag);
    OpenElement& element = open_[++depth_];
    element.name.assign(tag.name);
    // Inside a value element nothing is known: its value is its text.
    if (valueDepth_ != 0) return;
    // Only the first root element makes the root node: a later one (which the schema forbids)
    // must not replace the node chain that is still open.
    if (!rootStarted_ && tag.name == format_.rootElement) {
        rootStarted_ = true;
        startRootNode(*target_);
    } else if (AZRXmlNode* node = currentNode(); node != nullptr && node->startChild(tag)) {
        valueDepth_ = depth_;
        valueMaxText_ = format_.maxTextLength(tag.name);
        value_.start(tag);
    }
}

void CZRXmlFormatParser::endElement() {
    if (depth_ == 0) return;
    OpenElement& element = open_[depth_];
    if (valueDepth_ == depth_) {
        valueDepth_ = 0;
        currentNode()->takeValue(value_);
    } else if (element.node != nullptr) {
        endNode(element);
    }
    --depth_;
}

void CZRXmlFormatParser::checkTextLength(std::size_t length) {
    // Only a value keeps its text; any other element may carry no more than the margin (white
    // space, or text the schema refuses).
    const std::size_t maxText = depth_ == valueDepth_ ? valueMaxText_ : 0;
    if (maxText == SIZE_MAX || length <= maxText + kTextMargin) return;
    const std::u16string& name = open_[depth_].name;
    refuse(L"the text of element '" + kor::fromUtf16(name.data(), name.size()) +
           L"' is longer than " + std::to_wstring(maxText) + L" characters");
}

// Character data is gathered until the value's end, so a value that the reader delivers in
// pieces (around an entity reference, or across its buffer boundary) reaches the node whole.
void CZRXmlFormatParser::addCharacters(std::u16string_view text) {
    if (depth_ == valueDepth_) value_.append(text.data(), text.size());
}

void CZRXmlFormatParser::refuse(const std::wstring& reason) {
    const xc::Locator* at = handler_->locator();
    const XMLCh* const systemId = at != nullptr ? at->getSystemId() : nullptr;
    const XMLFileLoc line = at != nullptr ? at->getLineNumber() : 0;
    const XMLFileLoc column = at != nullptr ? at->getColumnNumber() : 0;
    diagnose(L"Fatal Error", wide(systemId), line, column, reason);
    const std::u16string message = kor::toUtf16(reason);
    throw xc::SAXParseException(message.c_str(), nullptr, systemId, line, column);
}

void CZRXmlFormatParser::diagnose(const wchar_t* kind, const std::wstring& systemId,
                                  std::uint64_t line, std::uint64_t column,
                                  const std::wstring& message) {
    std::wstring text = std::wstring(kind) + L" at file \"" + systemId + L"\", line " +
                        std::to_wstring(static_cast<int>(line)) + L", char " +
                        std::to_wstring(static_cast<int>(column)) + L":\n- " + message + L"\n";
    if (text.size() > kMaxDiagnostic) text.resize(kMaxDiagnostic);
    lastMessage_ = std::move(text);
}
