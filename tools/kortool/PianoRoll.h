// `kortool render`: a song as a piano-roll picture in SVG.
#pragma once

#include <korman/korman.h>

#include <optional>
#include <string>

namespace kortool {

/// What to draw and how to lay it out.
struct RollOptions {
    /// The measures to draw, counted from 0 with the pre-measures; both ends included.
    std::optional<int> from;
    std::optional<int> to;
    /// The picture's width in pixels: the measures wrap into rows that fit it.
    std::optional<int> width;
    /// Measures per row; with a width as well, the rows are scaled to fit it.
    std::optional<int> measuresPerRow;
};

/// An SVG 1.1 picture of the song, in rows of measures: each row has a measure ruler with time
/// signatures and tempo marks, a lane per ZR track with its parts outlined, a pitch axis, its
/// notes as bars at their pitch labelled with their lyrics, the pitch line (bend and vibrato)
/// over them and the dynamics in a strip below, and a lane per audio track with its WAV parts
/// as labelled blocks.
std::string renderPianoRoll(const IZRKorRoot& root, const RollOptions& options);

} // namespace kortool
