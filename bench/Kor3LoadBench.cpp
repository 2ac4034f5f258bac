// Loading generated KOR3 songs of growing size, against a bare validating parse of the same bytes.
#include "formats/kor3/Kor3Parser.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/ObjectFactory.h"

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

/// A song of one track and one musical part holding `notes` notes, as the writer lays it out.
std::string songText(std::int64_t notes) {
    std::string text = R"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<kor3 xmlns="http://korman.example/torivel/schema/kor3/">
	<vender><![CDATA[korman]]></vender>
	<version><![CDATA[3.0.0.11]]></version>
	<vVoiceTable>
		<vVoice>
			<vBS>0</vBS>
			<vPC>0</vPC>
			<compID><![CDATA[BCNFCY43LB2LZCD4]]></compID>
			<vVoiceName><![CDATA[Voice]]></vVoiceName>
			<vVoiceParam>
				<bre>0</bre>
				<bri>0</bri>
				<cle>0</cle>
				<gen>0</gen>
				<ope>0</ope>
			</vVoiceParam>
		</vVoice>
	</vVoiceTable>
	<mixer>
		<masterUnit>
			<outDev>0</outDev>
			<retLevel>0</retLevel>
			<vol>0</vol>
		</masterUnit>
		<zrUnit>
			<zrTrackNo>0</zrTrackNo>
			<inGain>0</inGain>
			<sendLevel>-898</sendLevel>
			<sendEnable>0</sendEnable>
			<mute>0</mute>
			<solo>0</solo>
			<pan>64</pan>
			<vol>0</vol>
		</zrUnit>
		<seUnit>
			<inGain>0</inGain>
			<sendLevel>-898</sendLevel>
			<sendEnable>0</sendEnable>
			<mute>0</mute>
			<solo>0</solo>
			<pan>64</pan>
			<vol>0</vol>
		</seUnit>
		<karaokeUnit>
			<inGain>0</inGain>
			<mute>0</mute>
			<solo>0</solo>
			<vol>0</vol>
		</karaokeUnit>
	</mixer>
	<masterTrack>
		<seqName><![CDATA[Generated]]></seqName>
		<comment><![CDATA[]]></comment>
		<resolution>480</resolution>
		<preMeasure>1</preMeasure>
		<timeSig>
			<posMes>0</posMes>
			<nume>4</nume>
			<denomi>4</denomi>
		</timeSig>
		<tempo>
			<posTick>0</posTick>
			<bpm>12000</bpm>
		</tempo>
	</masterTrack>
	<zrTrack>
		<zrTrackNo>0</zrTrackNo>
		<trackName><![CDATA[Track]]></trackName>
		<comment><![CDATA[]]></comment>
		<musicalPart>
			<posTick>1920</posTick>
)";
    text += "\t\t\t<playTime>" + std::to_string(notes * 480 + 480) + "</playTime>\n";
    text += R"(			<partName><![CDATA[Part]]></partName>
			<comment><![CDATA[]]></comment>
			<stylePlugin>
				<stylePluginID><![CDATA[ACA9C502-A04B-42b5-B2EB-5CEA36D16FCE]]></stylePluginID>
				<stylePluginName><![CDATA[Style]]></stylePluginName>
				<version><![CDATA[3.0.0.1]]></version>
			</stylePlugin>
			<partStyle>
				<attr id="accent">50</attr>
			</partStyle>
			<singer>
				<posTick>0</posTick>
				<vBS>0</vBS>
				<vPC>0</vPC>
			</singer>
)";
    for (std::int64_t i = 0; i < notes; ++i) {
        text += "\t\t\t<note>\n\t\t\t\t<posTick>" + std::to_string(i * 480) +
                "</posTick>\n\t\t\t\t<durTick>480</durTick>\n\t\t\t\t<noteNum>" +
                std::to_string(48 + i % 24) +
                "</noteNum>\n\t\t\t\t<velocity>64</velocity>\n"
                "\t\t\t\t<lyric><![CDATA[la]]></lyric>\n"
                "\t\t\t\t<phnms><![CDATA[l a]]></phnms>\n"
                "\t\t\t\t<noteStyle>\n"
                "\t\t\t\t\t<attr id=\"accent\">50</attr>\n"
                "\t\t\t\t\t<attr id=\"decay\">50</attr>\n"
                "\t\t\t\t\t<seqAttr id=\"vibDep\">\n"
                "\t\t\t\t\t\t<elem>\n\t\t\t\t\t\t\t<posNrm>0</posNrm>\n"
                "\t\t\t\t\t\t\t<elv>64</elv>\n\t\t\t\t\t\t</elem>\n"
                "\t\t\t\t\t</seqAttr>\n"
                "\t\t\t\t</noteStyle>\n\t\t\t</note>\n";
    }
    text += "\t\t</musicalPart>\n\t</zrTrack>\n\t<seTrack>\n\t</seTrack>\n"
            "\t<karaokeTrack>\n\t</karaokeTrack>\n</kor3>\n";
    return text;
}

/// The generated song of `notes` notes, written once per run into the temporary folder.
const std::filesystem::path& songFile(std::int64_t notes) {
    static std::map<std::int64_t, std::filesystem::path> files;
    auto& path = files[notes];
    if (path.empty()) {
        path = std::filesystem::temp_directory_path() /
               ("korman-bench-" + std::to_string(notes) + ".korx");
        std::ofstream(path, std::ios::binary) << songText(notes);
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
