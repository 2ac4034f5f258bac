#include "manager/LoadChecks.h"

#include "formats/kor3/Kor3Parser.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/Sequence.h"
#include "model/ZRTrack.h"
#include "support/SongFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The parts of a read song the cases below damage.
struct SongParts {
    CZRSequence* sequence;
    CZRNodeList* parts;
    CZRMusicalPart* part;
    CZRMusicalNote* note;
};

SongParts partsOf(CZRKorDocument& doc) {
    CZRSequence* sequence = doc.root()->sequence();
    auto* track = kor::objCast<CZRZRTrack>(sequence->zrTrackList()->elementAt(0));
    CZRNodeList* parts = track->partList();
    auto* part = kor::objCast<CZRMusicalPart>(parts->elementAt(0));
    return {sequence, parts, part, kor::objCast<CZRMusicalNote>(part->noteList()->elementAt(0))};
}

} // namespace

// The structure check walks the tree once: every object must be held exactly once by the
// container it names as its parent, however deep the repeat or the stray link lies.
TEST(LoadChecks, SoundStructureNeedsEveryObjectHeldOnceByItsParent) {
    struct Case {
        const char* what;
        std::function<bool(SongParts&)> damage;
        bool sound;
    };
    const Case cases[] = {
        {"untouched", [](SongParts&) { return true; }, true},
        {"note listed twice", [](SongParts& s) { return s.part->noteList()->append(s.note); },
         false},
        {"part listed twice, its notes reached twice",
         [](SongParts& s) { return s.parts->append(s.part); }, false},
        {"audio track in both slots",
         [](SongParts& s) { return s.sequence->setKaraokeTrack(s.sequence->seTrack()); }, false},
        {"note naming another parent", [](SongParts& s) { return s.note->setParent(s.sequence); },
         false},
        {"note marked detached", [](SongParts& s) { return s.note->setFlags(ZR_FLAG_DETACHED); },
         false},
    };
    for (const Case& c : cases) {
        const auto doc =
            kor::test::loadSong<Kor3::CZRKor3Parser>(kor::test::testDataPath("kor3/full.korx"));
        SongParts song = partsOf(*doc);
        ASSERT_NE(song.note, nullptr);
        ASSERT_TRUE(c.damage(song)) << c.what;
        EXPECT_EQ(kor::hasSoundStructure(*doc), c.sound) << c.what;
    }
}
