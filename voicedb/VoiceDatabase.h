// The in-memory voice database behind the DBM_ entry points.
#pragma once

#include "VoiceData.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kor::voicedb {

/// The voices, virtual voices, default virtual voice and expression items of the module, with an
/// optional editing session that a roll-back undoes as a whole. Not synchronised: the entry
/// points hold one lock around every call. Operations return DBM_ status codes; callers check
/// that the database is loaded and that keys, names and parameters are in range.
class VoiceDatabase {
public:
    VoiceDatabase() = default;
    VoiceDatabase(const VoiceDatabase&) = delete;
    VoiceDatabase& operator=(const VoiceDatabase&) = delete;

    /// Loads "voices.ini" of `dataFolder`, then the user's virtual voices from `userFile` when
    /// that file exists and reads as one. DBM_OK, DBM_S_MASTER_TABLE_FULL when the virtual voices
    /// fill the table, DBM_E_IO when the voice data cannot be read, DBM_E_FAIL when it holds no
    /// voice. On failure the database is left unloaded.
    std::uint32_t load(const std::wstring& dataFolder,
                       const std::optional<std::filesystem::path>& userFile);
    /// Drops everything loaded, an open editing session included.
    void unload();
    bool loaded() const { return loaded_; }

    const std::wstring& dataFolder() const { return dataFolder_; }
    const std::vector<Voice>& voices() const { return voices_; }
    const EditableTables& tables() const { return tables_; }
    const VirtualVoice* virtualVoice(VoiceKey key) const;

    /// DBM_E_NOT_FOUND for an unknown voice, DBM_E_EXISTS for a taken key, DBM_E_FAIL when the
    /// table is full.
    std::uint32_t createVirtualVoice(VirtualVoice voice);
    std::uint32_t copyVirtualVoice(VoiceKey from, VoiceKey to);
    /// Deleting the default virtual voice leaves the database without a default.
    std::uint32_t deleteVirtualVoice(VoiceKey key);
    std::uint32_t setVirtualVoiceName(VoiceKey key, std::wstring name);
    std::uint32_t setVirtualVoiceParam(VoiceKey key, const DBM_VoiceParam& param);
    std::uint32_t setDefaultVirtualVoice(VoiceKey key);
    std::uint32_t deleteExpItem(std::int32_t id);

    /// DBM_E_EXISTS when a session is open already.
    std::uint32_t openEditor();
    /// Both DBM_E_NO_EDITOR without an open session.
    std::uint32_t commitEditor();
    std::uint32_t rollBackEditor();

    /// Writes the current virtual voices to `path`, replacing it atomically.
    std::uint32_t backup(const std::filesystem::path& path) const;
    /// Writes the committed virtual voices (an open session's changes are left out) to
    /// `userFile`, creating its folder. DBM_E_IO when that fails.
    std::uint32_t saveUserFile(const std::filesystem::path& userFile) const;

private:
    bool loaded_ = false;
    std::wstring dataFolder_;
    std::vector<Voice> voices_;
    EditableTables tables_;
    std::optional<EditableTables> committed_; // the tables when the editing session opened
};

/// Writes `bytes` to a temporary file beside `target` and renames it over `target`, so that a
/// failure never leaves a truncated file behind. False on failure.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace kor::voicedb
