// Writes the starting corpus of every fuzzer: small valid and slightly broken inputs made by the
// test builders, one folder per fuzzer below the folder given on the command line.
#include "builders/LegacyFileBuilder.h"
#include "builders/SmfBuilder.h"
#include "builders/WavBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kor::test::LegacyFileBuilder;
using kor::test::SmfBuilder;
using kor::test::WavBuilder;

void writeSeeds(const fs::path& folder, const std::vector<std::string>& seeds) {
    fs::create_directories(folder);
    for (std::size_t i = 0; i < seeds.size(); ++i)
        std::ofstream(folder / ("seed-" + std::to_string(i)), std::ios::binary) << seeds[i];
}

std::vector<std::string> midiSeeds() {
    SmfBuilder single(0, 480);
    single.addTrack().tempo(0, 500000).noteOn(0, 0, 60, 100).noteOff(480, 0, 60);
    SmfBuilder multi(1, 96);
    multi.addTrack().tempo(0, 400000).timeSignature(0, 3, 3).text(0, "Conductor");
    multi.addTrack()
        .runningStatus(true)
        .noteOn(0, 1, 64, 90)
        .noteOn(10, 1, 67, 90)
        .noteOff(96, 1, 64);
    multi.addTrack().program(0, 2, 5).controller(5, 2, 7, 100).sysEx(20, "\x7E\x7F\x09\x01\xF7");
    SmfBuilder smpte(1, 0xE728);
    smpte.preamble().addTrack().noteOn(30, 9, 36, 127).withoutEnd();
    return {single.bytes(), multi.bytes(), smpte.bytes()};
}

std::string legacyTrack(const std::string& version) {
    return "[Common]\nVersion=" + version +
           "\nName=Voice\nColor=181,162,123\n"
           "[Master]\nPreMeasure=2\n[Mixer]\nMasterFeder=-10\nTracks=1\nFeder0=100\nPanpot0=-20\n"
           "[EventList]\n0=ID#0000\n1920=ID#0001\n2400=ID#0002\n"
           "[ID#0000]\nType=Singer\nIconHandle=h#0000\n"
           "[ID#0001]\nType=Anote\nLength=480\nNote#=60\nDynamics=64\nPMBendDepth=8\n"
           "PMbPortamentoUse=3\nLyricHandle=h#0001\nVibratoHandle=h#0002\nVibratoDelay=120\n"
           "[ID#0002]\nType=Anote\nLength=$1e0\nNote#=62\nLyricHandle=h#0003\n"
           "[h#0000]\nIconID=$07010000\nLanguage=0\nProgram=0\n"
           "[h#0001]\nL0=\"a\",\"a\",0.000000,64,0,0\n"
           "[h#0002]\nIconID=$04000001\nLength=360\nStartDepth=64\nDepthBPNum=2\n"
           "DepthBPX=0.5,1.0\nDepthBPY=64,0\nStartRate=50\nRateBPNum=1\nRateBPX=0.2\nRateBPY=60\n"
           "[h#0003]\nL0=\"ka\",\"k a\",0.000000,64,0,0\n"
           "[PitchBendBPList]\n1920=100\n2000=-200\n[OpeningBPList]\n1920=127\n";
}

std::vector<std::string> legacySeeds() {
    LegacyFileBuilder older;
    older.conductor().tempo(0, 500000).timeSignature(0, 3, 3).tempo(960, 250000);
    older.singingTrack(legacyTrack("KOR201"));
    LegacyFileBuilder newer;
    newer.singingTrack(legacyTrack("KOR301"), 60, {1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 12});
    newer.singingTrack("[Common]\nVersion=KOR301\n");
    return {older.bytes(), newer.bytes()};
}

std::vector<std::string> textSeeds() {
    return {std::string(1, '\x04') + "[Common]\nCaption=Normal ; comment\n; skipped\n"
                                     "[Parameter]\nLength = 480\n",
            std::string(1, '\x01') + "[\x83\x65\x83\x58\x83\x67]\nkey=\x93\xfa\x96\x7b\n[Common]\n",
            std::string(1, '\x03') + "  \r\n[A]\r\nx=1\r\n[B]\ny=\xe3\x81\x82\n[A]\nz=2\n"};
}

std::vector<std::string> articulationSeeds() {
    return {"[Common]\nCaption=Normal\n[Parameter]\nLength=480\nStartDepth=64\nDepthBPNum=2\n"
            "DepthBPX=0.0,1.0\nDepthBPY=64,0\nStartRate=50\nRateBPNum=3\n"
            "RateBPX=0.1,0.5,1.5\nRateBPY=10,20,30\n",
            "[Common]\nArticulation=Fast\n[Parameter]\nLength=0\nDepthBPNum=1\nDepthBPX=-1e3\n"
            "DepthBPY=70000\n"};
}

std::vector<std::string> waveSeeds() {
    const std::string mono(64, '\x10');
    return {
        WavBuilder().fmt(1, 2, 44100, 16).data(WavBuilder::stereoRamp(8)).bytes(),
        WavBuilder().fmt(1, 1, 48000, 8, 2).chunk("LIST", "odd").data(mono).bytes(),
        WavBuilder().chunk("junk", "x").fmt(1, 1, 96000, 24, 6).data(std::string(33, 'a')).bytes()};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: korman_fuzz_seeds CORPUS_FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    const std::vector<std::string> midi = midiSeeds();
    writeSeeds(root / "smf", midi);
    const std::vector<std::string> legacy = legacySeeds();
    writeSeeds(root / "legacy_text", legacy);
    writeSeeds(root / "legacy_convert", legacy);
    // The manager tells the kinds apart itself; the song files join these in scripts/fuzz.sh.
    std::vector<std::string> songs = midi;
    songs.insert(songs.end(), legacy.begin(), legacy.end());
    writeSeeds(root / "manager", songs);
    writeSeeds(root / "typed_file", textSeeds());
    writeSeeds(root / "articulation", articulationSeeds());
    writeSeeds(root / "wave", waveSeeds());
    return 0;
}
