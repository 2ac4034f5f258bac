// Loading generated KOR3 songs of growing size, against a bare validating parse of the same bytes.
#include "formats/kor3/Kor3Parser.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/ObjectFactory.h"
#include "support/GeneratedSong.h"

#include <benchmark/benchmark.h>

#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

namespace xc = XERCES_CPP_NAMESPACE;

const std::string kSchemaDir = KORMAN_SCHEMA_DIR;

/// The generated song of `notes` notes, written once per run into the temporary folder.
const std::filesystem::path& songFile(std::int64_t notes) {
    static std::map<std::int64_t, std::filesystem::path> files;
    auto& path = files[notes];
    if (path.empty()) {
        path = std::filesystem::temp_directory_path() /
               ("korman-bench-" + std::to_string(notes) + ".korx");
        std::ofstream out(path, std::ios::binary);
        kor::test::writeKor3Song(out, notes);
    }
    return path;
}

std::u16string utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

/// A validating reader set up like the library's, with a handler that does nothing.
class BareParser {
public:
    BareParser() {
        xc::XMLPlatformUtils::Initialize();
        reader_.reset(xc::XMLReaderFactory::createXMLReader());
        reader_->setFeature(xc::XMLUni::fgSAX2CoreValidation, true);
        reader_->setFeature(xc::XMLUni::fgSAX2CoreNameSpaces, true);
        reader_->setFeature(xc::XMLUni::fgXercesSchema, true);
        reader_->setFeature(xc::XMLUni::fgXercesSchemaFullChecking, true);
        location_ = utf16("http://korman.example/torivel/schema/kor3/ file://" + kSchemaDir +
                          "/kor3.xsd");
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

/// CPU seconds of the calling thread: other work on the machine does not count.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

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
}
BENCHMARK(BM_Kor3Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_BareXercesParse(benchmark::State& state) {
    const auto& file = songFile(state.range(0));
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(file));
    BareParser bare;
    for (auto _ : state) bare.parse(file);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_BareXercesParse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
