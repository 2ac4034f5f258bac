// Reading a MusicXML document, or the container file of a compressed one, with the bounded XML
// reader.
#pragma once

#include "formats/xml/BoundedXmlReader.h"
#include "formats/xml/XmlTag.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kor {
class AZRXmlSource;
}

/// Runs the bounded XML reader, non-validating, over one document and hands its elements to a
/// sink, one at a time, so that a refusal is reported where it arose. Nothing of the XML parser
/// reaches the callers.
///
/// A score is read with the reader's bounds (CZRBoundedXmlReader), whether it comes from a file
/// or from an archive: most scores declare the MusicXML DTD by URL, and the DOCTYPE is skipped
/// whole; elements nest at most kMaxDepth deep (a score nests about ten levels) and a text is no
/// longer than kMaxText (no element of a score holds more than a line of words).
class CxMusicXmlParser final : private kor::AZRXmlReaderClient {
public:
    static constexpr std::size_t kMaxDepth = 64;
    static constexpr std::size_t kMaxText = 65536;

    /// Takes the elements of a document in order. A non-zero result ends the parse with that
    /// code, reported at the reader's position.
    class Sink {
    public:
        virtual ~Sink() = default;
        /// An element starts; the tag's storage is reused for the next element.
        [[nodiscard]] virtual std::uint32_t startElement(const ZRXmlTag& tag) = 0;
        /// An element ends; `text` is the character data since the last tag, white space around
        /// it removed (the value of an element holding nothing but text).
        [[nodiscard]] virtual std::uint32_t endElement(const std::wstring& name,
                                                       const std::wstring& text) = 0;
        /// Why the last non-zero result was given, for the message.
        virtual std::wstring refusalReason() const = 0;
    };

    CxMusicXmlParser();

    /// Reads the file at `path` into `sink`. 0, or ZR_E_FILE_NOT_FOUND when it cannot be opened,
    /// ZR_E_CANNOT_INITIALIZE_XML_PARSER, ZR_E_INVALID_XML_FILE for a document that is not
    /// well-formed or breaks a bound, ZR_E_NOT_ENOUGH_MEMORY, or the sink's code.
    [[nodiscard]] std::uint32_t parseFile(const std::wstring& path, Sink& sink);
    /// The same for the document `source` gives; `name` stands for it in messages.
    [[nodiscard]] std::uint32_t parse(kor::AZRXmlSource& source, const std::wstring& name,
                                      Sink& sink);

    /// Where and why the last parse failed ("Fatal Error at file ..., line L, char C:\n- why");
    /// empty after success.
    const std::wstring& message() const { return message_; }

private:
    struct Forward;
    void takeEvents(CZRXmlEventBuffer& events) override;
    kor::ZRXmlTextRoom textRoom() const override;
    void start(const ZRXmlStartTag& tag);
    void end();

    kor::CZRBoundedXmlReader reader_;
    std::wstring message_;
    // The parse running: its sink, the code that stopped it, the names of the open elements and
    // the text since the last tag.
    Sink* sink_ = nullptr;
    std::uint32_t stopCode_ = 0;
    std::vector<std::u16string> open_;
    std::size_t depth_ = 0;
    std::u16string text_;
    ZRXmlTag tag_;
    std::wstring name_;
    std::wstring value_;
};
