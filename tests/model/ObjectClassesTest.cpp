// Properties every object class must have, checked on one document that holds an object of each
// class: deep copies, exchange of values, and refusal of other classes.
#include "model/ObjectFactory.h"
#include "support/SongObjects.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A document with at least one object of every class, each carrying non-zero values.
class FullDocument {
public:
    FullDocument() {
        root = kor::createObject<CZRKorRoot>(context, ZR_NO_OBJ_ID);
        CZRSequence* sequence = kor::buildEmptySequence(context);
        EXPECT_TRUE(root != nullptr && sequence != nullptr && root->setSequence(sequence));
        CZRMasterTrack* master = sequence->masterTrack();
        link(master->timeSigList(), make<CZRTimeSig>(ZRTimeSigValues{0, 3, 4}));
        link(master->tempoList(), make<CZRTempo>(ZRTempoValues{0, 9000}));
        link(sequence->vvoiceList(),
             make<CZRVVoice>(ZRVVoiceValues{1, 2, L"BCNFCY43LB2LZCD4", L"Ann", {1, 2, 3, 4, 5}}));
        link(sequence->mixer()->masterUnit()->vstList(0),
             make<CZRVstPlugin>(ZRVstPluginValues{L"ABCD", L"Echo", 2, 2, 1, 1, 0, 1, {3, 4}}));
        link(sequence->mixer()->zrUnitList(),
             make<CZRZRUnit>(ZRZRUnitValues{0, 1, -10, 1, 0, 0, 64, -20}));
        link(sequence->unManaged()->auxList(), kor::createAux(context, ZR_NO_OBJ_ID, {L"k", L"v"}));
        link(sequence->seTrack()->wavPartList(),
             make<CZRWAVPart>(
                 ZRWAVPartValues{{1920, 960, L"se", L"c"}, 44100, 16, 2, L"a.wav", 65536}));

        auto* track = make<CZRZRTrack>(ZRZRTrackValues{L"lead", L"", 0});
        EXPECT_TRUE(track->setPartList(kor::createList(context, ZRObjType::Part)));
        link(sequence->zrTrackList(), track);
        CZRMusicalPart* musical =
            kor::buildMusicalPart(context, {1920, 1920, L"verse", L""}, {}, ZRVVoiceLib{});
        link(track->partList(), musical);
        if (musical != nullptr) fillMusicalPart(*musical);
        auto* prosody = make<CZRProsodyPart>(ZRPartValues{3840, 960, L"talk", L""});
        link(track->partList(), prosody);
        fillProsodyPart(*prosody);
    }

    // The first object of each type, in tree order.
    std::map<ZRObjType, IZRMutableKorObject*> firstOfEachType() {
        std::map<ZRObjType, IZRMutableKorObject*> found;
        collect(root, found);
        return found;
    }

    CZRObjectTable table;
    ZRCreateContext context{table, table};
    CZRKorRoot* root = nullptr;

private:
    template <class T, class Values> T* make(const Values& values) {
        return kor::createObject<T>(context, ZR_NO_OBJ_ID, values);
    }
    CZRNodeList* list(std::int32_t listType, std::int32_t listTypeEx = -1) {
        return kor::createList(context, static_cast<ZRObjType>(listType), listTypeEx);
    }
    void link(CZRNodeList* list, IZRMutableKorObject* obj) {
        ASSERT_TRUE(list != nullptr && obj != nullptr);
        EXPECT_TRUE(list->append(obj));
    }

    void fillMusicalPart(CZRMusicalPart& part) {
        auto* note =
            make<CZRMusicalNote>(ZRMusicalNoteValues{0, 480, 60, 64, 1, L"ka", {L"k", L"a"}});
        auto* style = kor::createObject<CZRNoteStyleAttrib>(context, ZR_NO_OBJ_ID);
        style->setValue(L"accent", 50);
        auto* curves = kor::createObject<CZRNoteStyleSeqAttrib>(context, ZR_NO_OBJ_ID);
        CZRNodeList* depth = list(7, CZRNoteStyleSeqAttrib::kVibDepKind);
        EXPECT_TRUE(note->setNoteStyle(style) && note->setNoteSeqStyle(curves) &&
                    curves->setElementList(L"vibDep", depth));
        link(depth, make<CZRNoteStyleSeqAttribElement>(ZRNoteStyleSeqAttribElementValues{100, 7}));
        link(part.noteList(), note);
        link(part.controlList(0), make<CZRMusicalControl>(ZRMusicalControlValues{240, 0, 90}));
        CZRNodeList* por = kor::findMapList(part.styleControlLists(), L"POR");
        link(por, make<CZRStyleControl>(ZRStyleControlValues{10, L"POR", 30}));
    }

    void fillProsodyPart(CZRProsodyPart& part) {
        CZRNodeList* voices = list(12);
        CZRNodeList* phonemes = list(11);
        CZRNodeList* curve = list(13);
        CZRNodeList* controls = list(14, 2);
        EXPECT_TRUE(part.setVoiceList(voices) && part.setPhonemeList(phonemes) &&
                    part.setElementList(0, curve) && part.setControlList(2, controls));
        link(voices, make<CZRProsodyVoice>(ZRProsodyVoiceValues{0, 1, 2}));
        link(phonemes, make<CZRProsodyPhoneme>(ZRProsodyPhonemeValues{0, 6000, L"o"}));
        link(curve, make<CZRProsodyElement>(ZRProsodyElementValues{0, -40}));
        link(controls, make<CZRProsodyControl>(ZRProsodyControlValues{300, 2, 11}));
    }

    static void collect(IZRMutableKorObject* obj,
                        std::map<ZRObjType, IZRMutableKorObject*>& found) {
        found.emplace(obj->getObjType(), obj);
        std::vector<IZRMutableKorObject*> children;
        obj->getChildren(children);
        for (IZRMutableKorObject* child : children)
            collect(child, found);
    }
};

// A zero-valued object of `type` under `objID` in `context`.
IZRMutableKorObject* blank(const ZRCreateContext& context, std::uint32_t objID, ZRObjType type) {
    switch (type) {
    case ZRObjType::Aux:
        return kor::createAux(context, objID);
    case ZRObjType::UnManaged:
        return kor::createUnManaged(context, objID);
    default:
        return kor::createByType(context, objID, type);
    }
}

std::wstring dumpOf(const IZRMutableKorObject& obj, int recursive) {
    std::wstring out;
    obj.dump(out, recursive);
    return out;
}

// The dump without its own identity block, which names the parent.
std::wstring fieldsOf(const IZRMutableKorObject& obj) {
    const std::wstring dump = dumpOf(obj, 0);
    return dump.substr(dump.find(L"} ") + 2);
}

std::size_t countObjects(const IZRMutableKorObject& obj) {
    std::vector<IZRMutableKorObject*> children;
    obj.getChildren(children);
    std::size_t count = 1;
    for (const IZRMutableKorObject* child : children)
        count += countObjects(*child);
    return count;
}

bool copyable(ZRObjType type) {
    return type != ZRObjType::KorRoot && type != ZRObjType::Sequence && type != ZRObjType::Mixer;
}

} // namespace

TEST(ObjectClasses, ACloneKeepingIDsDumpsLikeTheOriginal) {
    FullDocument doc;
    for (const auto& [type, original] : doc.firstOfEachType()) {
        CZRObjectTable other;
        ZRCreateContext otherContext{other, other};
        const IZRMutableKorObject* copy =
            original->cloneInto(otherContext, ZR_COPY_DEEP | ZR_COPY_KEEP_IDS);
        EXPECT_EQ(copy != nullptr, copyable(type)) << "type " << static_cast<int>(type);
        if (copy == nullptr) {
            EXPECT_EQ(other.size(), 0u) << "type " << static_cast<int>(type);
            continue;
        }

        std::wstring expected = dumpOf(*original, 1);
        const std::wstring parent =
            L"parentObjID=" + std::to_wstring(original->getParent()->getObjID()) + L" }";
        expected.replace(expected.find(parent), parent.size(), L"parentObjID=NULL }");
        EXPECT_EQ(dumpOf(*copy, 1), expected) << "type " << static_cast<int>(type);
        EXPECT_EQ(other.size(), countObjects(*original)) << "type " << static_cast<int>(type);
    }
}

TEST(ObjectClasses, SwapExchangesValuesAndSwappingTwiceRestoresBoth) {
    FullDocument doc;
    CZRObjectTable other;
    ZRCreateContext otherContext{other, other};
    for (const auto& [type, original] : doc.firstOfEachType()) {
        IZRMutableKorObject* zero = blank(otherContext, original->getObjID(), type);
        ASSERT_NE(zero, nullptr) << "type " << static_cast<int>(type);
        const std::wstring originalFields = fieldsOf(*original);
        const std::wstring zeroFields = fieldsOf(*zero);
        const std::wstring originalTree = dumpOf(*original, 1);

        if (!copyable(type)) {
            EXPECT_FALSE(original->swapContents(zero)) << "type " << static_cast<int>(type);
            continue;
        }
        // The sequential note style's dump line names its child lists, which stay in place.
        const bool linesFollowChildren = type == ZRObjType::NoteStyleSeqAttrib;
        ASSERT_TRUE(original->swapContents(zero)) << "type " << static_cast<int>(type);
        EXPECT_EQ(fieldsOf(*original), linesFollowChildren ? originalFields : zeroFields)
            << "type " << static_cast<int>(type);
        EXPECT_EQ(fieldsOf(*zero), linesFollowChildren ? zeroFields : originalFields)
            << "type " << static_cast<int>(type);
        ASSERT_TRUE(zero->swapContents(original));
        EXPECT_EQ(dumpOf(*original, 1), originalTree) << "type " << static_cast<int>(type);
        EXPECT_EQ(fieldsOf(*zero), zeroFields) << "type " << static_cast<int>(type);
    }
}

TEST(ObjectClasses, TheFullDocumentPassesTheRepairWalkAndThenValidates) {
    FullDocument doc;
    const kor::CorrectResult result = kor::correctTree(*doc.root, doc.table, doc.context);
    EXPECT_EQ(result.code, 0u) << std::hex << result.code << " at " << std::dec << result.objID;
    for (const auto& [type, obj] : doc.firstOfEachType())
        EXPECT_EQ(obj->validate(), 0u) << "type " << static_cast<int>(type);
}
