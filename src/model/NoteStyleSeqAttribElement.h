// A point of a note's style curve.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRNoteStyleSeqAttribElement.h>

#include <array>

/// Initial values of a style curve point.
struct ZRNoteStyleSeqAttribElementValues {
    std::int32_t posNrm = 0;
    std::int32_t elv = 0;
};

/// A curve point, ordered by its position over the note (0 to 65536, 16.16 fixed point). A
/// position out of range cannot be repaired here; the curve drops such points.
class CZRNoteStyleSeqAttribElement final
    : public TZRValueObject<CZRNoteStyleSeqAttribElement, IZRNoteStyleSeqAttribElement,
                            ZRNoteStyleSeqAttribElementValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::NoteStyleSeqAttribElement;
    /// The note's end.
    static constexpr std::int32_t kMaxPosNrm = 65536;

    static constexpr std::array kRules{
        kor::numberRule(&ZRNoteStyleSeqAttribElementValues::posNrm, 0, kMaxPosNrm,
                        ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION, kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosNrm() const override { return values().posNrm; }
    std::int32_t getElv() const override { return values().elv; }
    std::int32_t getSortKey() const override { return values().posNrm; }

private:
    friend class TZRObject<CZRNoteStyleSeqAttribElement, IZRNoteStyleSeqAttribElement>;

    void dumpFields(std::wstring& out) const;
};
