#include "legacy/LegacyTrack.h"

#include "legacy/ConductorTrack.h"
#include "legacy/IconVibrato.h"
#include "legacy/TextValues.h"
#include "legacy/TypedFile.h"
#include "platform/Wtoi.h"

#include <algorithm>
#include <new>

namespace {

using kor::LegacyMixer;
using kor::LegacyNote;
using kor::VibratoPoint;

constexpr const wchar_t* kCurveSections[kor::kLegacyCurveCount] = {
    L"DynamicsBPList",       L"EpRResidualBPList",      L"EpRESlopeBPList",
    L"EpRESlopeDepthBPList", L"GenderFactorBPList",     L"PitchBendBPList",
    L"PitchBendSensBPList",  L"PortamentoTimingBPList", L"OpeningBPList",
};

std::int32_t clampTo(std::int64_t value, std::int32_t low, std::int32_t high) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, low, high));
}

// The singing-style numbers count by their low byte, read unsigned and capped at 100.
std::int32_t styleByte(const std::wstring& value) {
    auto byte = static_cast<std::uint8_t>(kor::wtoi(value.c_str()));
    return std::min<std::int32_t>(byte, 100);
}

// The fields of a lyric record split at commas, with double quotes around a field removed; a
// comma inside quotes belongs to the field.
std::vector<std::wstring> recordFields(std::wstring_view record) {
    std::vector<std::wstring> fields(1);
    bool quoted = false;
    for (wchar_t c : record) {
        if (c == L'"')
            quoted = !quoted;
        else if (c == L',' && !quoted)
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    for (std::wstring& field : fields) {
        std::size_t first = field.find_first_not_of(L" \t");
        std::size_t last = field.find_last_not_of(L" \t");
        field =
            first == std::wstring::npos ? std::wstring() : field.substr(first, last - first + 1);
    }
    return fields;
}

std::vector<std::wstring> splitSymbols(std::wstring_view text) {
    std::vector<std::wstring> symbols;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t start = text.find_first_not_of(L' ', pos);
        if (start == std::wstring_view::npos) break;
        std::size_t end = std::min(text.find(L' ', start), text.size());
        symbols.emplace_back(text.substr(start, end - start));
        pos = end;
    }
    return symbols;
}

// One lyric of a lyric section. A record holds the lyric and its phonetic symbols; from version
// 201 on it goes on with a fraction, one number per symbol and a final flag that locks the
// symbols against being re-derived from the lyric. The fraction and the per-symbol numbers have
// no counterpart on a note and are not kept. Older records end after the symbols.
struct Lyric {
    std::wstring text;
    std::vector<std::wstring> phonemes;
    std::int32_t phLock = 0;
};

Lyric readLyric(std::wstring_view record, std::int32_t version) {
    std::vector<std::wstring> fields = recordFields(record);
    Lyric lyric;
    lyric.text = fields[0];
    if (fields.size() > 1) lyric.phonemes = splitSymbols(fields[1]);
    if (version >= 201 && fields.size() > 3 + lyric.phonemes.size())
        lyric.phLock = kor::wtoi(fields.back().c_str()) != 0 ? 1 : 0;
    // A note always sings something: an empty record sings "a".
    if (lyric.text.empty()) lyric.text = L"a";
    if (lyric.phonemes.empty()) lyric.phonemes = {L"a"};
    return lyric;
}

std::vector<Lyric> readLyrics(const CxTypedFile& file, const std::wstring& section,
                              std::int32_t version) {
    std::vector<Lyric> lyrics;
    for (int index = 0;; ++index) {
        std::wstring record = file.value(section, L"L" + std::to_wstring(index));
        if (record.empty()) break;
        lyrics.push_back(readLyric(record, version));
    }
    if (lyrics.empty()) lyrics.push_back(readLyric(L"", version));
    return lyrics;
}

// A vibrato curve read from a vibrato section, placed over the note from the vibrato's onset.
std::vector<VibratoPoint> vibratoCurve(const CxTypedFile& file, const std::wstring& section,
                                       const wchar_t* start, const wchar_t* count,
                                       const wchar_t* xs, const wchar_t* ys, std::int32_t onset) {
    std::vector<tagBreakPoint> points;
    kor::readBreakPoints(kor::wtoi(file.value(section, count).c_str()), file.value(section, xs),
                         file.value(section, ys), points);
    return kor::curveOverNote(kor::wtoi(file.value(section, start).c_str()), points, onset);
}

LegacyNote::Vibrato readVibrato(const CxTypedFile& file, const std::wstring& section,
                                std::int32_t noteLength, std::int32_t delay) {
    LegacyNote::Vibrato vibrato;
    // Vibrato kinds are numbered in the low half of the icon ID; an unknown one sings the first.
    std::int32_t kind = kor::readNumber(file.value(section, L"IconID")) & 0xFFFF;
    vibrato.type = kind <= 16 ? kind : 1;
    // The vibrato runs from its delay to the note's end; the style keeps that span as a
    // percentage of the note, and the curves start where it begins.
    std::int32_t span = noteLength - std::clamp(delay, 0, noteLength);
    vibrato.length = clampTo(std::int64_t{span} * 100 / noteLength, 0, 100);
    auto onset = static_cast<std::int32_t>(std::int64_t{noteLength - span} * kor::kNoteCurveEnd /
                                           noteLength);
    vibrato.depth =
        vibratoCurve(file, section, L"StartDepth", L"DepthBPNum", L"DepthBPX", L"DepthBPY", onset);
    vibrato.rate =
        vibratoCurve(file, section, L"StartRate", L"RateBPNum", L"RateBPX", L"RateBPY", onset);
    return vibrato;
}

// A note event: one note per lyric record of its lyric section, sharing the event's length in
// equal parts one after the other (the last takes what division leaves over).
void readNote(const CxTypedFile& file, const std::wstring& section, std::int32_t tick,
              std::int32_t version, std::vector<LegacyNote>& notes) {
    LegacyNote note;
    note.tick = tick;
    const std::int32_t length =
        std::clamp(kor::readNumber(file.value(section, L"Length")), 1, kor::kLatestImportTick);
    note.noteNum = std::clamp(kor::readNumber(file.value(section, L"Note#")), 0, 127);
    note.bendDepth = styleByte(file.value(section, L"PMBendDepth"));
    note.bendLength = styleByte(file.value(section, L"PMBendLength"));
    const std::int32_t portamento = kor::readNumber(file.value(section, L"PMbPortamentoUse"));
    note.risePort = (portamento & 1) ? 1 : 0;
    note.fallPort = (portamento & 2) ? 1 : 0;
    note.decay = styleByte(file.value(section, L"DEMdecGainRate"));
    note.accent = styleByte(file.value(section, L"DEMaccent"));
    const std::int32_t delay = kor::readNumber(file.value(section, L"VibratoDelay"));
    const std::wstring vibratoSection = file.value(section, L"VibratoHandle");

    const std::vector<Lyric> lyrics =
        readLyrics(file, file.value(section, L"LyricHandle"), version);
    const auto count = static_cast<std::int32_t>(lyrics.size());
    const std::int32_t share = std::max(1, length / count);
    for (std::int32_t i = 0; i < count; ++i) {
        note.length = i + 1 < count ? share : std::max(1, length - share * (count - 1));
        note.lyric = lyrics[i].text;
        note.phonemes = lyrics[i].phonemes;
        note.phLock = lyrics[i].phLock;
        if (!vibratoSection.empty()) {
            // The delay counts from the event's start, so later notes of the event wait less.
            const std::int32_t noteDelay =
                clampTo(std::int64_t{delay} - (note.tick - tick), 0, note.length);
            note.vibrato = readVibrato(file, vibratoSection, note.length, noteDelay);
        }
        notes.push_back(note);
        note.tick += note.length;
    }
}

LegacyMixer readMixer(const CxTypedFile& file) {
    LegacyMixer mixer;
    auto number = [&](const std::wstring& key) -> std::optional<std::int32_t> {
        std::wstring value = file.value(L"Mixer", key);
        if (value.empty()) return std::nullopt;
        return kor::readNumber(value);
    };
    if (auto master = number(L"MasterFeder")) mixer.masterVolume = std::clamp(*master, -898, 60);
    const std::int32_t columns = std::clamp(number(L"Tracks").value_or(0), 0, 16);
    for (std::int32_t i = 0; i < columns; ++i) {
        const std::wstring index = std::to_wstring(i);
        LegacyMixer::Column column;
        if (auto volume = number(L"Feder" + index)) column.volume = std::clamp(*volume, -898, 60);
        if (auto pan = number(L"Panpot" + index)) column.pan = std::clamp(*pan, -64, 64) + 64;
        column.mute = number(L"Mute" + index);
        if (auto solo = number(L"Solo" + index); solo && (*solo == 0 || *solo == 1))
            column.solo = solo;
        mixer.columns.push_back(column);
    }
    return mixer;
}

} // namespace

namespace kor {

std::int32_t legacyVersionNumber(std::wstring_view version) {
    std::size_t start = version.size();
    while (start > 0 && version[start - 1] >= L'0' && version[start - 1] <= L'9')
        --start;
    return wtoi(std::wstring(version.substr(start)).c_str());
}

void readLegacyTrack(const CxTypedFile& file, bool firstTrack, LegacyTrack& track) {
    track = LegacyTrack{};
    track.version = legacyVersionNumber(file.value(L"Common", L"Version"));
    track.name = file.value(L"Common", L"Name");
    if (firstTrack && track.version > 201) {
        std::int32_t preMeasure = readNumber(file.value(L"Master", L"PreMeasure"));
        if (preMeasure >= 1 && preMeasure <= 8) track.preMeasure = preMeasure;
        if (file.section(L"Mixer") != nullptr) track.mixer = readMixer(file);
    }

    for (const std::wstring& key : file.keys(L"EventList")) {
        // Events before the song's start, or beyond any song's end, have no place in it.
        const std::int32_t tick = readNumber(key);
        if (tick < 0 || tick > kor::kLatestImportTick) continue;
        const std::wstring names = file.value(L"EventList", key);
        std::wstring_view rest = names;
        for (std::wstring name = nextToken(rest, L',', 16); !name.empty();
             name = nextToken(rest, L',', 16)) {
            const std::wstring type = file.value(name, L"Type");
            if (type == L"Anote") {
                readNote(file, name, tick, track.version, track.notes);
            } else if (type == L"Singer") {
                const std::wstring handle = file.value(name, L"IconHandle");
                track.singers.push_back(
                    {tick, std::clamp(readNumber(file.value(handle, L"Language")), 0, 127),
                     std::clamp(readNumber(file.value(handle, L"Program")), 0, 127)});
            }
        }
    }
    auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
    std::stable_sort(track.notes.begin(), track.notes.end(), byTick);
    std::stable_sort(track.singers.begin(), track.singers.end(), byTick);

    for (std::size_t curve = 0; curve < kLegacyCurveCount; ++curve) {
        std::vector<LegacyPoint>& points = track.curves[curve];
        for (const std::wstring& key : file.keys(kCurveSections[curve]))
            points.push_back(
                {wtoi(key.c_str()), wtoi(file.value(kCurveSections[curve], key).c_str())});
        std::stable_sort(points.begin(), points.end(), byTick);
    }
}

} // namespace kor
