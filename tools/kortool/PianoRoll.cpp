#include "PianoRoll.h"

#include "CommandLine.h"
#include "PitchLine.h"
#include "Text.h"
#include "Timeline.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

namespace kortool {

namespace {

constexpr double kPixelsPerBeat = 40;
constexpr int kLabelWidth = 130;
constexpr int kRulerHeight = 48;
constexpr int kLaneHeader = 20;
constexpr int kKeyHeight = 8;
constexpr int kDynHeight = 24;
constexpr int kWavLaneHeight = 44;
constexpr int kMinKeys = 12;
constexpr int kRowGap = 16;
constexpr int kMargin = 10;
constexpr double kCurveStep = 1.5;    // pixels between the points of a drawn curve
constexpr int kMaxCurvePoints = 4096; // a note's share of a curve, however wide it is drawn
constexpr std::size_t kMaxRows = 1000;

std::string escaped(const std::wstring& text) {
    std::string out;
    for (const char c : narrow(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// One row of the picture: the measures it shows and their ticks, the last tick excluded.
struct Row {
    int firstMeasure = 0;
    int lastMeasure = 0;
    int firstTick = 0;
    int lastTick = 0;
};

// Draws one row into an SVG text, mapping the row's ticks onto x.
class Canvas {
public:
    Canvas(std::ostream& out, const Row& row, double pixelsPerTick)
        : out_(out)
        , firstTick_(row.firstTick)
        , lastTick_(row.lastTick)
        , pixelsPerTick_(pixelsPerTick) {}

    double x(int tick) const { return kLabelWidth + double(tick - firstTick_) * pixelsPerTick_; }
    double width() const { return x(lastTick_) + kMargin; }
    bool shows(int from, int to) const { return to > firstTick_ && from < lastTick_; }
    int clamp(int tick) const { return std::clamp(tick, firstTick_, lastTick_); }
    /// Ticks from `from` to `to` (both clamped to the row, both included), a curve step apart.
    std::vector<int> samples(int from, int to) const {
        from = clamp(from);
        to = clamp(to);
        const int step =
            std::max({1, int(kCurveStep / pixelsPerTick_), (to - from) / kMaxCurvePoints});
        std::vector<int> ticks;
        for (int tick = from; tick < to; tick += step)
            ticks.push_back(tick);
        ticks.push_back(to);
        return ticks;
    }

    void rect(const char* cls, int fromTick, int toTick, double y, double height,
              const std::string& title = {}) {
        out_ << "<rect class=\"" << cls << "\" x=\"" << number(x(clamp(fromTick))) << "\" y=\""
             << number(y) << "\" width=\""
             << number(std::max(1.0, x(clamp(toTick)) - x(clamp(fromTick)))) << "\" height=\""
             << number(height) << "\">";
        if (!title.empty()) out_ << "<title>" << title << "</title>";
        out_ << "</rect>\n";
    }
    /// A box from `left` to the right end of the row.
    void band(const char* cls, double left, double y, double height) {
        out_ << "<rect class=\"" << cls << "\" x=\"" << number(left) << "\" y=\"" << number(y)
             << "\" width=\"" << number(width() - left) << "\" height=\"" << number(height)
             << "\"/>\n";
    }
    void text(const char* cls, double x, double y, const std::string& content) {
        out_ << "<text class=\"" << cls << "\" x=\"" << number(x) << "\" y=\"" << number(y) << "\">"
             << content << "</text>\n";
    }
    void line(const char* cls, double x1, double y1, double x2, double y2) {
        out_ << "<line class=\"" << cls << "\" x1=\"" << number(x1) << "\" y1=\"" << number(y1)
             << "\" x2=\"" << number(x2) << "\" y2=\"" << number(y2) << "\"/>\n";
    }
    /// A path of `points` (x, y) joined by straight lines, each of `pieces` starting afresh.
    void path(const char* cls, const std::vector<std::vector<std::pair<double, double>>>& pieces) {
        std::string d;
        for (const auto& piece : pieces)
            for (std::size_t i = 0; i < piece.size(); ++i) {
                if (!d.empty()) d += ' ';
                ((d += i == 0 ? 'M' : 'L') += number(piece[i].first)) += ' ';
                d += number(piece[i].second);
            }
        if (!d.empty()) out_ << "<path class=\"" << cls << "\" d=\"" << d << "\"/>\n";
    }

private:
    std::ostream& out_;
    int firstTick_;
    int lastTick_;
    double pixelsPerTick_;
};

void drawRuler(Canvas& canvas, const Timeline& time, const Row& row, double top, double bottom) {
    for (int measure = row.firstMeasure; measure <= row.lastMeasure + 1; ++measure) {
        const double x = canvas.x(time.measureStart(measure));
        canvas.line("bar", x, top + 16, x, bottom);
        if (measure <= row.lastMeasure)
            canvas.text("measure", x + 3, top + 14, std::to_string(measure));
    }
    for (const Timeline::Signature& sig : time.signatures())
        if (sig.measure >= row.firstMeasure && sig.measure <= row.lastMeasure)
            canvas.text("timesig", canvas.x(sig.tick) + 3, top + 29,
                        std::to_string(sig.numerator) + "/" + std::to_string(sig.denominator));
    for (const Timeline::Tempo& tempo : time.tempos())
        if (tempo.tick >= row.firstTick && tempo.tick < row.lastTick)
            canvas.text("tempo", canvas.x(tempo.tick) + 3, top + 43,
                        "\u2669=" + number(tempo.bpm100 / 100.0));
}

// The keys a lane shows: those of its notes in the drawn measures, widened to at least kMinKeys.
struct KeyRange {
    int low = 60;
    int high = 60;
    int count() const { return high - low + 1; }
};

KeyRange keyRange(const IZRZRTrack& track, int firstTick, int lastTick) {
    int low = 128, high = -1;
    for (const IZRMusicalPart* part : elementsOf<IZRMusicalPart>(track.getPartList()))
        for (const IZRMusicalNote* note : elementsOf<IZRMusicalNote>(part->getNoteList())) {
            const int start = part->getPosTick() + note->getPosTick();
            if (start + note->getDurTick() <= firstTick || start >= lastTick) continue;
            low = std::min(low, note->getNoteNum());
            high = std::max(high, note->getNoteNum());
        }
    if (high < 0) low = high = 60;
    const int missing = std::max(0, kMinKeys - (high - low + 1));
    return {std::max(0, low - missing / 2 - 1), std::min(127, high + (missing + 1) / 2 + 1)};
}

// Key 60 is middle C, named C4.
std::string keyName(int key) {
    static const char* const names[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                        "F#", "G",  "G#", "A",  "A#", "B"};
    return names[key % 12] + std::to_string(key / 12 - 1);
}

bool isBlackKey(int key) {
    const int step = key % 12;
    return step == 1 || step == 3 || step == 6 || step == 8 || step == 10;
}

double laneHeight(const KeyRange& keys) {
    return kLaneHeader + keys.count() * kKeyHeight + kDynHeight;
}

// The note names down the lane's left edge, a shade on the black keys and a line under each C.
void drawPitchAxis(Canvas& canvas, const KeyRange& keys, double keysTop) {
    for (int key = keys.low; key <= keys.high; ++key) {
        const double y = keysTop + (keys.high - key) * kKeyHeight;
        if (isBlackKey(key)) canvas.band("blackkey", kLabelWidth, y, kKeyHeight);
        canvas.text("key", kLabelWidth - 4, y + kKeyHeight - 1, keyName(key));
        if (key % 12 == 0)
            canvas.line("octave", kLabelWidth - 40, y + kKeyHeight, canvas.width(), y + kKeyHeight);
    }
}

// The part's pitch line: one stretch per note, the note's centre moved by the cents of bend
// and vibrato (a semitone is a key's height), kept within the lane's keys.
void drawPitchLine(Canvas& canvas, const PitchLine& pitch, const IZRMusicalPart& part,
                   const KeyRange& keys, double keysTop) {
    std::vector<std::vector<std::pair<double, double>>> pieces;
    for (const IZRMusicalNote* note : elementsOf<IZRMusicalNote>(part.getNoteList())) {
        const int from = part.getPosTick() + note->getPosTick();
        const int to = from + note->getDurTick();
        if (!canvas.shows(from, to)) continue;
        const double centre = keysTop + (keys.high - note->getNoteNum() + 0.5) * kKeyHeight;
        const std::vector<int> ticks = canvas.samples(from, to);
        const std::vector<double> cents = pitch.cents(*note, ticks);
        auto& piece = pieces.emplace_back();
        for (std::size_t i = 0; i < ticks.size(); ++i)
            piece.emplace_back(canvas.x(ticks[i]),
                               std::clamp(centre - cents[i] / 100 * kKeyHeight, keysTop,
                                          keysTop + keys.count() * kKeyHeight));
    }
    canvas.path("pitch", pieces);
}

// The part's dynamics as steps across the strip under the keys: 0 at its bottom, 127 at its top.
void drawDynamics(Canvas& canvas, const PitchLine& pitch, const IZRMusicalPart& part,
                  double stripTop) {
    const int partEnd = part.getPosTick() + part.getPlayTime();
    const auto steps = pitch.dynamics();
    std::vector<std::pair<double, double>> line;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const int from = canvas.clamp(std::min(steps[i].first, partEnd));
        const int to =
            canvas.clamp(i + 1 < steps.size() ? std::min(steps[i + 1].first, partEnd) : partEnd);
        if (to <= from) continue;
        const double y = stripTop + kDynHeight - 2 - steps[i].second * (kDynHeight - 4) / 127.0;
        line.emplace_back(canvas.x(from), y);
        line.emplace_back(canvas.x(to), y);
    }
    canvas.path("dyn", {line});
}

void drawTrack(Canvas& canvas, const Timeline& time, const IZRZRTrack& track, const KeyRange& keys,
               double top) {
    const double height = laneHeight(keys);
    const double keysTop = top + kLaneHeader;
    const double stripTop = keysTop + keys.count() * kKeyHeight;
    canvas.band("lane", 0, top, height);
    canvas.text("lanename", 6, top + 14,
                "ZR " + std::to_string(track.getTrackNo()) + " " + escaped(track.getName()));
    drawPitchAxis(canvas, keys, keysTop);
    canvas.band("dynstrip", kLabelWidth, stripTop, kDynHeight);
    canvas.text("key", kLabelWidth - 4, stripTop + kDynHeight / 2 + 3, "DYN");
    for (const IZRPart* part : elementsOf<IZRPart>(track.getPartList())) {
        const int start = part->getPosTick();
        if (!canvas.shows(start, start + part->getPlayTime())) continue;
        canvas.rect("part", start, start + part->getPlayTime(), top + 2, height - 4,
                    escaped(part->getName()));
        if (!part->getName().empty())
            canvas.text("partname", canvas.x(canvas.clamp(start)) + 4, top + 14,
                        escaped(part->getName()));
        const auto* musical = dynamic_cast<const IZRMusicalPart*>(part);
        if (musical == nullptr) continue;
        for (const IZRMusicalNote* note : elementsOf<IZRMusicalNote>(musical->getNoteList())) {
            const int from = start + note->getPosTick();
            const int to = from + note->getDurTick();
            if (!canvas.shows(from, to)) continue;
            const double y = keysTop + (keys.high - note->getNoteNum()) * kKeyHeight;
            canvas.rect("note", from, to, y + 1, kKeyHeight - 2,
                        escaped(note->getLyric()) + " (" + keyName(note->getNoteNum()) + ")");
            canvas.text("lyric", canvas.x(canvas.clamp(from)) + 1, y - 1,
                        escaped(note->getLyric()));
        }
        const PitchLine pitch(time, *musical);
        drawPitchLine(canvas, pitch, *musical, keys, keysTop);
        drawDynamics(canvas, pitch, *musical, stripTop);
    }
}

double drawWavTrack(Canvas& canvas, const char* name, const IZRWAVTrack* track, double top) {
    const auto parts = elementsOf<IZRWAVPart>(track != nullptr ? track->getWAVPartList() : nullptr);
    if (parts.empty()) return 0;
    canvas.band("lane", 0, top, kWavLaneHeight);
    canvas.text("lanename", 6, top + 14, name);
    for (const IZRWAVPart* part : parts) {
        const int start = part->getPosTick();
        if (!canvas.shows(start, start + part->getPlayTime())) continue;
        canvas.rect("wav", start, start + part->getPlayTime(), top + 6, kWavLaneHeight - 12,
                    escaped(part->getFilePath()));
        canvas.text("partname", canvas.x(canvas.clamp(start)) + 4, top + 26,
                    escaped(part->getName()));
    }
    return kWavLaneHeight;
}

// Splits the measures into rows: `measuresPerRow` a row when given, else as many as fit `width`,
// else all in one. The usual scale shrinks when a row of `measuresPerRow`, or a single measure,
// would not fit `width`. A layout of more than kMaxRows rows is a usage error.
std::vector<Row> layRows(const Timeline& time, int firstMeasure, int lastMeasure,
                         const RollOptions& options, double& pixelsPerTick) {
    pixelsPerTick = kPixelsPerBeat / time.resolution();
    const double room = options.width ? std::max(1, *options.width - kLabelWidth - kMargin) : 0;
    const int perRow = options.measuresPerRow.value_or(options.width ? 1 : lastMeasure + 1);
    if (options.width) {
        int longest = 1;
        for (int measure = firstMeasure; measure <= lastMeasure; measure += perRow) {
            const int end = std::min(measure + perRow - 1, lastMeasure) + 1;
            longest = std::max(longest, time.measureStart(end) - time.measureStart(measure));
        }
        pixelsPerTick =
            options.measuresPerRow ? room / longest : std::min(pixelsPerTick, room / longest);
    }
    std::vector<Row> rows;
    for (int measure = firstMeasure; measure <= lastMeasure;) {
        if (rows.size() == kMaxRows)
            throw UsageError("the picture would have more than " + std::to_string(kMaxRows) +
                             " rows: draw fewer measures or more in a row");
        Row row{measure, measure, time.measureStart(measure), time.measureStart(measure + 1)};
        while (row.lastMeasure < lastMeasure) {
            const int next = time.measureStart(row.lastMeasure + 2);
            if (options.measuresPerRow
                    ? row.lastMeasure - measure + 1 >= *options.measuresPerRow
                    : options.width && (next - row.firstTick) * pixelsPerTick > room)
                break;
            ++row.lastMeasure;
            row.lastTick = next;
        }
        rows.push_back(row);
        measure = row.lastMeasure + 1;
    }
    return rows;
}

constexpr const char* kStyle =
    "<style type=\"text/css\">\n"
    "text{font-family:sans-serif;font-size:11px;fill:#222}\n"
    ".measure{font-weight:bold}.timesig{fill:#803}.tempo{fill:#036}\n"
    ".lyric{font-size:8px;fill:#333}.lanename{font-weight:bold}.partname{fill:#555}\n"
    ".bar{stroke:#ccc;stroke-width:1}\n"
    ".lane{fill:none;stroke:#ccc}\n"
    ".part{fill:#36c;fill-opacity:0.08;stroke:#36c;stroke-width:1.5}\n"
    ".note{fill:#e63;stroke:#822;stroke-width:0.5}\n"
    ".wav{fill:#bdb;stroke:#484}\n"
    ".key{font-size:7px;fill:#666;text-anchor:end}\n"
    ".blackkey{fill:#000;fill-opacity:0.05}\n"
    ".octave{stroke:#aaa;stroke-width:0.5}\n"
    ".dynstrip{fill:#f3f8f3;stroke:#ccc;stroke-width:0.5}\n"
    ".pitch{fill:none;stroke:#15c;stroke-width:1.2}\n"
    ".dyn{fill:none;stroke:#393;stroke-width:1.2}\n"
    "</style>\n";

} // namespace

std::string renderPianoRoll(const IZRKorRoot& root, const RollOptions& options) {
    const IZRSequence* sequence = root.getSequence();
    const IZRMasterTrack* master = sequence != nullptr ? sequence->getMasterTrack() : nullptr;
    if (master == nullptr) return {};
    const Timeline time(*master);
    const int songEnd = std::max(1, songEndTick(*sequence));
    const int firstMeasure = std::max(0, options.from.value_or(0));
    const int lastMeasure =
        std::max(firstMeasure, options.to.value_or(time.measureAt(songEnd - 1)));
    double pixelsPerTick = 0;
    const std::vector<Row> rows = layRows(time, firstMeasure, lastMeasure, options, pixelsPerTick);

    // A lane keeps its keys from row to row, so a tune reads the same on every row.
    const auto tracks = elementsOf<IZRZRTrack>(sequence->getZRTrackList());
    std::vector<KeyRange> keys;
    for (const IZRZRTrack* track : tracks)
        keys.push_back(
            keyRange(*track, time.measureStart(firstMeasure), time.measureStart(lastMeasure + 1)));

    // The rulers with their bar lines go under the lanes, which are drawn first to learn the
    // height of each row.
    std::ostringstream rulers, lanes;
    double top = 0, width = 0;
    for (const Row& row : rows) {
        Canvas ruler(rulers, row, pixelsPerTick);
        Canvas lane(lanes, row, pixelsPerTick);
        double bottom = top + kRulerHeight;
        for (std::size_t i = 0; i < tracks.size(); ++i) {
            drawTrack(lane, time, *tracks[i], keys[i], bottom);
            bottom += laneHeight(keys[i]) + 4;
        }
        bottom += drawWavTrack(lane, "SE", sequence->getSETrack(), bottom);
        bottom += drawWavTrack(lane, "karaoke", sequence->getKaraokeTrack(), bottom);
        drawRuler(ruler, time, row, top, bottom);
        width = std::max(width, ruler.width());
        top = bottom + kRowGap;
    }
    if (options.width) width = *options.width;

    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << number(width)
        << "\" height=\"" << number(top - kRowGap + 4) << "\">\n"
        << "<title>" << escaped(master->getSeqName()) << "</title>\n"
        << kStyle << rulers.str() << lanes.str() << "</svg>\n";
    return svg.str();
}

} // namespace kortool
