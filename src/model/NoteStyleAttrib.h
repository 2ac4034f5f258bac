// The style values of a note.
#pragma once

#include "model/StyleValues.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRNoteStyleAttrib.h>

/// Style values by attribute ID for one note ("bendDep", "accent", "vibType", ...).
class CZRNoteStyleAttrib final : public TZRStyleValues<CZRNoteStyleAttrib, IZRNoteStyleAttrib,
                                                       ZR_E_INVALID_NOTE_STYLE_ATTRIBUTE_ID> {
public:
    static constexpr ZRObjType kType = ZRObjType::NoteStyleAttrib;

    using TZRStyleValues::TZRStyleValues;
};
