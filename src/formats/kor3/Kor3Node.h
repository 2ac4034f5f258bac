// The node of the root element of a KOR3 document: the sequence.
#pragma once

#include "formats/kor3/ReaderNode.h"

class CZRSequence;

namespace Kor3 {

/// Builds a new default sequence under the target's root as the document starts, hands its
/// parts to the nodes of the header elements, and sorts the ZR track list at the end. The
/// vender and version of the file apply only where the sequence has none, so a loaded song
/// keeps the library's own. Formats that share this layout derive from it.
class CZRKor3Node : public AZRKor3Node {
public:
    using AZRKor3Node::AZRKor3Node;

protected:
    bool startStructured(const ZRXmlStartTag& tag) override;
    CZRSequence* sequence() const { return sequence_; }

private:
    bool begin() override;
    std::size_t findValue(std::u16string_view name) const override;
    void takeRowValue(std::size_t row, const CZRXmlValue& value) override;
    void finish() override;

    CZRSequence* sequence_ = nullptr;
};

} // namespace Kor3
