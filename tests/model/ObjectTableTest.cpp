#include "model/ObjectTable.h"

#include "model/ObjectTree.h"
#include "support/TestLeaf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
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

TEST(ObjectTable, TransferMovesASubtreeWithItsIDs) {
    TestDocument live;
    CZRNodeList* list = live.list(3);
    CTestLeaf* a = live.leaf(0);
    CTestLeaf* b = live.leaf(480);
    ASSERT_TRUE(list->append(a));
    ASSERT_TRUE(list->append(b));
    const std::uint32_t listID = list->getObjID();

    CZRObjectTable store;
    ASSERT_TRUE(store.transfer(live.table, listID));

    EXPECT_EQ(live.table.size(), 0u);
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(store.lookup(listID), list);
    EXPECT_EQ(store.lookup(a->getObjID()), a);
    EXPECT_EQ(store.lookup(b->getObjID()), b);
    EXPECT_EQ(store.nextID(), b->getObjID() + 1);

    // Moving back restores the live table exactly.
    ASSERT_TRUE(live.table.transfer(store, listID));
    EXPECT_EQ(live.table.lookup(a->getObjID()), a);
    EXPECT_EQ(store.size(), 0u);
}

TEST(ObjectTable, TransferStopsAtATakenIDLeavingEarlierMovesDone) {
    TestDocument live;
    CZRNodeList* list = live.list();
    CTestLeaf* first = live.leaf(0);
    CTestLeaf* second = live.leaf(1);
    ASSERT_TRUE(list->append(first));
    ASSERT_TRUE(list->append(second));

    TestDocument other;
    ASSERT_NE(other.leaf(0, 0, second->getObjID()), nullptr);

    EXPECT_FALSE(other.table.transfer(live.table, list->getObjID()));
    EXPECT_EQ(other.table.lookup(first->getObjID()), first);
    EXPECT_EQ(live.table.lookup(second->getObjID()), second);
    EXPECT_EQ(live.table.lookup(list->getObjID()), list);

    EXPECT_FALSE(other.table.transfer(live.table, 999));
    EXPECT_FALSE(live.table.transfer(live.table, list->getObjID()));
}

TEST(ObjectTable, CollectsObjectsWhoseOwnDetachedMarkIsSet) {
    TestDocument doc;
    CZRNodeList* list = doc.list();
    CTestLeaf* kept = doc.leaf(0);
    CTestLeaf* removed = doc.leaf(1);
    CTestLeaf* neverLinked = doc.leaf(2);
    ASSERT_TRUE(list->append(kept));
    ASSERT_TRUE(list->append(removed));
    ASSERT_TRUE(list->removeByID(removed->getObjID()));

    std::vector<std::uint32_t> detached;
    doc.table.collectDetached(detached);
    EXPECT_EQ(detached, std::vector<std::uint32_t>{removed->getObjID()});
    EXPECT_FALSE(kor::isDetached(neverLinked));
}

TEST(ObjectTable, ConcurrentCreationHandsOutDistinctIDs) {
    TestDocument doc;
    constexpr int kPerThread = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&doc] {
            for (int i = 0; i < kPerThread; ++i) ASSERT_NE(doc.leaf(i), nullptr);
        });
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(doc.table.size(), 4u * kPerThread);
    EXPECT_EQ(doc.table.nextID(), 4u * kPerThread);
}
