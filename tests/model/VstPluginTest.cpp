#include "model/VstPlugin.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

ZRVstPluginValues plugin(std::wstring id, std::int32_t sdkVersion, std::int32_t paramNum,
                         std::vector<std::int32_t> values) {
    ZRVstPluginValues v;
    v.id = std::move(id);
    v.name = L"Reverb";
    v.sdkVersion = sdkVersion;
    v.paramNum = paramNum;
    v.presetNo = 2;
    v.enable = 1;
    v.valid = 1;
    v.values = std::move(values);
    return v;
}

} // namespace

TEST(VstPlugin, ChecksSdkVersionThenIdThenParameterCount) {
    EXPECT_EQ(CZRVstPlugin(1, plugin(L"ABCD", 2, 1, {5})).validate(), 0u);
    EXPECT_EQ(CZRVstPlugin(1, plugin(L"ABC", 4, 3, {})).validate(),
              ZR_E_INVALID_VST_PLUGIN_SDK_VERSION);
    EXPECT_EQ(CZRVstPlugin(1, plugin(std::wstring(37, L'x'), 3, 3, {})).validate(),
              ZR_E_INVALID_VST_PLUGIN_ID);
    EXPECT_EQ(CZRVstPlugin(1, plugin(L"ABCD", 3, 4, {1, 2})).validate(),
              ZR_E_INVALID_VST_PLUGIN_PARAMETER_VALUES);
    EXPECT_EQ(CZRVstPlugin(1, CZRVstPlugin::emptySlot()).validate(), 0u);
}

TEST(VstPlugin, CorrectResetsBadSlotsAndResizesValues) {
    TestDocument doc;
    CZRVstPlugin shortID(1, plugin(L"ABC", 2, 1, {5}));
    EXPECT_EQ(shortID.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(shortID.values(), CZRVstPlugin::emptySlot());
    EXPECT_EQ(shortID.correct(doc.table, doc.context), 0u); // already empty

    CZRVstPlugin unknownVersion(1, plugin(L"ABCD", 4, 0, {}));
    EXPECT_EQ(unknownVersion.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(unknownVersion.getID(), L"    ");

    CZRVstPlugin tooFew(1, plugin(L"ABCD", 2, 4, {7, 8}));
    EXPECT_EQ(tooFew.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(tooFew.getParamNum(), 4);
    EXPECT_EQ(tooFew.getParamValue(1), 8);
    EXPECT_EQ(tooFew.getParamValue(3), 0);
    EXPECT_EQ(tooFew.getParamValue(4), 0);
    EXPECT_EQ(tooFew.getValid(), 0);
    EXPECT_EQ(tooFew.validate(), 0u);

    CZRVstPlugin absurd(1, plugin(L"ABCD", 2, 2000000000, {1}));
    EXPECT_EQ(absurd.correct(doc.table, doc.context), 0x8307a304u);
}
