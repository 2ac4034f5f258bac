// A validating reader of one XML song format: configures the XML reader, runs a parse through the
// element nodes and verifies the document they built.
#pragma once

#include "formats/xml/BoundedXmlReader.h"
#include "formats/xml/XmlParser.h"
#include "formats/xml/XmlValue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

class CZRKorDocument;

/// What tells the song formats apart for the parser.
struct ZRXmlFormat {
    const char16_t* rootElement;   ///< local name of the root element, e.g. "kor3"
    const wchar_t* namespaceURI;   ///< the format's namespace
    const wchar_t* schemaFile;     ///< schema file name inside the schema folder
    std::uint32_t xmlErrorCode;    ///< the XML reader itself failed
    std::uint32_t invalidFileCode; ///< the document is malformed or breaks the schema
    /// The most characters of text the value element of this (renamed) local name holds: 0 for
    /// one without a text value, SIZE_MAX for one whose text may be of any length.
    std::size_t (*maxTextLength)(std::u16string_view element);
    /// The local name of the one element whose text may be of any length (its maxTextLength is
    /// SIZE_MAX), told apart as the reader reaches it.
    std::u16string_view unlimitedTextElement;
};

/// Base of the format parsers: the song-building client of the bounded XML reader. Owns the reader
/// and the nodes of the open elements; borrows the target document during a parse. Every
/// document is validated against the format's schema file in the schema folder, and after a parse
/// the built tree is repaired and checked. Use: initParser once, then parseFile as often as
/// needed, each into a new target.
///
/// A song file is read as a file of its own and nothing else, with the bounds of the reader
/// (CZRBoundedXmlReader): elements nest at most kMaxDepth deep, and a text is no longer than its
/// element can hold plus kTextMargin (an element whose value no node takes holds none). Each
/// refusal is the invalid-file code with the reason in lastMessage.
class CZRXmlFormatParser : public AZRXmlParser, private kor::AZRXmlReaderClient {
public:
    static constexpr std::size_t kMaxDepth = 32;
    static constexpr std::size_t kTextMargin = 65536;

    explicit CZRXmlFormatParser(const ZRXmlFormat& format);
    /// Deletes the nodes still open and the reader.
    ~CZRXmlFormatParser() override;

    /// Sets up the validating reader, with the schema file looked up in `schemaFolder`. False
    /// when the reader cannot be set up; throws std::bad_alloc when memory runs out. A second call
    /// after success does nothing and returns true.
    [[nodiscard]] bool initParser(const std::wstring& schemaFolder);

    /// Reads the file `path` into `target`, which must hold a root object; the format's root
    /// node builds the song under it. Returns 0 or: ZR_E_NOT_INITIALIZED before initParser,
    /// ZR_E_INVALID_PARAMETER for a null path or an unusable target, ZR_E_FILE_NOT_FOUND when the
    /// file cannot be opened (nothing is read then), the format's XML error code when the reader
    /// fails, its invalid-file code when the document is malformed or breaks the schema (detail
    /// in lastMessage), ZR_E_NOT_ENOUGH_MEMORY when an object cannot be built, and otherwise
    /// the result of the verification of the built tree (with its report in lastMessage). After
    /// a failure the target may hold a partly built song, which the caller discards.
    [[nodiscard]] std::uint32_t parseFile(CZRKorDocument* target, const wchar_t* path);

    /// The text of the last warning, error or verification report; emptied by each parseFile.
    const std::wstring& lastMessage() const { return lastMessage_; }
    /// The code of the last parseFile; 0xFFFFFFFF while one runs or when it stopped before
    /// verification.
    std::uint32_t result() const { return result_; }
    /// The external schema location handed to the reader: namespace, blank, schema file URI;
    /// empty before initParser.
    std::wstring schemaLocation() const;

protected:
    /// Starts (startNode, parent none) the node of the root element, which builds into `target`.
    virtual void startRootNode(CZRKorDocument& target) = 0;
    /// Lets a format whose elements carry other names hand its nodes the names they know: called
    /// with every start tag before any node sees it, while currentNode() still is the node of the
    /// enclosing known element. The name it leaves must stay put for the rest of the parse. The
    /// default keeps the names.
    virtual void renameStart(ZRXmlStartTag&) {}

private:
    /// An open element: its name, its node if it has one, and the room that holds the nodes of
    /// the elements at its depth, kept from element to element.
    struct OpenElement {
        std::u16string name;
        AZRXmlNode* node = nullptr;
        std::unique_ptr<std::max_align_t[]> room;
        std::size_t roomSize = 0;
    };

    void* roomForNode(std::size_t size) override;
    std::u16string_view placeNode(AZRXmlNode& node) override;
    /// Ends and destroys the node of `element`; its parent becomes the current node.
    void endNode(OpenElement& element);
    /// Destroys the nodes of the elements still open, innermost first.
    void dropNodes();

    // The song building, event by event as the reader hands them on: it follows the open
    // elements and their nodes.
    struct Builder;
    void takeEvents(CZRXmlEventBuffer& events) override;
    kor::ZRXmlTextRoom textRoom() const override;
    void startElement(const ZRXmlStartTag& tag);
    void endElement();
    void addCharacters(std::u16string_view text);
    std::uint32_t runParse(kor::AZRXmlSource& file, const wchar_t* path);

    const ZRXmlFormat format_;
    std::unique_ptr<kor::CZRBoundedXmlReader> reader_;
    std::uint32_t result_ = 0xFFFFFFFFu;
    std::wstring lastMessage_;
    // The open elements of the song building, the innermost at depth_ (0: none open).
    std::array<OpenElement, kMaxDepth + 1> open_;
    std::size_t depth_ = 0;
    // The value element being read, at valueDepth_ (0: none), and the most text it holds.
    CZRXmlValue value_;
    std::size_t valueDepth_ = 0;
    std::size_t valueMaxText_ = 0;
    bool rootStarted_ = false;
    CZRKorDocument* target_ = nullptr;
};
