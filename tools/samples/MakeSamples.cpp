// Writes the bundled sample song "Morning Walk" (a tune of our own) as a MIDI file and as a
// legacy song file, into the folder given on the command line.
#include "builders/LegacyFileBuilder.h"
#include "builders/SmfBuilder.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Note {
    unsigned tick;
    unsigned length;
    unsigned key;
    const char* lyric;
};

constexpr unsigned kQuarter = 480;
// The legacy file carries its own pre-measure: its events count from the start of the sequence.
// The MIDI file has none; the import puts the pre-measure in front of it.
constexpr unsigned kSongStart = 4 * kQuarter;

// Eight measures in C major, two voices.
const std::vector<Note> kLead = {
    {0, 480, 67, "a"},      {480, 480, 69, "sa"},   {960, 960, 71, "no"},   {1920, 480, 72, "mi"},
    {2400, 480, 71, "chi"}, {2880, 960, 69, "wo"},  {3840, 480, 67, "a"},   {4320, 480, 64, "ru"},
    {4800, 960, 67, "ku"},  {5760, 1920, 62, "yo"}, {7680, 480, 67, "ka"},  {8160, 480, 69, "ze"},
    {8640, 960, 71, "ga"},  {9600, 480, 74, "fu"},  {10080, 480, 72, "ku"}, {10560, 960, 71, "ne"},
    {11520, 480, 69, "hi"}, {12000, 480, 71, "ka"}, {12480, 960, 69, "ri"}, {13440, 1920, 67, "no"},
};
const std::vector<Note> kHarmony = {
    {0, 1920, 60, "u"},    {1920, 1920, 64, "u"}, {3840, 1920, 60, "u"},  {5760, 1920, 59, "u"},
    {7680, 1920, 64, "a"}, {9600, 1920, 65, "a"}, {11520, 1920, 62, "a"}, {13440, 1920, 60, "a"},
};

void midiTrack(kor::test::SmfTrackWriter& track, const char* name, unsigned channel,
               const std::vector<Note>& notes) {
    track.meta(0, 0x03, name);
    for (const Note& note : notes) {
        track
            .meta(note.tick, 0x05, note.lyric) // a lyric event
            .noteOn(note.tick, channel, note.key, 96)
            .noteOff(note.tick + note.length, channel, note.key);
    }
}

std::string midiSong() {
    kor::test::SmfBuilder smf(1, kQuarter);
    smf.addTrack().meta(0, 0x03, "Morning Walk").tempo(0, 600000).timeSignature(0, 4, 2);
    midiTrack(smf.addTrack(), "Lead", 0, kLead);
    midiTrack(smf.addTrack(), "Harmony", 1, kHarmony);
    return smf.bytes();
}

// The long notes swell into a vibrato over their last three fifths, deepening as they go.
constexpr unsigned kVibratoFrom = 960;
constexpr const char* kVibrato = "[Vibrato]\r\nIconID=$04040001\r\nStartDepth=40\r\n"
                                 "DepthBPNum=2\r\nDepthBPX=0.500000,1.000000\r\n"
                                 "DepthBPY=64,80\r\nStartRate=55\r\n";

// The lead scoops up into the first note of its second measure and falls off the end of its
// first phrase; its dynamics rise over the first phrase and ease off over the second. The
// points are (tick of the song, value) and the bend sensitivity is two semitones.
std::string leadCurves() {
    const auto list = [](const char* name, std::vector<std::pair<unsigned, int>> points) {
        std::string text = "[" + std::string(name) + "]\r\n";
        for (const auto& [tick, value] : points)
            text += std::to_string(kSongStart + tick) + "=" + std::to_string(value) + "\r\n";
        return text;
    };
    return list("PitchBendBPList", {{0, 0},
                                    {1920, -4096},
                                    {1960, -2400},
                                    {2000, -1000},
                                    {2040, -300},
                                    {2080, 0},
                                    {7440, -1200},
                                    {7520, -3600},
                                    {7600, -7000},
                                    {7680, 0}}) +
           list("PitchBendSensBPList", {{0, 2}}) +
           list(
               "DynamicsBPList",
               {{0, 48}, {1920, 64}, {3840, 80}, {5760, 72}, {7680, 64}, {11520, 56}, {13440, 40}});
}

// A singing track's text: a singer at the start, then one note event with its lyric per note.
std::string legacyTrack(const char* name, int program, const std::vector<Note>& notes, bool first) {
    std::string events = "[EventList]\r\n0=Singer\r\n";
    std::string sections = "[Singer]\r\nType=Singer\r\nIconHandle=SingerHandle\r\n"
                           "[SingerHandle]\r\nLanguage=0\r\nProgram=" +
                           std::to_string(program) + "\r\n";
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const Note& note = notes[i];
        const std::string id = std::to_string(i);
        events += std::to_string(kSongStart + note.tick) + "=Event" + id + "\r\n";
        sections += "[Event" + id + "]\r\nType=Anote\r\nLength=" + std::to_string(note.length) +
                    "\r\nNote#=" + std::to_string(note.key) + "\r\nLyricHandle=Lyric" + id + "\r\n";
        if (note.length >= kVibratoFrom)
            sections +=
                "VibratoHandle=Vibrato\r\nVibratoDelay=" + std::to_string(note.length * 2 / 5) +
                "\r\n";
        sections += "[Lyric" + id + "]\r\nL0=\"" + note.lyric + "\",\"" + note.lyric +
                    "\",0.000000,64,0,0\r\n";
    }
    sections += kVibrato;
    std::string text = "[Common]\r\nVersion=KOR301\r\nName=" + std::string(name) + "\r\n";
    if (first)
        text += "[Master]\r\nPreMeasure=1\r\n[Mixer]\r\nMasterFeder=0\r\nTracks=2\r\n"
                "Feder0=0\r\nPanpot0=-8\r\nMute0=0\r\nSolo0=0\r\n"
                "Feder1=-30\r\nPanpot1=8\r\nMute1=0\r\nSolo1=0\r\n";
    return text + events + sections + (first ? leadCurves() : "[DynamicsBPList]\r\n0=64\r\n");
}

std::string legacySong() {
    kor::test::LegacyFileBuilder legacy(kQuarter);
    legacy.conductor().tempo(0, 600000).timeSignature(0, 4, 2);
    legacy.singingTrack(legacyTrack("Lead", 0, kLead, true));
    legacy.singingTrack(legacyTrack("Harmony", 1, kHarmony, false));
    return legacy.bytes();
}

bool write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!write(folder + "/morning-walk.mid", midiSong()) ||
        !write(folder + "/morning-walk.kor", legacySong())) {
        std::fprintf(stderr, "make_samples: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
