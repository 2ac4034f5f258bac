// The read interface of one VST plug-in slot of a mixer unit.
#pragma once

#include <korman/IZRKorObject.h>

#include <string>

/// A plug-in slot. An empty slot has the ID "    " (four blanks), an empty name, all numbers 0,
/// getValid() 0 and no parameter values.
class KORMAN_API IZRVstPlugin : public virtual IZRKorObject {
public:
    /// The plug-in ID, 4 to 36 characters in a valid slot.
    virtual const std::wstring& getID() const = 0;
    /// The display name. The references handed out are valid while the slot lives.
    virtual const std::wstring& getName() const = 0;
    /// 1 to 3; 0 marks an empty slot.
    virtual std::int32_t getSDKVersion() const = 0;
    /// The number of parameter values.
    virtual std::int32_t getParamNum() const = 0;
    /// The parameter value at `index`, or 0 for an index not below the number of values.
    virtual std::int32_t getParamValue(std::uint32_t index) const = 0;
    /// The chosen preset, as the host stored it; the library checks no range.
    virtual std::int32_t getPresetNo() const = 0;
    /// The enable switch: 1 on, 0 off, as the host stored it (the setters check no range).
    virtual std::int32_t getEnable() const = 0;
    /// The bypass switch: 1 bypassed, 0 not, as the host stored it (unchecked too).
    virtual std::int32_t getBypass() const = 0;
    /// 1 for a slot that holds a usable plug-in; 0 for an empty or reset slot.
    virtual std::int32_t getValid() const = 0;
};
