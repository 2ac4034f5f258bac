#include "edit/ListRecordOps.h"

#include "model/MasterTrack.h"
#include "model/Mixer.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/ProsodyPart.h"
#include "model/Sequence.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

#include <algorithm>
#include <string>

namespace kor {

namespace {

// The ID under which `map` holds `list`, or null.
const std::wstring* keyOf(const ListMap& map, const CZRNodeList& list) {
    for (const auto& [id, held] : map)
        if (held == &list) return &id;
    return nullptr;
}

} // namespace

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
    // The key is copied: the setter writes into the map entry it names.
    if (const std::wstring* id = keyOf(parent.styleControlLists(), old))
        return parent.setStyleControlList(std::wstring(*id), &replacement);
    if (const std::wstring* id = keyOf(parent.phraseStyleLists(), old))
        return parent.setPhraseStyleList(std::wstring(*id), &replacement);
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
    return id != nullptr && parent.setElementList(std::wstring(*id), &replacement);
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
