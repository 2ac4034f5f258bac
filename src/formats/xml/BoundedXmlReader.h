// The one XML reader of the library, for songs and scores alike: it sets up the XML parser and
// keeps the bounds that make a hostile document cheap to refuse.
#pragma once

#include "formats/xml/XmlEvents.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kor {

class AZRXmlSource;

/// How a reader reads its documents.
struct ZRXmlReaderSetup {
    /// The namespace the schema is for and the schema file's path: each document is validated
    /// against that schema, and the schema is the one file the reader opens besides the document.
    /// Both empty: documents are only checked for being well-formed.
    std::wstring schemaNamespace{};
    std::wstring schemaPath{};
    /// Elements nested deeper than this are refused.
    std::size_t maxDepth = 32;
    /// The characters a text may hold beyond what its element has room for (textRoom).
    std::size_t textMargin = 0;
    /// The local name of the one element whose text may be of any length; empty for none.
    std::u16string unlimitedTextElement{};
    /// Events kept before they are handed to the client: many for a song, whose builder then
    /// keeps its code in the processor's cache; one for a reader that must refuse at the
    /// element it is handed.
    std::size_t eventsPerRun = CZRXmlEventBuffer::kCapacity;
};

/// How a parse ended.
enum class ZRXmlReadResult : std::uint8_t {
    Read,         ///< the document was read to its end
    Refused,      ///< not well-formed, invalid, beyond a bound, or refused by the client
    ReaderFailed, ///< the XML parser itself failed
    OutOfMemory,
};

/// The text room of the innermost open element: its local name and the most characters it holds
/// (SIZE_MAX: any number).
struct ZRXmlTextRoom {
    std::u16string_view element;
    std::size_t maxText;
};

/// What a reader hands a document to.
class AZRXmlReaderClient {
public:
    AZRXmlReaderClient() = default;
    virtual ~AZRXmlReaderClient() = default;
    AZRXmlReaderClient(const AZRXmlReaderClient&) = delete;
    AZRXmlReaderClient& operator=(const AZRXmlReaderClient&) = delete;

    /// Takes the events kept since the last call, in document order (by events.handOn).
    virtual void takeEvents(CZRXmlEventBuffer& events) = 0;
    /// The text room of the innermost open element; asked once its text outgrows what is kept
    /// with the other events, after every earlier event was taken.
    virtual ZRXmlTextRoom textRoom() const = 0;
};

/// Reads documents with the XML parser's SAX interface and hands their elements and texts to a
/// client. Owns the parser, set up once by start() and used for any number of parses; nothing of
/// the parser (its types or exceptions) reaches the callers.
///
/// A document is read as a document of its own and nothing else: the reader opens no other file
/// but the schema of its setup, and no URL. A DOCTYPE is skipped whole, so no DTD is read (a
/// score that names one by URL still loads) and no entity but the predefined ones exists to
/// expand; a schema the document names is not used. What a hostile document can cost is bounded,
/// whether it comes from a file or from inflated bytes: it is refused once elements nest deeper
/// than the setup's maxDepth, an element carries more than kMaxAttributes attributes, a text is
/// longer than its element's room plus the setup's margin, or kMaxQuietBytes of the input pass
/// without anything the parser can report (it keeps a text, a CDATA section, a comment or a tag
/// whole before it reports it). Every refusal leaves "Fatal Error at file "ID", line L, char C:\n-
/// reason\n" in message().
class CZRBoundedXmlReader final {
public:
    static constexpr std::size_t kMaxAttributes = 64;
    static constexpr std::uint64_t kMaxQuietBytes = std::uint64_t{4} << 20;

    explicit CZRBoundedXmlReader(ZRXmlReaderSetup setup);
    ~CZRBoundedXmlReader();
    CZRBoundedXmlReader(const CZRBoundedXmlReader&) = delete;
    CZRBoundedXmlReader& operator=(const CZRBoundedXmlReader&) = delete;

    /// Starts the XML platform and sets up the parser. False when that fails; throws
    /// std::bad_alloc when memory runs out. A second call after success does nothing.
    [[nodiscard]] bool start();

    /// Reads the document `source` gives, named `systemId` in messages, handing it to `client`.
    /// Not started: ReaderFailed. Throws what the client throws, other than by refuse().
    [[nodiscard]] ZRXmlReadResult parse(AZRXmlSource& source, const std::wstring& systemId,
                                        AZRXmlReaderClient& client);

    /// Ends the running parse as Refused, with `reason` at the parser's position. Only for the
    /// client, while it takes events.
    [[noreturn]] void refuse(const std::wstring& reason);

    /// Where and why the last parse failed, or its last warning; emptied by each parse.
    const std::wstring& message() const { return message_; }
    /// The external schema location handed to the parser: namespace, blank, schema file URI.
    const std::wstring& schemaLocation() const { return schemaLocation_; }

private:
    class Handler;
    class Resolver;
    struct Xerces;

    void diagnose(const wchar_t* kind, const std::wstring& systemId, std::uint64_t line,
                  std::uint64_t column, const std::wstring& reason);

    const ZRXmlReaderSetup setup_;
    std::wstring schemaLocation_;
    std::wstring message_;
    std::unique_ptr<Xerces> xerces_;
};

} // namespace kor
