#include "manager/VoiceDatabase.h"

#include "legacy/IconVibrato.h"
#include "legacy/TypedFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

namespace {

// The entry points of the loaded module, looked up by name as the manager does, without the
// manager's DBM_Init (each test initializes with its own data folder).
struct Dbm : kor::DbmEntryPoints {
    int resolved = 0;
};

const Dbm& loadModule() {
    static const Dbm dbm = [] {
        Dbm entries;
        void* module = ::dlopen(KORVOICEDB_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) return entries;
#define KOR_DBM_LOOKUP(name)                                                                       \
    entries.name = reinterpret_cast<decltype(&::name)>(::dlsym(module, #name));                    \
    entries.resolved += entries.name != nullptr;
        KOR_DBM_ENTRY_POINTS(KOR_DBM_LOOKUP)
#undef KOR_DBM_LOOKUP
        return entries;
    }();
    return dbm;
}

constexpr wchar_t kAmber[] = L"KV01AMBRLN000001";
constexpr wchar_t kDunmore[] = L"KV02DUNMORE00004";

using Key = std::pair<int, int>;
using Record = std::tuple<std::wstring, std::wstring, int, int, int, int, int>;
using Default = std::variant<std::uint32_t, Key>;

class VoiceDbModule : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(dbm.resolved, 27) << "cannot load " KORVOICEDB_MODULE_PATH;
        if (const char* previous = std::getenv("XDG_DATA_HOME")) previousXdg_ = previous;
        ::setenv("XDG_DATA_HOME", home_.path().c_str(), 1);
        ASSERT_EQ(dbm.DBM_Init(), DBM_OK);
    }

    void TearDown() override {
        if (dbm.DBM_Delete) dbm.DBM_Delete();
        previousXdg_ ? ::setenv("XDG_DATA_HOME", previousXdg_->c_str(), 1)
                     : ::unsetenv("XDG_DATA_HOME");
    }

    // Every virtual voice, found by scanning all keys as the manager does.
    std::map<Key, Record> allVirtualVoices() const {
        std::map<Key, Record> found;
        for (int bs = 0; bs < 128; ++bs)
            for (int pc = 0; pc < 128; ++pc) {
                DBM_VirtualVoiceInfo info{};
                if (dbm.DBM_GetVirtualVoiceInfo(bs, pc, &info) != DBM_OK) continue;
                EXPECT_EQ(Key(info.bankSelect, info.programChange), Key(bs, pc));
                const DBM_VoiceParam& p = info.param;
                found[{bs, pc}] = Record(info.compID, info.name, p.breathiness, p.brightness,
                                         p.clearness, p.genderFactor, p.opening);
            }
        return found;
    }

    // The default virtual voice's key, or the module's error code when it names none.
    Default defaultVoice() const {
        int bs = -1, pc = -1;
        const std::uint32_t result = dbm.DBM_GetDefaultVirtualVoice(&bs, &pc);
        if (result != DBM_OK) return result;
        return Key(bs, pc);
    }

    std::filesystem::path userFile() const {
        return std::filesystem::path(home_.path()) / "korvoicedb" / "user.ini";
    }

    const Dbm& dbm = loadModule();
    kor::test::TempDir home_;
    std::optional<std::string> previousXdg_;
};

} // namespace

static bool operator==(const DBM_VoiceParam& a, const DBM_VoiceParam& b) {
    return std::tie(a.breathiness, a.brightness, a.clearness, a.genderFactor, a.opening) ==
           std::tie(b.breathiness, b.brightness, b.clearness, b.genderFactor, b.opening);
}

TEST_F(VoiceDbModule, LoadsVoicesVirtualVoicesAndTheDefault) {
    EXPECT_EQ(defaultVoice(), Default(Key(0, 0)));
    std::map<Key, Record> voices = allVirtualVoices();
    EXPECT_EQ(voices.size(), 6u);
    EXPECT_EQ(voices[Key(0, 0)], Record(kAmber, L"Amber", 0, 10, 5, 0, 0));
    EXPECT_EQ(voices[Key(1, 0)], Record(kAmber, L"Amber Soft", 40, -10, 0, 0, -20));

    int count = 0;
    ASSERT_EQ(dbm.DBM_GetAllVoice(nullptr, 0, &count), DBM_OK);
    EXPECT_EQ(count, 4);
    DBM_Voice all[2]{};
    ASSERT_EQ(dbm.DBM_GetAllVoice(all, 2, &count), DBM_OK);
    EXPECT_EQ(count, 4);
    EXPECT_STREQ(all[0].compID, kAmber);
    EXPECT_STREQ(all[1].name, L"Bramwell");

    DBM_Voice voice{};
    ASSERT_EQ(dbm.DBM_GetVoice(kDunmore, &voice), DBM_OK);
    EXPECT_STREQ(voice.name, L"Dunmore");
    DBM_VoiceParam param{};
    ASSERT_EQ(dbm.DBM_GetVoiceParameters(kDunmore, &param), DBM_OK);
    EXPECT_EQ(param, voice.param);
    EXPECT_EQ(param.genderFactor, 35);
    EXPECT_EQ(dbm.DBM_GetVoice(L"KV99UNKNOWN00000", &voice), DBM_E_NOT_FOUND);

    wchar_t version[64];
    ASSERT_EQ(dbm.DBM_GetVersionString(version, 64), DBM_OK);
    EXPECT_NE(std::wstring(version).find(L"korvoicedb"), std::wstring::npos);
    EXPECT_EQ(dbm.DBM_GetLibraryVersion() >> 16, 1u);
}

TEST_F(VoiceDbModule, HandsOutVibratoItemsWhoseArticulationFilesLoad) {
    DBM_ExpItemList* list = nullptr;
    ASSERT_EQ(dbm.DBM_GetVirtualExpItems(DBM_EXP_VIBRATO, 0, 0, &list), DBM_OK);
    ASSERT_NE(list, nullptr);
    ASSERT_GE(list->count, 4);

    wchar_t folder[DBM_PATH_SIZE];
    ASSERT_EQ(dbm.DBM_GetExpDB(folder, DBM_PATH_SIZE), DBM_OK);
    std::set<std::vector<tagBreakPoint>> depthCurves;
    for (int i = 0; i < list->count; ++i) {
        const DBM_ExpItem& item = list->items[i];
        SCOPED_TRACE(item.caption);
        EXPECT_EQ(item.type, DBM_EXP_VIBRATO);
        EXPECT_EQ(std::wstring(item.filePath).rfind(folder, 0), 0u);
        std::optional<std::wstring> aic = kor::findArticulationFile(item.filePath);
        ASSERT_TRUE(aic.has_value());
        CIconVibrato vibrato;
        ASSERT_TRUE(vibrato.load(*aic));
        EXPECT_EQ(vibrato.caption(), item.caption);
        EXPECT_FALSE(vibrato.depthCurve().empty());
        EXPECT_FALSE(vibrato.rateCurve().empty());
        depthCurves.insert(vibrato.depthCurve());

        DBM_ExpItem info{};
        ASSERT_EQ(dbm.DBM_GetVirtualExpInfo(item.id, &info), DBM_OK);
        EXPECT_STREQ(info.filePath, item.filePath);
    }
    EXPECT_EQ(depthCurves.size(), static_cast<std::size_t>(list->count));

    int firstId = list->items[0].id;
    EXPECT_EQ(dbm.DBM_DeleteVirtualExpItems(list), DBM_OK);
    EXPECT_EQ(dbm.DBM_DeleteVirtualExpItems(list), DBM_E_INVALID_ARGUMENT); // given back already

    ASSERT_EQ(dbm.DBM_DeleteVirtualExpInfo(firstId), DBM_OK);
    DBM_ExpItem gone{};
    EXPECT_EQ(dbm.DBM_GetVirtualExpInfo(firstId, &gone), DBM_E_NOT_FOUND);
    ASSERT_EQ(dbm.DBM_GetVirtualExpItems(DBM_EXP_VIBRATO + 1, 0, 0, &list), DBM_OK);
    EXPECT_EQ(list->count, 0);
    EXPECT_EQ(dbm.DBM_DeleteVirtualExpItems(list), DBM_OK);
}

TEST_F(VoiceDbModule, RollBackRestoresEveryEditOfTheSession) {
    const std::map<Key, Record> before = allVirtualVoices();
    DBM_VoiceParam loud{10, 20, 30, 40, 50};

    ASSERT_EQ(dbm.DBM_GetEditor(), DBM_OK);
    EXPECT_EQ(dbm.DBM_GetEditor(), DBM_E_EXISTS);
    ASSERT_EQ(dbm.DBM_CreateVirtualVoice(2, 7, kDunmore, L"Deep; Dark", &loud), DBM_OK);
    EXPECT_EQ(dbm.DBM_CreateVirtualVoice(2, 7, kAmber, L"Again", &loud), DBM_E_EXISTS);
    EXPECT_EQ(dbm.DBM_CreateVirtualVoice(2, 8, L"KV99UNKNOWN00000", L"X", &loud), DBM_E_NOT_FOUND);
    ASSERT_EQ(dbm.DBM_SetVirtualVoiceName(0, 1, L"Renamed"), DBM_OK);
    ASSERT_EQ(dbm.DBM_SetVirtualVoiceParameters(0, 2, &loud), DBM_OK);
    ASSERT_EQ(dbm.DBM_CopyVirtualVoice(0, 1, 3, 0), DBM_OK);
    EXPECT_EQ(dbm.DBM_CopyVirtualVoice(0, 1, 0, 2), DBM_E_EXISTS);
    EXPECT_EQ(dbm.DBM_CopyVirtualVoice(9, 9, 9, 10), DBM_E_NOT_FOUND);
    ASSERT_EQ(dbm.DBM_DeleteVirtualVoice(0, 0), DBM_OK); // the default
    EXPECT_EQ(defaultVoice(), Default(DBM_E_NOT_FOUND));
    ASSERT_EQ(dbm.DBM_SetDefaultVirtualVoice(3, 0), DBM_OK);

    std::map<Key, Record> edited = allVirtualVoices();
    EXPECT_EQ(edited.size(), before.size() + 1);
    EXPECT_EQ(edited[Key(2, 7)], Record(kDunmore, L"Deep; Dark", 10, 20, 30, 40, 50));
    EXPECT_EQ(std::get<1>(edited[Key(3, 0)]), L"Renamed");
    wchar_t name[DBM_NAME_SIZE];
    ASSERT_EQ(dbm.DBM_GetVirtualVoiceName(0, 1, name, DBM_NAME_SIZE), DBM_OK);
    EXPECT_STREQ(name, L"Renamed");
    DBM_VoiceParam param{};
    ASSERT_EQ(dbm.DBM_GetVirtualVoiceParameters(0, 2, &param), DBM_OK);
    EXPECT_EQ(param, loud);

    ASSERT_EQ(dbm.DBM_RollBackEditor(), DBM_OK);
    EXPECT_EQ(allVirtualVoices(), before);
    EXPECT_EQ(defaultVoice(), Default(Key(0, 0)));
    EXPECT_EQ(dbm.DBM_RollBackEditor(), DBM_E_NO_EDITOR);
    EXPECT_EQ(dbm.DBM_CommitEditor(), DBM_E_NO_EDITOR);

    ASSERT_EQ(dbm.DBM_GetEditor(), DBM_OK);
    ASSERT_EQ(dbm.DBM_DeleteVirtualVoice(1, 5), DBM_OK);
    ASSERT_EQ(dbm.DBM_CommitEditor(), DBM_OK);
    EXPECT_EQ(allVirtualVoices().size(), before.size() - 1);
}

TEST_F(VoiceDbModule, RefusesBadArguments) {
    DBM_VoiceParam ok{};
    DBM_VoiceParam tooLoud{0, 0, 128, 0, 0};
    std::wstring longName(DBM_NAME_SIZE, L'n');
    wchar_t small[4];
    DBM_VirtualVoiceInfo info{};
    int value = 0;
    DBM_ExpItemList bogus{};

    const std::uint32_t results[] = {
        dbm.DBM_CreateVirtualVoice(128, 0, kAmber, L"A", &ok),
        dbm.DBM_CreateVirtualVoice(0, -1, kAmber, L"A", &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, nullptr, L"A", &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, L"KV01AMBRLN00000", L"A", &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, kAmber, nullptr, &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, kAmber, L"", &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, kAmber, longName.c_str(), &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, kAmber, L"two\nlines", &ok),
        dbm.DBM_CreateVirtualVoice(9, 9, kAmber, L"A", nullptr),
        dbm.DBM_CreateVirtualVoice(9, 9, kAmber, L"A", &tooLoud),
        dbm.DBM_SetVirtualVoiceParameters(0, 0, &tooLoud),
        dbm.DBM_SetVirtualVoiceName(0, 0, longName.c_str()),
        dbm.DBM_CopyVirtualVoice(0, 0, 0, 200),
        dbm.DBM_DeleteVirtualVoice(-1, 0),
        dbm.DBM_GetVirtualVoiceInfo(0, 0, nullptr),
        dbm.DBM_GetVirtualVoiceInfo(0, 128, &info),
        dbm.DBM_GetVirtualVoiceName(0, 0, small, 4), // "Amber" does not fit
        dbm.DBM_GetVirtualVoiceName(0, 0, nullptr, 10),
        dbm.DBM_GetDefaultVirtualVoice(&value, nullptr),
        dbm.DBM_GetAllVoice(nullptr, 1, &value),
        dbm.DBM_GetAllVoice(nullptr, 0, nullptr),
        dbm.DBM_GetVoiceParameters(L"short", &ok),
        dbm.DBM_GetVersionString(small, 4),
        dbm.DBM_GetExpDB(small, 0),
        dbm.DBM_GetVirtualExpItems(DBM_EXP_VIBRATO, 0, 0, nullptr),
        dbm.DBM_DeleteVirtualExpItems(nullptr),
        dbm.DBM_DeleteVirtualExpItems(&bogus),
        dbm.DBM_BackupAllVirtualVoice(nullptr),
    };
    for (std::size_t i = 0; i < std::size(results); ++i)
        EXPECT_EQ(results[i], DBM_E_INVALID_ARGUMENT) << "row " << i;
    EXPECT_EQ(small[0], L'\0');
    EXPECT_EQ(allVirtualVoices().size(), 6u); // nothing was created on the way
}

TEST_F(VoiceDbModule, PersistsCommittedVirtualVoicesForTheNextStart) {
    DBM_VoiceParam param{-1, -2, -3, -4, -5};
    ASSERT_EQ(dbm.DBM_CreateVirtualVoice(5, 5, kAmber, L"Amber; Mine \u00e9", &param), DBM_OK);
    ASSERT_EQ(dbm.DBM_SetDefaultVirtualVoice(5, 5), DBM_OK);
    // An open session's changes are not written.
    ASSERT_EQ(dbm.DBM_GetEditor(), DBM_OK);
    ASSERT_EQ(dbm.DBM_DeleteVirtualVoice(0, 1), DBM_OK);
    ASSERT_EQ(dbm.DBM_UpdateUserRegistory(), DBM_OK);
    const std::map<Key, Record> edited = allVirtualVoices();

    ASSERT_EQ(dbm.DBM_BackupAllVirtualVoice(home_.wide("backup.ini").c_str()), DBM_OK);
    CxTypedFile text;
    ASSERT_TRUE(text.parseFile(home_.wide("backup.ini")));
    EXPECT_TRUE(text.section(L"VirtualVoice 5,5") != nullptr);
    EXPECT_EQ(text.section(L"VirtualVoice 0,1"), nullptr);

    ASSERT_EQ(dbm.DBM_Init(), DBM_OK);
    std::map<Key, Record> reloaded = allVirtualVoices();
    EXPECT_EQ(reloaded.size(), edited.size() + 1);
    EXPECT_EQ(reloaded[Key(5, 5)], Record(kAmber, L"Amber; Mine \u00e9", -1, -2, -3, -4, -5));
    EXPECT_TRUE(reloaded.contains(Key(0, 1)));
    EXPECT_EQ(defaultVoice(), Default(Key(5, 5)));
    EXPECT_EQ(dbm.DBM_CommitEditor(), DBM_E_NO_EDITOR); // a reload ends the session

    ASSERT_EQ(dbm.DBM_Delete(), DBM_OK);
    DBM_VirtualVoiceInfo info{};
    EXPECT_EQ(dbm.DBM_GetVirtualVoiceInfo(0, 0, &info), DBM_E_FAIL);
}

TEST_F(VoiceDbModule, ReportsAFullMasterTable) {
    std::filesystem::create_directories(userFile().parent_path());
    {
        std::ofstream user(userFile());
        user << "[Common]\nVersion=1\n";
        for (int bs = 0; bs < 128; ++bs)
            for (int pc = 0; pc < 128; ++pc)
                user << "[VirtualVoice " << bs << "," << pc << "]\nBankSelect=" << bs
                     << "\nProgramChange=" << pc << "\nCompID=KV01AMBRLN000001\nName=V" << bs << "."
                     << pc << "\nBreathiness=0\nBrightness=0\nClearness=0\n"
                     << "GenderFactor=0\nOpening=0\n";
    }
    ASSERT_EQ(dbm.DBM_Init(), DBM_S_MASTER_TABLE_FULL);

    wchar_t name[DBM_NAME_SIZE];
    ASSERT_EQ(dbm.DBM_GetVirtualVoiceName(127, 127, name, DBM_NAME_SIZE), DBM_OK);
    EXPECT_STREQ(name, L"V127.127");
    EXPECT_EQ(defaultVoice(), Default(DBM_E_NOT_FOUND)); // the file names none
    DBM_VoiceParam param{};
    EXPECT_EQ(dbm.DBM_CreateVirtualVoice(0, 0, kAmber, L"More", &param), DBM_E_EXISTS);
    ASSERT_EQ(dbm.DBM_DeleteVirtualVoice(0, 0), DBM_OK);
    EXPECT_EQ(dbm.DBM_CreateVirtualVoice(0, 0, kAmber, L"More", &param), DBM_OK);
}
