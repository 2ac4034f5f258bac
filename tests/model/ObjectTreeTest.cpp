#include "model/ObjectTree.h"

#include "support/TestLeaf.h"

#include <gtest/gtest.h>

TEST(ObjectTree, DetachmentReachesEveryDescendant) {
    TestDocument doc;
    CZRNodeList* root = doc.list();
    CZRNodeList* branch = doc.list();
    CTestLeaf* leaf = doc.leaf(0);
    ASSERT_TRUE(root->append(branch));
    ASSERT_TRUE(branch->append(leaf));
    EXPECT_FALSE(kor::isDetached(root)); // never linked
    EXPECT_FALSE(kor::isDetached(leaf));
    EXPECT_TRUE(kor::isDetached(nullptr));

    ASSERT_TRUE(root->removeByID(branch->getObjID()));
    EXPECT_TRUE(kor::isDetached(branch));
    EXPECT_TRUE(kor::isDetached(leaf));
    EXPECT_EQ(leaf->getFlags() & ZR_FLAG_DETACHED, 0u);

    ASSERT_TRUE(root->append(branch)); // undo links it again
    EXPECT_FALSE(kor::isDetached(leaf));
}

TEST(ObjectTree, RepairWalkRunsInPreOrderAndStopsAtTheFirstUnrepairable) {
    TestDocument doc;
    CZRNodeList* root = doc.list();
    CZRNodeList* left = doc.list();
    CTestLeaf* clamped = doc.leaf(0);
    CTestLeaf* broken = doc.leaf(1);
    CTestLeaf* unreached = doc.leaf(2);
    ASSERT_TRUE(root->append(left));
    ASSERT_TRUE(left->append(clamped));
    ASSERT_TRUE(left->append(broken));
    ASSERT_TRUE(root->append(unreached));
    clamped->correctResult = 1;
    broken->correctResult = 0x83078302u;

    const kor::CorrectResult result = kor::correctTree(*root, doc.table, doc.context);

    EXPECT_EQ(result.code, 0x83070302u);
    EXPECT_EQ(result.objID, broken->getObjID());
    EXPECT_EQ(clamped->correctCalls, 1);
    EXPECT_EQ(unreached->correctCalls, 0);

    broken->correctResult = 0;
    const kor::CorrectResult clean = kor::correctTree(*root, doc.table, doc.context);
    EXPECT_EQ(clean.code, 0u);
    EXPECT_EQ(clean.objID, ZR_NO_OBJ_ID);
    EXPECT_EQ(unreached->correctCalls, 1);
}
