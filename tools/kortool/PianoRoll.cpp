#include "PianoRoll.h"

#include "Text.h"
#include "Timeline.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace kortool {

namespace {

constexpr double kPixelsPerBeat = 40;
constexpr int kLabelWidth = 130;
constexpr int kRulerHeight = 48;
constexpr int kLaneHeader = 20;
constexpr int kKeyHeight = 8;
constexpr int kWavLaneHeight = 44;
constexpr int kMinKeys = 12;

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

// Draws into an SVG text, mapping ticks of the shown range onto x.
class Canvas {
public:
    Canvas(const Timeline& time, int firstTick, int lastTick)
        : time_(time)
        , firstTick_(firstTick)
        , lastTick_(lastTick) {}

    double x(int tick) const {
        return kLabelWidth + double(tick - firstTick_) * kPixelsPerBeat / time_.resolution();
    }
    double width() const { return x(lastTick_) + 10; }
    bool shows(int from, int to) const { return to > firstTick_ && from < lastTick_; }
    int clamp(int tick) const { return std::clamp(tick, firstTick_, lastTick_); }

    void rect(const char* cls, int fromTick, int toTick, double y, double height,
              const std::string& title = {}) {
        body_ << "<rect class=\"" << cls << "\" x=\"" << number(x(clamp(fromTick))) << "\" y=\""
              << number(y) << "\" width=\""
              << number(std::max(1.0, x(clamp(toTick)) - x(clamp(fromTick)))) << "\" height=\""
              << number(height) << "\">";
        if (!title.empty()) body_ << "<title>" << title << "</title>";
        body_ << "</rect>\n";
    }
    /// A box across the whole width, for a lane.
    void band(const char* cls, double y, double height) {
        body_ << "<rect class=\"" << cls << "\" x=\"0\" y=\"" << number(y) << "\" width=\""
              << number(width()) << "\" height=\"" << number(height) << "\"/>\n";
    }
    void text(const char* cls, double x, double y, const std::string& content) {
        body_ << "<text class=\"" << cls << "\" x=\"" << number(x) << "\" y=\"" << number(y)
              << "\">" << content << "</text>\n";
    }
    void line(const char* cls, double x1, double y1, double x2, double y2) {
        body_ << "<line class=\"" << cls << "\" x1=\"" << number(x1) << "\" y1=\"" << number(y1)
              << "\" x2=\"" << number(x2) << "\" y2=\"" << number(y2) << "\"/>\n";
    }
    std::string body() const { return body_.str(); }

private:
    const Timeline& time_;
    int firstTick_;
    int lastTick_;
    std::ostringstream body_;
};

void drawRuler(Canvas& canvas, const Timeline& time, int firstMeasure, int lastMeasure,
               double height) {
    for (int measure = firstMeasure; measure <= lastMeasure + 1; ++measure) {
        const double x = canvas.x(time.measureStart(measure));
        canvas.line("bar", x, 16, x, height);
        if (measure <= lastMeasure) canvas.text("measure", x + 3, 14, std::to_string(measure));
    }
    for (const Timeline::Signature& sig : time.signatures())
        if (sig.measure >= firstMeasure && sig.measure <= lastMeasure)
            canvas.text("timesig", canvas.x(sig.tick) + 3, 29,
                        std::to_string(sig.numerator) + "/" + std::to_string(sig.denominator));
    const int first = time.measureStart(firstMeasure);
    const int last = time.measureStart(lastMeasure + 1);
    for (const Timeline::Tempo& tempo : time.tempos())
        if (tempo.tick >= first && tempo.tick < last)
            canvas.text("tempo", canvas.x(tempo.tick) + 3, 43,
                        "\u2669=" + number(tempo.bpm100 / 100.0));
}

// The lowest and highest key of the notes shown in a track, widened to at least kMinKeys.
std::pair<int, int> keyRange(const IZRZRTrack& track, const Canvas& canvas) {
    int low = 128, high = -1;
    for (const IZRMusicalPart* part : elementsOf<IZRMusicalPart>(track.getPartList()))
        for (const IZRMusicalNote* note : elementsOf<IZRMusicalNote>(part->getNoteList())) {
            const int start = part->getPosTick() + note->getPosTick();
            if (!canvas.shows(start, start + note->getDurTick())) continue;
            low = std::min(low, note->getNoteNum());
            high = std::max(high, note->getNoteNum());
        }
    if (high < 0) low = high = 60;
    const int missing = std::max(0, kMinKeys - (high - low + 1));
    low = std::max(0, low - missing / 2 - 1);
    high = std::min(127, high + (missing + 1) / 2 + 1);
    return {low, high};
}

double drawTrack(Canvas& canvas, const IZRZRTrack& track, double top) {
    const auto [low, high] = keyRange(track, canvas);
    const double height = kLaneHeader + (high - low + 1) * kKeyHeight;
    canvas.band("lane", top, height);
    canvas.text("lanename", 6, top + 14,
                "ZR " + std::to_string(track.getTrackNo()) + " " + escaped(track.getName()));
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
            const double y = top + kLaneHeader + (high - note->getNoteNum()) * kKeyHeight;
            canvas.rect("note", from, to, y + 1, kKeyHeight - 2,
                        escaped(note->getLyric()) + " (" + std::to_string(note->getNoteNum()) +
                            ")");
            canvas.text("lyric", canvas.x(canvas.clamp(from)) + 1, y - 1,
                        escaped(note->getLyric()));
        }
    }
    return height;
}

double drawWavTrack(Canvas& canvas, const char* name, const IZRWAVTrack* track, double top) {
    const auto parts = elementsOf<IZRWAVPart>(track != nullptr ? track->getWAVPartList() : nullptr);
    if (parts.empty()) return 0;
    canvas.band("lane", top, kWavLaneHeight);
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

constexpr const char* kStyle =
    "<style>\n"
    "text{font-family:sans-serif;font-size:11px;fill:#222}\n"
    ".measure{font-weight:bold}.timesig{fill:#803}.tempo{fill:#036}\n"
    ".lyric{font-size:8px;fill:#333}.lanename{font-weight:bold}.partname{fill:#555}\n"
    ".bar{stroke:#ccc;stroke-width:1}\n"
    ".lane{fill:none;stroke:#ccc}\n"
    ".part{fill:#36c;fill-opacity:0.08;stroke:#36c;stroke-width:1.5}\n"
    ".note{fill:#e63;stroke:#822;stroke-width:0.5}\n"
    ".wav{fill:#bdb;stroke:#484}\n"
    "</style>\n";

} // namespace

std::string renderPianoRoll(const IZRKorRoot& root, const MeasureRange& range) {
    const IZRSequence* sequence = root.getSequence();
    const IZRMasterTrack* master = sequence != nullptr ? sequence->getMasterTrack() : nullptr;
    if (master == nullptr) return {};
    const Timeline time(*master);
    const int songEnd = std::max(1, songEndTick(*sequence));
    const int firstMeasure = std::max(0, range.from.value_or(0));
    const int lastMeasure = std::max(firstMeasure, range.to.value_or(time.measureAt(songEnd - 1)));
    const int firstTick = time.measureStart(firstMeasure);
    const int lastTick = time.measureStart(lastMeasure + 1);
    // The ruler with its bar lines goes under the lanes, which are drawn first to learn the height.
    Canvas ruler(time, firstTick, lastTick);
    Canvas lanes(time, firstTick, lastTick);
    double top = kRulerHeight;
    for (const IZRZRTrack* track : elementsOf<IZRZRTrack>(sequence->getZRTrackList()))
        top += drawTrack(lanes, *track, top) + 4;
    top += drawWavTrack(lanes, "SE", sequence->getSETrack(), top);
    top += drawWavTrack(lanes, "karaoke", sequence->getKaraokeTrack(), top);
    drawRuler(ruler, time, firstMeasure, lastMeasure, top);

    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << number(ruler.width())
        << "\" height=\"" << number(top + 4) << "\">\n"
        << "<title>" << escaped(master->getSeqName()) << "</title>\n"
        << kStyle << ruler.body() << lanes.body() << "</svg>\n";
    return svg.str();
}

} // namespace kortool
