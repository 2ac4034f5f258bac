// The dump of a song as its saved file gives it back, for round-trip checks in tests and fuzzers.
#pragma once

#include "model/KorRoot.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kor::test {

/// `text` without the dumps of empty lists and of the style plug-ins' attribute info lists (list
/// type 16): a song file does not tell an empty list from a missing one, and names a part's style
/// plug-in without carrying those lists.
inline std::string withoutUncarriedLists(const std::string& text) {
    static constexpr std::string_view kList = "CZRNodeList {";
    static constexpr std::string_view kInfoList = "listType=16 ";
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (std::size_t at = text.find(kList); at != std::string::npos; at = text.find(kList, at)) {
        const std::size_t head = text.find("} ", at);
        std::size_t end = at;
        for (int depth = 0; end < text.size(); ++end) {
            if (text[end] == '{') ++depth;
            if (text[end] == '}' && --depth == 0) break;
        }
        const bool infoList =
            head != std::string::npos && text.compare(head + 3, kInfoList.size(), kInfoList) == 0;
        const bool empty = text.find('{', head) > end;
        if (!infoList && !empty) {
            ++at;
            continue;
        }
        out.append(text, pos, at - pos);
        pos = at = std::min(end + 2, text.size());
    }
    out.append(text, std::min(pos, text.size()));
    return out;
}

/// The dump of `root` as a saved song gives it back: object IDs blanked (as dumpWithoutIDs), the
/// VVoices that no musical part's singer uses left out, as the writer leaves them out, and the
/// lists a song file does not carry (withoutUncarriedLists).
inline std::string dumpAsSaved(const CZRKorRoot& root) {
    std::wstring dump;
    root.dump(dump, 1);
    std::string text;
    text.reserve(dump.size());
    for (const wchar_t c : dump)
        text += c < 0x80 ? static_cast<char>(c) : '?';
    text = withoutUncarriedLists(text);
    // The voices the singers use, each as " vBS=.. vPC=..", which a VVoice's entry holds followed
    // by a blank.
    std::vector<std::string> sung;
    static constexpr std::string_view kSinger = "CZRMusicalSinger {";
    for (std::size_t at = text.find(kSinger); at != std::string::npos;
         at = text.find(kSinger, at + 1)) {
        const std::size_t voice = text.find(" vBS=", at);
        sung.push_back(text.substr(voice, text.find(' ', text.find(" vPC=", voice) + 1) - voice));
    }
    std::string out;
    out.reserve(text.size());
    static constexpr std::string_view kVVoice = "CZRVVoice {";
    static constexpr std::string_view kID = "bjID=";
    std::size_t voice = text.find(kVVoice);
    for (std::size_t pos = 0; pos < text.size();) {
        if (voice < pos) voice = text.find(kVVoice, pos);
        const std::size_t id = text.find(kID, pos);
        // A VVoice entry ends with " } " after its last value. A text value may hold the marker
        // of an entry too; one that no entry's end follows is no entry.
        std::size_t end = 0;
        if (voice != std::string::npos && voice < id) {
            const std::size_t last = text.find("genderFactor=", voice);
            const std::size_t close = last == std::string::npos ? last : text.find(" } ", last);
            if (close != std::string::npos) end = close + 3;
        }
        const auto unused = [&] {
            const std::string_view entry(text.data() + voice, end - voice);
            return std::none_of(sung.begin(), sung.end(), [&](const std::string& v) {
                return entry.find(v + " ") != std::string_view::npos;
            });
        };
        if (end != 0 && unused()) {
            out.append(text, pos, voice - pos);
            pos = end;
        } else if (id != std::string::npos) {
            out.append(text, pos, id + kID.size() - pos);
            out += '#';
            pos = std::min(text.find(' ', id), text.size());
        } else {
            out.append(text, pos);
            break;
        }
    }
    return out;
}

} // namespace kor::test
