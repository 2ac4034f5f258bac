// What the singer of a musical part and the voice of a prosody part share: a VVoice named by
// bank select and program change, resolved against the sequence's VVoice table when read.
#pragma once

#include "model/ValueObject.h"

#include <cstdint>

namespace kor {

/// Resolves the pair (`vBS`, `vPC`) against the VVoice list of the sequence that contains
/// `event`: a pair the list holds stays; otherwise `vPC` becomes that of the first VVoice with
/// bank select `vBS`, failing that both become those of the first VVoice. Nothing changes
/// outside a sequence or with an empty list. True when the pair changed.
bool resolveVoice(const IZRKorObject& event, std::int32_t& vBS, std::int32_t& vPC);

} // namespace kor

/// An event whose value record `Values` carries `vBS` and `vPC`. Reading the voice resolves the
/// pair and stores the result in the event, so a later write-out sees what was read.
template <class Derived, class ReadInterface, class Values>
class TZRVoiceEvent : public TZRValueObject<Derived, ReadInterface, Values> {
    using Base = TZRValueObject<Derived, ReadInterface, Values>;

public:
    using Base::Base;

    std::int32_t getVBS() const override { return resolved().vBS; }
    std::int32_t getVPC() const override { return resolved().vPC; }

private:
    const Values& resolved() const {
        // Events are always created as modifiable objects; reading writes the resolved pair
        // back, as the host expects of these getters.
        Values& values = const_cast<TZRVoiceEvent&>(*this).values();
        kor::resolveVoice(*this, values.vBS, values.vPC);
        return values;
    }
};
