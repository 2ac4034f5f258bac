#include "model/ObjectStore.h"

#include "model/ObjectTable.h"
#include "support/TestLeaf.h"

#include <gtest/gtest.h>

#include <memory>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

TEST(ObjectStore, ReusesAFreedSlotOnlyForTheSameSizeAndPoisonsItMeanwhile) {
    CZRObjectStore* store = CZRObjectStore::create();
    void* small = store->allocate(40);
    void* large = store->allocate(64);
    EXPECT_EQ(store->liveObjects(), 2u);

    CZRObjectStore::release(small, 40);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_TRUE(__asan_address_is_poisoned(small));
#endif
    void* other = store->allocate(64);
    EXPECT_NE(other, small);
    void* again = store->allocate(36); // rounds up to the freed slot's size
    EXPECT_EQ(again, small);
    EXPECT_EQ(store->liveObjects(), 3u);

    for (auto [p, size] : {std::pair{large, 64}, {other, 64}, {again, 36}})
        CZRObjectStore::release(p, size);
    store->releaseOwner();
}

// Objects move between a document's table and its records' tables, so the store must last
// until its last object is gone, whichever table goes first. Under the sanitizers a store
// ended too early shows as a use after free here, one never ended as a leak.
TEST(ObjectStore, LastsUntilTheLastObjectOfItsDocumentIsGone) {
    auto record = std::make_unique<CZRObjectTable>();
    CZRObjectStore* store = nullptr;
    {
        TestDocument doc;
        const ZRCreateContext recordContext{*record, doc.table};
        CTestLeaf* kept = doc.leaf(1);
        CTestLeaf* copy = kor::createObject<CTestLeaf>(recordContext, ZR_NO_OBJ_ID, 2, 0);
        ASSERT_NE(kept, nullptr);
        ASSERT_NE(copy, nullptr);
        store = &doc.table.store();
        EXPECT_EQ(store->liveObjects(), 2u); // the record's copy lives in the document's store
    }
    EXPECT_EQ(store->liveObjects(), 1u);
    EXPECT_EQ(record->size(), 1u);
    record.reset();
}
