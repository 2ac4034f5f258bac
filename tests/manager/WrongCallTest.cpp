// Calls a host makes wrongly on purpose: each fails with a code and a message that names the cause.
#include "builders/LegacyFileBuilder.h"
#include "builders/SmfBuilder.h"
#include "support/FaultyFileCalls.h"
#include "support/ManagerFixture.h"
#include "support/TempDir.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

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

/// Writes a file named `name` into `folder` and returns its wide path: a MIDI file of format 1
/// (".mid"), a MusicXML score (".musicxml") or `bytes` as they are.
std::wstring fileOfKind(const kor::test::TempDir& folder, const std::string& name,
                        const std::string& bytes = {}) {
    if (name.ends_with(".mid")) {
        kor::test::SmfBuilder smf(1);
        smf.addTrack().noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
        folder.write(name, smf.bytes());
    } else if (name.ends_with(".musicxml")) {
        folder.write(name, "<?xml version=\"1.0\"?><score-partwise version=\"3.1\"><part-list>"
                           "<score-part id=\"P1\"><part-name>S</part-name></score-part>"
                           "</part-list><part id=\"P1\"><measure number=\"1\"/></part>"
                           "</score-partwise>");
    } else {
        folder.write(name, bytes);
    }
    return folder.wide(name);
}

/// A save of a new song into a fresh folder while the `counted` file call fails.
Outcome saveFailing(Host& h, kor::test::FileCall counted, int error = 0) {
    const kor::test::TempDir files;
    h.song();
    const kor::test::FaultyFileCalls faults({1, false, false, counted, error});
    EXPECT_EQ(h.manager.fileSaveKorFile(files.wide("song.korx").c_str()), 0);
    return managerError(h.manager);
}

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
        {"file path without a song",
         [](Host& h) {
             EXPECT_EQ(h.manager.fileGetCurrentFilePath(), nullptr);
             return managerError(h.manager);
         },
         ZR_E_NO_SEQUENCE, L"create or load one"},
        {"import path with the buffer empty",
         [](Host& h) {
             EXPECT_EQ(h.manager.fileGetImportFileFormat(), ZR_FILE_FORMAT_UNKNOWN);
             return managerError(h.manager);
         },
         ZR_E_IMPORT_SOURCE_NOT_FOUND, L"import a song first"},
        {"WAV file of a tempo",
         [](Host& h) {
             std::wstring path;
             const std::uint32_t tempoID = h.headTempoID();
             EXPECT_EQ(h.manager.fileGetActualWAVFilePath(tempoID, path), 0);
             return managerError(h.manager);
         },
         ZR_E_EDIT_TARGET_NOT_FOUND, L"has no WAV part"},
        {"format of a missing file",
         [](Host& h) {
             EXPECT_EQ(h.manager.fileGetFileFormat(L"/nonexistent/song.korx"),
                       ZR_FILE_FORMAT_UNKNOWN);
             return managerError(h.manager);
         },
         ZR_E_FILE_NOT_FOUND, L"Cannot open /nonexistent/song.korx: No such file or directory"},
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

        // Files that cannot be read or written: the path, the system's reason and what is amiss.
        {"save into a missing folder",
         [](Host& h) {
             h.song();
             EXPECT_EQ(h.manager.fileSaveKorFile(L"/nonexistent-korman/songs/song.korx"), 0);
             return managerError(h.manager);
         },
         ZR_E_CANNOT_SAVE_FILE,
         L"Cannot save the specified file. Cannot save /nonexistent-korman/songs/song.korx: No "
         L"such file or directory (the folder /nonexistent-korman/songs does not exist)."},
        {"MIDI export into a missing folder",
         [](Host& h) {
             h.song();
             EXPECT_EQ(h.manager.fileExportSMF(L"/nonexistent-korman/songs/song.mid", {}), 0);
             return managerError(h.manager);
         },
         ZR_E_CANNOT_OPEN_FILE,
         L"Cannot open the specified file. Cannot save /nonexistent-korman/songs/song.mid: No "
         L"such file or directory (the folder /nonexistent-korman/songs does not exist)."},
        {"save below a plain file",
         [](Host& h) {
             const kor::test::TempDir files;
             fileOfKind(files, "notes.txt");
             h.song();
             EXPECT_EQ(h.manager.fileSaveKorFile(files.wide("notes.txt/song.korx").c_str()), 0);
             return managerError(h.manager);
         },
         ZR_E_CANNOT_SAVE_FILE, L"/notes.txt/song.korx: Not a directory (/tmp/korman-test-"},
        {"save into a folder the user may not write",
         [](Host& h) { return saveFailing(h, kor::test::FileCall::Open, EACCES); },
         ZR_E_CANNOT_SAVE_FILE, L"/song.korx: Permission denied (the folder /tmp/korman-test-"},
        {"save onto a full disk",
         [](Host& h) { return saveFailing(h, kor::test::FileCall::Write); }, ZR_E_CANNOT_SAVE_FILE,
         L"/song.korx: No space left on device."},
        {"save whose rename fails",
         [](Host& h) { return saveFailing(h, kor::test::FileCall::Rename); }, ZR_E_CANNOT_SAVE_FILE,
         L"/song.korx: Input/output error."},
        {"load of a missing file",
         [](Host& h) {
             EXPECT_EQ(h.manager.fileLoadKorFile(L"/nonexistent-korman/songs/song.korx"), nullptr);
             return managerError(h.manager);
         },
         ZR_E_FILE_NOT_FOUND,
         L"The specified file is not found. Cannot open /nonexistent-korman/songs/song.korx: No "
         L"such file or directory (the folder /nonexistent-korman/songs does not exist)."},
        {"initialization with a folder without schemas",
         [](Host&) {
             CZRKorManagerIF manager;
             ZRKorManagementPolicy policy = kor::test::loadingPolicy();
             policy.schemaFolder = L"/nonexistent-korman/songs";
             EXPECT_EQ(manager.sysInitialize(policy), 0);
             return managerError(manager);
         },
         ZR_E_INVALID_MANAGEMENT_POLICY,
         L"Invalid management policy. Cannot open /nonexistent-korman/songs/kor3.xsd: No such file "
         L"or directory (the folder /nonexistent-korman/songs does not exist). The schema folder "
         L"/nonexistent-korman/songs must hold kor3.xsd and kor4.xsd."},

        // Files of another kind than the call reads: what they are and which call reads them.
        {"song load of a MIDI file",
         [](Host& h) {
             const kor::test::TempDir files;
             const std::wstring midi = fileOfKind(files, "song.mid");
             EXPECT_EQ(h.manager.fileLoadKorFile(midi.c_str()), nullptr);
             Outcome outcome = managerError(h.manager);
             EXPECT_EQ(outcome.message,
                       L"Invalid KOR3 file. " + midi +
                           L" is a standard MIDI file (format 1): read it with fileLoadSMF or "
                           L"fileImportSMF, whose directives fileGetSMFImportDirective lists.");
             return outcome;
         },
         ZR_E_INVALID_KOR3_FILE, L"read it with fileLoadSMF or fileImportSMF"},
        {"MIDI import of a KOR4 song",
         [](Host& h) {
             EXPECT_EQ(
                 h.manager.fileImportSMF(L"" KORMAN_TEST_DATA_DIR "/kor4/song.korx", 1, 0, {}),
                 nullptr);
             return managerError(h.manager);
         },
         ZR_E_INVALID_KOR_FILE,
         L"song.korx is a KOR4 song file: read it with fileLoadKorFile or fileImportKorFile."},
        {"MIDI survey of a score",
         [](Host& h) {
             const kor::test::TempDir files;
             std::vector<ZRSMFTrackImportDirective> directives;
             EXPECT_EQ(h.manager.fileGetSMFImportDirective(
                           fileOfKind(files, "score.musicxml").c_str(), 0, directives),
                       0);
             return managerError(h.manager);
         },
         ZR_E_INVALID_SMF, L"score.musicxml is a MusicXML score: read it with fileLoadMusicXML"},
        {"legacy load of a KOR3 song",
         [](Host& h) {
             EXPECT_EQ(
                 h.manager.fileLoadLegacyKorFile(L"" KORMAN_TEST_DATA_DIR "/kor3/full.korx", 1),
                 nullptr);
             return managerError(h.manager);
         },
         ZR_E_INVALID_KOR_FILE, L"full.korx is a KOR3 song file: read it with fileLoadKorFile"},
        {"score survey of a MIDI file",
         [](Host& h) {
             const kor::test::TempDir files;
             std::vector<ZRMusicXMLPartImportDirective> directives;
             EXPECT_EQ(h.manager.fileGetMusicXMLImportDirective(
                           fileOfKind(files, "song.mid").c_str(), directives),
                       0);
             return managerError(h.manager);
         },
         ZR_E_INVALID_XML_FILE, L"song.mid is a standard MIDI file (format 1)"},
        {"score load of a legacy song",
         [](Host& h) {
             const kor::test::TempDir files;
             kor::test::LegacyFileBuilder legacy;
             legacy.singingTrack("[Common]\nVersion=KOR202\n");
             const std::wstring path = fileOfKind(files, "song.kor", legacy.bytes());
             EXPECT_EQ(h.manager.fileLoadMusicXML(path.c_str(), 1, {}), nullptr);
             return managerError(h.manager);
         },
         ZR_E_INVALID_XML_FILE,
         L"song.kor is a legacy song file of a version above 201: read it with "
         L"fileLoadLegacyKorFile or fileImportLegacyKorFile."},
        {"song whose bytes are no UTF-8",
         [](Host& h) {
             const kor::test::TempDir files;
             const std::wstring path =
                 fileOfKind(files, "song.korx", "<?xml version=\"1.0\"?>\n<kor3>\xE0M</kor3>\n");
             EXPECT_EQ(h.manager.fileLoadKorFile(path.c_str()), nullptr);
             Outcome outcome = managerError(h.manager);
             // U+FFFD, which the XML parser writes for the byte, would cut a host's %ls short.
             EXPECT_EQ(outcome.message.find(L'\uFFFD'), std::wstring::npos);
             return outcome;
         },
         ZR_E_INVALID_KOR3_FILE, L"invalid bytes '\\xE0' and 'M' of a 3-byte sequence"},
    };
    for (const WrongCall& wrong : calls) {
        SCOPED_TRACE(wrong.name);
        Host host;
        const Outcome outcome = wrong.call(host);
        EXPECT_EQ(outcome.code, wrong.code) << std::hex << outcome.code;
        EXPECT_NE(outcome.message.find(wrong.detail), std::wstring::npos) << outcome.message;
    }
}
