#include "model/KorRoot.h"
#include "support/ManagerFixture.h"
#include "support/SongFiles.h"

#include <korman/korman.h>

#include <functional>
#include <random>

namespace {

class RecordingWindow final : public IZRMessageWindow {
public:
    void postMessage(std::uint32_t, std::uintptr_t, std::intptr_t lParam) override {
        std::unique_ptr<std::vector<std::uint32_t>> ids(
            reinterpret_cast<std::vector<std::uint32_t>*>(lParam));
        lists.push_back(*ids);
    }
    std::vector<std::vector<std::uint32_t>> lists;
};

class VVoiceAux : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
        ASSERT_EQ(manager.sysRegisterObserver(&window), 1);
        ASSERT_NE(manager.korCreateNewSequence(L"", L"", 1), nullptr);
    }
    std::uint32_t vvoiceListID() {
        return manager.korGetCurrentSequence()->getSequence()->getVVoiceList()->getObjID();
    }

    CZRKorManagerIF manager;
    RecordingWindow window;
    const ZRVVoiceParam param{1, 2, 3, 4, 5};
};

} // namespace

TEST_F(VVoiceAux, InsertsUnderFreeKeysAndUpdatesOnlyWithValidValues) {
    const std::uint32_t count =
        manager.korGetCurrentSequence()->getSequence()->getVVoiceList()->getCount();
    EXPECT_EQ(manager.vvoiceInsertVVoice(0, 0, L"FAKE0000VOICE000", L"Taken", param), 0);
    EXPECT_EQ(manager.vvoiceInsertVVoice(0, 1, L"SHORT", L"Short ID", param), 0);
    EXPECT_EQ(manager.vvoiceInsertVVoice(128, 1, L"FAKE0000VOICE000", L"Bank", param), 0);
    EXPECT_EQ(manager.vvoiceInsertVVoice(0, 1, L"FAKE0000VOICE000", L"", param), 0);
    EXPECT_EQ(manager.vvoiceInsertVVoice(0, 1, L"FAKE0000VOICE000", L"Loud", {0, 0, 0, 0, 128}), 0);
    EXPECT_EQ(manager.vvoiceIsModified(), 0);

    ASSERT_EQ(manager.vvoiceInsertVVoice(0, 1, L"FAKE0000VOICE000", L"Second alto", param), 1);
    EXPECT_EQ(manager.vvoiceIsModified(), 1);
    IZRVVoice* voice = manager.vvoiceGetVVoice(0, 1);
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->getName(), L"Second alto");
    EXPECT_EQ(voice->getParam().opening, 5);
    auto* list = manager.korGetCurrentSequence()->getSequence()->getVVoiceList();
    EXPECT_EQ(list->getCount(), count + 1);
    EXPECT_EQ(list->getAt(1), static_cast<IZRKorObject*>(voice)); // kept in key order
    EXPECT_EQ(manager.vvoiceGetVVoice(9, 9), nullptr);

    EXPECT_EQ(manager.vvoiceUpdateVVoice(9, 9, L"Nobody", param), 0);
    ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 0, L"", param), 1);
    EXPECT_EQ(manager.vvoiceGetVVoice(0, 0)->getName(), L"voice");
    ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 0, std::wstring(300, L'n').c_str(), param), 1);
    EXPECT_EQ(manager.vvoiceGetVVoice(0, 0)->getName().size(), 256u);
    EXPECT_EQ(manager.vvoiceUpdateVVoice(0, 0, L"Loud", {-128, 0, 0, 0, 0}), 0);
    EXPECT_EQ(manager.vvoiceGetVVoice(0, 0)->getParam().breathiness, 1);
}

TEST_F(VVoiceAux, KeepsTheLastVVoiceOfEachVoice) {
    EXPECT_EQ(manager.vvoiceRemoveVVoice(1, 0), 0); // the only one of its voice
    ASSERT_EQ(manager.vvoiceInsertVVoice(5, 5, L"FAKE0001VOICE000", L"Copy", param), 1);
    IZRVVoice* original = manager.vvoiceGetVVoice(1, 0);
    ASSERT_EQ(manager.vvoiceRemoveVVoice(1, 0), 1);
    EXPECT_EQ(manager.vvoiceGetVVoice(1, 0), nullptr);
    EXPECT_NE(original->getFlags() & ZR_FLAG_DETACHED, 0u); // stays in the song's table, unlinked
    EXPECT_EQ(manager.vvoiceRemoveVVoice(5, 5), 0);
    EXPECT_EQ(manager.vvoiceRemoveVVoice(1, 0), 0);
}

TEST_F(VVoiceAux, UpdateContextSendsEachChangedIDOnce) {
    manager.vvoiceInitializeUpdateContext();
    ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 0, L"One", param), 1);
    ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 0, L"Two", param), 1);
    ASSERT_EQ(manager.vvoiceInsertVVoice(0, 1, L"FAKE0000VOICE000", L"New", param), 1);
    manager.vvoiceNotifyObserversOfUpdates();
    ASSERT_EQ(window.lists.size(), 1u);
    EXPECT_EQ(window.lists[0],
              (std::vector{manager.vvoiceGetVVoice(0, 0)->getObjID(), vvoiceListID()}));

    // The context is closed: changes are not collected, and an empty context sends nothing.
    ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 0, L"Three", param), 1);
    manager.vvoiceNotifyObserversOfUpdates();
    manager.vvoiceInitializeUpdateContext();
    manager.vvoiceNotifyObserversOfUpdates();
    EXPECT_EQ(window.lists.size(), 1u);
}

TEST_F(VVoiceAux, MaintainsAuxRecords) {
    EXPECT_EQ(manager.auxGetAuxNum(), 0);
    IZRAux* first = manager.auxAddAux({L"host.view", L"zoom=4"});
    IZRAux* second = manager.auxAddAux({L"host.notes", L"remember the bridge"});
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(manager.auxIsModified(), 1);
    EXPECT_EQ(manager.auxGetAuxNum(), 2);
    EXPECT_EQ(manager.auxGetAux(1), second);
    EXPECT_EQ(manager.auxGetAux(-1), nullptr);
    EXPECT_EQ(manager.auxGetAux(2), nullptr);

    ASSERT_EQ(manager.auxUpdateAux(first->getObjID(), {L"host.view", L"zoom=8"}), 1);
    EXPECT_EQ(first->getContent(), L"zoom=8");
    EXPECT_EQ(manager.auxUpdateAux(vvoiceListID(), {L"", L""}), 0); // not an aux record

    ASSERT_EQ(manager.auxRemoveAux(first->getObjID()), 1);
    EXPECT_EQ(manager.auxGetAuxNum(), 1);
    EXPECT_EQ(manager.auxGetAux(0), second);
    EXPECT_EQ(manager.auxRemoveAux(first->getObjID()), 0);

    manager.korDestroySequence();
    EXPECT_EQ(manager.auxIsModified(), 0);
    EXPECT_EQ(manager.auxGetAuxNum(), 0);
    EXPECT_EQ(manager.auxAddAux({L"", L""}), nullptr);
}

namespace {

/// The current song as a saved song gives it back.
std::string dumpAsSaved(CZRKorManagerIF& manager) {
    const auto* root = dynamic_cast<const CZRKorRoot*>(manager.korGetCurrentSequence());
    return root != nullptr ? kor::test::dumpAsSaved(*root) : "no song";
}

} // namespace

// Random mixer, plug-in, VVoice and aux changes, many out of range or with texts a song file
// cannot hold as given; after each one the song saves, and loading the file gives it back.
TEST_F(VVoiceAux, EveryAcceptedChangeSavesAndLoadsBack) {
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPartAndSinger(L"", L"", 1, L"p", L"", 1920,
                                                                   {0, 0, 3}),
              nullptr);
    const std::wstring path = data_.wide("song.korx");
    std::mt19937 rng(7);
    const auto num = [&rng](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto text = [&num](std::initializer_list<std::wstring> texts) {
        return texts.begin()[num(0, static_cast<int>(texts.size()) - 1)];
    };
    const auto name = [&] {
        return text({L"Reverb", L"", L"  padded\r\n", L"a&b<\"c'>\td", std::wstring(300, L'n'),
                     std::wstring(L"nul\0x\x1\xFFFE", 9) + std::wstring(1, wchar_t(0xD800))});
    };
    const auto pluginID = [&] {
        return text({L"PLUG", L"ab", L"a&b<\"c\">", L" \tEDGE\n", std::wstring(37, L'i'),
                     std::wstring(L"ID\x1\x2", 4)});
    };
    const auto param = [&] {
        return ZRVVoiceParam{num(-130, 130), num(-5, 5), num(-5, 5), num(-5, 5), num(-5, 5)};
    };
    const auto vstSlot = [&] { return num(-1, 2); };
    using M = CZRKorManagerIF;
    const std::function<int(M&)> changes[] = {
        [&](M& m) { return m.mixerSetMasterOutDev(num(-3, 3)); },
        [&](M& m) { return m.mixerSetMasterVol(num(-900, 62)); },
        [&](M& m) { return m.mixerSetMasterSrRetLevel(num(-900, 62)); },
        [&](M& m) { return m.mixerSetZRInGain(num(0, 1), num(-22, 22)); },
        [&](M& m) { return m.mixerSetZRSendLevel(num(0, 1), num(-900, 62)); },
        [&](M& m) { return m.mixerSetZRSendEnable(num(0, 1), num(-3, 5)); },
        [&](M& m) { return m.mixerSetZRMute(num(0, 1), num(-3, 5)); },
        [&](M& m) { return m.mixerSetZRSolo(num(0, 1), num(-1, 2)); },
        [&](M& m) { return m.mixerSetZRPan(num(0, 1), num(-1, 129)); },
        [&](M& m) { return m.mixerSetZRVol(num(0, 1), num(-900, 62)); },
        [&](M& m) { return m.mixerSetSEInGain(num(-22, 22)); },
        [&](M& m) { return m.mixerSetSESendLevel(num(-900, 62)); },
        [&](M& m) { return m.mixerSetSESendEnable(num(-3, 5)); },
        [&](M& m) { return m.mixerSetSEMute(num(-3, 5)); },
        [&](M& m) { return m.mixerSetSESolo(num(-1, 2)); },
        [&](M& m) { return m.mixerSetSEPan(num(-1, 129)); },
        [&](M& m) { return m.mixerSetSEVol(num(-900, 62)); },
        [&](M& m) { return m.mixerSetKaraokeInGain(num(-22, 22)); },
        [&](M& m) { return m.mixerSetKaraokeMute(num(-3, 5)); },
        [&](M& m) { return m.mixerSetKaraokeSolo(num(-1, 2)); },
        [&](M& m) { return m.mixerSetKaraokeVol(num(-900, 62)); },
        [&](M& m) {
            return m.mixerCreateMasterVstPlugin(vstSlot(), pluginID().c_str(), name().c_str(),
                                                num(-1, 4)) != nullptr;
        },
        [&](M& m) {
            return m.mixerCreateMasterVstPluginSr(pluginID().c_str(), name().c_str(), num(-1, 4)) !=
                   nullptr;
        },
        [&](M& m) {
            return m.mixerCreateZRVstPlugin(num(0, 1), vstSlot(), pluginID().c_str(),
                                            name().c_str(), num(-1, 4)) != nullptr;
        },
        [&](M& m) {
            return m.mixerCreateSEVstPlugin(vstSlot(), pluginID().c_str(), name().c_str(),
                                            num(-1, 4)) != nullptr;
        },
        [&](M& m) { return m.mixerRemoveKaraokeVstPlugin(vstSlot()); },
        [&](M& m) { return m.mixerRemoveMasterVstPluginSr(); },
        [&](M& m) {
            return m.mixerSetZRVstPluginParams(num(0, 1), vstSlot(),
                                               std::vector<int>(num(0, 3), num(-9, 9)));
        },
        [&](M& m) { return m.mixerSetMasterVstPluginPresetNo(vstSlot(), num(-5, 5)); },
        [&](M& m) { return m.mixerSetSEVstPluginEnable(vstSlot(), num(-5, 5)); },
        [&](M& m) { return m.mixerSetMasterVstPluginSrBypass(num(-5, 5)); },
        [&](M& m) {
            return m.vvoiceInsertVVoice(
                num(0, 2), num(0, 4),
                text({L"FAKE0000VOICE000", L"FAKE0000VOICE003", L" FAKE0000VOICE00", L"SHORT"})
                    .c_str(),
                name().c_str(), param());
        },
        [&](M& m) { return m.vvoiceUpdateVVoice(num(0, 2), num(0, 4), name().c_str(), param()); },
        [&](M& m) { return m.vvoiceRemoveVVoice(num(0, 2), num(0, 4)); },
        [&](M& m) {
            return m.auxAddAux({name(), name()}) != nullptr;
        },
        [&](M& m) {
            const IZRAux* aux = m.auxGetAux(num(0, 2));
            return aux != nullptr && m.auxUpdateAux(aux->getObjID(), {name(), name()});
        },
        [&](M& m) {
            const IZRAux* aux = m.auxGetAux(num(0, 2));
            return aux != nullptr && m.auxRemoveAux(aux->getObjID());
        },
    };
    for (int step = 0; step < 120; ++step) {
        const int change = num(0, static_cast<int>(std::size(changes)) - 1);
        changes[change](manager);
        const std::string before = dumpAsSaved(manager);
        ASSERT_EQ(manager.fileSaveKorFile(path.c_str()), 1) << step << " " << change;
        ASSERT_NE(manager.fileLoadKorFile(path.c_str()), nullptr) << step << " " << change;
        ASSERT_EQ(dumpAsSaved(manager), before) << step << " " << change;
    }
}
