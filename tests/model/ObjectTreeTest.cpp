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

TEST(ObjectTree, ChildSlotSwapsOneChildForAnother) {
    TestDocument doc;
    CZRNodeList* container = doc.list();
    CTestLeaf* slot = nullptr;
    CTestLeaf* first = doc.leaf(1);
    CTestLeaf* second = doc.leaf(2);

    ASSERT_TRUE(kor::setChildSlot(slot, first, container));
    EXPECT_EQ(slot, first);
    EXPECT_EQ(first->getParent(), static_cast<IZRKorObject*>(container));

    ASSERT_TRUE(kor::setChildSlot(slot, second, container));
    EXPECT_EQ(slot, second);
    EXPECT_TRUE(kor::isDetached(first));

    ASSERT_TRUE(kor::setChildSlot(slot, static_cast<CTestLeaf*>(nullptr), container));
    EXPECT_EQ(slot, nullptr);
    EXPECT_TRUE(kor::isDetached(second));
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

TEST(ObjectTree, CreateByTypeRefusesTypesThatAreNeverCreatedByNumber) {
    TestDocument doc;
    for (std::int32_t type : {0, 18, 32, 33, 36, -1})
        EXPECT_EQ(kor::createByType(doc.context, ZR_NO_OBJ_ID, static_cast<ZRObjType>(type)), nullptr)
            << "type " << type;

    IZRMutableKorObject* list = kor::createByType(doc.context, 40, ZRObjType::NodeList);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getObjID(), 40u);
    EXPECT_EQ(list->getObjType(), ZRObjType::NodeList);
    EXPECT_EQ(kor::createByType(doc.context, 40, ZRObjType::NodeList), nullptr);
}
