#include "interchange/MusicXmlImport.h"

#include "interchange/MusicXmlScore.h"
#include "interchange/ScorePerformance.h"
#include "interchange/SourceReading.h"
#include "legacy/ConductorTrack.h"
#include "legacy/LegacyConverter.h"
#include "legacy/PreMeasureShift.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
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
#include <set>

namespace {

using namespace kor::score;

constexpr std::int32_t kDefaultMeasure = 4 * 480;
// The pitch control's value for a bend of one semitone, with the bend range set to a semitone.
constexpr std::int32_t kBendPerSemitone = 8192;

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

// The signature in force in each written measure: the last one a song can hold at or before it;
// null before the first.
std::vector<const kor::ScoreSignature*> signaturesInForce(const kor::MusicXmlScore& score,
                                                          std::size_t count) {
    std::vector<const kor::ScoreSignature*> inForce(count, nullptr);
    const kor::ScoreSignature* current = nullptr;
    std::size_t next = 0;
    for (std::size_t measure = 0; measure < count; ++measure) {
        for (; next < score.signatures.size() &&
               score.signatures[next].measure <= static_cast<std::int32_t>(measure);
             ++next)
            if (lengthOf(score.signatures[next])) current = &score.signatures[next];
        inForce[measure] = current;
    }
    return inForce;
}

// The measures of the song and their starts. A measure lasts as long as its longest part's
// voices reach, an empty one as long as its time signature says. A first measure shorter than
// its signature is a pickup: it is filled up in front. None when the song would be longer than
// a song can hold.
std::optional<Performance> performanceOf(const kor::MusicXmlScore& score, bool asWritten) {
    Performance performance;
    performance.asWritten = asWritten;
    if (asWritten) {
        performance.order = kor::writtenOrder(score);
    } else if (auto order = kor::performedOrder(score)) {
        performance.order = std::move(*order);
    } else {
        return std::nullopt;
    }
    const std::size_t count = kor::measureCount(score);
    std::vector<std::int32_t> lengths(count, 0);
    for (const kor::ScorePart& part : score.parts)
        for (std::size_t measure = 0; measure < part.measureLengths.size(); ++measure)
            lengths[measure] = std::max(lengths[measure], part.measureLengths[measure]);
    performance.signatures = signaturesInForce(score, count);

    std::vector<std::int64_t>& starts = performance.starts;
    starts.assign(performance.order.size() + 1, 0);
    for (std::size_t slot = 0; slot < performance.order.size(); ++slot) {
        const auto measure = static_cast<std::size_t>(performance.order[slot].measure);
        const kor::ScoreSignature* signature = performance.signatures[measure];
        const std::int32_t nominal = signature ? *lengthOf(*signature) : kDefaultMeasure;
        const std::int64_t length = lengths[measure] > 0 ? lengths[measure] : nominal;
        if (slot == 0 && length < nominal) starts[0] = nominal - length;
        starts[slot + 1] = starts[slot] + length;
        if (starts[slot + 1] > kor::kLatestImportTick) return std::nullopt;
    }
    return performance;
}

// The time signatures of the song as the master track takes them. Measures of other lengths
// than their signature's (incomplete ones) shift the bar lines of the song; a change stands at
// the bar line at or before its measure.
void addSignatures(const Performance& performance, kor::ConductorMap& map) {
    std::int64_t lastTick = 0;
    std::int32_t lastMeasure = 0;
    std::int32_t lastLength = kDefaultMeasure;
    const kor::ScoreSignature* previous = nullptr;
    for (std::size_t slot = 0; slot < performance.order.size(); ++slot) {
        const kor::ScoreSignature* signature =
            performance.signatures[static_cast<std::size_t>(performance.order[slot].measure)];
        if (signature == nullptr || signature == previous) continue;
        previous = signature;
        const std::int32_t length = *lengthOf(*signature);
        if (slot == 0) {
            map.headNumerator = signature->numerator;
            map.headDenominator = signature->denominator;
            lastLength = length;
            continue;
        }
        const std::int64_t tick = songTick(performance.starts, slot, 0);
        const std::int32_t measure =
            lastMeasure + static_cast<std::int32_t>((tick - lastTick) / lastLength);
        const kor::ConductorMap::Signature* before =
            map.signatures.empty() ? nullptr : &map.signatures.back();
        const std::int32_t numerator = before ? before->numerator : map.headNumerator;
        const std::int32_t denominator = before ? before->denominator : map.headDenominator;
        if (numerator == signature->numerator && denominator == signature->denominator) continue;
        if (before != nullptr && before->measure == measure) map.signatures.pop_back();
        if (measure == 0) {
            map.headNumerator = signature->numerator;
            map.headDenominator = signature->denominator;
        } else {
            map.signatures.push_back({measure, signature->numerator, signature->denominator});
        }
        lastTick += static_cast<std::int64_t>(measure - lastMeasure) * lastLength;
        lastMeasure = measure;
        lastLength = length;
    }
}

// The tempos of the song: each of a measure, every time the measure is sung. A tempo in the
// first measure is the song's; a later one changes it.
void addTempos(const kor::MusicXmlScore& score, const Performance& performance,
               kor::ConductorMap& map) {
    std::vector<const kor::ScoreTempo*> byMeasure;
    for (const kor::ScoreTempo& tempo : score.tempos)
        byMeasure.push_back(&tempo);
    std::stable_sort(byMeasure.begin(), byMeasure.end(),
                     [](const auto* a, const auto* b) { return a->measure < b->measure; });
    std::vector<kor::ConductorMap::Tempo> tempos;
    for (std::size_t slot = 0; slot < performance.order.size(); ++slot) {
        const std::int32_t measure = performance.order[slot].measure;
        auto at = std::partition_point(byMeasure.begin(), byMeasure.end(),
                                       [measure](const auto* t) { return t->measure < measure; });
        for (; at != byMeasure.end() && (*at)->measure == measure; ++at)
            tempos.push_back(
                {static_cast<std::int32_t>(songTick(performance.starts, slot, (*at)->tick)),
                 (*at)->bpm});
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const auto& a, const auto& b) { return a.tick < b.tick; });
    const std::int64_t firstMeasureEnd = performance.starts.size() > 1 ? performance.starts[1] : 0;
    std::int32_t current = map.headBpm;
    for (std::size_t i = 0; i < tempos.size(); ++i) {
        if (i == 0 && tempos[i].tick < firstMeasureEnd) {
            map.headBpm = current = tempos[i].bpm;
        } else if (tempos[i].bpm != current) {
            if (!map.tempos.empty() && map.tempos.back().tick == tempos[i].tick)
                map.tempos.pop_back();
            map.tempos.push_back(tempos[i]);
            current = tempos[i].bpm;
        }
    }
}

kor::ConductorMap conductorOf(const kor::MusicXmlScore& score, const Performance& performance) {
    kor::ConductorMap map;
    addSignatures(performance, map);
    addTempos(score, performance, map);
    return map;
}

// Makes each note of `part` sound at its pitch where that lies between keys (a quarter tone):
// the pitch control bends it by the cents its key leaves, over its span, within a bend range
// of one semitone set at the part's start. False when a control cannot be made or linked.
bool addMicrotones(const ZRCreateContext& context, CZRMusicalPart& part, const SourceNotes& notes) {
    std::vector<std::pair<std::int32_t, std::int32_t>> bends; // tick in the part, value
    std::int32_t current = 0;
    for (std::size_t i = 0; i < notes.notes.size(); ++i) {
        const kor::SourceNote& note = notes.notes[i];
        const std::int32_t tick = note.tick - part.getPosTick();
        const std::int32_t bend = std::clamp(notes.cents[i] * kBendPerSemitone / 100,
                                             -kBendPerSemitone, kBendPerSemitone - 1);
        if (bend != current && !bends.empty() && bends.back().first == tick) bends.pop_back();
        if (bend != current) bends.emplace_back(tick, current = bend);
        // Back to the key in a rest, so that a note after it starts in tune.
        const bool rest =
            i + 1 < notes.notes.size() && notes.notes[i + 1].tick > note.tick + note.length;
        if (rest && current != 0) bends.emplace_back(tick + note.length, current = 0);
    }
    if (bends.empty()) return true;
    const auto add = [&](std::int32_t type, std::int32_t tick, std::int32_t value) {
        auto* control = kor::createObject<CZRMusicalControl>(
            context, ZR_NO_OBJ_ID, ZRMusicalControlValues{tick, type, value});
        return control != nullptr && part.controlList(type)->append(control);
    };
    if (!add(kor::kControlBendSensitivity, 0, 1)) return false;
    return std::all_of(bends.begin(), bends.end(), [&](const auto& bend) {
        return add(kor::kControlPitchBend, bend.first, bend.second);
    });
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
        // A score too long to sing as performed may still be sung as written.
        const std::optional<Performance> performed = performanceOf(score, false);
        const std::optional<Performance> performance =
            performed ? performed : performanceOf(score, true);
        if (!performance) {
            message_ = L"the score is longer than a song can hold";
            return ZR_E_INVALID_MUSICXML;
        }
        const bool knownDefault = voices_.contains({defaultVoice_.vBS, defaultVoice_.vPC});
        const bool repeats = kor::hasRepeats(score);
        std::size_t switchedOn = 0;
        const std::vector<Source> sources = sourcesOf(score);
        for (std::size_t index = 0; index < sources.size(); ++index) {
            const Source& source = sources[index];
            const kor::ScorePart& part = score.parts[source.part];
            SourceReading reading(part, source.voice, *performance);
            // The first verse the source sings is the one it imports unless the host says.
            const std::set<std::int32_t> lines = lyricLines(part, source.voice);
            ZRMusicXMLPartImportDirective directive;
            directive.verse = lines.empty() ? 1 : *lines.begin();
            const SourceNotes notes = reading.notes(directive.verse);
            directive.sourceIndex = static_cast<int>(index);
            directive.partID = part.id;
            if (source.voice >= 0)
                directive.voice = part.voices[static_cast<std::size_t>(source.voice)];
            directive.name = sourceName(score, source);
            directive.noteCount = static_cast<int>(notes.notes.size());
            directive.lyricCount = notes.lyricCount;
            directive.verses.assign(lines.begin(), lines.end());
            directive.measureCount = performed ? static_cast<int>(performed->order.size()) : 0;
            directive.hasRepeats = repeats ? 1 : 0;
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
        message_ = kor::directivesMisfit(directives, sources.size(), [&](const auto& directive) {
            const Source& source = sources[static_cast<std::size_t>(directive.sourceIndex)];
            return verseMisfit(directive.verse, lyricLines(score.parts[source.part], source.voice));
        });
        if (!message_.empty()) return fail(kStatusInvalid, ZR_E_INVALID_PARAMETER, target);
        // The tracks of a song share its measures: one directive asking for the written order
        // gives it to all.
        const bool asWritten = std::any_of(directives.begin(), directives.end(), [](const auto& d) {
            return d.importSwitch != 0 && d.asWritten != 0;
        });
        const std::optional<Performance> performance = performanceOf(score, asWritten);
        if (!performance) {
            message_ = asWritten ? L"the score is longer than a song can hold"
                                 : L"the score as performed is longer than a song can hold; it "
                                   L"can be imported as written";
            return fail(kStatusInvalid, ZR_E_INVALID_MUSICXML, target);
        }

        const ZRCreateContext context = target.context();
        CZRSequence* sequence = startSong(target);
        if (sequence == nullptr) return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        if (!kor::applyConductorMap(conductorOf(score, *performance), *sequence->masterTrack(),
                                    context) ||
            !addLibraryVoices(*sequence, context))
            return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);

        std::int32_t trackNo = 0;
        for (const ZRMusicXMLPartImportDirective& directive : directives) {
            if (directive.importSwitch == 0) continue;
            const Source& source = sources[static_cast<std::size_t>(directive.sourceIndex)];
            const SourceNotes notes =
                SourceReading(score.parts[source.part], source.voice, *performance)
                    .notes(directive.verse);
            CZRMusicalPart* part =
                addSourceTrack(context, *sequence, trackNo++, directive.name, directive.singerBS,
                               directive.singerPC, notes.notes);
            if (part == nullptr || !addMicrotones(context, *part, notes))
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
