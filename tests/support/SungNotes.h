// A musical part's notes as they are sung, for comparing what an import made with what it should.
#pragma once

#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/NodeList.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace kor::test {

struct SungNote {
    std::int32_t tick;
    std::int32_t length;
    std::int32_t key;
    std::wstring lyric;
    bool operator==(const SungNote&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const SungNote& note) {
    return out << "{" << note.tick << ", " << note.length << ", " << note.key << ", \""
               << std::string(note.lyric.begin(), note.lyric.end()) << "\"}";
}

/// The notes of `part` in order, `offset` added to each position.
inline std::vector<SungNote> sungNotes(const CZRMusicalPart& part, std::int32_t offset = 0) {
    std::vector<SungNote> out;
    for (const IZRMutableKorObject* element : part.noteList()->elements()) {
        const auto* note = kor::objCast<CZRMusicalNote>(element);
        out.push_back({offset + note->getPosTick(), note->getDurTick(), note->getNoteNum(),
                       note->getLyric()});
    }
    return out;
}

} // namespace kor::test
