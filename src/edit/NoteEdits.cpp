#include "edit/NoteEdits.h"

#include "edit/EditMessages.h"
#include "edit/EditRecords.h"
#include "edit/EditSupport.h"
#include "model/ContainerOps.h"
#include "model/FieldRules.h"
#include "platform/XmlChars.h"

#include <optional>
#include <vector>

namespace kor {

namespace {

/// The list type of the curves of a note's sequential style.
constexpr ZRObjType kCurveListType = ZRObjType::NoteStyleSeqAttribElement;
constexpr std::int32_t kMaxVibratoLength = 100;
constexpr std::int32_t kMaxVibratoType = 16;

bool within(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

using Point = CZRNoteStyleSeqAttribElement;

std::uint32_t checkPointPosition(const EditSession& session, std::int32_t posNrm) {
    return within(posNrm, 0, Point::kMaxPosNrm)
               ? 0
               : outOfRange(session, ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION, posNrm,
                            0, Point::kMaxPosNrm);
}

/// The singing-style checks: bend depth and length, decay and accent 0 to 100, opening 0 to 127.
std::uint32_t checkNoteStyle(const EditSession& session, const ZRNoteStyleValue& style) {
    struct Field {
        std::int32_t ZRNoteStyleValue::*field;
        const wchar_t* what;
        std::int32_t most;
    };
    constexpr Field kFields[] = {
        {&ZRNoteStyleValue::bendDep, L"Bend depth", 100},
        {&ZRNoteStyleValue::bendLen, L"Bend length", 100},
        {&ZRNoteStyleValue::decay, L"Decay", 100},
        {&ZRNoteStyleValue::accent, L"Accent", 100},
        {&ZRNoteStyleValue::opening, L"Opening", 127},
    };
    for (const Field& f : kFields)
        if (!within(style.*f.field, 0, f.most))
            return outOfRange(session, ZR_E_INVALID_T2_NOTE_STYLE, f.what, style.*f.field, 0,
                              f.most);
    return 0;
}

/// The note record of `value`, its texts in the form a saved song gives them back, so that the
/// note checks judge what will be stored.
ZRMusicalNoteValues noteValues(const ZRNoteValue& value) {
    ZRMusicalNoteValues values{value.posTick, value.durTick, value.noteNum, value.velocity,
                               value.phLock,  value.lyric,   value.phonemes};
    platform::makeStoredText(values.lyric);
    for (std::wstring& phoneme : values.phonemes)
        platform::makeStoredText(phoneme);
    return values;
}

/// The note checks, explained.
std::uint32_t checkNoteExplained(const EditSession& session, const ZRMusicalNoteValues& values) {
    const std::uint32_t code = checkNoteValues(values);
    if (code == ZR_E_INVALID_PHONEME) {
        std::size_t joined = values.phonemes.empty() ? 0 : values.phonemes.size() - 1;
        for (const std::wstring& phoneme : values.phonemes)
            joined += phoneme.size();
        return session.explain(code,
                               L"A note sings 1 or more phoneme symbols of 1\u2013%d characters, "
                               L"at most %d when joined with blanks; %zu symbols of %zu characters "
                               L"joined were given.",
                               CZRMusicalNote::kMaxTextLength, CZRMusicalNote::kMaxTextLength,
                               values.phonemes.size(), joined);
    }
    if (code != 0) return checkRules<ZRMusicalNoteValues>(session, values, CZRMusicalNote::kRules);
    return 0;
}

/// The note's end against the editor's upper tick limit, explained.
std::uint32_t checkNoteEnd(const EditSession& session, std::int32_t posTick, std::int32_t durTick) {
    return endsPastTickLimit(session, posTick, durTick)
               ? pastTickLimit(session, ZR_E_INVALID_NOTE_POSITION, L"Note", posTick, durTick)
               : 0;
}

/// The note checks, then the upper tick limit.
std::uint32_t checkNote(const EditSession& session, const ZRMusicalNoteValues& values) {
    if (const std::uint32_t code = checkNoteExplained(session, values)) return code;
    return checkNoteEnd(session, values.posTick, values.durTick);
}

/// The vibrato kind whose curves a note with `value` takes; null for none (no vibrato, or kind 0).
const VibratoShape* vibratoKindOf(const EditSession& session, const ZRVibratoValue& value) {
    return value.enabled != 0 && value.type != 0 ? session.host().vibratoKind(value.type) : nullptr;
}

/// Length and kind in range, and a vibrato that sounds of a kind the voice database's vibrato
/// table holds: a kind whose articulation could not be read has no curves to give the note.
std::uint32_t checkVibrato(const EditSession& session, const ZRVibratoValue& value) {
    if (!within(value.length, 0, kMaxVibratoLength))
        return outOfRange(session, ZR_E_INVALID_VIBRATO, L"Vibrato length (percent)", value.length,
                          0, kMaxVibratoLength);
    if (!within(value.type, 0, kMaxVibratoType))
        return outOfRange(session, ZR_E_INVALID_VIBRATO, L"Vibrato kind", value.type, 0,
                          kMaxVibratoType);
    if (value.enabled != 0 && value.type != 0 && vibratoKindOf(session, value) == nullptr)
        return session.explain(ZR_E_INVALID_VIBRATO,
                               L"Vibrato kind %d is not in the voice database's vibrato table.",
                               value.type);
    return 0;
}

/// Replaces the points of the curve `id` of `seq` by `points`, creating the curve when the note
/// has none. The old points are unlinked; the purge at commit destroys them.
bool replaceCurve(CZRNoteStyleSeqAttrib& seq, const wchar_t* id, std::int32_t listKind,
                  const std::vector<VibratoPoint>& points, const ZRCreateContext& context) {
    CZRNodeList* curve = seq.elementList(id);
    if (curve == nullptr) {
        curve = createList(context, kCurveListType, listKind);
        if (curve == nullptr) return false;
        if (!seq.setElementList(id, curve)) {
            context.registry.destroy(curve->getObjID());
            return false;
        }
    }
    curve->clear();
    for (const VibratoPoint& point : points) {
        auto* created = createObject<CZRNoteStyleSeqAttribElement>(
            context, ZR_NO_OBJ_ID, ZRNoteStyleSeqAttribElementValues{point.posNrm, point.value});
        if (created == nullptr) return false;
        if (!curve->append(created)) {
            context.registry.destroy(created->getObjID());
            return false;
        }
    }
    return true;
}

/// Gives `note`, which carries both styles, the vibrato `value`: kind and length as style values,
/// and the depth and rate curves of `kind` (none: empty curves) over the share of the note that
/// vibrates, which ends with the note. New points are made in `context`. False when a curve
/// cannot be made.
bool setVibrato(CZRMusicalNote& note, const ZRVibratoValue& value, const VibratoShape* kind,
                const ZRCreateContext& context) {
    CZRNoteStyleAttrib* style = note.noteStyle();
    CZRNoteStyleSeqAttrib* seq = note.noteSeqStyle();
    if (style == nullptr || seq == nullptr) return false;
    const bool vibrates = value.enabled != 0;
    style->setValue(L"vibType", vibrates ? value.type : 0);
    style->setValue(L"vibLen", vibrates ? value.length : 0);

    std::vector<VibratoPoint> depth;
    std::vector<VibratoPoint> rate;
    if (kind != nullptr) {
        const auto onset = static_cast<std::int32_t>(
            std::int64_t{kMaxVibratoLength - value.length} * kNoteCurveEnd / kMaxVibratoLength);
        depth = curveOverNote(kind->startDepth, kind->depthCurve, onset);
        rate = curveOverNote(kind->startRate, kind->rateCurve, onset);
    }
    return replaceCurve(*seq, L"vibDep", CZRNoteStyleSeqAttrib::kVibDepKind, depth, context) &&
           replaceCurve(*seq, L"vibRate", CZRNoteStyleSeqAttrib::kVibRateKind, rate, context);
}

/// A new note in `context` with `values`, the style values `style` and an empty sequential
/// style; null, with nothing left behind, when it cannot be made.
CZRMusicalNote* makeStyledNote(const ZRCreateContext& context, ZRMusicalNoteValues values,
                               const ZRNoteStyleValue& style) {
    CZRNoteStyleAttrib::ValueMap styleValues{
        {L"bendDep", style.bendDep},   {L"bendLen", style.bendLen}, {L"risePort", style.risePort},
        {L"fallPort", style.fallPort}, {L"decay", style.decay},     {L"accent", style.accent},
        {L"opening", style.opening},
    };
    auto* note = createObject<CZRMusicalNote>(context, ZR_NO_OBJ_ID, std::move(values));
    if (note == nullptr) return nullptr;
    auto* styleAttrib =
        createObject<CZRNoteStyleAttrib>(context, ZR_NO_OBJ_ID, std::move(styleValues));
    auto* seq = createObject<CZRNoteStyleSeqAttrib>(context, ZR_NO_OBJ_ID);
    if (styleAttrib != nullptr && seq != nullptr && note->setNoteStyle(styleAttrib) &&
        note->setNoteSeqStyle(seq))
        return note;
    // Destroying the note takes along whatever was linked below it.
    for (IZRMutableKorObject* part :
         {static_cast<IZRMutableKorObject*>(styleAttrib), static_cast<IZRMutableKorObject*>(seq)})
        if (part != nullptr && part->getParent() == nullptr)
            context.registry.destroy(part->getObjID());
    context.registry.destroy(note->getObjID());
    return nullptr;
}

/// Links the new note `note` of `edit`'s store into the list copy and records the insertion; a
/// note that cannot be linked is destroyed.
std::uint32_t linkNew(EditSession& session, ListEdit<CZRMusicalNote>& edit, CZRMusicalNote* note) {
    if (note == nullptr) return ZR_E_UPDATE_FAILED;
    if (!edit.list->insertSorted(note)) {
        edit.record->storeContext().registry.destroy(note->getObjID());
        return ZR_E_UPDATE_FAILED;
    }
    edit.record->addChange({note->getObjID(), kMusicalInserted, note->getPosTick()});
    session.noteInserted(note->getObjID());
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t copyNoteAt(EditSession& session, std::uint32_t noteListID, std::int32_t posTick,
                         std::uint32_t sourceNoteID, std::optional<std::int32_t> noteNum) {
    const CZRNodeList* list = liveListOf<CZREditMusicalNoteList>(session, noteListID);
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    const auto* source = liveObject<CZRMusicalNote>(session, sourceNoteID);
    if (source == nullptr) return ZR_E_COPY_SOURCE_NOT_FOUND;
    ZRMusicalNoteValues copied;
    copied.posTick = posTick;
    copied.noteNum = noteNum.value_or(0);
    const std::span<const FieldRule<ZRMusicalNoteValues>> rules(CZRMusicalNote::kRules);
    if (const std::uint32_t code =
            checkField(session, copied, rules, &ZRMusicalNoteValues::posTick))
        return code;
    if (const std::uint32_t code = checkNoteEnd(session, posTick, source->getDurTick()))
        return code;
    if (const std::uint32_t code =
            checkField(session, copied, rules, &ZRMusicalNoteValues::noteNum))
        return code;
    ListEdit<CZRMusicalNote> edit;
    if (const std::uint32_t code =
            editList<CZREditMusicalNoteList>(session, list, ZR_NO_OBJ_ID, false, edit))
        return code;

    CZRMusicalNote* copy = deepCopy(edit.record->storeContext(), *source);
    if (copy != nullptr) {
        copy->values().posTick = posTick;
        if (noteNum) copy->values().noteNum = *noteNum;
    }
    return linkNew(session, edit, copy);
}

} // namespace

std::uint32_t updateNoteStyleAttrib(EditSession& session, std::uint32_t attribID,
                                    const ZRNoteStyleValue& value) {
    const auto* live = liveObject<CZRNoteStyleAttrib>(session, attribID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkNoteStyle(session, value)) return code;
    ElementEdit<CZRNoteStyleAttrib> edit;
    if (const std::uint32_t code = editElement<CZREditNoteStyleAttrib>(session, live, edit))
        return code;
    CZRNoteStyleAttrib& style = *edit.object;
    style.setValue(L"bendDep", value.bendDep);
    style.setValue(L"bendLen", value.bendLen);
    style.setValue(L"risePort", value.risePort);
    style.setValue(L"fallPort", value.fallPort);
    style.setValue(L"decay", value.decay);
    style.setValue(L"accent", value.accent);
    style.setValue(L"opening", value.opening);
    edit.record->addChange({attribID, kMusicalChanged, 0});
    return 0u;
}

std::uint32_t updateNoteStyleSeqAttribElement(EditSession& session, std::uint32_t elementID,
                                              const ZRNoteStyleSeqAttribElementValue& value) {
    const auto* live = liveObject<Point>(session, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ElementEdit<Point> edit;
    if (const std::uint32_t code =
            editElement<CZREditNoteStyleSeqAttribElement>(session, live, edit))
        return code;
    edit.object->values().elv = value.elv;
    edit.record->addChange({elementID, kMusicalChanged, 0});
    return 0;
}

std::uint32_t moveNoteStyleSeqAttribElement(EditSession& session, std::uint32_t elementID,
                                            const ZRNoteStyleSeqAttribElementValue& value) {
    const auto* live = liveObject<Point>(session, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPointPosition(session, value.posNrm)) return code;
    ListEdit<Point> edit;
    if (const std::uint32_t code = editList<CZREditNoteStyleSeqAttribElementList>(
            session, parentList(*live), elementID, false, edit))
        return code;

    const IZRMutableKorObject* there = edit.list->findByKey(value.posNrm);
    if (there != nullptr && there->getObjID() != elementID)
        return ZR_E_SEQUENTIAL_NOTE_STYLE_ATTRIBUTES_ARE_DUPLICATED;
    edit.element->setValues({value.posNrm, value.elv});
    edit.list->sortByKey();
    edit.record->addChange({elementID, kMusicalChanged, 0});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t insertNoteStyleSeqAttribElement(EditSession& session, std::uint32_t listID,
                                              const ZRNoteStyleSeqAttribElementValue& value) {
    const auto* live = liveListOf<CZREditNoteStyleSeqAttribElementList>(session, listID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkPointPosition(session, value.posNrm)) return code;
    ListEdit<Point> edit;
    if (const std::uint32_t code = editList<CZREditNoteStyleSeqAttribElementList>(
            session, live, ZR_NO_OBJ_ID, false, edit))
        return code;

    if (auto* there = objCast<Point>(edit.list->findByKey(value.posNrm))) {
        there->values().elv = value.elv;
        edit.record->addChange({there->getObjID(), kMusicalChanged, 0});
        session.noteInserted(there->getObjID());
        return 0;
    }
    const Point* point =
        insertNew(edit, ZRNoteStyleSeqAttribElementValues{value.posNrm, value.elv});
    if (point == nullptr) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({point->getObjID(), kMusicalInserted, 0});
    session.noteInserted(point->getObjID());
    edit.record->addChange({listID, kMusicalChanged, 0});
    return 0;
}

std::uint32_t deleteNoteStyleSeqAttribElement(EditSession& session, std::uint32_t elementID) {
    const auto* live = liveObject<Point>(session, elementID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ListEdit<Point> edit;
    if (const std::uint32_t code = editList<CZREditNoteStyleSeqAttribElementList>(
            session, parentList(*live), elementID, true, edit))
        return code;
    if (isDetached(edit.element)) return 0;
    if (!edit.list->removeByID(elementID)) return ZR_E_UPDATE_FAILED;
    edit.record->addChange({elementID, kMusicalDeleted, 0});
    edit.record->addChange({edit.list->getObjID(), kMusicalChanged, 0});
    return 0;
}

std::uint32_t updateNoteVibrato(EditSession& session, std::uint32_t noteID,
                                const ZRVibratoValue& value) {
    const auto* live = liveObject<CZRMusicalNote>(session, noteID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    if (const std::uint32_t code = checkVibrato(session, value)) return code;
    if (live->noteStyle() == nullptr || live->noteSeqStyle() == nullptr)
        return ZR_E_EDIT_TARGET_NOT_T2_STYLE;
    ElementEdit<CZRMusicalNote> edit;
    if (const std::uint32_t code = editElement<CZREditMusicalNote>(session, live, edit))
        return code;
    if (!setVibrato(*edit.object, value, vibratoKindOf(session, value),
                    edit.record->storeContext()))
        return ZR_E_UPDATE_FAILED;
    edit.record->addChange({noteID, kMusicalChanged, edit.object->getPosTick()});
    return 0u;
}

std::uint32_t updateNote(EditSession& session, std::uint32_t noteID, const ZRNoteValue& value) {
    const auto* live = liveObject<CZRMusicalNote>(session, noteID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ZRMusicalNoteValues values = noteValues(value);
    values.posTick = 0; // the note stays where it is
    if (const std::uint32_t code = checkNoteExplained(session, values)) return code;
    ElementEdit<CZRMusicalNote> edit;
    if (const std::uint32_t code = editElement<CZREditMusicalNote>(session, live, edit))
        return code;
    values.posTick = edit.object->getPosTick();
    if (const std::uint32_t code = checkNoteEnd(session, values.posTick, values.durTick))
        return code;
    edit.object->setValues(std::move(values));
    edit.record->addChange({noteID, kMusicalChanged, edit.object->getPosTick()});
    return 0u;
}

std::uint32_t moveNote(EditSession& session, std::uint32_t noteID, const ZRNoteValue& value) {
    const auto* live = liveObject<CZRMusicalNote>(session, noteID);
    if (live == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ZRMusicalNoteValues values = noteValues(value);
    if (const std::uint32_t code = checkNote(session, values)) return code;
    const CZRNodeList* list = parentList(*live);
    ListEdit<CZRMusicalNote> edit;
    if (const std::uint32_t code = editMove<CZREditMusicalNoteList>(session, list, noteID, edit))
        return code;
    edit.element->setValues(std::move(values));
    if (edit.list != nullptr) edit.list->sortByKey();
    edit.record->addChange({noteID, kMusicalChanged, value.posTick});
    edit.record->addChange({list->getObjID(), kMusicalChanged, 0});
    return 0u;
}

std::uint32_t insertNote(EditSession& session, std::uint32_t noteListID, const ZRNoteValue& value) {
    const CZRNodeList* list = liveListOf<CZREditMusicalNoteList>(session, noteListID);
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ZRMusicalNoteValues values = noteValues(value);
    if (const std::uint32_t code = checkNote(session, values)) return code;
    ListEdit<CZRMusicalNote> edit;
    if (const std::uint32_t code =
            editList<CZREditMusicalNoteList>(session, list, ZR_NO_OBJ_ID, false, edit))
        return code;
    return linkNew(
        session, edit,
        createObject<CZRMusicalNote>(edit.record->storeContext(), ZR_NO_OBJ_ID, std::move(values)));
}

std::uint32_t insertNoteWithStyle(EditSession& session, std::uint32_t noteListID,
                                  const ZRNoteValue& value, const ZRNoteStyleValue& style,
                                  const ZRVibratoValue& vibrato) {
    const CZRNodeList* list = liveListOf<CZREditMusicalNoteList>(session, noteListID);
    if (list == nullptr) return ZR_E_EDIT_TARGET_NOT_FOUND;
    ZRMusicalNoteValues values = noteValues(value);
    if (const std::uint32_t code = checkNote(session, values)) return code;
    if (const std::uint32_t code = checkNoteStyle(session, style)) return code;
    if (const std::uint32_t code = checkVibrato(session, vibrato)) return code;
    ListEdit<CZRMusicalNote> edit;
    if (const std::uint32_t code =
            editList<CZREditMusicalNoteList>(session, list, ZR_NO_OBJ_ID, false, edit))
        return code;

    const ZRCreateContext context = edit.record->storeContext();
    CZRMusicalNote* note = makeStyledNote(context, std::move(values), style);
    if (note != nullptr && !setVibrato(*note, vibrato, vibratoKindOf(session, vibrato), context)) {
        context.registry.destroy(note->getObjID());
        note = nullptr;
    }
    return linkNew(session, edit, note);
}

std::uint32_t copyNote(EditSession& session, std::uint32_t noteListID, std::int32_t posTick,
                       std::uint32_t sourceNoteID) {
    return copyNoteAt(session, noteListID, posTick, sourceNoteID, std::nullopt);
}

std::uint32_t copyNoteWithNumber(EditSession& session, std::uint32_t noteListID,
                                 std::int32_t posTick, std::uint32_t sourceNoteID,
                                 std::int32_t noteNum) {
    return copyNoteAt(session, noteListID, posTick, sourceNoteID, noteNum);
}

std::uint32_t deleteNote(EditSession& session, std::uint32_t noteID) {
    return removeFromList<CZREditMusicalNoteList, CZRMusicalNote>(session, noteID, kMusicalDeleted,
                                                                  kMusicalChanged);
}

} // namespace kor
