#include "model/MusicalNote.h"

#include "model/ContainerOps.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"

#include <new>

namespace {

constexpr std::size_t kMaxText = CZRMusicalNote::kMaxTextLength;

bool phonemesValid(const std::vector<std::wstring>& phonemes) {
    if (phonemes.empty()) return false;
    std::size_t joined = phonemes.size() - 1; // the blanks between symbols
    for (const std::wstring& symbol : phonemes) {
        if (symbol.empty() || symbol.size() > kMaxText) return false;
        joined += symbol.size();
    }
    return joined <= kMaxText;
}

// Gives a note without symbols the symbol "a", replaces empty symbols by "a" and cuts long
// ones; a note whose symbols are too long only when joined is left as it is.
std::uint32_t repairPhonemes(std::vector<std::wstring>& phonemes) {
    std::uint32_t changed = 0;
    if (phonemes.empty()) {
        try {
            phonemes.emplace_back(L"a");
        } catch (const std::bad_alloc&) {
            return ZR_E_INVALID_PHONEME | kor::kUnrepairable;
        }
        return 1;
    }
    for (std::wstring& symbol : phonemes) {
        if (symbol.empty()) {
            symbol = L"a";
            changed = 1;
        } else if (symbol.size() > kMaxText) {
            symbol.resize(kMaxText);
            changed = 1;
        }
    }
    return changed;
}

const std::wstring kNoPhoneme;

} // namespace

std::uint32_t CZRMusicalNote::getPhonemeCount() const {
    return static_cast<std::uint32_t>(values().phonemes.size());
}

const std::wstring& CZRMusicalNote::getPhoneme(std::uint32_t index) const {
    return index < values().phonemes.size() ? values().phonemes[index] : kNoPhoneme;
}

IZRNoteStyleAttrib* CZRMusicalNote::getNoteStyle() const {
    return style_;
}
IZRNoteStyleSeqAttrib* CZRMusicalNote::getNoteSeqStyle() const {
    return seqStyle_;
}

bool CZRMusicalNote::setNoteStyle(CZRNoteStyleAttrib* style) {
    return kor::setChildSlot(style_, style, this);
}

bool CZRMusicalNote::setNoteSeqStyle(CZRNoteStyleSeqAttrib* seqStyle) {
    return kor::setChildSlot(seqStyle_, seqStyle, this);
}

std::uint32_t CZRMusicalNote::checkStyles() const {
    const bool bothEmpty = style_ != nullptr && seqStyle_ != nullptr && style_->values().empty() &&
                           seqStyle_->lists().empty();
    return bothEmpty ? ZR_E_INVALID_NOTE_STYLE : 0;
}

std::uint32_t CZRMusicalNote::validate() const {
    if (const std::uint32_t code = kor::checkNoteValues(values())) return code;
    return checkStyles();
}

std::uint32_t CZRMusicalNote::correct(CZRObjectTable& table, const ZRCreateContext& context) {
    std::uint32_t result = TZRValueObject::correct(table, context);
    if ((result & kor::kUnrepairable) != 0) return result;
    const std::uint32_t phonemes = repairPhonemes(values().phonemes);
    if ((phonemes & kor::kUnrepairable) != 0) return phonemes;
    if (const std::uint32_t code = checkStyles()) return code | kor::kUnrepairable;
    return result | phonemes;
}

bool CZRMusicalNote::copyChildren(const CZRMusicalNote& source, std::uint32_t copyFlags,
                                  const ZRCreateContext& context) {
    return kor::copyChildSlot(style_, source.style_, this, copyFlags, context) &&
           kor::copyChildSlot(seqStyle_, source.seqStyle_, this, copyFlags, context);
}

void CZRMusicalNote::dumpFields(std::wstring& out) const {
    const ZRMusicalNoteValues& v = values();
    kor::appendFormat(out, L" posTick=%d durTick=%d noteNum=%d velocity=%d lyric=%ls phLock=%d ",
                      v.posTick, v.durTick, v.noteNum, v.velocity, v.lyric.c_str(), v.phLock);
    for (const std::wstring& symbol : v.phonemes)
        kor::appendFormat(out, L"phoneme=%ls ", symbol.c_str());
}

namespace kor {

std::uint32_t checkNoteValues(const ZRMusicalNoteValues& values) {
    if (const std::uint32_t code = checkRules<ZRMusicalNoteValues>(values, CZRMusicalNote::kRules))
        return code;
    return phonemesValid(values.phonemes) ? 0 : ZR_E_INVALID_PHONEME;
}

} // namespace kor
