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

// A table of few objects keeps them in a short list and spreads into pages when it fills; either
// way every object is found under its ID, trades its slot and is destroyed or collected alone.
TEST(ObjectTable, FewObjectsSpreadIntoPagesWithoutLosingAny) {
    TestDocument doc;
    CZRObjectTable few;
    const ZRCreateContext context{few, doc.table};
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < 100; ++i) {
        // Scattered over many pages, registered out of order.
        const std::uint32_t objID = (i % 2 == 0 ? 5000 + i * 1500 : 400000 - i * 700);
        ASSERT_NE(kor::createObject<CTestLeaf>(context, objID, static_cast<std::int32_t>(i), 0),
                  nullptr);
        ids.push_back(objID);
        ASSERT_EQ(few.size(), i + 1);
        for (std::uint32_t j = 0; j <= i; ++j)
            ASSERT_EQ(few.lookup(ids[j])->getObjID(), ids[j]) << i << " " << j;
        ASSERT_EQ(few.lookup(ids[i] + 1), nullptr);
    }
    ASSERT_EQ(kor::createObject<CTestLeaf>(context, ids[3], 0, 0), nullptr); // taken

    CZRObjectTable other;
    other.reserveSlots({ids[0], ids[99]});
    few.reserveSlots({ids[0], ids[99]});
    CZRObjectTable::tradeSlots(few, other, {ids[0], ids[99]});
    EXPECT_EQ(few.size(), 98u);
    EXPECT_EQ(other.size(), 2u);
    EXPECT_EQ(other.lookup(ids[99])->getObjID(), ids[99]);
    EXPECT_EQ(few.lookup(ids[0]), nullptr);

    few.lookup(ids[5])->setFlags(ZR_FLAG_DETACHED);
    few.destroy(ids[6]);
    std::vector<std::uint32_t> detached;
    few.collectDetached(detached);
    EXPECT_EQ(detached, std::vector{ids[5]});
    EXPECT_EQ(few.size(), 97u);
    few.clear();
    EXPECT_EQ(few.size(), 0u);
    EXPECT_EQ(few.lookup(ids[7]), nullptr);
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
