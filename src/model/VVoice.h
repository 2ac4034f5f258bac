// An entry of the VVoice table of a sequence.
#pragma once

#include "model/ValueObject.h"

#include <korman/ErrorCodes.h>
#include <korman/IZRVVoice.h>

#include <array>
#include <string>

/// Initial values of a VVoice.
struct ZRVVoiceValues {
    std::int32_t vBS = 0;
    std::int32_t vPC = 0;
    std::wstring compID;
    std::wstring name;
    ZRVVoiceParam param;
};

/// A VVoice of the sequence's VVoice list, ordered by its key vBS × 65536 + vPC. A bank select,
/// program change or component ID out of range cannot be repaired; the repair clamps the
/// parameters and leaves the name as it is.
class CZRVVoice final : public TZRValueObject<CZRVVoice, IZRVVoice, ZRVVoiceValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::VVoice;
    static constexpr std::int32_t kMaxProgram = 127;
    static constexpr std::int32_t kCompIDLength = 16;
    static constexpr std::int32_t kMaxNameLength = 256;
    static constexpr std::int32_t kMaxParam = 127;

    static constexpr std::array kRules{
        kor::numberRule(&ZRVVoiceValues::vBS, 0, kMaxProgram, ZR_E_INVALID_VVOICE_BANK_SELECT,
                        kor::Repair::Fail),
        kor::numberRule(&ZRVVoiceValues::vPC, 0, kMaxProgram, ZR_E_INVALID_VVOICE_PROGRAM_CHANGE,
                        kor::Repair::Fail),
        kor::textRule(&ZRVVoiceValues::compID, kCompIDLength, kCompIDLength,
                      ZR_E_INVALID_VVOICE_COMPONENT_ID, kor::Repair::Fail),
        kor::textRule(&ZRVVoiceValues::name, 1, kMaxNameLength, ZR_E_INVALID_VVOICE_NAME,
                      kor::Repair::Leave),
    };

    using TZRValueObject::TZRValueObject;

    std::int32_t getVBS() const override { return values().vBS; }
    std::int32_t getVPC() const override { return values().vPC; }
    const std::wstring& getCompID() const override { return values().compID; }
    const std::wstring& getName() const override { return values().name; }
    const ZRVVoiceParam& getParam() const override { return values().param; }

    /// Bank select, program change, component ID, name, then the five parameters: 0 or the code
    /// of the first fault.
    static std::uint32_t checkValues(const ZRVVoiceValues& values);
    std::uint32_t validate() const override { return checkValues(values()); }
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override { return values().vBS * 65536 + values().vPC; }

private:
    friend class TZRObject<CZRVVoice, IZRVVoice>;

    void dumpFields(std::wstring& out) const;
};

namespace kor {

/// The checks of a VVoice applied to loose values, in the same order, before a VVoice is created
/// or changed: 0 or the code of the first fault. A null component ID or name is invalid.
std::uint32_t checkVVoiceValues(std::int32_t vBS, std::int32_t vPC, const wchar_t* compID,
                                const wchar_t* name, const ZRVVoiceParam& param);

} // namespace kor
