#include "interchange/MusicXmlScore.h"

#include "interchange/MusicXmlArchive.h"
#include "interchange/ScoreClock.h"
#include "interchange/ScoreElements.h"
#include "interchange/ScoreNotes.h"
#include "interchange/MusicXmlParser.h"
#include "legacy/ConductorTrack.h"
#include "platform/Path.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <new>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace kor {

namespace {

using namespace score;

// Which reader follows an element: the score's own structure (parts and titles), the clock,
// the note or the lyric.
enum class Owner : std::uint8_t { Score, Clock, Note, Lyric };

Owner ownerOf(Element element, Element parent) {
    switch (element) {
    case Element::Other:
    case Element::ScorePartwise:
    case Element::ScoreTimewise:
    case Element::WorkTitle:
    case Element::MovementTitle:
    case Element::ScorePart:
    case Element::PartName:
    case Element::Part:
        return Owner::Score;
    case Element::Lyric:
    case Element::Syllabic:
    case Element::Text:
    case Element::Elision:
    case Element::Extend:
        return Owner::Lyric;
    case Element::Transpose:
    case Element::Chromatic:
    case Element::OctaveChange:
    case Element::Note:
    case Element::Grace:
    case Element::Cue:
    case Element::Chord:
    case Element::Pitch:
    case Element::Unpitched:
    case Element::Step:
    case Element::Alter:
    case Element::Octave:
    case Element::DisplayStep:
    case Element::DisplayOctave:
    case Element::Rest:
    case Element::Voice:
    case Element::Tie:
    case Element::Tied:
        return Owner::Note;
    case Element::Duration:
        return parent == Element::Backup || parent == Element::Forward ? Owner::Clock : Owner::Note;
    case Element::Measure:
    case Element::Attributes:
    case Element::Divisions:
    case Element::Time:
    case Element::Beats:
    case Element::BeatType:
    case Element::Backup:
    case Element::Forward:
    case Element::Sound:
    case Element::Direction:
    case Element::Metronome:
    case Element::BeatUnit:
    case Element::BeatUnitDot:
    case Element::PerMinute:
    case Element::Barline:
    case Element::Repeat:
    case Element::Ending:
    case Element::Segno:
    case Element::Coda:
        break;
    }
    return Owner::Clock;
}

// Follows the elements of a score-partwise document and gathers the score: the parts and the
// titles itself, each other element through the reader that owns it.
class ScoreBuilder final : public CxMusicXmlParser::Sink {
public:
    explicit ScoreBuilder(MusicXmlScore& score)
        : score_(score) {}

    std::uint32_t startElement(const ZRXmlTag& tag) override {
        const Element element = elementOf(tag.name);
        const Element parent = open_.empty() ? Element::Other : open_.back();
        if (open_.empty() && element != Element::ScorePartwise)
            return refuse_(element == Element::ScoreTimewise
                               ? L"a score-timewise document; only score-partwise is read"
                               : L"the document is no MusicXML score (root '" + tag.name + L"')");
        open_.push_back(element);
        switch (ownerOf(element, parent)) {
        case Owner::Score:
            if (element == Element::ScorePart) return selectPart(attribute(tag, L"id"), true);
            if (element == Element::Part) return startPart(attribute(tag, L"id"));
            return 0;
        case Owner::Clock:
            return clock_.start(element, parent, tag);
        case Owner::Note:
            notes_.start(element, parent, tag);
            return 0;
        case Owner::Lyric:
            lyrics_.start(element, parent, tag, notes_.lyrics().size());
            return 0;
        }
        return 0;
    }

    std::uint32_t endElement(const std::wstring&, const std::wstring& text) override {
        const Element element = open_.empty() ? Element::Other : open_.back();
        if (!open_.empty()) open_.pop_back();
        const Element parent = open_.empty() ? Element::Other : open_.back();
        switch (ownerOf(element, parent)) {
        case Owner::Score:
            endScoreElement(element, parent, text);
            return 0;
        case Owner::Clock:
            return clock_.end(element, parent, text);
        case Owner::Note:
            return notes_.end(element, parent, text,
                              current_ < score_.parts.size() ? &score_.parts[current_] : nullptr);
        case Owner::Lyric:
            lyrics_.end(element, parent, text, notes_.lyrics());
            return 0;
        }
        return 0;
    }

    std::wstring refusalReason() const override { return refuse_.reason(); }

private:
    void endScoreElement(Element element, Element parent, const std::wstring& text) {
        if (element == Element::WorkTitle) score_.title = oneLine(text);
        if (element == Element::MovementTitle && score_.title.empty()) score_.title = oneLine(text);
        if (element == Element::PartName && parent == Element::ScorePart &&
            current_ < score_.parts.size())
            score_.parts[current_].name = oneLine(text);
    }

    // Makes the part of `id` current. The part list names each part once; a part of the body
    // is found by its id, one without an id is the next of the list, and one the list lacks is
    // added to it.
    std::uint32_t selectPart(const std::wstring& id, bool listed) {
        for (std::size_t i = 0; i < score_.parts.size() && !id.empty(); ++i) {
            if (score_.parts[i].id == id) {
                current_ = i;
                return 0;
            }
        }
        if (id.empty() && !listed && partsSeen_ < score_.parts.size()) {
            current_ = partsSeen_;
            return 0;
        }
        if (score_.parts.size() == kMaxParts)
            return refuse_(L"more than " + std::to_wstring(kMaxParts) + L" parts");
        score_.parts.push_back(ScorePart{id, {}, {}, {}, {}});
        current_ = score_.parts.size() - 1;
        return 0;
    }

    std::uint32_t startPart(const std::wstring& id) {
        if (const std::uint32_t code = selectPart(id, false)) return code;
        ++partsSeen_;
        clock_.startPart(current_, partsSeen_ == 1);
        notes_.startPart();
        return 0;
    }

    MusicXmlScore& score_;
    Refusal refuse_;
    ScoreClock clock_{score_, refuse_};
    NoteReader notes_{clock_, refuse_};
    LyricReader lyrics_;
    std::vector<Element> open_;
    std::size_t current_ = 0;
    std::size_t partsSeen_ = 0;
};

// Whether the file starts as a zip archive, as a compressed score does.
bool startsAsZip(const std::wstring& path) {
    const auto file = platform::toPath(path);
    if (!file) return false;
    std::array<char, 4> head{};
    std::ifstream in(*file, std::ios::binary);
    in.read(head.data(), head.size());
    return in.gcount() == 4 && std::string_view(head.data(), 4) == std::string_view("PK\3\4", 4);
}

// Takes the name of the root element and stops the parse there.
class RootSink final : public CxMusicXmlParser::Sink {
public:
    std::uint32_t startElement(const ZRXmlTag& tag) override {
        root = tag.name;
        return ZR_E_INVALID_MUSICXML;
    }
    std::uint32_t endElement(const std::wstring&, const std::wstring&) override { return 0; }
    std::wstring refusalReason() const override { return L"the root element is read"; }

    std::wstring root;
};

// Hands a score's elements on to the builder and refuses a score of more notes than kMaxScoreNotes:
// past that, a small archive could become a song too large to load back.
class NoteCap final : public CxMusicXmlParser::Sink {
public:
    explicit NoteCap(CxMusicXmlParser::Sink& builder)
        : builder_(builder) {}

    std::uint32_t startElement(const ZRXmlTag& tag) override {
        if (tag.name == L"note" && ++notes_ > kMaxScoreNotes) {
            reason_ = L"the score holds more than " + std::to_wstring(kMaxScoreNotes) + L" notes";
            return ZR_E_INVALID_MUSICXML;
        }
        return builder_.startElement(tag);
    }
    std::uint32_t endElement(const std::wstring& name, const std::wstring& text) override {
        return builder_.endElement(name, text);
    }
    std::wstring refusalReason() const override {
        return reason_.empty() ? builder_.refusalReason() : reason_;
    }

private:
    CxMusicXmlParser::Sink& builder_;
    std::size_t notes_ = 0;
    std::wstring reason_;
};

// Reads the score at `path` into `sink`: a compressed one through its archive, which reports a
// score it cut short (damaged, or inflating past its bound) in place of the parser.
std::uint32_t readScore(const std::wstring& path, CxMusicXmlParser& parser,
                        CxMusicXmlParser::Sink& sink, std::wstring& message) {
    if (!startsAsZip(path)) return parser.parseFile(path, sink);
    CZRMusicXmlArchive archive;
    if (const std::uint32_t code = archive.open(path)) {
        message = archive.message();
        return code;
    }
    const std::uint32_t code = parser.parse(archive, path + L"!" + archive.rootFile(), sink);
    if (archive.failure() == 0) return code;
    message = archive.message();
    return archive.failure();
}

} // namespace

ZRFileFormat musicXmlFileFormat(const std::wstring& path) {
    try {
        CxMusicXmlParser parser;
        RootSink sink;
        std::wstring message;
        static_cast<void>(readScore(path, parser, sink, message));
        return sink.root == L"score-partwise" || sink.root == L"score-timewise"
                   ? ZR_FILE_FORMAT_MUSICXML
                   : ZR_FILE_FORMAT_UNKNOWN;
    } catch (const std::bad_alloc&) {
        return ZR_FILE_FORMAT_UNKNOWN;
    }
}

std::uint32_t readMusicXmlScore(const std::wstring& path, MusicXmlScore& score,
                                std::wstring& message) {
    score = MusicXmlScore{};
    message.clear();
    CxMusicXmlParser parser;
    ScoreBuilder builder(score);
    NoteCap capped(builder);
    const std::uint32_t code = readScore(path, parser, capped, message);
    if (message.empty()) message = parser.message();
    if (code == 0) message.clear();
    return code;
}

} // namespace kor
