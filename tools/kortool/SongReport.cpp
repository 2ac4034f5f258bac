#include "SongReport.h"

#include "Text.h"
#include "Timeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>

namespace kortool {

namespace {

using Place = SongSummary::Place;

// --- reading the song ---

Place placeOf(const Timeline& time, int tick) {
    return {tick, time.measureAt(tick), time.secondsAt(tick)};
}

SongSummary::Part summarizeMusicalPart(const IZRMusicalPart& part, const Timeline& time,
                                       std::set<std::pair<int, int>>& voices) {
    SongSummary::Part summary;
    summary.musical = true;
    summary.name = narrow(part.getName());
    const int start = part.getPosTick();
    const int end = start + part.getPlayTime();
    summary.start = placeOf(time, start);
    summary.measures = time.measureAt(std::max(start, end - 1)) + 1 - time.measureAt(start);
    summary.seconds = time.secondsAt(end) - time.secondsAt(start);
    const auto notes = elementsOf<IZRMusicalNote>(part.getNoteList());
    summary.notes = static_cast<int>(notes.size());
    if (!notes.empty()) {
        auto [low, high] = std::minmax_element(notes.begin(), notes.end(), [](auto a, auto b) {
            return a->getNoteNum() < b->getNoteNum();
        });
        summary.keys = std::make_pair((*low)->getNoteNum(), (*high)->getNoteNum());
    }
    for (const IZRMusicalSinger* singer : elementsOf<IZRMusicalSinger>(part.getSingerList())) {
        voices.insert({singer->getVBS(), singer->getVPC()});
        summary.singers.push_back(
            {singer->getVBS(), singer->getVPC(), start + singer->getPosTick()});
    }
    std::wstring lyrics;
    for (const IZRMusicalNote* note : notes) {
        if (lyrics.size() > 60) {
            lyrics += L" ...";
            break;
        }
        lyrics += (lyrics.empty() ? L"" : L" ") + note->getLyric();
    }
    summary.lyrics = narrow(lyrics);
    return summary;
}

std::vector<SongSummary::WavPart> summarizeWavTrack(const IZRWAVTrack* track, const Timeline& time,
                                                    const Session& session) {
    std::vector<SongSummary::WavPart> summaries;
    for (const IZRWAVPart* part :
         elementsOf<IZRWAVPart>(track != nullptr ? track->getWAVPartList() : nullptr)) {
        const std::string file = session.wavFilePath(part->getObjID());
        summaries.push_back({narrow(part->getName()), placeOf(time, part->getPosTick()),
                             part->getChannels(), part->getSampleRate(), file,
                             !file.empty() && std::filesystem::is_regular_file(file)});
    }
    return summaries;
}

// --- text ---

std::string quoted(const std::string& text) {
    return '"' + text + '"';
}

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Minutes, seconds and tenths, rounded to the nearest tenth: 2.4 s (2.39999 in 16.16) is 0:02.4.
std::string clock(double seconds) {
    const long long tenths = std::llround(seconds * 10);
    const long long whole = tenths / 10;
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", whole / 60, whole % 60, tenths % 10);
    return text;
}

// "measure 3 (tick 5760, 0:06.0)"
std::string place(const Place& at) {
    return "measure " + std::to_string(at.measure) + " (tick " + std::to_string(at.tick) + ", " +
           clock(at.seconds) + ")";
}

void describePart(std::ostringstream& out, const SongSummary::Part& part) {
    if (!part.musical) {
        out << "    prosody part " << quoted(part.name) << " at " << place(part.start) << "\n";
        return;
    }
    out << "    part " << quoted(part.name) << " at " << place(part.start) << ", " << part.measures
        << " measures, " << fixed(part.seconds, 1) << " s, " << part.notes << " notes";
    if (part.keys) out << " (keys " << part.keys->first << " to " << part.keys->second << ")";
    out << "\n";
    for (const SongSummary::Singer& singer : part.singers)
        out << "      singer " << singer.bankSelect << ":" << singer.programChange << " from tick "
            << singer.tick << "\n";
    if (!part.lyrics.empty()) out << "      lyrics: " << part.lyrics << "\n";
}

void describeWavTrack(std::ostringstream& out, const char* name,
                      const std::vector<SongSummary::WavPart>& parts) {
    out << name << ": " << parts.size() << " WAV parts\n";
    for (const SongSummary::WavPart& part : parts)
        out << "    WAV part " << quoted(part.name) << " at " << place(part.start) << ", "
            << part.channels << " ch, " << part.sampleRate << " Hz, file "
            << (part.file.empty() ? "(none)" : part.file)
            << (part.found ? " [found]" : " [missing]") << "\n";
}

// --- JSON ---

void writePlace(JsonWriter& json, const char* key, const Place& at) {
    json.key(key).beginObject();
    json.key("tick").integer(at.tick);
    json.key("measure").integer(at.measure);
    json.key("seconds").number(at.seconds, 3);
    json.endObject();
}

void writePart(JsonWriter& json, const SongSummary::Part& part) {
    json.beginObject();
    json.key("kind").string(part.musical ? "musical" : "prosody");
    json.key("name").string(part.name);
    writePlace(json, "start", part.start);
    if (part.musical) {
        json.key("measures").integer(part.measures);
        json.key("seconds").number(part.seconds, 3);
        json.key("notes").integer(part.notes);
        if (part.keys) {
            json.key("lowestKey").integer(part.keys->first);
            json.key("highestKey").integer(part.keys->second);
        }
        json.key("singers").beginArray();
        for (const SongSummary::Singer& singer : part.singers) {
            json.beginObject();
            json.key("bankSelect").integer(singer.bankSelect);
            json.key("programChange").integer(singer.programChange);
            json.key("tick").integer(singer.tick);
            json.endObject();
        }
        json.endArray();
        json.key("lyrics").string(part.lyrics);
    }
    json.endObject();
}

void writeWavTrack(JsonWriter& json, const char* key,
                   const std::vector<SongSummary::WavPart>& parts) {
    json.key(key).beginArray();
    for (const SongSummary::WavPart& part : parts) {
        json.beginObject();
        json.key("name").string(part.name);
        writePlace(json, "start", part.start);
        json.key("channels").integer(part.channels);
        json.key("sampleRate").integer(part.sampleRate);
        json.key("file").string(part.file);
        json.key("found").boolean(part.found);
        json.endObject();
    }
    json.endArray();
}

} // namespace

SongSummary summarizeSong(const IZRKorRoot& root, const Session& session) {
    SongSummary song;
    const IZRSequence* sequence = root.getSequence();
    const IZRMasterTrack* master = sequence != nullptr ? sequence->getMasterTrack() : nullptr;
    if (master == nullptr) return song;
    const Timeline time(*master);

    song.hasMasterTrack = true;
    song.name = narrow(master->getSeqName());
    song.comment = narrow(master->getComment());
    song.preMeasure = master->getPreMeasure();
    song.preMeasureTick = master->getPreMeasureTick();
    const int end = songEndTick(*sequence);
    song.lengthMeasures = time.measureAt(std::max(0, end - 1)) + 1;
    song.lengthSeconds = time.secondsAt(end);
    for (const Timeline::Signature& sig : time.signatures())
        song.signatures.push_back({sig.numerator, sig.denominator, sig.measure});
    for (const Timeline::Tempo& tempo : time.tempos())
        song.tempos.push_back({tempo.bpm100, tempo.tick});

    std::set<std::pair<int, int>> voices;
    for (const IZRZRTrack* track : elementsOf<IZRZRTrack>(sequence->getZRTrackList())) {
        SongSummary::Track& summary = song.tracks.emplace_back();
        summary.number = track->getTrackNo();
        summary.name = narrow(track->getName());
        for (const IZRPart* part : elementsOf<IZRPart>(track->getPartList())) {
            if (const auto* musical = dynamic_cast<const IZRMusicalPart*>(part)) {
                summary.parts.push_back(summarizeMusicalPart(*musical, time, voices));
            } else {
                SongSummary::Part& prosody = summary.parts.emplace_back();
                prosody.name = narrow(part->getName());
                prosody.start = placeOf(time, part->getPosTick());
            }
        }
    }
    song.seParts = summarizeWavTrack(sequence->getSETrack(), time, session);
    song.karaokeParts = summarizeWavTrack(sequence->getKaraokeTrack(), time, session);
    for (const IZRVVoice* voice : elementsOf<IZRVVoice>(sequence->getVVoiceList()))
        if (voices.count({voice->getVBS(), voice->getVPC()}) != 0)
            song.voicesInUse.push_back({voice->getVBS(), voice->getVPC(), narrow(voice->getName()),
                                        narrow(voice->getCompID())});
    return song;
}

std::string describeSong(const SongSummary& song) {
    if (!song.hasMasterTrack) return "an empty song (no master track)\n";
    std::ostringstream out;
    out << "song: " << quoted(song.name);
    if (!song.comment.empty()) out << " (" << song.comment << ")";
    out << "\npre-measure: " << song.preMeasure << " measures, the song starts at tick "
        << song.preMeasureTick << "\n";
    out << "length: " << song.lengthMeasures << " measures, " << clock(song.lengthSeconds) << "\n";
    out << "time signatures:";
    for (const SongSummary::Signature& sig : song.signatures)
        out << " " << sig.numerator << "/" << sig.denominator << " at measure " << sig.measure
            << ";";
    out << "\ntempos:";
    for (const SongSummary::Tempo& tempo : song.tempos)
        out << " " << fixed(tempo.bpm100 / 100.0, 2) << " BPM at tick " << tempo.tick << ";";
    out << "\n";
    for (const SongSummary::Track& track : song.tracks) {
        out << "ZR track " << track.number << " " << quoted(track.name) << ": "
            << track.parts.size() << " parts\n";
        for (const SongSummary::Part& part : track.parts)
            describePart(out, part);
    }
    describeWavTrack(out, "SE track", song.seParts);
    describeWavTrack(out, "karaoke track", song.karaokeParts);
    out << "VVoices in use:";
    if (song.voicesInUse.empty()) out << " none";
    for (const SongSummary::Voice& voice : song.voicesInUse)
        out << "\n    " << voice.bankSelect << ":" << voice.programChange << " "
            << quoted(voice.name) << " [" << voice.compID << "]";
    out << "\n";
    return out.str();
}

void writeSong(JsonWriter& json, const SongSummary& song) {
    json.beginObject();
    if (!song.hasMasterTrack) {
        json.endObject();
        return;
    }
    json.key("name").string(song.name);
    json.key("comment").string(song.comment);
    json.key("preMeasure").integer(song.preMeasure);
    json.key("preMeasureTick").integer(song.preMeasureTick);
    json.key("measures").integer(song.lengthMeasures);
    json.key("seconds").number(song.lengthSeconds, 3);
    json.key("timeSignatures").beginArray();
    for (const SongSummary::Signature& sig : song.signatures) {
        json.beginObject();
        json.key("numerator").integer(sig.numerator);
        json.key("denominator").integer(sig.denominator);
        json.key("measure").integer(sig.measure);
        json.endObject();
    }
    json.endArray();
    json.key("tempos").beginArray();
    for (const SongSummary::Tempo& tempo : song.tempos) {
        json.beginObject();
        json.key("bpm").number(tempo.bpm100 / 100.0, 2);
        json.key("tick").integer(tempo.tick);
        json.endObject();
    }
    json.endArray();
    json.key("zrTracks").beginArray();
    for (const SongSummary::Track& track : song.tracks) {
        json.beginObject();
        json.key("number").integer(track.number);
        json.key("name").string(track.name);
        json.key("parts").beginArray();
        for (const SongSummary::Part& part : track.parts)
            writePart(json, part);
        json.endArray();
        json.endObject();
    }
    json.endArray();
    writeWavTrack(json, "seTrack", song.seParts);
    writeWavTrack(json, "karaokeTrack", song.karaokeParts);
    json.key("vvoicesInUse").beginArray();
    for (const SongSummary::Voice& voice : song.voicesInUse) {
        json.beginObject();
        json.key("bankSelect").integer(voice.bankSelect);
        json.key("programChange").integer(voice.programChange);
        json.key("name").string(voice.name);
        json.key("compID").string(voice.compID);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

std::string describeDirectives(const std::vector<ZRSMFTrackImportDirective>& directives) {
    std::ostringstream out;
    out << "import sources: " << directives.size() << "\n";
    for (const ZRSMFTrackImportDirective& d : directives) {
        out << "    source " << d.sourceIndex << " " << quoted(narrow(d.name)) << ": "
            << d.noteCount << " notes";
        if (d.tempoCount != 0 || d.timeSigCount != 0)
            out << ", " << d.tempoCount << " tempos, " << d.timeSigCount << " time signatures";
        if (d.unconvertedTextCount != 0)
            out << ", " << d.unconvertedTextCount << " texts not converted";
        out << (d.importSwitch != 0 ? ", imported" : ", skipped") << " (singer " << d.singerBS
            << ":" << d.singerPC << ")\n";
    }
    return out.str();
}

void writeDirectives(JsonWriter& json, const std::vector<ZRSMFTrackImportDirective>& directives) {
    json.beginArray();
    for (const ZRSMFTrackImportDirective& d : directives) {
        json.beginObject();
        json.key("source").integer(d.sourceIndex);
        json.key("name").string(narrow(d.name));
        json.key("notes").integer(d.noteCount);
        json.key("tempos").integer(d.tempoCount);
        json.key("timeSignatures").integer(d.timeSigCount);
        json.key("unconvertedTexts").integer(d.unconvertedTextCount);
        json.key("imported").boolean(d.importSwitch != 0);
        json.key("singerBankSelect").integer(d.singerBS);
        json.key("singerProgramChange").integer(d.singerPC);
        json.endObject();
    }
    json.endArray();
}

std::string describeDirectives(const std::vector<ZRMusicXMLPartImportDirective>& directives) {
    std::ostringstream out;
    out << "import sources: " << directives.size() << "\n";
    for (const ZRMusicXMLPartImportDirective& d : directives) {
        out << "    source " << d.sourceIndex << " " << quoted(narrow(d.name)) << ": "
            << d.noteCount << " notes, " << d.lyricCount << " with lyrics";
        // Lyric lines are told unless the source has none or line 1 alone.
        if (d.verses.size() > 1 || (d.verses.size() == 1 && d.verses[0] != 1)) {
            out << " (verse" << (d.verses.size() > 1 ? "s " : " ");
            for (std::size_t i = 0; i < d.verses.size(); ++i)
                out << (i > 0 ? ", " : "") << d.verses[i];
            out << "; singing " << d.verse << ")";
        }
        if (d.hasRepeats != 0) out << ", " << d.measureCount << " measures as performed";
        out << (d.importSwitch != 0 ? ", imported" : ", skipped") << " (singer " << d.singerBS
            << ":" << d.singerPC << ")\n";
    }
    return out.str();
}

void writeDirectives(JsonWriter& json,
                     const std::vector<ZRMusicXMLPartImportDirective>& directives) {
    json.beginArray();
    for (const ZRMusicXMLPartImportDirective& d : directives) {
        json.beginObject();
        json.key("source").integer(d.sourceIndex);
        json.key("part").string(narrow(d.partID));
        json.key("voice").string(narrow(d.voice));
        json.key("name").string(narrow(d.name));
        json.key("notes").integer(d.noteCount);
        json.key("lyrics").integer(d.lyricCount);
        json.key("verses").beginArray();
        for (const int line : d.verses)
            json.integer(line);
        json.endArray();
        json.key("verse").integer(d.verse);
        json.key("measuresAsPerformed").integer(d.measureCount);
        json.key("hasRepeats").boolean(d.hasRepeats != 0);
        json.key("imported").boolean(d.importSwitch != 0);
        json.key("singerBankSelect").integer(d.singerBS);
        json.key("singerProgramChange").integer(d.singerPC);
        json.endObject();
    }
    json.endArray();
}

} // namespace kortool
