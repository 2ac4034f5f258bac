#include "edit/PartMergeDivideEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "edit/MusicalPartEdits.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace kor {

namespace {

constexpr std::int64_t kLastTick = std::numeric_limits<std::int32_t>::max();

// One event list of a musical part. A held event (a singer, a control or style value) lasts
// until the next one of its list; a note carries its own length.
struct EventList {
    CZRNodeList* list;
    bool held;
};

std::vector<EventList> eventLists(const CZRMusicalPart& part) {
    std::vector<EventList> lists{{part.singerList(), true}, {part.noteList(), false}};
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        lists.push_back({part.controlList(type), true});
    for (const auto& entry : part.styleControlLists())
        lists.push_back({entry.second, true});
    for (const auto& entry : part.phraseStyleLists())
        lists.push_back({entry.second, true});
    std::erase_if(lists, [](const EventList& events) { return events.list == nullptr; });
    return lists;
}

// Puts an event of a musical part at `posTick` (relative to the part); false for a position out
// of range or an element that is no event of a musical part.
bool placeEvent(IZRMutableKorObject& event, std::int64_t posTick) {
    if (posTick < 0 || posTick > kLastTick) return false;
    const auto place = [posTick](auto* typed) {
        if (typed != nullptr) typed->values().posTick = static_cast<std::int32_t>(posTick);
        return typed != nullptr;
    };
    return place(objCast<CZRMusicalSinger>(&event)) || place(objCast<CZRMusicalNote>(&event)) ||
           place(objCast<CZRMusicalControl>(&event)) || place(objCast<CZRStyleControl>(&event));
}

// Takes out of `list` the events `drop` picks. They keep the detached mark in the record's
// store until the purge at commit destroys them.
template <class Drop> bool removeEvents(CZRNodeList& list, Drop drop) {
    std::vector<std::uint32_t> dropped;
    for (const IZRMutableKorObject* event : list.elements())
        if (drop(*event)) dropped.push_back(event->getObjID());
    return std::all_of(dropped.begin(), dropped.end(),
                       [&list](std::uint32_t objID) { return list.removeByID(objID); });
}

// The event of `list` in effect at `tick`: the last one at or before it; null when none is.
const IZRMutableKorObject* inEffectAt(const CZRNodeList& list, std::int32_t tick) {
    const IZRMutableKorObject* found = nullptr;
    for (const IZRMutableKorObject* event : list.elements())
        if (event->getSortKey() <= tick &&
            (found == nullptr || event->getSortKey() > found->getSortKey()))
            found = event;
    return found;
}

// The first part of a divide keeps the events before the cut; a note starting before it stays
// whole, sounding on past the cut.
bool keepBefore(const CZRMusicalPart& part, std::int32_t cut) {
    for (const EventList& events : eventLists(part))
        if (!removeEvents(*events.list,
                          [cut](const auto& event) { return event.getSortKey() >= cut; }))
            return false;
    return true;
}

// The new part of a divide keeps the events from the cut on, re-based to start at the cut, and
// begins with the held events in effect at the cut so that it sounds as the whole part did
// there.
bool keepFrom(const CZRMusicalPart& part, std::int32_t cut) {
    for (const EventList& events : eventLists(part)) {
        const IZRMutableKorObject* carried = events.held ? inEffectAt(*events.list, cut) : nullptr;
        if (!removeEvents(*events.list, [&](const auto& event) {
                return event.getSortKey() < cut && &event != carried;
            }))
            return false;
        for (IZRMutableKorObject* event : events.list->elements())
            if (!placeEvent(*event, std::max(event->getSortKey() - cut, 0))) return false;
    }
    return true;
}

// Moves every event of `part` `amount` ticks later, except the first singer, which marks the
// part's start.
bool shiftEvents(const CZRMusicalPart& part, std::int32_t amount) {
    for (const EventList& events : eventLists(part))
        for (IZRMutableKorObject* event : events.list->elements()) {
            const bool head =
                events.list == part.singerList() && event == events.list->elementAt(0);
            if (!head && !placeEvent(*event, std::int64_t{event->getSortKey()} + amount))
                return false;
        }
    return true;
}

// Whether the first event of `later` (in part `b`) starts before the last one of `earlier` (in
// part `a`), both missing or empty lists passing.
bool startsBefore(const CZRMusicalPart& a, const CZRNodeList* earlier, const CZRMusicalPart& b,
                  const CZRNodeList* later) {
    if (earlier == nullptr || later == nullptr || earlier->getCount() == 0 ||
        later->getCount() == 0)
        return false;
    return std::int64_t{b.getPosTick()} + later->elements().front()->getSortKey() <
           std::int64_t{a.getPosTick()} + earlier->elements().back()->getSortKey();
}

// What a merge copies from: the record whose store receives the copies, and where the two parts
// start.
struct MergeSource {
    AZREditCommand& record;
    std::int64_t aPos;
    std::int64_t bPos;
};

// Copies into `into` (a list of the earlier part; null when it has none, and then `link` makes
// it one like `from`) the events of `from` (of the later part) that come at or after its last
// event, at their absolute ticks. A held event at the very tick of that last one hands it its
// value instead of being copied.
template <class Event, class Link>
bool mergeList(const MergeSource& merge, CZRNodeList* into, const CZRNodeList* from, Link link) {
    constexpr bool held = !std::is_same_v<Event, CZRMusicalNote>;
    if (from == nullptr || from->getCount() == 0) return true;
    const ZRCreateContext context = merge.record.storeContext();
    if (into == nullptr) {
        into = createObject<CZRNodeList>(context, ZR_NO_OBJ_ID);
        if (into == nullptr) return false;
        if (!into->copyFrom(from, 0, nullptr) || !link(into)) {
            context.registry.destroy(into->getObjID());
            return false;
        }
    }
    auto* last = into->getCount() != 0 ? objCast<Event>(into->elements().back()) : nullptr;
    if (into->getCount() != 0 && last == nullptr) return false;
    const std::int64_t lastAt = last != nullptr ? merge.aPos + last->getSortKey() : merge.aPos;

    for (const IZRMutableKorObject* element : from->elements()) {
        const auto* event = objCast<Event>(element);
        if (event == nullptr) return false;
        const std::int64_t at = merge.bPos + event->getSortKey();
        if (last != nullptr && at < lastAt) continue;
        if (held && last != nullptr && at == lastAt) {
            auto values = event->values();
            values.posTick = last->values().posTick;
            last->values() = std::move(values);
            continue;
        }
        Event* copy = deepCopy(context, *event);
        if (copy == nullptr) return false;
        if (!placeEvent(*copy, at - merge.aPos) || !into->insertSorted(copy)) {
            context.registry.destroy(copy->getObjID());
            return false;
        }
    }
    return true;
}

// Merges the notes, musical controls and style controls of `b` into `a`. Singers and phrase
// styles stay as `a` has them.
bool mergeEvents(const MergeSource& merge, CZRMusicalPart& a, const CZRMusicalPart& b) {
    if (!mergeList<CZRMusicalNote>(merge, a.noteList(), b.noteList(),
                                   [&a](CZRNodeList* list) { return a.setNoteList(list); }))
        return false;
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        if (!mergeList<CZRMusicalControl>(
                merge, a.controlList(type), b.controlList(type),
                [&a, type](CZRNodeList* list) { return a.setControlList(type, list); }))
            return false;
    for (const auto& entry : b.styleControlLists()) {
        const std::wstring& id = entry.first;
        if (!mergeList<CZRStyleControl>(
                merge, findMapList(a.styleControlLists(), id), entry.second,
                [&a, &id](CZRNodeList* list) { return a.setStyleControlList(id, list); }))
            return false;
    }
    return true;
}

} // namespace

std::uint32_t checkPartsOverlap(const CZRMusicalPart& a, const CZRMusicalPart& b) {
    static constexpr std::array<std::uint32_t, CZRMusicalPart::kControlTypes> kControlCodes{
        ZR_E_PARTS_OVERLAP_DYN, ZR_E_PARTS_OVERLAP_BRE, ZR_E_PARTS_OVERLAP_BRI,
        ZR_E_PARTS_OVERLAP_CLE, ZR_E_PARTS_OVERLAP_GEN, ZR_E_PARTS_OVERLAP_PIT,
        ZR_E_PARTS_OVERLAP_PBS};
    if (startsBefore(a, a.noteList(), b, b.noteList())) return ZR_E_PARTS_OVERLAP_NOTE;
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        if (startsBefore(a, a.controlList(type), b, b.controlList(type)))
            return kControlCodes[static_cast<std::size_t>(type)];
    for (const auto& [id, list] : a.styleControlLists())
        if (startsBefore(a, list, b, findMapList(b.styleControlLists(), id)))
            return id == L"POR" ? ZR_E_PARTS_OVERLAP_POR : ZR_E_PARTS_OVERLAP;
    return 0;
}

std::uint32_t mergeMusicalParts(EditSession& session, std::uint32_t firstPartID,
                                std::uint32_t secondPartID) {
    if (firstPartID == secondPartID) return ZR_E_PARTS_OVERLAP;
    const auto* first = liveObject<CZRMusicalPart>(session, firstPartID);
    const auto* second = liveObject<CZRMusicalPart>(session, secondPartID);
    if (first == nullptr || second == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (parentList(*first) != parentList(*second)) return ZR_E_PARTS_NOT_ON_SAME_TRACK;
    ListEdit<CZRMusicalPart> edit;
    if (const std::uint32_t code =
            editList<CZREditZRPartList>(session, parentList(*first), firstPartID, false, edit))
        return code;
    std::uint32_t error = 0;
    CZRMusicalPart* a = edit.element;
    CZRMusicalPart* b =
        EditSession::workingObject<CZRMusicalPart>(*edit.record, secondPartID, error);
    if (b == nullptr) return error;

    if (b->getPosTick() < a->getPosTick()) std::swap(a, b);
    if (a->getPosTick() == b->getPosTick()) return ZR_E_PARTS_OVERLAP;
    if (const std::uint32_t code = checkPartsOverlap(*a, *b)) return code;

    const MergeSource merge{*edit.record, a->getPosTick(), b->getPosTick()};
    const std::int64_t end = std::max(merge.aPos + a->getPlayTime(), merge.bPos + b->getPlayTime());
    if (end - merge.aPos > kLastTick || !mergeEvents(merge, *a, *b)) return ZR_E_UPDATE_FAILED;
    a->part().setPlayTime(static_cast<std::int32_t>(end - merge.aPos));
    a->updateDerivedLength();
    a->setEdited();
    if (!edit.list->removeByID(b->getObjID())) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({a->getObjID(), kMusicalChanged, a->getPosTick()});
    edit.record->addChange({b->getObjID(), kMusicalDeleted, b->getPosTick()});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

// The checks read the part as this editor has left it (its copy in the part list record), so
// that a part moved earlier in the same session is cut where it now stands.
std::uint32_t divideMusicalPart(EditSession& session, std::uint32_t partID, std::int32_t tick) {
    const auto* live = liveObject<CZRMusicalPart>(session, partID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit<CZRMusicalPart> edit;
    if (const std::uint32_t code =
            editList<CZREditZRPartList>(session, parentList(*live), partID, false, edit))
        return code;
    CZRMusicalPart& part = *edit.element;
    const std::int64_t pos = part.getPosTick();
    const std::int64_t end = pos + std::max(part.getPlayTime(), part.contentLength());
    const std::int32_t shortest = shortestPlayTime(session.policy());
    if (tick < pos + shortest || tick >= end)
        return session.explain(ZR_E_INVALID_PART_POSITION,
                               L"%ls (the shortest play time after the part's start, up to its "
                               L"end).",
                               rangeDetail(L"Cut tick", tick,
                                           static_cast<std::int32_t>(pos + shortest),
                                           static_cast<std::int32_t>(end - 1))
                                   .c_str());
    if (const std::uint32_t code = checkRoomForPart(session, *edit.list)) return code;

    const auto cut = static_cast<std::int32_t>(tick - pos);
    CZRMusicalPart* tail = deepCopy(edit.record->storeContext(), part);
    if (tail == nullptr) return ZR_E_UPDATE_FAILED;
    tail->part().setPosTick(tick);
    tail->part().setPlayTime(
        static_cast<std::int32_t>(std::max<std::int64_t>(end - tick, shortest)));
    part.part().setPlayTime(cut);
    if (!keepBefore(part, cut) || !keepFrom(*tail, cut) || !edit.list->insertSorted(tail)) {
        edit.record->storeContext().registry.destroy(tail->getObjID());
        return ZR_E_UPDATE_FAILED;
    }
    for (CZRMusicalPart* changed : {&part, tail}) {
        changed->updateDerivedLength();
        changed->setEdited();
    }
    edit.record->addChange({partID, kMusicalChanged, part.getPosTick()});
    edit.record->addChange({tail->getObjID(), kMusicalInserted, tick});
    session.noteInserted(tail->getObjID());
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t extendMusicalPartHead(EditSession& session, std::uint32_t partID,
                                    std::int32_t amount) {
    const auto* live = liveObject<CZRMusicalPart>(session, partID);
    if (live == nullptr || parentList(*live) == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    const CZRSequence* sequence = editedSequence(session);
    if (sequence == nullptr || sequence->masterTrack() == nullptr) return ZR_E_NO_MASTER_TRACK;
    if (amount == 0) return 0;
    if (amount < 0)
        return outOfRange(session, ZR_E_INVALID_PART_EXTEND_DURATION, amount, 0, kNoLimit);
    ListEdit<CZRMusicalPart> edit;
    if (const std::uint32_t code =
            editList<CZREditZRPartList>(session, parentList(*live), partID, false, edit))
        return code;
    CZRMusicalPart& part = *edit.element;
    // A part never starts before tick 0 and the amount is positive, so the new start fits.
    const std::int32_t start = part.getPosTick() - amount;
    if (const std::uint32_t code = checkPartStart(session, start)) return code;
    const ZRKorManagementPolicy& policy = session.policy();
    if (policy.maxNoteTick != -1 &&
        std::int64_t{part.contentLength()} + amount > policy.maxNoteTick)
        return session.explain(ZR_E_INVALID_PART_DURATION,
                               L"The part's events would span %lld ticks, past the upper tick "
                               L"limit %d (the policy's maxNoteTick).",
                               static_cast<long long>(part.contentLength()) + amount,
                               policy.maxNoteTick);
    const std::int64_t playTime = std::int64_t{part.getPlayTime()} + amount;
    if ((policy.maxPlayTime != -1 && playTime > policy.maxPlayTime) || playTime > kLastTick)
        return session.explain(
            ZR_E_INVALID_PART_PLAY_TIME, L"%ls",
            rangeDetail(L"Play time", playTime, shortestPlayTime(policy),
                        policy.maxPlayTime != -1
                            ? std::min<std::int64_t>(policy.maxPlayTime, kLastTick)
                            : kLastTick,
                        L" ticks")
                .c_str());

    if (!shiftEvents(part, amount)) return ZR_E_UPDATE_FAILED;
    part.part().setPosTick(start);
    part.part().setPlayTime(static_cast<std::int32_t>(playTime));
    part.updateDerivedLength();
    part.setEdited();
    // The new start may pass that of an earlier part. The list copy is sorted here, because
    // when it sits inside a pending track list record, committing sorts only the track list.
    edit.list->sortByKey();
    edit.record->addChange({partID, kMusicalChanged, part.getPosTick()});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

} // namespace kor
