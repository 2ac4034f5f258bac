#include "support/ManagerFixture.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

using kor::test::validPolicy;

namespace {

class RecordingWindow final : public IZRMessageWindow {
public:
    void postMessage(std::uint32_t, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::unique_ptr<std::vector<std::uint32_t>> ids(
            reinterpret_cast<std::vector<std::uint32_t>*>(lParam));
        owners.push_back(wParam);
        lists.push_back(*ids);
    }
    std::vector<std::uintptr_t> owners;
    std::vector<std::vector<std::uint32_t>> lists;
};

class EditSession : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
        ASSERT_EQ(manager.sysRegisterObserver(&window), 1);
        ASSERT_NE(manager.korCreateNewSequence(L"", L"", 1), nullptr);
        tempo =
            dynamic_cast<IZRTempo*>(manager.korGetCurrentMasterTrack()->getTempoList()->getAt(0));
        ASSERT_NE(tempo, nullptr);
    }

    CZRKorManagerIF manager;
    RecordingWindow window;
    IZRTempo* tempo = nullptr;
};

} // namespace

TEST_F(EditSession, CommitUndoAndRedoReachTheObserversWithTheEditorOwner) {
    // Creating the song reset the history, which keeps counting its commit points.
    const unsigned int start = manager.editGetCurrentCommitPoint();
    EXPECT_EQ(start, 2u);
    IZRKorEditorIF* editor = manager.editGetKorEditor(42);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(manager.editGetKorEditor(7), nullptr); // one editor at a time
    ASSERT_EQ(editor->updateTempo(tempo->getObjID(), {0, 9000}), 1);
    EXPECT_EQ(tempo->getBPM(), 12000); // the live song changes only at the commit
    ASSERT_EQ(editor->commit(), 1);
    EXPECT_EQ(tempo->getBPM(), 9000);
    EXPECT_EQ(manager.editGetCurrentCommitPoint(), start + 1);
    EXPECT_EQ(manager.editIsEdited(tempo->getObjID(), start, 0), 1);
    EXPECT_EQ(manager.editIsEdited(tempo->getObjID(), start + 1, 0), 0);
    std::vector<int> positions{1};
    manager.editGetEditedTempoPosition(start, positions);
    EXPECT_EQ(positions, std::vector{0});
    manager.editGetEditedTempoPosition(start + 1, positions);
    EXPECT_TRUE(positions.empty());

    ASSERT_EQ(manager.editUndo(), 1);
    EXPECT_EQ(tempo->getBPM(), 12000);
    EXPECT_EQ(manager.editCanUndo(), 0);
    EXPECT_EQ(manager.editCanRedo(), 1);
    manager.editReleaseKorEditor(editor);
    EXPECT_EQ(editor, nullptr);
    ASSERT_EQ(manager.editRedo(), 1);
    EXPECT_EQ(tempo->getBPM(), 9000);

    const std::vector<std::uint32_t> tempoOnly{tempo->getObjID()};
    EXPECT_EQ(window.owners, (std::vector<std::uintptr_t>{42, 42, 0}));
    EXPECT_EQ(window.lists, (std::vector{tempoOnly, tempoOnly, tempoOnly}));
}

TEST_F(EditSession, AnEditorWhoseSongWasReplacedStaysDetachedUntilReleased) {
    const std::uint32_t tempoID = tempo->getObjID();
    IZRKorEditorIF* stale = manager.editGetKorEditor(42);
    ASSERT_NE(stale, nullptr);
    ASSERT_EQ(stale->updateTempo(tempoID, {0, 9000}), 1);
    const unsigned int before = manager.editGetCurrentCommitPoint();

    // A new song replaces the one the editor edited; the song and the history are as after any
    // replacement, and the editor's pending change went with its song.
    IZRKorRoot* song = manager.korCreateNewSequence(L"", L"", 1);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(manager.editGetCurrentCommitPoint(), before + 1);
    EXPECT_EQ(manager.editCanUndo(), 0);
    IZRKorObject* newTempo = song->getSequence()->getMasterTrack()->getTempoList()->getAt(0);

    // Every call through the held editor fails and says what to do.
    EXPECT_EQ(stale->updateTempo(newTempo->getObjID(), {0, 6000}), 0);
    EXPECT_EQ(stale->getLastError(), ZR_E_EDITOR_DETACHED);
    EXPECT_EQ(stale->commit(), 0);
    EXPECT_EQ(stale->getLastError(), ZR_E_EDITOR_DETACHED);
    EXPECT_NE(std::wstring(stale->getLastErrorMessage()).find(L"take a new one"),
              std::wstring::npos);

    // A new editor is handed out while the detached one is still held.
    IZRKorEditorIF* fresh = manager.editGetKorEditor(43);
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(fresh->updateTempo(newTempo->getObjID(), {0, 6000}), 1);
    ASSERT_EQ(fresh->commit(), 1);
    EXPECT_EQ(dynamic_cast<IZRTempo*>(newTempo)->getBPM(), 6000);
    EXPECT_EQ(window.owners, (std::vector<std::uintptr_t>{43}));

    // Releasing the detached editor frees it and clears the host's pointer; the new one is still
    // the manager's editor.
    manager.editReleaseKorEditor(stale);
    EXPECT_EQ(stale, nullptr);
    EXPECT_EQ(manager.sysGetLastError(), 0u);
    EXPECT_EQ(manager.editGetKorEditor(44), nullptr);
    manager.editReleaseKorEditor(fresh);
    EXPECT_EQ(fresh, nullptr);

    // An editor still held when its song goes and never released is freed with the manager,
    // which the leak check of the sanitizer build verifies.
    IZRKorEditorIF* forgotten = manager.editGetKorEditor(45);
    ASSERT_NE(forgotten, nullptr);
    manager.korDestroySequence();
    EXPECT_EQ(forgotten->insertTempo({960, 9000}), 0);
    EXPECT_EQ(forgotten->getLastError(), ZR_E_EDITOR_DETACHED);
}
