// The mixer family of the manager's methods: the units' values and their plug-ins. Each runs the
// call protocol around its operation.
#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"
#include "manager/MixerAccess.h"

#include <korman/ErrorCodes.h>

#include <type_traits>
#include <vector>

namespace {

template <class Unit>
int getUnitValue(CZRKorManagerImpl* impl, const kor::MixerValue<Unit>& member, std::uint32_t unit,
                 int& value) {
    return kor::runProtocol(
        impl, 0, [&](CZRKorManagerImpl& m) { return kor::getMixerValue(m, member, unit, value); });
}

template <class Unit>
int setUnitValue(CZRKorManagerImpl* impl, const kor::MixerValue<Unit>& member, std::uint32_t unit,
                 int value) {
    return kor::runProtocol(
        impl, 0, [&](CZRKorManagerImpl& m) { return kor::setMixerValue(m, member, unit, value); });
}

// Runs the plug-in operation `operation(manager, slot, args...)`.
template <class Result, class... Args>
Result runVstMethod(CZRKorManagerImpl* impl,
                    Result (*operation)(CZRKorManagerImpl&, kor::VstSlot, Args...), kor::VstSlot at,
                    std::type_identity_t<Args>... args) {
    return kor::runProtocol(impl, Result{},
                            [&](CZRKorManagerImpl& m) { return operation(m, at, args...); });
}

IZRVstPlugin* findVstPlugin(CZRKorManagerImpl* impl, kor::VstSlot at) {
    return kor::runProtocol(impl, static_cast<IZRVstPlugin*>(nullptr),
                            [at](CZRKorManagerImpl& m) { return kor::getVstPlugin(m, at); });
}

} // namespace

int CZRKorManagerIF::mixerIsModified() const {
    return kor::runProtocol(impl_.get(), 0,
                            [](CZRKorManagerImpl& m) { return m.mixerModified() ? 1 : 0; });
}

int CZRKorManagerIF::mixerGetMasterOutDev(int& value) const {
    return getUnitValue(impl_.get(), kor::MasterUnitMembers::outDev, 0, value);
}

int CZRKorManagerIF::mixerSetMasterOutDev(int value) {
    return setUnitValue(impl_.get(), kor::MasterUnitMembers::outDev, 0, value);
}

int CZRKorManagerIF::mixerGetMasterVol(int& value) const {
    return getUnitValue(impl_.get(), kor::MasterUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerSetMasterVol(int value) {
    return setUnitValue(impl_.get(), kor::MasterUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerGetMasterSrRetLevel(int& value) const {
    return getUnitValue(impl_.get(), kor::MasterUnitMembers::srRetLevel, 0, value);
}

int CZRKorManagerIF::mixerSetMasterSrRetLevel(int value) {
    return setUnitValue(impl_.get(), kor::MasterUnitMembers::srRetLevel, 0, value);
}

int CZRKorManagerIF::mixerGetZRInGain(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::inGain, unit, value);
}

int CZRKorManagerIF::mixerSetZRInGain(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::inGain, unit, value);
}

int CZRKorManagerIF::mixerGetZRSendLevel(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::sendLevel, unit, value);
}

int CZRKorManagerIF::mixerSetZRSendLevel(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::sendLevel, unit, value);
}

int CZRKorManagerIF::mixerGetZRSendEnable(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::sendEnable, unit, value);
}

int CZRKorManagerIF::mixerSetZRSendEnable(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::sendEnable, unit, value);
}

int CZRKorManagerIF::mixerGetZRMute(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::mute, unit, value);
}

int CZRKorManagerIF::mixerSetZRMute(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::mute, unit, value);
}

int CZRKorManagerIF::mixerGetZRSolo(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::solo, unit, value);
}

int CZRKorManagerIF::mixerSetZRSolo(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::solo, unit, value);
}

int CZRKorManagerIF::mixerGetZRPan(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::pan, unit, value);
}

int CZRKorManagerIF::mixerSetZRPan(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::pan, unit, value);
}

int CZRKorManagerIF::mixerGetZRVol(unsigned int unit, int& value) const {
    return getUnitValue(impl_.get(), kor::ZRUnitMembers::vol, unit, value);
}

int CZRKorManagerIF::mixerSetZRVol(unsigned int unit, int value) {
    return setUnitValue(impl_.get(), kor::ZRUnitMembers::vol, unit, value);
}

int CZRKorManagerIF::mixerGetSEInGain(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerSetSEInGain(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerGetSESendLevel(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::sendLevel, 0, value);
}

int CZRKorManagerIF::mixerSetSESendLevel(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::sendLevel, 0, value);
}

int CZRKorManagerIF::mixerGetSESendEnable(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::sendEnable, 0, value);
}

int CZRKorManagerIF::mixerSetSESendEnable(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::sendEnable, 0, value);
}

int CZRKorManagerIF::mixerGetSEMute(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerSetSEMute(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerGetSESolo(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerSetSESolo(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerGetSEPan(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::pan, 0, value);
}

int CZRKorManagerIF::mixerSetSEPan(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::pan, 0, value);
}

int CZRKorManagerIF::mixerGetSEVol(int& value) const {
    return getUnitValue(impl_.get(), kor::SEUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerSetSEVol(int value) {
    return setUnitValue(impl_.get(), kor::SEUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeInGain(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeInGain(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::inGain, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeMute(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeMute(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::mute, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeSolo(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeSolo(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::solo, 0, value);
}

int CZRKorManagerIF::mixerGetKaraokeVol(int& value) const {
    return getUnitValue(impl_.get(), kor::KaraokeUnitMembers::vol, 0, value);
}

int CZRKorManagerIF::mixerSetKaraokeVol(int value) {
    return setUnitValue(impl_.get(), kor::KaraokeUnitMembers::vol, 0, value);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetMasterVstPlugin(int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::Master, 0, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateMasterVstPlugin(int slot, const wchar_t* id,
                                                          const wchar_t* name, int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::Master, 0, slot}, id,
                        name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveMasterVstPlugin(int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::Master, 0, slot});
}

int CZRKorManagerIF::mixerSetMasterVstPluginParams(int slot, const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::Master, 0, slot},
                        values);
}

int CZRKorManagerIF::mixerSetMasterVstPluginPresetNo(int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Master, 0, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetMasterVstPluginEnable(int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Master, 0, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetMasterVstPluginBypass(int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Master, 0, slot},
                        &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetMasterVstPluginSr() const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::MasterSendReturn, 0, 0});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateMasterVstPluginSr(const wchar_t* id, const wchar_t* name,
                                                            int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::MasterSendReturn, 0, 0},
                        id, name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveMasterVstPluginSr() {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::MasterSendReturn, 0, 0});
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrParams(const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, values);
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrPresetNo(int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, &ZRVstPluginValues::presetNo,
                        presetNo);
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrEnable(int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetMasterVstPluginSrBypass(int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber,
                        {kor::VstUnit::MasterSendReturn, 0, 0}, &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetZRVstPlugin(unsigned int unit, int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::ZR, unit, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateZRVstPlugin(unsigned int unit, int slot,
                                                      const wchar_t* id, const wchar_t* name,
                                                      int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::ZR, unit, slot}, id,
                        name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveZRVstPlugin(unsigned int unit, int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::ZR, unit, slot});
}

int CZRKorManagerIF::mixerSetZRVstPluginParams(unsigned int unit, int slot,
                                               const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::ZR, unit, slot},
                        values);
}

int CZRKorManagerIF::mixerSetZRVstPluginPresetNo(unsigned int unit, int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::ZR, unit, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetZRVstPluginEnable(unsigned int unit, int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::ZR, unit, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetZRVstPluginBypass(unsigned int unit, int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::ZR, unit, slot},
                        &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetSEVstPlugin(int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::SE, 0, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateSEVstPlugin(int slot, const wchar_t* id,
                                                      const wchar_t* name, int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::SE, 0, slot}, id, name,
                        sdkVersion);
}

int CZRKorManagerIF::mixerRemoveSEVstPlugin(int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::SE, 0, slot});
}

int CZRKorManagerIF::mixerSetSEVstPluginParams(int slot, const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::SE, 0, slot}, values);
}

int CZRKorManagerIF::mixerSetSEVstPluginPresetNo(int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::SE, 0, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetSEVstPluginEnable(int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::SE, 0, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetSEVstPluginBypass(int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::SE, 0, slot},
                        &ZRVstPluginValues::bypass, bypass);
}

IZRVstPlugin* CZRKorManagerIF::mixerGetKaraokeVstPlugin(int slot) const {
    return findVstPlugin(impl_.get(), {kor::VstUnit::Karaoke, 0, slot});
}

IZRVstPlugin* CZRKorManagerIF::mixerCreateKaraokeVstPlugin(int slot, const wchar_t* id,
                                                           const wchar_t* name, int sdkVersion) {
    return runVstMethod(impl_.get(), &kor::createVstPlugin, {kor::VstUnit::Karaoke, 0, slot}, id,
                        name, sdkVersion);
}

int CZRKorManagerIF::mixerRemoveKaraokeVstPlugin(int slot) {
    return runVstMethod(impl_.get(), &kor::removeVstPlugin, {kor::VstUnit::Karaoke, 0, slot});
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginParams(int slot, const std::vector<int>& values) {
    return runVstMethod(impl_.get(), &kor::setVstPluginParams, {kor::VstUnit::Karaoke, 0, slot},
                        values);
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginPresetNo(int slot, int presetNo) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Karaoke, 0, slot},
                        &ZRVstPluginValues::presetNo, presetNo);
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginEnable(int slot, int enable) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Karaoke, 0, slot},
                        &ZRVstPluginValues::enable, enable);
}

int CZRKorManagerIF::mixerSetKaraokeVstPluginBypass(int slot, int bypass) {
    return runVstMethod(impl_.get(), &kor::setVstPluginNumber, {kor::VstUnit::Karaoke, 0, slot},
                        &ZRVstPluginValues::bypass, bypass);
}
