// The sung pitch around a note: the part's pitch bend and the note's vibrato, in cents.
#pragma once

#include "Timeline.h"

#include <korman/korman.h>

#include <utility>
#include <vector>

namespace kortool {

/// The pitch line of the notes of one musical part: the part's pitch bend (PIT, -8192 to 8191,
/// scaled by the bend sensitivity PBS in semitones) plus each note's vibrato where it is on.
/// Reads the part when made; the part and the timeline must outlive it.
class PitchLine {
public:
    PitchLine(const Timeline& time, const IZRMusicalPart& part);
    PitchLine(const PitchLine&) = delete;
    PitchLine& operator=(const PitchLine&) = delete;

    /// Cents from the key of `note` at each of `ticks` (song ticks, ascending, within the note).
    std::vector<double> cents(const IZRMusicalNote& note, const std::vector<int>& ticks) const;
    /// The dynamics (DYN, 0 to 127) as steps over the part: each change with its song tick,
    /// the first at the part's start.
    std::vector<std::pair<int, int>> dynamics() const;

    /// A bend sensitivity the part does not set is the MIDI default of two semitones; a part
    /// without DYN sings at the middle of its range.
    static constexpr int kDefaultSensitivity = 2;
    static constexpr int kDefaultDynamics = 64;

private:
    // The value of a control in effect at each tick: the last change at or before it.
    class Steps {
    public:
        Steps(const IZRNodeList* list, int origin, int fallback, int low, int high);
        int at(int tick) const;
        const std::vector<std::pair<int, int>>& changes() const { return changes_; }

    private:
        std::vector<std::pair<int, int>> changes_;
        int fallback_;
    };

    const Timeline& time_;
    int start_;
    Steps bend_;
    Steps sensitivity_;
    Steps dynamics_;
};

} // namespace kortool
