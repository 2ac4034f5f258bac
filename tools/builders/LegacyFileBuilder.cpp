#include "builders/LegacyFileBuilder.h"

#include <algorithm>
#include <cstdio>

namespace kor::test {

LegacyFileBuilder::LegacyFileBuilder(unsigned division)
    : smf_(1, division)
    , conductor_(&smf_.addTrack()) {}

std::vector<std::string> LegacyFileBuilder::pieces(const std::string& ini, std::size_t pieceSize) {
    std::vector<std::string> out;
    for (std::size_t start = 0; start < ini.size(); start += pieceSize) {
        char head[16];
        std::snprintf(head, sizeof head, "DM:%04zu:", out.size());
        out.push_back(head + ini.substr(start, pieceSize));
    }
    return out;
}

LegacyFileBuilder& LegacyFileBuilder::singingTrack(const std::string& ini, std::size_t pieceSize,
                                                   const std::vector<std::size_t>& order) {
    std::vector<std::string> all = pieces(ini, std::max<std::size_t>(pieceSize, 1));
    SmfTrackWriter& track = smf_.addTrack();
    if (order.empty()) {
        for (const std::string& piece : all)
            track.text(0, piece);
    } else {
        for (std::size_t number : order)
            track.text(0, all.at(number));
    }
    return *this;
}

} // namespace kor::test
