// The style curves of a note.
#pragma once

#include "model/ContainerOps.h"
#include "model/ObjectBase.h"

#include <korman/IZRNoteStyleSeqAttrib.h>

#include <string>

/// Curves over a note by attribute ID: each ID (1 to 256 characters) holds a point list (list
/// type 7; "vibDep" with sub-kind 10, "vibRate" with 11) whose children are
/// CZRNoteStyleSeqAttribElement points. The lists are its children, in ID order.
class CZRNoteStyleSeqAttrib final : public TZRObject<CZRNoteStyleSeqAttrib, IZRNoteStyleSeqAttrib> {
public:
    static constexpr ZRObjType kType = ZRObjType::NoteStyleSeqAttrib;
    static constexpr std::size_t kMaxIDLength = 256;
    /// The list sub-kinds of the two curves in use.
    static constexpr std::int32_t kVibDepKind = 10;
    static constexpr std::int32_t kVibRateKind = 11;

    explicit CZRNoteStyleSeqAttrib(std::uint32_t objID)
        : TZRObject(objID) {}

    IZRNodeList* getElementList(const wchar_t* id) const override;
    void getIDs(std::vector<std::wstring>& ids) const override;

    const kor::ListMap& lists() const { return lists_; }
    /// The point list of `id` (borrowed), or null.
    CZRNodeList* elementList(std::wstring_view id) const { return kor::findMapList(lists_, id); }
    /// Links `list` as the point list of `id`; null removes the entry. The list it replaces is
    /// detached.
    [[nodiscard]] bool setElementList(const std::wstring& id, CZRNodeList* list);

    /// Per ID in order: the ID's length, then its points (each a point, positions never equal to
    /// the one before).
    std::uint32_t validate() const override;
    /// A bad ID or a list entry that is not a point is unrepairable; points repeating the
    /// position of the one kept before them, or outside 0 to 65536, are removed and destroyed.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

private:
    friend class TZRObject<CZRNoteStyleSeqAttrib, IZRNoteStyleSeqAttrib>;

    bool copyChildren(const CZRNoteStyleSeqAttrib& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) { return std::tie(self.lists_); }
    void dumpFields(std::wstring& out) const;

    kor::ListMap lists_;
};
