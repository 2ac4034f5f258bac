// The read interface of the style curves of a note.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

#include <string>
#include <vector>

/// Curves over the length of a note by attribute ID ("vibDep", "vibRate"): each ID holds a list
/// of curve points (list type 7) ordered by their normalised position.
class KORMAN_API IZRNoteStyleSeqAttrib : public virtual IZRKorObject {
public:
    /// The point list of `id` (borrowed), or null when there is none or `id` is null.
    virtual IZRNodeList* getElementList(const wchar_t* id) const = 0;
    /// Replaces `ids` with the attribute IDs in order.
    virtual void getIDs(std::vector<std::wstring>& ids) const = 0;
};
