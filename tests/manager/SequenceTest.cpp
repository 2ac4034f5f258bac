#include "support/ManagerFixture.h"

#include <korman/korman.h>

#include <vector>

using kor::test::validPolicy;

namespace {

class CurrentSong : public kor::test::ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ZRKorManagementPolicy policy = validPolicy();
        policy.minPlayTime = 30;
        ASSERT_EQ(manager.sysInitialize(policy), 1);
    }

    template <class T> T* as(IZRKorObject* obj) { return dynamic_cast<T*>(obj); }
    IZRSequence* song() { return manager.korGetCurrentSequence()->getSequence(); }

    CZRKorManagerIF manager;
};

} // namespace

TEST_F(CurrentSong, NewSongHoldsTheDefaultContent) {
    IZRKorRoot* root = manager.korCreateNewSequence(L"Song", nullptr, 2);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getObjID(), 0u);
    IZRMasterTrack* master = manager.korGetCurrentMasterTrack();
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(master->getSeqName(), L"Song");
    EXPECT_EQ(master->getPreMeasure(), 2);

    ASSERT_EQ(master->getTimeSigList()->getCount(), 1u);
    auto* signature = as<IZRTimeSig>(master->getTimeSigList()->getAt(0));
    EXPECT_EQ(signature->getNumerator(), 4);
    ASSERT_EQ(master->getTempoList()->getCount(), 1u);
    EXPECT_EQ(as<IZRTempo>(master->getTempoList()->getAt(0))->getBPM(), 12000);

    ASSERT_EQ(song()->getZRTrackList()->getCount(), 1u);
    auto* track = as<IZRZRTrack>(song()->getZRTrackList()->getAt(0));
    EXPECT_EQ(track->getName(), L"Track");
    EXPECT_EQ(track->getComment(), L"Track");
    ASSERT_EQ(song()->getMixer()->getZRUnitList()->getCount(), 1u);
    auto* unit = as<IZRZRUnit>(song()->getMixer()->getZRUnitList()->getAt(0));
    EXPECT_EQ(unit->getPan(), 64);
    EXPECT_EQ(unit->getSendLevel(), -898);
    EXPECT_EQ(song()->getVVoiceList()->getCount(),
              CKorManagerApp::instance().tables()->vvoices.size());

    // The unsaved song has a file of its own name in the temporary folder, not yet written.
    EXPECT_EQ(std::filesystem::path(manager.fileGetTemporaryFilePath()).parent_path(),
              tempFolder());
    EXPECT_TRUE(std::filesystem::is_empty(tempFolder()));
}

TEST_F(CurrentSong, FirstMusicalPartStartsAfterThePreMeasures) {
    ZRMusicalSinger singer;
    singer.vBS = 1;
    singer.vPC = 0;
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPartAndSinger(L"", L"", 2, L"Verse", L"", 960,
                                                                   singer),
              nullptr);
    auto* track = as<IZRZRTrack>(song()->getZRTrackList()->getAt(0));
    ASSERT_EQ(track->getPartList()->getCount(), 1u);
    auto* part = as<IZRMusicalPart>(track->getPartList()->getAt(0));
    EXPECT_EQ(part->getPosTick(), 3840);
    EXPECT_EQ(part->getPlayTime(), 960);
    EXPECT_EQ(part->getName(), L"Verse");
    auto* first = as<IZRMusicalSinger>(part->getSingerList()->getAt(0));
    EXPECT_EQ(first->getVBS(), 1);
    EXPECT_EQ(first->getVPC(), 0);

    // The shortest play time is at least 60 even though the policy said 30.
    IZRKorRoot* current = manager.korGetCurrentSequence();
    EXPECT_EQ(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"", L"", 59), nullptr);
    EXPECT_EQ(manager.korGetCurrentSequence(), current);
    EXPECT_NE(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"", L"", 60), nullptr);
}

TEST_F(CurrentSong, CopyBufferKeepsWholeSubtreesAcrossSongs) {
    ASSERT_NE(manager.korCreateNewSequenceWithMusicalPart(L"", L"", 1, L"Part", L"", 1920),
              nullptr);
    auto* track = as<IZRZRTrack>(song()->getZRTrackList()->getAt(0));
    IZRKorObject* part = track->getPartList()->getAt(0);

    const std::uint32_t copyID = manager.korCopyKorObject(part->getObjID());
    ASSERT_NE(copyID, ZR_NO_OBJ_ID);
    EXPECT_NE(copyID, part->getObjID());
    EXPECT_EQ(manager.korGetKorObject(copyID), nullptr); // copies live in the buffer only

    ASSERT_NE(manager.korCreateNewSequence(L"", L"", 1), nullptr);
    IZRKorObject* copy = manager.korGetKorObjectFromCopyBuffer(copyID);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->getObjType(), ZRObjType::MusicalPart);
    auto* copiedPart = dynamic_cast<IZRMusicalPart*>(copy);
    EXPECT_EQ(copiedPart->getName(), L"Part");
    ASSERT_EQ(copiedPart->getSingerList()->getCount(), 1u);
    IZRKorObject* copiedSinger = copiedPart->getSingerList()->getAt(0);
    const std::uint32_t singerID = copiedSinger->getObjID();
    EXPECT_EQ(manager.korGetKorObjectFromCopyBuffer(singerID), copiedSinger);

    // Only a top-level copy can be deleted.
    manager.korDeleteObjectFromCopyBuffer(singerID);
    EXPECT_NE(manager.korGetKorObjectFromCopyBuffer(singerID), nullptr);
    manager.korDeleteObjectFromCopyBuffer(copyID);
    EXPECT_EQ(manager.korGetKorObjectFromCopyBuffer(copyID), nullptr);
    EXPECT_EQ(manager.korGetKorObjectFromCopyBuffer(singerID), nullptr);

    const std::uint32_t again = manager.korCopyKorObject(song()->getMasterTrack()->getObjID());
    ASSERT_NE(again, ZR_NO_OBJ_ID);
    manager.korEmptyCopyBuffer();
    EXPECT_EQ(manager.korGetKorObjectFromCopyBuffer(again), nullptr);

    // An unknown object and the song itself are refused; the song outweighs its master track.
    EXPECT_EQ(manager.korCopyKorObject(123456), ZR_NO_OBJ_ID);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_EQ(manager.korCopyKorObject(song()->getObjID()), ZR_NO_OBJ_ID);
    EXPECT_EQ(manager.sysGetLastError(), ZR_E_NOT_ENOUGH_MEMORY);
    EXPECT_GT(manager.korCalcSubTreeSize(song()->getObjID()),
              manager.korCalcSubTreeSize(song()->getMasterTrack()->getObjID()));
    manager.korEmptyImportBuffer(); // nothing to empty
    EXPECT_EQ(manager.korGetKorObjectFromImportBuffer(0), nullptr);
    manager.korDestroySequence();
    EXPECT_EQ(manager.korCalcSubTreeSize(0), 0u);
}
