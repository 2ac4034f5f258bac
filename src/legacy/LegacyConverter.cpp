#include "legacy/LegacyConverter.h"

#include "legacy/ConductorTrack.h"
#include "legacy/GlobalBuffer.h"
#include "legacy/LegacyText.h"
#include "legacy/LegacyTrack.h"
#include "legacy/MidiSequence.h"
#include "legacy/PreMeasureShift.h"
#include "legacy/TypedFile.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MasterUnit.h"
#include "model/Mixer.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/NodeList.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleSeqAttribElement.h"
#include "model/ObjectTree.h"
#include "model/Sequence.h"
#include "model/StyleControl.h"
#include "model/VVoice.h"
#include "model/ZRTrack.h"
#include "model/ZRUnit.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <new>
#include <optional>

namespace {

using kor::LegacyCurve;
using kor::LegacyNote;
using kor::LegacyPoint;
using kor::LegacyTrack;

constexpr std::int32_t kMaxSingingTracks = 16;
// A rest shorter than the shortest part there can be stays inside the part; a longer one starts
// the next part, so each phrase of the old song becomes a part of its own.
constexpr std::int32_t kPartGap = 60;
constexpr std::int32_t kNoteVelocity = 64;
constexpr std::int32_t kDefaultOpening = 127;

// The stretch of a track that one musical part covers: its notes [firstNote, endNote) and the
// ticks [start, end).
struct Span {
    std::int32_t start;
    std::int32_t end;
    std::size_t firstNote;
    std::size_t endNote;
};

std::vector<Span> partSpans(const std::vector<LegacyNote>& notes) {
    std::vector<Span> spans;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const std::int32_t end = notes[i].tick + notes[i].length;
        if (spans.empty() || notes[i].tick - spans.back().end > kPartGap) {
            spans.push_back({notes[i].tick, end, i, i + 1});
            continue;
        }
        spans.back().end = std::max(spans.back().end, end);
        spans.back().endNote = i + 1;
    }
    return spans;
}

// The points of a curve that fall in [span.start, span.end) at ticks relative to the start, led
// by the value in effect at the start when no point stands exactly there. A later point at the
// tick of an earlier one replaces it.
std::vector<LegacyPoint> pointsIn(const std::vector<LegacyPoint>& curve, const Span& span) {
    std::vector<LegacyPoint> out;
    auto add = [&](std::int32_t tick, std::int32_t value) {
        if (!out.empty() && out.back().tick == tick)
            out.back().value = value;
        else
            out.push_back({tick, value});
    };
    std::optional<std::int32_t> inEffect;
    for (const LegacyPoint& point : curve) {
        if (point.tick < span.start)
            inEffect = point.value;
        else if (point.tick < span.end) {
            if (out.empty() && inEffect && point.tick > span.start) add(0, *inEffect);
            add(point.tick - span.start, point.value);
        }
    }
    if (out.empty() && inEffect) add(0, *inEffect);
    return out;
}

// The value of a curve in effect at `tick`, or `otherwise` before its first point.
std::int32_t valueAt(const std::vector<LegacyPoint>& curve, std::int32_t tick,
                     std::int32_t otherwise) {
    for (const LegacyPoint& point : curve) {
        if (point.tick > tick) break;
        otherwise = point.value;
    }
    return otherwise;
}

const std::vector<LegacyPoint>& curveOf(const LegacyTrack& track, LegacyCurve curve) {
    return track.curves[static_cast<std::size_t>(curve)];
}

// Builds the objects of one song. Every step answers false when an object cannot be created or
// linked; the caller then empties the whole document, so nothing half-built is kept.
class SongBuilder {
public:
    SongBuilder(const ZRCreateContext& context, CZRSequence& sequence,
                const kor::VVoiceTable& voices, const ZRVVoiceLib& defaultVoice)
        : context_(context)
        , sequence_(sequence)
        , voices_(voices)
        , defaultVoice_(defaultVoice) {}

    bool addTrack(const LegacyTrack& legacy, std::int32_t trackNo, const std::wstring& name);
    void applyMixer(const kor::LegacyMixer& mixer);

private:
    template <class T, class... Args> T* make(Args&&... args) {
        return kor::createObject<T>(context_, ZR_NO_OBJ_ID, std::forward<Args>(args)...);
    }
    CZRNodeList* list(std::int32_t listType, std::int32_t listTypeEx = -1) {
        CZRNodeList* created = make<CZRNodeList>();
        if (created != nullptr) created->setListType(listType, listTypeEx);
        return created;
    }
    template <class T, class Values> bool appendTo(CZRNodeList* target, Values values) {
        T* created = target ? make<T>(std::move(values)) : nullptr;
        return created != nullptr && target->append(created);
    }

    bool addPart(const LegacyTrack& legacy, const Span& span, CZRNodeList& parts);
    bool addNote(const LegacyTrack& legacy, const LegacyNote& legacyNote, std::int32_t partStart,
                 CZRMusicalPart& part);
    bool addVibratoCurve(CZRNoteStyleSeqAttrib& seq, const wchar_t* id, std::int32_t kind,
                         const std::vector<kor::VibratoPoint>& points);

    const ZRCreateContext& context_;
    CZRSequence& sequence_;
    const kor::VVoiceTable& voices_;
    const ZRVVoiceLib& defaultVoice_;
};

bool SongBuilder::addTrack(const LegacyTrack& legacy, std::int32_t trackNo,
                           const std::wstring& name) {
    CZRZRTrack* track = kor::addZRTrack(context_, sequence_, trackNo, name, L"");
    if (track == nullptr) return false;
    for (const Span& span : partSpans(legacy.notes))
        if (!addPart(legacy, span, *track->partList())) return false;
    return true;
}

bool SongBuilder::addPart(const LegacyTrack& legacy, const Span& span, CZRNodeList& parts) {
    const std::int32_t playTime = std::max(span.end - span.start, CZRPart::kMinPlayTime);
    CZRMusicalPart* part = kor::buildMusicalPart(
        context_, ZRPartValues{span.start, playTime, L"", L""}, voices_, defaultVoice_);
    if (part == nullptr || !parts.append(part)) return false;

    // The singer in effect where the part begins sings from its start; later changes follow.
    CZRNodeList* singers = part->singerList();
    auto* first = singers ? kor::objCast<CZRMusicalSinger>(singers->elementAt(0)) : nullptr;
    for (const kor::LegacySinger& singer : legacy.singers) {
        if (singer.tick >= span.end) break;
        if (singer.tick <= span.start) {
            if (first != nullptr) {
                first->values().vBS = singer.bankSelect;
                first->values().vPC = singer.program;
            }
        } else if (!appendTo<CZRMusicalSinger>(
                       singers, ZRMusicalSingerValues{singer.tick - span.start, singer.bankSelect,
                                                      singer.program})) {
            return false;
        }
    }

    for (std::size_t i = span.firstNote; i < span.endNote; ++i)
        if (!addNote(legacy, legacy.notes[i], span.start, *part)) return false;

    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        for (const LegacyPoint& point :
             pointsIn(legacy.curves[static_cast<std::size_t>(type)], span))
            if (!appendTo<CZRMusicalControl>(part->controlList(type),
                                             ZRMusicalControlValues{point.tick, type, point.value}))
                return false;

    // Portamento timing drives the part's "POR" style control, the one the default style offers.
    CZRNodeList* portamento = kor::findMapList(part->styleControlLists(), L"POR");
    for (const LegacyPoint& point : pointsIn(curveOf(legacy, LegacyCurve::PortamentoTiming), span))
        if (!appendTo<CZRStyleControl>(portamento,
                                       ZRStyleControlValues{point.tick, L"POR", point.value}))
            return false;
    return true;
}

bool SongBuilder::addNote(const LegacyTrack& legacy, const LegacyNote& legacyNote,
                          std::int32_t partStart, CZRMusicalPart& part) {
    auto* note = make<CZRMusicalNote>(ZRMusicalNoteValues{
        legacyNote.tick - partStart, legacyNote.length, legacyNote.noteNum, kNoteVelocity,
        legacyNote.phLock, legacyNote.lyric, legacyNote.phonemes});
    // A note opens its mouth as the opening curve stands where the note begins.
    const std::int32_t opening = std::clamp(
        valueAt(curveOf(legacy, LegacyCurve::Opening), legacyNote.tick, kDefaultOpening), 0, 127);
    const auto& vibrato = legacyNote.vibrato;
    auto* style = make<CZRNoteStyleAttrib>(CZRNoteStyleAttrib::ValueMap{
        {L"bendDep", legacyNote.bendDepth},
        {L"bendLen", legacyNote.bendLength},
        {L"risePort", legacyNote.risePort},
        {L"fallPort", legacyNote.fallPort},
        {L"decay", legacyNote.decay},
        {L"accent", legacyNote.accent},
        {L"opening", opening},
        {L"vibType", vibrato ? vibrato->type : 0},
        {L"vibLen", vibrato ? vibrato->length : 0},
    });
    auto* seq = make<CZRNoteStyleSeqAttrib>();
    if (note == nullptr || style == nullptr || seq == nullptr || !note->setNoteStyle(style) ||
        !note->setNoteSeqStyle(seq) || part.noteList() == nullptr || !part.noteList()->append(note))
        return false;
    static const std::vector<kor::VibratoPoint> none;
    return addVibratoCurve(*seq, L"vibDep", CZRNoteStyleSeqAttrib::kVibDepKind,
                           vibrato ? vibrato->depth : none) &&
           addVibratoCurve(*seq, L"vibRate", CZRNoteStyleSeqAttrib::kVibRateKind,
                           vibrato ? vibrato->rate : none);
}

bool SongBuilder::addVibratoCurve(CZRNoteStyleSeqAttrib& seq, const wchar_t* id, std::int32_t kind,
                                  const std::vector<kor::VibratoPoint>& points) {
    CZRNodeList* curve = list(7, kind);
    if (curve == nullptr || !seq.setElementList(id, curve)) return false;
    for (const kor::VibratoPoint& point : points)
        if (!appendTo<CZRNoteStyleSeqAttribElement>(
                curve, ZRNoteStyleSeqAttribElementValues{point.posNrm, point.value}))
            return false;
    return true;
}

// Columns of the mixer section stand for the units of the tracks with those numbers; columns
// without a converted track are ignored.
void SongBuilder::applyMixer(const kor::LegacyMixer& mixer) {
    CZRMixer* target = sequence_.mixer();
    if (target == nullptr) return;
    if (mixer.masterVolume && target->masterUnit() != nullptr)
        target->masterUnit()->values().vol = *mixer.masterVolume;
    if (target->zrUnitList() == nullptr) return;
    for (IZRMutableKorObject* element : target->zrUnitList()->elements()) {
        auto* unit = kor::objCast<CZRZRUnit>(element);
        if (unit == nullptr || unit->getTrackNo() < 0 ||
            static_cast<std::size_t>(unit->getTrackNo()) >= mixer.columns.size())
            continue;
        const kor::LegacyMixer::Column& column =
            mixer.columns[static_cast<std::size_t>(unit->getTrackNo())];
        ZRZRUnitValues& values = unit->values();
        values.vol = column.volume.value_or(values.vol);
        values.pan = column.pan.value_or(values.pan);
        values.mute = column.mute.value_or(values.mute);
        values.solo = column.solo.value_or(values.solo);
    }
}

} // namespace

std::uint32_t CxLegacyConverter::convert(const std::wstring& path, unsigned codePage,
                                         std::int32_t preMeasure, CZRKorDocument& target) {
    legacyLevel_ = 0;
    if (const std::uint32_t code = begin(path, target)) return code;

    try {
        CxGlobalBuffer image;
        CxMidiSequence::ParseResult parsed{nullptr, CxMidiStatus::InvalidFile};
        if (image.load(path)) parsed = CxMidiSequence::parse(image.data(), image.size());
        if (parsed.status == CxMidiStatus::NoMemory)
            return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        if (parsed.sequence == nullptr) return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);
        CxMidiSequence& midi = *parsed.sequence;

        const ZRCreateContext context = target.context();
        CZRSequence* sequence = startSong(target);
        if (sequence == nullptr) return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);

        if (kor::hasLegacyText(midi) != 1 ||
            !kor::convertConductorTrack(midi, *sequence->masterTrack(), context))
            return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);

        // The song offers the voices the library knows, as a new song does; singers of voices it
        // lacks are moved to a known voice when the song is loaded.
        if (!addLibraryVoices(*sequence, context))
            return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
        SongBuilder builder(context, *sequence, voices_, defaultVoice_);
        std::optional<kor::LegacyTrack> first;
        std::int32_t converted = 0;
        for (std::size_t index = 0; index < midi.trackCount() && converted < kMaxSingingTracks;
             ++index) {
            CxTypedFile text;
            text.setCodePage(codePage);
            bool hadText = false;
            const bool collected = kor::collectTrackText(midi, index, text, hadText);
            if ((text.status() & kor::kLegacyTextCorrupt) != 0) status_ |= kStatusCorruptText;
            if (!collected) return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);
            if (!hadText) continue;
            kor::LegacyTrack track;
            kor::readLegacyTrack(text, converted == 0, track);
            const std::wstring name = track.name.empty() ? fileTitle(path) : track.name;
            if (converted == 0) {
                sequence->masterTrack()->setSeqName(name);
                if (track.preMeasure != 0) sequence->masterTrack()->setPreMeasure(track.preMeasure);
            }
            if (!builder.addTrack(track, converted, name))
                return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);
            if (converted == 0) first = std::move(track);
            ++converted;
        }
        if (first && first->mixer) builder.applyMixer(*first->mixer);

        const std::int32_t version = first ? first->version : 0;
        legacyLevel_ = version > 201 ? 3 : 2;
        // Older files count their ticks from the song's first measure; the measures in front
        // come from the caller. Newer ones were written with their own.
        if (version < 202 && !kor::shiftByPreMeasure(*target.root(), preMeasure))
            return fail(kStatusInvalid, ZR_E_INVALID_KOR_FILE, target);

        if (const std::uint32_t code = kor::verifySong(target, message_))
            return fail(kStatusInvalid, code, target);
    } catch (const std::bad_alloc&) {
        return fail(kStatusNoMemory, ZR_E_NOT_ENOUGH_MEMORY, target);
    }
    status_ = 0;
    return 0;
}

namespace kor {

std::uint32_t surveyLegacySong(const std::wstring& path, unsigned codePage,
                               ZRLegacySongSurvey& survey) {
    survey = ZRLegacySongSurvey{};
    survey.codePage = codePage;
    if (!isPlainFile(path)) return ZR_E_FILE_NOT_FOUND;
    try {
        CxGlobalBuffer image;
        CxMidiSequence::ParseResult parsed{nullptr, CxMidiStatus::InvalidFile};
        if (image.load(path)) parsed = CxMidiSequence::parse(image.data(), image.size());
        if (parsed.status == CxMidiStatus::NoMemory) return ZR_E_NOT_ENOUGH_MEMORY;
        const std::unique_ptr<CxMidiSequence>& midi = parsed.sequence;
        if (midi == nullptr || hasLegacyText(*midi) != 1) return ZR_E_INVALID_KOR_FILE;
        // The same tracks as the conversion takes: those with text, up to a song's limit.
        std::int32_t taken = 0;
        for (std::size_t index = 0; index < midi->trackCount() && taken < kMaxSingingTracks;
             ++index) {
            CxTypedFile text;
            text.setCodePage(codePage);
            bool hadText = false;
            if (collectTrackText(*midi, index, text, hadText))
                survey.unconvertedTextCount += static_cast<int>(text.unconvertedLines());
            if (hadText) ++taken;
        }
    } catch (const std::bad_alloc&) {
        survey.unconvertedTextCount = 0;
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

std::uint32_t verifySong(CZRKorDocument& document, std::wstring& message) {
    message.clear();
    CZRKorRoot* root = document.root();
    if (root == nullptr) return ZR_E_INVALID_PARAMETER;
    const CorrectResult result = correctTree(*root, document.objects(), document.context());
    if (result.code == 0) return 0;
    message = L"Verify error : ";
    const IZRMutableKorObject* failing = document.objects().lookup(result.objID);
    const auto* list = objCast<CZRNodeList>(parentOf(failing));
    std::vector<IZRMutableKorObject*> shown;
    if (list != nullptr)
        shown = list->elements();
    else if (failing != nullptr)
        shown.push_back(const_cast<IZRMutableKorObject*>(failing));
    for (const IZRMutableKorObject* obj : shown) {
        if (obj == failing) message += L"\nERROR >>>>> ";
        obj->dump(message, 0);
        if (obj == failing) message += L" <<<<< ERROR\n";
    }
    return result.code;
}

} // namespace kor
