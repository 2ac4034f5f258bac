// The dump of a song as its saved file gives it back, for round-trip checks in tests and fuzzers.
#pragma once

#include "model/KorRoot.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kor::test {

/// The dump of `root` as a saved song gives it back: object IDs blanked (as dumpWithoutIDs) and
/// the VVoices that no musical part's singer uses left out, as the writer leaves them out.
inline std::string dumpAsSaved(const CZRKorRoot& root) {
    std::wstring dump;
    root.dump(dump, 1);
    std::string text;
    text.reserve(dump.size());
    for (const wchar_t c : dump)
        text += c < 0x80 ? static_cast<char>(c) : '?';
    std::vector<std::string_view> lines;
    std::vector<std::string> sung;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::string_view line(text.data() + pos, end - pos);
        lines.push_back(line);
        if (line.find("CZRMusicalSinger {") != std::string_view::npos) {
            // " vBS=.. vPC=..", which a VVoice's line holds followed by a blank.
            const std::size_t at = line.find(" vBS=");
            sung.push_back(
                std::string(line.substr(at, line.find(' ', line.find(" vPC=") + 1) - at)));
        }
        pos = end + 1;
    }
    std::string out;
    for (const std::string_view line : lines) {
        if (line.find("CZRVVoice {") != std::string_view::npos &&
            std::none_of(sung.begin(), sung.end(), [&](const std::string& voice) {
                return line.find(voice + " ") != std::string_view::npos;
            }))
            continue;
        for (std::size_t pos = 0; pos < line.size();) {
            const std::size_t id = line.find("bjID=", pos);
            if (id == std::string_view::npos) {
                out.append(line.substr(pos));
                break;
            }
            out.append(line.substr(pos, id + 5 - pos));
            out += '#';
            pos = line.find(' ', id);
            if (pos == std::string_view::npos) break;
        }
        out += '\n';
    }
    return out;
}

} // namespace kor::test
