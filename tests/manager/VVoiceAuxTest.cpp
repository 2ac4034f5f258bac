#include "support/ManagerFixture.h"

#include <korman/korman.h>

using kor::test::validPolicy;

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
        ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
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
    const std::uint32_t count = manager.korGetCurrentSequence()->getSequence()->getVVoiceList()->getCount();
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
