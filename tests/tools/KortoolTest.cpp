// Runs the kortool binary the way a person does and checks what it prints and answers.
#include "support/TempDir.h"
#include "support/WavBuilder.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax/HandlerBase.hpp>
#include <xercesc/util/PlatformUtils.hpp>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using kor::test::TempDir;

namespace {

const std::string kSamples = KORMAN_SAMPLES_DIR;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class KortoolTest : public ::testing::Test {
protected:
    // Runs kortool with `args` (shell words), its application data kept in the test's folder.
    Outcome kortool(const std::string& args) const {
        const std::string errFile = dir_.path() + "/stderr.txt";
        const std::string command = "XDG_DATA_HOME='" + dir_.path() + "' '" + KORTOOL_PATH + "' " +
                                    args + " 2>'" + errFile + "'";
        Outcome run;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return run;
        std::array<char, 4096> buffer;
        while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
            run.out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.err = dir_.read("stderr.txt");
        return run;
    }

    std::string path(const std::string& name) const { return dir_.path() + "/" + name; }

    TempDir dir_;
};

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// True when `xml` is well-formed XML.
bool wellFormed(const std::string& xml) {
    using namespace xercesc;
    XMLPlatformUtils::Initialize();
    bool ok = false;
    {
        XercesDOMParser parser;
        HandlerBase errors;
        parser.setErrorHandler(&errors);
        MemBufInputSource source(reinterpret_cast<const XMLByte*>(xml.data()), xml.size(), "svg");
        try {
            parser.parse(source);
            ok = parser.getErrorCount() == 0;
        } catch (...) {
        }
    }
    XMLPlatformUtils::Terminate();
    return ok;
}

TEST_F(KortoolTest, AnswersBadUsageWithStatusTwo) {
    EXPECT_EQ(kortool("").status, 2);
    EXPECT_EQ(kortool("frobnicate x").status, 2);
    EXPECT_EQ(kortool("info").status, 2);
    EXPECT_EQ(kortool("convert only-one-file").status, 2);
    const Outcome badOption = kortool("render a.korx b.svg --from x");
    EXPECT_EQ(badOption.status, 2);
    EXPECT_NE(badOption.err.find("--from takes a whole number"), std::string::npos);
    EXPECT_EQ(kortool("info a --no-such-option").status, 2);

    const Outcome help = kortool("render --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: kortool render FILE OUT.svg"), std::string::npos);
    EXPECT_EQ(kortool("--help").status, 0);
}

TEST_F(KortoolTest, ReportsLibraryErrorsWithTheirCodes) {
    const Outcome missing = kortool("info '" + path("missing.korx") + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("(0x83070013)"), std::string::npos) << missing.err;

    dir_.write("broken.korx", "<?xml version=\"1.0\"?><notakor/>");
    const Outcome broken = kortool("validate '" + path("broken.korx") + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err.rfind("kortool: ", 0), 0u) << broken.err;
    EXPECT_NE(broken.err.find("(0x8307"), std::string::npos) << broken.err;

    dir_.write("noise.wav", "RIFF....WAVEjunk");
    const Outcome wav = kortool("wav '" + path("noise.wav") + "'");
    EXPECT_EQ(wav.status, 1);
    EXPECT_NE(wav.err.find("Invalid wave file. (0x83071D05)"), std::string::npos) << wav.err;
}

TEST_F(KortoolTest, DescribesTheSampleSongAsExpected) {
    const Outcome info = kortool("info '" + kSamples + "/morning-walk.korx'");
    ASSERT_EQ(info.status, 0) << info.err;
    std::ifstream golden(std::string(KORMAN_TEST_DATA_DIR) + "/kortool/morning-walk.info.txt");
    std::stringstream expected;
    expected << golden.rdbuf();
    // The first line names the file by the path given.
    EXPECT_EQ(info.out.substr(info.out.find('\n') + 1), expected.str());
}

TEST_F(KortoolTest, ConvertsEverySampleToASongThatLoadsBack) {
    for (const char* sample : {"morning-walk.mid", "morning-walk.kor", "morning-walk.korx"}) {
        SCOPED_TRACE(sample);
        const std::string out = path(std::string(sample) + ".korx");
        const Outcome convert = kortool("convert '" + kSamples + "/" + sample + "' '" + out + "'");
        ASSERT_EQ(convert.status, 0) << convert.err;
        const Outcome validate = kortool("validate '" + out + "'");
        EXPECT_EQ(validate.status, 0) << validate.err;
        const Outcome info = kortool("info '" + out + "'");
        EXPECT_EQ(info.status, 0) << info.err;
        EXPECT_NE(info.out.find("format: KOR3"), std::string::npos);
        EXPECT_EQ(count(info.out, "ZR track "), 2u) << info.out;
    }
}

TEST_F(KortoolTest, RendersOneNoteShapePerNote) {
    const Outcome render =
        kortool("render '" + kSamples + "/morning-walk.korx' '" + path("song.svg") + "'");
    ASSERT_EQ(render.status, 0) << render.err;
    const std::string svg = dir_.read("song.svg");
    EXPECT_TRUE(wellFormed(svg));
    EXPECT_EQ(count(svg, "class=\"note\""), 28u);

    const Outcome part = kortool("render '" + kSamples + "/morning-walk.korx' '" +
                                 path("part.svg") + "' --from 1 --to 2");
    ASSERT_EQ(part.status, 0) << part.err;
    const std::string cropped = dir_.read("part.svg");
    EXPECT_TRUE(wellFormed(cropped));
    // Measures 1 and 2 hold the first six lead notes and the first two harmony notes.
    EXPECT_EQ(count(cropped, "class=\"note\""), 8u);
}

TEST_F(KortoolTest, ShowsWhatTheWavReaderSees) {
    dir_.write("tone.wav", kor::test::WavBuilder()
                               .fmt(1, 2, 44100, 16)
                               .data(kor::test::WavBuilder::stereoRamp(441))
                               .bytes());
    const Outcome wav = kortool("wav '" + path("tone.wav") + "'");
    ASSERT_EQ(wav.status, 0) << wav.err;
    EXPECT_NE(wav.out.find("sample rate: 44100 Hz"), std::string::npos);
    EXPECT_NE(wav.out.find("channels: 2"), std::string::npos);
    EXPECT_NE(wav.out.find("frames: 441"), std::string::npos);
}

} // namespace
