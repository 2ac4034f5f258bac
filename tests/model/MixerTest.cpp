#include "model/KaraokeUnit.h"
#include "support/SongObjects.h"

#include "support/TestLeaf.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kFail = 0x8000;

// Gives `unit` plug-in list `which` holding `count` plug-ins; returns the list.
template <class Unit>
CZRNodeList* addPlugins(TestDocument& doc, Unit& unit, std::size_t which, int count) {
    CZRNodeList* list = doc.list(26);
    EXPECT_TRUE(unit.setVstList(which, list));
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(list->append(
            kor::createObject<CZRVstPlugin>(doc.context, ZR_NO_OBJ_ID, CZRVstPlugin::emptySlot())));
    return list;
}

} // namespace

TEST(MixerUnits, ValidateReportsTheFirstBrokenFieldInCheckOrder) {
    struct Case {
        ZRZRUnitValues values;
        std::uint32_t code;
    };
    // trackNo, inGain, sendLevel, sendEnable, mute, solo, pan, vol
    const Case cases[] = {
        {{0, 0, -898, 0, 7, 0, 64, 60}, 0}, // mute is never checked
        {{16, 99, -899, 2, 0, 2, 129, 61}, ZR_E_INVALID_ZR_UNIT_ID},
        {{15, 21, -899, 2, 0, 2, 129, 61}, ZR_E_INVALID_ZR_UNIT_INPUT_GAIN},
        {{15, -20, -899, 2, 0, 2, 129, 61}, ZR_E_INVALID_ZR_UNIT_SEND_LEVEL},
        {{15, -20, 60, 2, 0, 2, 129, 61}, ZR_E_INVALID_ZR_UNIT_SEND_SWITCH},
        {{15, -20, 60, 1, 0, 2, 129, 61}, ZR_E_INVALID_ZR_UNIT_SOLO},
        {{15, -20, 60, 1, 0, 1, 129, 61}, ZR_E_INVALID_ZR_UNIT_PANPOT},
        {{15, -20, 60, 1, 0, 1, 128, 61}, ZR_E_INVALID_ZR_UNIT_VOLUME},
    };
    TestDocument doc;
    for (const Case& c : cases) {
        CZRZRUnit* unit = kor::createObject<CZRZRUnit>(doc.context, ZR_NO_OBJ_ID, c.values);
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->validate(), c.code) << std::hex << c.code;
    }

    const ZRMasterUnitValues master[] = {{-2, 61, 61}, {-1, 61, 61}, {-1, 61, 60}};
    const std::uint32_t masterCodes[] = {ZR_E_INVALID_MASTER_UNIT_OUTPUT_DEVICE_ID,
                                         ZR_E_INVALID_MASTER_UNIT_RETURN_LEVEL,
                                         ZR_E_INVALID_MASTER_UNIT_VOLUME};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CZRMasterUnit(1, master[i]).validate(), masterCodes[i]);

    EXPECT_EQ(CZRSEUnit(1, {0, -898, 0, 0, 0, 64, 0}).validate(), 0u);
    EXPECT_EQ(CZRSEUnit(1, {0, -898, 0, 0, 2, 64, 0}).validate(), ZR_E_INVALID_SE_UNIT_SOLO);
    EXPECT_EQ(CZRKaraokeUnit(1, {0, 0, 0, -129}).validate(), 0u);
    EXPECT_EQ(CZRKaraokeUnit(1, {0, 0, 0, -900}).validate(), ZR_E_INVALID_BACKING_UNIT_VOLUME);
}

TEST(MixerUnits, CorrectClampsRangesButKeepsSoloAndRefusesABadTrackNumber) {
    TestDocument doc;
    CZRZRUnit* unit = kor::createObject<CZRZRUnit>(doc.context, ZR_NO_OBJ_ID,
                                                   ZRZRUnitValues{3, -30, 70, 5, 9, 2, 200, -1000});
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->correct(doc.table, doc.context), 1u);
    const ZRZRUnitValues& v = unit->values();
    EXPECT_EQ((std::array{v.inGain, v.sendLevel, v.sendEnable, v.mute, v.solo, v.pan, v.vol}),
              (std::array{-20, 60, 1, 9, 2, 128, -898}));
    EXPECT_EQ(unit->validate(), ZR_E_INVALID_ZR_UNIT_SOLO);
    EXPECT_EQ(unit->correct(doc.table, doc.context), 0u);

    unit->values().trackNo = 16;
    EXPECT_EQ(unit->correct(doc.table, doc.context), ZR_E_INVALID_ZR_UNIT_ID | kFail);

    CZRMasterUnit master(1, {-5, 0, 0});
    EXPECT_EQ(master.correct(doc.table, doc.context), 1u);
    EXPECT_EQ(master.getOutDev(), 0);
}

TEST(MixerUnits, OverfullPluginListsLoseTheirLastPluginOnePerRepair) {
    TestDocument doc;
    auto* master = kor::createObject<CZRMasterUnit>(doc.context, ZR_NO_OBJ_ID);
    ASSERT_NE(master, nullptr);
    CZRNodeList* inserts = addPlugins(doc, *master, CZRMasterUnit::kInsertList, 4);
    CZRNodeList* sendReturn = addPlugins(doc, *master, CZRMasterUnit::kSendReturnList, 1);
    const std::uint32_t fourth = inserts->elementAt(3)->getObjID();
    const std::uint32_t third = inserts->elementAt(2)->getObjID();

    EXPECT_EQ(master->validate(), ZR_E_INVALID_VST_PLUGIN_NUMBER);
    EXPECT_EQ(master->correct(doc.table, doc.context), 1u);
    EXPECT_EQ(inserts->getCount(), 3u);
    EXPECT_EQ(doc.table.lookup(fourth), nullptr);
    EXPECT_NE(doc.table.lookup(third), nullptr);
    EXPECT_EQ(master->validate(), ZR_E_INVALID_VST_PLUGIN_NUMBER);
    EXPECT_EQ(master->correct(doc.table, doc.context), 1u);
    EXPECT_EQ(master->validate(), 0u);

    ASSERT_TRUE(sendReturn->append(doc.leaf(0)));
    EXPECT_EQ(master->validate(), ZR_E_INVALID_SEND_RETURN_VST_PLUGIN_NUMBER);
    EXPECT_EQ(master->correct(doc.table, doc.context), ZR_E_VST_PLUGIN_IS_NULL | kFail);
}
