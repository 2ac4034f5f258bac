#include "formats/kor3/VVoiceNodes.h"

namespace Kor3 {

bool CZRVVoiceTableNode::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name != kVVoice) return false;
    startNodeChild<CZRVVoiceNode>(voices_);
    return true;
}

} // namespace Kor3
