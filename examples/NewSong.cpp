// A new song with eight sung notes, its own tempo and time signature, written in one commit that
// is undone and redone, then saved, loaded back, written as a MIDI file and read back from it.
#include <korman/korman.h>

#include <cstdio>
#include <string>

static int fail(CZRKorManagerIF& manager, const char* step) {
    std::fprintf(stderr, "%s failed: %ls\n", step, manager.sysGetLastErrorMsg());
    return 1;
}

// The notes of the first part of the first track of the current song.
static IZRNodeList* notes(CZRKorManagerIF& manager) {
    IZRZRTrack* track = manager.korGetCurrentSequence()->getSequence()->getZRTrack(0);
    return track->getPartList()->at<IZRMusicalPart>(0)->getNoteList();
}

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const std::wstring dir(folder.begin(), folder.end());
    const std::wstring korx = dir + L"/scale.korx", midi = dir + L"/scale.mid";

    CZRKorManagerIF manager; // an empty policy finds the schemas beside the library
    if (!manager.sysInitialize({}) ||
        !manager.korCreateNewSequenceWithMusicalPart(L"Scale", L"", 1, L"Verse", L"", 4 * 1920))
        return fail(manager, "creating the song");

    // Every edit of one editor is one commit, and so one undo step.
    IZRKorEditorIF* editor = manager.editGetKorEditor(1);
    const wchar_t* lyrics[] = {L"do", L"re", L"mi", L"fa", L"so", L"la", L"ti", L"do"};
    const int keys[] = {60, 62, 64, 65, 67, 69, 71, 72};
    bool ok = editor->insertTimeSig({1, 3, 4}) && editor->insertTempo({1920, 9600});
    for (int i = 0; i < 8 && ok; ++i) // ticks relative to the part, 480 a quarter note
        ok = editor->insertNote(notes(manager)->getObjID(),
                                {i * 480, 480, keys[i], 100, lyrics[i], {lyrics[i]}, 0});
    if (!ok || !editor->commit(L"Write the scale"))
        return std::fprintf(stderr, "editing failed: %ls\n", editor->getLastErrorMessage()), 1;
    manager.editReleaseKorEditor(editor);

    manager.editUndo();
    std::printf("undo \"%ls\": %u notes\n", manager.editGetRedoText(), notes(manager)->getCount());
    manager.editRedo();
    std::printf("redo: %u notes\n", notes(manager)->getCount());

    if (!manager.fileSaveKorFile(korx.c_str()) || !manager.fileLoadAny(korx.c_str()))
        return fail(manager, "saving and loading");
    // The song loaded back from its file goes out as MIDI and comes back in.
    if (!manager.fileExportSMF(midi.c_str(), {}) || !manager.fileLoadAny(midi.c_str()))
        return fail(manager, "the MIDI round trip");
    std::printf("from MIDI: %u notes\n", notes(manager)->getCount());
    return notes(manager)->getCount() == 8 ? 0 : 1;
}
