// A song document for editor tests: a root and an empty sequence with two tempos, one ZR track
// holding a musical and a prosody part, a WAV part on the sound-effect track, and a host double
// that records the update messages it is asked to send.
#pragma once

#include "edit/CommitHistory.h"
#include "edit/EditorHost.h"
#include "edit/KorEditorIF.h"
#include "support/SongObjects.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

/// Records every update message with the owner value the manager would send along.
struct TestHost final : IZREditorHost {
    struct Message {
        std::uint32_t owner;
        std::vector<std::uint32_t> ids;
        ZRChangeCause cause;
    };
    void notifyObservers(const std::vector<std::uint32_t>& ids,
                         ZRChangeCause cause) noexcept override {
        messages.push_back({owner, ids, cause});
    }
    bool hasMemoryHeadroom(std::uint64_t) override { return headroom; }
    bool hasRoomFor(std::uint64_t) const override {
        ++roomAsked;
        return headroom;
    }
    const wchar_t* errorMessage(std::uint32_t code) const override {
        return code == 0 ? L"OK" : L"failed";
    }
    const kor::VibratoShape* vibratoKind(std::int32_t type) const override {
        const auto found = vibratos.find(type);
        return found != vibratos.end() ? found->second : nullptr;
    }
    const CZRKorDocument* importedDocument() const override { return imported; }
    const kor::VVoiceTable& vvoiceTable() const override { return vvoices; }
    const ZRVVoiceLib& defaultVVoice() const override { return defaultVoice; }

    std::uint32_t owner = 0;
    bool headroom = true;
    mutable int roomAsked = 0; ///< times the rule was asked without giving memory back
    std::vector<Message> messages;
    std::map<std::int32_t, const kor::VibratoShape*> vibratos;
    const CZRKorDocument* imported = nullptr;
    kor::VVoiceTable vvoices;
    ZRVVoiceLib defaultVoice;
};

struct EditSong {
    CZRKorDocument doc;
    CZRSequence* sequence = nullptr;
    CZRMasterTrack* master = nullptr;
    CZRTempo* headTempo = nullptr;
    CZRTempo* tempo = nullptr; ///< at tick 1920
    CZRZRTrack* track = nullptr;
    CZRMusicalPart* musical = nullptr;
    CZRProsodyPart* prosody = nullptr;
    CZRWAVPart* wav = nullptr;
    CZRMusicalNote* note = nullptr; ///< at tick 0 of the musical part

    /// A note of the musical part at `posTick`, linked in position order.
    CZRMusicalNote* addNote(std::int32_t posTick) {
        auto* created = kor::createObject<CZRMusicalNote>(
            doc.context(), ZR_NO_OBJ_ID, ZRMusicalNoteValues{posTick, 480, 60, 64, 0, L"a", {}});
        EXPECT_TRUE(created != nullptr && musical->noteList()->insertSorted(created));
        return created;
    }

    EditSong() {
        const ZRCreateContext context = doc.context();
        auto* root = kor::createObject<CZRKorRoot>(context, ZR_NO_OBJ_ID);
        sequence = kor::buildEmptySequence(context);
        EXPECT_TRUE(root != nullptr && sequence != nullptr && root->setSequence(sequence));
        doc.setRoot(root);
        master = sequence->masterTrack();
        headTempo = kor::createObject<CZRTempo>(context, ZR_NO_OBJ_ID, ZRTempoValues{0, 12000});
        tempo = kor::createObject<CZRTempo>(context, ZR_NO_OBJ_ID, ZRTempoValues{1920, 9000});
        EXPECT_TRUE(master->tempoList()->append(headTempo) && master->tempoList()->append(tempo));

        track = kor::createObject<CZRZRTrack>(context, ZR_NO_OBJ_ID, ZRZRTrackValues{L"T", L"", 0});
        auto* parts = kor::createObject<CZRNodeList>(context, ZR_NO_OBJ_ID);
        parts->setListType(18, -1);
        EXPECT_TRUE(track->setPartList(parts) && sequence->zrTrackList()->append(track));
        musical =
            kor::buildMusicalPart(context, ZRPartValues{1920, 1920, L"M", L""}, {}, ZRVVoiceLib{});
        prosody = kor::createObject<CZRProsodyPart>(context, ZR_NO_OBJ_ID,
                                                    ZRPartValues{3840, 1920, L"P", L""});
        EXPECT_TRUE(parts->append(musical) && parts->append(prosody));
        wav = kor::createObject<CZRWAVPart>(context, ZR_NO_OBJ_ID);
        EXPECT_TRUE(sequence->seTrack()->wavPartList()->append(wav));
        note = addNote(0);
        for (IZRMutableKorObject* part :
             {static_cast<IZRMutableKorObject*>(musical),
              static_cast<IZRMutableKorObject*>(prosody), static_cast<IZRMutableKorObject*>(wav)})
            part->clearEdited();
    }

    /// The live tempo `objID`: after a list record's exchange it is another object than before.
    const CZRTempo* liveTempo(std::uint32_t objID) const {
        return kor::objCast<CZRTempo>(doc.objects().lookup(objID));
    }
    std::wstring dump() const {
        std::wstring out;
        doc.root()->dump(out, 1);
        return out;
    }
    std::vector<std::uint32_t> tempoIDs() const {
        std::vector<std::uint32_t> ids;
        for (const IZRMutableKorObject* t : master->tempoList()->elements())
            ids.push_back(t->getObjID());
        return ids;
    }
    std::vector<std::int32_t> tempoPositions() const {
        std::vector<std::int32_t> positions;
        for (const IZRMutableKorObject* t : master->tempoList()->elements())
            positions.push_back(t->getSortKey());
        return positions;
    }
};

/// Undoes the last commit of `history`, expecting `song` to dump as `before` again, then redoes
/// it, expecting the dump it had when called.
inline void expectUndoAndRedo(const EditSong& song, CZRCommitHistory& history,
                              const std::wstring& before) {
    const std::wstring after = song.dump();
    std::vector<std::uint32_t> ids;
    ASSERT_TRUE(history.undo(ids));
    EXPECT_EQ(song.dump(), before);
    ASSERT_TRUE(history.redo(ids));
    EXPECT_EQ(song.dump(), after);
}
