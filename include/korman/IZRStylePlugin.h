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
    virtual const std::wstring& getID() const = 0;
    virtual const std::wstring& getName() const = 0;
    virtual const std::wstring& getVersion() const = 0;
    virtual IZRNodeList* getPartAttribInfoList() const = 0;
    virtual IZRNodeList* getReservedAttribInfoList() const = 0;
    virtual IZRNodeList* getControlAttribInfoList() const = 0;
    virtual IZRNodeList* getNoteAttribInfoList() const = 0;
    virtual IZRNodeList* getNoteSeqAttribInfoList() const = 0;
};
