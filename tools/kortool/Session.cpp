#include "Session.h"

#include "Text.h"

#include <dlfcn.h>
#include <link.h>

#include <filesystem>

namespace kortool {

namespace {

// The folder of the loaded libkorman, where its schemas are installed beside it.
std::wstring libraryFolder() {
    void* handle = dlopen("libkorman.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) return {};
    link_map* map = nullptr;
    std::wstring folder;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr)
        folder = widen(std::filesystem::path(map->l_name).parent_path().string());
    dlclose(handle);
    return folder;
}

} // namespace

std::string formatName(int format) {
    switch (format) {
    case 0:
        return "MIDI format 0";
    case 1:
        return "MIDI format 1";
    case 2:
        return "legacy song (level 2)";
    case 3:
        return "legacy song (level 3)";
    case 4:
        return "KOR3";
    case 5:
        return "KOR4";
    default:
        return "unknown";
    }
}

Session::Session() {
    ZRKorManagementPolicy policy;
    policy.schemaFolder = libraryFolder();
    if (policy.schemaFolder.empty())
        throw LibraryError(ZR_E_NOT_INITIALIZED, "cannot find the folder of libkorman");
    if (manager_.sysInitialize(policy) == 0) fail();
}

[[noreturn]] void Session::fail() const {
    const std::uint32_t code = manager_.sysGetLastError();
    const wchar_t* detail = manager_.sysGetLastErrorMsg();
    throw LibraryError(code,
                       detail != nullptr && *detail != L'\0' ? narrow(detail) : message(code));
}

int Session::detect(const std::string& path) {
    return manager_.fileGetFileFormat(widen(path).c_str());
}

std::vector<ZRSMFTrackImportDirective> Session::directives(const std::string& path,
                                                           const ImportOptions& options) {
    std::vector<ZRSMFTrackImportDirective> found;
    if (manager_.fileGetSMFImportDirective(widen(path).c_str(), options.codePage,
                                           options.splitChannels ? 1 : 0, found) == 0)
        fail();
    for (ZRSMFTrackImportDirective& directive : found) {
        if (!options.tracks.empty()) {
            directive.importSwitch = 0;
            for (const int wanted : options.tracks)
                if (wanted == directive.sourceIndex) directive.importSwitch = 1;
        }
        if (options.singer) {
            directive.singerBS = options.singer->first;
            directive.singerPC = options.singer->second;
        }
    }
    return found;
}

const IZRKorRoot& Session::load(const std::string& path, const ImportOptions& options) {
    const std::wstring wide = widen(path);
    const int format = detect(path);
    IZRKorRoot* root = nullptr;
    switch (format) {
    case 4:
    case 5:
        root = manager_.fileLoadKorFile(wide.c_str());
        break;
    case 2:
    case 3:
        root = manager_.fileLoadLegacyKorFile(wide.c_str(), options.codePage, options.premeasure);
        break;
    case 0:
    case 1:
        root = manager_.fileLoadSMF(wide.c_str(), options.premeasure, options.splitChannels ? 1 : 0,
                                    directives(path, options));
        break;
    default:
        if (!std::filesystem::exists(path))
            throw LibraryError(ZR_E_FILE_NOT_FOUND, path + ": " + message(ZR_E_FILE_NOT_FOUND));
        throw LibraryError(ZR_E_INVALID_KOR_FILE, path + ": not a KOR3, KOR4, legacy or MIDI file");
    }
    if (root == nullptr) fail();
    return *root;
}

void Session::save(const std::string& path) {
    if (manager_.fileSaveKorFile(widen(path).c_str()) == 0) fail();
}

std::string Session::message(std::uint32_t code) const {
    const wchar_t* text = manager_.sysGetErrorMsg(code);
    return narrow(text != nullptr ? text : L"");
}

std::string Session::wavFilePath(std::uint32_t wavPartID) const {
    std::wstring path;
    return manager_.fileGetActualWAVFilePath(wavPartID, path) != 0 ? narrow(path) : std::string();
}

} // namespace kortool
