#include "model/KorObject.h"

#include "support/TestLeaf.h"

#include <gtest/gtest.h>

TEST(KorObject, ParentLinksMaintainTheDetachedMark) {
    TestDocument doc;
    CZRNodeList* list = doc.list();
    CTestLeaf* leaf = doc.leaf(0);
    EXPECT_EQ(leaf->getFlags(), 0u);

    ASSERT_TRUE(leaf->setParent(list));
    EXPECT_EQ(leaf->getFlags(), 0u);
    leaf->setEdited();
    ASSERT_TRUE(leaf->setParent(nullptr));
    EXPECT_EQ(leaf->getFlags(), ZR_FLAG_EDITED | ZR_FLAG_DETACHED);
    EXPECT_EQ(leaf->getParent(), nullptr);

    leaf->clearEdited();
    leaf->clearEdited();
    EXPECT_EQ(leaf->getFlags(), ZR_FLAG_DETACHED);
}

TEST(KorObject, CopyFromTakesValuesAndTheEditedMarkButNoIdentity) {
    TestDocument doc;
    CZRNodeList* list = doc.list();
    CTestLeaf* source = doc.leaf(480, 9000);
    ASSERT_TRUE(list->append(source));
    source->setEdited();
    CTestLeaf* target = doc.leaf(0, 0);
    ASSERT_TRUE(target->setParent(nullptr)); // detached, to see that the mark survives

    ASSERT_TRUE(target->copyFrom(source, 0, nullptr));
    EXPECT_EQ(target->posTick, 480);
    EXPECT_EQ(target->value, 9000);
    EXPECT_NE(target->getObjID(), source->getObjID());
    EXPECT_EQ(target->getParent(), nullptr);
    EXPECT_EQ(target->getFlags(), ZR_FLAG_EDITED | ZR_FLAG_DETACHED);

    // An unset mark on the source does not clear the target's.
    source->clearEdited();
    ASSERT_TRUE(target->copyFrom(source, 0, nullptr));
    EXPECT_NE(target->getFlags() & ZR_FLAG_EDITED, 0u);

    // Nothing to copy, or a deep copy without a place to create children, changes nothing.
    EXPECT_FALSE(target->copyFrom(nullptr, 0, nullptr));
    EXPECT_FALSE(target->copyFrom(doc.leaf(5, 6), ZR_COPY_DEEP, nullptr));
    EXPECT_EQ(target->posTick, 480);
}
