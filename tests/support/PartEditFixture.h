// An editor over the edit test song set up for part edits: a 4/4 signature (the pre-measure area
// ends at tick 1920), a musical part B at 3840 behind part A (1920, a note at 0) on the same
// track, and the VVoice (1, 0) in the song's VVoice table.
#pragma once

#include "support/SongObjects.h"
#include "support/EditSong.h"

#include <memory>
#include <string>

struct PartEditFixture {
    EditSong song;
    TestHost host;
    CZRCommitHistory history{-1};
    ZRKorManagementPolicy policy;
    std::unique_ptr<CZRKorEditorIF> editor;
    CZRMusicalPart* a = song.musical;
    CZRMusicalPart* b = kor::buildMusicalPart(song.doc.context(), {3840, 1920, L"B", L""}, {}, {});
    std::uint32_t aID = a->getObjID();
    std::uint32_t bID = b->getObjID();
    std::uint32_t partList = song.track->partList()->getObjID();

    PartEditFixture() {
        const ZRCreateContext context = song.doc.context();
        auto* sig = kor::createObject<CZRTimeSig>(context, ZR_NO_OBJ_ID, ZRTimeSigValues{0, 4, 4});
        auto* voice = kor::createObject<CZRVVoice>(
            context, ZR_NO_OBJ_ID, ZRVVoiceValues{1, 0, L"FAKE0000VOICE001", L"Soprano", {}});
        EXPECT_TRUE(song.master->timeSigList()->append(sig) &&
                    song.sequence->vvoiceList()->append(voice) &&
                    song.track->partList()->append(b));
        take();
    }
    void take() { editor = std::make_unique<CZRKorEditorIF>(host, policy, song.doc, history); }

    /// Adds an event with `values` to the live `list`.
    template <class Event, class Values> void add(CZRNodeList* list, Values values) {
        auto* event = kor::createObject<Event>(song.doc.context(), ZR_NO_OBJ_ID, std::move(values));
        ASSERT_TRUE(event != nullptr && list->insertSorted(event));
    }
    void note(CZRMusicalPart* part, std::int32_t pos) {
        add<CZRMusicalNote>(part->noteList(), ZRMusicalNoteValues{pos, 240, 60, 64, 0, L"a", {}});
    }
    void control(CZRMusicalPart* part, std::int32_t type, std::int32_t pos, std::int32_t value) {
        add<CZRMusicalControl>(part->controlList(type), ZRMusicalControlValues{pos, type, value});
    }
    /// Adds a style control, making its list when the part has none of that name.
    void style(CZRMusicalPart* part, const std::wstring& id, std::int32_t pos) {
        if (!part->styleControlLists().contains(id)) {
            auto* list = kor::createObject<CZRNodeList>(song.doc.context(), ZR_NO_OBJ_ID);
            list->setListType(10, 0);
            ASSERT_TRUE(part->setStyleControlList(id, list));
        }
        add<CZRStyleControl>(part->styleControlLists().at(id), ZRStyleControlValues{pos, id, 1});
    }

    /// The code an editor operation left, checked against its result.
    std::uint32_t codeOf(int result) const {
        EXPECT_EQ(result != 0, editor->getLastError() == 0);
        return editor->getLastError();
    }

    /// The live musical part `objID` (a list record's commit replaces the part objects).
    const CZRMusicalPart* live(std::uint32_t objID) const {
        return kor::objCast<CZRMusicalPart>(song.doc.objects().lookup(objID));
    }
    static std::vector<std::int32_t> keys(const CZRNodeList* list) {
        std::vector<std::int32_t> out;
        for (const IZRMutableKorObject* element : list->elements())
            out.push_back(element->getSortKey());
        return out;
    }

    /// Commits; undo must give back the exact tree from before (same IDs, same values) and redo
    /// the edited one.
    void commitUndoRedo() {
        const std::wstring before = song.dump();
        ASSERT_EQ(editor->commit(), 1);
        const std::wstring after = song.dump();
        ASSERT_NE(after, before);
        ASSERT_EQ(kor::undoAndNotify(history, host), 0u);
        EXPECT_EQ(song.dump(), before);
        ASSERT_EQ(kor::redoAndNotify(history, host), 0u);
        EXPECT_EQ(song.dump(), after);
    }
};
