#include "Failure.h"

#include <korman/CZRKorManagerIF.h>
#include <korman/IZRKorEditorIF.h>

namespace kor::python {

namespace {

// The library's English text for `code`. A manager answers the table once sysInitialize has been
// called on it, whether or not that succeeded, so one is kept for the texts alone.
std::wstring tableText(std::uint32_t code) {
    static const auto* table = [] {
        static CZRKorManagerIF manager;
        (void)manager.sysInitialize({});
        return &manager;
    }();
    const wchar_t* text = table->sysGetErrorMsg(code);
    return text != nullptr ? text : L"";
}

} // namespace

Failure Failure::fromManager(const CZRKorManagerIF& manager) {
    const wchar_t* message = manager.sysGetLastErrorMsg();
    return {manager.sysGetLastError(), message != nullptr ? message : L""};
}

Failure Failure::fromEditor(const IZRKorEditorIF& editor) {
    return {editor.getLastError(), editor.getLastErrorMessage()};
}

Failure Failure::fromTable(std::uint32_t code, const std::wstring& detail) {
    return {code, tableText(code) + L" " + detail};
}

} // namespace kor::python
