// The root of a song document.
#pragma once

#include "model/ContainerOps.h"
#include "model/Sequence.h"

#include <korman/IZRKorRoot.h>

/// The root of a document: holds the sequence. Never linked under a parent; cannot be copied
/// or exchanged.
class CZRKorRoot final : public TZRObject<CZRKorRoot, IZRKorRoot> {
public:
    static constexpr ZRObjType kType = ZRObjType::KorRoot;
    static constexpr bool kCopyable = false;

    explicit CZRKorRoot(std::uint32_t objID)
        : TZRObject(objID) {}

    IZRSequence* getSequence() const override { return sequence_; }
    CZRSequence* sequence() const { return sequence_; }
    [[nodiscard]] bool setSequence(CZRSequence* sequence) {
        return kor::setChildSlot(sequence_, sequence, this);
    }

    /// ZR_E_INVALID_SEQUENCE without a sequence.
    std::uint32_t validate() const override;
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRKorRoot, IZRKorRoot>;

    template <class Self> static auto childFields(Self& self) { return std::tie(self.sequence_); }

    CZRSequence* sequence_ = nullptr;
};
