// The record of fields that every part shares, embedded by each part class as its core.
#pragma once

#include "model/ObjectBase.h"
#include "platform/XmlChars.h"

#include <korman/IZRPart.h>

class CZRNodeList;

#include <string>

/// Initial values of the shared part fields.
struct ZRPartValues {
    std::int32_t posTick = 0;
    std::int32_t playTime = 0;
    std::wstring name;
    std::wstring comment;
};

/// The shared part fields (type 18). A part class embeds one in place of a bare core and gives it
/// its own type number, so the inner record's identity is the part's identity. Never stands
/// alone in a tree and is never created by type.
class CZRPart final : public TZRObject<CZRPart, IZRPart> {
public:
    static constexpr ZRObjType kType = ZRObjType::Part;
    static constexpr std::int32_t kMinPlayTime = 60;

    explicit CZRPart(std::uint32_t objID, ZRPartValues values = {})
        : TZRObject(objID)
        , values_(std::move(values)) {}
    /// The core of a part class: built as type 18, then given the part class's `type`.
    CZRPart(std::uint32_t objID, ZRObjType type)
        : TZRObject(objID) {
        setObjType(type);
    }

    std::int32_t getPosTick() const override { return values_.posTick; }
    std::int32_t getPlayTime() const override { return values_.playTime; }
    std::int32_t getDurTick() const override { return durTick_; }
    const std::wstring& getName() const override { return values_.name; }
    const std::wstring& getComment() const override { return values_.comment; }

    void setValues(ZRPartValues values) {
        values_ = std::move(values);
        kor::platform::makeStoredText(values_.name);
        kor::platform::makeStoredText(values_.comment);
    }
    void setPosTick(std::int32_t posTick) { values_.posTick = posTick; }
    void setPlayTime(std::int32_t playTime) { values_.playTime = playTime; }
    void setDurTick(std::int32_t durTick) { durTick_ = durTick; }
    void setName(std::wstring name) { values_.name = kor::platform::storedText(std::move(name)); }
    void setComment(std::wstring comment) {
        values_.comment = kor::platform::storedText(std::move(comment));
    }

    /// Position, then play time.
    std::uint32_t validate() const override;
    /// Raises a short play time to 60 (still reporting 0); a negative position is unrepairable.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;
    std::int32_t getSortKey() const override { return values_.posTick; }

    /// Appends " posTick=%d playTime=%d durTick=%d", then " durSec=%d" when `durSec` is given,
    /// then " name=%s comment=%s" (no closing blank).
    void dumpPartLine(std::wstring& out, const std::int32_t* durSec) const;

private:
    friend class TZRObject<CZRPart, IZRPart>;

    void copyValues(const CZRPart& source);
    void swapValues(CZRPart& other);
    void dumpFields(std::wstring& out) const;

    ZRPartValues values_;
    std::int32_t durTick_ = 0;
};

namespace kor {

/// True for the three part classes (musical, prosody, WAV).
bool isPartType(ZRObjType type);

/// ZR_E_PART_IS_NULL when an element of `list` (null: none) is not a part, else 0.
std::uint32_t checkPartList(const CZRNodeList* list);

} // namespace kor

/// Base of the three part classes: forwards the shared part reads to the embedded CZRPart, runs
/// its checks first, and recomputes the derived length (Derived::updateDerivedLength) before the
/// edited mark is cleared.
template <class Derived, class ReadInterface>
class TZRPart : public TZRObject<Derived, ReadInterface, CZRPart> {
    using Base = TZRObject<Derived, ReadInterface, CZRPart>;

public:
    std::int32_t getPosTick() const override { return part().getPosTick(); }
    std::int32_t getPlayTime() const override { return part().getPlayTime(); }
    std::int32_t getDurTick() const override { return part().getDurTick(); }
    const std::wstring& getName() const override { return part().getName(); }
    const std::wstring& getComment() const override { return part().getComment(); }
    std::int32_t getSortKey() const override { return part().getPosTick(); }

    /// The shared fields, for the readers and the editor.
    CZRPart& part() { return Base::core(); }
    const CZRPart& part() const { return Base::core(); }

    void clearEdited() override {
        static_cast<Derived*>(this)->updateDerivedLength();
        Base::clearEdited();
    }

protected:
    explicit TZRPart(std::uint32_t objID, ZRPartValues values)
        : Base(objID) {
        part().setValues(std::move(values));
    }
};
