// A failure of the library on its way to Python, where it becomes korman.Error.
#pragma once

#include <cstdint>
#include <string>

class CZRKorManagerIF;
class IZRKorEditorIF;

namespace kor::python {

/// What failed, as the library says it: one code of <korman/ErrorCodes.h> and its message. The
/// module throws it wherever a call fails; Module.cpp turns it into korman.Error with `.code` and
/// `.message`.
struct Failure {
    std::uint32_t code = 0;
    std::wstring message;

    /// The manager's last error and its message.
    static Failure fromManager(const CZRKorManagerIF& manager);
    /// The editor's last error and its message.
    static Failure fromEditor(const IZRKorEditorIF& editor);
    /// A failure the module finds itself before asking the library: `code`, with the library's
    /// table text for it followed by `detail`, as the library words its own messages.
    static Failure fromTable(std::uint32_t code, const std::wstring& detail);
};

} // namespace kor::python
