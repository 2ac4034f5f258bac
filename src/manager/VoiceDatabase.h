// The loaded voice database module and its entry points.
#pragma once

#include "platform/DynamicModule.h"

#include "korvoicedb/DbmApi.h"

#include <type_traits>

#include <cstdint>
#include <memory>
#include <string>

namespace kor {

// Every entry point, in the order the library looks them up, one per line.
// clang-format off
#define KOR_DBM_ENTRY_POINTS(X) \
    X(DBM_Init) \
    X(DBM_Delete) \
    X(DBM_CopyVirtualVoice) \
    X(DBM_CreateVirtualVoice) \
    X(DBM_GetVersionString) \
    X(DBM_DeleteVirtualVoice) \
    X(DBM_SetVirtualVoiceParameters) \
    X(DBM_SetVirtualVoiceName) \
    X(DBM_GetVoiceParameters) \
    X(DBM_GetAllVoice) \
    X(DBM_BackupAllVirtualVoice) \
    X(DBM_GetVirtualVoiceInfo) \
    X(DBM_GetEditor) \
    X(DBM_CommitEditor) \
    X(DBM_UpdateUserRegistory) \
    X(DBM_RollBackEditor) \
    X(DBM_GetDefaultVirtualVoice) \
    X(DBM_SetDefaultVirtualVoice) \
    X(DBM_GetVirtualVoiceName) \
    X(DBM_GetVirtualVoiceParameters) \
    X(DBM_GetVoice) \
    X(DBM_GetExpDB) \
    X(DBM_GetVirtualExpInfo) \
    X(DBM_GetVirtualExpItems) \
    X(DBM_DeleteVirtualExpItems) \
    X(DBM_DeleteVirtualExpInfo) \
    X(DBM_GetLibraryVersion)
// clang-format on

/// The entry points of a loaded voice database, each non-null.
struct DbmEntryPoints {
#define KOR_DBM_FIELD(name) decltype(&::name) name = nullptr;
    KOR_DBM_ENTRY_POINTS(KOR_DBM_FIELD)
#undef KOR_DBM_FIELD
};

/// Load statuses that never reach a host: the module could not be loaded, or lacks an entry point.
inline constexpr std::uint32_t kDbmModuleNotLoaded = 0x830A1000u;
inline constexpr std::uint32_t kDbmEntryPointMissing = 0x830A1002u;

/// The voice database module, loaded and initialized. Owned by the library's process-wide state;
/// unloading releases what the module loaded (DBM_Delete) and then the module.
class VoiceDatabase {
public:
    /// Loads the module at `path`, looks up every entry point and calls DBM_Init. `status` is
    /// kDbmModuleNotLoaded or kDbmEntryPointMissing when loading fails (null result), else 1 when
    /// DBM_Init answered 0, else its answer; the module stays loaded in that case.
    static std::unique_ptr<VoiceDatabase> load(const std::wstring& path, std::uint32_t& status);

    VoiceDatabase(const VoiceDatabase&) = delete;
    VoiceDatabase& operator=(const VoiceDatabase&) = delete;
    ~VoiceDatabase();

    const DbmEntryPoints& dbm() const { return dbm_; }

private:
    VoiceDatabase() = default;

    platform::DynamicModule module_;
    DbmEntryPoints dbm_;
    bool initialized_ = false;
};

} // namespace kor
