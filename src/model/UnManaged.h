// The container of the host's aux records.
#pragma once

#include "model/NodeList.h"
#include "model/ObjectBase.h"

#include <korman/IZRUnManaged.h>

/// Holds the aux list (list type 32) of a sequence as its only child. Created only through
/// createUnManaged, never by type number.
class CZRUnManaged final : public TZRObject<CZRUnManaged, IZRUnManaged> {
public:
    static constexpr ZRObjType kType = ZRObjType::UnManaged;

    explicit CZRUnManaged(std::uint32_t objID)
        : TZRObject(objID) {}

    IZRNodeList* getAuxList() const override;
    CZRNodeList* auxList() const { return auxes_; }
    [[nodiscard]] bool setAuxList(CZRNodeList* list);

private:
    friend class TZRObject<CZRUnManaged, IZRUnManaged>;

    bool copyChildren(const CZRUnManaged& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) { return std::tie(self.auxes_); }

    CZRNodeList* auxes_ = nullptr;
};

namespace kor {

/// Creates an empty container (without a list) under `objID` (ZR_NO_OBJ_ID: a fresh one) in
/// `context`; the container (borrowed) or null.
CZRUnManaged* createUnManaged(const ZRCreateContext& context, std::uint32_t objID);

} // namespace kor
