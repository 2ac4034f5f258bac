// The library's process-wide state, shared by every manager of the process.
#pragma once

#include "manager/VoiceDatabase.h"
#include "model/Builders.h"
#include "platform/CriticalSection.h"

#include <korman/CZRKorManagerIF.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class CIconVibrato;

namespace kor {

/// One state of the tables the process builds from its voice database: the internal VVoice table
/// new sequences take their VVoices from, the default VVoice (bank select and program change -1
/// when there is none), one representative VVoice per bank select, and the vibrato kinds by type
/// ID. Never changed once published: a rebuild or a replacement publishes a new one, so whoever
/// holds one reads it without a lock, and what it borrows from it stays valid while it holds it.
struct VoiceTables {
    VVoiceTable vvoices;
    ZRVVoiceLib defaultVVoice;
    std::map<int, ZRVVoiceLib> bankRepresentatives;
    std::map<std::int32_t, std::shared_ptr<const CIconVibrato>> vibratos;
};

} // namespace kor

/// One instance per process (instance()), made on first use and kept until the process ends, so
/// that it outlives every manager. Holds the library's folders, the voice database with the
/// number of initialized managers that use it, and the tables built from the voice database.
///
/// Every member may be used from any thread at any time. The module lock guards the folders, the
/// voice database with its count, and every change of the tables: a rebuild reads the voice
/// database and publishes its tables under it, so the database is asked by one thread at a time
/// and the last rebuild or replacement to finish is the one that stands. Readers never wait for
/// a rebuild: tables() hands out the current tables under a lock of their own, held only to copy
/// one pointer, and the caller keeps them for its whole call.
class CKorManagerApp {
public:
    using VVoiceTable = kor::VVoiceTable;

    static CKorManagerApp& instance();

    CKorManagerApp(const CKorManagerApp&) = delete;
    CKorManagerApp& operator=(const CKorManagerApp&) = delete;

    /// Creates "TORIVEL3" below the user's local application-data folder and "KOR" below it,
    /// replacing a plain file that stands in the way. False when a folder cannot be had.
    [[nodiscard]] bool createFolders();
    std::wstring baseFolder() const;
    std::wstring tempFolder() const;

    /// Takes a hold on the voice database, loading it for the first holder. 0 on success,
    /// ZR_E_VVOICE_MASTER_TABLE_IS_FULL when it loaded with a full table of virtual voices (still a
    /// success), ZR_E_CANNOT_INITIALIZE_DBM when it cannot be loaded.
    [[nodiscard]] std::uint32_t acquireVoiceDatabase();
    /// Gives back one hold; the last one unloads the voice database and empties the tables.
    void releaseVoiceDatabase();
    int voiceDatabaseHolders() const;

    /// Rebuilds the VVoice tables from the voice database; false when no valid voice is found.
    [[nodiscard]] bool buildVVoiceTables();
    /// Rebuilds the vibrato table from the voice database's vibrato items and their articulation
    /// files; false when the database fails or no vibrato could be read.
    [[nodiscard]] bool buildVibratoTable();
    /// Replaces the VVoice tables by `table` when every entry is valid; false, changing nothing,
    /// otherwise or when it is empty. The default VVoice is cleared; the vibrato kinds stay.
    [[nodiscard]] bool replaceVVoiceLibTable(const VVoiceTable& table);

    /// The tables as they stand now (shared, never null; empty while no voice database is held).
    /// Later rebuilds and replacements leave them as they are.
    std::shared_ptr<const kor::VoiceTables> tables() const;

    /// Loads the voice database from `path` instead of the module beside the library; for tests
    /// that stand in a module of their own. An empty path restores the default.
    void setVoiceDatabasePath(std::wstring path);

private:
    CKorManagerApp();
    ~CKorManagerApp() = default;

    std::wstring voiceDatabasePath() const;
    void publish(std::shared_ptr<const kor::VoiceTables> tables);
    void resetTables();

    mutable kor::platform::CriticalSection lock_;
    std::wstring baseFolder_;
    std::wstring tempFolder_;
    std::wstring voiceDatabasePath_;
    std::unique_ptr<kor::VoiceDatabase> voiceDatabase_;
    int voiceDatabaseHolders_ = 0;

    mutable kor::platform::CriticalSection tablesLock_; // guards tables_ alone
    std::shared_ptr<const kor::VoiceTables> tables_;
};

namespace kor {

/// The VVoice record check: bank select at most 127, program change 0 to 127, a component ID,
/// and every timbre parameter in -127 to 127.
bool isValidVVoiceRecord(const ZRVVoiceLib& voice);

} // namespace kor
