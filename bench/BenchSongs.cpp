#include "BenchSongs.h"

#include "builders/SmfBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <utility>

namespace kor::bench {

namespace {

// The run's scratch folder: made on first use, removed with everything in it at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string name =
            (std::filesystem::temp_directory_path() / "korman-bench-XXXXXX").string();
        if (::mkdtemp(name.data()) != nullptr) path_ = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

std::filesystem::path scratchFile(const std::string& name) {
    static const ScratchFolder folder;
    return folder.path() / name;
}

const std::filesystem::path& midiSongFile() {
    static const std::filesystem::path path = [] {
        kor::test::SmfBuilder smf;
        smf.addTrack().tempo(0, 500000).timeSignature(0, 4, 2);
        for (unsigned channel = 0; channel < kMidiSongTracks; ++channel) {
            kor::test::SmfTrackWriter& track = smf.addTrack();
            track.meta(0, 0x03, "Voice " + std::to_string(channel + 1));
            for (std::uint32_t i = 0, tick = 0; i < kMidiSongTrackNotes; ++i, tick += 240) {
                if (i % 4 == 0)
                    track.controller(tick, channel, 11, 64 + i % 64)
                        .message(tick, 0xE0 | channel, 0, 64 + i % 8);
                track.meta(tick, 0x05, "la")
                    .noteOn(tick, channel, 48 + i % 24, 100)
                    .noteOff(tick + 200, channel, 48 + i % 24);
            }
        }
        const std::filesystem::path file = scratchFile("import.mid");
        std::ofstream(file, std::ios::binary) << smf.bytes();
        return file;
    }();
    return path;
}

const std::filesystem::path& songFile(std::int64_t notes) {
    return songFile({notes}, kor::test::NoteDetail::Full);
}

const std::filesystem::path& songFile(const std::vector<std::int64_t>& partNotes,
                                      kor::test::NoteDetail detail) {
    static std::map<std::pair<std::vector<std::int64_t>, kor::test::NoteDetail>,
                    std::filesystem::path>
        files;
    auto& path = files[{partNotes, detail}];
    if (path.empty()) {
        std::string name = "song";
        // Appended piece by piece: GCC 12 takes "-" + std::string for an overlapping copy.
        for (const std::int64_t notes : partNotes)
            (name += '-') += std::to_string(notes);
        ((name += '-') += std::to_string(static_cast<int>(detail))) += ".korx";
        path = scratchFile(name);
        std::ofstream out(path, std::ios::binary);
        kor::test::writeKor3Song(out, partNotes, detail);
    }
    return path;
}

std::unique_ptr<CZRKorManagerIF> initializedManager(benchmark::State& state, int undoLimit) {
    // The library keeps its folders below the user's data folder: keep them out of the home.
    const std::filesystem::path data = scratchFile("data");
    std::error_code ignored;
    std::filesystem::create_directories(data, ignored);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    auto manager = std::make_unique<CZRKorManagerIF>();
    ZRKorManagementPolicy policy;
    policy.schemaFolder = std::filesystem::path(KORMAN_SCHEMA_DIR).wstring();
    policy.undoLimit = undoLimit;
    if (manager->sysInitialize(policy) != 0) return manager;
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", manager->sysGetLastError());
    state.SkipWithError((std::string("the manager did not initialize: ") + code).c_str());
    return nullptr;
}

std::vector<IZRMusicalPart*> musicalParts(const IZRKorRoot* root) {
    std::vector<IZRMusicalPart*> parts;
    const IZRSequence* sequence = root != nullptr ? root->getSequence() : nullptr;
    const IZRNodeList* tracks = sequence != nullptr ? sequence->getZRTrackList() : nullptr;
    for (std::uint32_t t = 0; tracks != nullptr && t < tracks->getCount(); ++t) {
        const auto* track = dynamic_cast<const IZRZRTrack*>(tracks->getAt(t));
        const IZRNodeList* list = track != nullptr ? track->getPartList() : nullptr;
        for (std::uint32_t p = 0; list != nullptr && p < list->getCount(); ++p)
            if (auto* part = dynamic_cast<IZRMusicalPart*>(list->getAt(p))) parts.push_back(part);
    }
    return parts;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace kor::bench
