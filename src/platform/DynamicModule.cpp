#include "platform/DynamicModule.h"

#include "platform/Path.h"

#include <optional>
#include <utility>

#include <dlfcn.h>

namespace kor::platform {

namespace {

std::string lastLoaderError(const char* fallback) {
    const char* message = ::dlerror();
    return message != nullptr ? message : fallback;
}

} // namespace

DynamicModule::~DynamicModule() {
    close();
}

DynamicModule::DynamicModule(DynamicModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr))
    , error_(std::move(other.error_)) {}

DynamicModule& DynamicModule::operator=(DynamicModule&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool DynamicModule::open(const std::wstring& path) {
    close();
    error_.clear();
    const std::optional<std::filesystem::path> native = toPath(path);
    if (!native) {
        error_ = "module path has no UTF-8 form";
        return false;
    }
    ::dlerror(); // forget a failure left over from elsewhere
    handle_ = ::dlopen(native->c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = lastLoaderError("cannot load module");
        return false;
    }
    return true;
}

std::wstring libraryFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&libraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    const std::optional<std::wstring> path = fromPath(info.dli_fname);
    return path ? std::wstring(folderPart(*path)) : std::wstring();
}

void DynamicModule::close() {
    if (handle_ != nullptr) ::dlclose(std::exchange(handle_, nullptr));
}

void* DynamicModule::entryPoint(const char* name) {
    error_.clear();
    if (handle_ == nullptr) {
        error_ = "no module is loaded";
        return nullptr;
    }
    ::dlerror();
    void* address = ::dlsym(handle_, name);
    // An entry point is never at address 0, so null means missing.
    if (address == nullptr) error_ = lastLoaderError("entry point not found");
    return address;
}

} // namespace kor::platform
