// Throughput of the MIDI file reader on the largest real song at hand and on a generated file of
// 200k events, against a plain read of the same bytes from a file in the same run.
#include "BenchSongs.h"
#include "legacy/MidiSequence.h"
#include "builders/SmfBuilder.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string largestSample() {
    std::string largest;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(KORMAN_MIDI_SAMPLES_DIR, ec)) {
        if (entry.path().extension() != ".mid" || entry.file_size(ec) <= largest.size()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        largest.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return largest;
}

// 16 tracks of notes, controllers and pitch bends under running status, 200k events in all.
std::string generated() {
    kor::test::SmfBuilder smf;
    smf.addTrack().tempo(0, 500000).timeSignature(0, 4, 2);
    for (unsigned channel = 0; channel < 16; ++channel) {
        kor::test::SmfTrackWriter& track = smf.addTrack().runningStatus(true);
        std::uint32_t tick = channel;
        for (int i = 0; i < 12500 / 4; ++i, tick += 120) {
            track.noteOn(tick, channel, 40 + i % 40, 100)
                .noteOn(tick + 60, channel, 40 + i % 40, 0);
            track.controller(tick + 60, channel, 11, i % 128)
                .message(tick + 90, 0xE0 | channel, 0, 64);
        }
    }
    return smf.bytes();
}

const std::string& input(std::int64_t which) {
    static const std::string real = largestSample();
    static const std::string made = generated();
    return which == 0 ? real : made;
}

bool ready(benchmark::State& state, const std::string& bytes) {
    if (!bytes.empty()) return true;
    state.SkipWithError("no MIDI songs in " KORMAN_MIDI_SAMPLES_DIR);
    return false;
}

/// Reads the bytes back from a file of their own into memory, as any reader of the song must.
void BM_PlainRead(benchmark::State& state) {
    const std::string& bytes = input(state.range(0));
    if (!ready(state, bytes)) return;
    const std::filesystem::path file =
        kor::bench::scratchFile("smf-" + std::to_string(state.range(0)) + ".mid");
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::string read(bytes.size(), '\0');
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        in.read(read.data(), static_cast<std::streamsize>(read.size()));
        benchmark::DoNotOptimize(read.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

void BM_ParseAndMergedWalk(benchmark::State& state) {
    const std::string& bytes = input(state.range(0));
    if (!ready(state, bytes)) return;
    std::int64_t events = 0;
    for (auto _ : state) {
        auto sequence = kor::test::parseSmf(bytes).sequence;
        sequence->rewind();
        CxMidiEvent event;
        while (sequence->next(event))
            ++events;
        benchmark::DoNotOptimize(sequence->elapsedMilliseconds());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.SetItemsProcessed(events);
}

void BM_ParseAndTrackWalks(benchmark::State& state) {
    const std::string& bytes = input(state.range(0));
    if (!ready(state, bytes)) return;
    std::int64_t events = 0;
    for (auto _ : state) {
        auto sequence = kor::test::parseSmf(bytes).sequence;
        for (std::size_t t = 0; t < sequence->trackCount(); ++t) {
            CxMidiTrack* track = sequence->track(t);
            CxMidiEvent event;
            while (track->next(event))
                ++events;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.SetItemsProcessed(events);
}

} // namespace

// Argument 0: the largest real song; 1: the generated 200k-event file.
BENCHMARK(BM_PlainRead)->Arg(0)->Arg(1);
BENCHMARK(BM_ParseAndMergedWalk)->Arg(0)->Arg(1);
BENCHMARK(BM_ParseAndTrackWalks)->Arg(0)->Arg(1);
