// The read interface of the style values of a note.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>
#include <vector>

/// Note-level style values by attribute ID ("bendDep", "accent", "vibType", ...).
class KORMAN_API IZRNoteStyleAttrib : public virtual IZRKorObject {
public:
    /// True and the value in `value` when `id` is present; false (and `value` untouched) else.
    virtual bool getValue(const std::wstring& id, std::int32_t& value) const = 0;
    /// Replaces `ids` with the attribute IDs in order.
    virtual void getIDs(std::vector<std::wstring>& ids) const = 0;
};
