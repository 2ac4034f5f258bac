#include "formats/xml/XmlFormatParser.h"

#include "formats/xml/VerifyTree.h"
#include "formats/xml/XmlSource.h"
#include "formats/xml/XmlText.h"
#include "model/KorDocument.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <filesystem>
#include <utility>

/// Hands the kept events to the parser's song building.
struct CZRXmlFormatParser::Builder {
    CZRXmlFormatParser& parser;

    void start(const ZRXmlStartTag& tag) { parser.startElement(tag); }
    void end() { parser.endElement(); }
    void text(std::u16string_view text) { parser.addCharacters(text); }
};

CZRXmlFormatParser::CZRXmlFormatParser(const ZRXmlFormat& format)
    : format_(format) {}

CZRXmlFormatParser::~CZRXmlFormatParser() {
    dropNodes();
}

bool CZRXmlFormatParser::initParser(const std::wstring& schemaFolder) {
    if (reader_ != nullptr) return true;
    // The schema is named by a file URI, so the folder must be absolute.
    std::wstring folder = schemaFolder;
    if (const auto path = kor::platform::toPath(schemaFolder)) {
        std::error_code ignored;
        const auto absolute = std::filesystem::absolute(*path, ignored);
        if (const auto text = kor::platform::fromPath(absolute)) folder = *text;
    }
    auto reader = std::make_unique<kor::CZRBoundedXmlReader>(kor::ZRXmlReaderSetup{
        .schemaNamespace = format_.namespaceURI,
        .schemaPath = kor::platform::joinPath(folder, format_.schemaFile),
        .maxDepth = kMaxDepth,
        .textMargin = kTextMargin,
        .unlimitedTextElement = std::u16string(format_.unlimitedTextElement)});
    if (!reader->start()) return false;
    reader_ = std::move(reader);
    return true;
}

std::wstring CZRXmlFormatParser::schemaLocation() const {
    return reader_ != nullptr ? reader_->schemaLocation() : std::wstring();
}

std::uint32_t CZRXmlFormatParser::parseFile(CZRKorDocument* target, const wchar_t* path) {
    lastMessage_.clear();
    if (reader_ == nullptr) return ZR_E_NOT_INITIALIZED;
    if (path == nullptr) return ZR_E_INVALID_PARAMETER;
    const auto fsPath = kor::platform::toPath(path);
    if (!fsPath) return ZR_E_FILE_NOT_FOUND;
    kor::CZRXmlFileSource file(*fsPath);
    if (!file.isOpen()) return ZR_E_FILE_NOT_FOUND;

    result_ = 0xFFFFFFFFu;
    target_ = nullptr;
    resetBuildFailure();
    if (target == nullptr || target->root() == nullptr) return ZR_E_INVALID_PARAMETER;
    target_ = target;

    if (const std::uint32_t code = runParse(file, path); code != 0) return code;
    if (buildFailure() != 0) return buildFailure();
    result_ = kor::verifyTree(target_, lastMessage_);
    return result_;
}

std::uint32_t CZRXmlFormatParser::runParse(kor::AZRXmlSource& file, const wchar_t* path) {
    depth_ = 0;
    valueDepth_ = 0;
    rootStarted_ = false;
    // A parse that stops half-way leaves its open elements' nodes behind.
    struct DropNodes {
        CZRXmlFormatParser& parser;
        ~DropNodes() { parser.dropNodes(); }
    } leftovers{*this};
    const kor::ZRXmlReadResult result = reader_->parse(file, path, *this);
    lastMessage_ = reader_->message();
    switch (result) {
    case kor::ZRXmlReadResult::Read:
        return 0;
    case kor::ZRXmlReadResult::Refused:
        return format_.invalidFileCode;
    case kor::ZRXmlReadResult::ReaderFailed:
        return format_.xmlErrorCode;
    case kor::ZRXmlReadResult::OutOfMemory:
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    return format_.xmlErrorCode;
}

void CZRXmlFormatParser::takeEvents(CZRXmlEventBuffer& events) {
    Builder builder{*this};
    events.handOn(builder);
}

kor::ZRXmlTextRoom CZRXmlFormatParser::textRoom() const {
    // Only a value keeps its text; any other element may carry no more than the margin (white
    // space, or text the schema refuses).
    return {open_[depth_].name, depth_ == valueDepth_ ? valueMaxText_ : 0};
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

// Character data is gathered until the value's end, so a value that the reader delivers in
// pieces (around an entity reference, or across its buffer boundary) reaches the node whole.
void CZRXmlFormatParser::addCharacters(std::u16string_view text) {
    if (depth_ == valueDepth_) value_.append(text.data(), text.size());
}
