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

TEST(EditRecords, CaptureOnceAndOnlyWhatTheClassCovers) {
    EditSong song;
    CZREditTempo tempo(song.tempo->getObjID(), &song.doc);
    ASSERT_TRUE(tempo.capture());
    EXPECT_FALSE(tempo.capture());
    EXPECT_FALSE(CZREditTempo(song.master->getObjID(), &song.doc).capture());
    EXPECT_FALSE(CZREditTempo(9999, &song.doc).capture());
    // A node list of another kind, or under another container, is not a tempo list.
    EXPECT_FALSE(CZREditTempoList(song.master->timeSigList()->getObjID(), &song.doc).capture());
    EXPECT_FALSE(CZREditZRPartList(song.sequence->zrTrackList()->getObjID(), &song.doc).capture());
    EXPECT_FALSE(CZREditCommit(1).capture());
}

TEST(EditRecords, ElementExchangeTwiceRestoresBothSides) {
    EditSong song;
    CZREditTempo record(song.tempo->getObjID(), &song.doc);
    ASSERT_TRUE(record.capture());
    auto* copy = kor::objCast<CZRTempo>(record.workingObject(song.tempo->getObjID()));
    ASSERT_NE(copy, nullptr);
    copy->values().bpm = 4000;
    exchange(record);
    EXPECT_EQ(song.tempo->getBPM(), 4000);
    EXPECT_EQ(copy->getBPM(), 9000);
    exchange(record);
    EXPECT_EQ(song.tempo->getBPM(), 9000);
    EXPECT_EQ(copy->getBPM(), 4000);
    EXPECT_EQ(song.tempo->getParent(), song.master->tempoList());
}

TEST(EditRecords, TempoFollowUpMarksPartsTimedInSeconds) {
    EditSong song;
    CZREditTempo record(song.tempo->getObjID(), &song.doc);
    ASSERT_TRUE(record.capture());
    record.afterExchange();
    EXPECT_TRUE(edited(song.prosody));
    EXPECT_TRUE(edited(song.wav));
    EXPECT_FALSE(edited(song.musical));
}

TEST(EditRecords, ListRecordsRelinkIntoTheirContainer) {
    EditSong song;
    // A control list of a musical part: the copy takes the same slot, the part gets marked.
    CZRNodeList* dyn = song.musical->controlList(0);
    CZREditMusicalControlList controls(dyn->getObjID(), &song.doc);
    ASSERT_TRUE(controls.capture());
    controls.prepareCommit();
    exchange(controls);
    controls.afterExchange();
    EXPECT_NE(song.musical->controlList(0), dyn);
    EXPECT_EQ(song.musical->controlList(0)->getObjID(), dyn->getObjID());
    EXPECT_TRUE(edited(song.musical));

    // The part list: every part in it gets marked.
    song.musical->clearEdited();
    CZREditZRPartList parts(song.track->partList()->getObjID(), &song.doc);
    ASSERT_TRUE(parts.capture());
    exchange(parts);
    parts.afterExchange();
    auto* musical = song.doc.objects().lookup(song.musical->getObjID());
    EXPECT_NE(musical, song.musical);
    EXPECT_TRUE(edited(musical));
    EXPECT_TRUE(edited(song.doc.objects().lookup(song.prosody->getObjID())));

    // The master track under the sequence, with both its lists.
    const std::uint32_t masterID = song.master->getObjID();
    CZREditMasterTrack master(masterID, &song.doc);
    ASSERT_TRUE(master.capture());
    exchange(master);
    EXPECT_EQ(song.sequence->masterTrack()->getObjID(), masterID);
    EXPECT_NE(song.sequence->masterTrack(), song.master);
    EXPECT_EQ(song.sequence->masterTrack()->tempoList()->getCount(), 2u);
}

namespace {

// Captures `target` with a `Record` and exchanges twice: the song must read as before.
template <class Record> void expectRoundTrip(EditSong& song, const IZRKorObject* target) {
    ASSERT_NE(target, nullptr);
    const std::wstring before = song.dump();
    Record record(target->getObjID(), &song.doc);
    ASSERT_TRUE(record.capture()) << target->getObjID();
    record.prepareCommit();
    exchange(record);
    exchange(record);
    EXPECT_EQ(song.dump(), before) << target->getObjID();
}

// A record of a class with nothing of its kind in the song captures nothing.
template <class Record> void expectNoCapture(EditSong& song) {
    EXPECT_FALSE(Record(song.track->getObjID(), &song.doc).capture());
}

} // namespace

TEST(EditRecords, EveryClassExchangesBackToTheSameSong) {
    EditSong song;
    CZRMusicalPart* part = song.musical;
    CZRMixer* mixer = song.sequence->mixer();
    expectRoundTrip<CZREditTempo>(song, song.tempo);
    expectRoundTrip<CZREditTempoList>(song, song.master->tempoList());
    expectRoundTrip<CZREditMasterTrack>(song, song.sequence->masterTrack());
    expectRoundTrip<CZREditMusicalSinger>(song, part->singerList()->getAt(0));
    expectRoundTrip<CZREditMusicalSingerList>(song, part->singerList());
    expectRoundTrip<CZREditPartStyleAttrib>(song, part->partStyle());
    expectRoundTrip<CZREditStyleControlList>(song, part->styleControlLists().begin()->second);
    expectRoundTrip<CZREditMusicalControlList>(song, part->controlList(6));
    expectRoundTrip<CZREditMusicalNote>(song, song.note);
    expectRoundTrip<CZREditMusicalNoteList>(song, part->noteList());
    expectRoundTrip<CZREditMusicalPart>(song, part);
    expectRoundTrip<CZREditWAVPart>(song, song.wav);
    expectRoundTrip<CZREditZRPartList>(song, song.track->partList());
    expectRoundTrip<CZREditWAVPartList>(song, song.sequence->seTrack()->wavPartList());
    expectRoundTrip<CZREditZRTrack>(song, song.track);
    expectRoundTrip<CZREditZRTrackList>(song, song.sequence->zrTrackList());
    expectRoundTrip<CZREditZRUnitList>(song, mixer->zrUnitList());

    expectNoCapture<CZREditStyleControl>(song);
    expectNoCapture<CZREditMusicalControl>(song);
    expectNoCapture<CZREditNoteStyleAttrib>(song);
    expectNoCapture<CZREditNoteStyleSeqAttribElement>(song);
    expectNoCapture<CZREditNoteStyleSeqAttribElementList>(song);
    expectNoCapture<CZREditProsodyVoice>(song);
    expectNoCapture<CZREditProsodyVoiceList>(song);
    expectNoCapture<CZREditProsodyElement>(song);
    expectNoCapture<CZREditProsodyElementList>(song);
    expectNoCapture<CZREditProsodyControl>(song);
    expectNoCapture<CZREditProsodyControlList>(song);
}

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
