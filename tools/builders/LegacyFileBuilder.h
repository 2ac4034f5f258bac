// Writes legacy song files: a conductor track plus singing tracks whose INI text is cut into
// "DM:nnnn:" text events.
#pragma once

#include "builders/SmfBuilder.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kor::test {

/// Builds the bytes of a legacy file from text a test writes: conductor events (tempo, time
/// signature, name) on track 0, then one track per call of singingTrack().
class LegacyFileBuilder {
public:
    explicit LegacyFileBuilder(unsigned division = 480);

    /// Track 0, for tempo and time-signature events.
    SmfTrackWriter& conductor() { return *conductor_; }

    /// Adds a track whose text is `ini`, cut into pieces of `pieceSize` bytes. The pieces are
    /// written in `order` (piece numbers, repeats and gaps allowed); empty means 0, 1, 2, ...
    LegacyFileBuilder& singingTrack(const std::string& ini, std::size_t pieceSize = 120,
                                    const std::vector<std::size_t>& order = {});

    /// The "DM:nnnn:" text events that carry `ini` in pieces of `pieceSize` bytes, in number order.
    static std::vector<std::string> pieces(const std::string& ini, std::size_t pieceSize);

    std::string bytes() const { return smf_.bytes(); }

private:
    SmfBuilder smf_;
    SmfTrackWriter* conductor_;
};

} // namespace kor::test
