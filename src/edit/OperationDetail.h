// The detail an editor operation leaves to follow the table text of the code it ends with.
#pragma once

#include "model/DumpFormat.h"

#include <cstdint>
#include <string>

namespace kor {

/// What the running editor operation said of the code it is about to end with: a value and its
/// range, the records in conflict. Owned by the editor; its edit session and the checks of every
/// edit family write to it. Formatting happens on the failure path only, so a successful edit
/// builds no message; without memory for the detail the table text stands alone.
class OperationDetail {
public:
    OperationDetail() = default;
    OperationDetail(const OperationDetail&) = delete;
    OperationDetail& operator=(const OperationDetail&) = delete;

    /// Leaves a detail formatted from `format` (swprintf) and `args` to follow the table text of
    /// `code`, should the running operation end with that code; returns `code`.
    template <class... Args>
    std::uint32_t explain(std::uint32_t code, const wchar_t* format, Args... args) noexcept {
        try {
            text_.clear();
            appendFormat(text_, format, args...);
            code_ = code;
        } catch (...) {
            code_ = 0;
        }
        return code;
    }
    /// Forgets the detail and the inserted object, as every operation does first.
    void clear() noexcept {
        code_ = 0;
        inserted_ = 0xFFFFFFFFu;
    }
    /// Notes the object the running insert made, or the one that took the inserted values.
    void noteInserted(std::uint32_t objID) noexcept { inserted_ = objID; }
    /// The object noted by noteInserted since clear(); 0xFFFFFFFF when none.
    std::uint32_t inserted() const { return inserted_; }
    /// The detail left for `code`; null when the operation explained another code or none.
    const std::wstring* detailOf(std::uint32_t code) const {
        return code != 0 && code == code_ ? &text_ : nullptr;
    }

private:
    std::wstring text_;
    std::uint32_t code_ = 0;
    std::uint32_t inserted_ = 0xFFFFFFFFu;
};

} // namespace kor
