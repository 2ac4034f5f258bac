#include "interchange/MusicXmlArchive.h"

#include "support/TempDir.h"
#include "support/ZipFile.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

using kor::test::writeZip;

const std::string kContainer =
    "<?xml version='1.0'?><container><rootfiles>"
    "<rootfile full-path='scores/song.xml' media-type='application/vnd.recordare.musicxml+xml'/>"
    "<rootfile full-path='decoy.xml'/></rootfiles></container>";

// Opens `archive` at `path` and inflates its score into `score`: the code of the open, else of
// the score's failure.
std::uint32_t inflate(kor::CZRMusicXmlArchive& archive, const std::wstring& path,
                      std::string& score) {
    score.clear();
    if (const std::uint32_t code = archive.open(path)) return code;
    std::byte block[4096];
    while (const std::size_t count = archive.read(block, sizeof block))
        score.append(reinterpret_cast<const char*>(block), count);
    return archive.failure();
}

// Makes the entry `name` of the zip archive `zip` declare `size` inflated bytes, in its local
// header and in the central directory, as an archive built to deceive a reader does.
void declareSize(std::string& zip, const std::string& name, std::uint32_t size) {
    const auto patch = [&](const std::string& signature, std::size_t nameAt, std::size_t sizeAt) {
        for (std::size_t at = zip.find(signature); at != std::string::npos;
             at = zip.find(signature, at + 1))
            if (zip.compare(at + nameAt, name.size(), name) == 0)
                for (int i = 0; i < 4; ++i)
                    zip[at + sizeAt + i] = static_cast<char>(size >> (8 * i));
    };
    patch(std::string("PK\3\4", 4), 30, 22);
    patch(std::string("PK\1\2", 4), 46, 24);
}

} // namespace

TEST(MusicXmlArchive, InflatesOnlyTheFirstRootFileTheContainerNames) {
    kor::test::TempDir dir;
    writeZip(dir.path() + "/song.mxl", {{"META-INF/container.xml", kContainer},
                                        {"scores/song.xml", "<score-partwise/>"},
                                        {"decoy.xml", "<decoy/>"}});
    kor::CZRMusicXmlArchive archive;
    std::string score;
    ASSERT_EQ(inflate(archive, dir.wide("song.mxl"), score), 0u);
    EXPECT_EQ(score, "<score-partwise/>");
    EXPECT_EQ(archive.rootFile(), L"scores/song.xml");

    const std::filesystem::path chorale =
        std::filesystem::path(KORMAN_MUSICXML_SAMPLES_DIR) / "bach" / "bwv1.6.mxl";
    if (!std::filesystem::exists(chorale)) GTEST_SKIP() << "no chorale at " << chorale;
    ASSERT_EQ(inflate(archive, chorale.wstring(), score), 0u);
    EXPECT_EQ(archive.rootFile(), L"bwv1.6.xml");
    EXPECT_NE(score.find("<score-partwise"), std::string::npos);
}

TEST(MusicXmlArchive, RefusesDamagedArchivesAndScoresBeyondTheirBound) {
    kor::test::TempDir dir;
    struct Case {
        const char* name;
        std::map<std::string, std::string> entries;
        std::uint32_t code;
        std::wstring reason;
    };
    const std::string score = "<score-partwise>" + std::string(2000, ' ') + "</score-partwise>";
    const Case cases[] = {
        {"no container",
         {{"scores/song.xml", score}},
         ZR_E_INVALID_MUSICXML_ARCHIVE,
         L"no entry 'META-INF/container.xml'"},
        {"no root file",
         {{"META-INF/container.xml", "<container/>"}},
         ZR_E_INVALID_MUSICXML_ARCHIVE,
         L"names no root file"},
        {"missing root file",
         {{"META-INF/container.xml", kContainer}},
         ZR_E_INVALID_MUSICXML_ARCHIVE,
         L"no entry 'scores/song.xml'"},
        {"malformed container",
         {{"META-INF/container.xml", "<container>"}},
         ZR_E_INVALID_XML_FILE,
         L"container.xml\", line 1"},
        {"container beyond its bound",
         {{"META-INF/container.xml", "<container>" + std::string(kor::kMaxContainerBytes, ' ')}},
         ZR_E_INVALID_MUSICXML_ARCHIVE,
         L"inflates to more than 1048576 bytes"},
        // The score inflates to more than the bound of 1000 bytes it is read with.
        {"bomb",
         {{"META-INF/container.xml", kContainer}, {"scores/song.xml", score}},
         ZR_E_INVALID_MUSICXML_ARCHIVE,
         L"'scores/song.xml' inflates to more than 1000 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeZip(dir.path() + "/song.mxl", c.entries);
        kor::CZRMusicXmlArchive archive(1000);
        std::string inflated;
        EXPECT_EQ(inflate(archive, dir.wide("song.mxl"), inflated), c.code);
        EXPECT_NE(archive.message().find(c.reason), std::wstring::npos)
            << std::string(archive.message().begin(), archive.message().end());
        EXPECT_TRUE(inflated.empty());
    }
    // A score that declares fewer bytes than it inflates to is cut off at its bound all the same.
    writeZip(dir.path() + "/song.mxl",
             {{"META-INF/container.xml", kContainer}, {"scores/song.xml", score}});
    std::string deceiving = dir.read("song.mxl");
    declareSize(deceiving, "scores/song.xml", 10);
    dir.write("song.mxl", deceiving);
    {
        kor::CZRMusicXmlArchive archive(1000);
        std::string inflated;
        EXPECT_EQ(inflate(archive, dir.wide("song.mxl"), inflated), ZR_E_INVALID_MUSICXML_ARCHIVE);
        EXPECT_EQ(archive.message(),
                  L"the entry 'scores/song.xml' inflates to more than 1000 bytes");
        EXPECT_LE(inflated.size(), 1000u);
    }

    dir.write("cut.mxl", std::string("PK\3\4", 4) + "not really a zip");
    kor::CZRMusicXmlArchive archive;
    std::string inflated;
    EXPECT_EQ(inflate(archive, dir.wide("cut.mxl"), inflated), ZR_E_INVALID_MUSICXML_ARCHIVE);
    EXPECT_EQ(archive.message(), L"the file is no zip archive");
    EXPECT_EQ(inflate(archive, dir.wide("missing.mxl"), inflated), ZR_E_FILE_NOT_FOUND);
}
