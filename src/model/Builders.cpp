#include "model/Builders.h"

#include "model/KaraokeUnit.h"
#include "model/MasterTrack.h"
#include "model/MasterUnit.h"
#include "model/MusicalNote.h"
#include "model/Mixer.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/ObjectTree.h"
#include "model/SEUnit.h"
#include "model/Sequence.h"
#include "model/StylePluginAttribInfo.h"
#include "model/UnManaged.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"
#include "model/ZRUnit.h"

#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace {

/// Creates objects for one builder run and keeps track of the first failure: once something
/// fails, every later step is skipped and the caller destroys the top object it built.
class Assembly {
public:
    explicit Assembly(const ZRCreateContext& context)
        : context_(context) {}

    bool ok() const { return ok_; }
    void fail() { ok_ = false; }

    /// A new T made from `args`, or null (and the run failed).
    template <class T, class... Args> T* make(Args&&... args) {
        if (!ok_) return nullptr;
        T* obj = kor::createObject<T>(context_, ZR_NO_OBJ_ID, std::forward<Args>(args)...);
        ok_ = obj != nullptr;
        return obj;
    }

    /// A new empty list, or null.
    CZRNodeList* list(std::int32_t listType, std::int32_t listTypeEx = -1) {
        CZRNodeList* created = make<CZRNodeList>();
        if (created != nullptr) created->setListType(listType, listTypeEx);
        return created;
    }

    /// Records the outcome of linking `child`; a child that could not be linked is destroyed.
    void link(bool linked, IZRMutableKorObject* child) {
        if (!ok_ || linked) return;
        context_.registry.destroy(child->getObjID());
        ok_ = false;
    }

    /// `top` when the run succeeded; otherwise destroys `top` and its subtree and gives null.
    template <class T> T* finish(T* top) {
        if (ok_) return top;
        if (top != nullptr) context_.registry.destroy(top->getObjID());
        return nullptr;
    }

private:
    const ZRCreateContext& context_;
    bool ok_ = true;
};

constexpr std::int32_t kVstListType = 26;

/// Links `count` empty plug-in lists under `unit`.
template <class Unit> void addVstLists(Assembly& run, Unit* unit, std::size_t count) {
    for (std::size_t i = 0; i < count && run.ok(); ++i) {
        CZRNodeList* list = run.list(kVstListType);
        if (list != nullptr) run.link(unit->setVstList(i, list), list);
    }
}

CZRMixer* buildMixer(Assembly& run) {
    CZRMixer* mixer = run.make<CZRMixer>();
    if (mixer == nullptr) return nullptr;
    if (auto* master = run.make<CZRMasterUnit>(ZRMasterUnitValues{0, 0, 0})) {
        run.link(mixer->setMasterUnit(master), master);
        addVstLists(run, master, 2);
    }
    if (CZRNodeList* units = run.list(28)) run.link(mixer->setZRUnitList(units), units);
    if (auto* se = run.make<CZRSEUnit>(ZRSEUnitValues{0, -898, 0, 0, 0, 64, 0})) {
        run.link(mixer->setSEUnit(se), se);
        addVstLists(run, se, 1);
    }
    if (auto* karaoke = run.make<CZRKaraokeUnit>(ZRKaraokeUnitValues{0, 0, 0, -129})) {
        run.link(mixer->setKaraokeUnit(karaoke), karaoke);
        addVstLists(run, karaoke, 1);
    }
    return mixer;
}

CZRWAVTrack* buildWAVTrack(Assembly& run, std::int32_t listTypeEx) {
    CZRWAVTrack* track = run.make<CZRWAVTrack>();
    if (track == nullptr) return nullptr;
    if (CZRNodeList* parts = run.list(21, listTypeEx))
        run.link(track->setWAVPartList(parts), parts);
    return track;
}

// One attribute of the default style plug-in: its ID and its smallest, largest and default
// value. A 0-to-1 attribute is a switch and the vibrato type a choice; the rest are numbers.
struct AttribDefault {
    const wchar_t* id;
    std::int32_t minValue;
    std::int32_t maxValue;
    std::int32_t defaultValue;
};

constexpr AttribDefault kPartAttribs[] = {
    {L"bendDep", 0, 100, 8},   {L"bendLen", 0, 100, 0}, {L"risePort", 0, 1, 0},
    {L"fallPort", 0, 1, 0},    {L"decay", 0, 100, 50},  {L"accent", 0, 100, 50},
    {L"opening", 0, 127, 127},
};
constexpr AttribDefault kControlAttribs[] = {{L"POR", 0, 127, 64}};
constexpr AttribDefault kNoteVibratoAttribs[] = {{L"vibType", 0, 16, 1}, {L"vibLen", 0, 100, 67}};
constexpr AttribDefault kNoteSeqAttribs[] = {{L"vibDep", 0, 127, 64}, {L"vibRate", 0, 127, 50}};

std::int32_t attribType(const AttribDefault& attrib) {
    if (std::wstring_view(attrib.id) == L"vibType") return ZR_STYLE_ATTRIB_CHOICE;
    return attrib.maxValue == 1 ? ZR_STYLE_ATTRIB_SWITCH : ZR_STYLE_ATTRIB_INTEGER;
}

void addAttribInfos(Assembly& run, CZRStylePlugin* plugin, CZRStylePlugin::InfoList which,
                    std::initializer_list<std::span<const AttribDefault>> groups) {
    CZRNodeList* list = run.list(16);
    if (list == nullptr) return;
    run.link(plugin->setInfoList(which, list), list);
    for (const auto& group : groups) {
        for (const AttribDefault& attrib : group) {
            const ZRStyleAttribRange range{attrib.minValue, attrib.maxValue, attrib.defaultValue,
                                           0};
            auto* info = run.make<CZRStylePluginAttribInfo>(
                ZRStylePluginAttribInfoValues{attrib.id, attribType(attrib), range, range, {}});
            if (info == nullptr) return;
            run.link(list->append(info), info);
        }
    }
}

void addDefaultInfoLists(Assembly& run, CZRStylePlugin* plugin) {
    using List = CZRStylePlugin::InfoList;
    addAttribInfos(run, plugin, List::Part, {kPartAttribs});
    addAttribInfos(run, plugin, List::Reserved, {});
    addAttribInfos(run, plugin, List::Control, {kControlAttribs});
    addAttribInfos(run, plugin, List::Note, {kPartAttribs, kNoteVibratoAttribs});
    addAttribInfos(run, plugin, List::NoteSeq, {kNoteSeqAttribs});
}

CZRStylePlugin* buildDefaultStylePlugin(Assembly& run) {
    auto* plugin = run.make<CZRStylePlugin>(
        ZRStylePluginValues{kor::kDefaultStylePluginID, L"TORIVEL2 Compatible Style", L"3.0.0.1"});
    if (plugin != nullptr) addDefaultInfoLists(run, plugin);
    return plugin;
}

} // namespace

namespace kor {

CZRSequence* buildEmptySequence(const ZRCreateContext& context) {
    Assembly run(context);
    auto* sequence =
        run.make<CZRSequence>(ZRSequenceValues{kNewSequenceVender, kNewSequenceVersion});
    if (sequence == nullptr) return nullptr;

    if (CZRNodeList* vvoices = run.list(25)) run.link(sequence->setVVoiceList(vvoices), vvoices);
    if (CZRMixer* mixer = buildMixer(run)) run.link(sequence->setMixer(mixer), mixer);
    if (auto* master = run.make<CZRMasterTrack>(ZRMasterTrackValues{
            L"New Sequence", L"New Sequence", CZRMasterTrack::kResolution, 1})) {
        run.link(sequence->setMasterTrack(master), master);
        if (CZRNodeList* sigs = run.list(2)) run.link(master->setTimeSigList(sigs), sigs);
        if (CZRNodeList* tempos = run.list(3)) run.link(master->setTempoList(tempos), tempos);
    }
    if (CZRNodeList* tracks = run.list(23)) run.link(sequence->setZRTrackList(tracks), tracks);
    if (CZRWAVTrack* se = buildWAVTrack(run, 0)) run.link(sequence->setSETrack(se), se);
    if (CZRWAVTrack* karaoke = buildWAVTrack(run, 1))
        run.link(sequence->setKaraokeTrack(karaoke), karaoke);
    CZRUnManaged* unManaged = run.ok() ? createUnManaged(context, ZR_NO_OBJ_ID) : nullptr;
    if (unManaged == nullptr) {
        run.fail();
    } else {
        run.link(sequence->setUnManaged(unManaged), unManaged);
        if (CZRNodeList* auxes = run.list(32)) run.link(unManaged->setAuxList(auxes), auxes);
    }
    return run.finish(sequence);
}

CZRMusicalPart* buildMusicalPart(const ZRCreateContext& context, ZRPartValues values,
                                 const VVoiceTable& table, const ZRVVoiceLib& defaultVoice) {
    if (values.playTime < 61) values.playTime = CZRPart::kMinPlayTime;
    Assembly run(context);
    auto* part = run.make<CZRMusicalPart>(std::move(values));
    if (part == nullptr) return nullptr;

    if (CZRStylePlugin* plugin = buildDefaultStylePlugin(run))
        run.link(part->setStylePlugin(plugin), plugin);

    const bool known = table.contains({defaultVoice.vBS, defaultVoice.vPC});
    if (CZRNodeList* singers = run.list(8)) {
        run.link(part->setSingerList(singers), singers);
        if (auto* singer = run.make<CZRMusicalSinger>(ZRMusicalSingerValues{
                0, known ? defaultVoice.vBS : 0, known ? defaultVoice.vPC : 0}))
            run.link(singers->append(singer), singer);
    }
    if (auto* style = run.make<CZRPartStyleAttrib>()) {
        run.link(part->setPartStyle(style), style);
        for (const AttribDefault& attrib : kPartAttribs)
            style->setValue(attrib.id, attrib.defaultValue);
    }
    if (CZRNodeList* por = run.list(10, 0)) run.link(part->setStyleControlList(L"POR", por), por);
    if (CZRNodeList* notes = run.list(4)) run.link(part->setNoteList(notes), notes);
    for (std::int32_t type = 0; type < CZRMusicalPart::kControlTypes; ++type)
        if (CZRNodeList* controls = run.list(9, type))
            run.link(part->setControlList(type, controls), controls);
    return run.finish(part);
}

CZRZRTrack* buildZRTrack(const ZRCreateContext& context, ZRZRTrackValues values) {
    Assembly run(context);
    auto* track = run.make<CZRZRTrack>(std::move(values));
    if (track == nullptr) return nullptr;
    if (CZRNodeList* parts = run.list(static_cast<std::int32_t>(ZRObjType::Part)))
        run.link(track->setPartList(parts), parts);
    return run.finish(track);
}

CZRZRUnit* buildZRUnit(const ZRCreateContext& context, std::int32_t trackNo) {
    Assembly run(context);
    auto* unit =
        run.make<CZRZRUnit>(ZRZRUnitValues{trackNo, 0, kMinLevel, 0, 0, 0, kMaxPan / 2, 0});
    if (unit == nullptr) return nullptr;
    addVstLists(run, unit, 1);
    return run.finish(unit);
}

bool rebuildDefaultStyleInfoLists(const ZRCreateContext& context, CZRStylePlugin& plugin) {
    std::vector<std::uint32_t> replaced;
    for (std::size_t i = 0; i < CZRStylePlugin::kInfoLists; ++i)
        if (const CZRNodeList* list = plugin.infoList(static_cast<CZRStylePlugin::InfoList>(i)))
            replaced.push_back(list->getObjID());
    Assembly run(context);
    addDefaultInfoLists(run, &plugin);
    // Linking a new list detached the old one; only then may it go.
    for (const std::uint32_t id : replaced)
        if (isDetached(context.registry.lookup(id))) context.registry.destroy(id);
    return run.ok();
}

bool completePartStyle(const ZRCreateContext& context, CZRMusicalPart& part) {
    Assembly run(context);
    CZRPartStyleAttrib* style = part.partStyle();
    if (style == nullptr && (style = run.make<CZRPartStyleAttrib>()) != nullptr)
        run.link(part.setPartStyle(style), style);
    if (!run.ok()) return false;
    for (const AttribDefault& attrib : kPartAttribs)
        if (!style->hasValue(attrib.id)) style->setValue(attrib.id, attrib.defaultValue);
    if (findMapList(part.styleControlLists(), L"POR") == nullptr)
        if (CZRNodeList* por = run.list(10, 0))
            run.link(part.setStyleControlList(L"POR", por), por);
    return run.ok();
}

bool completeNoteStyle(const ZRCreateContext& context, CZRMusicalNote& note) {
    Assembly run(context);
    CZRNoteStyleAttrib* style = note.noteStyle();
    if (style == nullptr && (style = run.make<CZRNoteStyleAttrib>()) != nullptr)
        run.link(note.setNoteStyle(style), style);
    CZRNoteStyleSeqAttrib* seq = note.noteSeqStyle();
    if (seq == nullptr && (seq = run.make<CZRNoteStyleSeqAttrib>()) != nullptr)
        run.link(note.setNoteSeqStyle(seq), seq);
    if (!run.ok()) return false;
    // Room for the missing values first, so that adding them moves none of the others.
    std::size_t missing = 0;
    for (const AttribDefault& attrib : kPartAttribs)
        missing += style->hasValue(attrib.id) ? 0 : 1;
    for (const AttribDefault& attrib : kNoteVibratoAttribs)
        missing += style->hasValue(attrib.id) ? 0 : 1;
    style->reserveValues(style->values().size() + missing);
    for (const AttribDefault& attrib : kPartAttribs)
        if (!style->hasValue(attrib.id)) style->setValue(attrib.id, attrib.defaultValue);
    for (const AttribDefault& attrib : kNoteVibratoAttribs)
        if (!style->hasValue(attrib.id)) style->setValue(attrib.id, 0);
    for (const auto& [id, kind] : {std::pair{L"vibDep", CZRNoteStyleSeqAttrib::kVibDepKind},
                                   std::pair{L"vibRate", CZRNoteStyleSeqAttrib::kVibRateKind}})
        if (seq->elementList(id) == nullptr)
            if (CZRNodeList* curve = run.list(7, kind))
                run.link(seq->setElementList(id, curve), curve);
    return run.ok();
}

CZRZRTrack* addZRTrack(const ZRCreateContext& context, CZRSequence& sequence, std::int32_t trackNo,
                       std::wstring name, std::wstring comment) {
    CZRMixer* mixer = sequence.mixer();
    if (sequence.zrTrackList() == nullptr || mixer == nullptr || mixer->zrUnitList() == nullptr)
        return nullptr;
    CZRZRTrack* track = buildZRTrack(context, {std::move(name), std::move(comment), trackNo});
    CZRZRUnit* unit = buildZRUnit(context, trackNo);
    if (track != nullptr && unit != nullptr && sequence.zrTrackList()->insertSorted(track)) {
        if (mixer->zrUnitList()->insertSorted(unit)) return track;
        (void)sequence.zrTrackList()->removeByID(track->getObjID());
    }
    if (track != nullptr) context.registry.destroy(track->getObjID());
    if (unit != nullptr) context.registry.destroy(unit->getObjID());
    return nullptr;
}

} // namespace kor
