// A note of a musical part.
#pragma once

#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRMusicalNote.h>

#include <array>
#include <string>
#include <vector>

/// Initial values of a note (and the loose note record the editor checks before it creates or
/// changes a note).
struct ZRMusicalNoteValues {
    std::int32_t posTick = 0;
    std::int32_t durTick = 0;
    std::int32_t noteNum = 0;
    std::int32_t velocity = 0;
    std::int32_t phLock = 0;
    std::wstring lyric;
    std::vector<std::wstring> phonemes;
};

/// A note of the part's note list, ordered by tick, with an optional style (values) and an
/// optional sequential style (curves) as children. The repair clamps length, note number and
/// velocity, replaces a bad lyric or phoneme symbol by "a" and cuts over-long symbols; a negative
/// position, phonemes too long when joined, and two styles without any ID stay invalid.
class CZRMusicalNote final
    : public TZRValueObject<CZRMusicalNote, IZRMusicalNote, ZRMusicalNoteValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::MusicalNote;
    static constexpr std::int32_t kMaxTextLength = 32;

    static constexpr std::array kRules{
        kor::numberRule(&ZRMusicalNoteValues::posTick, 0, kor::kNoLimit, ZR_E_INVALID_NOTE_POSITION,
                        kor::Repair::Fail),
        kor::numberRule(&ZRMusicalNoteValues::durTick, 1, kor::kNoLimit, ZR_E_INVALID_NOTE_DURATION,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRMusicalNoteValues::noteNum, 0, 127, ZR_E_INVALID_NOTE_NUMBER,
                        kor::Repair::Clamp),
        kor::numberRule(&ZRMusicalNoteValues::velocity, 0, 127, ZR_E_INVALID_NOTE_VELOCITY,
                        kor::Repair::Clamp),
        kor::textRule(&ZRMusicalNoteValues::lyric, 1, kMaxTextLength, ZR_E_INVALID_LYRIC,
                      kor::Repair::Reset, L"a"),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosTick() const override { return values().posTick; }
    std::int32_t getDurTick() const override { return values().durTick; }
    std::int32_t getNoteNum() const override { return values().noteNum; }
    std::int32_t getVelocity() const override { return values().velocity; }
    const std::wstring& getLyric() const override { return values().lyric; }
    std::uint32_t getPhonemeCount() const override;
    const std::wstring& getPhoneme(std::uint32_t index) const override;
    std::int32_t getPhLock() const override { return values().phLock; }
    IZRNoteStyleAttrib* getNoteStyle() const override;
    IZRNoteStyleSeqAttrib* getNoteSeqStyle() const override;

    CZRNoteStyleAttrib* noteStyle() const { return style_; }
    CZRNoteStyleSeqAttrib* noteSeqStyle() const { return seqStyle_; }
    /// Links `style` (or nothing) as the note's style; the one it replaces is detached.
    [[nodiscard]] bool setNoteStyle(CZRNoteStyleAttrib* style);
    [[nodiscard]] bool setNoteSeqStyle(CZRNoteStyleSeqAttrib* seqStyle);

    /// The value checks (see kor::checkNoteValues), then the styles.
    std::uint32_t validate() const override;
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override { return values().posTick; }

private:
    friend class TZRObject<CZRMusicalNote, IZRMusicalNote>;

    /// "Invalid note style" when both styles are there and neither holds an ID.
    std::uint32_t checkStyles() const;
    bool copyChildren(const CZRMusicalNote& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) {
        return std::tie(self.style_, self.seqStyle_);
    }
    void dumpFields(std::wstring& out) const;

    CZRNoteStyleAttrib* style_ = nullptr;
    CZRNoteStyleSeqAttrib* seqStyle_ = nullptr;
};

namespace kor {

/// The checks of a note on a loose record, in order: position, length, note number, velocity,
/// lyric, phonemes (at least one; each 1 to 32 characters; joined with single blanks at most
/// 32). 0 or the code of the first fault.
std::uint32_t checkNoteValues(const ZRMusicalNoteValues& values);

} // namespace kor
