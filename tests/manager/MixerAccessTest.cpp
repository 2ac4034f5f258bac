#include "edit/EditRecords.h"
#include "edit/KorEditorIF.h"
#include "model/ZRUnit.h"
#include "support/ManagerFixture.h"

#include <korman/korman.h>

#include <functional>

using kor::test::validPolicy;

namespace {

class MixerAccess : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
        ASSERT_NE(manager.korCreateNewSequence(L"", L"", 1), nullptr);
    }
    IZRMixer* mixer() { return manager.korGetCurrentSequence()->getSequence()->getMixer(); }

    CZRKorManagerIF manager;
};

using Setter = std::function<int(CZRKorManagerIF&, int)>;
using Getter = std::function<int(CZRKorManagerIF&, int&)>;

struct MemberCase {
    const char* name;
    Setter set;
    Getter get;
    std::vector<int> accepted;
    std::vector<int> refused;
};

} // namespace

TEST_F(MixerAccess, SettersAcceptExactlyTheirRangesAndNameTheValueTheyRefuse) {
    using M = CZRKorManagerIF;
    const MemberCase cases[] = {
        {"master out", &M::mixerSetMasterOutDev, &M::mixerGetMasterOutDev, {-1, 7}, {-2}},
        {"master vol", &M::mixerSetMasterVol, &M::mixerGetMasterVol, {-898, 60}, {-899, 61}},
        {"master return",
         &M::mixerSetMasterSrRetLevel,
         &M::mixerGetMasterSrRetLevel,
         {-898, 60},
         {61}},
        {"ZR gain",
         [](M& m, int v) { return m.mixerSetZRInGain(0, v); },
         [](M& m, int& v) { return m.mixerGetZRInGain(0, v); },
         {-20, 20},
         {-21, 21}},
        {"ZR send",
         [](M& m, int v) { return m.mixerSetZRSendEnable(0, v); },
         [](M& m, int& v) { return m.mixerGetZRSendEnable(0, v); },
         {1, 0},
         {}},
        {"ZR mute",
         [](M& m, int v) { return m.mixerSetZRMute(0, v); },
         [](M& m, int& v) { return m.mixerGetZRMute(0, v); },
         {5},
         {}},
        {"ZR solo",
         [](M& m, int v) { return m.mixerSetZRSolo(0, v); },
         [](M& m, int& v) { return m.mixerGetZRSolo(0, v); },
         {1, 0},
         {2, -1}},
        {"ZR pan",
         [](M& m, int v) { return m.mixerSetZRPan(0, v); },
         [](M& m, int& v) { return m.mixerGetZRPan(0, v); },
         {0, 128},
         {129, -1}},
        {"ZR vol",
         [](M& m, int v) { return m.mixerSetZRVol(0, v); },
         [](M& m, int& v) { return m.mixerGetZRVol(0, v); },
         {-898, 60},
         {61}},
        {"SE level", &M::mixerSetSESendLevel, &M::mixerGetSESendLevel, {60}, {-899}},
        {"SE pan", &M::mixerSetSEPan, &M::mixerGetSEPan, {128}, {129}},
        {"SE mute", &M::mixerSetSEMute, &M::mixerGetSEMute, {9}, {}},
        {"karaoke gain", &M::mixerSetKaraokeInGain, &M::mixerGetKaraokeInGain, {-20}, {21}},
        {"karaoke solo", &M::mixerSetKaraokeSolo, &M::mixerGetKaraokeSolo, {1}, {2}},
        {"karaoke vol", &M::mixerSetKaraokeVol, &M::mixerGetKaraokeVol, {-898}, {61}},
        {"karaoke mute", &M::mixerSetKaraokeMute, &M::mixerGetKaraokeMute, {3}, {}},
        {"SE gain", &M::mixerSetSEInGain, &M::mixerGetSEInGain, {20}, {21}},
        {"SE solo", &M::mixerSetSESolo, &M::mixerGetSESolo, {1}, {2}},
        {"SE vol", &M::mixerSetSEVol, &M::mixerGetSEVol, {60}, {61}},
        {"ZR send level",
         [](M& m, int v) { return m.mixerSetZRSendLevel(0, v); },
         [](M& m, int& v) { return m.mixerGetZRSendLevel(0, v); },
         {-898, 60},
         {61}},
    };
    EXPECT_EQ(manager.mixerIsModified(), 0);
    // A send switch takes any value and keeps it as on or off, which is all a song file holds.
    int send = 0;
    ASSERT_EQ(manager.mixerSetZRSendEnable(0, 5), 1);
    ASSERT_EQ(manager.mixerSetSESendEnable(-3), 1);
    EXPECT_TRUE(manager.mixerGetZRSendEnable(0, send) == 1 && send == 1);
    EXPECT_TRUE(manager.mixerGetSESendEnable(send) == 1 && send == 1);
    for (const MemberCase& c : cases) {
        SCOPED_TRACE(c.name);
        int value = 0;
        for (const int accepted : c.accepted) {
            ASSERT_EQ(c.set(manager, accepted), 1);
            ASSERT_EQ(c.get(manager, value), 1);
            EXPECT_EQ(value, accepted);
        }
        for (const int refused : c.refused) {
            EXPECT_EQ(c.set(manager, refused), 0);
            EXPECT_NE(manager.sysGetLastError(), 0u);
            EXPECT_NE(std::wstring(manager.sysGetLastErrorMsg()).find(std::to_wstring(refused)),
                      std::wstring::npos)
                << manager.sysGetLastErrorMsg();
            ASSERT_EQ(c.get(manager, value), 1);
            EXPECT_EQ(value, c.accepted.back());
        }
    }
    EXPECT_EQ(manager.mixerIsModified(), 1);

    // The new song has one ZR unit: position 1 names none.
    int value = 42;
    EXPECT_EQ(manager.mixerSetZRVol(1, 0), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_ZR_UNIT_ID);
    EXPECT_EQ(manager.mixerGetZRVol(1, value), 0);
    EXPECT_EQ(value, 42);

    manager.korDestroySequence();
    EXPECT_EQ(manager.mixerIsModified(), 0);
    EXPECT_EQ(manager.mixerGetMasterVol(value), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_NO_SEQUENCE);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(manager.mixerSetMasterVol(0), 0);
    EXPECT_EQ(manager.mixerCreateSEVstPlugin(0, L"PLUG", L"Reverb", 2), nullptr);
    EXPECT_EQ(CZRKorManagerIF().mixerGetMasterVol(value), 0);
}

TEST_F(MixerAccess, ValuesSetAfterACommitSurviveUndoAndRedo) {
    ASSERT_NE(manager.mixerCreateZRVstPlugin(0, 0, L"PLUG", L"Reverb", 2), nullptr);
    // A commit that records the mixer's ZR unit list and moves the unit's pan from 64 to 10.
    IZRKorEditorIF* editor = manager.editGetKorEditor(1);
    auto* impl = dynamic_cast<CZRKorEditorIF*>(editor);
    ASSERT_NE(impl, nullptr);
    std::uint32_t error = 0;
    const IZRNodeList* units = mixer()->getZRUnitList();
    AZREditCommand* record = impl->session().recordFor<CZREditZRUnitList>(units, error);
    ASSERT_NE(record, nullptr);
    const std::uint32_t unitID = units->getAt(0)->getObjID();
    CZRZRUnit* working = kor::EditSession::workingObject<CZRZRUnit>(*record, unitID, error);
    ASSERT_NE(working, nullptr);
    working->values().pan = 10;
    ASSERT_EQ(editor->commit(), 1);
    manager.editReleaseKorEditor(editor);

    ASSERT_EQ(manager.mixerSetZRVol(0, -100), 1);
    ASSERT_EQ(manager.mixerSetZRVstPluginParams(0, 0, {4, 5, 6}), 1);
    const IZRVstPlugin* echo = manager.mixerCreateZRVstPlugin(0, 1, L"ECHO", L"Echo", 2);
    ASSERT_NE(echo, nullptr);
    const std::uint32_t echoID = echo->getObjID();

    // Undo and redo swap whole unit lists; every pointer is looked up afresh.
    const auto expectUnit = [&](int pan, bool reverb) {
        int value = 0;
        ASSERT_EQ(manager.mixerGetZRPan(0, value), 1);
        EXPECT_EQ(value, pan);
        ASSERT_EQ(manager.mixerGetZRVol(0, value), 1);
        EXPECT_EQ(value, -100);
        const IZRVstPlugin* first = manager.mixerGetZRVstPlugin(0, 0);
        ASSERT_EQ(first != nullptr, reverb);
        if (reverb) {
            EXPECT_EQ(first->getParamNum(), 3);
        }
        const IZRVstPlugin* second = manager.mixerGetZRVstPlugin(0, 1);
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->getObjID(), echoID);
    };
    ASSERT_EQ(manager.editUndo(), 1);
    expectUnit(64, true);
    ASSERT_EQ(manager.editRedo(), 1);
    expectUnit(10, true);

    // A removal made in the undone state holds in the redone one as well.
    ASSERT_EQ(manager.editUndo(), 1);
    ASSERT_EQ(manager.mixerRemoveZRVstPlugin(0, 0), 1);
    ASSERT_EQ(manager.editRedo(), 1);
    expectUnit(10, false);
    ASSERT_EQ(manager.editUndo(), 1);
    expectUnit(64, false);
}

TEST_F(MixerAccess, CreatesPluginsSlotBySlotWithPlaceholders) {
    EXPECT_EQ(manager.mixerCreateMasterVstPlugin(2, L"PLUG", L"Reverb", 2), nullptr);
    EXPECT_EQ(manager.mixerCreateMasterVstPlugin(-1, L"PLUG", L"Reverb", 2), nullptr);
    EXPECT_EQ(manager.mixerCreateMasterVstPlugin(0, nullptr, L"Reverb", 2), nullptr);
    EXPECT_EQ(manager.mixerCreateZRVstPlugin(16, 0, L"PLUG", L"Reverb", 2), nullptr);
    EXPECT_EQ(manager.mixerCreateZRVstPlugin(1, 0, L"PLUG", L"Reverb", 2), nullptr);
    EXPECT_EQ(manager.mixerIsModified(), 0);

    const IZRNodeList* list = mixer()->getMasterUnit()->getVstPluginList();
    IZRVstPlugin* second = manager.mixerCreateMasterVstPlugin(1, L"ECHO", L"Echo", 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(manager.mixerIsModified(), 1);
    ASSERT_EQ(list->getCount(), 2u);
    const auto* placeholder = dynamic_cast<const IZRVstPlugin*>(list->getAt(0));
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->getID(), L"    ");
    EXPECT_EQ(placeholder->getValid(), 0);
    EXPECT_EQ(manager.mixerGetMasterVstPlugin(0), nullptr);
    EXPECT_EQ(manager.mixerGetMasterVstPlugin(1), second);
    EXPECT_EQ(second->getName(), L"Echo");
    EXPECT_EQ(second->getValid(), 1);

    IZRVstPlugin* first = manager.mixerCreateMasterVstPlugin(0, L"PLUG", L"Reverb", 3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(list->getCount(), 2u); // the placeholder was replaced, not pushed along
    EXPECT_EQ(manager.mixerGetMasterVstPlugin(0), first);
    EXPECT_EQ(first->getSDKVersion(), 3);
    EXPECT_EQ(manager.mixerGetMasterVstPlugin(1), second);

    // The send-return effect has one slot; a second create replaces the first.
    ASSERT_NE(manager.mixerCreateMasterVstPluginSr(L"ROOM", L"Room", 2), nullptr);
    IZRVstPlugin* hall = manager.mixerCreateMasterVstPluginSr(L"HALL", L"Hall", 2);
    ASSERT_NE(hall, nullptr);
    EXPECT_EQ(mixer()->getMasterUnit()->getVstPluginSrList()->getCount(), 1u);
    EXPECT_EQ(manager.mixerGetMasterVstPluginSr(), hall);
    EXPECT_EQ(manager.sysGetLastError(), 0u);
}

/// One place a plug-in sits, reached through the manager's calls for that place.
struct PluginPlace {
    const char* name;
    std::function<IZRVstPlugin*(CZRKorManagerIF&)> get;
    std::function<IZRVstPlugin*(CZRKorManagerIF&)> create;
    std::function<int(CZRKorManagerIF&)> remove;
    std::function<int(CZRKorManagerIF&, const std::vector<int>&)> params;
    std::function<int(CZRKorManagerIF&, int)> preset, enable, bypass;
};

TEST_F(MixerAccess, ChangesOnlyValidPluginsAndRemovesInPlace) {
    using M = CZRKorManagerIF;
    const PluginPlace places[] = {
        {"master", [](M& m) { return m.mixerGetMasterVstPlugin(0); },
         [](M& m) { return m.mixerCreateMasterVstPlugin(0, L"PLUG", L"Reverb", 2); },
         [](M& m) { return m.mixerRemoveMasterVstPlugin(0); },
         [](M& m, const std::vector<int>& v) { return m.mixerSetMasterVstPluginParams(0, v); },
         [](M& m, int v) { return m.mixerSetMasterVstPluginPresetNo(0, v); },
         [](M& m, int v) { return m.mixerSetMasterVstPluginEnable(0, v); },
         [](M& m, int v) { return m.mixerSetMasterVstPluginBypass(0, v); }},
        {"master send-return", &M::mixerGetMasterVstPluginSr,
         [](M& m) { return m.mixerCreateMasterVstPluginSr(L"PLUG", L"Reverb", 2); },
         &M::mixerRemoveMasterVstPluginSr, &M::mixerSetMasterVstPluginSrParams,
         &M::mixerSetMasterVstPluginSrPresetNo, &M::mixerSetMasterVstPluginSrEnable,
         &M::mixerSetMasterVstPluginSrBypass},
        {"ZR", [](M& m) { return m.mixerGetZRVstPlugin(0, 0); },
         [](M& m) { return m.mixerCreateZRVstPlugin(0, 0, L"PLUG", L"Reverb", 2); },
         [](M& m) { return m.mixerRemoveZRVstPlugin(0, 0); },
         [](M& m, const std::vector<int>& v) { return m.mixerSetZRVstPluginParams(0, 0, v); },
         [](M& m, int v) { return m.mixerSetZRVstPluginPresetNo(0, 0, v); },
         [](M& m, int v) { return m.mixerSetZRVstPluginEnable(0, 0, v); },
         [](M& m, int v) { return m.mixerSetZRVstPluginBypass(0, 0, v); }},
        {"SE", [](M& m) { return m.mixerGetSEVstPlugin(0); },
         [](M& m) { return m.mixerCreateSEVstPlugin(0, L"PLUG", L"Reverb", 2); },
         [](M& m) { return m.mixerRemoveSEVstPlugin(0); },
         [](M& m, const std::vector<int>& v) { return m.mixerSetSEVstPluginParams(0, v); },
         [](M& m, int v) { return m.mixerSetSEVstPluginPresetNo(0, v); },
         [](M& m, int v) { return m.mixerSetSEVstPluginEnable(0, v); },
         [](M& m, int v) { return m.mixerSetSEVstPluginBypass(0, v); }},
        {"karaoke", [](M& m) { return m.mixerGetKaraokeVstPlugin(0); },
         [](M& m) { return m.mixerCreateKaraokeVstPlugin(0, L"PLUG", L"Reverb", 2); },
         [](M& m) { return m.mixerRemoveKaraokeVstPlugin(0); },
         [](M& m, const std::vector<int>& v) { return m.mixerSetKaraokeVstPluginParams(0, v); },
         [](M& m, int v) { return m.mixerSetKaraokeVstPluginPresetNo(0, v); },
         [](M& m, int v) { return m.mixerSetKaraokeVstPluginEnable(0, v); },
         [](M& m, int v) { return m.mixerSetKaraokeVstPluginBypass(0, v); }},
    };
    for (const PluginPlace& place : places) {
        SCOPED_TRACE(place.name);
        EXPECT_EQ(place.params(manager, {1, 2, 3}), 0);
        EXPECT_EQ(place.remove(manager), 0);
        ASSERT_NE(place.create(manager), nullptr);
        ASSERT_EQ(place.params(manager, {1, 2, 3}), 1);
        ASSERT_EQ(place.preset(manager, -5), 1);
        ASSERT_EQ(place.enable(manager, 1), 1);
        ASSERT_EQ(place.bypass(manager, 7), 1);
        const IZRVstPlugin* plugin = place.get(manager);
        ASSERT_NE(plugin, nullptr);
        EXPECT_EQ(plugin->getParamNum(), 3);
        EXPECT_EQ(plugin->getParamValue(2), 3);
        EXPECT_EQ(plugin->getPresetNo(), -5);
        EXPECT_EQ(plugin->getEnable(), 1);
        EXPECT_EQ(plugin->getBypass(), 7);
        ASSERT_EQ(place.remove(manager), 1);
        EXPECT_EQ(place.get(manager), nullptr);
        EXPECT_EQ(place.bypass(manager, 1), 0);
    }

    // A removal leaves a placeholder, so the plug-ins after it keep their slots.
    ASSERT_NE(manager.mixerCreateSEVstPlugin(0, L"PLUG", L"Reverb", 2), nullptr);
    IZRVstPlugin* kept = manager.mixerCreateSEVstPlugin(1, L"ECHO", L"Echo", 2);
    ASSERT_EQ(manager.mixerRemoveSEVstPlugin(0), 1);
    const IZRNodeList* list = mixer()->getSEUnit()->getVstPluginList();
    ASSERT_EQ(list->getCount(), 2u);
    EXPECT_EQ(dynamic_cast<const IZRVstPlugin*>(list->getAt(0))->getID(), L"    ");
    EXPECT_EQ(manager.mixerGetSEVstPlugin(0), nullptr);
    EXPECT_EQ(manager.mixerGetSEVstPlugin(1), kept);
    EXPECT_EQ(manager.mixerSetSEVstPluginBypass(0, 1), 0);
}
