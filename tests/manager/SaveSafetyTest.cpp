#include "support/ManagerFixture.h"
#include "support/OtherUser.h"
#include "builders/WavBuilder.h"

#include <korman/korman.h>

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::HasSubstr;

namespace {

const std::string kFullSong = std::string(KORMAN_TEST_DATA_DIR) + "/kor3/full.korx";

class SaveSafety : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
        // The second user must reach the folders of a test.
        fs::permissions(files.path(), fs::perms(0755));
    }

    /// The full test song in `folder`, beside a stereo clap of `seconds` in its parts folder.
    std::wstring songWithClap(const std::string& folder, int seconds = 2) {
        fs::create_directories(files.path() + "/" + folder + "/full.wavparts");
        files.write(folder + "/full.korx", kor::test::readFile(kFullSong));
        files.write(folder + "/full.wavparts/clap.wav",
                    kor::test::WavBuilder()
                        .fmt(1, 2, 44100, 16)
                        .data(std::string(static_cast<std::size_t>(seconds) * 4 * 44100, '\x21'))
                        .bytes());
        return files.wide(folder + "/full.korx");
    }
    /// The full test song in `folder` without its WAV part.
    std::wstring songWithoutWavParts(const std::string& folder) {
        std::string text = kor::test::readFile(kFullSong);
        const std::size_t begin = text.find("<seTrack>") + 9;
        text.erase(begin, text.find("</seTrack>") - begin);
        fs::create_directories(files.path() + "/" + folder);
        files.write(folder + "/plain.korx", text);
        return files.wide(folder + "/plain.korx");
    }
    /// Whether the song at `path` loads with every WAV file it names.
    bool loadsWhole(const std::wstring& path) {
        std::vector<std::uint32_t> dangling{1};
        return manager.fileLoadKorFile(path.c_str()) != nullptr &&
               manager.fileGetDanglingWAVPartList(dangling) == 1 && dangling.empty();
    }
    std::wstring lastMessage() const { return manager.sysGetLastErrorMsg(); }

    CZRKorManagerIF manager;
    kor::test::TempDir files;
};

} // namespace

TEST_F(SaveSafety, AWavFileRemovedFromThePartsFolderIsCarriedFromTheFileTheSongHolds) {
    const std::wstring song = songWithClap("a");
    const std::string clap = files.read("a/full.wavparts/clap.wav");
    ASSERT_TRUE(loadsWhole(song)) << lastMessage();
    fs::remove_all(files.path() + "/a/full.wavparts");
    fs::create_directory(files.path() + "/b");
    ASSERT_EQ(manager.fileSaveKorFile(files.wide("b/song.korx").c_str()), 1) << lastMessage();
    EXPECT_EQ(files.read("b/song.wavparts/clap.wav"), clap);

    // Saved onto itself after the folder went again: the file saved last is held now.
    fs::remove_all(files.path() + "/b/song.wavparts");
    ASSERT_EQ(manager.fileSaveKorFile(files.wide("b/song.korx").c_str()), 1) << lastMessage();
    EXPECT_EQ(files.read("b/song.wavparts/clap.wav"), clap);
}

TEST_F(SaveSafety, TheWavPartsFolderIsTheSaversOwnAndNoLinkInItIsFollowed) {
    if (!kor::test::canActAsAnotherUser())
        GTEST_SKIP() << "only the superuser can make files of a second user (nobody)";
    const std::string shared = files.path() + "/shared";
    fs::create_directories(files.path() + "/secret");
    fs::permissions(files.path() + "/secret", fs::perms(0700));
    files.write("secret/file", "root's");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms(01777));
    const auto nobodys = [&](const std::string& name) {
        ASSERT_EQ(::lchown((shared + "/" + name).c_str(), kor::test::kNobody, kor::test::kNogroup),
                  0);
    };
    const auto plantedLink = [&](const std::string& name, const std::string& to) {
        fs::create_symlink(to, shared + "/" + name);
        nobodys(name);
    };
    ASSERT_TRUE(loadsWhole(songWithClap("a"))) << lastMessage();
    const std::string clap = files.read("a/full.wavparts/clap.wav");

    const struct {
        const char* proves;
        std::function<void()> plant;
        const char* song;
        std::uint32_t code; // 0: saved
        std::string named;  // what the message names
    } cases[] = {
        {"a planted link in the parts folder is replaced, not followed",
         [&] {
             fs::create_directory(shared + "/w.wavparts");
             plantedLink("w.wavparts/clap.wav", "../../secret/file");
         },
         "w.korx", 0, ""},
        {"another user's parts folder is refused",
         [&] {
             fs::create_directory(shared + "/x.wavparts");
             nobodys("x.wavparts");
         },
         "x.korx", ZR_E_CANNOT_SAVE_WAV_FILE, shared + "/x.wavparts"},
        {"another user's file in the parts folder is refused",
         [&] {
             fs::create_directory(shared + "/y.wavparts");
             files.write("shared/y.wavparts/clap.wav", "nobody's clap");
             nobodys("y.wavparts/clap.wav");
         },
         "y.korx", ZR_E_CANNOT_SAVE_WAV_FILE, shared + "/y.wavparts/clap.wav"},
        {"another user's link in place of the parts folder is refused",
         [&] { plantedLink("v.wavparts", "../secret"); }, "v.korx", ZR_E_CANNOT_SAVE_WAV_FILE,
         shared + "/v.wavparts"},
        {"another user's link at the song path in a sticky shared folder is refused",
         [&] { plantedLink("z.korx", "../secret/file"); }, "z.korx", ZR_E_CANNOT_SAVE_FILE,
         shared + "/z.korx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proves);
        ASSERT_NO_FATAL_FAILURE(c.plant());
        const std::string path = shared + "/" + c.song;
        const bool wasThere = fs::exists(fs::symlink_status(path));
        const int saved = manager.fileSaveKorFile(std::wstring(path.begin(), path.end()).c_str());
        EXPECT_EQ(files.read("secret/file"), "root's");
        EXPECT_EQ(std::distance(fs::directory_iterator(files.path() + "/secret"), {}), 1);
        if (c.code == 0) {
            ASSERT_EQ(saved, 1) << lastMessage();
            EXPECT_FALSE(fs::is_symlink(shared + "/w.wavparts/clap.wav"));
            EXPECT_EQ(files.read("shared/w.wavparts/clap.wav"), clap);
            continue;
        }
        EXPECT_EQ(saved, 0);
        EXPECT_EQ(manager.sysGetLastError(), c.code);
        EXPECT_THAT(lastMessage(), HasSubstr(std::wstring(c.named.begin(), c.named.end())));
        EXPECT_THAT(lastMessage(), HasSubstr(L"another user"));
        EXPECT_EQ(fs::exists(fs::symlink_status(path)), wasThere);
    }
    EXPECT_EQ(files.read("shared/y.wavparts/clap.wav"), "nobody's clap");

    // A song without WAV parts needs no parts folder, and leaves another user's where it is.
    ASSERT_NE(manager.fileLoadKorFile(songWithoutWavParts("b").c_str()), nullptr);
    ASSERT_EQ(manager.fileSaveKorFile(files.wide("shared/x.korx").c_str()), 1) << lastMessage();
    EXPECT_TRUE(fs::is_directory(shared + "/x.wavparts"));
}

namespace {

// One of two processes saving one path: it loads `song`, then answers each request of the
// parent ('s': save to `target`, 'e': save to `elsewhere`) with '1' or '0' for the save's result,
// until the parent closes the pipe.
struct Saver {
    pid_t pid = -1;
    int ask = -1;
    int answer = -1;

    void start(const std::wstring& song, const std::wstring& target,
               const std::wstring& elsewhere) {
        int toChild[2];
        int toParent[2];
        ASSERT_EQ(::pipe(toChild), 0);
        ASSERT_EQ(::pipe(toParent), 0);
        pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(toChild[1]);
            ::close(toParent[0]);
            CZRKorManagerIF manager;
            const bool loaded = manager.sysInitialize(kor::test::loadingPolicy()) == 1 &&
                                manager.fileLoadKorFile(song.c_str()) != nullptr;
            char request = 0;
            while (::read(toChild[0], &request, 1) == 1) {
                const std::wstring& path = request == 'e' ? elsewhere : target;
                const char result =
                    loaded && manager.fileSaveKorFile(path.c_str()) == 1 ? '1' : '0';
                if (::write(toParent[1], &result, 1) != 1) break;
            }
            ::_exit(0);
        }
        ::close(toChild[0]);
        ::close(toParent[1]);
        ask = toChild[1];
        answer = toParent[0];
    }
    void request(char what) const { ASSERT_EQ(::write(ask, &what, 1), 1); }
    bool saved() const {
        char result = 0;
        return ::read(answer, &result, 1) == 1 && result == '1';
    }
    ~Saver() {
        if (pid <= 0) return;
        ::close(ask);
        ::close(answer);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
};

} // namespace

TEST_F(SaveSafety, TwoProcessesSavingOnePathNeverLoseAWavFile) {
    // A long clap keeps the copy going while the other process saves.
    const std::wstring withClap = songWithClap("a", 20);
    const std::wstring withoutClap = songWithoutWavParts("b");
    fs::create_directories(files.path() + "/shared");
    fs::create_directories(files.path() + "/elsewhere");
    const std::wstring target = files.wide("shared/song.korx");
    Saver savers[2];
    savers[0].start(withClap, target, files.wide("elsewhere/with.korx"));
    savers[1].start(withoutClap, target, files.wide("elsewhere/without.korx"));
    for (int round = 1; round <= 15; ++round) {
        SCOPED_TRACE(round);
        for (const Saver& saver : savers)
            ASSERT_NO_FATAL_FAILURE(saver.request('s'));
        for (const Saver& saver : savers)
            EXPECT_TRUE(saver.saved());
        EXPECT_TRUE(loadsWhole(target)) << lastMessage();
    }
    // Both open songs still save, wherever their files went meanwhile.
    for (const Saver& saver : savers) {
        ASSERT_NO_FATAL_FAILURE(saver.request('e'));
        EXPECT_TRUE(saver.saved());
    }
    EXPECT_TRUE(loadsWhole(files.wide("elsewhere/with.korx"))) << lastMessage();
    EXPECT_EQ(files.read("elsewhere/with.wavparts/clap.wav"),
              files.read("a/full.wavparts/clap.wav"));
}
