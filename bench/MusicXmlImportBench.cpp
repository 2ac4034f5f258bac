// Importing the largest chorale of the real scores through the manager, against a bare parse of
// the same score.
#include "BenchSongs.h"
#include "interchange/MusicXmlArchive.h"

#include <benchmark/benchmark.h>

#include <korman/korman.h>

#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <zip.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using kor::bench::cpuSeconds;

namespace xc = XERCES_CPP_NAMESPACE;

const std::filesystem::path kChorale =
    std::filesystem::path(KORMAN_MUSICXML_SAMPLES_DIR) / "bach" / "bwv1.6.mxl";

/// A non-validating reader that skips the DOCTYPE, as the import's, with a handler that does
/// nothing; it parses the score already inflated.
class BareParser {
public:
    BareParser() {
        xc::XMLPlatformUtils::Initialize();
        reader_.reset(xc::XMLReaderFactory::createXMLReader());
        reader_->setProperty(xc::XMLUni::fgXercesScannerName,
                             const_cast<XMLCh*>(xc::XMLUni::fgSGXMLScanner));
        reader_->setFeature(xc::XMLUni::fgSAX2CoreValidation, false);
        reader_->setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
        reader_->setContentHandler(&handler_);
        reader_->setErrorHandler(&handler_);
    }
    ~BareParser() {
        reader_.reset();
        xc::XMLPlatformUtils::Terminate();
    }
    void parse(const std::string& bytes) const {
        const xc::MemBufInputSource input(reinterpret_cast<const XMLByte*>(bytes.data()),
                                          bytes.size(), "score");
        reader_->parse(input);
    }

private:
    xc::DefaultHandler handler_;
    std::unique_ptr<xc::SAX2XMLReader> reader_;
};

/// The score of the compressed file at `path`, inflated whole; false when it cannot be.
bool inflate(const std::filesystem::path& path, std::string& score) {
    kor::CZRMusicXmlArchive archive;
    if (archive.open(path.wstring()) != 0) return false;
    std::byte block[65536];
    while (const std::size_t count = archive.read(block, sizeof block))
        score.append(reinterpret_cast<const char*>(block), count);
    return archive.failure() == 0;
}

/// Each iteration surveys the chorale (fileGetMusicXMLImportDirective) and imports every part
/// into the import buffer (fileImportMusicXML); the survey inflates and reads the whole score,
/// which the import then takes over.
/// Bytes are those of the inflated score, per import. Outside the timed part the bare parser
/// reads the inflated score, so vsBareXerces (import CPU time over bare parse CPU time) compares
/// runs taken side by side.
void BM_MusicXmlImport(benchmark::State& state) {
    std::string score;
    if (!inflate(kChorale, score)) {
        state.SkipWithError("the chorale is missing or cannot be inflated");
        return;
    }
    const auto manager = kor::bench::initializedManager(state);
    if (manager == nullptr) return;
    const std::wstring path = kChorale.wstring();
    const BareParser bare;
    double surveySeconds = 0;
    double importSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        std::vector<ZRMusicXMLPartImportDirective> directives;
        double start = cpuSeconds();
        const int surveyed = manager->fileGetMusicXMLImportDirective(path.c_str(), directives);
        surveySeconds += cpuSeconds() - start;
        start = cpuSeconds();
        const IZRKorRoot* root =
            surveyed != 0 ? manager->fileImportMusicXML(path.c_str(), 1, directives) : nullptr;
        importSeconds += cpuSeconds() - start;
        state.PauseTiming();
        manager->korEmptyImportBuffer();
        start = cpuSeconds();
        bare.parse(score);
        bareSeconds += cpuSeconds() - start;
        state.ResumeTiming();
        if (root == nullptr) {
            state.SkipWithError("the import failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(score.size()));
    const auto perIteration = [&](double seconds) {
        return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    };
    state.counters["survey_ms"] = perIteration(surveySeconds);
    state.counters["import_ms"] = perIteration(importSeconds);
    if (importSeconds > 0)
        state.counters["import_MBps"] = static_cast<double>(score.size()) *
                                        static_cast<double>(state.iterations()) / importSeconds /
                                        1e6;
    if (bareSeconds > 0) state.counters["vsBareXerces"] = importSeconds / bareSeconds;
}
BENCHMARK(BM_MusicXmlImport)->Unit(benchmark::kMillisecond);

/// A score the reader refuses, plain (argument 0) or compressed (1): each iteration surveys it
/// through the manager. Arguments 0 to 2 of the second place pick what the score hides: a 5 MB
/// attribute value, comment or text. The compressed one must cost what the plain one does: both
/// are refused once 4 MiB pass without anything the reader can report.
void BM_MusicXmlHostile(benchmark::State& state) {
    const bool compressed = state.range(0) != 0;
    const std::string filler(std::size_t{5} << 20, 'x');
    const std::string hidden[] = {"<work a='" + filler + "'/>", "<!--" + filler + "-->",
                                  "<work><work-title>" + filler + "</work-title></work>"};
    const std::string score = "<?xml version='1.0'?><score-partwise version='4.0'>" +
                              hidden[state.range(1)] + "<part-list/></score-partwise>";
    const std::filesystem::path path = kor::bench::scratchFile(
        "hostile" + std::to_string(state.range(1)) + (compressed ? ".mxl" : ".musicxml"));
    if (compressed) {
        zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
        const std::string container =
            "<container><rootfiles><rootfile full-path='score.xml'/></rootfiles></container>";
        for (const auto& [name, content] :
             {std::pair{"META-INF/container.xml", &container}, std::pair{"score.xml", &score}})
            zip_file_add(archive, name,
                         zip_source_buffer(archive, content->data(), content->size(), 0), 0);
        zip_close(archive);
    } else {
        std::ofstream(path, std::ios::binary) << score;
    }
    const auto manager = kor::bench::initializedManager(state);
    if (manager == nullptr) return;
    const std::wstring wide = path.wstring();
    for (auto _ : state) {
        std::vector<ZRMusicXMLPartImportDirective> directives;
        if (manager->fileGetMusicXMLImportDirective(wide.c_str(), directives) != 0) {
            state.SkipWithError("the hostile score was read");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(score.size()));
}
BENCHMARK(BM_MusicXmlHostile)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->ArgNames({"compressed", "hides"})
    ->Unit(benchmark::kMillisecond);

} // namespace
