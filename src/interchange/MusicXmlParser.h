// Reading a MusicXML document, or the container file of a compressed one, with the XML reader.
#pragma once

#include "formats/xml/XmlTag.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// Runs the XML reader, non-validating, over one document and hands its elements to a sink.
/// Stateless between parses; nothing of the XML reader (its types or exceptions) reaches the
/// callers.
///
/// A score is read as a file of its own and nothing else: the reader opens no other file and no
/// URL. Most scores declare the MusicXML DTD by URL; the DOCTYPE is skipped whole, so no DTD is
/// read and no entity but the predefined ones exists to expand (a reference to any other is an
/// error of the document). What a hostile document can cost is bounded: it is refused once
/// elements nest deeper than kMaxDepth (a score nests about ten levels), a text is longer than
/// kMaxText (no element of a score holds more than a line of words), or kMaxQuietBytes of a file
/// pass without anything the reader can report.
class CxMusicXmlParser final {
public:
    static constexpr std::size_t kMaxDepth = 64;
    static constexpr std::size_t kMaxText = 65536;
    static constexpr std::uint64_t kMaxQuietBytes = std::uint64_t{4} << 20;

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

    CxMusicXmlParser() = default;
    CxMusicXmlParser(const CxMusicXmlParser&) = delete;
    CxMusicXmlParser& operator=(const CxMusicXmlParser&) = delete;

    /// Reads the file at `path` into `sink`. 0, or ZR_E_FILE_NOT_FOUND when it cannot be opened,
    /// ZR_E_CANNOT_INITIALIZE_XML_PARSER, ZR_E_INVALID_XML_FILE for a document that is not
    /// well-formed or breaks a bound, ZR_E_NOT_ENOUGH_MEMORY, or the sink's code.
    [[nodiscard]] std::uint32_t parseFile(const std::wstring& path, Sink& sink);
    /// The same for a document held in memory; `name` stands for it in messages.
    [[nodiscard]] std::uint32_t parseBytes(std::string_view bytes, const std::wstring& name,
                                           Sink& sink);

    /// Where and why the last parse failed ("Fatal Error at file ..., line L, char C:\n- why");
    /// empty after success.
    const std::wstring& message() const { return message_; }

private:
    class Handler;
    template <class MakeInput>
    std::uint32_t run(const std::wstring& name, Sink& sink, MakeInput&& makeInput);

    std::wstring message_;
};
