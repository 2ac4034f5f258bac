// The values every part of a KOR3 document has, musical, prosody or WAV.
#pragma once

#include "formats/kor3/ElementNames.h"
#include "formats/kor3/ValueField.h"
#include "model/Part.h"

namespace Kor3 {

/// The values every part has: position, play time, name and comment.
inline constexpr TZRValueField<CZRPart> kPartValues[] = {
    {kPosTick, &CZRPart::setPosTick},
    {kPlayTime, &CZRPart::setPlayTime},
    {kPartName, &CZRPart::setName},
    {kComment, &CZRPart::setComment},
};

} // namespace Kor3
