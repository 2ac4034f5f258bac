// An edit record over the test leaf, for testing the commit history without the editor.
#pragma once

#include "edit/EditCommand.h"
#include "support/TestLeaf.h"

// An element record over a test leaf: its copy lives in the record's store under the leaf's ID,
// and an exchange swaps values between copy and live leaf.
class TestRecord final : public AZREditCommand {
public:
    TestRecord(CZRObjectTable& live, std::uint32_t objID)
        : AZREditCommand(objID, kElement, nullptr)
        , live_(live) {}

    bool capture() override {
        auto* source = kor::objCast<CTestLeaf>(live_.lookup(objectID_));
        if (copy_ != nullptr || source == nullptr) return false;
        ZRCreateContext store{store_, store_};
        CTestLeaf* copy = kor::createObject<CTestLeaf>(store, objectID_, 0, 0);
        if (copy == nullptr || !copy->copyFrom(source, ZR_COPY_KEEP_IDS, &store)) return false;
        copy_ = copy;
        return true;
    }
    void applyExchange() noexcept override { (void)live_.lookup(objectID_)->swapContents(copy_); }
    void afterExchange() noexcept override { ++afterExchangeCalls; }
    void prepareCommit() override {}

    CTestLeaf* workingCopy() { return dynamic_cast<CTestLeaf*>(copy_); }
    int afterExchangeCalls = 0;

private:
    CZRObjectTable& live_;
};
