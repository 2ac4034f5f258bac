// The marker that closes one commit in the commit history.
#pragma once

#include "edit/EditCommand.h"

/// A commit marker: a record that covers no object, holds no copy and whose exchange does nothing.
/// It carries the commit point, the number the history gave it.
class CZREditCommit final : public AZREditCommand {
public:
    explicit CZREditCommit(std::uint32_t commitPoint)
        : AZREditCommand(ZR_NO_OBJ_ID, kCommitMarker, nullptr), commitPoint_(commitPoint) {}

    void applyExchange() noexcept override {}
    void afterExchange() noexcept override {}
    bool capture() override { return false; }
    void prepareCommit() override {}

    std::uint32_t commitPoint() const { return commitPoint_; }
    /// Gives the marker a new number (the history's reset reuses its first marker).
    void renumber(std::uint32_t commitPoint) { commitPoint_ = commitPoint; }

private:
    std::uint32_t commitPoint_;
};
