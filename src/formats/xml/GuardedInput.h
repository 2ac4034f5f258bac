// A document's bytes as the XML reader's input, cut off where the reader goes too far without a
// word. Private to the bounded reader.
#pragma once

#include <xercesc/sax/InputSource.hpp>

#include <cstdint>
#include <string>

namespace kor {

class AZRXmlSource;

/// What the bounded reader tells its input while a document is read: how many events it has
/// received, and whether the innermost open element may hold text of any length. The input sets
/// cutOff when it stopped feeding the reader.
struct ZRXmlReadProgress {
    std::uint64_t events = 0;
    bool unlimitedText = false;
    bool cutOff = false;
};

/// `source` as an input of the XML reader, read in the reader's own blocks. The XML reader keeps
/// a text, a CDATA section, a comment or a start tag whole in memory before it reports it, so the
/// input ends early (the reader then sees a truncated document) once more than `maxQuietBytes`
/// have been read without an event, unless the innermost open element may hold text of any
/// length. The stream is owned by the reader and made in `memory`, the reader's own; it owns
/// nothing itself, as the reader gives up a stream without deleting it when memory runs out.
/// `source` and `progress` are borrowed and must outlive the parse; one stream is made per parse.
class CZRGuardedInput final : public XERCES_CPP_NAMESPACE::InputSource {
public:
    CZRGuardedInput(AZRXmlSource& source, const std::u16string& systemId,
                    ZRXmlReadProgress& progress, std::uint64_t maxQuietBytes,
                    XERCES_CPP_NAMESPACE::MemoryManager& memory);
    CZRGuardedInput(const CZRGuardedInput&) = delete;
    CZRGuardedInput& operator=(const CZRGuardedInput&) = delete;

    /// A stream over the source from where it stands (owned by the caller).
    XERCES_CPP_NAMESPACE::BinInputStream* makeStream() const override;

private:
    AZRXmlSource& source_;
    ZRXmlReadProgress& progress_;
    std::uint64_t maxQuietBytes_;
};

} // namespace kor
