// A sandbox for manager tests: a temporary data folder, a vibrato articulation file, and a
// stand-in voice database module chosen per test.
#pragma once

#include "manager/KorManagerApp.h"
#include "support/TempDir.h"
#include "support/TestDataFolder.h"

#include <korman/korman.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kor::test {

/// The path of a stand-in voice database module built beside the tests ("fakevoicedb",
/// "fakevoicedb_initfails", ...).
inline std::wstring fakeVoiceDatabase(const std::string& name) {
    const std::string path = std::string(KOR_FAKE_VOICEDB_DIR) + "/" + name + ".so";
    return std::wstring(path.begin(), path.end());
}

/// A policy that passes validation, with the schemas of the source tree.
inline ZRKorManagementPolicy validPolicy() {
    ZRKorManagementPolicy policy;
    policy.schemaFolder = L"" KORMAN_SCHEMA_DIR;
    return policy;
}

/// validPolicy(), for managers that load songs.
inline ZRKorManagementPolicy loadingPolicy() {
    return validPolicy();
}

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        saveVariable("XDG_DATA_HOME", savedDataHome_);
        saveVariable("KOR_FAKE_VIBRATO_FILE", savedVibratoFile_);
        useTestDataFolder(data_);
        useVoiceDatabase("fakevoicedb");
    }

    void TearDown() override {
        CKorManagerApp::instance().setVoiceDatabasePath({});
        restoreVariable("XDG_DATA_HOME", savedDataHome_);
        restoreVariable("KOR_FAKE_VIBRATO_FILE", savedVibratoFile_);
    }

    static void useVoiceDatabase(const std::string& name) {
        CKorManagerApp::instance().setVoiceDatabasePath(fakeVoiceDatabase(name));
    }

    /// The library's own folders below the temporary data folder.
    std::string baseFolder() const { return data_.path() + "/TORIVEL3"; }
    std::string tempFolder() const { return baseFolder() + "/KOR"; }

    TempDir data_;

private:
    static void saveVariable(const char* name, std::optional<std::string>& saved) {
        const char* value = std::getenv(name);
        saved = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    static void restoreVariable(const char* name, const std::optional<std::string>& saved) {
        if (saved)
            ::setenv(name, saved->c_str(), 1);
        else
            ::unsetenv(name);
    }

    std::optional<std::string> savedDataHome_;
    std::optional<std::string> savedVibratoFile_;
};

} // namespace kor::test
