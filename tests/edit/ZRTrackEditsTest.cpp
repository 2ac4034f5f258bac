#include "edit/ZRTrackEdits.h"

#include "model/Mixer.h"
#include "model/VVoice.h"
#include "model/ZRUnit.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// The edit song with three tracks, "T" (0, holding the musical and the prosody part), "T1" and
// "T2", each with its mixer unit, whose volume is ten times its track number.
struct TrackFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    ZRKorManagementPolicy policy;
    std::unique_ptr<CZRKorEditorIF> editor;
    std::vector<std::uint32_t> tracks{song.track->getObjID()};

    TrackFixture() {
        const ZRCreateContext context = song.doc.context();
        auto* vvoice = kor::createObject<CZRVVoice>(
            context, ZR_NO_OBJ_ID, ZRVVoiceValues{0, 0, L"0123456789ABCDEF", L"v", {}});
        EXPECT_TRUE(vvoice != nullptr && song.sequence->vvoiceList()->append(vvoice));
        for (std::int32_t n = 0; n < 3; ++n) {
            if (n > 0) {
                CZRZRTrack* track = kor::buildZRTrack(context, {L"T" + std::to_wstring(n), L"", n});
                EXPECT_TRUE(track != nullptr && song.sequence->zrTrackList()->append(track));
                tracks.push_back(track->getObjID());
            }
            CZRZRUnit* unit = kor::buildZRUnit(context, n);
            unit->values().vol = 10 * n;
            EXPECT_TRUE(song.sequence->mixer()->zrUnitList()->append(unit));
        }
        restart();
    }
    CZRKorEditorIF& restart() {
        editor = std::make_unique<CZRKorEditorIF>(host, policy, song.doc, history);
        return *editor;
    }
    std::uint32_t trackList() const { return song.sequence->zrTrackList()->getObjID(); }
};

} // namespace

TEST(ZRTrackEdits, RefusesBadNumbersSourcesAndTexts) {
    TrackFixture f;
    const std::wstring longText(kor::kMaxTrackTextLength + 1, L'x');
    const std::uint32_t list = f.trackList();
    const std::uint32_t part = f.song.musical->getObjID();
    const struct {
        std::uint32_t got, expected;
    } rows[] = {
        {kor::moveZRTrack(f.editor->session(), f.tracks[1], -1), ZR_E_INVALID_TRACK_ID},
        {kor::moveZRTrack(f.editor->session(), f.tracks[1], 16), ZR_E_INVALID_TRACK_ID},
        {kor::moveZRTrack(f.editor->session(), part, 0), ZR_E_EDIT_TARGET_NOT_FOUND},
        {kor::insertZRTrack(f.editor->session(), list, 16, L"", L""), ZR_E_INVALID_TRACK_ID},
        {kor::insertZRTrack(f.editor->session(), part, 0, L"", L""), ZR_E_EDIT_TARGET_NOT_FOUND},
        {kor::insertZRTrack(f.editor->session(), list, 0, L"", longText), ZR_E_INVALID_TRACK_VALUE},
        {kor::updateZRTrack(f.editor->session(), f.tracks[1], longText, L""),
         ZR_E_INVALID_TRACK_VALUE},
        {kor::copyZRTrack(f.editor->session(), list, 0, 9999, L""), ZR_E_COPY_SOURCE_NOT_FOUND},
        {kor::copyZRTrack(f.editor->session(), list, 0, part, L""), ZR_E_EDIT_TARGET_WRONG_TYPE},
        {kor::importZRTrack(f.editor->session(), list, 0, f.tracks[1]),
         ZR_E_IMPORT_SOURCE_NOT_FOUND},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.got, row.expected);
    EXPECT_TRUE(f.editor->session().pending().empty());

    // Checked on the lists as this editor leaves them.
    EXPECT_EQ(kor::moveZRTrack(f.editor->session(), f.tracks[1], 1), ZR_E_INVALID_TRACK_ID);
    EXPECT_EQ(kor::moveZRTrack(f.editor->session(), f.tracks[1], 3), ZR_E_INVALID_TRACK_ID);
    ASSERT_EQ(kor::deleteZRTrack(f.editor->session(), f.tracks[1]), 0u);
    EXPECT_EQ(kor::moveZRTrack(f.editor->session(), f.tracks[2], 2), ZR_E_INVALID_TRACK_ID);
    ASSERT_EQ(kor::deleteZRTrack(f.editor->session(), f.tracks[0]), 0u);
    EXPECT_EQ(kor::deleteZRTrack(f.editor->session(), f.tracks[2]), ZR_E_INVALID_TRACK_NUMBER);
    EXPECT_EQ(kor::copyZRTrack(f.editor->session(), list, 0, f.tracks[0], L""),
              ZR_E_COPY_SOURCE_NOT_FOUND);
    // An update of a track goes into the pending track list record.
    EXPECT_EQ(kor::updateZRTrack(f.editor->session(), f.tracks[2], L"", L""), 0u);

    f.policy.maxZRTracks = 3;
    EXPECT_EQ(kor::insertZRTrack(f.restart().session(), list, -1, L"", L""),
              ZR_E_INVALID_TRACK_NUMBER);
    EXPECT_EQ(kor::moveZRTrack(f.editor->session(), f.tracks[0], 3), ZR_E_INVALID_TRACK_ID);
    ASSERT_TRUE(f.song.sequence->setMixer(nullptr));
    EXPECT_EQ(kor::deleteZRTrack(f.restart().session(), f.tracks[1]), ZR_E_NO_MIXER);
    ASSERT_TRUE(f.song.doc.root()->setSequence(nullptr));
    EXPECT_EQ(kor::updateZRTrack(f.editor->session(), f.tracks[1], L"", L""), ZR_E_NO_SEQUENCE);
}
