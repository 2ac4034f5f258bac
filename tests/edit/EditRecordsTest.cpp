#include "edit/EditRecords.h"

#include "edit/EditCommit.h"
#include "support/EditSong.h"
#include "support/FailingAllocator.h"

#include <gtest/gtest.h>

#include <new>

namespace {

bool edited(const IZRKorObject* obj) {
    return (obj->getFlags() & ZR_FLAG_EDITED) != 0;
}

// Prepares and applies one exchange of `record`, as the history does for each record of a commit.
void exchange(AZREditCommand& record) {
    record.prepareExchange();
    record.applyExchange();
}

} // namespace

// A host holding a container, its list or an element keeps holding the live one: the exchange
// trades contents, not objects.
TEST(EditRecords, ListRecordsKeepTheLiveObjectsInTheirContainers) {
    EditSong song;
    // A control list of a musical part: the list stays in its slot, the part gets marked.
    CZRNodeList* dyn = song.musical->controlList(0);
    CZREditMusicalControlList controls(dyn->getObjID(), &song.doc);
    ASSERT_TRUE(controls.capture());
    controls.prepareCommit();
    exchange(controls);
    controls.afterExchange();
    EXPECT_EQ(song.musical->controlList(0), dyn);
    EXPECT_EQ(song.doc.objects().lookup(dyn->getObjID()), dyn);
    EXPECT_TRUE(edited(song.musical));

    // The part list: every part in it gets marked.
    song.musical->clearEdited();
    CZREditZRPartList parts(song.track->partList()->getObjID(), &song.doc);
    ASSERT_TRUE(parts.capture());
    exchange(parts);
    parts.afterExchange();
    auto* musical = song.doc.objects().lookup(song.musical->getObjID());
    EXPECT_EQ(musical, song.musical);
    EXPECT_EQ(song.musical->getParent(), song.track->partList());
    EXPECT_TRUE(edited(musical));
    EXPECT_TRUE(edited(song.doc.objects().lookup(song.prosody->getObjID())));

    // The master track under the sequence, with both its lists.
    const std::uint32_t masterID = song.master->getObjID();
    CZREditMasterTrack master(masterID, &song.doc);
    ASSERT_TRUE(master.capture());
    exchange(master);
    EXPECT_EQ(song.sequence->masterTrack()->getObjID(), masterID);
    EXPECT_EQ(song.sequence->masterTrack(), song.master);
    EXPECT_EQ(song.master->tempoList()->getCount(), 2u);
    EXPECT_EQ(song.master->tempoList()->getAt(1), song.tempo);
}

namespace {} // namespace

TEST(EditRecords, ListExchangeRefusesSubtreesThatWouldCollide) {
    EditSong song;
    const std::uint32_t listID = song.master->tempoList()->getObjID();
    CZREditTempoList record(listID, &song.doc);
    ASSERT_TRUE(record.capture());
    // A tempo in the copy under the ID of an object elsewhere in the song.
    auto* stranger = kor::createObject<CZRTempo>(record.storeContext(), song.wav->getObjID(),
                                                 ZRTempoValues{960, 15000});
    ASSERT_TRUE(kor::objCast<CZRNodeList>(record.workingObject(listID))->insertSorted(stranger));
    const std::wstring before = song.dump();
    const std::size_t objects = song.doc.objects().size();
    exchange(record);
    EXPECT_EQ(song.dump(), before);
    EXPECT_EQ(song.doc.objects().size(), objects);
    EXPECT_EQ(song.master->tempoList()->getObjID(), listID);
}

TEST(EditRecords, ListExchangeShortOfMemoryLeavesBothSidesAsTheyWere) {
    EditSong song;
    const std::uint32_t listID = song.track->partList()->getObjID();
    CZREditZRPartList record(listID, &song.doc);
    ASSERT_TRUE(record.capture());
    // A part far beyond the song's IDs, so that its slot needs a page of its own.
    auto* part = kor::createObject<CZRMusicalPart>(record.storeContext(), 5000);
    ASSERT_NE(part, nullptr);
    ASSERT_TRUE(kor::objCast<CZRNodeList>(record.workingObject(listID))->append(part));
    const std::wstring before = song.dump();
    const std::size_t objects = song.doc.objects().size();

    for (std::uint64_t n = 1;; ++n) {
        kor::test::failAllocation(n);
        try {
            record.prepareExchange();
        } catch (const std::bad_alloc&) {
        }
        kor::test::failAllocation(0);
        if (!kor::test::allocationFailed()) break;
        ASSERT_EQ(song.dump(), before) << n;
        ASSERT_EQ(song.doc.objects().size(), objects) << n;
    }
    record.applyExchange();
    EXPECT_EQ(song.doc.objects().lookup(5000), part);
    EXPECT_EQ(song.doc.objects().size(), objects + 1);
}
