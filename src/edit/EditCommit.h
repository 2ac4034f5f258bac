// The marker that closes one commit in the commit history.
#pragma once

#include "edit/EditCommand.h"

#include <memory>

/// A commit marker: a record that covers no object, holds no copy and whose exchange does nothing.
/// It carries the commit point, the number the history gave it, and the label of the commit it
/// closes (none unless the host gave one, so an unlabelled commit pays one null pointer).
class CZREditCommit final : public AZREditCommand {
public:
    explicit CZREditCommit(std::uint32_t commitPoint)
        : AZREditCommand(ZR_NO_OBJ_ID, kCommitMarker, nullptr)
        , commitPoint_(commitPoint) {}

    void applyExchange() noexcept override {}
    void afterExchange() noexcept override {}
    bool capture() override { return false; }
    void prepareCommit() override {}

    std::uint32_t commitPoint() const { return commitPoint_; }
    /// Gives the marker a new number (the history's reset reuses its first marker).
    void renumber(std::uint32_t commitPoint) { commitPoint_ = commitPoint; }
    /// The label of the commit; "" when it has none.
    const wchar_t* label() const { return label_ != nullptr ? label_.get() : L""; }
    void setLabel(std::unique_ptr<const wchar_t[]> label) noexcept { label_ = std::move(label); }

private:
    std::uint32_t commitPoint_;
    std::unique_ptr<const wchar_t[]> label_;
};
