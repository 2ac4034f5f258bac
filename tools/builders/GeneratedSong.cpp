#include "builders/GeneratedSong.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kor::test {

namespace {

constexpr const char* kHead = R"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
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
)";

constexpr const char* kPartHead = R"(			<partName><![CDATA[Part]]></partName>
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

constexpr const char* kTail = "\t</zrTrack>\n\t<seTrack>\n\t</seTrack>\n"
                              "\t<karaokeTrack>\n\t</karaokeTrack>\n</kor3>\n";

// The style values a note inserted with vibrato carries, and its two vibrato curves of three
// points each, as the "Normal" vibrato kind lays them.
void writeVibratoStyle(std::ostream& out) {
    out << "\t\t\t\t<noteStyle>\n";
    for (const auto& [id, value] : {std::pair{"accent", 50},
                                    {"bendDep", 8},
                                    {"bendLen", 0},
                                    {"decay", 50},
                                    {"fallPort", 0},
                                    {"opening", 127},
                                    {"risePort", 0},
                                    {"vibLen", 67},
                                    {"vibType", 1}})
        out << "\t\t\t\t\t<attr id=\"" << id << "\">" << value << "</attr>\n";
    for (const auto& [id, start, end] : {std::tuple{"vibDep", 64, 60}, {"vibRate", 50, 52}}) {
        out << "\t\t\t\t\t<seqAttr id=\"" << id << "\">\n";
        for (const auto& [posNrm, elv] : {std::pair{21627, start}, {43581, start}, {65536, end}})
            out << "\t\t\t\t\t\t<elem>\n\t\t\t\t\t\t\t<posNrm>" << posNrm
                << "</posNrm>\n\t\t\t\t\t\t\t<elv>" << elv << "</elv>\n\t\t\t\t\t\t</elem>\n";
        out << "\t\t\t\t\t</seqAttr>\n";
    }
    out << "\t\t\t\t</noteStyle>\n";
}

void writeNotes(std::ostream& out, std::int64_t notes, NoteDetail detail) {
    for (std::int64_t i = 0; i < notes; ++i) {
        out << "\t\t\t<note>\n\t\t\t\t<posTick>" << i * 480
            << "</posTick>\n\t\t\t\t<durTick>480</durTick>\n\t\t\t\t<noteNum>" << 48 + i % 24
            << "</noteNum>\n\t\t\t\t<velocity>64</velocity>\n"
               "\t\t\t\t<lyric><![CDATA[la]]></lyric>\n"
               "\t\t\t\t<phnms><![CDATA[l a]]></phnms>\n";
        switch (detail) {
        case NoteDetail::Full:
            out << "\t\t\t\t<noteStyle>\n"
                   "\t\t\t\t\t<attr id=\"accent\">50</attr>\n"
                   "\t\t\t\t\t<attr id=\"decay\">50</attr>\n"
                   "\t\t\t\t\t<seqAttr id=\"vibDep\">\n"
                   "\t\t\t\t\t\t<elem>\n\t\t\t\t\t\t\t<posNrm>0</posNrm>\n"
                   "\t\t\t\t\t\t\t<elv>64</elv>\n\t\t\t\t\t\t</elem>\n"
                   "\t\t\t\t\t</seqAttr>\n"
                   "\t\t\t\t</noteStyle>\n";
            break;
        case NoteDetail::Plain:
            out << "\t\t\t\t<noteStyle><attr id=\"accent\">50</attr></noteStyle>\n";
            break;
        case NoteDetail::Vibrato:
            writeVibratoStyle(out);
            break;
        }
        out << "\t\t\t</note>\n";
    }
}

} // namespace

void writeKor3Song(std::ostream& out, std::int64_t notes, NoteDetail detail) {
    writeKor3Song(out, std::vector<std::int64_t>{notes}, detail);
}

void writeKor3Song(std::ostream& out, const std::vector<std::int64_t>& partNotes,
                   NoteDetail detail) {
    out << kHead;
    std::int64_t posTick = 1920;
    for (const std::int64_t notes : partNotes) {
        const std::int64_t playTime = notes * 480 + 480;
        out << "\t\t<musicalPart>\n\t\t\t<posTick>" << posTick << "</posTick>\n"
            << "\t\t\t<playTime>" << playTime << "</playTime>\n"
            << kPartHead;
        writeNotes(out, notes, detail);
        out << "\t\t</musicalPart>\n";
        posTick += playTime;
    }
    out << kTail;
}

} // namespace kor::test
