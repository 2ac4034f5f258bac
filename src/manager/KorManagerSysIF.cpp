// The sys family of the manager's methods: start, errors, observers and the voice tables. Each runs
// the call protocol around its operation.
#include <korman/CZRKorManagerIF.h>

#include "manager/CallProtocol.h"
#include "manager/ErrorTable.h"
#include "manager/KorManagerApp.h"

#include <korman/ErrorCodes.h>

#include <map>
#include <memory>
#include <new>
#include <utility>

CZRKorManagerIF::CZRKorManagerIF() = default;

CZRKorManagerIF::~CZRKorManagerIF() = default;

int CZRKorManagerIF::sysInitialize(const ZRKorManagementPolicy& policy) {
    try {
        if (impl_ == nullptr) impl_ = std::make_unique<CZRKorManagerImpl>();
    } catch (const std::bad_alloc&) {
        return 0;
    }
    impl_->clearLastError();
    if (impl_->isInitialized()) return 1;
    return impl_->initialize(policy) ? 1 : 0;
}

int CZRKorManagerIF::sysIsInitialized() const {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return impl_->isInitialized() ? 1 : 0;
}

std::uint32_t CZRKorManagerIF::sysGetLastError() const {
    return impl_ != nullptr ? impl_->lastError() : ZR_E_NOT_INITIALIZED;
}

const wchar_t* CZRKorManagerIF::sysGetLastErrorMsg() const {
    return impl_ != nullptr ? impl_->lastErrorMessage() : nullptr;
}

const wchar_t* CZRKorManagerIF::sysGetErrorMsg(std::uint32_t code) const {
    return impl_ != nullptr ? kor::errorMessage(code) : nullptr;
}

int CZRKorManagerIF::sysRegisterObserver(IZRMessageWindow* window) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0, [window](CZRKorManagerImpl& m) {
        return m.registerObserver(window) ? 1 : 0;
    });
}

int CZRKorManagerIF::sysUnregisterObserver(IZRMessageWindow* window) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0, [window](CZRKorManagerImpl& m) {
        return m.unregisterObserver(window) ? 1 : 0;
    });
}

std::uint32_t CZRKorManagerIF::sysRegisterChangeObserver(ZRChangeObserver observer) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0u, [&observer](CZRKorManagerImpl& m) {
        return m.registerChangeObserver(std::move(observer));
    });
}

int CZRKorManagerIF::sysUnregisterChangeObserver(std::uint32_t handle) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    return kor::runGuarded(*impl_.get(), 0, [handle](CZRKorManagerImpl& m) {
        return m.unregisterChangeObserver(handle) ? 1 : 0;
    });
}

int CZRKorManagerIF::sysReplaceVVoiceLibTable(const std::map<ZRVVoiceKey, ZRVVoiceLib>& table) {
    if (impl_ == nullptr) return 0;
    // This call neither clears nor sets the last error: any failure only answers 0.
    try {
        return CKorManagerApp::instance().replaceVVoiceLibTable(table) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
