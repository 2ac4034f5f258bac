#include "model/Builders.h"

#include "support/SongObjects.h"
#include "model/ObjectTree.h"

#include "support/TestSong.h"

#include <korman/ErrorCodes.h>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kFail = 0x8000;

// Every object under `root`, in pre-order.
std::vector<IZRMutableKorObject*> subtree(IZRMutableKorObject* root) {
    std::vector<IZRMutableKorObject*> all{root};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i]->getChildren(all);
    return all;
}

} // namespace

TEST(EmptySequence, WithAMusicalPartPassesTheRepairWalk) {
    TestSong song;
    CZRMusicalPart* part = song.addMusicalPart(song.addTrack(0), 1920);

    const kor::CorrectResult walk = kor::correctTree(*song.root, song.doc.table, song.doc.context);
    EXPECT_EQ(walk.code, 0u);
    EXPECT_EQ(walk.objID, ZR_NO_OBJ_ID);
    // The walk only filled the empty signature and tempo lists; now nothing is left to repair.
    EXPECT_EQ(song.sequence->masterTrack()->measureToTick(2), 3840);
    for (IZRMutableKorObject* obj : subtree(song.root)) {
        SCOPED_TRACE(static_cast<int>(obj->getObjType()));
        EXPECT_EQ(obj->validate(), 0u);
        EXPECT_EQ(song.correct(*obj), 0u);
    }
    EXPECT_EQ(kor::findMasterTrack(part), song.sequence->masterTrack());
    EXPECT_EQ(kor::findSequence(part->singerList()), song.sequence);
    EXPECT_EQ(kor::findSequence(song.sequence), nullptr); // ancestors only
}

TEST(Sequence, ValidateChecksInOrder) {
    struct Case {
        const char* name;
        void (*arrange)(TestSong&);
        std::uint32_t validate, correct;
    };
    const Case cases[] = {
        {"valid", [](TestSong&) {}, 0, 0},
        {"short version", [](TestSong& s) { s.sequence->setVersion(L"3.0.0"); },
         ZR_E_INVALID_SEQUENCE_FILE_VERSION, 0x8307ab01},
        {"no VVoice", [](TestSong& s) { s.sequence->vvoiceList()->clear(); },
         ZR_E_INVALID_VVOICE_NUMBER, 0x8307a201},
        {"VVoice repeated", [](TestSong& s) { s.addVVoice(0, 0); }, ZR_E_VVOICES_ARE_DUPLICATED, 1},
        {"unit without track",
         [](TestSong& s) {
             kor::objCast<CZRZRTrack>(s.sequence->zrTrackList()->elementAt(0))->setTrackNo(1);
         },
         ZR_E_INVALID_ZR_TRACK, 0x8307a601},
        {"no master track", [](TestSong& s) { EXPECT_TRUE(s.sequence->setMasterTrack(nullptr)); },
         ZR_E_INVALID_MASTER_TRACK, 0x8307ab03},
        {"track without unit",
         [](TestSong& s) {
             s.addTrack(1);
             s.sequence->mixer()->zrUnitList()->clear();
         },
         ZR_E_INVALID_ZR_TRACK, 0x8307a001},
        {"unit of another track", [](TestSong& s) { s.addTrack(1)->setTrackNo(2); },
         ZR_E_INVALID_ZR_TRACK, 0x8307a601},
        {"same track twice", [](TestSong& s) { s.addTrack(0); }, ZR_E_TRACKS_ARE_DUPLICATED,
         0x8307a002},
        {"neither track nor unit",
         [](TestSong& s) {
             EXPECT_TRUE(s.sequence->zrTrackList()->replaceAt(0, s.doc.leaf(1), nullptr) &&
                         s.sequence->mixer()->zrUnitList()->replaceAt(0, s.doc.leaf(1), nullptr));
         },
         ZR_E_TRACK_IS_NULL, 0x8307a703},
        {"no SE track", [](TestSong& s) { EXPECT_TRUE(s.sequence->setSETrack(nullptr)); },
         ZR_E_INVALID_SE_TRACK, 0x8307ab05},
        {"no backing track", [](TestSong& s) { EXPECT_TRUE(s.sequence->setKaraokeTrack(nullptr)); },
         ZR_E_INVALID_BACKING_TRACK, 0x8307ab06},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestSong song;
        song.addTrack(0);
        c.arrange(song);
        EXPECT_EQ(song.sequence->validate(), c.validate);
        EXPECT_EQ(song.correct(*song.sequence), c.correct);
    }
}

TEST(Sequence, CorrectTrimsSeventeenTracksThenReportsTheUnitCount) {
    TestSong song;
    for (int i = 0; i < 17; ++i)
        song.addTrack(i % 16);
    EXPECT_EQ(song.sequence->validate(), ZR_E_INVALID_TRACK_NUMBER);
    const std::uint32_t last = song.sequence->zrTrackList()->elementAt(16)->getObjID();
    EXPECT_EQ(song.correct(*song.sequence), 0x8307a001);
    EXPECT_EQ(song.sequence->zrTrackList()->getCount(), 16u);
    EXPECT_EQ(song.doc.table.lookup(last), nullptr);
}

TEST(KorRoot, WithoutASequenceIsUnrepairable) {
    TestSong song;
    TestDocument other;
    auto* root = kor::createObject<CZRKorRoot>(other.context, song.root->getObjID());
    EXPECT_EQ(root->validate(), ZR_E_INVALID_SEQUENCE);
    EXPECT_EQ(root->correct(other.table, other.context), ZR_E_INVALID_SEQUENCE | kFail);
    EXPECT_EQ(song.root->validate(), 0u);
}
