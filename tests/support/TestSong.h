// A valid document in a few lines: an empty sequence from the builder under a root, with VVoices,
// singing tracks (each with its ZR unit) and parts added on request.
#pragma once

#include "support/SongObjects.h"
#include "support/TestLeaf.h"

#include <gtest/gtest.h>

struct TestSong {
    TestDocument doc;
    CZRKorRoot* root = nullptr;
    CZRSequence* sequence = nullptr;

    /// A root and an empty sequence holding VVoice (0, 0).
    TestSong() {
        root = kor::createObject<CZRKorRoot>(doc.context, ZR_NO_OBJ_ID);
        sequence = kor::buildEmptySequence(doc.context);
        EXPECT_TRUE(root != nullptr && sequence != nullptr && root->setSequence(sequence));
        addVVoice(0, 0);
    }

    CZRVVoice* addVVoice(int vBS, int vPC) {
        auto* voice = kor::createObject<CZRVVoice>(
            doc.context, ZR_NO_OBJ_ID, ZRVVoiceValues{vBS, vPC, L"BCNFCY43LB2LZCD4", L"Voice", {}});
        EXPECT_TRUE(sequence->vvoiceList()->append(voice));
        return voice;
    }

    /// A track with an empty part list, and its ZR unit (centre pan, silent send).
    CZRZRTrack* addTrack(int trackNo) {
        auto* track = kor::createObject<CZRZRTrack>(doc.context, ZR_NO_OBJ_ID,
                                                    ZRZRTrackValues{L"Track", L"", trackNo});
        EXPECT_TRUE(track->setPartList(doc.list(18)));
        EXPECT_TRUE(sequence->zrTrackList()->append(track));
        auto* unit = kor::createObject<CZRZRUnit>(doc.context, ZR_NO_OBJ_ID,
                                                  ZRZRUnitValues{trackNo, 0, -898, 0, 0, 0, 64, 0});
        EXPECT_TRUE(sequence->mixer()->zrUnitList()->append(unit));
        return track;
    }

    /// A part from the new-part builder, singing VVoice (0, 0), linked into `track`.
    CZRMusicalPart* addMusicalPart(CZRZRTrack* track, std::int32_t posTick) {
        CZRMusicalPart* part = kor::buildMusicalPart(
            doc.context, ZRPartValues{posTick, 1920, L"Part", L""}, {}, ZRVVoiceLib{});
        EXPECT_TRUE(part != nullptr && track->partList()->insertSorted(part));
        return part;
    }

    std::uint32_t correct(IZRMutableKorObject& obj) { return obj.correct(doc.table, doc.context); }
};
