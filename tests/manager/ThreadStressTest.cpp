// Managers used from several threads at once: four threads with a manager each, and one manager
// handed back and forth between two threads. Under ThreadSanitizer (the tsan preset) any data
// race between them fails the run; everywhere the songs must come out as the edits left them.
#include "support/ManagerFixture.h"
#include "builders/SmfBuilder.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using ThreadStress = kor::test::ManagerTest;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRunTime = std::chrono::milliseconds(1500);

// Counts update messages and frees their ID lists, as a host window must.
class CountingWindow final : public IZRMessageWindow {
public:
    void postMessage(std::uint32_t, std::uintptr_t, std::intptr_t lParam) override {
        delete reinterpret_cast<std::vector<std::uint32_t>*>(lParam);
        ++messages;
    }
    std::atomic<int> messages{0};
};

// The number of tempos of the current song. Asked afresh each time: a commit, undo or redo may
// put another list object in the master track.
std::uint32_t tempoCount(CZRKorManagerIF& manager) {
    IZRMasterTrack* master = manager.korGetCurrentMasterTrack();
    return master != nullptr && master->getTempoList() != nullptr
               ? master->getTempoList()->getCount()
               : 0;
}

// One kind of work a session repeats.
enum class Step { Create, Edit, Undo, Redo, Save, Load, Import };
constexpr Step kSteps[] = {Step::Create, Step::Edit, Step::Edit, Step::Undo,  Step::Redo,
                           Step::Save,   Step::Edit, Step::Load, Step::Edit,  Step::Undo,
                           Step::Undo,   Step::Redo, Step::Redo, Step::Import};

// A MIDI file with a conductor track and two singing tracks, for the import step.
std::string twoVoiceMidi() {
    kor::test::SmfBuilder smf(1, 480);
    smf.addTrack().tempo(0, 500000).timeSignature(0, 3, 2);
    smf.addTrack()
        .meta(0, 0x03, "Soprano")
        .noteOn(0, 0, 72, 100)
        .noteOff(480, 0, 72)
        .noteOn(480, 0, 74, 90)
        .noteOff(960, 0, 74);
    smf.addTrack().noteOn(240, 1, 60, 80).noteOff(1200, 1, 60);
    return smf.bytes();
}

// One thread's work: the manager it drives, the editor owner it names, and its own folder.
struct Session {
    Session(CZRKorManagerIF& driven, std::uint32_t editorOwner)
        : manager(driven)
        , owner(editorOwner) {
        files.write("voices.mid", twoVoiceMidi());
    }

    CZRKorManagerIF& manager;
    std::uint32_t owner;
    kor::test::TempDir files;
};

// Runs one step of `session` and checks its visible effect.
void runStep(Session& session, Step step) {
    CZRKorManagerIF& manager = session.manager;
    const std::uint32_t owner = session.owner;
    const std::wstring song = session.files.wide("song.korx");
    switch (step) {
    case Step::Create:
        ASSERT_NE(
            manager.korCreateNewSequenceWithMusicalPart(L"Stress", L"", 1, L"Part", L"", 1920),
            nullptr);
        EXPECT_EQ(manager.editCanUndo(), 0);
        return;
    case Step::Edit: {
        const std::uint32_t count = tempoCount(manager);
        ASSERT_GT(count, 0u);
        const std::uint32_t head =
            manager.korGetCurrentMasterTrack()->getTempoList()->getAt(0)->getObjID();
        const unsigned int point = manager.editGetCurrentCommitPoint();
        IZRKorEditorIF* editor = manager.editGetKorEditor(owner);
        ASSERT_NE(editor, nullptr);
        const auto tick = static_cast<std::int32_t>(1920 + 480 * count);
        EXPECT_EQ(editor->insertTempo({tick, static_cast<std::int32_t>(6000 + owner)}), 1);
        EXPECT_EQ(editor->updateTempo(head, {0, 9000 + tick % 97}), 1);
        EXPECT_EQ(editor->commit(), 1);
        manager.editReleaseKorEditor(editor);
        EXPECT_EQ(tempoCount(manager), count + 1);
        // A commit after undos takes a number past every point handed out before.
        EXPECT_GT(manager.editGetCurrentCommitPoint(), point);
        return;
    }
    case Step::Undo:
    case Step::Redo: {
        const bool undo = step == Step::Undo;
        const bool possible = (undo ? manager.editCanUndo() : manager.editCanRedo()) != 0;
        const std::uint32_t count = tempoCount(manager);
        EXPECT_EQ(undo ? manager.editUndo() : manager.editRedo(), 1);
        // Every commit adds one tempo, so undo removes one and redo brings it back.
        const std::uint32_t expected = !possible ? count : undo ? count - 1 : count + 1;
        EXPECT_EQ(tempoCount(manager), expected);
        return;
    }
    case Step::Save:
        ASSERT_EQ(manager.fileSaveKorFile(song.c_str()), 1) << manager.sysGetLastError();
        return;
    case Step::Load: {
        // The song read back saves to the same bytes it was read from.
        ASSERT_NE(manager.fileLoadKorFile(song.c_str()), nullptr) << manager.sysGetLastError();
        EXPECT_EQ(manager.editCanUndo(), 0);
        const std::wstring again = session.files.wide("again.korx");
        ASSERT_EQ(manager.fileSaveKorFile(again.c_str()), 1) << manager.sysGetLastError();
        EXPECT_EQ(session.files.read("again.korx"), session.files.read("song.korx"));
        return;
    }
    case Step::Import: {
        const std::wstring midi = session.files.wide("voices.mid");
        std::vector<ZRSMFTrackImportDirective> directives;
        ASSERT_EQ(manager.fileGetSMFImportDirective(midi.c_str(), 0, directives), 1);
        ASSERT_EQ(directives.size(), 3u);
        EXPECT_EQ(directives[1].name, L"Soprano");
        IZRKorRoot* imported = manager.fileImportSMF(midi.c_str(), 1, 0, directives);
        ASSERT_NE(imported, nullptr) << manager.sysGetLastError();
        // The conductor track holds no note, so only the two singing tracks come in.
        EXPECT_EQ(imported->getSequence()->getZRTrackList()->getCount(), 2u);
        // The import leaves the current song and its history alone.
        EXPECT_GT(tempoCount(manager), 0u);
        return;
    }
    }
}

} // namespace

TEST_F(ThreadStress, ManagersOnSeveralThreadsAndOneSharedManagerStayConsistent) {
    // Managers are initialized one after the other: the process-wide voice tables are rebuilt
    // without a lock, so a host must not initialize two at the same time.
    constexpr int kOwnManagers = 4;
    std::vector<std::unique_ptr<CZRKorManagerIF>> managers;
    std::vector<std::unique_ptr<CountingWindow>> windows;
    const ZRKorManagementPolicy policy = kor::test::loadingPolicy();
    for (int i = 0; i < kOwnManagers + 1; ++i) {
        managers.push_back(std::make_unique<CZRKorManagerIF>());
        windows.push_back(std::make_unique<CountingWindow>());
        ASSERT_EQ(managers.back()->sysInitialize(policy), 1);
        ASSERT_EQ(managers.back()->sysRegisterObserver(windows.back().get()), 1);
    }
    // Threads 0 to 3 own a manager each; threads 4 and 5 share the last one.
    std::vector<std::unique_ptr<Session>> sessions;
    for (int i = 0; i < kOwnManagers + 2; ++i)
        sessions.push_back(std::make_unique<Session>(*managers[std::min(i, kOwnManagers)],
                                                     static_cast<std::uint32_t>(i + 1)));

    const Clock::time_point end = Clock::now() + kRunTime;
    std::vector<int> rounds(kOwnManagers + 2, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < kOwnManagers; ++i)
        threads.emplace_back([&, i] {
            for (; Clock::now() < end; ++rounds[i])
                for (Step step : kSteps)
                    runStep(*sessions[i], step);
        });

    // The shared manager's song is read and changed by one thread at a time, which the host
    // ensures with its own lock; the editor, the history and the song pass between the threads.
    std::mutex host;
    {
        std::scoped_lock guard(host);
        runStep(*sessions[kOwnManagers], Step::Create);
    }
    for (int t = kOwnManagers; t < kOwnManagers + 2; ++t)
        threads.emplace_back([&, t] {
            for (; Clock::now() < end; ++rounds[t]) {
                for (Step step : kSteps) {
                    if (step == Step::Create) continue;
                    std::scoped_lock guard(host);
                    runStep(*sessions[t], step);
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();

    for (int i = 0; i < kOwnManagers + 2; ++i)
        EXPECT_GT(rounds[i], 0) << "thread " << i;
    for (const auto& window : windows)
        EXPECT_GT(window->messages.load(), 0);
}
