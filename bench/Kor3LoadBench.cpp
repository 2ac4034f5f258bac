// Loading generated KOR3 songs of growing size, against a bare validating parse of the same bytes.
#include "BenchSongs.h"
#include "formats/kor3/Kor3Parser.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"

#include <benchmark/benchmark.h>

#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using kor::bench::cpuSeconds;
using kor::bench::songFile;

namespace xc = XERCES_CPP_NAMESPACE;

const std::string kSchemaDir = KORMAN_SCHEMA_DIR;

std::u16string utf16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

/// A validating reader set up like the library's, with a handler that does nothing: the scanner
/// for documents validated by schema alone (which skips a DOCTYPE) and the same features. It
/// takes the process's memory where the library's reader takes memory of its own, which counts
/// as the library's cost. `generalScanner` picks Xerces' default scanner instead, to compare the
/// two.
class BareParser {
public:
    explicit BareParser(bool generalScanner = false) {
        xc::XMLPlatformUtils::Initialize();
        reader_.reset(xc::XMLReaderFactory::createXMLReader());
        // The scanner comes first, as changing it resets the other settings.
        if (!generalScanner)
            reader_->setProperty(xc::XMLUni::fgXercesScannerName,
                                 const_cast<XMLCh*>(xc::XMLUni::fgSGXMLScanner));
        reader_->setFeature(xc::XMLUni::fgSAX2CoreValidation, true);
        reader_->setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
        reader_->setFeature(xc::XMLUni::fgXercesSchema, true);
        reader_->setFeature(xc::XMLUni::fgXercesSchemaFullChecking, true);
        location_ =
            utf16("http://korman.example/torivel/schema/kor3/ file://" + kSchemaDir + "/kor3.xsd");
        reader_->setProperty(xc::XMLUni::fgXercesSchemaExternalSchemaLocation, location_.data());
        reader_->setContentHandler(&handler_);
        reader_->setErrorHandler(&handler_);
    }
    ~BareParser() {
        reader_.reset();
        xc::XMLPlatformUtils::Terminate();
    }
    void parse(const std::filesystem::path& file) const {
        const std::u16string id = utf16(file.string());
        reader_->parse(id.c_str());
    }

private:
    xc::DefaultHandler handler_;
    std::unique_ptr<xc::SAX2XMLReader> reader_;
    std::u16string location_;
};

/// Each iteration loads the song into a new document with a new parser, as a file operation
/// does. Outside the timed part it also parses the same file with the bare parser, so the
/// vsBareXerces counter (load CPU time over bare parse CPU time) compares runs taken side by side.
void BM_Kor3Load(benchmark::State& state) {
    const auto& file = songFile(state.range(0));
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
    const std::wstring path = file.wstring();
    const std::wstring schemaDir(kSchemaDir.begin(), kSchemaDir.end());
    BareParser bare;
    double loadSeconds = 0;
    double bareTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        double start = cpuSeconds();
        bare.parse(file);
        bareTotal += cpuSeconds() - start;
        auto doc = std::make_unique<CZRKorDocument>();
        doc->setRoot(kor::createObject<CZRKorRoot>(doc->context(), ZR_NO_OBJ_ID));
        state.ResumeTiming();
        start = cpuSeconds();
        {
            Kor3::CZRKor3Parser parser;
            if (!parser.initParser(schemaDir) || parser.parseFile(doc.get(), path.c_str()) != 0) {
                state.SkipWithError("the generated song did not load");
                break;
            }
        }
        loadSeconds += cpuSeconds() - start;
        state.PauseTiming(); // the document's destruction is not part of the load
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes);
    if (bareTotal > 0) state.counters["vsBareXerces"] = loadSeconds / bareTotal;
    const auto perLoad = [&state](double seconds) {
        return seconds * 1000 /
               static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    };
    state.counters["load_ms"] = perLoad(loadSeconds);
    state.counters["bare_ms"] = perLoad(bareTotal);
}
BENCHMARK(BM_Kor3Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

/// The bare parse alone; the second argument 1 takes Xerces' default scanner instead of the
/// library's.
void BM_BareXercesParse(benchmark::State& state) {
    const auto& file = songFile(state.range(0));
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
    BareParser bare(state.range(1) != 0);
    for (auto _ : state)
        bare.parse(file);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_BareXercesParse)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace
