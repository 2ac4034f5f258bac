// The order a score's measures are sung in: as written, or as performed, repeats, endings and
// jumps unfolded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kor {

struct MusicXmlScore;

/// One measure as it is sung: the written measure (from 0) and the pass through the repeated
/// section it belongs to (1 outside repeats, and after a jump).
struct PerformedMeasure {
    std::int32_t measure;
    std::int32_t pass;

    bool operator==(const PerformedMeasure&) const = default;
};

/// The most measures a performance may hold: more than a song has room for even in 2/4.
inline constexpr std::size_t kMaxPerformedMeasures = 1'000'000;

/// How many measures the score has: as many as its longest part.
std::size_t measureCount(const MusicXmlScore& score);

/// Whether the score marks a repeat, an ending or a jump (D.C., D.S.).
bool hasRepeats(const MusicXmlScore& score);

/// Every measure of `score` once, in written order, on pass 1.
std::vector<PerformedMeasure> writtenOrder(const MusicXmlScore& score);

/// The measures of `score` in the order a singer performs them:
/// - A backward repeat goes back to the nearest forward repeat before it that no other backward
///   repeat went back to; without one, to the measure after the previous backward repeat, or to
///   the start. The section is sung `times` times (twice when the score does not say), and
///   within endings at least until the highest pass they name.
/// - An ending (volta) is sung on the passes its number names and skipped on the others; its
///   span runs to its stop or discontinue, else to the measure before the next ending, else it
///   is its first measure only. Endings that follow each other form a group; a group holding no
///   backward repeat is sung as written, every ending once. A later backward repeat of a group
///   goes back where its first one does.
/// - After the measure marked D.C. the performance goes back to the start, after D.S. to the
///   segno of that name (else the first segno; a D.S. without any segno is not followed). After
///   such a jump, repeats are not taken again, each group of endings sings its last ending, To
///   Coda goes on at the coda of that name after it (else the first after it; none: not
///   followed; only the first To Coda counts), and the measure marked Fine ends the
///   performance. A score jumps back once.
/// - The pass of a measure counts the times its innermost repeated section has been sung,
///   including this one; the endings of a group count the passes of the section they close.
/// None when the performance would hold more than kMaxPerformedMeasures measures.
std::optional<std::vector<PerformedMeasure>> performedOrder(const MusicXmlScore& score);

} // namespace kor
