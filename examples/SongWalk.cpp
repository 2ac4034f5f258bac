// A walk over a loaded song that prints every sung note with its start and length in seconds, and
// a change observer that prints what a later commit changed.
#include <korman/korman.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return std::fprintf(stderr, "usage: SongWalk song-file\n"), 2;
    const std::string path = argv[1];
    CZRKorManagerIF manager;
    if (!manager.sysInitialize({}) ||
        !manager.fileLoadAny(std::wstring(path.begin(), path.end()).c_str()))
        return std::fprintf(stderr, "loading failed: %ls\n", manager.sysGetLastErrorMsg()), 1;
    manager.sysRegisterChangeObserver([](const ZRChangeReport& report) {
        std::printf("\"%ls\" changed", report.label);
        for (const ZRChange& change : report.changes)
            std::printf(" %u%s", change.objID, change.flags & ZR_CHANGE_MUSICAL ? " (music)" : "");
        std::printf("\n");
    });

    const IZRMasterTrack* master = manager.korGetCurrentMasterTrack();
    IZRMusicalNote* first = nullptr;
    const bool walked = kor::forEachNote(
        manager.korGetCurrentSequence()->getSequence(),
        [&](IZRZRTrack& track, IZRMusicalPart& part, IZRMusicalNote& note) {
            // A note's tick counts from its part's start; the time axis from the song's start.
            const int start = part.getPosTick() + note.getPosTick();
            double from = 0, to = 0;
            if (master->tickToSeconds(start, from) ||
                master->tickToSeconds(start + note.getDurTick(), to))
                return false;
            std::printf("track %d  %7.3f s  %5.3f s  key %3d  %ls\n", track.getTrackNo(), from,
                        to - from, note.getNoteNum(), note.getLyric().c_str());
            first = first != nullptr ? first : &note;
            return true;
        });
    if (!walked || first == nullptr) return 1;

    ZRNoteValue longer = kor::valueOf(*first);
    longer.durTick += 120;
    return kor::commitEdits(manager, L"Lengthen the first note", [&](IZRKorEditorIF& editor) {
        return editor.updateNote(first->getObjID(), longer) != 0;
    });
}
