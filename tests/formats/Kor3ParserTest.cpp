#include "formats/kor3/Kor3Parser.h"

#include "support/ListPath.h"
#include "support/SongObjects.h"
#include "builders/GeneratedSong.h"
#include "support/SongFiles.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

namespace {

std::wstring wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}
std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

std::wstring dataFile(const char* name) {
    return wide(std::string(KORMAN_TEST_DATA_DIR) + "/kor3/" + name);
}

/// A document as the manager prepares it for a load, and the code of reading `name` into it.
struct Loaded {
    CZRKorDocument doc;
    std::uint32_t code = 0;
    std::wstring message;

    explicit Loaded(const char* name, Kor3::CZRKor3Parser* parser = nullptr) {
        doc.setRoot(kor::createObject<CZRKorRoot>(doc.context(), ZR_NO_OBJ_ID));
        Kor3::CZRKor3Parser own;
        Kor3::CZRKor3Parser& used = parser != nullptr ? *parser : own;
        EXPECT_TRUE(used.initParser(wide(KORMAN_SCHEMA_DIR)));
        code = used.parseFile(&doc, dataFile(name).c_str());
        message = used.lastMessage();
    }
    CZRSequence& sequence() const { return *doc.root()->sequence(); }
};

const auto& keys = kor::test::sortKeys;

using kor::test::at;

using Keys = std::vector<std::int32_t>;

} // namespace

TEST(Kor3Parser, LoadsHeaderVoicesAndMixer) {
    Loaded song("full.korx");
    ASSERT_EQ(song.code, 0u) << narrow(song.message);
    const CZRSequence& seq = song.sequence();
    // vender and version of the file leave the library's own in place.
    EXPECT_EQ(seq.getVender(), kor::kNewSequenceVender);
    EXPECT_EQ(seq.getVersion(), kor::kNewSequenceVersion);

    ASSERT_EQ(keys(seq.vvoiceList()), (Keys{0, 65536 + 5}));
    EXPECT_EQ(at<CZRVVoice>(seq.vvoiceList(), 0).getName(), L"First Voice");
    const ZRVVoiceParam& param = at<CZRVVoice>(seq.vvoiceList(), 1).getParam();
    EXPECT_EQ((std::vector<int>{param.breathiness, param.brightness, param.clearness,
                                param.genderFactor, param.opening}),
              (std::vector<int>{1, 2, 3, 4, 5}));

    const CZRMasterUnit& master = *seq.mixer()->masterUnit();
    EXPECT_EQ(master.values().outDev, 2);
    EXPECT_EQ(master.values().srRetLevel, -20);
    EXPECT_EQ(master.values().vol, -10);
    ASSERT_EQ(master.vstList(CZRMasterUnit::kInsertList)->getCount(), 1u);
    ASSERT_EQ(master.vstList(CZRMasterUnit::kSendReturnList)->getCount(), 1u);
    const auto& sendReturn = at<CZRVstPlugin>(master.vstList(CZRMasterUnit::kSendReturnList), 0);
    EXPECT_EQ(sendReturn.getID(), L"MASTER-SEND-RETURN");
    EXPECT_EQ(sendReturn.getPresetNo(), 3);
    EXPECT_EQ(sendReturn.getBypass(), 1);

    // ZR units in track order; out-of-range solo, pan and volume leave the unit's values.
    const CZRNodeList* units = seq.mixer()->zrUnitList();
    ASSERT_EQ(keys(units), (Keys{0, 1}));
    const ZRZRUnitValues& kept = at<CZRZRUnit>(units, 0).values();
    EXPECT_EQ(kept.inGain, -3);
    EXPECT_EQ(kept.solo, 0);
    EXPECT_EQ(kept.pan, 0);
    EXPECT_EQ(kept.vol, 0);
    const ZRZRUnitValues& applied = at<CZRZRUnit>(units, 1).values();
    EXPECT_EQ(applied.solo, 1);
    EXPECT_EQ(applied.pan, 128);
    EXPECT_EQ(applied.vol, -898);
    // Ten parameters announced, three values read: three parameters.
    const auto& eq = at<CZRVstPlugin>(at<CZRZRUnit>(units, 0).vstList(), 0);
    EXPECT_EQ(eq.getParamNum(), 3);
    EXPECT_EQ(eq.values().values, (std::vector<std::int32_t>{11, -12, 13}));

    CZRKorDocument fresh;
    const CZRSequence* defaults = kor::buildEmptySequence(fresh.context());
    ASSERT_NE(defaults, nullptr);
    const ZRSEUnitValues& se = seq.mixer()->seUnit()->values();
    EXPECT_EQ(se.inGain, 1);
    EXPECT_EQ(se.pan, defaults->mixer()->seUnit()->values().pan);
    EXPECT_EQ(se.vol, defaults->mixer()->seUnit()->values().vol);
    EXPECT_EQ(seq.mixer()->karaokeUnit()->values().vol, 60);
}

TEST(Kor3Parser, LoadsTracksPartsAndEventsInPositionOrder) {
    Loaded song("full.korx");
    ASSERT_EQ(song.code, 0u) << narrow(song.message);
    const CZRSequence& seq = song.sequence();
    const CZRMasterTrack& master = *seq.masterTrack();
    EXPECT_EQ(master.getSeqName(), L"Full Song");
    EXPECT_EQ(master.getPreMeasure(), 2);
    EXPECT_EQ(keys(master.timeSigList()), (Keys{0, 4}));
    EXPECT_EQ(keys(master.tempoList()), (Keys{0, 3840}));

    ASSERT_EQ(keys(seq.zrTrackList()), (Keys{0, 1}));
    const CZRZRTrack& lead = at<CZRZRTrack>(seq.zrTrackList(), 0);
    EXPECT_EQ(lead.getName(), L"Lead");
    ASSERT_EQ(keys(lead.partList()), (Keys{1920, 7680}));

    const auto& part = at<CZRMusicalPart>(lead.partList(), 0);
    EXPECT_EQ(part.getName(), L"Verse");
    EXPECT_EQ(part.stylePlugin()->getID(), kor::kDefaultStylePluginID);
    std::int32_t bendDep = 0;
    EXPECT_TRUE(part.partStyle()->getValue(L"bendDep", bendDep));
    EXPECT_EQ(bendDep, 8);
    EXPECT_EQ(
        keys(part.getPhraseStyleList(L"warmth") ? part.phraseStyleLists().at(L"warmth") : nullptr),
        (Keys{0, 960}));
    EXPECT_EQ(keys(part.styleControlLists().at(L"POR")), (Keys{0}));
    EXPECT_EQ(keys(part.singerList()), (Keys{0}));
    // Two DYN points in order, one PBS point; the point of the unknown kind is dropped.
    EXPECT_EQ(keys(part.controlList(0)), (Keys{0, 480}));
    EXPECT_EQ(keys(part.controlList(6)), (Keys{0}));
    std::size_t controls = 0;
    for (std::int32_t type = 0; type < 7; ++type)
        controls += part.controlList(type)->getCount();
    EXPECT_EQ(controls, 3u);

    const auto& spoken = at<CZRProsodyPart>(lead.partList(), 1);
    EXPECT_EQ(keys(spoken.elementList(0)), (Keys{0, 500}));
    EXPECT_EQ(at<CZRProsodyElement>(spoken.elementList(0), 1).getValue(), 6100);
    EXPECT_EQ(keys(spoken.elementList(1)), (Keys{0}));
    EXPECT_EQ(keys(spoken.phonemeList()), (Keys{0, 1000}));
    EXPECT_EQ(keys(spoken.controlList(4)), (Keys{100}));

    const auto& clap = at<CZRWAVPart>(seq.seTrack()->wavPartList(), 0);
    EXPECT_EQ(clap.getFilePath(), L"clap.wav");
    EXPECT_EQ(clap.getSampleRate(), 44100);
    EXPECT_EQ(seq.karaokeTrack()->wavPartList()->getCount(), 0u);
    const auto& aux = at<CZRAux>(seq.unManaged()->auxList(), 0);
    EXPECT_EQ(aux.getID(), L"HOST-LAYOUT");
    EXPECT_EQ(aux.getContent(), L"zoom=2 ]]> done");
}

TEST(Kor3Parser, RejectsBrokenDocumentsWithCodeAndDetail) {
    struct Case {
        const char* file;
        std::uint32_t code;
        const wchar_t* messageStart;
    };
    const Case cases[] = {
        {"malformed.korx", ZR_E_INVALID_KOR3_FILE, L"Fatal Error at file \""},
        {"schema-violation.korx", ZR_E_INVALID_KOR3_FILE, L"Error at file \""},
        {"rejected-value.korx", ZR_E_INVALID_VVOICE_COMPONENT_ID, L"Verify error : CZRKorRoot {"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Loaded song(c.file);
        EXPECT_EQ(song.code, c.code);
        EXPECT_EQ(song.message.rfind(c.messageStart, 0), 0u) << narrow(song.message);
    }
    Loaded rejected("rejected-value.korx");
    const std::wstring& report = rejected.message;
    const std::size_t mark = report.find(L"\nERROR >>>>> CZRVVoice {");
    ASSERT_NE(mark, std::wstring::npos);
    EXPECT_NE(report.find(L"compID=TOO-SHORT", mark), std::wstring::npos);
    EXPECT_NE(report.rfind(L"CZRSequence {", mark), std::wstring::npos);
    const std::wstring end = L" <<<<< ERROR\n";
    EXPECT_EQ(report.substr(report.size() - end.size()), end);
}

namespace {

/// A /proc/self/status figure in KiB ("VmRSS", "VmHWM").
long statusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    return -1;
}

} // namespace

TEST(Kor3Parser, RefusesATextNoElementHoldsAtOnceWithBoundedMemory) {
    kor::test::TempDir dir;
    std::ifstream in(narrow(dataFile("full.korx")), std::ios::binary);
    const std::string full((std::istreambuf_iterator<char>(in)), {});
    const auto withText = [&full](const std::string& element, const std::string& text) {
        const std::size_t start = full.find("<" + element + ">") + element.size() + 2;
        return full.substr(0, start) + text + full.substr(full.find("</" + element + ">", start));
    };
    const std::string huge(std::size_t{64} << 20, 'y');
    struct Case {
        const char* what;
        std::string xml;
        std::uint32_t code;
        const wchar_t* reason;
        std::size_t contentSize = 0;
    };
    const Case cases[] = {
        {"name as text", withText("seqName", huge), ZR_E_INVALID_KOR3_FILE,
         L"the text of element 'seqName' is longer than 256 characters"},
        {"lyric in a CDATA section", withText("lyric", "<![CDATA[" + huge + "]]>"),
         ZR_E_INVALID_KOR3_FILE, L"longer than 4194304 bytes"},
        {"aux content, which has no limit", withText("content", std::string(1 << 20, 'z')), 0,
         nullptr, 1 << 20},
        {"aux content in a CDATA section longer than the reader's quiet stretch",
         withText("content", "<![CDATA[" + std::string(5 << 20, 'z') + "]]>"), 0, nullptr, 5 << 20},
    };
    // Loads `xml` into `doc`; answers the code, the message and how far the peak of resident
    // memory rose meanwhile.
    struct Loaded {
        std::uint32_t code;
        std::wstring message;
        long peakRiseKiB;
    };
    const auto load = [&dir](const std::string& xml, CZRKorDocument& doc) {
        std::ofstream(dir.path() + "/song.korx", std::ios::binary) << xml;
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = statusKiB("VmRSS");
        doc.setRoot(kor::createObject<CZRKorRoot>(doc.context(), ZR_NO_OBJ_ID));
        Kor3::CZRKor3Parser parser;
        if (!parser.initParser(wide(KORMAN_SCHEMA_DIR))) return Loaded{~0u, L"no parser", 0};
        const std::uint32_t code = parser.parseFile(&doc, dir.wide("song.korx").c_str());
        return Loaded{code, parser.lastMessage(), statusKiB("VmHWM") - before};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CZRKorDocument doc;
        const Loaded loaded = load(c.xml, doc);
        EXPECT_EQ(loaded.code, c.code);
        if (c.reason != nullptr) {
            EXPECT_NE(loaded.message.find(c.reason), std::wstring::npos) << narrow(loaded.message);
            // Far less than the 64 MiB text, which is never gathered.
            EXPECT_LT(loaded.peakRiseKiB, 32 * 1024);
        } else {
            const auto* aux =
                kor::objCast<CZRAux>(doc.root()->sequence()->unManaged()->auxList()->elementAt(0));
            ASSERT_NE(aux, nullptr);
            EXPECT_EQ(aux->getContent(), std::wstring(c.contentSize, L'z'));
        }
    }

    // Start tags with long attributes are handed on as they come, not all gathered first: 400
    // style values under one ID of 100 000 characters are 80 MB of attributes to read.
    const std::string id(100000, 'q');
    std::string values;
    for (int i = 0; i < 400; ++i)
        values += "<attr id=\"" + id + "\">1</attr>";
    const std::size_t style = full.find("<noteStyle>") + std::string_view("<noteStyle>").size();
    CZRKorDocument doc;
    EXPECT_LT(load(full.substr(0, style) + values + full.substr(style), doc).peakRiseKiB,
              32 * 1024);
}

TEST(Kor3Parser, ReadsAMillionNotesInBoundedTimeAndMemory) {
    constexpr std::int64_t kNotes = 1000000;
    kor::test::TempDir dir;
    {
        std::ofstream out(dir.path() + "/big.korx", std::ios::binary);
        kor::test::writeKor3Song(out, kNotes, kor::test::NoteDetail::Plain);
    }
    // Start the peak over, so that it tells what this load takes. Time is counted in CPU
    // seconds of the process, which other work on the machine does not stretch.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = statusKiB("VmRSS");
    const std::clock_t start = std::clock();
    {
        CZRKorDocument doc;
        doc.setRoot(kor::createObject<CZRKorRoot>(doc.context(), ZR_NO_OBJ_ID));
        Kor3::CZRKor3Parser parser;
        ASSERT_TRUE(parser.initParser(wide(KORMAN_SCHEMA_DIR)));
        ASSERT_EQ(parser.parseFile(&doc, dir.wide("big.korx").c_str()), 0u)
            << narrow(parser.lastMessage().substr(0, 200));
        const auto& track = at<CZRZRTrack>(doc.root()->sequence()->zrTrackList(), 0);
        EXPECT_EQ(at<CZRMusicalPart>(track.partList(), 0).noteList()->getCount(),
                  static_cast<std::uint32_t>(kNotes));
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    const double kibPerNote = static_cast<double>(statusKiB("VmHWM") - before) / kNotes;
    // Linear work stays far below these bounds even under the sanitizers (about 100 s and
    // 1.5 KiB per note there); anything quadratic or a copy per note does not.
    EXPECT_LT(seconds, 600.0);
    EXPECT_LT(kibPerNote, 4.0);
}
