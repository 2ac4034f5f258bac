#include "formats/kor3/Kor3Node.h"

#include "formats/kor3/MasterTrackNodes.h"
#include "formats/kor3/MixerNodes.h"
#include "formats/kor3/TrackNodes.h"
#include "formats/kor3/VVoiceNodes.h"
#include "model/Builders.h"
#include "model/KorRoot.h"
#include "model/Mixer.h"
#include "model/Sequence.h"
#include "model/UnManaged.h"

namespace Kor3 {

namespace {

// The vender and version of the file fill only what the sequence lacks.
constexpr TZRValueField<CZRSequence> kSequenceValues[] = {
    {kVender,
     [](CZRSequence& sequence, const CZRXmlValue& value) {
         if (sequence.getVender().empty()) sequence.setVender(value.text());
     }},
    {kVersion,
     [](CZRSequence& sequence, const CZRXmlValue& value) {
         if (sequence.getVersion().empty()) sequence.setVersion(value.text());
     }},
};

} // namespace

bool CZRKor3Node::begin() {
    sequence_ = kor::buildEmptySequence(context());
    if (sequence_ == nullptr) {
        fail();
        return false;
    }
    return check(document()->root()->setSequence(sequence_));
}

std::size_t CZRKor3Node::findValue(std::u16string_view name) const {
    return findRow(kSequenceValues, name);
}

bool CZRKor3Node::startStructured(const ZRXmlStartTag& tag) {
    if (tag.name == kVVoiceTable)
        startNodeChild<CZRVVoiceTableNode>(sequence_->vvoiceList());
    else if (tag.name == kMixer)
        startNodeChild<CZRMixerNode>(sequence_->mixer());
    else if (tag.name == kMasterTrack)
        startNodeChild<CZRMasterTrackNode>(sequence_->masterTrack());
    else if (tag.name == kZrTrack)
        startNodeChild<CZRZRTrackNode>(sequence_->zrTrackList());
    else if (tag.name == kSeTrack)
        startNodeChild<CZRSETrackNode>(sequence_->seTrack());
    else if (tag.name == kKaraokeTrack)
        startNodeChild<CZRKaraokeTrackNode>(sequence_->karaokeTrack());
    else if (tag.name == kAux)
        startNodeChild<CZRAuxNode>(sequence_->unManaged()->auxList());
    else
        return false;
    return true;
}

void CZRKor3Node::takeRowValue(std::size_t row, const CZRXmlValue& value) {
    kSequenceValues[row].take(*sequence_, value);
}

void CZRKor3Node::finish() {
    sortList(sequence_->zrTrackList());
}

} // namespace Kor3
