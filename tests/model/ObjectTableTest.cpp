#include "model/ObjectTable.h"

#include "model/ObjectTree.h"
#include "support/TestLeaf.h"

#include <gtest/gtest.h>

#include <thread>

TEST(ObjectTable, HandsOutIDsInOrderNeverReusesThemAndRefusesTakenOrExhaustedOnes) {
    TestDocument doc;
    EXPECT_EQ(doc.leaf(0)->getObjID(), 0u);
    EXPECT_EQ(doc.leaf(0)->getObjID(), 1u);
    EXPECT_EQ(doc.leaf(0)->getObjID(), 2u);

    ASSERT_NE(doc.leaf(0, 0, 100), nullptr);
    EXPECT_EQ(doc.table.nextID(), 101u);
    ASSERT_NE(doc.leaf(0, 0, 50), nullptr);
    EXPECT_EQ(doc.table.nextID(), 101u);

    doc.table.destroy(100);
    EXPECT_EQ(doc.leaf(0)->getObjID(), 101u);

    CTestLeaf* first = doc.leaf(10, 0, 7);
    ASSERT_NE(first, nullptr);
    const std::size_t objects = doc.table.size();
    EXPECT_EQ(doc.leaf(20, 0, 7), nullptr); // a taken ID keeps its first object
    EXPECT_EQ(doc.table.lookup(7), first);
    EXPECT_EQ(first->posTick, 10);

    ASSERT_NE(doc.leaf(0, 0, 0xFFFFFFFEu), nullptr); // the last ID ends the handing out
    EXPECT_EQ(doc.leaf(0), nullptr);
    EXPECT_EQ(doc.leaf(0, 0, ZR_NO_OBJ_ID), nullptr);
    EXPECT_EQ(doc.table.allocateID(), ZR_NO_OBJ_ID);
    EXPECT_EQ(doc.table.size(), objects + 1);
}

TEST(ObjectTable, DestroyDeletesTheWholeSubtreeAndNothingElse) {
    TestDocument doc;
    CZRNodeList* outer = doc.list();
    CZRNodeList* inner = doc.list();
    CTestLeaf* leaf = doc.leaf(0);
    CTestLeaf* bystander = doc.leaf(0);
    ASSERT_TRUE(inner->append(leaf));
    ASSERT_TRUE(outer->append(inner));

    doc.table.destroy(outer->getObjID());

    EXPECT_EQ(doc.table.size(), 1u);
    EXPECT_EQ(doc.table.lookup(bystander->getObjID()), bystander);
    doc.table.destroy(12345); // unknown IDs are ignored
    EXPECT_EQ(doc.table.size(), 1u);
}

TEST(ObjectTable, ConcurrentCreationHandsOutDistinctIDs) {
    TestDocument doc;
    constexpr int kPerThread = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&doc] {
            for (int i = 0; i < kPerThread; ++i)
                ASSERT_NE(doc.leaf(i), nullptr);
        });
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_EQ(doc.table.size(), 4u * kPerThread);
    EXPECT_EQ(doc.table.nextID(), 4u * kPerThread);
}
