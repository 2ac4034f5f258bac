#include "manager/MixerAccess.h"

#include "edit/CommitHistory.h"
#include "edit/EditMessages.h"
#include "manager/KorManagerImpl.h"
#include "model/Mixer.h"
#include "model/Sequence.h"
#include "platform/XmlChars.h"

#include <algorithm>

namespace kor {

namespace {

// The unit of class `Unit` in the current song's mixer; only ZR units use `position`. Null, with
// the reason reported, when the song, its mixer or the unit is missing.
template <class Unit> Unit* unitOf(CZRKorManagerImpl& manager, std::uint32_t position) {
    if (manager.sequence() == nullptr) {
        manager.failNoSong();
        return nullptr;
    }
    const CZRMixer* mixer = manager.sequence()->mixer();
    if (mixer == nullptr) {
        manager.fail(ZR_E_NO_MIXER, L"The song has no mixer.");
        return nullptr;
    }
    Unit* unit = nullptr;
    std::uint32_t missing = 0;
    if constexpr (std::is_same_v<Unit, CZRMasterUnit>) {
        unit = mixer->masterUnit();
        missing = ZR_E_INVALID_MASTER_UNIT;
    } else if constexpr (std::is_same_v<Unit, CZRSEUnit>) {
        unit = mixer->seUnit();
        missing = ZR_E_INVALID_SE_UNIT;
    } else if constexpr (std::is_same_v<Unit, CZRKaraokeUnit>) {
        unit = mixer->karaokeUnit();
        missing = ZR_E_INVALID_BACKING_UNIT;
    } else {
        const CZRNodeList* units = mixer->zrUnitList();
        const std::uint32_t count = units != nullptr ? units->getCount() : 0;
        unit = units != nullptr ? objCast<CZRZRUnit>(units->elementAt(position)) : nullptr;
        if (unit == nullptr) {
            manager.fail(
                ZR_E_INVALID_ZR_UNIT_ID, L"%ls (the mixer has %u ZR units).",
                rangeDetail(L"ZR unit", position, 0, static_cast<std::int32_t>(count) - 1).c_str(),
                count);
            return nullptr;
        }
    }
    if (unit == nullptr) manager.fail(missing, L"The mixer has no %ls.", kindName(Unit::kType));
    return unit;
}

template <class Unit> CZRNodeList* vstListOf(const Unit* unit, std::size_t which = 0) {
    return unit != nullptr ? unit->vstList(which) : nullptr;
}

// The plug-in list that holds the slot `at`; null, with the reason reported, when the slot number
// is out of range or the unit or its list is missing.
CZRNodeList* vstListFor(CZRKorManagerImpl& manager, VstSlot at) {
    const bool sendReturn = at.unit == VstUnit::MasterSendReturn;
    const std::int32_t slots = sendReturn ? 1 : 2;
    if (at.slot < 0 || at.slot >= slots) {
        manager.fail(sendReturn ? ZR_E_INVALID_SEND_RETURN_VST_PLUGIN_NUMBER
                                : ZR_E_INVALID_VST_PLUGIN_NUMBER,
                     L"%ls", rangeDetail(L"Plug-in slot", at.slot, 0, slots - 1).c_str());
        return nullptr;
    }
    switch (at.unit) {
    case VstUnit::Master:
        return vstListOf(unitOf<CZRMasterUnit>(manager, 0), CZRMasterUnit::kInsertList);
    case VstUnit::MasterSendReturn:
        return vstListOf(unitOf<CZRMasterUnit>(manager, 0), CZRMasterUnit::kSendReturnList);
    case VstUnit::ZR:
        return vstListOf(unitOf<CZRZRUnit>(manager, at.zrUnit));
    case VstUnit::SE:
        return vstListOf(unitOf<CZRSEUnit>(manager, 0));
    case VstUnit::Karaoke:
        return vstListOf(unitOf<CZRKaraokeUnit>(manager, 0));
    }
    return nullptr;
}

// The plug-in in the slot `at`, any (`validOnly` false) or only a valid one; null, with the
// reason reported, when there is none.
CZRVstPlugin* pluginAt(CZRKorManagerImpl& manager, VstSlot at, bool validOnly) {
    const std::uint32_t unitMissing = manager.lastError();
    const CZRNodeList* list = vstListFor(manager, at);
    CZRVstPlugin* plugin =
        list != nullptr
            ? objCast<CZRVstPlugin>(list->elementAt(static_cast<std::uint32_t>(at.slot)))
            : nullptr;
    if (plugin != nullptr && (!validOnly || plugin->values().valid != 0)) return plugin;
    if (manager.lastError() == unitMissing) {
        const wchar_t* units[] = {L"master unit", L"master unit's send-return effect", L"ZR unit",
                                  L"SE unit", L"karaoke unit"};
        manager.fail(ZR_E_VST_PLUGIN_IS_NULL, L"Slot %d of the %ls holds no plug-in.", at.slot,
                     units[static_cast<int>(at.unit)]);
    }
    return nullptr;
}

// Carries `change` to the copies of `objID` the commit history holds and applies it; without a
// history there are no copies and it is applied at once.
template <class Change>
bool carryToCopies(CZRKorManagerImpl& manager, std::uint32_t objID, Change& change) {
    if (manager.history() != nullptr) return manager.history()->carryToCopies(objID, change);
    change.apply();
    return true;
}

// One mixer value set in the live unit and in the history's copies of it. Only the value set
// here goes into the copies: the rest of a copy may rightly differ from the live unit (an
// undoable track move renumbered it).
template <class Unit> class UnitValueChange {
public:
    UnitValueChange(Unit& live, std::int32_t UnitValuesOf<Unit>::*field, std::int32_t value)
        : field_(field)
        , value_(value) {
        units_.push_back(&live);
    }

    bool prepare(AZREditCommand&, IZRMutableKorObject& copy) {
        if (auto* twin = objCast<Unit>(&copy)) units_.push_back(twin);
        return true;
    }

    void apply() noexcept {
        for (Unit* unit : units_)
            unit->values().*field_ = value_;
    }

private:
    std::int32_t UnitValuesOf<Unit>::*field_;
    std::int32_t value_;
    std::vector<Unit*> units_;
};

// The plug-ins a plug-in list is to hold after a change, slot by slot: the ID of each plug-in
// (ZR_NO_OBJ_ID for a plug-in the change creates) and its values.
struct VstSlotState {
    std::uint32_t objID;
    ZRVstPluginValues values;
};

// A change of one plug-in list, carried to the live list and to every copy of it in the commit
// history. Only the mixer methods change plug-in lists and each carries its change to the copies,
// so a copy differs from the live list only by the change being made, and every list is brought
// to the same slots. Preparing a list creates the plug-ins it lacks in the list's own store and
// makes room in the list; applying sets values and links plug-ins, which cannot fail. A change
// that is never applied destroys the plug-ins it created.
class VstListChange {
public:
    explicit VstListChange(std::vector<VstSlotState> target)
        : target_(std::move(target)) {}
    VstListChange(const VstListChange&) = delete;
    VstListChange& operator=(const VstListChange&) = delete;

    ~VstListChange() {
        if (applied_) return;
        for (const ListPlan& plan : plans_)
            for (const Placement& placement : plan.slots)
                if (placement.created) plan.store->destroy(placement.plugin->getObjID());
    }

    /// Prepares the live list; a plug-in created for it gives its ID to the copies.
    bool prepareLive(CZRNodeList& live, const ZRCreateContext& store) {
        if (!prepareList(live, store)) return false;
        for (std::size_t slot = 0; slot < target_.size(); ++slot)
            target_[slot].objID = plans_.back().slots[slot].plugin->getObjID();
        return true;
    }

    bool prepare(AZREditCommand& record, IZRMutableKorObject& copy) {
        auto* list = objCast<CZRNodeList>(&copy);
        return list != nullptr && prepareList(*list, record.storeContext());
    }

    void apply() noexcept {
        for (ListPlan& plan : plans_) {
            for (std::uint32_t slot = 0; slot < plan.slots.size(); ++slot) {
                Placement& placement = plan.slots[slot];
                if (!placement.created) placement.plugin->values() = std::move(placement.values);
                // Both link calls fail only for null or a slot past the end, excluded here, and
                // the room was made when the list was prepared.
                if (slot < plan.list->getCount())
                    (void)plan.list->replaceAt(slot, placement.plugin, plan.store);
                else
                    (void)plan.list->append(placement.plugin);
            }
        }
        applied_ = true;
    }

    /// The plug-in now in `slot` of the live list.
    CZRVstPlugin* livePlugin(std::uint32_t slot) const { return plans_.front().slots[slot].plugin; }

private:
    struct Placement {
        CZRVstPlugin* plugin;
        bool created;
        ZRVstPluginValues values; // for a plug-in that already exists
    };
    struct ListPlan {
        CZRNodeList* list;
        CZRObjectTable* store;
        std::vector<Placement> slots;
    };

    bool prepareList(CZRNodeList& list, const ZRCreateContext& store) {
        ListPlan& plan = plans_.emplace_back(ListPlan{&list, &store.registry, {}});
        plan.slots.reserve(target_.size());
        for (std::uint32_t slot = 0; slot < target_.size(); ++slot) {
            const VstSlotState& state = target_[slot];
            auto* plugin = state.objID != ZR_NO_OBJ_ID
                               ? objCast<CZRVstPlugin>(store.registry.lookup(state.objID))
                               : nullptr;
            if (plugin == nullptr) {
                plugin = createObject<CZRVstPlugin>(store, state.objID, state.values);
                if (plugin == nullptr) return false;
                plan.slots.push_back({plugin, true, {}});
                continue;
            }
            // Slots never trade places: a plug-in linked elsewhere means a foreign copy.
            if (plugin->getParent() != nullptr && list.elementAt(slot) != plugin) return false;
            plan.slots.push_back({plugin, false, state.values});
        }
        list.reserve(target_.size());
        return true;
    }

    std::vector<VstSlotState> target_;
    std::vector<ListPlan> plans_;
    bool applied_ = false;
};

// The slots of `list` as they stand.
std::vector<VstSlotState> slotsOf(const CZRNodeList& list) {
    std::vector<VstSlotState> slots;
    slots.reserve(list.getCount() + 1);
    for (IZRMutableKorObject* element : list.elements()) {
        const auto* plugin = objCast<CZRVstPlugin>(element);
        slots.push_back(plugin != nullptr ? VstSlotState{plugin->getObjID(), plugin->values()}
                                          : VstSlotState{ZR_NO_OBJ_ID, CZRVstPlugin::emptySlot()});
    }
    return slots;
}

// Brings the live list `list` and its copies to `target`, all or none of them; the plug-in then in
// slot `slot` of the live list, or null when the change could not be made.
CZRVstPlugin* changeVstList(CZRKorManagerImpl& manager, CZRNodeList& list,
                            std::vector<VstSlotState> target, std::uint32_t slot) {
    VstListChange change(std::move(target));
    if (!change.prepareLive(list, manager.document()->context()) ||
        !carryToCopies(manager, list.getObjID(), change)) {
        manager.setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    manager.noteMixerChange();
    return change.livePlugin(slot);
}

// Changes the values of the valid plug-in in slot `at` by `edit`, in the live list and its copies.
template <class Edit> int editVstPlugin(CZRKorManagerImpl& manager, VstSlot at, Edit edit) {
    const CZRVstPlugin* plugin = pluginAt(manager, at, true);
    if (plugin == nullptr) return 0;
    CZRNodeList& list = *objCast<CZRNodeList>(plugin->getParent());
    std::vector<VstSlotState> target = slotsOf(list);
    edit(target[static_cast<std::uint32_t>(at.slot)].values);
    return changeVstList(manager, list, std::move(target), static_cast<std::uint32_t>(at.slot)) ? 1
                                                                                                : 0;
}

} // namespace

template <class Unit>
int getMixerValue(CZRKorManagerImpl& manager, const MixerValue<Unit>& member,
                  std::uint32_t position, int& value) {
    const Unit* unit = unitOf<Unit>(manager, position);
    if (unit == nullptr) return 0;
    value = unit->values().*member.field;
    return 1;
}

template <class Unit>
int setMixerValue(CZRKorManagerImpl& manager, const MixerValue<Unit>& member,
                  std::uint32_t position, int value) {
    if (value < member.min || value > member.max) {
        const auto rule = std::find_if(Unit::kRules.begin(), Unit::kRules.end(),
                                       [&](const auto& r) { return r.number == member.field; });
        manager.fail(rule != Unit::kRules.end() ? rule->code : ZR_E_INVALID_PARAMETER, L"%ls",
                     rangeDetail(member.what, value, member.min, member.max).c_str());
        return 0;
    }
    Unit* unit = unitOf<Unit>(manager, position);
    if (unit == nullptr) return 0;
    if (member.onOff) value = value != 0 ? 1 : 0;
    UnitValueChange<Unit> change(*unit, member.field, value);
    if (!carryToCopies(manager, unit->getObjID(), change)) {
        manager.setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return 0;
    }
    manager.noteMixerChange();
    return 1;
}

#define KOR_MIXER_UNIT(Unit)                                                                       \
    template int getMixerValue<Unit>(CZRKorManagerImpl&, const MixerValue<Unit>&, std::uint32_t,   \
                                     int&);                                                        \
    template int setMixerValue<Unit>(CZRKorManagerImpl&, const MixerValue<Unit>&, std::uint32_t,   \
                                     int)
KOR_MIXER_UNIT(CZRMasterUnit);
KOR_MIXER_UNIT(CZRZRUnit);
KOR_MIXER_UNIT(CZRSEUnit);
KOR_MIXER_UNIT(CZRKaraokeUnit);
#undef KOR_MIXER_UNIT

IZRVstPlugin* getVstPlugin(CZRKorManagerImpl& manager, VstSlot at) {
    return pluginAt(manager, at, true);
}

IZRVstPlugin* createVstPlugin(CZRKorManagerImpl& manager, VstSlot at, const wchar_t* id,
                              const wchar_t* name, int sdkVersion) {
    if (at.unit == VstUnit::ZR && at.zrUnit >= CZRMixer::kMaxZRUnits) {
        manager.fail(ZR_E_INVALID_ZR_UNIT_ID, L"%ls",
                     rangeDetail(L"ZR unit", at.zrUnit, 0, CZRMixer::kMaxZRUnits - 1).c_str());
        return nullptr;
    }
    CZRNodeList* list = vstListFor(manager, at);
    if (list == nullptr) return nullptr;
    if (id == nullptr || name == nullptr) {
        manager.fail(ZR_E_INVALID_PARAMETER, L"The plug-in's %ls is null.",
                     id == nullptr ? L"ID" : L"name");
        return nullptr;
    }
    // A plug-in is live only with a version of the plug-in interface; a slot without one (or
    // with a bad ID, below) is what a loaded song reads as an empty slot, so it is refused here.
    if (sdkVersion < 1 || sdkVersion > CZRVstPlugin::kMaxSDKVersion) {
        manager.fail(
            ZR_E_INVALID_VST_PLUGIN_SDK_VERSION, L"%ls",
            rangeDetail(L"Plug-in SDK version", sdkVersion, 1, CZRVstPlugin::kMaxSDKVersion)
                .c_str());
        return nullptr;
    }

    // Stored as a saved song gives them back; the check of the plug-in judges the ID's length,
    // and the name is kept to what the file holds.
    ZRVstPluginValues values;
    values.id = platform::storedText(id);
    values.name = platform::storedText(name);
    if (values.name.size() > CZRVstPlugin::kMaxNameLength)
        values.name.resize(CZRVstPlugin::kMaxNameLength);
    if (values.id.size() < static_cast<std::size_t>(CZRVstPlugin::kMinIDLength) ||
        values.id.size() > static_cast<std::size_t>(CZRVstPlugin::kMaxIDLength)) {
        manager.fail(ZR_E_INVALID_VST_PLUGIN_ID, L"%ls",
                     lengthDetail(ZR_E_INVALID_VST_PLUGIN_ID, L"Plug-in ID", values.id.size(),
                                  CZRVstPlugin::kMinIDLength, CZRVstPlugin::kMaxIDLength)
                         .c_str());
        return nullptr;
    }
    values.sdkVersion = sdkVersion;
    values.valid = 1;

    // Slot 0 replaces the first plug-in or starts the list; slot 1 replaces the second plug-in or
    // follows the first, an empty slot standing in for a missing first one.
    std::vector<VstSlotState> target = slotsOf(*list);
    const auto slot = static_cast<std::uint32_t>(at.slot);
    if (target.empty() && slot == 1) target.push_back({ZR_NO_OBJ_ID, CZRVstPlugin::emptySlot()});
    VstSlotState created{ZR_NO_OBJ_ID, std::move(values)};
    if (slot < target.size())
        target[slot] = std::move(created);
    else
        target.push_back(std::move(created));
    return changeVstList(manager, *list, std::move(target), slot);
}

int removeVstPlugin(CZRKorManagerImpl& manager, VstSlot at) {
    const CZRVstPlugin* plugin = pluginAt(manager, at, false);
    if (plugin == nullptr) return 0;
    CZRNodeList& list = *objCast<CZRNodeList>(plugin->getParent());
    std::vector<VstSlotState> target = slotsOf(list);
    target[static_cast<std::uint32_t>(at.slot)].values = CZRVstPlugin::emptySlot();
    return changeVstList(manager, list, std::move(target), static_cast<std::uint32_t>(at.slot)) ? 1
                                                                                                : 0;
}

int setVstPluginParams(CZRKorManagerImpl& manager, VstSlot at, const std::vector<int>& values) {
    return editVstPlugin(manager, at, [&values](ZRVstPluginValues& plugin) {
        plugin.paramNum = static_cast<std::int32_t>(values.size());
        plugin.values = values;
    });
}

int setVstPluginNumber(CZRKorManagerImpl& manager, VstSlot at,
                       std::int32_t ZRVstPluginValues::*field, int value) {
    return editVstPlugin(manager, at,
                         [field, value](ZRVstPluginValues& plugin) { plugin.*field = value; });
}

} // namespace kor
