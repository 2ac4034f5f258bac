#include "interchange/MusicXmlArchive.h"

#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <zip.h>

#include <filesystem>
#include <map>

namespace {

const std::string kContainer =
    "<?xml version='1.0'?><container><rootfiles>"
    "<rootfile full-path='scores/song.xml' media-type='application/vnd.recordare.musicxml+xml'/>"
    "<rootfile full-path='decoy.xml'/></rootfiles></container>";

// Writes a zip archive of `entries` (name, content) at `path`.
void writeZip(const std::string& path, const std::map<std::string, std::string>& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

} // namespace

TEST(MusicXmlArchive, InflatesOnlyTheFirstRootFileTheContainerNames) {
    kor::test::TempDir dir;
    writeZip(dir.path() + "/song.mxl", {{"META-INF/container.xml", kContainer},
                                        {"scores/song.xml", "<score-partwise/>"},
                                        {"decoy.xml", "<decoy/>"}});
    std::string document;
    std::wstring rootFile;
    std::wstring message;
    ASSERT_EQ(kor::readMusicXmlArchive(dir.wide("song.mxl"), document, rootFile, message), 0u);
    EXPECT_EQ(document, "<score-partwise/>");
    EXPECT_EQ(rootFile, L"scores/song.xml");

    const std::filesystem::path chorale =
        std::filesystem::path(KORMAN_MUSICXML_SAMPLES_DIR) / "bach" / "bwv1.6.mxl";
    if (!std::filesystem::exists(chorale)) GTEST_SKIP() << "no chorale at " << chorale;
    ASSERT_EQ(kor::readMusicXmlArchive(chorale.wstring(), document, rootFile, message), 0u);
    EXPECT_EQ(rootFile, L"bwv1.6.xml");
    EXPECT_NE(document.find("<score-partwise"), std::string::npos);
}

TEST(MusicXmlArchive, RefusesDamagedArchivesAndScoresBeyondTheirBound) {
    kor::test::TempDir dir;
    struct Case {
        const char* name;
        std::map<std::string, std::string> entries;
        std::uint32_t code;
    };
    const std::string score = "<score-partwise>" + std::string(2000, ' ') + "</score-partwise>";
    const Case cases[] = {
        {"no container", {{"scores/song.xml", score}}, ZR_E_INVALID_MUSICXML_ARCHIVE},
        {"no root file",
         {{"META-INF/container.xml", "<container/>"}},
         ZR_E_INVALID_MUSICXML_ARCHIVE},
        {"missing root file",
         {{"META-INF/container.xml", kContainer}},
         ZR_E_INVALID_MUSICXML_ARCHIVE},
        {"malformed container", {{"META-INF/container.xml", "<container>"}}, ZR_E_INVALID_XML_FILE},
        // The score inflates to more than the bound of 1000 bytes it is read with.
        {"bomb",
         {{"META-INF/container.xml", kContainer}, {"scores/song.xml", score}},
         ZR_E_INVALID_MUSICXML_ARCHIVE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeZip(dir.path() + "/song.mxl", c.entries);
        std::string document;
        std::wstring rootFile;
        std::wstring message;
        EXPECT_EQ(kor::readMusicXmlArchive(dir.wide("song.mxl"), document, rootFile, message, 1000),
                  c.code);
        EXPECT_FALSE(message.empty());
        EXPECT_TRUE(document.empty());
    }
    dir.write("cut.mxl", std::string("PK\3\4", 4) + "not really a zip");
    std::string document;
    std::wstring rootFile;
    std::wstring message;
    EXPECT_EQ(kor::readMusicXmlArchive(dir.wide("cut.mxl"), document, rootFile, message),
              ZR_E_INVALID_MUSICXML_ARCHIVE);
    EXPECT_EQ(kor::readMusicXmlArchive(dir.wide("missing.mxl"), document, rootFile, message),
              ZR_E_FILE_NOT_FOUND);
}
