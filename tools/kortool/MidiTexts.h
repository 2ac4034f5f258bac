// The texts a MIDI or legacy song file carries, read straight from its bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kortool {

/// What the library decodes with a code page when it imports a MIDI file or converts a legacy
/// song: the raw bytes, before any conversion.
struct MidiTexts {
    std::vector<std::string> names;  ///< track and instrument names (meta events 3 and 4)
    std::vector<std::string> lyrics; ///< lyric events (meta event 5)
    /// Per track with "DM:nnnn:" pieces, the pieces' text joined in piece-number order: the
    /// INI-like text of a legacy song.
    std::vector<std::string> legacyTexts;
};

/// The texts of the MIDI file at `path`; nullopt when it cannot be read or does not start with a
/// MIDI header chunk. A track that breaks off or holds a malformed event gives the texts before
/// that point, so a damaged file still shows what it holds.
std::optional<MidiTexts> readMidiTexts(const std::string& path);

} // namespace kortool
