// An aux record: text the host keeps in a song.
#pragma once

#include "model/ValueObject.h"

#include <korman/IZRAux.h>

#include <string>

/// Initial values of an aux record.
struct ZRAuxValues {
    std::wstring id;
    std::wstring content;
};

/// An aux record of the unmanaged container's list. Neither text is checked. Aux records are
/// created only through createAux, never by type number.
class CZRAux final : public TZRValueObject<CZRAux, IZRAux, ZRAuxValues> {
public:
    static constexpr ZRObjType kType = ZRObjType::Aux;
    /// The longest ID a song file keeps; the content has no limit.
    static constexpr std::size_t kMaxIDLength = 256;

    using TZRValueObject::TZRValueObject;

    const std::wstring& getID() const override { return values().id; }
    const std::wstring& getContent() const override { return values().content; }
    /// The list keeps records in the order they were added; the key (the ID's length) orders
    /// nothing.
    std::int32_t getSortKey() const override {
        return static_cast<std::int32_t>(values().id.size());
    }

private:
    friend class TZRObject<CZRAux, IZRAux>;

    void dumpFields(std::wstring& out) const;
};

namespace kor {

/// Creates an aux record with `values` under `objID` (ZR_NO_OBJ_ID: a fresh one) in `context`;
/// the record (borrowed) or null.
CZRAux* createAux(const ZRCreateContext& context, std::uint32_t objID,
                  const ZRAuxValues& values = {});

} // namespace kor
