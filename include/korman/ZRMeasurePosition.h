// A place on the song's time axis counted in measures, beats and ticks.
#pragma once

#include <cstdint>

/// A tick of the song written as measure, beat and tick, under the time signatures of the master
/// track (IZRMasterTrack::tickToPosition and positionToTick).
struct ZRMeasurePosition {
    /// The measure, counted from 0 at the start of the song, pre-measures included (as the
    /// measure of a time signature): with one pre-measure, measure 1 is the first of the song
    /// proper.
    std::int32_t measure = 0;
    /// The beat within the measure, from 0 to the time signature's numerator - 1; a beat is one
    /// note of the signature's denominator (480 ticks in 4/4, 240 in 6/8).
    std::int32_t beat = 0;
    /// The tick within the beat, from 0 to the beat's length in ticks - 1.
    std::int32_t tick = 0;
};
