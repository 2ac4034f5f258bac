// A shared module loaded at run time and the entry points looked up in it.
#pragma once

#include <string>

namespace kor::platform {

/// Owns one loaded module: loaded by open(), unloaded by close() or destruction. Movable, not
/// copyable, so exactly one owner unloads it. Failures leave a readable reason in error().
class DynamicModule {
public:
    DynamicModule() = default;
    ~DynamicModule();
    DynamicModule(DynamicModule&& other) noexcept;
    DynamicModule& operator=(DynamicModule&& other) noexcept;
    DynamicModule(const DynamicModule&) = delete;
    DynamicModule& operator=(const DynamicModule&) = delete;

    /// Loads the module at path, resolving all its symbols now so that a module with missing
    /// dependencies fails here rather than at its first call. A name without '/' is looked for
    /// on the library search path. Unloads a module held before. False on failure.
    [[nodiscard]] bool open(const std::wstring& path);

    /// Unloads the module, if any.
    void close();

    bool isOpen() const { return handle_ != nullptr; }

    /// The address of the named entry point; null when no module is open or the name is missing.
    void* entryPoint(const char* name);

    /// entryPoint() as a pointer to a function of type Function.
    template <typename Function> Function* entryPointAs(const char* name) {
        return reinterpret_cast<Function*>(entryPoint(name));
    }

    /// Why the last open() or entryPoint() failed; empty after a success.
    const std::string& error() const { return error_; }

private:
    void* handle_ = nullptr;
    std::string error_;
};

/// The folder of the file this library's code was loaded from: the shared library, or the
/// program it is built into. Data installed with the library (the voice database module, the
/// schema files) lies there. Empty when the loader cannot tell.
std::wstring libraryFolder();

} // namespace kor::platform
