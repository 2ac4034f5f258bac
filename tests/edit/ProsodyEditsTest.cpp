#include "edit/ProsodyEdits.h"

#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyVoice.h"
#include "model/VVoice.h"
#include "support/EditSong.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr std::int32_t kSecond = 65536;
constexpr std::int32_t kPitch = 5;

// The prosody part of the edit song with two voices, two points of its first curve and one
// pitch control; the sequence knows the voices (0, 0) and (1, 2).
struct ProsodyFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    CZRKorEditorIF editor{host, ZRKorManagementPolicy{}, song.doc, history};
    CZRNodeList* voices = list(12, -1);
    CZRNodeList* curve = list(13, -1);
    CZRNodeList* pitch = list(14, kPitch);
    std::uint32_t headVoice = add<CZRProsodyVoice>(voices, ZRProsodyVoiceValues{0, 0, 0});
    std::uint32_t voice = add<CZRProsodyVoice>(voices, ZRProsodyVoiceValues{kSecond, 1, 2});
    std::uint32_t headPoint = add<CZRProsodyElement>(curve, ZRProsodyElementValues{0, 10});
    std::uint32_t point = add<CZRProsodyElement>(curve, ZRProsodyElementValues{kSecond, 20});
    std::uint32_t control =
        add<CZRProsodyControl>(pitch, ZRProsodyControlValues{kSecond, kPitch, 7});

    ProsodyFixture() {
        for (const auto& [vBS, vPC] : {std::pair{0, 0}, std::pair{1, 2}}) {
            auto* vvoice = kor::createObject<CZRVVoice>(
                song.doc.context(), ZR_NO_OBJ_ID,
                ZRVVoiceValues{vBS, vPC, L"0123456789ABCDEF", L"v", {}});
            EXPECT_TRUE(vvoice != nullptr && song.sequence->vvoiceList()->append(vvoice));
        }
        EXPECT_TRUE(song.prosody->setVoiceList(voices) && song.prosody->setElementList(0, curve) &&
                    song.prosody->setControlList(kPitch, pitch));
        song.prosody->clearEdited();
    }

    CZRNodeList* list(std::int32_t type, std::int32_t kind) {
        auto* created = kor::createObject<CZRNodeList>(song.doc.context(), ZR_NO_OBJ_ID);
        created->setListType(type, kind);
        return created;
    }
    template <class T, class Values> std::uint32_t add(CZRNodeList* to, Values values) {
        T* created = kor::createObject<T>(song.doc.context(), ZR_NO_OBJ_ID, values);
        EXPECT_TRUE(created != nullptr && to->append(created));
        return created->getObjID();
    }
};

} // namespace

TEST(ProsodyEdits, RefusesBadValuesHeadMovesAndDuplicates) {
    ProsodyFixture f;
    const struct {
        std::uint32_t got, expected;
    } rows[] = {
        {kor::moveProsodyVoice(f.editor.session(), f.voice, {-1, 0, 0}),
         ZR_E_INVALID_PROSODY_VOICE_POSITION},
        {kor::updateProsodyVoice(f.editor.session(), f.voice, {0, 3, 3}), ZR_E_VVOICE_NOT_FOUND},
        {kor::insertProsodyVoice(f.editor.session(), f.curve->getObjID(), {0, 0, 0}),
         ZR_E_EDIT_TARGET_NOT_FOUND},
        {kor::moveProsodyElement(f.editor.session(), f.point, {-1, 0}),
         ZR_E_INVALID_PROSODY_ELEMENT_POSITION},
        {kor::updateProsodyControl(f.editor.session(), f.control, {0, 4, 1}),
         ZR_E_INVALID_PROSODY_CONTROL_ID},
        {kor::insertProsodyControl(f.editor.session(), f.pitch->getObjID(), {0, 7, 1}),
         ZR_E_INVALID_PROSODY_CONTROL_ID},
        {kor::moveProsodyControl(f.editor.session(), f.control, {-5, kPitch, 1}),
         ZR_E_INVALID_PROSODY_CONTROL_POSITION},
        {kor::deleteProsodyElement(f.editor.session(), f.voice), ZR_E_EDIT_TARGET_NOT_FOUND},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.got, row.expected);
    EXPECT_TRUE(f.editor.session().pending().empty());

    EXPECT_EQ(kor::moveProsodyVoice(f.editor.session(), f.voice, {0, 1, 2}),
              ZR_E_PROSODY_VOICES_ARE_DUPLICATED);
    EXPECT_EQ(kor::moveProsodyVoice(f.editor.session(), f.headVoice, {kSecond / 2, 0, 0}),
              ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED);
    EXPECT_EQ(kor::moveProsodyElement(f.editor.session(), f.headPoint, {kSecond / 2, 10}),
              ZR_E_HEAD_EVENT_UPDATE_NOT_ALLOWED);
    EXPECT_EQ(kor::moveProsodyElement(f.editor.session(), f.point, {0, 10}),
              ZR_E_PROSODY_ELEMENTS_ARE_DUPLICATED);
    // Controls have no head event: the one at 0 may move.
    ASSERT_EQ(kor::insertProsodyControl(f.editor.session(), f.pitch->getObjID(), {0, kPitch, 1}),
              0u);
    EXPECT_EQ(kor::moveProsodyControl(f.editor.session(), f.control, {0, kPitch, 1}),
              ZR_E_PROSODY_CONTROLS_ARE_DUPLICATED);
}

TEST(ProsodyEdits, NameTheRefusedValueAndWhatItBreaks) {
    ProsodyFixture f;
    const std::wstring pitchList = std::to_wstring(f.pitch->getObjID());
    const struct {
        std::function<int()> call;
        std::wstring message;
    } rows[] = {
        {[&] {
             return f.editor.moveProsodyVoice(f.voice, {-1, 0, 0});
         },
         L"failed Prosody voice position -1 is below 0 (65536 is one second)."},
        {[&] {
             return f.editor.updateProsodyVoice(f.voice, {0, 3, 3});
         },
         L"failed The song has no VVoice with bank select 3 and program change 3."},
        {[&] {
             return f.editor.insertProsodyControl(f.pitch->getObjID(), {0, 7, 1});
         },
         L"failed Prosody control kind 7 is outside 0\u20136."},
        {[&] {
             return f.editor.updateProsodyControl(f.control, {0, 4, 1});
         },
         L"failed Prosody control kind 4 is not the kind 5 of the list " + pitchList + L"."},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.call(), 0);
        EXPECT_EQ(std::wstring(f.editor.getLastErrorMessage()), row.message);
    }
}
