// The part-level style values of a musical part.
#pragma once

#include "model/StyleValues.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRPartStyleAttrib.h>

/// Style values by attribute ID for a whole musical part ("bendDep", "decay", ...).
class CZRPartStyleAttrib final : public TZRStyleValues<CZRPartStyleAttrib, IZRPartStyleAttrib,
                                                       ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID> {
public:
    static constexpr ZRObjType kType = ZRObjType::PartStyleAttrib;

    using TZRStyleValues::TZRStyleValues;
};
