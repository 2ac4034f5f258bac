#include "formats/kor3/VVoiceNodes.h"

namespace Kor3 {

bool CZRVVoiceTableNode::startStructured(const ZRXmlTag& tag) {
    if (tag.name != kVVoice) return false;
    startNodeChild<CZRVVoiceNode>(tag, voices_);
    return true;
}

} // namespace Kor3
