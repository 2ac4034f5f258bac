#include "manager/KorManagerApp.h"

#include "legacy/IconVibrato.h"
#include "model/MusicalPart.h"
#include "platform/AppData.h"
#include "platform/DynamicModule.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <cwchar>
#include <mutex>

using kor::platform::ScopedLock;

namespace {

constexpr wchar_t kVoiceDatabaseModule[] = L"libkorvoicedb.so";

// Makes sure a folder stands at `path`: a plain file of that name (read-only or not) is deleted
// first, and an existing folder is accepted as it is.
bool ensureFolder(const std::wstring& path) {
    namespace fs = kor::platform;
    if (const auto attributes = fs::fileAttributes(path)) {
        if (attributes->directory) return true;
        if (attributes->readOnly && !fs::setReadOnly(path, false)) return false;
        if (!fs::deleteFile(path)) return false;
    }
    return fs::createDirectory(path);
}

// The text of a fixed-size field of the voice database, which need not be NUL-terminated.
template <std::size_t N> std::wstring fieldText(const wchar_t (&field)[N]) {
    return std::wstring(field, wcsnlen(field, N));
}

ZRVVoiceLib toRecord(const DBM_VirtualVoiceInfo& info) {
    ZRVVoiceLib voice;
    voice.vBS = info.bankSelect;
    voice.vPC = info.programChange;
    voice.compID = fieldText(info.compID);
    voice.name = fieldText(info.name);
    voice.param = {info.param.breathiness, info.param.brightness, info.param.clearness,
                   info.param.genderFactor, info.param.opening};
    return voice;
}

// Reads the default VVoice and every valid voice of the 128 banks of 128 programs into `tables`,
// each bank represented by its lowest program change except that the default voice stands for
// its own bank.
void readVVoices(const kor::DbmEntryPoints& dbm, kor::VoiceTables& tables) {
    DBM_VirtualVoiceInfo info{};
    std::int32_t defaultBS = -1;
    std::int32_t defaultPC = -1;
    if (dbm.DBM_GetDefaultVirtualVoice(&defaultBS, &defaultPC) == DBM_OK &&
        dbm.DBM_GetVirtualVoiceInfo(defaultBS, defaultPC, &info) == DBM_OK)
        tables.defaultVVoice = toRecord(info);

    for (std::int32_t bs = 0; bs < 128; ++bs) {
        for (std::int32_t pc = 0; pc < 128; ++pc) {
            info = DBM_VirtualVoiceInfo{};
            if (dbm.DBM_GetVirtualVoiceInfo(bs, pc, &info) != DBM_OK) continue;
            const ZRVVoiceLib voice = toRecord(info);
            if (!kor::isValidVVoiceRecord(voice)) continue;
            tables.vvoices.insert_or_assign({bs, pc}, voice);
            tables.bankRepresentatives.try_emplace(bs, voice);
        }
    }
    if (const auto rep = tables.bankRepresentatives.find(tables.defaultVVoice.vBS);
        rep != tables.bankRepresentatives.end())
        rep->second = tables.defaultVVoice;
}

// Reads the vibrato kinds of the voice database's vibrato items into `tables`, each from its
// articulation file; an item whose file is missing or unreadable is left out. False when the
// database fails or no kind could be read.
bool readVibratos(const kor::DbmEntryPoints& dbm, kor::VoiceTables& tables) {
    DBM_ExpItemList* items = nullptr;
    if (dbm.DBM_GetVirtualExpItems(DBM_EXP_VIBRATO, 0, 0, &items) != DBM_OK) return false;
    const auto release = [&dbm](DBM_ExpItemList* list) { dbm.DBM_DeleteVirtualExpItems(list); };
    const std::unique_ptr<DBM_ExpItemList, decltype(release)> guard(items, release);
    if (items == nullptr || items->items == nullptr) return false;

    for (std::int32_t i = 0; i < items->count; ++i) {
        const DBM_ExpItem& item = items->items[i];
        const auto file = kor::findArticulationFile(fieldText(item.filePath));
        if (!file) continue;
        auto vibrato = std::make_shared<CIconVibrato>();
        if (vibrato->load(*file)) tables.vibratos.try_emplace(item.id, std::move(vibrato));
    }
    return !tables.vibratos.empty();
}

} // namespace

namespace kor {

bool isValidVVoiceRecord(const ZRVVoiceLib& voice) {
    const auto inRange = [](int value) { return value >= -127 && value <= 127; };
    const ZRVVoiceParam& p = voice.param;
    return voice.vBS <= 127 && voice.vPC >= 0 && voice.vPC <= 127 && !voice.compID.empty() &&
           inRange(p.breathiness) && inRange(p.brightness) && inRange(p.clearness) &&
           inRange(p.genderFactor) && inRange(p.opening);
}

} // namespace kor

// Made on first use and never destroyed, so that it outlives every manager whatever order the
// host ends them in: a manager torn down among the process's exit handlers, or after them, still
// finds it whole. A voice database held when the process ends is neither told to unload nor
// unloaded; the loader finishes the module with the process.
CKorManagerApp& CKorManagerApp::instance() {
    static CKorManagerApp* const app = new CKorManagerApp;
    return *app;
}

CKorManagerApp::CKorManagerApp() {
    resetTables();
}

bool CKorManagerApp::createFolders() {
    ScopedLock guard(lock_);
    const auto appData = kor::platform::localAppDataFolder();
    if (!appData) return false;
    std::wstring base = kor::platform::joinPath(*appData, L"TORIVEL3");
    std::wstring temp = kor::platform::joinPath(base, L"KOR");
    if (!ensureFolder(base) || !ensureFolder(temp)) return false;
    baseFolder_ = std::move(base);
    tempFolder_ = std::move(temp);
    return true;
}

std::wstring CKorManagerApp::baseFolder() const {
    ScopedLock guard(lock_);
    return baseFolder_;
}

std::wstring CKorManagerApp::tempFolder() const {
    ScopedLock guard(lock_);
    return tempFolder_;
}

std::uint32_t CKorManagerApp::acquireVoiceDatabase() {
    ScopedLock guard(lock_);
    if (voiceDatabase_ != nullptr) {
        ++voiceDatabaseHolders_;
        return 0;
    }
    std::uint32_t status = 0;
    auto database = kor::VoiceDatabase::load(voiceDatabasePath(), status);
    if (database == nullptr || (status != 1 && status != DBM_S_MASTER_TABLE_FULL))
        return ZR_E_CANNOT_INITIALIZE_DBM;
    voiceDatabase_ = std::move(database);
    ++voiceDatabaseHolders_;
    resetTables();
    return status == DBM_S_MASTER_TABLE_FULL ? ZR_E_VVOICE_MASTER_TABLE_IS_FULL : 0;
}

void CKorManagerApp::releaseVoiceDatabase() {
    ScopedLock guard(lock_);
    if (voiceDatabaseHolders_ == 0 || --voiceDatabaseHolders_ != 0) return;
    voiceDatabase_.reset();
    resetTables();
}

int CKorManagerApp::voiceDatabaseHolders() const {
    ScopedLock guard(lock_);
    return voiceDatabaseHolders_;
}

bool CKorManagerApp::buildVVoiceTables() {
    ScopedLock guard(lock_);
    auto tables = std::make_shared<kor::VoiceTables>();
    tables->vibratos = tables_->vibratos; // tables_ changes only under lock_
    if (voiceDatabase_ != nullptr) readVVoices(voiceDatabase_->dbm(), *tables);
    const bool found = !tables->vvoices.empty();
    publish(std::move(tables));
    return found;
}

bool CKorManagerApp::buildVibratoTable() {
    ScopedLock guard(lock_);
    auto tables = std::make_shared<kor::VoiceTables>(*tables_);
    tables->vibratos.clear();
    const bool read = voiceDatabase_ != nullptr && readVibratos(voiceDatabase_->dbm(), *tables);
    publish(std::move(tables));
    return read;
}

bool CKorManagerApp::replaceVVoiceLibTable(const VVoiceTable& table) {
    if (table.empty()) return false;
    for (const auto& [key, voice] : table)
        if (key != ZRVVoiceKey{voice.vBS, voice.vPC} || voice.vBS < 0 ||
            !kor::isValidVVoiceRecord(voice))
            return false;

    auto tables = std::make_shared<kor::VoiceTables>();
    tables->vvoices = table;
    for (const auto& [key, voice] : table)
        tables->bankRepresentatives.try_emplace(key.first, voice);
    ScopedLock guard(lock_);
    tables->vibratos = tables_->vibratos;
    publish(std::move(tables));
    return true;
}

std::shared_ptr<const kor::VoiceTables> CKorManagerApp::tables() const {
    ScopedLock guard(tablesLock_);
    return tables_;
}

void CKorManagerApp::setVoiceDatabasePath(std::wstring path) {
    ScopedLock guard(lock_);
    voiceDatabasePath_ = std::move(path);
}

std::wstring CKorManagerApp::voiceDatabasePath() const {
    if (!voiceDatabasePath_.empty()) return voiceDatabasePath_;
    // The module is installed beside the library.
    const std::wstring folder = kor::platform::libraryFolder();
    return folder.empty() ? std::wstring(kVoiceDatabaseModule)
                          : kor::platform::joinPath(folder, kVoiceDatabaseModule);
}

// Runs under lock_, so tables are published in the order they were built, and the voice that
// repairs give a musical part left without singers always follows the standing tables: their
// default VVoice when it is a valid voice, else bank select 0 and program change 0.
void CKorManagerApp::publish(std::shared_ptr<const kor::VoiceTables> tables) {
    const ZRVVoiceLib& voice = tables->defaultVVoice;
    if (kor::isValidVVoiceRecord(voice) && voice.vBS >= 0)
        kor::setDefaultSinger(voice.vBS, voice.vPC);
    else
        kor::setDefaultSinger(0, 0);
    // The old tables are let go outside the lock: their last holder may be this thread.
    ScopedLock guard(tablesLock_);
    tables_.swap(tables);
}

void CKorManagerApp::resetTables() {
    publish(std::make_shared<const kor::VoiceTables>());
}
