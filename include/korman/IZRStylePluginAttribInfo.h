// The read interface of the description of one style attribute of a style plug-in.
#pragma once

#include <korman/IZRKorObject.h>

#include <cstdint>
#include <string>

/// The numbers that bound an attribute: smallest, largest and default value.
struct ZRStyleAttribRange {
    /// The smallest value.
    std::int32_t minValue = 0;
    /// The largest value.
    std::int32_t maxValue = 0;
    /// The value an attribute takes when none is given.
    std::int32_t defaultValue = 0;
    /// Carried and written unchanged; no meaning.
    std::int32_t reserved = 0;
};

/// One entry of an attribute's option list; carried, copied and written unchanged.
struct ZRStyleAttribEntry {
    /// Nine numbers the library keeps without reading them.
    std::int32_t data[9] = {};
};
static_assert(sizeof(ZRStyleAttribEntry) == 36);

/// Attribute type numbers (getTypeID).
inline constexpr std::int32_t ZR_STYLE_ATTRIB_INTEGER = 0; ///< a value within the range
inline constexpr std::int32_t ZR_STYLE_ATTRIB_SWITCH = 1;  ///< 0 or 1
inline constexpr std::int32_t ZR_STYLE_ATTRIB_CHOICE = 2;  ///< one of a numbered set

/// The description of a style attribute: its ID, type, the range of its values (getValueRange)
/// and the range an editor offers (getEditRange), and an optional list of entries.
class KORMAN_API IZRStylePluginAttribInfo : public virtual IZRKorObject {
public:
    /// The attribute ID, 1 to 256 characters.
    virtual const std::wstring& getAttribID() const = 0;
    /// One of ZR_STYLE_ATTRIB_INTEGER, _SWITCH, _CHOICE.
    virtual std::int32_t getTypeID() const = 0;
    /// The range of the attribute's values (borrowed, valid while the object lives).
    virtual const ZRStyleAttribRange* getValueRange() const = 0;
    /// The range an editor offers (borrowed, valid while the object lives).
    virtual const ZRStyleAttribRange* getEditRange() const = 0;
    /// The number of entries in the option list.
    virtual std::uint32_t getEntryCount() const = 0;
    /// The entry at `index` (borrowed), or null when `index` is not below getEntryCount().
    virtual const ZRStyleAttribEntry* getEntry(std::uint32_t index) const = 0;
};
