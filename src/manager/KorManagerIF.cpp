#include <korman/CZRKorManagerIF.h>

#include "manager/ErrorTable.h"
#include "manager/KorManagerApp.h"
#include "manager/KorManagerImpl.h"

#include <korman/ErrorCodes.h>

#include <new>

CZRKorManagerIF::CZRKorManagerIF() = default;

CZRKorManagerIF::~CZRKorManagerIF() { delete impl_; }

int CZRKorManagerIF::sysInitialize(const ZRKorManagementPolicy& policy) {
    try {
        if (impl_ == nullptr) impl_ = new CZRKorManagerImpl;
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
    return impl_ != nullptr ? impl_->lastErrorMessage().c_str() : nullptr;
}

const wchar_t* CZRKorManagerIF::sysGetErrorMsg(std::uint32_t code) const {
    return impl_ != nullptr ? kor::errorMessage(code) : nullptr;
}

int CZRKorManagerIF::sysRegisterObserver(IZRMessageWindow* window) {
    if (impl_ == nullptr) return 0;
    impl_->clearLastError();
    try {
        return impl_->registerObserver(window) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        impl_->setLastError(ZR_E_NOT_ENOUGH_MEMORY);
        return 0;
    }
}

int CZRKorManagerIF::sysReplaceVVoiceLibTable(const std::map<ZRVVoiceKey, ZRVVoiceLib>& table) {
    if (impl_ == nullptr) return 0;
    try {
        return CKorManagerApp::instance().replaceVVoiceLibTable(table) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
