// Calls a host makes wrongly on purpose: each fails with a code and a message that names the cause.
#include "support/ManagerFixture.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

#include <functional>
#include <string>

namespace {

/// The last error a wrong call left with whoever answered it.
struct Outcome {
    std::uint32_t code;
    std::wstring message;
};

Outcome managerError(const CZRKorManagerIF& manager) {
    const wchar_t* message = manager.sysGetLastErrorMsg();
    return {manager.sysGetLastError(), message != nullptr ? message : L"(null)"};
}

Outcome editorError(const IZRKorEditorIF& editor) {
    return {editor.getLastError(), editor.getLastErrorMessage()};
}

/// A freshly initialized manager that loads songs, and the few things a wrong call starts from.
struct Host {
    CZRKorManagerIF manager;

    Host() { EXPECT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1); }

    IZRKorRoot* root = nullptr;

    /// A new song with one musical part in its first track, replacing the current one.
    IZRKorRoot* newSong() {
        root = manager.korCreateNewSequenceWithMusicalPart(L"song", L"", 1, L"part", L"", 1920);
        return root;
    }
    /// The current song; a new one when there is none.
    IZRKorRoot* song() { return root != nullptr ? root : newSong(); }
    IZRMasterTrack* master() { return song()->getSequence()->getMasterTrack(); }
    IZRMusicalPart* part() {
        IZRNodeList* tracks = song()->getSequence()->getZRTrackList();
        auto* track = dynamic_cast<IZRZRTrack*>(tracks->getAt(0));
        return dynamic_cast<IZRMusicalPart*>(track->getPartList()->getAt(0));
    }
    std::uint32_t headTempoID() { return master()->getTempoList()->getAt(0)->getObjID(); }
    IZRKorEditorIF* editor() { return manager.editGetKorEditor(1); }
};

/// One wrong call: `call` makes it on a fresh Host and returns what it left; the code must be
/// `code` and the message must hold `detail`.
struct WrongCall {
    const char* name;
    std::function<Outcome(Host&)> call;
    std::uint32_t code;
    const wchar_t* detail;
};

const ZRNoteValue kNote{0, 480, 60, 64, L"a", {L"a"}, 0};

} // namespace

using WrongCalls = kor::test::ManagerTest;

TEST_F(WrongCalls, FailWithACodeAndAMessageNamingTheCause) {
    const WrongCall calls[] = {
        // The manager's own calls.
        {"new song with pre-measure 0",
         [](Host& h) {
             EXPECT_EQ(h.manager.korCreateNewSequence(L"", L"", 0), nullptr);
             return managerError(h.manager);
         },
         ZR_E_INVALID_PREMEASURE, L"Invalid premeasure. Pre-measure count 0 is outside 1\u20138."},
        {"editor without a song",
         [](Host& h) {
             EXPECT_EQ(h.editor(), nullptr);
             return managerError(h.manager);
         },
         ZR_E_NO_SEQUENCE, L"create or load one"},
        {"second editor while one is out",
         [](Host& h) {
             h.song();
             EXPECT_NE(h.editor(), nullptr);
             EXPECT_EQ(h.editor(), nullptr);
             return managerError(h.manager);
         },
         ZR_E_EDIT_CONFLICT, L"release it"},
        {"pan 500",
         [](Host& h) {
             h.song();
             EXPECT_EQ(h.manager.mixerSetZRPan(0, 500), 0);
             return managerError(h.manager);
         },
         ZR_E_INVALID_ZR_UNIT_PANPOT, L"Pan 500 is outside 0\u2013128."},
        {"a ZR unit the mixer lacks",
         [](Host& h) {
             h.song();
             int pan = 0;
             EXPECT_EQ(h.manager.mixerGetZRPan(3, pan), 0);
             return managerError(h.manager);
         },
         ZR_E_INVALID_ZR_UNIT_ID, L"ZR unit 3 is outside 0\u20130"},
        {"plug-in slot 2",
         [](Host& h) {
             h.song();
             EXPECT_EQ(h.manager.mixerCreateSEVstPlugin(2, L"ROOM", L"Room", 2), nullptr);
             return managerError(h.manager);
         },
         ZR_E_INVALID_VST_PLUGIN_NUMBER, L"Plug-in slot 2 is outside 0\u20131."},
        {"VVoice breathiness 200",
         [](Host& h) {
             h.song();
             ZRVVoiceParam param;
             param.breathiness = 200;
             EXPECT_EQ(h.manager.vvoiceInsertVVoice(5, 5, L"0123456789ABCDEF", L"v", param), 0);
             return managerError(h.manager);
         },
         ZR_E_INVALID_VVOICE_PARAMETER, L"Breathiness 200 is outside -127\u2013127."},
        {"null observer",
         [](Host& h) {
             EXPECT_EQ(h.manager.sysRegisterObserver(nullptr), 0);
             return managerError(h.manager);
         },
         ZR_E_INVALID_PARAMETER, L"observer window is null"},
        {"object that is not there",
         [](Host& h) {
             h.song();
             EXPECT_EQ(h.manager.korGetKorObject(987654), nullptr);
             return managerError(h.manager);
         },
         ZR_E_EDIT_TARGET_NOT_FOUND, L"no object 987654"},
        {"copy buffer delete of nothing",
         [](Host& h) {
             h.manager.korDeleteObjectFromCopyBuffer(987654);
             return managerError(h.manager);
         },
         ZR_E_COPY_SOURCE_NOT_FOUND, L"holds no object 987654"},
        {"call after a failed initialization",
         [](Host&) {
             CZRKorManagerIF manager;
             ZRKorManagementPolicy policy = kor::test::loadingPolicy();
             policy.undoLimit = 0;
             EXPECT_EQ(manager.sysInitialize(policy), 0);
             EXPECT_EQ(manager.korCreateNewSequence(L"", L"", 1), nullptr);
             return managerError(manager);
         },
         ZR_E_NOT_INITIALIZED, L"sysInitialize has not succeeded"},
        {"release of an editor of another manager",
         [](Host& h) {
             Host other;
             other.song();
             IZRKorEditorIF* foreign = other.editor();
             h.manager.editReleaseKorEditor(foreign);
             EXPECT_NE(foreign, nullptr);
             return managerError(h.manager);
         },
         ZR_E_INVALID_PARAMETER, L"not handed out by this manager"},

        // An editor whose song went, and an editor that has committed.
        {"edit through an editor whose song was replaced",
         [](Host& h) {
             h.song();
             IZRKorEditorIF* editor = h.editor();
             const std::uint32_t tempoID = h.headTempoID();
             h.newSong(); // replaces the song the editor edited
             EXPECT_EQ(editor->updateTempo(tempoID, {0, 9000}), 0);
             return editorError(*editor);
         },
         ZR_E_EDITOR_DETACHED, L"release this editor"},
        {"edit after the editor's commit",
         [](Host& h) {
             h.song();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->updateTempo(h.headTempoID(), {0, 9000}), 1);
             EXPECT_EQ(editor->commit(), 1);
             EXPECT_EQ(editor->updateTempo(h.headTempoID(), {0, 6000}), 0);
             return editorError(*editor);
         },
         ZR_E_EDITOR_COMMITTED, L"take a new one"},
        {"time signature after a tempo in one editor",
         [](Host& h) {
             h.song();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->insertTempo({3840, 9000}), 1);
             EXPECT_EQ(editor->insertTimeSig({2, 3, 4}), 0);
             return editorError(*editor);
         },
         ZR_E_EDIT_CONFLICT,
         L"The editing is conflicted between previous editing. The pending tempo list record "
         L"conflicts with the master track record"},
        {"note edit after its part's own edit",
         [](Host& h) {
             IZRMusicalPart* part = h.part();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->updateMusicalPart(part->getObjID(), {3840, 3840, L"p", L""}), 1);
             EXPECT_EQ(editor->insertNote(part->getNoteList()->getObjID(), kNote), 0);
             return editorError(*editor);
         },
         ZR_E_EDIT_CONFLICT,
         L"The pending musical part record conflicts with the note list record"},

        // Values outside their ranges.
        {"note number 200",
         [](Host& h) {
             IZRMusicalPart* part = h.part();
             ZRNoteValue note = kNote;
             note.noteNum = 200;
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->insertNote(part->getNoteList()->getObjID(), note), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_NOTE_NUMBER, L"Invalid note number. Note number 200 is outside 0\u2013127."},
        {"tempo 1",
         [](Host& h) {
             h.song();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->updateTempo(h.headTempoID(), {0, 1}), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_TEMPO_VALUE, L"Tempo 1 (0.01 BPM) is outside 20.00\u2013300.00 BPM."},
        {"time signature 4/3",
         [](Host& h) {
             h.song();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->insertTimeSig({2, 4, 3}), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_TIME_SIGNATURE_VALUE, L"denominator 3 is not 1, 2, 4, 8, 16 or 32"},
        {"singer before the part",
         [](Host& h) {
             IZRMusicalPart* part = h.part();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->insertSinger(part->getSingerList()->getObjID(), {-5, 0, 0}), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_SINGER_POSITION, L"Singer position -5 is below 0 ticks."},
        {"musical control kind 9",
         [](Host& h) {
             IZRMusicalPart* part = h.part();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->insertMusicalControl(part->getControlList(0)->getObjID(), {0, 9, 1}),
                       0);
             return editorError(*editor);
         },
         ZR_E_INVALID_MUSICAL_CONTROL_ID, L"Musical control kind 9 is outside 0\u20136."},
        {"part play time 10",
         [](Host& h) {
             IZRMusicalPart* part = h.part();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->updateMusicalPart(part->getObjID(), {0, 10, L"p", L""}), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_PART_PLAY_TIME, L"Play time 10 is below 60 ticks."},
        {"WAV part without a file",
         [](Host& h) {
             const std::uint32_t list =
                 h.song()->getSequence()->getSETrack()->getWAVPartList()->getObjID();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->insertWAVPartFromFile(list, 1920, L"", 0), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_WAVE_FILE_PATH, L"The WAV file path is empty."},
        {"ZR track moved past the last",
         [](Host& h) {
             const std::uint32_t track =
                 h.song()->getSequence()->getZRTrackList()->getAt(0)->getObjID();
             IZRKorEditorIF* editor = h.editor();
             EXPECT_EQ(editor->moveZRTrack(track, 5), 0);
             return editorError(*editor);
         },
         ZR_E_INVALID_TRACK_ID, L"Track number 5 is outside 0\u20130."},
    };
    for (const WrongCall& wrong : calls) {
        SCOPED_TRACE(wrong.name);
        Host host;
        const Outcome outcome = wrong.call(host);
        EXPECT_EQ(outcome.code, wrong.code) << std::hex << outcome.code;
        EXPECT_NE(outcome.message.find(wrong.detail), std::wstring::npos) << outcome.message;
    }
}
