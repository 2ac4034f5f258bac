// The pre-measure area in front of the song proper: its edits (the count of measures, the events
// inside it) and the shift of everything after it when the area changes length.
#pragma once

#include "edit/EditCommand.h"
#include "model/MasterTrack.h"

#include <korman/ErrorCodes.h>

#include <cstdint>
#include <vector>

class CZRPart;
class CZRTempo;

namespace kor {

class EditSession;

/// The most measures a pre-measure area holds; it holds at least one.
inline constexpr std::int32_t kMaxPreMeasure = 8;

/// The master-track record of an edit and the copy of the master track in its store.
struct MasterTrackEdit {
    AZREditCommand* record = nullptr;
    CZRMasterTrack* master = nullptr;
};

/// Obtains the master-track record for the live master track `live` (null:
/// ZR_E_EDIT_TARGET_NOT_FOUND) and looks up its copy. 0 or the failing step's code.
[[nodiscard]] std::uint32_t editMasterTrack(EditSession& session, const CZRMasterTrack* live,
                                            MasterTrackEdit& edit);

/// Moves the song proper when the pre-measure area in front of it changes length: every tempo
/// but the head one from the old end of the area on, and every part of the singing tracks and of
/// both audio tracks, by the change in length. Planned first, in the copies of the records it
/// obtains, so that nothing changes unless every record can be had and every new position is
/// valid; then applied, which cannot fail.
class SongShift {
public:
    SongShift() = default;
    SongShift(const SongShift&) = delete;
    SongShift& operator=(const SongShift&) = delete;

    /// Obtains the records of the tempo list and of every part list and works out the new
    /// positions for an area that ended at tick `from` and grows by `delta` ticks (shrinks when
    /// negative). False, with nothing changed, when `from` is negative, the sequence has no master
    /// track, a record cannot be had (a conflicting edit, memory) or a part or tempo would leave
    /// the range of positions.
    [[nodiscard]] bool plan(EditSession& session, std::int32_t from, std::int32_t delta);
    /// Moves what plan found, and drops the tempos that would land before the area's old end,
    /// appending a change entry for each to its record.
    void apply() const;

private:
    [[nodiscard]] bool planTempos(EditSession& session, const CZRMasterTrack& master,
                                  std::int32_t from, std::int32_t delta);
    /// Plans the parts of the live part list `live`, through a list record of class `Record`.
    template <class Record>
    [[nodiscard]] bool planParts(EditSession& session, const CZRNodeList* live, std::int32_t delta);

    struct TempoStep {
        CZRTempo* tempo;
        std::int32_t posTick; ///< the new position, or the old one of a tempo that is dropped
        bool drop;
    };
    struct PartStep {
        AZREditCommand* record;
        CZRPart* part;
        std::int32_t posTick;
    };

    AZREditCommand* tempoRecord_ = nullptr;
    CZRNodeList* tempoList_ = nullptr;
    std::vector<TempoStep> tempos_;
    std::vector<PartStep> parts_;
};

/// Makes `change` (returning false when it cannot be made) to the master track copy `master`;
/// when that alters the length of the pre-measure area, the song proper moves by the difference.
/// When it cannot move, `revert` takes the change back. 0, or ZR_E_UPDATE_FAILED.
template <class Change, class Revert>
[[nodiscard]] std::uint32_t changeFrontMeasures(EditSession& session, const CZRMasterTrack& master,
                                                Change change, Revert revert) {
    const std::int32_t from = master.getPreMeasureTick();
    if (!change()) return ZR_E_UPDATE_FAILED;
    const std::int32_t delta = master.getPreMeasureTick() - from;
    SongShift shift;
    if (delta != 0 && !shift.plan(session, from, delta)) {
        revert();
        return ZR_E_UPDATE_FAILED;
    }
    shift.apply();
    return 0;
}

/// Clears `timeSigIDs` and `tempoIDs` and fills them with the time signatures and tempos of the
/// live master track `masterID` that lie inside its pre-measure area, the head ones (first in
/// their lists) left out. ZR_E_EDIT_TARGET_NOT_FOUND when there is no such master track.
[[nodiscard]] std::uint32_t listPreMeasureEvents(const EditSession& session, std::uint32_t masterID,
                                                 std::vector<std::uint32_t>& timeSigIDs,
                                                 std::vector<std::uint32_t>& tempoIDs);

/// Sets the pre-measure count (1 to 8, else ZR_E_INVALID_PREMEASURE) of the master track
/// `masterID` (ZR_E_EDIT_TARGET_NOT_FOUND when missing) and moves the song proper by the change
/// in the area's length. The record lookup's codes; ZR_E_UPDATE_FAILED when the song cannot move.
[[nodiscard]] std::uint32_t setPreMeasure(EditSession& session, std::uint32_t masterID,
                                          std::int32_t count);

} // namespace kor
