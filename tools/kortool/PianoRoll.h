// `kortool render`: a song as a piano-roll picture in SVG.
#pragma once

#include <korman/korman.h>

#include <optional>
#include <string>

namespace kortool {

/// The measures to draw, counted from 0 with the pre-measures; both ends included.
struct MeasureRange {
    std::optional<int> from;
    std::optional<int> to;
};

/// An SVG picture of the song: a measure ruler with time signatures and tempo marks, a lane per
/// ZR track with its parts outlined and its notes as bars at their pitch labelled with their
/// lyrics, and a lane per audio track with its WAV parts as labelled blocks.
std::string renderPianoRoll(const IZRKorRoot& root, const MeasureRange& range);

} // namespace kortool
