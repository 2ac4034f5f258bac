#include "model/NodeList.h"

#include "model/ObjectTree.h"
#include "support/TestLeaf.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint32_t> idsOf(const CZRNodeList& list) {
    std::vector<std::uint32_t> ids;
    for (const IZRMutableKorObject* e : list.elements())
        ids.push_back(e->getObjID());
    return ids;
}

} // namespace

TEST(NodeList, InsertSortedPutsEqualKeysInFront) {
    TestDocument doc;
    CZRNodeList* tempos = doc.list(3);
    CTestLeaf* at0 = doc.leaf(0);
    CTestLeaf* at960 = doc.leaf(960);
    CTestLeaf* at480 = doc.leaf(480);
    CTestLeaf* secondAt480 = doc.leaf(480);
    for (CTestLeaf* e : {at960, at0, at480, secondAt480})
        ASSERT_TRUE(tempos->insertSorted(e));

    EXPECT_EQ(idsOf(*tempos), (std::vector{at0->getObjID(), secondAt480->getObjID(),
                                           at480->getObjID(), at960->getObjID()}));
    EXPECT_EQ(secondAt480->getParent(), static_cast<IZRKorObject*>(tempos));

    // The same object again lands on itself and is refused.
    EXPECT_FALSE(tempos->insertSorted(at0));
    EXPECT_FALSE(tempos->insertSorted(nullptr));
    EXPECT_EQ(tempos->getCount(), 4u);
}

TEST(NodeList, ReplaceAtDetachesTheOldElementAndDestroysItWhenGivenATable) {
    TestDocument doc;
    CZRNodeList* list = doc.list();
    CTestLeaf* old = doc.leaf(0);
    CTestLeaf* replacement = doc.leaf(0);
    CTestLeaf* third = doc.leaf(0);
    ASSERT_TRUE(list->append(old));

    // Bad indexes, null elements and unknown IDs change nothing.
    EXPECT_EQ(list->getAt(1), nullptr);
    EXPECT_FALSE(list->append(nullptr));
    EXPECT_FALSE(list->removeByID(old->getObjID() + 100));
    EXPECT_FALSE(list->replaceAt(1, doc.leaf(5), &doc.table));
    EXPECT_FALSE(list->replaceAt(0, nullptr, &doc.table));
    EXPECT_EQ(idsOf(*list), std::vector{old->getObjID()});
    EXPECT_FALSE(kor::isDetached(old));

    ASSERT_TRUE(list->replaceAt(0, replacement, nullptr));
    EXPECT_TRUE(kor::isDetached(old));
    EXPECT_EQ(doc.table.lookup(old->getObjID()), old);

    const std::uint32_t replacedID = replacement->getObjID();
    ASSERT_TRUE(list->replaceAt(0, third, &doc.table));
    EXPECT_EQ(doc.table.lookup(replacedID), nullptr);
    EXPECT_EQ(list->elementAt(0), third);
    EXPECT_TRUE(list->replaceAt(0, third, &doc.table));
}

TEST(NodeList, RemoveAndClearDetachButKeepElementsInTheTable) {
    TestDocument doc;
    CZRNodeList* list = doc.list();
    CTestLeaf* a = doc.leaf(1);
    CTestLeaf* b = doc.leaf(2);
    CTestLeaf* c = doc.leaf(2);
    for (CTestLeaf* e : {a, b, c})
        ASSERT_TRUE(list->append(e));

    EXPECT_EQ(list->findByKey(2), b);
    EXPECT_EQ(list->findByKey(3), nullptr);
    ASSERT_TRUE(list->removeByID(b->getObjID()));
    EXPECT_EQ(list->findByKey(2), c);
    EXPECT_TRUE(kor::isDetached(b));

    list->clear();
    EXPECT_EQ(list->getCount(), 0u);
    EXPECT_TRUE(kor::isDetached(a));
    EXPECT_TRUE(kor::isDetached(c));
    EXPECT_EQ(doc.table.size(), 4u);
}

TEST(NodeList, DeepCopyIntoTheSameTableNeedsFreshIDs) {
    TestDocument doc;
    CZRNodeList* source = doc.list(23);
    CZRNodeList* a = doc.list(18);
    CZRNodeList* b = doc.list(18);
    ASSERT_TRUE(source->append(a));
    ASSERT_TRUE(source->append(b));

    CZRNodeList* fresh = doc.list();
    ASSERT_TRUE(fresh->copyFrom(source, ZR_COPY_DEEP, &doc.context));
    ASSERT_EQ(fresh->getCount(), 2u);
    EXPECT_EQ(fresh->getListType(), 23);
    for (std::uint32_t i = 0; i < 2; ++i) {
        EXPECT_NE(fresh->elementAt(i)->getObjID(), source->elementAt(i)->getObjID());
        EXPECT_EQ(fresh->elementAt(i)->getParent(), static_cast<IZRKorObject*>(fresh));
    }

    const std::size_t before = doc.table.size();
    CZRNodeList* clash = doc.list();
    EXPECT_FALSE(clash->copyFrom(source, ZR_COPY_DEEP | ZR_COPY_KEEP_IDS, &doc.context));
    EXPECT_EQ(clash->getCount(), 0u);
    EXPECT_EQ(doc.table.size(), before + 1);

    EXPECT_FALSE(clash->copyFrom(source, ZR_COPY_DEEP, nullptr));
}
