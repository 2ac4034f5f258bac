// Saving KOR3 songs of growing size, against a plain buffered write of the same bytes.
#include "BenchSongs.h"
#include "formats/kor3/Kor3Parser.h"
#include "formats/kor3/Kor3Writer.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using kor::bench::cpuSeconds;

/// The generated song of `notes` notes, loaded as the manager loads it.
std::unique_ptr<CZRKorDocument> loadedSong(std::int64_t notes) {
    auto doc = std::make_unique<CZRKorDocument>();
    doc->setRoot(kor::createObject<CZRKorRoot>(doc->context(), ZR_NO_OBJ_ID));
    const std::string schemaDir = KORMAN_SCHEMA_DIR;
    const std::wstring path = kor::bench::songFile(notes).wstring();
    Kor3::CZRKor3Parser parser;
    if (!parser.initParser(std::wstring(schemaDir.begin(), schemaDir.end())) ||
        parser.parseFile(doc.get(), path.c_str()) != 0)
        return nullptr;
    return doc;
}

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Each iteration saves the song (validation, formatting, temporary file, rename) over the file
/// of the last iteration. After the timed loop the bytes saved are written as many times again
/// with a plain buffered stream; the vsPlainWrite counter is the save's throughput as a share of
/// the plain write's. Both are steady-state runs of one kind of work, in CPU time of this thread,
/// so neither pays for the other's use of the caches and other work on the machine does not
/// count.
void BM_Kor3Save(benchmark::State& state) {
    const auto doc = loadedSong(state.range(0));
    if (doc == nullptr) {
        state.SkipWithError("the generated song did not load");
        return;
    }
    const std::filesystem::path saved = kor::bench::scratchFile("saved.korx");
    const std::filesystem::path plain = kor::bench::scratchFile("plain.korx");
    if (Kor3::saveKor3File(doc->root(), saved.wstring()) != 0) {
        state.SkipWithError("the song could not be saved");
        return;
    }
    const std::string bytes = readAll(saved);
    double saveSeconds = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        if (Kor3::saveKor3File(doc->root(), saved.wstring()) != 0) {
            state.SkipWithError("the song could not be saved");
            break;
        }
        saveSeconds += cpuSeconds() - start;
    }
    const double start = cpuSeconds();
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) {
        std::ofstream out(plain, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const double plainSeconds = cpuSeconds() - start;
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    if (saveSeconds > 0) state.counters["vsPlainWrite"] = plainSeconds / saveSeconds;
    std::filesystem::remove(saved);
    std::filesystem::remove(plain);
}
BENCHMARK(BM_Kor3Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
