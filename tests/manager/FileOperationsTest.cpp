#include "manager/FileOperations.h"
#include "model/KorRoot.h"
#include "support/FaultyFileCalls.h"
#include "builders/LegacyFileBuilder.h"
#include "support/ManagerFixture.h"
#include "builders/SmfBuilder.h"
#include "support/SongFiles.h"
#include "builders/WavBuilder.h"

#include <korman/korman.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

// Every entry below a folder with the bytes of its files, to compare whole folders at once.
std::map<std::string, std::string> folderContent(const std::string& folder) {
    std::map<std::string, std::string> content;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        content[std::filesystem::relative(entry.path(), folder).string()] =
            entry.is_directory() ? "(folder)" : kor::test::readFile(entry.path().string());
    return content;
}

const std::string kFullSong = std::string(KORMAN_TEST_DATA_DIR) + "/kor3/full.korx";
const std::string kKor4Song = std::string(KORMAN_TEST_DATA_DIR) + "/kor4/song.korx";

// The song at `path` with an element no song format knows in front of its version.
std::string withUnknownElement(const std::string& path) {
    std::string song = kor::test::readFile(path);
    return song.insert(song.find("<version>"), "<surprise/>");
}

class FileOps : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(manager.sysInitialize(kor::test::loadingPolicy()), 1);
    }

    /// The full test song beside a mono clap in its WAV parts folder.
    std::wstring fullSongWithClap(int channels = 1) {
        files.write("full.korx", kor::test::readFile(kFullSong));
        std::filesystem::create_directory(files.path() + "/full.wavparts");
        files.write("full.wavparts/clap.wav",
                    kor::test::WavBuilder()
                        .fmt(1, static_cast<std::uint16_t>(channels), 44100, 16)
                        .data(std::string(4 * 44100 * channels, '\0')) // two seconds
                        .bytes());
        return files.wide("full.korx");
    }
    IZRSequence* song() { return manager.korGetCurrentSequence()->getSequence(); }
    template <class T> T* as(IZRKorObject* obj) { return dynamic_cast<T*>(obj); }
    IZRWAVPart* clap() { return as<IZRWAVPart>(song()->getSETrack()->getWAVPartList()->getAt(0)); }
    std::wstring lastMessage() const { return manager.sysGetLastErrorMsg(); }

    CZRKorManagerIF manager;
    kor::test::TempDir files;
};

} // namespace

TEST_F(FileOps, TellsTheKindOfEachFile) {
    EXPECT_EQ(manager.fileGetFileFormat(nullptr), ZR_FILE_FORMAT_UNKNOWN);
    EXPECT_EQ(manager.fileGetFileFormat(fullSongWithClap().c_str()), ZR_FILE_FORMAT_KOR3);
    kor::test::SmfBuilder format0(0);
    format0.addTrack().noteOn(0, 0, 60, 100);
    files.write("zero.mid", format0.bytes());
    EXPECT_EQ(manager.fileGetFileFormat(files.wide("zero.mid").c_str()), ZR_FILE_FORMAT_SMF0);
    kor::test::SmfBuilder format1(1);
    format1.addTrack();
    files.write("one.mid", format1.bytes());
    EXPECT_EQ(manager.fileGetFileFormat(files.wide("one.mid").c_str()), ZR_FILE_FORMAT_SMF1);
    for (const auto& [version, format] :
         {std::pair{"KOR201", ZR_FILE_FORMAT_LEGACY2}, {"KOR202", ZR_FILE_FORMAT_LEGACY3}}) {
        kor::test::LegacyFileBuilder legacy;
        legacy.singingTrack(std::string("[Common]\nVersion=") + version + "\n");
        files.write("legacy.kor", legacy.bytes());
        EXPECT_EQ(manager.fileGetFileFormat(files.wide("legacy.kor").c_str()), format) << version;
    }
    files.write("text.txt", "neither a song nor a MIDI file");
    EXPECT_EQ(manager.fileGetFileFormat(files.wide("text.txt").c_str()), ZR_FILE_FORMAT_UNKNOWN);
    EXPECT_EQ(manager.fileGetFileFormat(files.wide("missing").c_str()), ZR_FILE_FORMAT_UNKNOWN);
    EXPECT_EQ(CZRKorManagerIF().fileGetFileFormat(files.wide("zero.mid").c_str()),
              ZR_FILE_FORMAT_UNKNOWN);
}

TEST_F(FileOps, AFailedLoadLeavesNoSongAndReportsTheKor3Reader) {
    files.write("text.korx", "neither a song nor a MIDI file");
    files.write("truncated.korx", kor::test::readFile(kFullSong).substr(0, 900));
    // Each message says more than the code's text: where the reader stopped, or why the file
    // cannot be opened.
    const struct {
        std::wstring path;
        std::uint32_t code;
    } rows[] = {
        {files.wide("text.korx"), ZR_E_INVALID_KOR3_FILE},
        {files.wide("truncated.korx"), ZR_E_INVALID_KOR3_FILE},
        {files.wide("missing.korx"), ZR_E_FILE_NOT_FOUND},
    };
    for (const auto& row : rows) {
        ASSERT_NE(manager.korCreateNewSequence(L"", L"", 1), nullptr);
        EXPECT_EQ(manager.fileLoadKorFile(row.path.c_str()), nullptr);
        EXPECT_EQ(manager.sysGetLastError(), row.code);
        EXPECT_NE(lastMessage(), manager.sysGetErrorMsg(row.code));
        EXPECT_EQ(manager.korGetCurrentSequence(), nullptr);
        EXPECT_EQ(manager.fileGetCurrentFilePath(), nullptr);
        EXPECT_NE(manager.editGetCurrentCommitPoint(), 0u);
    }
    EXPECT_EQ(manager.fileLoadKorFile(nullptr), nullptr);
}

TEST_F(FileOps, AScoreThatCannotBeReadSaysWhyAndLeavesNothingBehind) {
    files.write("timewise.musicxml", "<?xml version='1.0'?><score-timewise/>");
    const std::wstring path = files.wide("timewise.musicxml");
    EXPECT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_MUSICXML);
    std::vector<ZRMusicXMLPartImportDirective> directives(1);
    EXPECT_EQ(manager.fileGetMusicXMLImportDirective(path.c_str(), directives), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_MUSICXML);
    EXPECT_NE(lastMessage().find(L"score-timewise"), std::wstring::npos) << lastMessage();
    EXPECT_TRUE(directives.empty());
    EXPECT_EQ(manager.fileImportMusicXML(path.c_str(), 1, directives), nullptr);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_MUSICXML);
    EXPECT_EQ(manager.fileGetImportFilePath(), nullptr);
    EXPECT_EQ(manager.fileGetMusicXMLImportDirective(nullptr, directives), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_FILE_NOT_FOUND);
}

TEST_F(FileOps, ADamagedSongIsOfNoKindAndItsLoadNamesWhatIsWrong) {
    files.write("truncated.korx", kor::test::readFile(kFullSong).substr(0, 900));
    files.write("kor3.korx", withUnknownElement(kFullSong));
    files.write("kor4.korx", withUnknownElement(kKor4Song));
    files.write("other.korx", "<?xml version='1.0'?><notakor/>");
    // Every file that is no song is reported with the KOR3 code, but each message names what is
    // wrong: the user must learn which element of a KOR4 file is wrong, not that the KOR3 reader
    // does not know a KOR4 root.
    const struct {
        const char* name;
        const wchar_t* wrong;
    } rows[] = {
        {"truncated.korx", L"line"},
        {"kor3.korx", L"surprise"},
        {"kor4.korx", L"surprise"},
        {"other.korx", L"notakor"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring path = files.wide(row.name);
        EXPECT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_UNKNOWN);
        EXPECT_EQ(manager.fileLoadKorFile(path.c_str()), nullptr);
        EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_KOR3_FILE);
        EXPECT_NE(lastMessage().find(row.wrong), std::wstring::npos) << lastMessage();
        EXPECT_EQ(lastMessage().find(L"'kor4'"), std::wstring::npos) << lastMessage();
    }
}

TEST_F(FileOps, ADetectionAndTheLoadThatFollowsReadTheSongOnce) {
    const std::wstring path = fullSongWithClap();
    const std::uint64_t before = kor::songFilesRead();
    ASSERT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_KOR3);
    ASSERT_NE(manager.fileLoadKorFile(path.c_str()), nullptr) << lastMessage();
    EXPECT_EQ(kor::songFilesRead() - before, 1u);
    EXPECT_EQ(manager.fileGetCurrentFilePath(), path);
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_KOR3);
    // An import takes the detected song as a load does; the song goes with it, so the next load
    // reads the file again.
    ASSERT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_KOR3);
    ASSERT_NE(manager.fileImportKorFile(path.c_str()), nullptr) << lastMessage();
    EXPECT_EQ(manager.fileGetImportFilePath(), path);
    ASSERT_NE(manager.fileLoadKorFile(path.c_str()), nullptr) << lastMessage();
    EXPECT_EQ(kor::songFilesRead() - before, 3u);
}

TEST_F(FileOps, AFileChangedAfterItsDetectionIsReadAgain) {
    const std::wstring path = fullSongWithClap();
    const std::filesystem::path file = files.path() + "/full.korx";
    // The same bytes, modified later.
    ASSERT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_KOR3);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) +
                                               std::chrono::seconds(1));
    const std::uint64_t before = kor::songFilesRead();
    ASSERT_NE(manager.fileLoadKorFile(path.c_str()), nullptr) << lastMessage();
    EXPECT_EQ(kor::songFilesRead() - before, 1u);
    // Another song in its place: the load gives the song the file holds now.
    ASSERT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_KOR3);
    files.write("full.korx", kor::test::readFile(kKor4Song));
    ASSERT_NE(manager.fileLoadKorFile(path.c_str()), nullptr) << lastMessage();
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_KOR4);
}

TEST_F(FileOps, ImportingFillsOnlyTheImportBuffer) {
    const std::wstring path = fullSongWithClap();
    IZRKorRoot* current = manager.korCreateNewSequence(L"", L"", 1);
    IZRKorRoot* imported = manager.fileImportKorFile(path.c_str());
    ASSERT_NE(imported, nullptr) << lastMessage();
    EXPECT_EQ(manager.korGetCurrentSequence(), current);
    EXPECT_EQ(manager.korGetKorObjectFromImportBuffer(imported->getObjID()), imported);
    EXPECT_EQ(manager.fileGetImportFilePath(), path);
    EXPECT_EQ(manager.fileGetImportFileFormat(), ZR_FILE_FORMAT_KOR3);
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_UNKNOWN);

    files.write("text.korx", "no song");
    EXPECT_EQ(manager.fileImportKorFile(files.wide("text.korx").c_str()), nullptr);
    EXPECT_EQ(manager.fileGetImportFilePath(), nullptr);
    EXPECT_EQ(manager.fileGetImportFileFormat(), ZR_FILE_FORMAT_UNKNOWN);
    EXPECT_EQ(manager.korGetCurrentSequence(), current);
}

TEST_F(FileOps, LoadsLegacyAndMidiFilesWithTheirKind) {
    kor::test::LegacyFileBuilder legacy;
    legacy.singingTrack("[Common]\nVersion=KOR201\nName=Voice\n[EventList]\n0=E0,E1\n"
                        "[E0]\nType=Singer\nIconHandle=S0\n[S0]\nLanguage=5\nProgram=7\n"
                        "[E1]\nType=Anote\nLength=480\nNote#=60\n");
    files.write("legacy.kor", legacy.bytes());
    ASSERT_NE(manager.fileLoadLegacyKorFile(files.wide("legacy.kor").c_str(), 2), nullptr)
        << lastMessage();
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_LEGACY2);
    EXPECT_EQ(manager.korGetCurrentMasterTrack()->getPreMeasure(), 2);
    // The song's singer has no voice in the database: it sings the default voice instead.
    std::vector<ZRSingerConvertInfo> singers;
    manager.vvoiceGetSingerConvertTable(singers);
    ASSERT_EQ(singers.size(), 1u);
    EXPECT_EQ(
        std::make_tuple(singers[0].oldBS, singers[0].oldPC, singers[0].newBS, singers[0].newPC),
        std::make_tuple(5, 7, 0, 3));
    ASSERT_NE(manager.fileImportLegacyKorFile(files.wide("legacy.kor").c_str(), 932, 1), nullptr);
    EXPECT_EQ(manager.fileGetImportFileFormat(), ZR_FILE_FORMAT_LEGACY2);

    kor::test::SmfBuilder smf(0);
    smf.addTrack().noteOn(0, 1, 60, 100).noteOff(480, 1, 60);
    files.write("song.mid", smf.bytes());
    std::vector<ZRSMFTrackImportDirective> directives;
    ASSERT_EQ(manager.fileGetSMFImportDirective(files.wide("song.mid").c_str(), 1, directives), 1);
    ASSERT_EQ(directives.size(), 16u);
    ASSERT_NE(manager.fileLoadSMF(files.wide("song.mid").c_str(), 1, 1, directives), nullptr)
        << lastMessage();
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_SMF0);
    EXPECT_EQ(song()->getZRTrackList()->getCount(), 1u);

    EXPECT_EQ(manager.fileLoadSMF(files.wide("song.mid").c_str(), 0, 1, directives), nullptr);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(manager.korGetCurrentSequence(), nullptr);
    EXPECT_EQ(manager.fileGetSMFImportDirective(files.wide("legacy.kor").c_str(), 0, directives),
              0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_SMF);
    EXPECT_TRUE(directives.empty());
}

TEST_F(FileOps, SurveysTheLinesOfALegacySongItsCodePageCannotConvert) {
    kor::test::LegacyFileBuilder legacy;
    legacy.singingTrack("[Common]\nVersion=KOR201\nName=\x83\x65\x83\x58\x83\x67\n"
                        "Comment=\x82\xA0\n[EventList]\n0=E0\n"
                        "[E0]\nType=Anote\nLength=480\nNote#=60\n");
    files.write("legacy.kor", legacy.bytes());
    const std::wstring path = files.wide("legacy.kor");
    ZRLegacySongSurvey survey;
    ASSERT_EQ(manager.fileGetLegacySongSurvey(path.c_str(), 65001, survey), 1) << lastMessage();
    EXPECT_EQ(std::make_pair(survey.codePage, survey.unconvertedTextCount),
              std::make_pair(65001u, 2));
    ASSERT_EQ(manager.fileGetLegacySongSurvey(path.c_str(), 932, survey), 1);
    EXPECT_EQ(std::make_pair(survey.codePage, survey.unconvertedTextCount),
              std::make_pair(932u, 0));

    kor::test::SmfBuilder smf(0);
    smf.addTrack().noteOn(0, 1, 60, 100).noteOff(480, 1, 60);
    files.write("song.mid", smf.bytes());
    EXPECT_EQ(manager.fileGetLegacySongSurvey(files.wide("song.mid").c_str(), 932, survey), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_INVALID_KOR_FILE);
    EXPECT_EQ(manager.fileGetLegacySongSurvey(nullptr, 932, survey), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_FILE_NOT_FOUND);
}

TEST_F(FileOps, LoadsAKor4SongOnceTheKor3ReaderRefusesIt) {
    const std::wstring path = L"" KORMAN_TEST_DATA_DIR "/kor4/song.korx";
    EXPECT_EQ(manager.fileGetFileFormat(path.c_str()), ZR_FILE_FORMAT_KOR4);
    ASSERT_NE(manager.fileLoadKorFile(path.c_str()), nullptr) << lastMessage();
    EXPECT_EQ(manager.sysGetLastError(), 0u);
    EXPECT_EQ(lastMessage(), L"OK");
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_KOR4);
}

TEST_F(FileOps, SavingCarriesTheWavPartFilesToTheFolderBesideTheNewFile) {
    ASSERT_NE(manager.fileLoadKorFile(fullSongWithClap().c_str()), nullptr);
    ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 3, L"Renamed", ZRVVoiceParam{}), 1);
    const std::string clapBytes = files.read("full.wavparts/clap.wav");
    std::filesystem::create_directory(files.path() + "/a");
    const std::wstring first = files.wide("a/first.korx");
    ASSERT_EQ(manager.fileSaveKorFile(first.c_str()), 1) << lastMessage();
    EXPECT_EQ(lastMessage(), L"OK");
    EXPECT_EQ(manager.fileGetCurrentFilePath(), first);
    EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_KOR3);
    EXPECT_EQ(manager.vvoiceIsModified(), 0);
    EXPECT_EQ(files.read("a/first.wavparts/clap.wav"), clapBytes);

    // The saved song finds its clap beside it, and takes it along to the next place.
    ASSERT_NE(manager.fileLoadKorFile(first.c_str()), nullptr) << lastMessage();
    std::vector<std::uint32_t> dangling{1};
    ASSERT_EQ(manager.fileGetDanglingWAVPartList(dangling), 1);
    EXPECT_TRUE(dangling.empty());
    std::wstring actual;
    ASSERT_EQ(manager.fileGetActualWAVFilePath(clap()->getObjID(), actual), 1);
    EXPECT_EQ(actual, files.wide("a/first.wavparts/clap.wav"));
    EXPECT_EQ(manager.fileGetActualWAVFilePath(song()->getObjID(), actual), 0);
    EXPECT_STREQ(manager.fileGetTemporaryFilePath(), L""); // only a new song has one
    EXPECT_NE(manager.vvoiceGetVVoice(1, 0), nullptr);
    const std::wstring second = files.wide("second.korx");
    files.write("second.wavparts", "a plain file in the way");
    ASSERT_EQ(manager.fileSaveKorFile(second.c_str()), 1) << lastMessage();
    EXPECT_EQ(files.read("second.wavparts/clap.wav"), clapBytes);
    ASSERT_EQ(manager.fileSaveKorFile(second.c_str()), 1); // onto itself
    EXPECT_EQ(files.read("second.wavparts/clap.wav"), clapBytes);
}

TEST_F(FileOps, AFailedSaveLeavesThePreviousSongAndItsWavPartsAsTheyWere) {
    // The song plays a mono clap and a stereo backing from its parts folder.
    const std::wstring source = fullSongWithClap();
    std::string text = kor::test::readFile(kFullSong);
    const std::string karaoke = "<karaokeTrack>\n\t</karaokeTrack>";
    ASSERT_NE(text.find(karaoke), std::string::npos);
    text.replace(text.find(karaoke), karaoke.size(),
                 "<karaokeTrack>\n<wavPart><posTick>0</posTick><playTime>1920</playTime>"
                 "<partName>Backing</partName><comment></comment><sampleRate>44100</sampleRate>"
                 "<sampleReso>16</sampleReso><channels>2</channels>"
                 "<filePath>backing.wav</filePath></wavPart>\n</karaokeTrack>");
    files.write("full.korx", text);
    files.write(
        "full.wavparts/backing.wav",
        kor::test::WavBuilder().fmt(1, 2, 44100, 16).data(std::string(8 * 44100, '\x11')).bytes());
    const std::string old = files.path() + "/old";
    const std::wstring target = files.wide("old/song.korx");

    // The place saved to holds an older save, with a file of its own in the parts folder.
    const auto plantOldSave = [&] {
        std::filesystem::remove_all(old);
        std::filesystem::create_directories(old + "/song.wavparts");
        files.write("old/song.korx", "the previous song");
        files.write("old/song.wavparts/clap.wav", "the previous clap");
        files.write("old/song.wavparts/backing.wav", "the previous backing");
        files.write("old/song.wavparts/notes.txt", "the user's");
    };
    const auto loadAndChange = [&] {
        ASSERT_NE(manager.fileLoadKorFile(source.c_str()), nullptr) << lastMessage();
        ASSERT_EQ(manager.vvoiceUpdateVVoice(0, 3, L"Renamed", ZRVVoiceParam{}), 1);
    };
    for (const bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "hard links" : "no hard links");
        ASSERT_NO_FATAL_FAILURE(loadAndChange());
        std::vector<std::uint32_t> dangling{1};
        ASSERT_EQ(manager.fileGetDanglingWAVPartList(dangling), 1);
        ASSERT_TRUE(dangling.empty());
        plantOldSave();
        const auto before = folderContent(old);
        const auto unchanged = [&] {
            EXPECT_EQ(folderContent(old), before);
            EXPECT_EQ(manager.fileGetCurrentFilePath(), source);
            EXPECT_EQ(manager.vvoiceIsModified(), 1);
        };

        // Fail each file call of the save in turn, writing in short pieces, until none fails.
        // Every failure before the files are all in place fails the save, and says so; one
        // while flushing the folders after that no longer undoes it.
        std::set<std::uint32_t> codes;
        int failAt = 1;
        for (;; ++failAt) {
            ASSERT_LT(failAt, 2000);
            SCOPED_TRACE(failAt);
            const kor::test::FaultyFileCalls faults({failAt, true, !hardLinks});
            const int saved = manager.fileSaveKorFile(target.c_str());
            if (!faults.fired()) {
                ASSERT_EQ(saved, 1) << lastMessage();
                break;
            }
            if (saved == 1) {
                EXPECT_EQ(faults.renamesAfterFailure(), 0) << "a failed step went unreported";
                ASSERT_NO_FATAL_FAILURE(loadAndChange());
                plantOldSave();
                continue;
            }
            codes.insert(manager.sysGetLastError());
            EXPECT_NE(lastMessage(), L"OK");
            unchanged();
        }
        EXPECT_EQ(codes,
                  (std::set<std::uint32_t>{ZR_E_CANNOT_SAVE_FILE, ZR_E_CANNOT_SAVE_WAV_FILE}));
        EXPECT_GT(failAt, 100);

        auto after = before;
        after["song.korx"] = files.read("old/song.korx");
        after["song.wavparts/clap.wav"] = files.read("full.wavparts/clap.wav");
        after["song.wavparts/backing.wav"] = files.read("full.wavparts/backing.wav");
        EXPECT_EQ(folderContent(old), after);
        EXPECT_EQ(manager.fileGetCurrentFilePath(), target);
        EXPECT_EQ(manager.vvoiceIsModified(), 0);
        ASSERT_NE(manager.fileLoadKorFile(target.c_str()), nullptr) << lastMessage();
        ASSERT_EQ(manager.fileGetDanglingWAVPartList(dangling), 1);
        EXPECT_TRUE(dangling.empty());
    }
}

TEST_F(FileOps, SavingAndExportingThroughALinkWriteTheFileItNames) {
    ASSERT_NE(manager.fileLoadKorFile(fullSongWithClap().c_str()), nullptr);
    std::filesystem::create_directory(files.path() + "/real");
    files.write("real/song.korx", "before");
    std::filesystem::create_symlink("real/song.korx", files.path() + "/song.korx");
    std::filesystem::create_symlink("real/lead.korx", files.path() + "/lead.korx"); // no file yet
    ASSERT_EQ(manager.fileSaveKorFile(files.wide("song.korx").c_str()), 1) << lastMessage();
    ASSERT_EQ(manager.fileExportZRTrack(song()->findZRTrack(0)->getObjID(),
                                        files.wide("lead.korx").c_str()),
              1)
        << lastMessage();

    for (const char* name : {"song.korx", "lead.korx"}) {
        EXPECT_TRUE(std::filesystem::is_symlink(files.path() + "/" + name)) << name;
        ASSERT_NE(manager.fileLoadKorFile(files.wide(name).c_str()), nullptr) << lastMessage();
    }
    EXPECT_EQ(folderContent(files.path() + "/real").size(), 2u); // no temporary file left there
    // The parts folder goes beside the name the song was saved under, where loading looks.
    EXPECT_EQ(files.read("song.wavparts/clap.wav"), files.read("full.wavparts/clap.wav"));

    // A part exports as the one part of a default track; each export takes only its own kind.
    const IZRKorObject* lead = song()->findZRTrack(0);
    const IZRKorObject* verse = song()->findZRTrack(0)->getPartList()->getAt(0);
    EXPECT_EQ(manager.fileExportMusicalPart(lead->getObjID(), files.wide("x.korx").c_str()), 0);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_EXPORT_TARGET_NOT_FOUND);
    EXPECT_EQ(manager.fileExportZRTrack(verse->getObjID(), files.wide("x.korx").c_str()), 0);
    EXPECT_EQ(manager.fileExportMusicalPart(verse->getObjID(), nullptr), 0);
    ASSERT_EQ(manager.fileExportMusicalPart(verse->getObjID(), files.wide("verse.korx").c_str()), 1)
        << lastMessage();
    ASSERT_NE(manager.fileLoadKorFile(files.wide("verse.korx").c_str()), nullptr) << lastMessage();
    ASSERT_EQ(song()->getZRTrackList()->getCount(), 1u);
    EXPECT_EQ(song()->findZRTrack(0)->getName(), L"Track");
    EXPECT_EQ(song()->findZRTrack(0)->getPartList()->getCount(), 1u);
    EXPECT_FALSE(std::filesystem::exists(files.path() + "/x.korx"));
}

// Songs made by others with other tools, unpacked into the build tree when it was configured.
TEST_F(FileOps, ImportsRealSongsTrackByTrackAndLoadsThemBackAfterSaving) {
    std::vector<std::filesystem::path> songs;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_MIDI_SAMPLES_DIR, ec))
        if (entry.path().extension() == ".mid") songs.push_back(entry.path());
    if (songs.empty()) GTEST_SKIP() << "no MIDI songs in " KORMAN_MIDI_SAMPLES_DIR;

    for (const auto& file : songs) {
        SCOPED_TRACE(file.filename().string());
        const std::wstring path = file.wstring();
        std::vector<ZRSMFTrackImportDirective> directives;
        ASSERT_EQ(manager.fileGetSMFImportDirective(path.c_str(), 0, directives), 1);
        std::vector<int> counts;
        for (ZRSMFTrackImportDirective& directive : directives) {
            if (counts.size() == 16) directive.importSwitch = 0;
            if (directive.importSwitch == 1) counts.push_back(directive.noteCount);
        }
        ASSERT_FALSE(counts.empty());
        ASSERT_NE(manager.fileLoadSMF(path.c_str(), 1, 0, directives), nullptr) << lastMessage();
        const std::wstring saved = files.wide("song.korx");
        ASSERT_EQ(manager.fileSaveKorFile(saved.c_str()), 1) << lastMessage();
        ASSERT_NE(manager.fileLoadKorFile(saved.c_str()), nullptr) << lastMessage();
        ASSERT_EQ(song()->getZRTrackList()->getCount(), counts.size());
        for (std::uint32_t i = 0; i < counts.size(); ++i)
            EXPECT_EQ(as<IZRMusicalPart>(
                          song()->findZRTrack(static_cast<int>(i))->getPartList()->getAt(0))
                          ->getNoteList()
                          ->getCount(),
                      static_cast<std::uint32_t>(counts[i]))
                << i;
    }
}

// Whatever a loader makes of a song of any kind (the test songs, the bundled samples and the real
// MIDI songs when they were fetched) saves and loads back as it was.
TEST_F(FileOps, EverySongALoaderReadsSavesAndLoadsBackUnchanged) {
    const std::string data = KORMAN_TEST_DATA_DIR;
    const std::string samples = KORMAN_SAMPLES_DIR;
    std::vector<std::string> songs{data + "/kor3/full.korx",      data + "/kor3/golden.korx",
                                   data + "/kor4/song.korx",      data + "/kor4/song-kor3.korx",
                                   samples + "/morning-walk.kor", samples + "/morning-walk.korx",
                                   samples + "/morning-walk.mid"};
    // A few of the real songs keep the test short; their tracks are tried one by one above.
    std::vector<std::string> real;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_MIDI_SAMPLES_DIR, ec))
        if (entry.path().extension() == ".mid") real.push_back(entry.path().string());
    std::sort(real.begin(), real.end());
    songs.insert(songs.end(), real.begin(),
                 real.begin() + std::min<std::ptrdiff_t>(3, std::ssize(real)));
    // Scores, plain and compressed, when the real ones are there; one has part names broken
    // over lines.
    const std::string scores = KORMAN_MUSICXML_SAMPLES_DIR;
    for (const std::string score :
         {"/lilypond-suite/61a-Lyrics.xml",
          "/lilypond-suite/41e-StaffGroups-InstrumentNames-Linebroken.xml", "/bach/bwv10.7.mxl"})
        if (std::filesystem::exists(scores + score)) songs.push_back(scores + score);
    const auto dump = [this] {
        return kor::test::dumpAsSaved(
            *dynamic_cast<const CZRKorRoot*>(manager.korGetCurrentSequence()));
    };
    const std::wstring saved = files.wide("saved.korx");
    for (const std::string& song : songs) {
        SCOPED_TRACE(song);
        const std::wstring path(song.begin(), song.end());
        IZRKorRoot* loaded = nullptr;
        switch (manager.fileGetFileFormat(path.c_str())) {
        case ZR_FILE_FORMAT_KOR3:
        case ZR_FILE_FORMAT_KOR4:
            loaded = manager.fileLoadKorFile(path.c_str());
            break;
        case ZR_FILE_FORMAT_LEGACY2:
        case ZR_FILE_FORMAT_LEGACY3:
            loaded = manager.fileLoadLegacyKorFile(path.c_str(), 1);
            break;
        case ZR_FILE_FORMAT_SMF0:
        case ZR_FILE_FORMAT_SMF1: {
            std::vector<ZRSMFTrackImportDirective> directives;
            ASSERT_EQ(manager.fileGetSMFImportDirective(path.c_str(), 0, directives), 1);
            loaded = manager.fileLoadSMF(path.c_str(), 1, 0, directives);
            break;
        }
        case ZR_FILE_FORMAT_MUSICXML: {
            std::vector<ZRMusicXMLPartImportDirective> directives;
            ASSERT_EQ(manager.fileGetMusicXMLImportDirective(path.c_str(), directives), 1);
            loaded = manager.fileLoadMusicXML(path.c_str(), 1, directives);
            EXPECT_EQ(manager.fileGetCurrentFileFormat(), ZR_FILE_FORMAT_MUSICXML);
            break;
        }
        case ZR_FILE_FORMAT_UNKNOWN:
            break;
        }
        ASSERT_NE(loaded, nullptr) << lastMessage();
        const std::string before = dump();
        ASSERT_EQ(manager.fileSaveKorFile(saved.c_str()), 1) << lastMessage();
        ASSERT_NE(manager.fileLoadKorFile(saved.c_str()), nullptr) << lastMessage();
        EXPECT_EQ(dump(), before);
    }
}
