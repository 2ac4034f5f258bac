#include "formats/kor4/Kor4Node.h"

#include "formats/kor4/PartNodes.h"
#include "formats/kor4/VVoiceNodes.h"
#include "model/Sequence.h"

namespace Kor4 {

bool CZRKor4Node::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == u"vVoiceTable")
        startNodeChild<CZRVVoiceTableNode>(sequence()->vvoiceList());
    else if (tag.name == u"zrTrack")
        startNodeChild<CZRZRTrackNode>(sequence()->zrTrackList());
    else
        return Kor3::CZRKor3Node::startStructured(tag);
    return true;
}

} // namespace Kor4
