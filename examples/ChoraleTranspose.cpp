// A chorale read from a MusicXML score, transposed up a whole tone in one commit, one lyric
// changed in a second commit that is then undone, and the result saved.
#include <korman/korman.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return std::fprintf(stderr, "usage: ChoraleTranspose score out.korx\n"), 2;
    const std::string in = argv[1], out = argv[2];
    CZRKorManagerIF manager;
    if (!manager.sysInitialize({}) ||
        !manager.fileLoadAny(std::wstring(in.begin(), in.end()).c_str()))
        return std::fprintf(stderr, "loading failed: %ls\n", manager.sysGetLastErrorMsg()), 1;
    const IZRSequence* song = manager.korGetCurrentSequence()->getSequence();

    // Every note of every part, each updated from its own values: nothing else can change.
    IZRMusicalNote* first = nullptr;
    std::uint32_t failed = kor::commitEdits(manager, L"Transpose", [&](IZRKorEditorIF& editor) {
        return kor::forEachNote(song, [&](IZRZRTrack&, IZRMusicalPart&, IZRMusicalNote& note) {
            ZRNoteValue value = kor::valueOf(note);
            value.noteNum += 2;
            first = first != nullptr ? first : &note;
            return editor.updateNote(note.getObjID(), value) != 0;
        });
    });
    if (!failed && first != nullptr) // a second commit, a second undo step
        failed = kor::commitEdits(manager, L"Change a lyric", [&](IZRKorEditorIF& editor) {
            ZRNoteValue value = kor::valueOf(*first);
            value.lyric = L"Dawn";
            return editor.updateNote(first->getObjID(), value) != 0;
        });
    if (failed || first == nullptr)
        return std::fprintf(stderr, "editing failed: %ls\n", manager.sysGetErrorMsg(failed)), 1;

    std::printf("after \"%ls\": %ls at key %d\n", manager.editGetUndoText(),
                first->getLyric().c_str(), first->getNoteNum());
    manager.editUndo();
    std::printf("undone; next undo \"%ls\": %ls at key %d\n", manager.editGetUndoText(),
                first->getLyric().c_str(), first->getNoteNum());
    if (!manager.fileSaveKorFile(std::wstring(out.begin(), out.end()).c_str()))
        return std::fprintf(stderr, "saving failed: %ls\n", manager.sysGetLastErrorMsg()), 1;
    return first->getLyric() == L"Morn" && first->getNoteNum() == 66 ? 0 : 1;
}
