// The read interface of the synthesis style of a musical part.
#pragma once

#include <korman/IZRKorObject.h>
#include <korman/IZRNodeList.h>

#include <string>

/// The style plug-in a musical part uses, with five lists of attribute descriptions
/// (IZRStylePluginAttribInfo): part attributes, a reserved list, style controls, note
/// attributes and sequential note attributes.
class KORMAN_API IZRStylePlugin : public virtual IZRKorObject {
public:
    /// The style's ID (a GUID text). The references below are valid while the plug-in lives.
    virtual const std::wstring& getID() const = 0;
    /// The style's display name.
    virtual const std::wstring& getName() const = 0;
    /// The style's version text ("3.0.0.1").
    virtual const std::wstring& getVersion() const = 0;
    /// The part attributes (list type 16), or null.
    virtual IZRNodeList* getPartAttribInfoList() const = 0;
    /// The reserved attribute list (list type 16; empty in the default style), or null.
    virtual IZRNodeList* getReservedAttribInfoList() const = 0;
    /// The style control attributes (list type 16), or null.
    virtual IZRNodeList* getControlAttribInfoList() const = 0;
    /// The note attributes (list type 16), or null.
    virtual IZRNodeList* getNoteAttribInfoList() const = 0;
    /// The sequential note attributes, the curves over a note (list type 16), or null.
    virtual IZRNodeList* getNoteSeqAttribInfoList() const = 0;
};
