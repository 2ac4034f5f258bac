#include "model/NodeList.h"

#include "model/ObjectTree.h"
#include "support/TestLeaf.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::uint32_t> idsOf(const CZRNodeList& list) {
    std::vector<std::uint32_t> ids;
    for (const IZRMutableKorObject* e : list.elements()) ids.push_back(e->getObjID());
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
    for (CTestLeaf* e : {at960, at0, at480, secondAt480}) ASSERT_TRUE(tempos->insertSorted(e));

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
    for (CTestLeaf* e : {a, b, c}) ASSERT_TRUE(list->append(e));

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

TEST(NodeList, SwapContentsExchangesOnlyTheListKinds) {
    TestDocument doc;
    CZRNodeList* mine = doc.list(9);
    mine->setListType(9, 2);
    CTestLeaf* element = doc.leaf(0);
    ASSERT_TRUE(mine->append(element));

    // A private copy under the same ID, as an edit record keeps it in a table of its own.
    CZRObjectTable store;
    auto* copy = kor::createObject<CZRNodeList>(ZRCreateContext{store, store}, mine->getObjID());
    ASSERT_NE(copy, nullptr);
    copy->setListType(9, 5);

    ASSERT_TRUE(mine->swapContents(copy));
    EXPECT_EQ(mine->getListTypeEx(), 5);
    EXPECT_EQ(copy->getListTypeEx(), 2);
    EXPECT_EQ(mine->getCount(), 1u);
    EXPECT_EQ(copy->getCount(), 0u);
    EXPECT_EQ(element->getParent(), static_cast<IZRKorObject*>(mine));

    EXPECT_FALSE(mine->swapContents(doc.list()));   // another ID
    EXPECT_FALSE(mine->swapContents(nullptr));
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

TEST(NodeList, DeepCopyFailsAtAnElementItCannotCreate) {
    TestDocument doc;
    CZRNodeList* source = doc.list();
    ASSERT_TRUE(source->append(doc.list()));
    ASSERT_TRUE(source->append(doc.leaf(0))); // no factory makes this test class
    ASSERT_TRUE(source->append(doc.list()));

    CZRNodeList* copy = doc.list();
    EXPECT_FALSE(copy->copyFrom(source, ZR_COPY_DEEP, &doc.context));
    EXPECT_EQ(copy->getCount(), 1u);

    // A shallow copy takes only the list kinds.
    CZRNodeList* shallow = doc.list();
    ASSERT_TRUE(shallow->copyFrom(source, 0, nullptr));
    EXPECT_EQ(shallow->getCount(), 0u);
}

TEST(NodeList, DumpListsElementsOnlyWhenRecursive) {
    TestDocument doc;
    CZRNodeList* tempos = doc.list(3, 11);
    ASSERT_TRUE(tempos->append(doc.leaf(0, 12000, 12)));

    std::wstring flat;
    tempos->dump(flat, 0);
    EXPECT_EQ(flat, L"CZRNodeList {{ objID=11 objType=1 parentObjID=NULL }  listType=3 listTypeEx=-1 } ");

    std::wstring deep;
    tempos->dump(deep, 1);
    EXPECT_EQ(deep, L"CZRNodeList {{ objID=11 objType=1 parentObjID=NULL }  listType=3 listTypeEx=-1 "
                    L"CZRTempo {{ objID=12 objType=3 parentObjID=11 }  posTick=0 bpm=12000 } } ");
}

TEST(NodeList, SizeCountsOneSlotPerElement) {
    TestDocument doc;
    CZRNodeList* list = doc.list();
    const std::uint32_t empty = list->getSize();
    CTestLeaf* a = doc.leaf(0);
    CTestLeaf* b = doc.leaf(0);
    ASSERT_TRUE(list->append(a));
    ASSERT_TRUE(list->append(b));

    EXPECT_EQ(list->getSize(), empty + 2 * sizeof(void*));
    EXPECT_EQ(kor::subtreeSize(list), list->getSize() + a->getSize() + b->getSize());
}
