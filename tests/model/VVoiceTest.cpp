#include "model/Aux.h"
#include "model/UnManaged.h"
#include "model/VVoice.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

const std::wstring kCompID = L"BCNFCY43LB2LZCD4";

ZRVVoiceValues voice(std::int32_t vBS, std::int32_t vPC, std::wstring compID = kCompID,
                     std::wstring name = L"Ann") {
    return {vBS, vPC, std::move(compID), std::move(name), {}};
}

} // namespace

TEST(VVoice, ChecksInOrderAndRepairsOnlyParameters) {
    TestDocument doc;
    struct Case {
        ZRVVoiceValues values;
        std::uint32_t validateCode;
        std::uint32_t correctCode;
    };
    ZRVVoiceValues loud = voice(0, 0);
    loud.param.breathiness = 300;
    loud.param.opening = -128;
    const Case cases[] = {
        {voice(128, 128, L""), ZR_E_INVALID_VVOICE_BANK_SELECT, 0x8307a101},
        {voice(127, 128, L""), ZR_E_INVALID_VVOICE_PROGRAM_CHANGE, 0x8307a102},
        {voice(0, 0, kCompID.substr(1), L""), ZR_E_INVALID_VVOICE_COMPONENT_ID, 0x8307a103},
        {voice(0, 0, kCompID, L""), ZR_E_INVALID_VVOICE_NAME, 0},
        {voice(0, 0, kCompID, std::wstring(257, L'n')), ZR_E_INVALID_VVOICE_NAME, 0},
        {loud, ZR_E_INVALID_VVOICE_PARAMETER, 1},
    };
    for (const Case& c : cases) {
        CZRVVoice v(1, c.values);
        EXPECT_EQ(v.validate(), c.validateCode) << std::hex << c.validateCode;
        EXPECT_EQ(v.correct(doc.table, doc.context), c.correctCode) << std::hex << c.correctCode;
        const ZRVVoiceParam& p = c.values.param;
        EXPECT_EQ(kor::checkVVoiceValues(c.values.vBS, c.values.vPC, c.values.compID.c_str(),
                                         c.values.name.c_str(), p),
                  c.validateCode);
    }
    CZRVVoice repaired(1, loud);
    ASSERT_EQ(repaired.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(repaired.getParam().breathiness, 127);
    EXPECT_EQ(repaired.getParam().opening, -127);

    EXPECT_EQ(kor::checkVVoiceValues(0, 0, nullptr, L"Ann", {}), ZR_E_INVALID_VVOICE_COMPONENT_ID);
    EXPECT_EQ(kor::checkVVoiceValues(0, 0, kCompID.c_str(), nullptr, {}), ZR_E_INVALID_VVOICE_NAME);
    EXPECT_EQ(CZRVVoice(1, voice(3, 5)).getSortKey(), 3 * 65536 + 5);
}
