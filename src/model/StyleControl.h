// A style control event of a musical part.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRStyleControl.h>

#include <array>
#include <string>

/// Initial values of a style control event.
struct ZRStyleControlValues {
    std::int32_t posTick = 0;
    std::wstring id;
    std::int32_t val = 0;
};

/// A style value under an ID in the part's style control list, ordered by tick. A negative
/// position or an ID outside 1 to 256 characters cannot be repaired.
class CZRStyleControl final
    : public TZRValueObject<CZRStyleControl, IZRStyleControl, ZRStyleControlValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::StyleControl;
    static constexpr std::int32_t kMaxIDLength = 256;

    static constexpr std::array kRules{
        kor::numberRule(&ZRStyleControlValues::posTick, 0, kor::kNoLimit,
                        ZR_E_INVALID_STYLE_CONTROL_POSITION, kor::Repair::Fail),
        kor::textRule(&ZRStyleControlValues::id, 1, kMaxIDLength, ZR_E_INVALID_STYLE_CONTROL_ID,
                      kor::Repair::Fail),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getPosTick() const override { return values().posTick; }
    const std::wstring& getID() const override { return values().id; }
    std::int32_t getVal() const override { return values().val; }
    std::int32_t getSortKey() const override { return values().posTick; }

private:
    friend class TZRObject<CZRStyleControl, IZRStyleControl>;

    void dumpFields(std::wstring& out) const;
};
