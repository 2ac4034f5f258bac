#include "manager/KorManagerImpl.h"

#include "legacy/IconVibrato.h"
#include "model/MusicalPart.h"
#include "support/ManagerFixture.h"
#include "support/TestRecord.h"

#include <korman/IZRKorEditorIF.h>
#include <korman/korman.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <limits>

using kor::test::validPolicy;
using KorManager = kor::test::ManagerTest;

namespace {

// An observer window that keeps what it is sent and frees each ID list, as a host must.
class RecordingWindow final : public IZRMessageWindow {
public:
    void postMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::unique_ptr<std::vector<std::uint32_t>> ids(
            reinterpret_cast<std::vector<std::uint32_t>*>(lParam));
        messages.push_back({msg, wParam, *ids});
    }
    struct Message {
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::vector<std::uint32_t> ids;
    };
    std::vector<Message> messages;
};

bool isFolder(const std::string& path) {
    return std::filesystem::is_directory(path);
}

} // namespace

TEST_F(KorManager, NeverInitializedManagerAnswersNothing) {
    CZRKorManagerIF manager;
    RecordingWindow window;
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_NOT_INITIALIZED);
    EXPECT_EQ(manager.sysGetLastErrorMsg(), nullptr);
    EXPECT_EQ(manager.sysGetErrorMsg(ZR_E_NOT_INITIALIZED), nullptr);
    EXPECT_EQ(manager.sysIsInitialized(), 0);
    EXPECT_EQ(manager.sysRegisterObserver(&window), 0);
    EXPECT_EQ(manager.sysReplaceVVoiceLibTable({{{0, 0}, {0, 0, L"C", L"N", {}}}}), 0);
    EXPECT_EQ(manager.korCreateNewSequence(L"", L"", 1), nullptr);
    EXPECT_EQ(manager.korCopyKorObject(0), ZR_NO_OBJ_ID);
    std::vector<ZRVVoiceConvertInfo> rows(3);
    manager.vvoiceGetVVoiceConvertTable(rows);
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_NOT_INITIALIZED);
    EXPECT_FALSE(isFolder(tempFolder()));
}

TEST_F(KorManager, RefusesPoliciesOutsideTheirRanges) {
    struct Case {
        const char* what;
        void (*spoil)(ZRKorManagementPolicy&);
    };
    const Case cases[] = {
        {"undo limit 0", [](ZRKorManagementPolicy& p) { p.undoLimit = 0; }},
        {"17 tracks", [](ZRKorManagementPolicy& p) { p.maxZRTracks = 17; }},
        {"no track", [](ZRKorManagementPolicy& p) { p.maxZRTracks = 0; }},
        {"parts -2", [](ZRKorManagementPolicy& p) { p.maxPartsPerTrack = -2; }},
        {"flag 2", [](ZRKorManagementPolicy& p) { p.editorFlag5 = 2; }},
        {"note tick -5", [](ZRKorManagementPolicy& p) { p.maxNoteTick = -5; }},
        {"longest below the clamped shortest",
         [](ZRKorManagementPolicy& p) { p.minPlayTime = 30, p.maxPlayTime = 50; }},
        {"field 12 below 60", [](ZRKorManagementPolicy& p) { p.editorLimit12 = 59; }},
        {"no schemas in the folder", [](ZRKorManagementPolicy& p) { p.schemaFolder = L"/"; }},
    };
    for (const Case& c : cases) {
        CZRKorManagerIF manager;
        ZRKorManagementPolicy policy = validPolicy();
        c.spoil(policy);
        EXPECT_EQ(manager.sysInitialize(policy), 0) << c.what;
        EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_MANAGEMENT_POLICY) << c.what;
        // A manager whose initialization failed answers nothing, and says why.
        EXPECT_EQ(manager.sysIsInitialized(), 0) << c.what;
        EXPECT_EQ(manager.sysGetLastError(), 0u) << c.what;
        EXPECT_EQ(manager.korCreateNewSequence(L"", L"", 1), nullptr) << c.what;
        EXPECT_EQ(manager.sysGetLastError(), ZR_E_NOT_INITIALIZED) << c.what;
    }

    CZRKorManagerIF manager;
    ZRKorManagementPolicy policy = validPolicy();
    policy.minPlayTime = 30;
    policy.maxPlayTime = 60;
    EXPECT_EQ(manager.sysInitialize(policy), 1);
}

TEST_F(KorManager, ReportsEveryWayTheVoiceDatabaseCanFail) {
    struct Case {
        const char* module;
        std::uint32_t error;
    };
    const Case cases[] = {
        {"fakevoicedb_absent", ZR_E_CANNOT_INITIALIZE_DBM},
        {"fakevoicedb_missingentry", ZR_E_CANNOT_INITIALIZE_DBM},
        {"fakevoicedb_initfails", ZR_E_CANNOT_INITIALIZE_DBM},
        {"fakevoicedb_novoices", ZR_E_CANNOT_CREATE_INTERNAL_VVOICE_TABLE},
        {"fakevoicedb_novibrato", ZR_E_CANNOT_CREATE_VIBRATO_TABLE},
    };
    for (const Case& c : cases) {
        useVoiceDatabase(c.module);
        CZRKorManagerIF manager;
        EXPECT_EQ(manager.sysInitialize(validPolicy()), 0) << c.module;
        EXPECT_EQ(manager.sysGetLastError(), c.error) << c.module;
    }
    // A failed load holds nothing; a manager that failed later gave its hold back when it went.
    EXPECT_EQ(CKorManagerApp::instance().voiceDatabaseHolders(), 0);

    useVoiceDatabase("fakevoicedb_tablefull");
    CZRKorManagerIF manager;
    EXPECT_EQ(manager.sysInitialize(validPolicy()), 1);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_VVOICE_MASTER_TABLE_IS_FULL);

    // Below a plain file no folder can be made, not even by root.
    data_.write("data-file", "");
    ::setenv("XDG_DATA_HOME", (data_.path() + "/data-file").c_str(), 1);
    CZRKorManagerIF homeless;
    EXPECT_EQ(homeless.sysInitialize(validPolicy()), 0);
    EXPECT_EQ(homeless.sysGetLastError(), ZR_E_CANNOT_CREATE_TEMPORARY_FOLDER);
}

TEST_F(KorManager, BuildsTheVVoiceAndVibratoTablesFromTheVoiceDatabase) {
    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
    const auto tables = CKorManagerApp::instance().tables();

    // The voice with a parameter out of range is left out.
    ASSERT_EQ(tables->vvoices.size(), 3u);
    EXPECT_EQ(tables->vvoices.at({1, 0}).name, L"Soprano");
    EXPECT_EQ(tables->vvoices.at({1, 0}).param.genderFactor, 64);
    EXPECT_EQ(tables->defaultVVoice.compID, L"FAKE0000VOICE003");
    EXPECT_EQ(kor::defaultSinger(), std::make_pair(0, 3)); // what repaired parts sing with
    // Each bank is represented by its lowest program change, except that the default stands for
    // its own bank.
    ASSERT_EQ(tables->bankRepresentatives.size(), 2u);
    EXPECT_EQ(tables->bankRepresentatives.at(0).vPC, 3);
    EXPECT_EQ(tables->bankRepresentatives.at(1).vPC, 0);

    // The item whose articulation file is missing is left out.
    ASSERT_EQ(tables->vibratos.size(), 1u);
    EXPECT_EQ(tables->vibratos.at(7)->caption(), L"Normal");
}

TEST_F(KorManager, ReplacesTheVVoiceTableOnlyWhenEveryEntryIsValid) {
    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
    const CKorManagerApp& app = CKorManagerApp::instance();
    const auto built = app.tables();
    const ZRVVoiceLib good{5, 1, L"COMPONENT0000001", L"Baritone", {1, 2, 3, 4, 5}};

    EXPECT_EQ(manager.sysReplaceVVoiceLibTable({}), 0);
    EXPECT_EQ(manager.sysReplaceVVoiceLibTable({{{5, 1}, good}, {{5, 2}, good}}),
              0); // key mismatch
    ZRVVoiceLib negativeBank = good;
    negativeBank.vBS = -1;
    EXPECT_EQ(manager.sysReplaceVVoiceLibTable({{{-1, 1}, negativeBank}}), 0);
    ZRVVoiceLib loud = good;
    loud.param.opening = 128;
    EXPECT_EQ(manager.sysReplaceVVoiceLibTable({{{5, 1}, loud}}), 0);
    EXPECT_EQ(app.tables(), built);

    ZRVVoiceLib other = good;
    other.vPC = 0;
    ASSERT_EQ(manager.sysReplaceVVoiceLibTable({{{5, 1}, good}, {{5, 0}, other}}), 1);
    const auto replaced = app.tables();
    EXPECT_EQ(replaced->vvoices.size(), 2u);
    EXPECT_EQ(replaced->bankRepresentatives.at(5).vPC, 0);
    EXPECT_EQ(replaced->defaultVVoice.vBS, -1);
    EXPECT_EQ(kor::defaultSinger(), std::make_pair(0, 0));
    // The vibrato kinds stay; whoever held the tables before keeps reading them unchanged.
    EXPECT_EQ(replaced->vibratos, built->vibratos);
    EXPECT_EQ(built->vvoices.size(), 3u);
    EXPECT_EQ(built->defaultVVoice.compID, L"FAKE0000VOICE003");
}

TEST_F(KorManager, AnEditorKeepsTheVoiceTablesItWasHandedOutWith) {
    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"", L"", 1920), nullptr);
    const auto parts = [&] {
        IZRKorObject* track =
            manager.korGetCurrentSequence()->getSequence()->getZRTrackList()->getAt(0);
        return dynamic_cast<IZRZRTrack*>(track)->getPartList();
    };
    const auto insertPart = [&](IZRKorEditorIF* editor, std::int32_t posTick) {
        ASSERT_NE(editor, nullptr);
        ASSERT_EQ(editor->insertMusicalPart(parts()->getObjID(), {posTick, 1920, L"", L""}), 1);
        ASSERT_EQ(editor->commit(), 1);
        manager.editReleaseKorEditor(editor);
    };
    const auto firstSinger = [&](std::uint32_t part) {
        const auto* singers = dynamic_cast<IZRMusicalPart*>(parts()->getAt(part))->getSingerList();
        const auto* singer = dynamic_cast<IZRMusicalSinger*>(singers->getAt(0));
        return std::make_pair(singer->getVBS(), singer->getVPC());
    };

    // The replacement drops the default voice (0, 3), and the tables that held it are let go by
    // everyone but the editor's manager.
    IZRKorEditorIF* early = manager.editGetKorEditor(1);
    const ZRVVoiceLib soprano{1, 0, L"FAKE0001VOICE000", L"Soprano", {}};
    ASSERT_EQ(manager.sysReplaceVVoiceLibTable({{{1, 0}, soprano}}), 1);
    insertPart(early, 3840);
    EXPECT_EQ(firstSinger(1), std::make_pair(0, 3));

    // The next editor sees the replaced tables, which name no default voice.
    insertPart(manager.editGetKorEditor(1), 7680);
    EXPECT_EQ(firstSinger(2), std::make_pair(0, 0));
}

TEST_F(KorManager, RefusedHeadroomTrimsTheOldestUndoableCommit) {
    CZRKorManagerImpl impl;
    ASSERT_TRUE(impl.initialize(validPolicy()));
    EXPECT_TRUE(impl.hasMemoryHeadroom(1024));

    TestDocument doc;
    CTestLeaf* tempo = doc.leaf(0, 12000);
    std::vector<std::uint32_t> ids;
    for (int i = 0; i < 2; ++i) {
        auto record = std::make_unique<TestRecord>(doc.table, tempo->getObjID());
        ASSERT_TRUE(record->capture());
        std::vector<std::unique_ptr<AZREditCommand>> pending;
        pending.push_back(std::move(record));
        ASSERT_TRUE(impl.history()->commit(pending, 0, ids));
    }
    ASSERT_EQ(impl.history()->floorIndex(), 0u);

    // More than any machine has.
    EXPECT_FALSE(impl.hasMemoryHeadroom(std::numeric_limits<std::uint64_t>::max() / 2));
    EXPECT_EQ(impl.history()->floorIndex(), 2u);
}

TEST_F(KorManager, InitializesWithTheVoiceDatabaseShippedBesideTheLibrary) {
    CKorManagerApp::instance().setVoiceDatabasePath({}); // the module next to this binary

    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(validPolicy()), 1);
    EXPECT_EQ(manager.sysGetLastError(), 0u);
    const auto tables = CKorManagerApp::instance().tables();
    EXPECT_EQ(tables->vvoices.size(), 6u);
    EXPECT_EQ(tables->vibratos.size(), 5u);
    for (const auto& [id, vibrato] : tables->vibratos) {
        EXPECT_FALSE(vibrato->caption().empty()) << id;
        EXPECT_FALSE(vibrato->depthCurve().empty()) << id;
    }
}

TEST_F(KorManager, TakesTheSchemasBesideTheLibraryAndRefusesAFolderWithoutThem) {
    // No folder named: the schemas installed beside the library, where the build puts them too.
    CZRKorManagerIF manager;
    ASSERT_EQ(manager.sysInitialize(ZRKorManagementPolicy{}), 1) << manager.sysGetLastErrorMsg();
    EXPECT_NE(manager.fileLoadKorFile(L"" KORMAN_TEST_DATA_DIR "/kor3/full.korx"), nullptr)
        << manager.sysGetLastErrorMsg();

    // A folder that holds one schema of two fails at once and names the other.
    const kor::test::TempDir schemas;
    std::filesystem::copy_file(KORMAN_SCHEMA_DIR "/kor3.xsd", schemas.path() + "/kor3.xsd");
    ZRKorManagementPolicy policy = validPolicy();
    policy.schemaFolder = schemas.wide();
    CZRKorManagerIF half;
    EXPECT_EQ(half.sysInitialize(policy), 0);
    EXPECT_EQ(half.sysGetLastError(), ZR_E_INVALID_MANAGEMENT_POLICY);
    EXPECT_EQ(std::wstring(half.sysGetLastErrorMsg()),
              L"Invalid management policy. Cannot open " + schemas.wide("kor4.xsd") +
                  L": No such file or directory. The schema folder " + schemas.wide() +
                  L" must hold kor3.xsd and kor4.xsd.");
}

// A host may end the process while a manager still holds the voice database: by std::exit with
// the manager on main's stack, or by returning from main with the manager a static object. Either
// way the process ends cleanly; a double free or any other sanitizer report ends it with a
// non-zero status.
TEST(KorManagerAtExit, ProcessEndsCleanlyWhileAManagerHoldsTheVoiceDatabase) {
    const kor::test::TempDir data;
    for (const std::string way : {"exit", "static"}) {
        const std::string command = "XDG_DATA_HOME='" + data.path() + "' '" +
                                    LIVE_MANAGER_AT_EXIT_PATH + "' " + way + " 2>'" + data.path() +
                                    "/stderr.txt'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << way;
        EXPECT_EQ(WEXITSTATUS(status), 0) << way << "\n" << data.read("stderr.txt");
    }
}
