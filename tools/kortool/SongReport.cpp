#include "SongReport.h"

#include "Text.h"
#include "Timeline.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <utility>

namespace kortool {

namespace {

std::string quoted(const std::wstring& text) {
    std::string out(1, '"');
    out += narrow(text);
    out += '"';
    return out;
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string bpm(int bpm100) {
    return fixed(bpm100 / 100.0, 2) + " BPM";
}

std::string clock(double seconds) {
    const int whole = static_cast<int>(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%d", whole / 60, whole % 60,
                  static_cast<int>((seconds - whole) * 10));
    return text;
}

// "measure 3 (tick 5760, 0:06.0)"
std::string place(const Timeline& time, int tick) {
    return "measure " + std::to_string(time.measureAt(tick)) + " (tick " + std::to_string(tick) +
           ", " + clock(time.secondsAt(tick)) + ")";
}

// "2 measures, 4.0 s"
std::string span(const Timeline& time, int from, int to) {
    const int startMeasure = time.measureAt(from);
    const int endMeasure = time.measureAt(std::max(from, to - 1)) + 1;
    return std::to_string(endMeasure - startMeasure) + " measures, " +
           fixed(time.secondsAt(to) - time.secondsAt(from), 1) + " s";
}

void describeMusicalPart(std::ostringstream& out, const IZRMusicalPart& part, const Timeline& time,
                         std::set<std::pair<int, int>>& voices) {
    const int start = part.getPosTick();
    const int end = start + part.getPlayTime();
    const auto notes = elementsOf<IZRMusicalNote>(part.getNoteList());
    out << "    part " << quoted(part.getName()) << " at " << place(time, start) << ", "
        << span(time, start, end) << ", " << notes.size() << " notes";
    if (!notes.empty()) {
        auto [low, high] = std::minmax_element(notes.begin(), notes.end(), [](auto a, auto b) {
            return a->getNoteNum() < b->getNoteNum();
        });
        out << " (keys " << (*low)->getNoteNum() << " to " << (*high)->getNoteNum() << ")";
    }
    out << "\n";
    for (const IZRMusicalSinger* singer : elementsOf<IZRMusicalSinger>(part.getSingerList())) {
        voices.insert({singer->getVBS(), singer->getVPC()});
        out << "      singer " << singer->getVBS() << ":" << singer->getVPC() << " from tick "
            << start + singer->getPosTick() << "\n";
    }
    std::wstring lyrics;
    for (const IZRMusicalNote* note : notes) {
        if (lyrics.size() > 60) {
            lyrics += L" ...";
            break;
        }
        lyrics += (lyrics.empty() ? L"" : L" ") + note->getLyric();
    }
    if (!lyrics.empty()) out << "      lyrics: " << narrow(lyrics) << "\n";
}

void describeWavTrack(std::ostringstream& out, const char* name, const IZRWAVTrack* track,
                      const Timeline& time, const Session& session) {
    const auto parts = elementsOf<IZRWAVPart>(track != nullptr ? track->getWAVPartList() : nullptr);
    out << name << ": " << parts.size() << " WAV parts\n";
    for (const IZRWAVPart* part : parts) {
        const std::string file = session.wavFilePath(part->getObjID());
        const bool found = !file.empty() && std::filesystem::is_regular_file(file);
        out << "    WAV part " << quoted(part->getName()) << " at "
            << place(time, part->getPosTick()) << ", " << part->getChannels() << " ch, "
            << part->getSampleRate() << " Hz, file " << (file.empty() ? "(none)" : file)
            << (found ? " [found]" : " [missing]") << "\n";
    }
}

} // namespace

std::string describeSong(const IZRKorRoot& root, const Session& session) {
    std::ostringstream out;
    const IZRSequence* sequence = root.getSequence();
    const IZRMasterTrack* master = sequence != nullptr ? sequence->getMasterTrack() : nullptr;
    if (master == nullptr) return "an empty song (no master track)\n";
    const Timeline time(*master);

    out << "song: " << quoted(master->getSeqName());
    if (!master->getComment().empty()) out << " (" << narrow(master->getComment()) << ")";
    out << "\npre-measure: " << master->getPreMeasure() << " measures, the song starts at tick "
        << master->getPreMeasureTick() << "\n";
    const int end = songEndTick(*sequence);
    out << "length: " << time.measureAt(std::max(0, end - 1)) + 1 << " measures, "
        << clock(time.secondsAt(end)) << "\n";
    out << "time signatures:";
    for (const Timeline::Signature& sig : time.signatures())
        out << " " << sig.numerator << "/" << sig.denominator << " at measure " << sig.measure
            << ";";
    out << "\ntempos:";
    for (const Timeline::Tempo& tempo : time.tempos())
        out << " " << bpm(tempo.bpm100) << " at tick " << tempo.tick << ";";
    out << "\n";

    std::set<std::pair<int, int>> voices;
    for (const IZRZRTrack* track : elementsOf<IZRZRTrack>(sequence->getZRTrackList())) {
        const auto parts = elementsOf<IZRPart>(track->getPartList());
        out << "ZR track " << track->getTrackNo() << " " << quoted(track->getName()) << ": "
            << parts.size() << " parts\n";
        for (const IZRPart* part : parts) {
            if (const auto* musical = dynamic_cast<const IZRMusicalPart*>(part))
                describeMusicalPart(out, *musical, time, voices);
            else
                out << "    prosody part " << quoted(part->getName()) << " at "
                    << place(time, part->getPosTick()) << "\n";
        }
    }
    describeWavTrack(out, "SE track", sequence->getSETrack(), time, session);
    describeWavTrack(out, "karaoke track", sequence->getKaraokeTrack(), time, session);

    out << "VVoices in use:";
    if (voices.empty()) out << " none";
    for (const IZRVVoice* voice : elementsOf<IZRVVoice>(sequence->getVVoiceList()))
        if (voices.count({voice->getVBS(), voice->getVPC()}) != 0)
            out << "\n    " << voice->getVBS() << ":" << voice->getVPC() << " "
                << quoted(voice->getName()) << " [" << narrow(voice->getCompID()) << "]";
    out << "\n";
    return out.str();
}

std::string describeDirectives(const std::vector<ZRSMFTrackImportDirective>& directives) {
    std::ostringstream out;
    out << "import sources: " << directives.size() << "\n";
    for (const ZRSMFTrackImportDirective& d : directives) {
        out << "    source " << d.sourceIndex << " " << quoted(d.name) << ": " << d.noteCount
            << " notes";
        if (d.tempoCount != 0 || d.timeSigCount != 0)
            out << ", " << d.tempoCount << " tempos, " << d.timeSigCount << " time signatures";
        out << (d.importSwitch != 0 ? ", imported" : ", skipped") << " (singer " << d.singerBS
            << ":" << d.singerPC << ")\n";
    }
    return out.str();
}

} // namespace kortool
