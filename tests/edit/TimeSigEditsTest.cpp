#include "edit/TimeSigEdits.h"

#include "edit/EditRecords.h"
#include "edit/PreMeasureEdits.h"
#include "edit/TempoEdits.h"
#include "model/TimeSig.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

namespace {

// The edit song with a 4/4 head time signature, one pre-measure (ticks 0 to 1920), a tempo at
// 3840 besides the one at the song's start, and the WAV part at 2400. Records of whole subtrees
// put copies in the song's place, so the live objects are looked up by ID after each step.
struct SigFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    CZRKorEditorIF editor{host, ZRKorManagementPolicy{}, song.doc, history};
    std::uint32_t head = addSig(0);
    std::uint32_t masterID = song.master->getObjID();

    SigFixture() {
        EXPECT_TRUE(song.master->tempoList()->append(kor::createObject<CZRTempo>(
            song.doc.context(), ZR_NO_OBJ_ID, ZRTempoValues{3840, 15000})));
        song.wav->part().setPosTick(2400);
    }
    std::uint32_t addSig(std::int32_t posMes) {
        auto* sig = kor::createObject<CZRTimeSig>(song.doc.context(), ZR_NO_OBJ_ID,
                                                  ZRTimeSigValues{posMes, 4, 4});
        EXPECT_TRUE(sig != nullptr && song.master->timeSigList()->insertSorted(sig));
        return sig->getObjID();
    }
    const CZRMasterTrack& master() const { return *song.sequence->masterTrack(); }
    std::vector<std::int32_t> keys(const CZRNodeList* list) const {
        std::vector<std::int32_t> out;
        for (const IZRMutableKorObject* element : list->elements())
            out.push_back(element->getSortKey());
        return out;
    }
    std::vector<std::int32_t> tempoPositions() const { return keys(master().tempoList()); }
    std::vector<std::int32_t> partPositions() const {
        std::vector<std::int32_t> out;
        for (const std::uint32_t partID :
             {song.musical->getObjID(), song.prosody->getObjID(), song.wav->getObjID()})
            out.push_back(dynamic_cast<IZRPart*>(song.doc.objects().lookup(partID))->getPosTick());
        return out;
    }
    std::uint32_t undo() { return kor::undoAndNotify(history, host); }
    std::uint32_t redo() { return kor::redoAndNotify(history, host); }
};

} // namespace

TEST(TimeSigEdits, ChecksValuesBeforeRecordingAnything) {
    SigFixture f;
    const std::uint32_t second = f.addSig(4);
    struct Row {
        ZRTimeSigValue value;
        std::uint32_t update, move;
    };
    constexpr std::uint32_t kBadValue = ZR_E_INVALID_TIME_SIGNATURE_VALUE;
    const Row rows[] = {
        {{6, 4, 0}, kBadValue, kBadValue},
        {{6, 0, 4}, kBadValue, kBadValue},
        {{6, 256, 4}, kBadValue, kBadValue},
        {{6, 4, 33}, kBadValue, kBadValue},
        {{6, 4, 3}, kBadValue, kBadValue},
        {{-1, 3, 4}, 0, ZR_E_INVALID_TIME_SIGNATURE_POSITION},
        {{6, 255, 32}, 0, 0},
        {{6, 1, 1}, 0, 0},
    };
    for (const Row& row : rows) {
        f.editor.discard();
        EXPECT_EQ(kor::updateTimeSig(f.editor.session(), second, row.value), row.update);
        f.editor.discard();
        EXPECT_EQ(kor::moveTimeSig(f.editor.session(), second, row.value), row.move);
        EXPECT_EQ(f.editor.session().pending().size(), row.move == 0 ? 1u : 0u);
    }
    EXPECT_EQ(kor::deleteTimeSig(f.editor.session(), f.song.tempo->getObjID()),
              ZR_E_EDIT_TARGET_NOT_FOUND);
}

TEST(TimeSigEdits, KeepsTheHeadAndRefusesDuplicatesWithoutTouchingTheMusic) {
    SigFixture f;
    const std::uint32_t second = f.addSig(4);
    const std::wstring before = f.song.dump();
    EXPECT_EQ(kor::moveTimeSig(f.editor.session(), f.head, {2, 4, 4}),
              ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED);
    EXPECT_EQ(kor::moveTimeSig(f.editor.session(), second, {0, 4, 4}),
              ZR_E_TIME_SIGNATURES_ARE_DUPLICATED);
    ASSERT_EQ(kor::moveTimeSig(f.editor.session(), second, {4, 6, 8}), 0u);
    ASSERT_EQ(kor::insertTimeSig(f.editor.session(), {4, 7, 8}), 0u); // taken: sets its values
    ASSERT_EQ(kor::insertTimeSig(f.editor.session(), {9, 2, 2}), 0u);
    ASSERT_EQ(kor::deleteTimeSig(f.editor.session(), second), 0u);
    EXPECT_EQ(kor::deleteTimeSig(f.editor.session(), second), 0u);
    EXPECT_EQ(kor::updateTimeSig(f.editor.session(), second, {0, 3, 4}), ZR_E_EDIT_TARGET_DELETED);
    ASSERT_EQ(kor::updateTimeSig(f.editor.session(), f.head, {0, 4, 4}),
              0u); // same length: no move
    ASSERT_EQ(f.editor.commit(), 1);

    EXPECT_EQ(f.keys(f.master().timeSigList()), (std::vector{0, 9}));
    EXPECT_EQ(f.master().timeSigList()->elementAt(0)->getObjID(), f.head);
    EXPECT_EQ(f.tempoPositions(), (std::vector{0, 1920, 3840}));
    for (const ZRChangeEntry& change : f.history.entryAt(1).changes())
        EXPECT_EQ(change.flags & (ZR_CHANGE_MUSICAL | ZR_CHANGE_TEMPO), 0u);
    ASSERT_EQ(f.undo(), 0u);
    EXPECT_EQ(f.song.dump(), before);
}

TEST(TimeSigEdits, AShorterPreMeasureMovesTheSongAndUndoRestoresIt) {
    SigFixture f;
    const std::uint32_t startTempo = f.song.tempo->getObjID();
    const std::wstring before = f.song.dump();
    // 3/4 at measure 0 takes the head's place: the pre-measure shrinks from 1920 to 1440 ticks.
    ASSERT_EQ(kor::insertTimeSig(f.editor.session(), {0, 3, 4}), 0u);
    EXPECT_EQ(f.partPositions(), (std::vector{1920, 3840, 2400})); // live song untouched
    ASSERT_EQ(f.editor.commit(), 1);
    const std::wstring after = f.song.dump();

    EXPECT_EQ(f.partPositions(), (std::vector{1440, 3360, 1920}));
    // The tempo at the old song start would move before it: dropped.
    EXPECT_EQ(f.tempoPositions(), (std::vector{0, 3360}));
    EXPECT_EQ(f.song.doc.objects().lookup(startTempo), nullptr);
    std::vector<std::uint32_t> flags;
    for (const ZRChangeEntry& change : f.history.entryAt(1).changes())
        flags.push_back(change.flags);
    EXPECT_EQ(flags, (std::vector<std::uint32_t>{0x1C, 0x19, 0x01}));

    ASSERT_EQ(f.undo(), 0u);
    EXPECT_EQ(f.song.dump(), before);
    EXPECT_EQ(f.song.liveTempo(startTempo)->getPosTick(), 1920);
    ASSERT_EQ(f.redo(), 0u);
    EXPECT_EQ(f.song.dump(), after);
}

TEST(TimeSigEdits, SetsThePreMeasureAndListsWhatLiesInside) {
    SigFixture f;
    EXPECT_EQ(kor::setPreMeasure(f.editor.session(), f.masterID, 0), ZR_E_INVALID_PREMEASURE);
    EXPECT_EQ(kor::setPreMeasure(f.editor.session(), f.masterID, 9), ZR_E_INVALID_PREMEASURE);
    EXPECT_EQ(kor::setPreMeasure(f.editor.session(), f.song.track->getObjID(), 2),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    ASSERT_EQ(kor::setPreMeasure(f.editor.session(), f.masterID, 3), 0u); // 1920 to 5760 ticks
    ASSERT_EQ(kor::insertTimeSig(f.editor.session(), {1, 6, 4}),
              0u); // measures 1 and 2 grow to 2880
    ASSERT_EQ(kor::insertTempo(f.editor.session(), {960, 10000}), 0u);
    ASSERT_EQ(f.editor.commit(), 1);

    EXPECT_EQ(f.master().getPreMeasure(), 3);
    EXPECT_EQ(f.partPositions(), (std::vector{1920 + 5760, 3840 + 5760, 2400 + 5760}));
    EXPECT_EQ(f.tempoPositions(), (std::vector{0, 960, 1920 + 5760, 3840 + 5760}));
    std::vector<std::uint32_t> sigIDs{7};
    std::vector<std::uint32_t> tempoIDs;
    ASSERT_EQ(kor::listPreMeasureEvents(f.editor.session(), f.masterID, sigIDs, tempoIDs), 0u);
    EXPECT_EQ(sigIDs, std::vector{f.master().timeSigList()->elementAt(1)->getObjID()});
    EXPECT_EQ(tempoIDs, std::vector{f.master().tempoList()->elementAt(1)->getObjID()});
    const std::uint32_t insideID = sigIDs[0];
    EXPECT_EQ(kor::listPreMeasureEvents(f.editor.session(), 9999, sigIDs, tempoIDs),
              ZR_E_EDIT_TARGET_NOT_FOUND);
    EXPECT_TRUE(sigIDs.empty() && tempoIDs.empty());

    // A pending edit of the musical part's own values keeps its part list from being recorded,
    // so every change that would move the song is taken back whole.
    const std::wstring kept = f.song.dump();
    std::uint32_t error = 0;
    const auto* part = f.song.doc.objects().lookup(f.song.musical->getObjID());
    ASSERT_NE(f.editor.session().recordFor<CZREditMusicalPart>(part, error), nullptr);
    EXPECT_EQ(kor::insertTimeSig(f.editor.session(), {2, 3, 4}), ZR_E_UPDATE_FAILED);
    EXPECT_EQ(kor::insertTimeSig(f.editor.session(), {0, 3, 4}), ZR_E_UPDATE_FAILED);
    EXPECT_EQ(kor::deleteTimeSig(f.editor.session(), insideID), ZR_E_UPDATE_FAILED);
    EXPECT_EQ(kor::setPreMeasure(f.editor.session(), f.masterID, 2), ZR_E_UPDATE_FAILED);
    ASSERT_EQ(f.editor.commit(), 1);
    EXPECT_EQ(f.song.dump(), kept);
}
