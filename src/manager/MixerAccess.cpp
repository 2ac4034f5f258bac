#include "manager/MixerAccess.h"

#include "edit/CommitHistory.h"
#include "manager/KorManagerImpl.h"
#include "model/Mixer.h"
#include "model/ObjectFactory.h"
#include "model/Sequence.h"
#include "platform/XmlChars.h"

namespace kor {

namespace {

// The unit of class `Unit` in the current song's mixer; only ZR units use `position`.
template <class Unit> Unit* unitOf(const CZRKorManagerImpl& manager, std::uint32_t position) {
    const CZRMixer* mixer = manager.sequence() != nullptr ? manager.sequence()->mixer() : nullptr;
    if (mixer == nullptr) return nullptr;
    if constexpr (std::is_same_v<Unit, CZRMasterUnit>) {
        return mixer->masterUnit();
    } else if constexpr (std::is_same_v<Unit, CZRSEUnit>) {
        return mixer->seUnit();
    } else if constexpr (std::is_same_v<Unit, CZRKaraokeUnit>) {
        return mixer->karaokeUnit();
    } else {
        const CZRNodeList* units = mixer->zrUnitList();
        return units != nullptr ? objCast<CZRZRUnit>(units->elementAt(position)) : nullptr;
    }
}

template <class Unit> CZRNodeList* vstListOf(const Unit* unit, std::size_t which = 0) {
    return unit != nullptr ? unit->vstList(which) : nullptr;
}

// The plug-in list that holds the slot `at`; null when the slot number is out of range or the
// unit or its list is missing.
CZRNodeList* vstListFor(const CZRKorManagerImpl& manager, VstSlot at) {
    const std::int32_t slots = at.unit == VstUnit::MasterSendReturn ? 1 : 2;
    if (at.slot < 0 || at.slot >= slots) return nullptr;
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

CZRVstPlugin* pluginIn(const CZRNodeList* list, VstSlot at) {
    return list != nullptr
               ? objCast<CZRVstPlugin>(list->elementAt(static_cast<std::uint32_t>(at.slot)))
               : nullptr;
}

CZRVstPlugin* validPluginIn(const CZRNodeList* list, VstSlot at) {
    CZRVstPlugin* plugin = pluginIn(list, at);
    return plugin != nullptr && plugin->values().valid != 0 ? plugin : nullptr;
}

// Calls `refresh` with every copy of `objID` the commit history holds; true when there is no
// history.
template <class Refresh>
bool refreshCopies(CZRKorManagerImpl& manager, std::uint32_t objID, Refresh refresh) {
    return manager.history() == nullptr || manager.history()->refreshCopies(objID, refresh);
}

// Makes the copy `copy` of the live plug-in list `live` hold, slot for slot, plug-ins with the
// IDs and values of the live ones, creating in `store` those it lacks. Only the mixer methods
// change plug-in lists, and each of them passes its change on, so the copy differs from the live
// list only by the change just made.
bool mirrorVstList(const CZRNodeList& live, CZRNodeList& copy, const ZRCreateContext& store) {
    for (std::uint32_t slot = 0; slot < live.getCount(); ++slot) {
        const auto* plugin = objCast<CZRVstPlugin>(live.elementAt(slot));
        if (plugin == nullptr) return false;
        auto* twin = objCast<CZRVstPlugin>(store.registry.lookup(plugin->getObjID()));
        if (twin == nullptr)
            twin = createObject<CZRVstPlugin>(store, plugin->getObjID(), plugin->values());
        else if (twin->getParent() != nullptr && copy.elementAt(slot) != twin)
            return false; // slots never trade places; a twin elsewhere means a foreign copy
        else
            twin->setValues(plugin->values());
        if (twin == nullptr) return false;
        const bool placed = slot < copy.getCount() ? copy.replaceAt(slot, twin, &store.registry)
                                                   : copy.append(twin);
        if (!placed) return false;
    }
    return true;
}

bool refreshVstListCopies(CZRKorManagerImpl& manager, const CZRNodeList& live) {
    return refreshCopies(
        manager, live.getObjID(), [&live](AZREditCommand& record, IZRMutableKorObject& copy) {
            auto* list = objCast<CZRNodeList>(&copy);
            return list != nullptr && mirrorVstList(live, *list, record.storeContext());
        });
}

// The plug-in changes other than create succeed once the live slot has changed: a copy that
// cannot follow (memory ran out while creating its plug-in) keeps its older state.
int finishVstChange(CZRKorManagerImpl& manager, const CZRNodeList& live) {
    manager.noteMixerChange();
    (void)refreshVstListCopies(manager, live);
    return 1;
}

// Links `plugin` into slot `slot` of `list`: slot 0 replaces the first plug-in or starts the
// list; slot 1 replaces the second plug-in or follows the first, a placeholder standing in for
// a missing first one.
bool putInSlot(CZRNodeList& list, std::int32_t slot, CZRVstPlugin& plugin,
               const ZRCreateContext& context) {
    const std::uint32_t index = static_cast<std::uint32_t>(slot);
    if (list.getCount() == 0 && index == 1) {
        auto* placeholder =
            createObject<CZRVstPlugin>(context, ZR_NO_OBJ_ID, CZRVstPlugin::emptySlot());
        if (placeholder == nullptr || !list.append(placeholder)) return false;
    }
    return list.getCount() > index ? list.replaceAt(index, &plugin, &context.registry)
                                   : list.append(&plugin);
}

} // namespace

template <class Unit>
int getMixerValue(const CZRKorManagerImpl& manager, const MixerValue<Unit>& member,
                  std::uint32_t position, int& value) {
    const Unit* unit = unitOf<Unit>(manager, position);
    if (unit == nullptr) return 0;
    value = unit->values().*member.field;
    return 1;
}

template <class Unit>
int setMixerValue(CZRKorManagerImpl& manager, const MixerValue<Unit>& member,
                  std::uint32_t position, int value) {
    if (value < member.min || value > member.max) return 0;
    Unit* unit = unitOf<Unit>(manager, position);
    if (unit == nullptr) return 0;
    if (member.onOff) value = value != 0 ? 1 : 0;
    unit->values().*member.field = value;
    manager.noteMixerChange();
    // Only the value set here goes into the copies: the rest of a copy may rightly differ from the
    // live unit (an undoable track move renumbered it).
    (void)refreshCopies(manager, unit->getObjID(),
                        [&member, value](AZREditCommand&, IZRMutableKorObject& copy) {
                            if (auto* twin = objCast<Unit>(&copy))
                                twin->values().*member.field = value;
                            return true;
                        });
    return 1;
}

#define KOR_MIXER_UNIT(Unit)                                                                       \
    template int getMixerValue<Unit>(const CZRKorManagerImpl&, const MixerValue<Unit>&,            \
                                     std::uint32_t, int&);                                         \
    template int setMixerValue<Unit>(CZRKorManagerImpl&, const MixerValue<Unit>&, std::uint32_t,   \
                                     int)
KOR_MIXER_UNIT(CZRMasterUnit);
KOR_MIXER_UNIT(CZRZRUnit);
KOR_MIXER_UNIT(CZRSEUnit);
KOR_MIXER_UNIT(CZRKaraokeUnit);
#undef KOR_MIXER_UNIT

IZRVstPlugin* getVstPlugin(const CZRKorManagerImpl& manager, VstSlot at) {
    return validPluginIn(vstListFor(manager, at), at);
}

IZRVstPlugin* createVstPlugin(CZRKorManagerImpl& manager, VstSlot at, const wchar_t* id,
                              const wchar_t* name, int sdkVersion) {
    if (at.unit == VstUnit::ZR && at.zrUnit >= CZRMixer::kMaxZRUnits) return nullptr;
    CZRNodeList* list = vstListFor(manager, at);
    if (list == nullptr || id == nullptr || name == nullptr) return nullptr;
    // A plug-in is live only with a version of the plug-in interface; a slot without one (or
    // with a bad ID, below) is what a loaded song reads as an empty slot, so it is refused here.
    if (sdkVersion < 1 || sdkVersion > CZRVstPlugin::kMaxSDKVersion) return nullptr;

    // Stored as a saved song gives them back; the check of the plug-in judges the ID's length,
    // and the name is kept to what the file holds.
    ZRVstPluginValues values;
    values.id = platform::storedText(id);
    values.name = platform::storedText(name);
    if (values.name.size() > CZRVstPlugin::kMaxNameLength)
        values.name.resize(CZRVstPlugin::kMaxNameLength);
    if (values.id.size() < static_cast<std::size_t>(CZRVstPlugin::kMinIDLength) ||
        values.id.size() > static_cast<std::size_t>(CZRVstPlugin::kMaxIDLength))
        return nullptr;
    values.sdkVersion = sdkVersion;
    values.valid = 1;
    const ZRCreateContext context = manager.document()->context();
    auto* plugin = createObject<CZRVstPlugin>(context, ZR_NO_OBJ_ID, std::move(values));
    if (plugin == nullptr) return nullptr;
    if (!putInSlot(*list, at.slot, *plugin, context)) {
        if (plugin->getParent() == nullptr) context.registry.destroy(plugin->getObjID());
        return nullptr;
    }
    manager.noteMixerChange();
    if (refreshVstListCopies(manager, *list)) return plugin;
    // A slot the undo states cannot share is given up again, as a removal.
    plugin->resetToEmptySlot();
    (void)refreshVstListCopies(manager, *list);
    return nullptr;
}

int removeVstPlugin(CZRKorManagerImpl& manager, VstSlot at) {
    CZRNodeList* list = vstListFor(manager, at);
    CZRVstPlugin* plugin = pluginIn(list, at);
    if (plugin == nullptr) return 0;
    plugin->resetToEmptySlot();
    return finishVstChange(manager, *list);
}

int setVstPluginParams(CZRKorManagerImpl& manager, VstSlot at, const std::vector<int>& values) {
    CZRNodeList* list = vstListFor(manager, at);
    CZRVstPlugin* plugin = validPluginIn(list, at);
    if (plugin == nullptr) return 0;
    plugin->setParamValues(values);
    return finishVstChange(manager, *list);
}

int setVstPluginNumber(CZRKorManagerImpl& manager, VstSlot at,
                       std::int32_t ZRVstPluginValues::*field, int value) {
    CZRNodeList* list = vstListFor(manager, at);
    CZRVstPlugin* plugin = validPluginIn(list, at);
    if (plugin == nullptr) return 0;
    plugin->values().*field = value;
    return finishVstChange(manager, *list);
}

} // namespace kor
