// How a host editor drives korman: create a song, change it through the editor, commit, undo and
// redo, and save it. Built and run with the tests, so this example always compiles and works.
#include <korman/korman.h>

#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// The schemas are installed beside the library; a host usually knows its own install folder.
std::wstring schemaFolder() {
    void* library = dlopen("libkorman.so.0", RTLD_LAZY | RTLD_NOLOAD);
    link_map* map = nullptr;
    if (library == nullptr || dlinfo(library, RTLD_DI_LINKMAP, &map) != 0) return {};
    return std::filesystem::path(map->l_name).parent_path().wstring();
}

int fail(CZRKorManagerIF& manager, const char* step) {
    std::fprintf(stderr, "%s failed: 0x%08X\n", step, manager.sysGetLastError());
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::wstring songPath =
        std::filesystem::path(argc > 1 ? argv[1] : "example.korx").wstring();

    CZRKorManagerIF manager;
    ZRKorManagementPolicy policy;
    policy.schemaFolder = schemaFolder();
    if (manager.sysInitialize(policy) == 0) return fail(manager, "sysInitialize");

    // A new song: one pre-measure, a first part of four measures (4 x 1920 ticks).
    if (manager.korCreateNewSequenceWithMusicalPart(L"Example", L"", 1, L"Verse", L"", 7680) ==
        nullptr)
        return fail(manager, "korCreateNewSequenceWithMusicalPart");

    // Edits go through the editor and take effect together at commit.
    IZRKorEditorIF* editor = manager.editGetKorEditor(1);
    if (editor == nullptr) return fail(manager, "editGetKorEditor");
    if (editor->insertTempo({3840, 9000}) == 0 || editor->commit() == 0) {
        std::fprintf(stderr, "editing failed: 0x%08X\n", editor->getLastError());
        return 1;
    }
    manager.editReleaseKorEditor(editor);

    // Undo and redo exchange whole lists: look the tempo list up again after each.
    const auto tempoCount = [&manager] {
        return manager.korGetCurrentMasterTrack()->getTempoList()->getCount();
    };
    std::printf("after the commit: %u tempos\n", tempoCount());
    if (manager.editUndo() == 0) return fail(manager, "editUndo");
    const unsigned undone = tempoCount();
    std::printf("after undo: %u tempos\n", undone);
    if (manager.editRedo() == 0) return fail(manager, "editRedo");
    std::printf("after redo: %u tempos\n", tempoCount());

    if (manager.fileSaveKorFile(songPath.c_str()) == 0) return fail(manager, "fileSaveKorFile");
    std::printf("saved %ls\n", songPath.c_str());
    return undone == 1 && tempoCount() == 2 ? 0 : 1;
}
