#include "formats/xml/XmlFormatParser.h"

#include "formats/xml/ComplexXmlNode.h"
#include "support/SongObjects.h"
#include "support/TempDir.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A small format of our own: a song name, a version and tempos, some wrapped in an element the
// nodes do not know.
constexpr std::size_t kNameLength = 256;

constexpr ZRXmlFormat kSongFormat{
    u"song",
    L"http://korman.example/test/song/",
    L"song.xsd",
    ZR_E_INVALID_XML_FILE,
    ZR_E_INVALID_KOR3_FILE,
    [](std::u16string_view element) -> std::size_t {
        return element == u"name" ? kNameLength : element == u"version" ? 15 : 0;
    },
    {}, // every text has its limit
};

const char* const kSongSchema = R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" elementFormDefault="qualified"
    targetNamespace="http://korman.example/test/song/" xmlns="http://korman.example/test/song/">
  <xs:complexType name="tempoType"><xs:sequence>
    <xs:choice>
      <xs:element name="posTick" type="xs:int"/>
      <xs:element name="wrap"><xs:complexType><xs:sequence>
        <xs:element name="posTick" type="xs:int"/></xs:sequence></xs:complexType></xs:element>
    </xs:choice>
    <xs:element name="bpm" type="xs:int"/>
  </xs:sequence></xs:complexType>
  <xs:element name="song"><xs:complexType><xs:sequence>
    <xs:element name="name" type="xs:string" minOccurs="0" maxOccurs="unbounded"/>
    <xs:element name="version" type="xs:string" minOccurs="0"/>
    <xs:element name="tempo" type="tempoType" minOccurs="0" maxOccurs="unbounded"/>
  </xs:sequence><xs:anyAttribute processContents="skip"/></xs:complexType></xs:element>
</xs:schema>
)";

/// Ten levels of ten references each: far more text than any song, if it were expanded.
const char* const kEntityBomb = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE song [
  <!ENTITY e0 "la">
  <!ENTITY e1 "&e0;&e0;&e0;&e0;&e0;&e0;&e0;&e0;&e0;&e0;">
  <!ENTITY e2 "&e1;&e1;&e1;&e1;&e1;&e1;&e1;&e1;&e1;&e1;">
  <!ENTITY e3 "&e2;&e2;&e2;&e2;&e2;&e2;&e2;&e2;&e2;&e2;">
  <!ENTITY e4 "&e3;&e3;&e3;&e3;&e3;&e3;&e3;&e3;&e3;&e3;">
  <!ENTITY e5 "&e4;&e4;&e4;&e4;&e4;&e4;&e4;&e4;&e4;&e4;">
  <!ENTITY e6 "&e5;&e5;&e5;&e5;&e5;&e5;&e5;&e5;&e5;&e5;">
  <!ENTITY e7 "&e6;&e6;&e6;&e6;&e6;&e6;&e6;&e6;&e6;&e6;">
  <!ENTITY e8 "&e7;&e7;&e7;&e7;&e7;&e7;&e7;&e7;&e7;&e7;">
  <!ENTITY e9 "&e8;&e8;&e8;&e8;&e8;&e8;&e8;&e8;&e8;&e8;">
]>)";

std::string songXml(const std::string& body, const std::string& root = "song",
                    const std::string& prolog = "", const std::string& rootAttributes = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + prolog + "<" + root +
           " xmlns=\"http://korman.example/test/song/\"" + rootAttributes + ">\n" + body + "\n</" +
           root + ">\n";
}

/// A listener on the loopback that accepts and counts every connection, so a test sees whether
/// anything tried to fetch from it (and a fetch fails at once instead of waiting).
class LoopbackListener {
public:
    LoopbackListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 16) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            ADD_FAILURE() << "no loopback listener";
        port_ = ntohs(address.sin_port);
        server_ = std::thread([this] {
            while (!stop_) {
                pollfd waiting{fd_, POLLIN, 0};
                if (::poll(&waiting, 1, 20) <= 0) continue;
                if (const int connection = ::accept(fd_, nullptr, nullptr); connection >= 0) {
                    ++connections_;
                    ::close(connection);
                }
            }
        });
    }
    ~LoopbackListener() {
        stop_ = true;
        server_.join();
        ::close(fd_);
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::string url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
    }
    int connections() const { return connections_; }

private:
    int fd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_ = false;
    std::atomic<int> connections_ = 0;
    std::thread server_;
};

/// What the nodes saw, for the tests to compare.
struct SongLog {
    int rootNodes = 0;
    std::vector<std::wstring> names;
};

class TempoTestNode final : public CZRComplexXmlNode {
public:
    TempoTestNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document,
                  CZRMasterTrack* master)
        : CZRComplexXmlNode(parser, parent, document)
        , master_(master) {}

    bool startChild(const ZRXmlStartTag& tag) override {
        if (tag.name == u"posTick")
            field_ = &ZRTempoValues::posTick;
        else if (tag.name == u"bpm")
            field_ = &ZRTempoValues::bpm;
        else
            return false;
        return true;
    }
    void takeValue(const CZRXmlValue& value) override { values_.*field_ = value.number(); }
    void endElement() override {
        auto* tempo = kor::createObject<CZRTempo>(document()->context(), ZR_NO_OBJ_ID, values_);
        if (tempo == nullptr || !master_->tempoList()->insertSorted(tempo))
            parser()->reportBuildFailure(ZR_E_NOT_ENOUGH_MEMORY);
    }

private:
    CZRMasterTrack* master_;
    ZRTempoValues values_;
    std::int32_t ZRTempoValues::*field_ = nullptr;
};

/// Builds a sound song at its first child (one voice, one track with its unit), then takes names,
/// the version and tempos.
class SongTestNode final : public CZRComplexXmlNode {
public:
    SongTestNode(AZRXmlParser* parser, AZRXmlNode* parent, CZRKorDocument* document, SongLog& log)
        : CZRComplexXmlNode(parser, parent, document)
        , log_(log) {
        ++log_.rootNodes;
    }

    bool startChild(const ZRXmlStartTag& tag) override {
        if (sequence_ == nullptr) build();
        if (tag.name == u"tempo") {
            startNodeChild<TempoTestNode>(sequence_->masterTrack());
            return false;
        }
        isName_ = tag.name == u"name";
        return isName_ || tag.name == u"version";
    }
    void takeValue(const CZRXmlValue& value) override {
        if (isName_) {
            log_.names.push_back(value.text());
            sequence_->masterTrack()->setSeqName(value.text());
        } else {
            sequence_->setVersion(value.text());
        }
    }

private:
    void build() {
        const ZRCreateContext context = document()->context();
        sequence_ = kor::buildEmptySequence(context);
        ASSERT_NE(sequence_, nullptr);
        ASSERT_TRUE(document()->root()->setSequence(sequence_));
        auto* voice = kor::createObject<CZRVVoice>(
            context, ZR_NO_OBJ_ID, ZRVVoiceValues{0, 0, L"BCNFCY43LB2LZCD4", L"Voice", {}});
        ASSERT_TRUE(sequence_->vvoiceList()->append(voice));
        auto* track =
            kor::createObject<CZRZRTrack>(context, ZR_NO_OBJ_ID, ZRZRTrackValues{L"Track", L"", 0});
        ASSERT_TRUE(track->setPartList(kor::createList(context, ZRObjType::Part)));
        ASSERT_TRUE(sequence_->zrTrackList()->append(track));
        auto* unit = kor::createObject<CZRZRUnit>(context, ZR_NO_OBJ_ID,
                                                  ZRZRUnitValues{0, 0, -898, 0, 0, 0, 64, 0});
        ASSERT_TRUE(sequence_->mixer()->zrUnitList()->append(unit));
    }

    SongLog& log_;
    CZRSequence* sequence_ = nullptr;
    bool isName_ = false;
};

class SongTestParser final : public CZRXmlFormatParser {
public:
    SongTestParser()
        : CZRXmlFormatParser(kSongFormat) {}
    SongLog log;

protected:
    void startRootNode(CZRKorDocument& target) override {
        startNode<SongTestNode>(nullptr, &target, log);
    }
};

/// A target as the manager prepares it: a document holding just its root.
struct Target {
    CZRKorDocument doc;
    Target() { doc.setRoot(kor::createObject<CZRKorRoot>(doc.context(), ZR_NO_OBJ_ID)); }
    CZRSequence* sequence() const { return doc.root()->sequence(); }
};

struct SongFiles {
    kor::test::TempDir dir;
    SongFiles() { dir.write("song.xsd", kSongSchema); }
    std::wstring write(const std::string& name, const std::string& xml) const {
        dir.write(name, xml);
        return dir.wide(name);
    }
};

std::vector<std::int32_t> tempoTicks(const CZRSequence& sequence) {
    std::vector<std::int32_t> ticks;
    for (const IZRMutableKorObject* tempo : sequence.masterTrack()->tempoList()->elements())
        ticks.push_back(tempo->getSortKey());
    return ticks;
}

} // namespace

TEST(XmlFormatParser, HandsValuesToTheNodesOfTheirElements) {
    SongFiles files;
    const std::wstring path = files.write("song.xml", songXml(R"(
  <name>
     Two  words
  </name>
  <name><![CDATA[ end]]&gt;here ]]></name>
  <name>R&amp;B &#x6B4C;</name>
  <version>3.0.0.11</version>
  <tempo><posTick>960</posTick><bpm>9000</bpm></tempo>
  <tempo><wrap><posTick>480</posTick></wrap><bpm>10000</bpm></tempo>
  <tempo><posTick> 0 </posTick><bpm>12000</bpm></tempo>)"));
    Target target;
    SongTestParser parser;
    ASSERT_TRUE(parser.initParser(files.dir.wide()));
    ASSERT_EQ(parser.parseFile(&target.doc, path.c_str()), 0u) << parser.lastMessage().c_str();
    EXPECT_EQ(parser.result(), 0u);
    EXPECT_EQ(parser.log.names,
              (std::vector<std::wstring>{L"Two  words", L"end]]>here", L"R&B \u6B4C"}));
    ASSERT_NE(target.sequence(), nullptr);
    EXPECT_EQ(tempoTicks(*target.sequence()), (std::vector<std::int32_t>{0, 480, 960}));
    EXPECT_TRUE(parser.lastMessage().empty());
}

TEST(XmlFormatParser, ReportsMalformedAndInvalidDocuments) {
    struct Case {
        const char* what;
        std::string xml;
        const wchar_t* messageStart;
    };
    const Case cases[] = {
        {"unclosed element", songXml("<name>A</nam>"), L"Fatal Error at file \""},
        {"not a number", songXml("<tempo><posTick>fast</posTick><bpm>1</bpm></tempo>"),
         L"Error at file \""},
        {"element out of order", songXml("<version>1</version><name>A</name>"),
         L"Error at file \""},
        {"other root element", songXml("<name>A</name>", "tune"), L"Error at file \""},
        {"nested entities", std::string(kEntityBomb) + songXml("<name>&e9;</name>").substr(39),
         L"Fatal Error at file \""},
    };
    SongFiles files;
    SongTestParser parser;
    ASSERT_TRUE(parser.initParser(files.dir.wide()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = files.write("bad.xml", c.xml);
        Target target;
        EXPECT_EQ(parser.parseFile(&target.doc, path.c_str()), ZR_E_INVALID_KOR3_FILE);
        EXPECT_EQ(parser.lastMessage().rfind(c.messageStart + path + L"\", line ", 0), 0u)
            << std::string(parser.lastMessage().begin(), parser.lastMessage().end());
    }
    // Nothing of a failed document reaches the next one.
    const std::size_t namesBefore = parser.log.names.size();
    const std::wstring good = files.write("good.xml", songXml("<name>B</name>"));
    Target target;
    ASSERT_EQ(parser.parseFile(&target.doc, good.c_str()), 0u);
    EXPECT_EQ(
        std::vector<std::wstring>(parser.log.names.begin() + namesBefore, parser.log.names.end()),
        std::vector<std::wstring>{L"B"});
}

TEST(XmlFormatParser, ReportsVerificationFailureWithTheDumpsOfItsPath) {
    SongFiles files;
    const std::wstring path = files.write("song.xml", songXml("<version></version>"));
    Target target;
    SongTestParser parser;
    ASSERT_TRUE(parser.initParser(files.dir.wide()));
    EXPECT_EQ(parser.parseFile(&target.doc, path.c_str()), ZR_E_INVALID_SEQUENCE_FILE_VERSION);
    EXPECT_EQ(parser.result(), ZR_E_INVALID_SEQUENCE_FILE_VERSION);
    std::wstring expected = L"Verify error : ";
    target.doc.root()->dump(expected, 0);
    expected += L"\nERROR >>>>> ";
    target.sequence()->dump(expected, 0);
    expected += L" <<<<< ERROR\n";
    EXPECT_EQ(parser.lastMessage(), expected);

    // The same parser reads the next file afresh: message emptied, a new root node.
    const std::wstring good = files.write("good.xml", songXml("<name>B</name>"));
    Target second;
    EXPECT_EQ(parser.parseFile(&second.doc, good.c_str()), 0u);
    EXPECT_TRUE(parser.lastMessage().empty());
    EXPECT_EQ(parser.log.rootNodes, 2);
}

TEST(XmlFormatParser, FindsTheSchemaInAFolderWithBlankAndPercent) {
    kor::test::TempDir dir;
    const std::string folder = dir.path() + "/my songs%20";
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "/song.xsd") << kSongSchema;
    dir.write("song.xml", songXml("<name>A</name>"));
    const std::wstring wideFolder(folder.begin(), folder.end());

    SongTestParser parser;
    ASSERT_TRUE(parser.initParser(wideFolder));
    EXPECT_NE(parser.schemaLocation().find(L"/my%20songs%2520/song.xsd"), std::wstring::npos);
    EXPECT_EQ(parser.schemaLocation().rfind(L"http://korman.example/test/song/ file://", 0), 0u);
    Target target;
    EXPECT_EQ(parser.parseFile(&target.doc, dir.wide("song.xml").c_str()), 0u)
        << std::string(parser.lastMessage().begin(), parser.lastMessage().end());
}

TEST(XmlFormatParser, ReadsNothingButTheSongAndBoundsWhatAHostileDocumentCosts) {
    SongFiles files;
    files.dir.write("secret.txt", "TOPSECRET");
    const std::string secret = "file://" + files.dir.path() + "/secret.txt";
    const std::string pipe = files.dir.path() + "/pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const LoopbackListener host;
    const auto doctype = [](const std::string& declarations) {
        return "<!DOCTYPE song [" + declarations + "]>\n";
    };
    const auto repeat = [](const std::string& text, int count) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += text;
        return out;
    };
    const std::string name = "<name>A</name>";
    const std::string xsi = " xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' ";

    struct Case {
        const char* what;
        std::string xml;
        std::uint32_t code;
        std::wstring expected; // the refusal's reason, or the name read
    };
    const Case cases[] = {
        {"entity naming a local file",
         songXml("<name>&x;</name>", "song", doctype("<!ENTITY x SYSTEM '" + secret + "'>")),
         ZR_E_INVALID_KOR3_FILE, L"entity 'x' not found"},
        {"entity naming a file beside the song",
         songXml("<name>&x;</name>", "song", doctype("<!ENTITY x SYSTEM 'secret.txt'>")),
         ZR_E_INVALID_KOR3_FILE, L"entity 'x' not found"},
        {"entity naming a pipe, which would block",
         songXml("<name>&x;</name>", "song", doctype("<!ENTITY x SYSTEM '" + pipe + "'>")),
         ZR_E_INVALID_KOR3_FILE, L"entity 'x' not found"},
        {"entity on a host",
         songXml("<name>&x;</name>", "song", doctype("<!ENTITY x SYSTEM '" + host.url("x") + "'>")),
         ZR_E_INVALID_KOR3_FILE, L"entity 'x' not found"},
        {"parameter entity on a host, which could carry data out",
         songXml(name, "song", doctype("<!ENTITY % p SYSTEM '" + host.url("p.dtd") + "'> %p;")), 0,
         L"A"},
        {"DTD on a host",
         songXml(name, "song", "<!DOCTYPE song SYSTEM '" + host.url("s.dtd") + "'>"), 0, L"A"},
        {"DTD naming a local file that is no DTD",
         songXml(name, "song", "<!DOCTYPE song SYSTEM '" + secret + "'>"), 0, L"A"},
        {"schema named by the document",
         songXml(name, "song", "",
                 xsi + "xsi:schemaLocation='http://korman.example/test/song/ " +
                     host.url("song.xsd") + "'"),
         0, L"A"},
        {"schema without namespace named by the document",
         songXml(name, "song", "",
                 xsi + "xsi:noNamespaceSchemaLocation='" + host.url("s.xsd") + "'"),
         0, L"A"},
        {"billion laughs", std::string(kEntityBomb) + songXml("<name>&e9;</name>").substr(39),
         ZR_E_INVALID_KOR3_FILE, L"entity 'e9' not found"},
        {"predefined entities and character references, as many as it takes",
         songXml("<name>" + repeat("&amp;&#x41;", 3000) + "</name>"), 0,
         [] {
             std::wstring text;
             for (int i = 0; i < 3000; ++i)
                 text += L"&A";
             return text;
         }()},
        {"deep nesting inside a value", songXml("<name>" + repeat("<x>", 100000)),
         ZR_E_INVALID_KOR3_FILE, L"nested deeper than 32 levels"},
        {"text no element holds", songXml("<name>" + std::string(300000, 'y') + "</name>"),
         ZR_E_INVALID_KOR3_FILE, L"the text of element 'name' is longer than 256 characters"},
        {"10k attributes on one element",
         songXml(name, "song", "",
                 [] {
                     std::string attributes;
                     for (int i = 0; i < 10000; ++i)
                         attributes += " a" + std::to_string(i) + "='1'";
                     return attributes;
                 }()),
         ZR_E_INVALID_KOR3_FILE, L"an element with more than 64 attributes"},
        {"CDATA section no element holds",
         songXml("<name><![CDATA[" + std::string(std::size_t{5} << 20, 'y') + "]]></name>"),
         ZR_E_INVALID_KOR3_FILE, L"longer than 4194304 bytes"},
    };
    SongTestParser parser;
    ASSERT_TRUE(parser.initParser(files.dir.wide()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = files.write("hostile.xml", c.xml);
        Target target;
        parser.log.names.clear();
        EXPECT_EQ(parser.parseFile(&target.doc, path.c_str()), c.code);
        const std::string message(parser.lastMessage().begin(), parser.lastMessage().end());
        if (c.code != 0) {
            EXPECT_EQ(parser.lastMessage().rfind(L"Fatal Error at file \"" + path, 0), 0u)
                << message;
            EXPECT_NE(parser.lastMessage().find(c.expected), std::wstring::npos) << message;
            EXPECT_TRUE(parser.log.names.empty());
        } else {
            EXPECT_EQ(parser.log.names, std::vector<std::wstring>{c.expected}) << message;
        }
    }
    EXPECT_EQ(host.connections(), 0);
}
