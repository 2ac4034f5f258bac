// The node of the root element of a KOR4 document: the sequence.
#pragma once

#include "formats/kor3/Kor3Node.h"

namespace Kor4 {

/// Builds the sequence like the KOR3 root node, handing the VVoice table and the ZR tracks to
/// the KOR4 nodes that read them.
class CZRKor4Node final : public Kor3::CZRKor3Node {
public:
    using Kor3::CZRKor3Node::CZRKor3Node;

private:
    bool startStructured(const ZRXmlStartTag& tag) override;
};

} // namespace Kor4
