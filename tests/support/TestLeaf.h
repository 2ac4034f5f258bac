// A small object class for testing the object core without the document classes.
#pragma once

#include "model/ObjectBase.h"
#include "model/NodeList.h"

/// Read view of the test leaf.
class ITestLeaf : public virtual IZRKorObject {
public:
    virtual std::int32_t getPosTick() const = 0;
};

/// A tempo-like leaf: a position that is its sort key and a value. Its repair answers whatever a
/// test sets in `correctResult`, and counts how often it ran.
class CTestLeaf final : public TZRObject<CTestLeaf, ITestLeaf> {
public:
    static constexpr ZRObjType kType = ZRObjType::Tempo;

    explicit CTestLeaf(std::uint32_t objID, std::int32_t posTick = 0, std::int32_t value = 0)
        : TZRObject(objID)
        , posTick(posTick)
        , value(value) {}

    std::int32_t getPosTick() const override { return posTick; }
    std::int32_t getSortKey() const override { return posTick; }
    std::uint32_t correct(CZRObjectTable&, const ZRCreateContext&) override {
        ++correctCalls;
        return correctResult;
    }

    std::int32_t posTick;
    std::int32_t value;
    std::uint32_t correctResult = 0;
    int correctCalls = 0;

private:
    friend class TZRObject<CTestLeaf, ITestLeaf>;

    void copyValues(const CTestLeaf& source) {
        posTick = source.posTick;
        value = source.value;
    }
    void swapValues(CTestLeaf& other) {
        std::swap(posTick, other.posTick);
        std::swap(value, other.value);
    }
    void dumpFields(std::wstring& out) const {
        kor::appendFormat(out, L" posTick=%d bpm=%d ", posTick, value);
    }
};

/// A document-shaped fixture: one table used as both registry and ID source.
struct TestDocument {
    CZRObjectTable table;
    ZRCreateContext context{table, table};

    CTestLeaf* leaf(std::int32_t posTick, std::int32_t value = 0,
                    std::uint32_t objID = ZR_NO_OBJ_ID) {
        return kor::createObject<CTestLeaf>(context, objID, posTick, value);
    }
    CZRNodeList* list(std::int32_t listType = -1, std::uint32_t objID = ZR_NO_OBJ_ID) {
        auto* created = kor::createObject<CZRNodeList>(context, objID);
        if (created != nullptr) created->setListType(listType, -1);
        return created;
    }
};
