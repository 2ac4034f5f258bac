#include "manager/VoiceDatabase.h"

namespace kor {

std::unique_ptr<VoiceDatabase> VoiceDatabase::load(const std::wstring& path,
                                                   std::uint32_t& status) {
    std::unique_ptr<VoiceDatabase> db(new VoiceDatabase);
    if (!db->module_.open(path)) {
        status = kDbmModuleNotLoaded;
        return nullptr;
    }
#define KOR_DBM_LOOKUP(name)                                                                       \
    db->dbm_.name =                                                                                \
        db->module_.entryPointAs<std::remove_pointer_t<decltype(db->dbm_.name)>>(#name);           \
    if (db->dbm_.name == nullptr) {                                                                \
        status = kDbmEntryPointMissing;                                                            \
        return nullptr;                                                                            \
    }
    KOR_DBM_ENTRY_POINTS(KOR_DBM_LOOKUP)
#undef KOR_DBM_LOOKUP

    const std::uint32_t answer = db->dbm_.DBM_Init();
    db->initialized_ = true;
    status = answer == DBM_OK ? 1 : answer;
    return db;
}

VoiceDatabase::~VoiceDatabase() {
    if (initialized_) dbm_.DBM_Delete();
}

} // namespace kor
