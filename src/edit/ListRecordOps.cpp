#include "edit/ListRecordOps.h"

#include "model/MasterTrack.h"
#include "model/Mixer.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/ObjectTable.h"
#include "model/ProsodyPart.h"
#include "model/Sequence.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace kor {

namespace {

// The ID under which `map` holds `list`, or null.
const std::wstring* keyOf(const ListMap& map, const CZRNodeList& list) {
    for (const auto& [id, held] : map)
        if (held == &list) return &id;
    return nullptr;
}

// True when every ID of `moving` is free in `destination` or belongs to `leaving`, which goes
// out of `destination` first.
bool fitsAfterSwap(const std::vector<std::uint32_t>& moving,
                   const std::vector<std::uint32_t>& leaving, const CZRObjectTable& destination) {
    return std::all_of(moving.begin(), moving.end(), [&](std::uint32_t objID) {
        return destination.lookup(objID) == nullptr ||
               std::binary_search(leaving.begin(), leaving.end(), objID);
    });
}

} // namespace

std::vector<std::uint32_t> subtreeIDs(const IZRMutableKorObject& root) {
    std::vector<std::uint32_t> ids;
    std::vector<const IZRMutableKorObject*> pending{&root};
    std::vector<IZRMutableKorObject*> children;
    while (!pending.empty()) {
        const IZRMutableKorObject* obj = pending.back();
        pending.pop_back();
        ids.push_back(obj->getObjID());
        children.clear();
        obj->getChildren(children);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool tradedIDs(const CZRObjectTable& live, const IZRMutableKorObject& liveRoot,
               const CZRObjectTable& store, const IZRMutableKorObject& copyRoot,
               std::vector<std::uint32_t>& ids) {
    const std::vector<std::uint32_t> liveIDs = subtreeIDs(liveRoot);
    const std::vector<std::uint32_t> copyIDs = subtreeIDs(copyRoot);
    if (!fitsAfterSwap(copyIDs, liveIDs, live) || !fitsAfterSwap(liveIDs, copyIDs, store))
        return false;
    ids.clear();
    std::set_union(liveIDs.begin(), liveIDs.end(), copyIDs.begin(), copyIDs.end(),
                   std::back_inserter(ids));
    return true;
}

bool relinkChild(CZRMasterTrack& parent, CZRNodeList& old, CZRNodeList& replacement) {
    if (parent.timeSigList() == &old) return parent.setTimeSigList(&replacement);
    if (parent.tempoList() == &old) return parent.setTempoList(&replacement);
    return false;
}

bool relinkChild(CZRMusicalPart& parent, CZRNodeList& old, CZRNodeList& replacement) {
    if (parent.singerList() == &old) return parent.setSingerList(&replacement);
    if (parent.noteList() == &old) return parent.setNoteList(&replacement);
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        if (parent.controlList(type) == &old) return parent.setControlList(type, &replacement);
    // The setters find the entry by the key they are given and overwrite only its list, so the
    // map's own key can be passed without copying it (which would allocate).
    if (const std::wstring* id = keyOf(parent.styleControlLists(), old))
        return parent.setStyleControlList(*id, &replacement);
    if (const std::wstring* id = keyOf(parent.phraseStyleLists(), old))
        return parent.setPhraseStyleList(*id, &replacement);
    return false;
}

bool relinkChild(CZRProsodyPart& parent, CZRNodeList& old, CZRNodeList& replacement) {
    if (parent.voiceList() == &old) return parent.setVoiceList(&replacement);
    if (parent.phonemeList() == &old) return parent.setPhonemeList(&replacement);
    for (std::size_t which = 0; which < 2; ++which)
        if (parent.elementList(which) == &old) return parent.setElementList(which, &replacement);
    for (std::int32_t type = 0; type < CZRProsodyPart::kControlTypes; ++type)
        if (parent.controlList(type) == &old) return parent.setControlList(type, &replacement);
    return false;
}

bool relinkChild(CZRZRTrack& parent, CZRNodeList& old, CZRNodeList& replacement) {
    return parent.partList() == &old && parent.setPartList(&replacement);
}

bool relinkChild(CZRWAVTrack& parent, CZRNodeList& old, CZRNodeList& replacement) {
    return parent.wavPartList() == &old && parent.setWAVPartList(&replacement);
}

bool relinkChild(CZRSequence& parent, CZRNodeList& old, CZRNodeList& replacement) {
    return parent.zrTrackList() == &old && parent.setZRTrackList(&replacement);
}

bool relinkChild(CZRSequence& parent, CZRMasterTrack& old, CZRMasterTrack& replacement) {
    return parent.masterTrack() == &old && parent.setMasterTrack(&replacement);
}

bool relinkChild(CZRMixer& parent, CZRNodeList& old, CZRNodeList& replacement) {
    return parent.zrUnitList() == &old && parent.setZRUnitList(&replacement);
}

bool relinkChild(CZRNoteStyleSeqAttrib& parent, CZRNodeList& old, CZRNodeList& replacement) {
    const std::wstring* id = keyOf(parent.lists(), old);
    return id != nullptr && parent.setElementList(*id, &replacement);
}

bool relinkChild(CZRNodeList& parent, CZRMusicalNote& old, CZRMusicalNote& replacement) {
    const auto& elements = parent.elements();
    const auto at = std::find(elements.begin(), elements.end(), &old);
    return at != elements.end() &&
           parent.replaceAt(static_cast<std::uint32_t>(at - elements.begin()), &replacement,
                            nullptr);
}

void sortCopiedLists(CZRNodeList& list) {
    list.sortByKey();
}

void sortCopiedLists(CZRMasterTrack& master) {
    for (CZRNodeList* list : {master.timeSigList(), master.tempoList()})
        if (list != nullptr) list->sortByKey();
}

void sortCopiedLists(CZRMusicalNote& note) {
    if (note.noteSeqStyle() == nullptr) return;
    for (const auto& [id, list] : note.noteSeqStyle()->lists())
        if (list != nullptr) list->sortByKey();
}

} // namespace kor
