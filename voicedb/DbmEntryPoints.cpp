// The exported DBM_ entry points: argument checks, one lock, and the module's files.

// Only the entry points leave the module; everything else is built hidden.
#pragma GCC visibility push(default)
#include "korvoicedb/DbmApi.h"
#pragma GCC visibility pop

#include "VoiceDatabase.h"

#include "platform/AppData.h"
#include "platform/Path.h"

#include <dlfcn.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <utility>

namespace {

using kor::voicedb::VirtualVoice;
using kor::voicedb::VoiceDatabase;
using kor::voicedb::VoiceKey;

constexpr wchar_t kVersionText[] = L"korvoicedb 1.0.0";
constexpr std::uint32_t kLibraryVersion = 0x00010000; // 1.0

struct ModuleState {
    std::mutex lock;
    VoiceDatabase database;
    std::set<DBM_ExpItemList*> handedOutLists; // lists not yet given back
};

// The state lives exactly as long as the module is loaded: made when it is loaded, destroyed when
// it is unloaded. A static object would instead be destroyed among the process's exit handlers,
// before those of anything made earlier, such as a host's manager whose teardown at exit still
// gives the voice data back through DBM_Delete.
ModuleState* moduleState = nullptr;

__attribute__((constructor)) void createModuleState() {
    moduleState = new (std::nothrow) ModuleState;
}

__attribute__((destructor)) void destroyModuleState() {
    delete std::exchange(moduleState, nullptr);
}

// Runs an operation under the module lock. No exception leaves the module: running out of
// memory or anything unforeseen answers DBM_E_FAIL, as does a call without the state.
template <typename Operation> std::uint32_t guarded(Operation&& operation) {
    try {
        if (moduleState == nullptr) return DBM_E_FAIL;
        ModuleState& module = *moduleState;
        std::lock_guard<std::mutex> hold(module.lock);
        return operation(module);
    } catch (...) {
        return DBM_E_FAIL;
    }
}

// Runs an operation that needs the voice data loaded.
template <typename Operation> std::uint32_t withDatabase(Operation&& operation) {
    return guarded([&](ModuleState& module) -> std::uint32_t {
        if (!module.database.loaded()) return DBM_E_FAIL;
        return operation(module.database);
    });
}

// "voicedb-data" beside the module file, found through the address of one of its functions.
std::optional<std::wstring> dataFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&DBM_Init), &info) == 0 || info.dli_fname == nullptr)
        return std::nullopt;
    std::error_code error;
    std::filesystem::path module = std::filesystem::absolute(info.dli_fname, error);
    if (error) return std::nullopt;
    return kor::platform::fromPath(module.parent_path() / "voicedb-data");
}

// The user's virtual voices: "korvoicedb/user.ini" in the local application-data folder
// ($XDG_DATA_HOME, else $HOME/.local/share).
std::optional<std::filesystem::path> userFile() {
    std::optional<std::wstring> folder = kor::platform::localAppDataFolder();
    if (!folder) return std::nullopt;
    return kor::platform::toPath(*folder + L"/korvoicedb/user.ini");
}

// The length of a NUL-terminated wide string, looking at no more than limit + 1 characters.
std::size_t boundedLength(const wchar_t* text, std::size_t limit) {
    return ::wcsnlen(text, limit + 1);
}

std::optional<std::wstring> compIdArgument(const wchar_t* compID) {
    if (compID == nullptr) return std::nullopt;
    std::wstring text(compID, boundedLength(compID, kor::voicedb::kCompIdLength));
    if (!kor::voicedb::isValidCompId(text)) return std::nullopt;
    return text;
}

std::optional<std::wstring> nameArgument(const wchar_t* name) {
    if (name == nullptr) return std::nullopt;
    std::wstring text(name, boundedLength(name, kor::voicedb::kMaxNameLength));
    if (!kor::voicedb::isValidName(text)) return std::nullopt;
    return text;
}

bool isValidParamArgument(const DBM_VoiceParam* param) {
    return param != nullptr && kor::voicedb::isValidParam(*param);
}

// Copies text with its terminator into a caller's buffer of `size` characters.
std::uint32_t copyOut(std::wstring_view text, wchar_t* buffer, std::int32_t size) {
    if (buffer == nullptr || size <= 0) return DBM_E_INVALID_ARGUMENT;
    if (text.size() >= static_cast<std::size_t>(size)) {
        buffer[0] = L'\0';
        return DBM_E_INVALID_ARGUMENT;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return DBM_OK;
}

template <std::size_t N> void copyField(std::wstring_view text, wchar_t (&field)[N]) {
    std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.begin(), length, field);
    std::fill(field + length, field + N, L'\0');
}

void fillVoice(const kor::voicedb::Voice& voice, DBM_Voice& out) {
    copyField(voice.compID, out.compID);
    copyField(voice.name, out.name);
    out.param = voice.param;
}

void fillExpItem(const kor::voicedb::ExpItem& item, DBM_ExpItem& out) {
    out.id = item.id;
    out.type = item.type;
    copyField(item.caption, out.caption);
    copyField(item.filePath, out.filePath);
}

} // namespace

extern "C" {

uint32_t DBM_Init(void) {
    return guarded([](ModuleState& module) -> std::uint32_t {
        std::optional<std::wstring> folder = dataFolder();
        if (!folder) {
            module.database.unload();
            return DBM_E_FAIL;
        }
        return module.database.load(*folder, userFile());
    });
}

uint32_t DBM_Delete(void) {
    return guarded([](ModuleState& module) -> std::uint32_t {
        module.database.unload();
        return DBM_OK;
    });
}

uint32_t DBM_CopyVirtualVoice(int32_t fromBS, int32_t fromPC, int32_t toBS, int32_t toPC) {
    if (!kor::voicedb::isValidKey(fromBS, fromPC) || !kor::voicedb::isValidKey(toBS, toPC))
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) {
        return database.copyVirtualVoice({fromBS, fromPC}, {toBS, toPC});
    });
}

uint32_t DBM_CreateVirtualVoice(int32_t bankSelect, int32_t programChange, const wchar_t* compID,
                                const wchar_t* name, const DBM_VoiceParam* param) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange) || !isValidParamArgument(param))
        return DBM_E_INVALID_ARGUMENT;
    std::optional<std::wstring> id = compIdArgument(compID);
    std::optional<std::wstring> text = nameArgument(name);
    if (!id || !text) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) {
        return database.createVirtualVoice(
            VirtualVoice{{bankSelect, programChange}, std::move(*id), std::move(*text), *param});
    });
}

uint32_t DBM_GetVersionString(wchar_t* buffer, int32_t size) {
    return copyOut(kVersionText, buffer, size);
}

uint32_t DBM_DeleteVirtualVoice(int32_t bankSelect, int32_t programChange) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange)) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) {
        return database.deleteVirtualVoice({bankSelect, programChange});
    });
}

uint32_t DBM_SetVirtualVoiceParameters(int32_t bankSelect, int32_t programChange,
                                       const DBM_VoiceParam* param) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange) || !isValidParamArgument(param))
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) {
        return database.setVirtualVoiceParam({bankSelect, programChange}, *param);
    });
}

uint32_t DBM_SetVirtualVoiceName(int32_t bankSelect, int32_t programChange, const wchar_t* name) {
    std::optional<std::wstring> text = nameArgument(name);
    if (!kor::voicedb::isValidKey(bankSelect, programChange) || !text)
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) {
        return database.setVirtualVoiceName({bankSelect, programChange}, std::move(*text));
    });
}

uint32_t DBM_GetVoiceParameters(const wchar_t* compID, DBM_VoiceParam* param) {
    std::optional<std::wstring> id = compIdArgument(compID);
    if (!id || param == nullptr) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const kor::voicedb::Voice* voice = kor::voicedb::findVoice(database.voices(), *id);
        if (voice == nullptr) return DBM_E_NOT_FOUND;
        *param = voice->param;
        return DBM_OK;
    });
}

uint32_t DBM_GetAllVoice(DBM_Voice* voices, int32_t capacity, int32_t* count) {
    if (count == nullptr || capacity < 0 || (capacity > 0 && voices == nullptr))
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const std::vector<kor::voicedb::Voice>& all = database.voices();
        std::size_t filled = std::min(all.size(), static_cast<std::size_t>(capacity));
        for (std::size_t i = 0; i < filled; ++i)
            fillVoice(all[i], voices[i]);
        *count = static_cast<int32_t>(all.size());
        return DBM_OK;
    });
}

uint32_t DBM_BackupAllVirtualVoice(const wchar_t* path) {
    if (path == nullptr || path[0] == L'\0') return DBM_E_INVALID_ARGUMENT;
    std::optional<std::filesystem::path> target = kor::platform::toPath(path);
    if (!target) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) { return database.backup(*target); });
}

uint32_t DBM_GetVirtualVoiceInfo(int32_t bankSelect, int32_t programChange,
                                 DBM_VirtualVoiceInfo* info) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange) || info == nullptr)
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const VirtualVoice* voice = database.virtualVoice({bankSelect, programChange});
        if (voice == nullptr) return DBM_E_NOT_FOUND;
        info->bankSelect = bankSelect;
        info->programChange = programChange;
        copyField(voice->compID, info->compID);
        copyField(voice->name, info->name);
        info->param = voice->param;
        return DBM_OK;
    });
}

uint32_t DBM_GetEditor(void) {
    return withDatabase([](VoiceDatabase& database) { return database.openEditor(); });
}

uint32_t DBM_CommitEditor(void) {
    return withDatabase([](VoiceDatabase& database) { return database.commitEditor(); });
}

uint32_t DBM_UpdateUserRegistory(void) {
    return withDatabase([](VoiceDatabase& database) -> std::uint32_t {
        std::optional<std::filesystem::path> file = userFile();
        if (!file) return DBM_E_IO;
        return database.saveUserFile(*file);
    });
}

uint32_t DBM_RollBackEditor(void) {
    return withDatabase([](VoiceDatabase& database) { return database.rollBackEditor(); });
}

uint32_t DBM_GetDefaultVirtualVoice(int32_t* bankSelect, int32_t* programChange) {
    if (bankSelect == nullptr || programChange == nullptr) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const std::optional<VoiceKey>& key = database.tables().defaultVoice;
        if (!key) return DBM_E_NOT_FOUND;
        *bankSelect = key->first;
        *programChange = key->second;
        return DBM_OK;
    });
}

uint32_t DBM_SetDefaultVirtualVoice(int32_t bankSelect, int32_t programChange) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange)) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) {
        return database.setDefaultVirtualVoice({bankSelect, programChange});
    });
}

uint32_t DBM_GetVirtualVoiceName(int32_t bankSelect, int32_t programChange, wchar_t* buffer,
                                 int32_t size) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange) || buffer == nullptr || size <= 0)
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const VirtualVoice* voice = database.virtualVoice({bankSelect, programChange});
        if (voice == nullptr) return DBM_E_NOT_FOUND;
        return copyOut(voice->name, buffer, size);
    });
}

uint32_t DBM_GetVirtualVoiceParameters(int32_t bankSelect, int32_t programChange,
                                       DBM_VoiceParam* param) {
    if (!kor::voicedb::isValidKey(bankSelect, programChange) || param == nullptr)
        return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const VirtualVoice* voice = database.virtualVoice({bankSelect, programChange});
        if (voice == nullptr) return DBM_E_NOT_FOUND;
        *param = voice->param;
        return DBM_OK;
    });
}

uint32_t DBM_GetVoice(const wchar_t* compID, DBM_Voice* voice) {
    std::optional<std::wstring> id = compIdArgument(compID);
    if (!id || voice == nullptr) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const kor::voicedb::Voice* found = kor::voicedb::findVoice(database.voices(), *id);
        if (found == nullptr) return DBM_E_NOT_FOUND;
        fillVoice(*found, *voice);
        return DBM_OK;
    });
}

uint32_t DBM_GetExpDB(wchar_t* buffer, int32_t size) {
    if (buffer == nullptr || size <= 0) return DBM_E_INVALID_ARGUMENT;
    return withDatabase(
        [&](VoiceDatabase& database) { return copyOut(database.dataFolder(), buffer, size); });
}

uint32_t DBM_GetVirtualExpInfo(int32_t id, DBM_ExpItem* item) {
    if (item == nullptr) return DBM_E_INVALID_ARGUMENT;
    return withDatabase([&](VoiceDatabase& database) -> std::uint32_t {
        const auto& items = database.tables().expItems;
        auto it = items.find(id);
        if (it == items.end()) return DBM_E_NOT_FOUND;
        fillExpItem(it->second, *item);
        return DBM_OK;
    });
}

uint32_t DBM_GetVirtualExpItems(int32_t type, int32_t reserved1, int32_t reserved2,
                                DBM_ExpItemList** list) {
    (void)reserved1;
    (void)reserved2;
    if (list == nullptr) return DBM_E_INVALID_ARGUMENT;
    *list = nullptr;
    return guarded([&](ModuleState& module) -> std::uint32_t {
        if (!module.database.loaded()) return DBM_E_FAIL;
        std::vector<const kor::voicedb::ExpItem*> matching;
        for (const auto& [id, item] : module.database.tables().expItems)
            if (item.type == type) matching.push_back(&item);

        auto handed = std::make_unique<DBM_ExpItemList>();
        auto items = std::make_unique<DBM_ExpItem[]>(matching.size());
        for (std::size_t i = 0; i < matching.size(); ++i)
            fillExpItem(*matching[i], items[i]);
        module.handedOutLists.insert(handed.get());
        handed->count = static_cast<int32_t>(matching.size());
        handed->items = matching.empty() ? nullptr : items.release();
        *list = handed.release();
        return DBM_OK;
    });
}

uint32_t DBM_DeleteVirtualExpItems(DBM_ExpItemList* list) {
    if (list == nullptr) return DBM_E_INVALID_ARGUMENT;
    return guarded([&](ModuleState& module) -> std::uint32_t {
        // Only lists this module handed out are freed; any other pointer is refused untouched.
        if (module.handedOutLists.erase(list) == 0) return DBM_E_INVALID_ARGUMENT;
        delete[] list->items;
        delete list;
        return DBM_OK;
    });
}

uint32_t DBM_DeleteVirtualExpInfo(int32_t id) {
    return withDatabase([&](VoiceDatabase& database) { return database.deleteExpItem(id); });
}

uint32_t DBM_GetLibraryVersion(void) {
    return kLibraryVersion;
}

} // extern "C"
