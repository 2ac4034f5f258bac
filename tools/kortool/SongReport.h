// The summaries `kortool info` prints, as text or JSON: of a song and of a MIDI file's import
// sources.
#pragma once

#include "JsonWriter.h"
#include "Session.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kortool {

/// What `kortool info` tells of a song, read once from its tree and then written as text or JSON.
/// Measures count from 0, pre-measures included; times are seconds from the start of the song.
struct SongSummary {
    struct Place {
        int tick = 0;
        int measure = 0;
        double seconds = 0;
    };
    struct Singer {
        int bankSelect = 0;
        int programChange = 0;
        int tick = 0; ///< where the singer takes over, in song ticks
    };
    struct Part {
        bool musical = false; ///< else a prosody part, of which only name and start are told
        std::string name;
        Place start;
        int measures = 0; ///< measures the part touches
        double seconds = 0;
        int notes = 0;
        std::optional<std::pair<int, int>> keys; ///< lowest and highest note number
        std::vector<Singer> singers;
        std::string lyrics; ///< the first lyrics, with " ..." when there are more
    };
    struct Track {
        int number = 0;
        std::string name;
        std::vector<Part> parts;
    };
    struct WavPart {
        std::string name;
        Place start;
        int channels = 0;
        int sampleRate = 0;
        std::string file; ///< empty when the library cannot resolve it
        bool found = false;
    };
    struct Signature {
        int numerator = 4;
        int denominator = 4;
        int measure = 0;
    };
    struct Tempo {
        int bpm100 = 12000;
        int tick = 0;
    };
    struct Voice {
        int bankSelect = 0;
        int programChange = 0;
        std::string name;
        std::string compID;
    };

    bool hasMasterTrack = false; ///< false for an empty song, of which nothing else is told
    std::string name;
    std::string comment;
    int preMeasure = 0;
    int preMeasureTick = 0;
    int lengthMeasures = 0;
    double lengthSeconds = 0;
    std::vector<Signature> signatures;
    std::vector<Tempo> tempos;
    std::vector<Track> tracks;
    std::vector<WavPart> seParts;
    std::vector<WavPart> karaokeParts;
    std::vector<Voice> voicesInUse; ///< the VVoices some singer of the song uses
};

/// The summary of the song under `root`; the session resolves the WAV parts' files.
SongSummary summarizeSong(const IZRKorRoot& root, const Session& session);
/// The summary as lines of text.
std::string describeSong(const SongSummary& song);
/// The summary as one JSON object.
void writeSong(JsonWriter& json, const SongSummary& song);

/// The import sources a MIDI file offers, one line each.
std::string describeDirectives(const std::vector<ZRSMFTrackImportDirective>& directives);
std::string describeDirectives(const std::vector<ZRMusicXMLPartImportDirective>& directives);
/// The import sources as a JSON array.
void writeDirectives(JsonWriter& json, const std::vector<ZRSMFTrackImportDirective>& directives);
void writeDirectives(JsonWriter& json,
                     const std::vector<ZRMusicXMLPartImportDirective>& directives);

} // namespace kortool
