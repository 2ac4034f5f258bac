// kortool: look into song and MIDI files, convert them to KOR3 songs, validate, dump and draw them.
#include "CommandLine.h"
#include "JsonWriter.h"
#include "PianoRoll.h"
#include "Session.h"
#include "SongReport.h"
#include "Text.h"

#include <korman/korman.h>

#include "model/MutableKorObject.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

using namespace kortool;

namespace {

const OptionSpec kImportOptions[] = {
    {"tracks", "N,N,...",
     "MIDI and MusicXML: import these sources (see info); default: all with notes"},
    {"split-channels", "", "MIDI only: split a single-track file by channel"},
    {"singer", "BS:PC", "MIDI and MusicXML: the VVoice (bank select:program change) that sings"},
    {"verse", "N",
     "MusicXML only: the verse whose lyrics the notes sing (default: each source's first)"},
    {"as-written", "",
     "MusicXML only: sing the measures as written, each once (default: repeats and jumps "
     "followed, each pass singing its verse)"},
    {"premeasure", "N",
     "legacy, MIDI and MusicXML: measures before the song proper, 1 to 8 (default 1)"},
    {"codepage", "N", "legacy and MIDI: code page of their texts (default 3, the locale's)"},
};

ImportOptions importOptions(const Arguments& args) {
    ImportOptions options;
    options.tracks = args.integerList("tracks");
    options.splitChannels = args.has("split-channels");
    options.premeasure = args.integer("premeasure", 1, 1, 8);
    if (args.has("verse")) options.verse = args.integer("verse", 1, 1, 1000);
    options.asWritten = args.has("as-written");
    options.codePage = static_cast<unsigned>(args.integer("codepage", 3, 0, 65535));
    if (const auto singer = args.value("singer")) {
        const std::size_t colon = singer->find(':');
        const auto bs = parseInteger(singer->substr(0, colon), 0, 127);
        const auto pc = colon == std::string::npos
                            ? std::nullopt
                            : parseInteger(singer->substr(colon + 1), 0, 127);
        if (!bs || !pc) throw UsageError("--singer takes BS:PC, two numbers from 0 to 127");
        options.singer = std::make_pair(*bs, *pc);
    }
    return options;
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

bool isMidi(int format) {
    return format == ZR_FILE_FORMAT_SMF0 || format == ZR_FILE_FORMAT_SMF1;
}

bool isLegacy(int format) {
    return format == ZR_FILE_FORMAT_LEGACY2 || format == ZR_FILE_FORMAT_LEGACY3;
}

bool isScore(int format) {
    return format == 6;
}

// The sources a MIDI file or a score offers for import, as the survey and the options made them.
struct ImportSources {
    std::vector<ZRSMFTrackImportDirective> midi;
    std::vector<ZRMusicXMLPartImportDirective> score;
};

void printInfoJson(const std::string& path, int format, const ImportOptions& options,
                   const ImportSources& sources, const std::optional<EmptyImport>& nothing,
                   const SongSummary* song) {
    JsonWriter json;
    json.beginObject();
    json.key("file").string(path);
    json.key("format").string(formatName(format));
    if (isMidi(format) || isLegacy(format)) {
        json.key("codePage").integer(options.codePage);
    }
    if (isMidi(format)) {
        json.key("importSources");
        writeDirectives(json, sources.midi);
    }
    if (isScore(format)) {
        json.key("importSources");
        writeDirectives(json, sources.score);
    }
    if (nothing) json.key("nothingToImport").string(nothing->reason);
    if (song != nullptr) {
        json.key("song");
        writeSong(json, *song);
    }
    json.endObject();
    std::cout << json.text() << "\n";
}

int info(const Arguments& args) {
    const std::string& path = args.files[0];
    Session session;
    const ImportOptions options = importOptions(args);
    const int format = session.detect(path);
    ImportSources sources;
    std::optional<EmptyImport> nothing;
    if (isMidi(format)) {
        sources.midi = session.directives(path, options);
        nothing = Session::nothingToImport(sources.midi, options);
    }
    if (isScore(format)) {
        sources.score = session.scoreDirectives(path, options);
        nothing = Session::nothingToImport(sources.score, options);
    }
    // A MIDI file or score with nothing to import is still described: its sources show why.
    std::optional<SongSummary> song;
    if (!nothing) song = summarizeSong(session.load(path, options, format), session);
    if (args.has("json")) {
        printInfoJson(path, format, options, sources, nothing, song ? &*song : nullptr);
        return 0;
    }
    std::cout << "file: " << path << "\nformat: " << formatName(format) << "\n";
    if (isMidi(format) || isLegacy(format))
        std::cout << "texts: " << describeCodePage(options.codePage) << "\n";
    if (isMidi(format)) std::cout << describeDirectives(sources.midi);
    if (isScore(format)) std::cout << describeDirectives(sources.score);
    if (nothing) std::cout << "nothing to import: " << nothing->reason << "\n";
    if (song) std::cout << describeSong(*song);
    return 0;
}

// Whether `path` names a MIDI file by its extension (.mid or .midi, in any case).
bool namesMidiFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mid" || extension == ".midi";
}

int convert(const Arguments& args) {
    const std::string& in = args.files[0];
    const std::string& out = args.files[1];
    Session session;
    const int format = session.detect(in);
    session.load(in, importOptions(args), format);
    const bool midi = namesMidiFile(out);
    if (midi)
        session.exportMidi(out, args.has("keep-premeasure"));
    else
        session.save(out);
    std::cout << in << " (" << formatName(format) << ") -> " << out
              << (midi ? " (MIDI)\n" : " (KOR3)\n");
    return 0;
}

int validate(const Arguments& args) {
    const std::string& path = args.files[0];
    Session session;
    const int format = session.detect(path);
    session.load(path, importOptions(args), format);
    std::cout << path << ": valid " << formatName(format) << "\n";
    return 0;
}

int dump(const Arguments& args) {
    Session session;
    const IZRKorRoot& root = session.load(args.files[0], importOptions(args));
    std::wstring text;
    if (const auto* object = dynamic_cast<const IZRMutableKorObject*>(&root)) object->dump(text, 1);
    std::cout << narrow(text);
    return 0;
}

int render(const Arguments& args) {
    RollOptions options;
    if (args.has("from")) options.from = args.integer("from", 0, 0, 1 << 20);
    if (args.has("to")) options.to = args.integer("to", 0, 0, 1 << 20);
    if (options.from && options.to && *options.to < *options.from)
        throw UsageError("--to must not lie before --from");
    if (args.has("width")) options.width = args.integer("width", 0, 200, 1 << 20);
    if (args.has("measures-per-row"))
        options.measuresPerRow = args.integer("measures-per-row", 0, 1, 1 << 20);
    Session session;
    writeFile(args.files[1],
              renderPianoRoll(session.load(args.files[0], importOptions(args)), options));
    std::cout << "wrote " << args.files[1] << "\n";
    return 0;
}

int wav(const Arguments& args) {
    CZRWaveReader reader;
    if (reader.open(widen(args.files[0]).c_str()) == 0) {
        Session session;
        throw LibraryError(ZR_E_INVALID_WAVE_FILE,
                           args.files[0] + ": " + session.message(ZR_E_INVALID_WAVE_FILE));
    }
    const double seconds =
        reader.getSampleRate() > 0 ? double(reader.getSampleNum()) / reader.getSampleRate() : 0;
    std::cout << "file: " << args.files[0] << "\nformat tag: " << reader.getFormatTag()
              << "\nsample rate: " << reader.getSampleRate()
              << " Hz\nresolution: " << reader.getSampleReso()
              << " bits\nchannels: " << reader.getChannels()
              << "\nframes: " << reader.getSampleNum() << "\ndata: " << reader.getDataSize()
              << " bytes\nduration: " << seconds << " s\n";
    return 0;
}

std::vector<OptionSpec> withImportOptions(std::vector<OptionSpec> options = {}) {
    options.insert(options.end(), std::begin(kImportOptions), std::end(kImportOptions));
    return options;
}

const std::vector<CommandSpec>& commands() {
    static const std::vector<CommandSpec> all = {
        {"info", "FILE", 1, "the format and a summary of a song, MIDI file or score",
         "Prints the detected format and a summary of the song: name, pre-measure, time\n"
         "signatures and tempos, each ZR track with its parts, notes, singers and lengths, the\n"
         "WAV parts and whether their files are there, and the VVoices in use. For a MIDI file\n"
         "or a MusicXML score it first lists the sources it can import, for a legacy or MIDI\n"
         "file it names the code page of its texts. Measures count from 0, pre-measures\n"
         "included.",
         withImportOptions({{"json", "", "print the same summary as one JSON object"}}), info},
        {"convert", "IN OUT.korx|OUT.mid", 2,
         "turn any readable song, MIDI file or score into a KOR3 song or a MIDI file",
         "Loads IN (KOR3, KOR4, legacy, MIDI or MusicXML) and saves it as the KOR3 song\n"
         "OUT.korx, with its WAV parts folder OUT.wavparts beside it when the song has WAV parts\n"
         "of its own. An OUT ending in .mid or .midi gets a format 1 MIDI file instead: a\n"
         "conductor track, then one track per ZR track with notes, lyrics (UTF-8), dynamics and\n"
         "pitch bend. The file starts where the song proper begins unless --keep-premeasure is\n"
         "given.",
         withImportOptions({{"keep-premeasure", "", "keep the pre-measures in a MIDI file"}}),
         convert},
        {"validate", "FILE", 1, "load a file and report whether it is a valid song",
         "Loads FILE with every check the library runs after a load. Exit status 0 when it is\n"
         "valid; otherwise the library's error and its verification report, exit status 1.",
         withImportOptions(), validate},
        {"dump", "FILE", 1, "print the debug dump of the whole song tree",
         "Loads FILE and prints the debug dump of every object of its tree.", withImportOptions(),
         dump},
        {"render", "FILE OUT.svg", 2, "draw the song as a piano roll (SVG)",
         "Draws the song as an SVG piano roll: a measure ruler with time signatures and tempos,\n"
         "a lane per ZR track with its parts, a pitch axis, its notes at their pitch with their\n"
         "lyrics, the pitch line (bend and vibrato) over them and the dynamics in a strip below,\n"
         "and the WAV parts of the audio tracks as labelled blocks. A long song wraps into rows\n"
         "of measures with --width or --measures-per-row.",
         withImportOptions(
             {{"from", "MEASURE", "first measure to draw (from 0, pre-measures included)"},
              {"to", "MEASURE", "last measure to draw"},
              {"width", "PX", "picture width: the measures wrap into rows that fit it"},
              {"measures-per-row", "N", "measures in each row (with --width, scaled to fit)"}}),
         render},
        {"wav",
         "FILE",
         1,
         "what the WAV reader sees in a file",
         "Opens FILE with the library's WAV reader and prints its format, size and duration.",
         {},
         wav},
    };
    return all;
}

void printOverview(std::FILE* to) {
    std::fprintf(to, "usage: kortool COMMAND [ARGS] [--help]\n       kortool --version\n\n"
                     "commands:\n");
    for (const CommandSpec& command : commands())
        std::fprintf(to, "  %-10s%s\n", std::string(command.name).c_str(),
                     std::string(command.summary).c_str());
}

} // namespace

int main(int argc, char** argv) {
    useUtf8();
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    if (args.empty()) {
        printOverview(stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printOverview(stdout);
        return 0;
    }
    if (args[0] == "--version") {
        std::printf("korman %s\n", KORMAN_VERSION);
        return 0;
    }
    const CommandSpec* command = nullptr;
    for (const CommandSpec& candidate : commands())
        if (candidate.name == args[0]) command = &candidate;
    if (command == nullptr) {
        std::fprintf(stderr, "kortool: unknown command '%s'\n", args[0].c_str());
        printOverview(stderr);
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest)
        if (arg == "--help" || arg == "-h") {
            std::cout << commandHelp(*command);
            return 0;
        }
    try {
        return command->run(parseArguments(*command, rest));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "kortool: %s\n%s", error.what(), commandHelp(*command).c_str());
        return 2;
    } catch (const LibraryError& error) {
        std::fprintf(stderr, "kortool: %s (0x%08X)\n", error.what(), error.code());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kortool: %s\n", error.what());
        return 1;
    }
}
