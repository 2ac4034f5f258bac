// Managers used from several threads at once: managers made, initialized at the same moment, used
// and ended on threads of their own while the process's VVoice table is replaced; four threads
// with a manager each; and one manager handed back and forth between two threads. Under
// ThreadSanitizer (the tsan preset) any data race between them fails the run; everywhere the songs
// must come out as the edits left them. Every thread runs a fixed number of rounds.
#include "support/ManagerFixture.h"
#include "builders/SmfBuilder.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using ThreadStress = kor::test::ManagerTest;

namespace {

constexpr int kRounds = 6;

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

// A score of one sung part: four quarter notes, a syllable each.
std::string fourNoteScore() {
    std::string notes;
    for (const char* step : {"C", "D", "E", "F"})
        notes += std::string("<note><pitch><step>") + step +
                 "</step><octave>4</octave></pitch><duration>1</duration>"
                 "<lyric number='1'><text>la</text></lyric></note>";
    return "<?xml version='1.0'?><score-partwise version='4.0'><part-list>"
           "<score-part id='P1'><part-name>Voice</part-name></score-part></part-list>"
           "<part id='P1'><measure number='1'><attributes><divisions>1</divisions></attributes>" +
           notes + "</measure></part></score-partwise>";
}

// One thread's work: the manager it drives, the editor owner it names, and its own folder.
struct Session {
    Session(CZRKorManagerIF& driven, std::uint32_t editorOwner)
        : manager(driven)
        , owner(editorOwner) {
        files.write("voices.mid", twoVoiceMidi());
        files.write("score.musicxml", fourNoteScore());
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

// The first ZR track of the current song, asked afresh: a commit may put new objects in place.
IZRZRTrack* firstTrack(CZRKorManagerIF& manager) {
    IZRSequence* song = manager.korGetCurrentSequence()->getSequence();
    return dynamic_cast<IZRZRTrack*>(song->getZRTrackList()->getAt(0));
}

IZRMusicalPart* firstPart(CZRKorManagerIF& manager) {
    return dynamic_cast<IZRMusicalPart*>(firstTrack(manager)->getPartList()->getAt(0));
}

// One manager's life: made and initialized together with the other threads' managers, it loads
// a score, gives a new note a vibrato and adds a part (both taken from the voice tables), imports
// a MIDI file, saves the song and reads it back, and ends while the others still work.
void liveOneLife(std::uint32_t owner, std::barrier<>& start) {
    start.arrive_and_wait();
    CZRKorManagerIF manager;
    Session session(manager, owner);
    ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
    EXPECT_EQ(manager.sysGetLastError(), 0u);

    const std::wstring score = session.files.wide("score.musicxml");
    std::vector<ZRMusicXMLPartImportDirective> sources;
    ASSERT_EQ(manager.fileGetMusicXMLImportDirective(score.c_str(), sources), 1);
    ASSERT_EQ(sources.size(), 1u);
    ASSERT_NE(manager.fileLoadMusicXML(score.c_str(), 1, sources), nullptr)
        << manager.sysGetLastError();
    ASSERT_EQ(firstPart(manager)->getNoteList()->getCount(), 4u);

    // Two editors, as a new part and a note in a part of the same track would conflict in one.
    IZRKorEditorIF* editor = manager.editGetKorEditor(owner);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->insertMusicalPart(firstTrack(manager)->getPartList()->getObjID(),
                                        {7680, 1920, L"Coda", L""}),
              1);
    EXPECT_EQ(editor->commit(), 1);
    manager.editReleaseKorEditor(editor);
    EXPECT_EQ(firstTrack(manager)->getPartList()->getCount(), 2u);

    editor = manager.editGetKorEditor(owner);
    ASSERT_NE(editor, nullptr);
    const ZRNoteValue note{1920, 480, 67, 64, L"a", {L"a"}, 0};
    EXPECT_EQ(editor->insertNoteWithStyle(firstPart(manager)->getNoteList()->getObjID(), note,
                                          {8, 0, 1, 0, 50, 50, 127}, {1, 50, 7}),
              1);
    EXPECT_EQ(editor->commit(), 1);
    manager.editReleaseKorEditor(editor);
    // The vibrato kind's depth curve is laid over the second half of the new note.
    const auto* added = dynamic_cast<IZRMusicalNote*>(firstPart(manager)->getNoteList()->getAt(4));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->getNoteSeqStyle()->getElementList(L"vibDep")->getCount(), 2u);

    runStep(session, Step::Import);
    runStep(session, Step::Save);
    runStep(session, Step::Load);
}

} // namespace

TEST_F(ThreadStress, ManagersComeAndGoOnSeveralThreadsWhileTheVVoiceTableIsReplaced) {
    // Holds the voice database throughout, and replaces the VVoice table over and over by the
    // voices the database itself offers: every song then comes out the same whichever tables
    // stand, while each replacement drops the default VVoice (the next initialization brings it
    // back) and lets go of tables the managers may still be reading.
    CZRKorManagerIF keeper;
    ASSERT_EQ(keeper.sysInitialize(kor::test::loadingPolicy()), 1);
    const CKorManagerApp::VVoiceTable voices = CKorManagerApp::instance().tables()->vvoices;

    constexpr int kThreads = 4;
    constexpr int kLives = 5;
    std::barrier start(kThreads);
    std::atomic<int> living{kThreads};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&, i] {
            for (int life = 0; life < kLives; ++life)
                liveOneLife(static_cast<std::uint32_t>(i + 1), start);
            --living;
        });
    int replacements = 0;
    for (; living > 0; ++replacements) {
        ASSERT_EQ(keeper.sysReplaceVVoiceLibTable(voices), 1);
        std::this_thread::yield();
    }
    for (std::thread& thread : threads)
        thread.join();

    // Every manager gave back its hold on the voice database, and whichever rebuild or
    // replacement came last left the database's voices standing.
    EXPECT_GT(replacements, 0);
    EXPECT_EQ(CKorManagerApp::instance().voiceDatabaseHolders(), 1);
    const auto standing = CKorManagerApp::instance().tables();
    ASSERT_EQ(standing->vvoices.size(), voices.size());
    for (const auto& [key, voice] : standing->vvoices)
        EXPECT_EQ(voice.compID, voices.at(key).compID);
}

TEST_F(ThreadStress, ManagersOnSeveralThreadsAndOneSharedManagerStayConsistent) {
    // Threads 0 to 3 own a manager each, which they initialize at the same moment; threads 4 and
    // 5 share the last one.
    constexpr int kOwnManagers = 4;
    std::vector<std::unique_ptr<CZRKorManagerIF>> managers;
    std::vector<std::unique_ptr<CountingWindow>> windows;
    const ZRKorManagementPolicy policy = kor::test::loadingPolicy();
    for (int i = 0; i < kOwnManagers + 1; ++i) {
        managers.push_back(std::make_unique<CZRKorManagerIF>());
        windows.push_back(std::make_unique<CountingWindow>());
    }
    ASSERT_EQ(managers.back()->sysInitialize(policy), 1);
    ASSERT_EQ(managers.back()->sysRegisterObserver(windows.back().get()), 1);
    std::vector<std::unique_ptr<Session>> sessions;
    for (int i = 0; i < kOwnManagers + 2; ++i)
        sessions.push_back(std::make_unique<Session>(*managers[std::min(i, kOwnManagers)],
                                                     static_cast<std::uint32_t>(i + 1)));

    std::barrier start(kOwnManagers);
    std::vector<std::thread> threads;
    for (int i = 0; i < kOwnManagers; ++i)
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            ASSERT_EQ(managers[i]->sysInitialize(policy), 1);
            ASSERT_EQ(managers[i]->sysRegisterObserver(windows[i].get()), 1);
            for (int round = 0; round < kRounds; ++round)
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
            for (int round = 0; round < kRounds; ++round) {
                for (Step step : kSteps) {
                    if (step == Step::Create) continue;
                    std::scoped_lock guard(host);
                    runStep(*sessions[t], step);
                }
            }
        });
    for (std::thread& thread : threads)
        thread.join();

    for (const auto& window : windows)
        EXPECT_GT(window->messages.load(), 0);
}
