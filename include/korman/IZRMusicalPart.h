// The read interface of a part of sung notes.
#pragma once

#include <korman/IZRNodeList.h>
#include <korman/IZRPart.h>

#include <string>
#include <vector>

class IZRStylePlugin;
class IZRPartStyleAttrib;

/// A musical part: its style plug-in and part style, singers, notes, the seven musical control
/// lists and the style control lists kept by ID. Pointers are borrowed, null when missing.
class KORMAN_API IZRMusicalPart : public IZRPart {
public:
    /// The synthesis style the part uses, with its attribute descriptions.
    virtual IZRStylePlugin* getStylePlugin() const = 0;
    /// The part-level style values by attribute ID.
    virtual IZRPartStyleAttrib* getPartStyle() const = 0;
    /// The singer changes (list type 8), ordered by tick relative to the part's start; the first
    /// stands at tick 0.
    virtual IZRNodeList* getSingerList() const = 0;
    /// The notes (list type 4), ordered by their start tick relative to the part's start.
    virtual IZRNodeList* getNoteList() const = 0;
    /// The list of musical control type `type`; null for types outside 0 to 6.
    virtual IZRNodeList* getControlList(std::int32_t type) const = 0;
    /// The phrase style list under `id`, or null.
    virtual IZRNodeList* getPhraseStyleList(const std::wstring& id) const = 0;
    /// Replaces `ids` with the phrase style IDs in order.
    virtual void getPhraseStyleIDs(std::vector<std::wstring>& ids) const = 0;
    /// The style control list under `id`, or null.
    virtual IZRNodeList* getStyleControlList(const std::wstring& id) const = 0;
    /// Replaces `ids` with the style control IDs in order.
    virtual void getStyleControlIDs(std::vector<std::wstring>& ids) const = 0;
};
