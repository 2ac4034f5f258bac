// The read interface of the style attribute values of a musical part.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>
#include <vector>

/// Part-level style values by attribute ID (1 to 256 characters).
class KORMAN_API IZRPartStyleAttrib : public virtual IZRKorObject {
public:
    /// True and the value in `value` when `id` is present; false (and `value` untouched) else.
    virtual bool getValue(const std::wstring& id, std::int32_t& value) const = 0;
    /// Replaces `ids` with the attribute IDs in order.
    virtual void getIDs(std::vector<std::wstring>& ids) const = 0;
};
