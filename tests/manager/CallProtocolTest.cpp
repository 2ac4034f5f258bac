#include "manager/CallProtocol.h"

#include "support/ManagerFixture.h"

#include <stdexcept>

using CallProtocol = kor::test::ManagerTest;

TEST_F(CallProtocol, AnswersNothingUntilTheManagerIsInitialized) {
    int runs = 0;
    const auto operation = [&runs](CZRKorManagerImpl&) { return ++runs; };
    EXPECT_EQ(kor::runProtocol(nullptr, -1, operation), -1);

    CZRKorManagerImpl impl;
    ZRKorManagementPolicy refused = kor::test::validPolicy();
    refused.undoLimit = 0;
    ASSERT_FALSE(impl.initialize(refused));
    EXPECT_EQ(impl.lastError(), ZR_E_INVALID_MANAGEMENT_POLICY);
    // A host calling a manager whose initialization failed learns why nothing happened.
    EXPECT_EQ(kor::runProtocol(&impl, -1, operation), -1);
    EXPECT_EQ(impl.lastError(), ZR_E_NOT_INITIALIZED);
    EXPECT_EQ(runs, 0);

    ASSERT_TRUE(impl.initialize(kor::test::validPolicy()));
    impl.setLastError(ZR_E_INVALID_PARAMETER);
    EXPECT_EQ(kor::runProtocol(&impl, -1, operation), 1);
    EXPECT_EQ(impl.lastError(), 0u);
}

TEST_F(CallProtocol, TurnsExceptionsIntoErrorCodes) {
    CZRKorManagerImpl impl;
    ASSERT_TRUE(impl.initialize(kor::test::validPolicy()));

    const auto outOfMemory = [](CZRKorManagerImpl&) -> int { throw std::bad_alloc(); };
    EXPECT_EQ(kor::runProtocol(&impl, 0, outOfMemory), 0);
    EXPECT_EQ(impl.lastError(), ZR_E_NOT_ENOUGH_MEMORY);

    const auto broken = [](CZRKorManagerImpl&) -> int { throw std::runtime_error("bug"); };
    EXPECT_EQ(kor::runProtocol(&impl, 0, broken), 0);
    EXPECT_EQ(impl.lastError(), ZR_E_UNKNOWN_ERROR);
}
