#include "edit/RecordFollowUp.h"

#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/NodeList.h"
#include "model/ObjectTree.h"
#include "model/Part.h"
#include "model/Sequence.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

namespace kor {

namespace {

// Marks the elements of `list` (null: none) whose type `wanted` accepts.
template <class Wanted> void markElements(const CZRNodeList* list, Wanted wanted) {
    if (list == nullptr) return;
    for (IZRMutableKorObject* element : list->elements())
        if (wanted(element->getObjType())) element->setEdited();
}

} // namespace

void MarkTempoDependents::run(CZRKorDocument& document, IZRMutableKorObject&) noexcept {
    const CZRSequence* sequence =
        document.root() != nullptr ? document.root()->sequence() : nullptr;
    if (sequence == nullptr) return;
    const auto isProsody = [](ZRObjType type) { return type == ZRObjType::ProsodyPart; };
    if (const CZRNodeList* tracks = sequence->zrTrackList())
        for (IZRMutableKorObject* element : tracks->elements())
            if (const auto* track = objCast<CZRZRTrack>(element))
                markElements(track->partList(), isProsody);
    const auto isWav = [](ZRObjType type) { return type == ZRObjType::WAVPart; };
    for (const CZRWAVTrack* track : {sequence->seTrack(), sequence->karaokeTrack()})
        if (track != nullptr) markElements(track->wavPartList(), isWav);
}

void MarkHoldingPart::run(CZRKorDocument&, IZRMutableKorObject& live) noexcept {
    for (IZRMutableKorObject* obj = parentOf(&live); obj != nullptr; obj = parentOf(obj)) {
        const ZRObjType type = obj->getObjType();
        if (type == ZRObjType::MusicalPart || type == ZRObjType::ProsodyPart) {
            obj->setEdited();
            return;
        }
    }
}

void MarkListedParts::run(CZRKorDocument&, IZRMutableKorObject& live) noexcept {
    markElements(objCast<CZRNodeList>(&live), [](ZRObjType type) {
        return type == ZRObjType::MusicalPart || type == ZRObjType::ProsodyPart;
    });
}

} // namespace kor
