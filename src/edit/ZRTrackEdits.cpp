#include "edit/ZRTrackEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "model/Builders.h"
#include "model/ZRUnit.h"

namespace kor {

namespace {

/// The live sequence and mixer of the edited song.
struct Song {
    CZRSequence* sequence = nullptr;
    CZRMixer* mixer = nullptr;
};

std::uint32_t findSong(const EditSession& session, Song& song) {
    song.sequence = editedSequence(session);
    if (song.sequence == nullptr) return ZR_E_NO_SEQUENCE;
    song.mixer = song.sequence->mixer();
    return song.mixer == nullptr ? ZR_E_NO_MIXER : 0;
}

/// The song and its live track `trackID`; ZR_E_EDIT_TARGET_NOT_FOUND when the track is missing.
std::uint32_t findTrack(const EditSession& session, std::uint32_t trackID, Song& song,
                        const CZRZRTrack*& track) {
    if (const std::uint32_t code = findSong(session, song)) return code;
    track = liveObject<CZRZRTrack>(session, trackID);
    return track != nullptr ? 0 : ZR_E_EDIT_TARGET_NOT_FOUND;
}

/// The song, and whether `listID` is its track list (ZR_E_EDIT_TARGET_NOT_FOUND when not).
std::uint32_t findTrackList(const EditSession& session, std::uint32_t listID, Song& song) {
    if (const std::uint32_t code = findSong(session, song)) return code;
    const CZRNodeList* list = song.sequence->zrTrackList();
    return list != nullptr && list->getObjID() == listID ? 0 : ZR_E_EDIT_TARGET_NOT_FOUND;
}

std::uint32_t checkTexts(const EditSession& session, const std::wstring& name,
                         const std::wstring& comment) {
    const bool longName = name.size() > kMaxTrackTextLength;
    if (!longName && comment.size() <= kMaxTrackTextLength) return 0;
    return session.explain(
        ZR_E_INVALID_TRACK_VALUE, L"%ls",
        lengthDetail(ZR_E_INVALID_TRACK_VALUE, longName ? L"Track name" : L"Track comment",
                     longName ? name.size() : comment.size(), 0, kMaxTrackTextLength)
            .c_str());
}

/// ZR_E_INVALID_TRACK_ID, explained, when the song may not have a track numbered `trackNo`.
std::uint32_t checkTrackLimit(const EditSession& session, std::int32_t trackNo) {
    const auto most = static_cast<std::int32_t>(session.policy().maxZRTracks);
    return trackNo >= 0 && trackNo >= most
               ? session.explain(ZR_E_INVALID_TRACK_ID, L"%ls (the policy's maxZRTracks is %d).",
                                 rangeDetail(L"Track number", trackNo, 0, most - 1).c_str(), most)
               : 0;
}

/// The working copies of the sequence's track list and the mixer's unit list.
struct TrackListsEdit {
    ListEdit<CZRZRTrack> tracks;
    ListEdit<CZRZRUnit> units;
};

/// Obtains the records of both lists; `trackID` (unless ZR_NO_OBJ_ID) is looked up in the track
/// list copy as `editList` does.
std::uint32_t editTrackLists(EditSession& session, const Song& song, std::uint32_t trackID,
                             bool allowRemoved, TrackListsEdit& edit) {
    if (const std::uint32_t code = editList<CZREditZRTrackList>(
            session, song.sequence->zrTrackList(), trackID, allowRemoved, edit.tracks))
        return code;
    return editList<CZREditZRUnitList>(session, song.mixer->zrUnitList(), ZR_NO_OBJ_ID, false,
                                       edit.units);
}

/// ZR_E_INVALID_TRACK_NUMBER, explained, when the track list copy holds the policy's most
/// tracks already.
std::uint32_t checkRoomForTrack(const EditSession& session, const TrackListsEdit& edit) {
    const std::uint32_t count = edit.tracks.list->getCount();
    return count >= session.policy().maxZRTracks
               ? session.explain(ZR_E_INVALID_TRACK_NUMBER,
                                 L"The song holds %u ZR tracks, the most the policy's maxZRTracks "
                                 L"allows.",
                                 count)
               : 0;
}

void setTrackNo(CZRZRTrack& track, std::int32_t trackNo) {
    track.setTrackNo(trackNo);
}
void setTrackNo(CZRZRUnit& unit, std::int32_t trackNo) {
    unit.values().trackNo = trackNo;
}

/// Gives every element of the list copy of `edit` the number `renumber(its number)`, records
/// each one that changes, and re-sorts the list.
template <class T, class Renumber> void renumberList(ListEdit<T>& edit, Renumber renumber) {
    for (IZRMutableKorObject* element : edit.list->elements()) {
        auto* numbered = objCast<T>(element);
        if (numbered == nullptr) continue;
        const std::int32_t from = numbered->getTrackNo();
        const std::int32_t to = renumber(from);
        if (to == from) continue;
        setTrackNo(*numbered, to);
        edit.record->addChange({numbered->getObjID(), ZR_CHANGE_MODIFIED, 0});
    }
    edit.list->sortByKey();
    edit.record->addChange({edit.list->getObjID(), ZR_CHANGE_MODIFIED, 0});
}

template <class Renumber> void renumberTracks(TrackListsEdit& edit, Renumber renumber) {
    renumberList(edit.tracks, renumber);
    renumberList(edit.units, renumber);
}

/// The unit of track `trackNo` in `units` (borrowed), or null.
CZRZRUnit* unitOf(const CZRNodeList* units, std::int32_t trackNo) {
    return units != nullptr ? objCast<CZRZRUnit>(units->findByKey(trackNo)) : nullptr;
}

/// Links `track` and its `unit`, both made in the stores of `edit`'s records (null when making
/// them failed), under the number `trackNo` asks for. On failure both are destroyed.
std::uint32_t placeTrack(EditSession& session, TrackListsEdit& edit, std::int32_t trackNo,
                         CZRZRTrack* track, CZRZRUnit* unit) {
    const CZRNodeList& tracks = *edit.tracks.list;
    const std::uint32_t count = tracks.getCount();
    // An appended track follows the last one, whatever gaps the numbering has.
    const std::int32_t last = count == 0 ? -1 : tracks.elementAt(count - 1)->getSortKey();
    const std::int32_t number =
        trackNo < 0 || static_cast<std::uint32_t>(trackNo) >= count ? last + 1 : trackNo;
    std::uint32_t code = track == nullptr || unit == nullptr ? ZR_E_UPDATE_FAILED : 0;
    if (code == 0 && number > CZRZRTrack::kMaxTrackNo) code = ZR_E_INVALID_TRACK_ID;
    if (code != 0) {
        if (track != nullptr)
            edit.tracks.record->storeContext().registry.destroy(track->getObjID());
        if (unit != nullptr) edit.units.record->storeContext().registry.destroy(unit->getObjID());
        return code;
    }

    renumberTracks(edit, [number](std::int32_t n) { return n >= number ? n + 1 : n; });
    track->setTrackNo(number);
    unit->values().trackNo = number;
    // Neither insertion can fail: both objects are new and the numbers are free.
    (void)edit.tracks.list->insertSorted(track);
    (void)edit.units.list->insertSorted(unit);
    edit.tracks.record->addChange({track->getObjID(), ZR_CHANGE_INSERTED, 0});
    session.noteInserted(track->getObjID());
    edit.units.record->addChange({unit->getObjID(), ZR_CHANGE_INSERTED, 0});
    return 0;
}

/// Inserts copies of `source` and of `sourceUnit` (a new unit when null), named `name`.
std::uint32_t placeCopy(EditSession& session, TrackListsEdit& edit, std::int32_t trackNo,
                        const CZRZRTrack& source, const CZRZRUnit* sourceUnit,
                        const std::wstring& name) {
    const ZRCreateContext trackContext = edit.tracks.record->storeContext();
    const ZRCreateContext unitContext = edit.units.record->storeContext();
    CZRZRTrack* track = deepCopy(trackContext, source);
    CZRZRUnit* unit =
        sourceUnit != nullptr ? deepCopy(unitContext, *sourceUnit) : buildZRUnit(unitContext, 0);
    if (track != nullptr) track->setName(name);
    return placeTrack(session, edit, trackNo, track, unit);
}

} // namespace

std::uint32_t updateZRTrack(EditSession& session, std::uint32_t trackID, const std::wstring& name,
                            const std::wstring& comment) {
    Song song;
    const CZRZRTrack* live = nullptr;
    if (const std::uint32_t code = findTrack(session, trackID, song, live)) return code;
    if (const std::uint32_t code = checkTexts(session, name, comment)) return code;
    ElementEdit<CZRZRTrack> edit;
    if (const std::uint32_t code = editElement<CZREditZRTrack>(session, live, edit)) return code;
    edit.object->setName(name);
    edit.object->setComment(comment);
    edit.record->addChange({trackID, ZR_CHANGE_MODIFIED, 0});
    return 0;
}

std::uint32_t moveZRTrack(EditSession& session, std::uint32_t trackID, std::int32_t trackNo) {
    Song song;
    const CZRZRTrack* live = nullptr;
    if (const std::uint32_t code = findTrack(session, trackID, song, live)) return code;
    if (trackNo < 0)
        return outOfRange(session, ZR_E_INVALID_TRACK_ID, trackNo, 0,
                          static_cast<std::int32_t>(session.policy().maxZRTracks) - 1);
    if (const std::uint32_t code = checkTrackLimit(session, trackNo)) return code;
    TrackListsEdit edit;
    if (const std::uint32_t code = editTrackLists(session, song, trackID, false, edit)) return code;

    const std::int32_t from = edit.tracks.element->getTrackNo();
    if (trackNo == from)
        return session.explain(ZR_E_INVALID_TRACK_ID, L"The track has the number %d already.",
                               from);
    if (static_cast<std::uint32_t>(trackNo) >= edit.tracks.list->getCount())
        return outOfRange(session, ZR_E_INVALID_TRACK_ID, trackNo, 0,
                          static_cast<std::int32_t>(edit.tracks.list->getCount()) - 1);
    // The tracks from the new number up to the old one close the gap the track leaves; the
    // mixer units follow their tracks.
    renumberTracks(edit, [from, to = trackNo](std::int32_t n) {
        if (n == from) return to;
        if (from < to && n > from && n <= to) return n - 1;
        if (to < from && n >= to && n < from) return n + 1;
        return n;
    });
    return 0;
}

std::uint32_t insertZRTrack(EditSession& session, std::uint32_t listID, std::int32_t trackNo,
                            const std::wstring& name, const std::wstring& comment) {
    Song song;
    if (const std::uint32_t code = findTrackList(session, listID, song)) return code;
    if (const std::uint32_t code = checkTrackLimit(session, trackNo)) return code;
    if (const std::uint32_t code = checkTexts(session, name, comment)) return code;
    TrackListsEdit edit;
    if (const std::uint32_t code = editTrackLists(session, song, ZR_NO_OBJ_ID, false, edit))
        return code;
    if (const std::uint32_t code = checkRoomForTrack(session, edit)) return code;
    return placeTrack(session, edit, trackNo,
                      buildZRTrack(edit.tracks.record->storeContext(), {name, comment, 0}),
                      buildZRUnit(edit.units.record->storeContext(), 0));
}

std::uint32_t copyZRTrack(EditSession& session, std::uint32_t listID, std::int32_t trackNo,
                          std::uint32_t sourceID, const std::wstring& name) {
    Song song;
    if (const std::uint32_t code = findTrackList(session, listID, song)) return code;
    const IZRKorObject* source = session.document().objects().lookup(sourceID);
    if (source == nullptr) return ZR_E_COPY_SOURCE_NOT_FOUND;
    if (!CZRZRTrack::classof(source)) return ZR_E_EDIT_TARGET_WRONG_TYPE;
    if (const std::uint32_t code = checkTrackLimit(session, trackNo)) return code;
    if (const std::uint32_t code = checkTexts(session, name, L"")) return code;
    TrackListsEdit edit;
    if (const std::uint32_t code = editTrackLists(session, song, ZR_NO_OBJ_ID, false, edit))
        return code;
    if (const std::uint32_t code = checkRoomForTrack(session, edit)) return code;

    // The source as this editor has left it: its copy in the track list record.
    const auto* working = objCast<CZRZRTrack>(edit.tracks.record->workingObject(sourceID));
    if (working == nullptr || isDetached(working)) return ZR_E_COPY_SOURCE_NOT_FOUND;
    return placeCopy(session, edit, trackNo, *working,
                     unitOf(edit.units.list, working->getTrackNo()), name);
}

std::uint32_t importZRTrack(EditSession& session, std::uint32_t listID, std::int32_t trackNo,
                            std::uint32_t sourceID) {
    Song song;
    if (const std::uint32_t code = findTrackList(session, listID, song)) return code;
    const CZRKorDocument* imported = session.host().importedDocument();
    const IZRKorObject* found =
        imported != nullptr ? imported->objects().lookup(sourceID) : nullptr;
    if (found == nullptr) return ZR_E_IMPORT_SOURCE_NOT_FOUND;
    const auto* source = objCast<CZRZRTrack>(found);
    if (source == nullptr) return ZR_E_EDIT_TARGET_WRONG_TYPE;
    if (const std::uint32_t code = checkTrackLimit(session, trackNo)) return code;
    if (const std::uint32_t code = checkTexts(session, source->getName(), source->getComment()))
        return code;
    TrackListsEdit edit;
    if (const std::uint32_t code = editTrackLists(session, song, ZR_NO_OBJ_ID, false, edit))
        return code;
    if (const std::uint32_t code = checkRoomForTrack(session, edit)) return code;

    const CZRSequence* importedSong = findSequence(source);
    const CZRMixer* importedMixer = importedSong != nullptr ? importedSong->mixer() : nullptr;
    const CZRZRUnit* unit = importedMixer != nullptr
                                ? unitOf(importedMixer->zrUnitList(), source->getTrackNo())
                                : nullptr;
    return placeCopy(session, edit, trackNo, *source, unit, source->getName());
}

std::uint32_t deleteZRTrack(EditSession& session, std::uint32_t trackID) {
    Song song;
    const CZRZRTrack* live = nullptr;
    if (const std::uint32_t code = findTrack(session, trackID, song, live)) return code;
    TrackListsEdit edit;
    if (const std::uint32_t code = editTrackLists(session, song, trackID, true, edit)) return code;
    if (isDetached(edit.tracks.element)) return 0;
    if (edit.tracks.list->getCount() < 2)
        return session.explain(ZR_E_INVALID_TRACK_NUMBER,
                               L"The song's last ZR track cannot be deleted.");

    const std::int32_t number = edit.tracks.element->getTrackNo();
    if (!edit.tracks.list->removeByID(trackID)) return ZR_E_UPDATE_FAILED;
    edit.tracks.record->addChange({trackID, ZR_CHANGE_DELETED, 0});
    if (const CZRZRUnit* unit = unitOf(edit.units.list, number)) {
        const std::uint32_t unitID = unit->getObjID();
        if (!edit.units.list->removeByID(unitID)) return ZR_E_UPDATE_FAILED;
        edit.units.record->addChange({unitID, ZR_CHANGE_DELETED, 0});
    }
    renumberTracks(edit, [number](std::int32_t n) { return n > number ? n - 1 : n; });
    return 0;
}

} // namespace kor
