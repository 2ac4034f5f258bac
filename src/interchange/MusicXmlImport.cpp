#include "interchange/MusicXmlImport.h"

#include "interchange/MusicXmlScore.h"
#include "legacy/ConductorTrack.h"
#include "legacy/LegacyConverter.h"
#include "legacy/PreMeasureShift.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/ObjectFactory.h"
#include "model/Sequence.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"
#include "platform/Path.h"
#include "platform/XmlChars.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <optional>

namespace {

constexpr std::int32_t kVelocity = 64;
constexpr std::int32_t kDefaultMeasure = 4 * 480;
// How many notes back a tie looks for the note it continues: the notes of a chord the voice
// holds, at most.
constexpr std::size_t kTieReach = 8;
const std::wstring kDefaultLyric = L"a";
const std::wstring kHeldVowel = L"-";

// A part, or one voice of it (voice < 0: the whole part).
struct Source {
    std::size_t part;
    std::int32_t voice;
};

std::vector<Source> sourcesOf(const kor::MusicXmlScore& score) {
    std::vector<Source> sources;
    for (std::size_t part = 0; part < score.parts.size(); ++part) {
        const std::size_t voices = score.parts[part].voices.size();
        if (voices <= 1) {
            sources.push_back({part, -1});
        } else {
            for (std::size_t voice = 0; voice < voices; ++voice)
                sources.push_back({part, static_cast<std::int32_t>(voice)});
        }
    }
    if (sources.size() > CxMusicXmlImporter::kMaxSources)
        sources.resize(CxMusicXmlImporter::kMaxSources);
    return sources;
}

bool isSongDenominator(std::int32_t value) {
    return value == 1 || value == 2 || value == 4 || value == 8 || value == 16 || value == 32;
}

// The ticks a measure of `signature` holds at 480 per quarter note; none for a signature no song
// can hold.
std::optional<std::int32_t> lengthOf(const kor::ScoreSignature& signature) {
    if (!isSongDenominator(signature.denominator)) return std::nullopt;
    return kor::ticksPerMeasure(signature.numerator, signature.denominator, 480);
}

// Where each measure starts in the song, and after them where the score ends. A measure lasts
// as long as its longest part's content, an empty one as long as its time signature says. A
// first measure shorter than its signature is a pickup: it is filled up in front. None when the
// score is longer than a song can hold.
std::optional<std::vector<std::int64_t>> measureStarts(const kor::MusicXmlScore& score) {
    std::size_t count = 0;
    for (const kor::ScorePart& part : score.parts)
        count = std::max(count, part.measureLengths.size());
    std::vector<std::int64_t> starts(count + 1, 0);
    std::int32_t nominal = kDefaultMeasure;
    std::size_t nextSignature = 0;
    for (std::size_t measure = 0; measure < count; ++measure) {
        for (; nextSignature < score.signatures.size() &&
               score.signatures[nextSignature].measure <= static_cast<std::int32_t>(measure);
             ++nextSignature)
            nominal = lengthOf(score.signatures[nextSignature]).value_or(nominal);
        std::int64_t length = 0;
        for (const kor::ScorePart& part : score.parts)
            if (measure < part.measureLengths.size())
                length = std::max<std::int64_t>(length, part.measureLengths[measure]);
        if (length == 0) length = nominal;
        if (measure == 0 && length < nominal) starts[0] = nominal - length;
        starts[measure + 1] = starts[measure] + length;
        if (starts[measure + 1] > kor::kLatestImportTick) return std::nullopt;
    }
    return starts;
}

std::int64_t songTick(const std::vector<std::int64_t>& starts, std::int32_t measure,
                      std::int32_t tick) {
    const auto index = std::min(static_cast<std::size_t>(std::max(measure, 0)), starts.size() - 1);
    return starts[index] + tick;
}

// The score's time signatures and tempos as the master track takes them.
kor::ConductorMap conductorOf(const kor::MusicXmlScore& score,
                              const std::vector<std::int64_t>& starts) {
    kor::ConductorMap map;
    std::int64_t lastTick = 0;
    std::int32_t lastMeasure = 0;
    std::int32_t lastLength = kDefaultMeasure;
    for (const kor::ScoreSignature& signature : score.signatures) {
        const std::optional<std::int32_t> measureLength = lengthOf(signature);
        if (!measureLength) continue;
        const std::int32_t length = *measureLength;
        if (signature.measure == 0) {
            map.headNumerator = signature.numerator;
            map.headDenominator = signature.denominator;
            lastLength = length;
            continue;
        }
        // Measures of other lengths than their signature's (incomplete ones) shift the bar
        // lines of the song; a change stands at the bar line at or before its measure.
        const std::int64_t tick = songTick(starts, signature.measure, 0);
        const std::int32_t measure =
            lastMeasure + static_cast<std::int32_t>((tick - lastTick) / lastLength);
        const kor::ConductorMap::Signature* before =
            map.signatures.empty() ? nullptr : &map.signatures.back();
        const std::int32_t numerator = before ? before->numerator : map.headNumerator;
        const std::int32_t denominator = before ? before->denominator : map.headDenominator;
        if (numerator == signature.numerator && denominator == signature.denominator) continue;
        if (before != nullptr && before->measure == measure) map.signatures.pop_back();
        if (measure == 0) {
            map.headNumerator = signature.numerator;
            map.headDenominator = signature.denominator;
        } else {
            map.signatures.push_back({measure, signature.numerator, signature.denominator});
        }
        lastTick += static_cast<std::int64_t>(measure - lastMeasure) * lastLength;
        lastMeasure = measure;
        lastLength = length;
    }

    std::vector<kor::ConductorMap::Tempo> tempos;
    for (const kor::ScoreTempo& tempo : score.tempos)
        tempos.push_back(
            {static_cast<std::int32_t>(songTick(starts, tempo.measure, tempo.tick)), tempo.bpm});
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const auto& a, const auto& b) { return a.tick < b.tick; });
    const std::int64_t firstMeasureEnd = starts.size() > 1 ? starts[1] : 0;
    std::int32_t current = map.headBpm;
    for (std::size_t i = 0; i < tempos.size(); ++i) {
        // A tempo in the first measure is the song's; a later one changes it.
        if (i == 0 && tempos[i].tick < firstMeasureEnd) {
            map.headBpm = current = tempos[i].bpm;
        } else if (tempos[i].bpm != current) {
            if (!map.tempos.empty() && map.tempos.back().tick == tempos[i].tick)
                map.tempos.pop_back();
            map.tempos.push_back(tempos[i]);
            current = tempos[i].bpm;
        }
    }
    return map;
}

struct SourceNotes {
    std::vector<kor::SourceNote> notes;
    int lyricCount = 0;
    int firstVerse = 0;
    int verseCount = 0;
};

const kor::ScoreLyric* lyricOf(const kor::ScoreNote& note, std::int32_t verse) {
    for (const kor::ScoreLyric& lyric : note.lyrics)
        if (lyric.verse == verse) return &lyric;
    return nullptr;
}

// The syllable a note sings, in the form a saved song gives it back; empty when it has none.
std::wstring syllableOf(const kor::ScoreLyric* lyric) {
    if (lyric == nullptr) return {};
    std::wstring text = kor::platform::storedText(lyric->text);
    // A cut may end on the blank between elided syllables, which a saved song would not keep.
    if (text.size() > static_cast<std::size_t>(CZRMusicalNote::kMaxTextLength))
        text.resize(CZRMusicalNote::kMaxTextLength);
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

// The notes one source sings, by tick, with their syllables of `verse`.
SourceNotes notesOf(const kor::ScorePart& part, std::int32_t voice, std::int32_t verse,
                    const std::vector<std::int64_t>& starts) {
    struct Working {
        std::int64_t start;
        std::int64_t end;
        std::int32_t key;
        bool tieStart;
        bool tieStop;
        const kor::ScoreLyric* lyric;
    };
    SourceNotes out;
    // A chord sings its top note, with the syllable any of its notes carries.
    std::vector<Working> sounding;
    for (const kor::ScoreNote& note : part.notes) {
        if (voice >= 0 && note.voice != voice) continue;
        for (const kor::ScoreLyric& lyric : note.lyrics) {
            out.verseCount = std::max(out.verseCount, lyric.verse);
            out.firstVerse =
                out.firstVerse == 0 ? lyric.verse : std::min(out.firstVerse, lyric.verse);
        }
        const Working next{songTick(starts, note.measure, note.start),
                           songTick(starts, note.measure, note.end),
                           note.key,
                           note.tieStart,
                           note.tieStop,
                           lyricOf(note, verse)};
        if (note.chord && !sounding.empty() && sounding.back().start == next.start) {
            Working& top = sounding.back();
            const kor::ScoreLyric* lyric = top.lyric != nullptr ? top.lyric : next.lyric;
            if (next.key > top.key) top = next;
            top.lyric = lyric;
            continue;
        }
        sounding.push_back(next);
    }
    std::stable_sort(sounding.begin(), sounding.end(),
                     [](const Working& a, const Working& b) { return a.start < b.start; });

    // A note tied from the one before it on the same key lengthens that one, unless it brings
    // a syllable of its own.
    struct Held {
        Working note;
        bool tieOpen;
    };
    std::vector<Held> held;
    for (const Working& note : sounding) {
        if (note.end <= note.start) continue;
        bool merged = false;
        if (note.tieStop && syllableOf(note.lyric).empty()) {
            for (std::size_t back = 0; back < std::min(held.size(), kTieReach) && !merged; ++back) {
                Held& before = held[held.size() - 1 - back];
                if (before.tieOpen && before.note.key == note.key &&
                    std::abs(before.note.end - note.start) <= 1) {
                    before.note.end = note.end;
                    before.tieOpen = note.tieStart;
                    merged = true;
                }
            }
        }
        if (!merged) held.push_back({note, note.tieStart});
    }

    bool wordGoesOn = false;
    for (const Held& entry : held) {
        const Working& note = entry.note;
        std::wstring lyric = syllableOf(note.lyric);
        if (!lyric.empty()) {
            ++out.lyricCount;
            wordGoesOn = note.lyric->extends || note.lyric->syllabic == kor::Syllabic::Begin ||
                         note.lyric->syllabic == kor::Syllabic::Middle;
        } else {
            const bool extended =
                note.lyric != nullptr && (note.lyric->extends || note.lyric->extendEnds);
            lyric = wordGoesOn || extended ? kHeldVowel : kDefaultLyric;
            if (note.lyric != nullptr && note.lyric->extendEnds) wordGoesOn = false;
            if (note.lyric != nullptr && note.lyric->extends) wordGoesOn = true;
        }
        out.notes.push_back({static_cast<std::int32_t>(note.start),
                             static_cast<std::int32_t>(note.end - note.start), note.key, kVelocity,
                             std::move(lyric)});
    }
    return out;
}

std::atomic<std::uint64_t> gScoresRead{0};

std::wstring sourceName(const kor::MusicXmlScore& score, const Source& source) {
    const kor::ScorePart& part = score.parts[source.part];
    std::wstring name = part.name;
    if (name.empty()) name = L"Part" + std::to_wstring(source.part + 1);
    if (source.voice >= 0)
        name += L" (voice " + part.voices[static_cast<std::size_t>(source.voice)] + L")";
    return name;
}

} // namespace

std::shared_ptr<const kor::MusicXmlScore>
CxKeptScore::find(const std::wstring& path, const kor::platform::FileStamp& stamp) const {
    const std::lock_guard lock(mutex_);
    return score_ != nullptr && path_ == path && stamp_ == stamp ? score_ : nullptr;
}

void CxKeptScore::keep(const std::wstring& path, const kor::platform::FileStamp& stamp,
                       std::shared_ptr<const kor::MusicXmlScore> score) {
    std::wstring copy = path;
    const std::lock_guard lock(mutex_);
    path_ = std::move(copy);
    stamp_ = stamp;
    score_ = std::move(score);
}

void CxKeptScore::drop() {
    std::shared_ptr<const kor::MusicXmlScore> dropped;
    const std::lock_guard lock(mutex_);
    dropped.swap(score_);
    path_.clear();
}

std::uint64_t CxMusicXmlImporter::scoresRead() {
    return gScoresRead.load();
}

std::uint32_t CxMusicXmlImporter::readScore(const std::wstring& path, Keeping keeping,
                                            std::shared_ptr<const kor::MusicXmlScore>& score) {
    // Told before the read, so that a file changed while it is read is read again next time.
    const std::optional<kor::platform::FileStamp> stamp = kor::platform::fileStampOf(path);
    if (kept_ != nullptr && stamp) {
        score = kept_->find(path, *stamp);
        if (keeping == Keeping::Take) kept_->drop();
        if (score != nullptr) return 0;
    }
    auto read = std::make_shared<kor::MusicXmlScore>();
    ++gScoresRead;
    if (const std::uint32_t code = kor::readMusicXmlScore(path, *read, message_)) return code;
    score = std::move(read);
    if (kept_ != nullptr && stamp && keeping == Keeping::Keep) kept_->keep(path, *stamp, score);
    return 0;
}

std::uint32_t CxMusicXmlImporter::survey(const std::wstring& path,
                                         std::vector<ZRMusicXMLPartImportDirective>& directives) {
    directives.clear();
    message_.clear();
    if (!kor::isPlainFile(path)) return ZR_E_FILE_NOT_FOUND;
    try {
        std::shared_ptr<const kor::MusicXmlScore> read;
        if (const std::uint32_t code = readScore(path, Keeping::Keep, read)) return code;
        const kor::MusicXmlScore& score = *read;
        const std::optional<std::vector<std::int64_t>> starts = measureStarts(score);
        if (!starts) {
            message_ = L"the score is longer than a song can hold";
            return ZR_E_INVALID_MUSICXML;
        }
        const bool knownDefault = voices_.contains({defaultVoice_.vBS, defaultVoice_.vPC});
        std::size_t switchedOn = 0;
        const std::vector<Source> sources = sourcesOf(score);
        for (std::size_t index = 0; index < sources.size(); ++index) {
            const Source& source = sources[index];
            const kor::ScorePart& part = score.parts[source.part];
            // The first verse the source sings is the one it imports unless the host says.
            SourceNotes notes = notesOf(part, source.voice, 1, *starts);
            if (notes.firstVerse > 1)
                notes = notesOf(part, source.voice, notes.firstVerse, *starts);
            ZRMusicXMLPartImportDirective directive;
            directive.verse = std::max(notes.firstVerse, 1);
            directive.sourceIndex = static_cast<int>(index);
            directive.partID = part.id;
            if (source.voice >= 0)
                directive.voice = part.voices[static_cast<std::size_t>(source.voice)];
            directive.name = sourceName(score, source);
            directive.noteCount = static_cast<int>(notes.notes.size());
            directive.lyricCount = notes.lyricCount;
            directive.verseCount = notes.verseCount;
            if (directive.noteCount > 0 && switchedOn < CZRSequence::kMaxTracks) {
                directive.importSwitch = 1;
                ++switchedOn;
            }
            directive.singerBS = knownDefault ? defaultVoice_.vBS : 0;
            directive.singerPC = knownDefault ? defaultVoice_.vPC : 0;
            directives.push_back(std::move(directive));
        }
        std::size_t all = 0;
        for (const kor::ScorePart& part : score.parts)
            all += std::max<std::size_t>(part.voices.size(), 1);
        if (all > sources.size())
            message_ = std::to_wstring(all - sources.size()) +
                       L" more sources (parts or voices) are not offered: a score offers its "
                       L"first " +
                       std::to_wstring(kMaxSources) + L".";
    } catch (const std::bad_alloc&) {
        directives.clear();
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

std::uint32_t
CxMusicXmlImporter::importFile(const std::wstring& path, std::int32_t preMeasure,
                               const std::vector<ZRMusicXMLPartImportDirective>& directives,
                               CZRKorDocument& target) {
    if (const std::uint32_t code = begin(path, target)) return code;
    if (preMeasure < 1 || preMeasure > 8) return ZR_E_INVALID_PARAMETER;
    try {
        std::shared_ptr<const kor::MusicXmlScore> read;
        if (const std::uint32_t code = readScore(path, Keeping::Take, read))
            return fail(kStatusInvalid, code, target);
        const kor::MusicXmlScore& score = *read;
        const std::vector<Source> sources = sourcesOf(score);
        if (!kor::directivesFit(directives, sources.size(),
                                [](const auto& directive) { return directive.verse >= 1; }))
            return fail(kStatusInvalid, ZR_E_INVALID_PARAMETER, target);
        const std::optional<std::vector<std::int64_t>> starts = measureStarts(score);
        if (!starts) {
            message_ = L"the score is longer than a song can hold";
            return fail(kStatusInvalid, ZR_E_INVALID_MUSICXML, target);
        }

        const ZRCreateContext context = target.context();
        CZRSequence* sequence = startSong(target);
        if (sequence == nullptr) return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        if (!kor::applyConductorMap(conductorOf(score, *starts), *sequence->masterTrack(),
                                    context) ||
            !addLibraryVoices(*sequence, context))
            return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);

        std::int32_t trackNo = 0;
        for (const ZRMusicXMLPartImportDirective& directive : directives) {
            if (directive.importSwitch == 0) continue;
            const Source& source = sources[static_cast<std::size_t>(directive.sourceIndex)];
            const SourceNotes notes =
                notesOf(score.parts[source.part], source.voice, directive.verse, *starts);
            if (addSourceTrack(context, *sequence, trackNo++, directive.name, directive.singerBS,
                               directive.singerPC, notes.notes) == nullptr)
                return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        }
        sequence->masterTrack()->setSeqName(score.title.empty() ? fileTitle(path) : score.title);

        if (!kor::shiftByPreMeasure(*target.root(), preMeasure))
            return fail(kStatusInvalid, ZR_E_INVALID_MUSICXML, target);
        sequence->masterTrack()->setResolution(CZRMasterTrack::kResolution);
        if (const std::uint32_t code = kor::verifySong(target, message_))
            return fail(kStatusInvalid, code, target);
    } catch (const std::bad_alloc&) {
        return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
    }
    message_.clear();
    return 0;
}
