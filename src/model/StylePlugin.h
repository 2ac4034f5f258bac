// The synthesis style of a musical part.
#pragma once

#include "model/NodeList.h"
#include "model/ObjectBase.h"
#include "platform/XmlChars.h"

#include <korman/IZRStylePlugin.h>

#include <array>
#include <string>

/// Initial values of a style plug-in.
struct ZRStylePluginValues {
    std::wstring id;
    std::wstring name;
    std::wstring version;
};

/// A style plug-in: ID, name, version and five attribute info lists (list type 16), held as
/// child fields in the order of StylePluginList. It has no checks of its own.
class CZRStylePlugin final : public TZRObject<CZRStylePlugin, IZRStylePlugin> {
public:
    static constexpr ZRObjType kType = ZRObjType::StylePlugin;

    /// The five attribute info lists, in child order.
    enum class InfoList : std::size_t { Part, Reserved, Control, Note, NoteSeq };
    static constexpr std::size_t kInfoLists = 5;

    explicit CZRStylePlugin(std::uint32_t objID, ZRStylePluginValues values = {})
        : TZRObject(objID)
        , values_(std::move(values)) {}

    const std::wstring& getID() const override { return values_.id; }
    const std::wstring& getName() const override { return values_.name; }
    const std::wstring& getVersion() const override { return values_.version; }
    IZRNodeList* getPartAttribInfoList() const override { return infoList(InfoList::Part); }
    IZRNodeList* getReservedAttribInfoList() const override { return infoList(InfoList::Reserved); }
    IZRNodeList* getControlAttribInfoList() const override { return infoList(InfoList::Control); }
    IZRNodeList* getNoteAttribInfoList() const override { return infoList(InfoList::Note); }
    IZRNodeList* getNoteSeqAttribInfoList() const override { return infoList(InfoList::NoteSeq); }

    CZRNodeList* infoList(InfoList which) const { return lists_[static_cast<std::size_t>(which)]; }
    [[nodiscard]] bool setInfoList(InfoList which, CZRNodeList* list);

    void setID(std::wstring id) { values_.id = kor::platform::storedText(std::move(id)); }
    void setName(std::wstring name) { values_.name = kor::platform::storedText(std::move(name)); }
    void setVersion(std::wstring version) {
        values_.version = kor::platform::storedText(std::move(version));
    }

private:
    friend class TZRObject<CZRStylePlugin, IZRStylePlugin>;

    void copyValues(const CZRStylePlugin& source) { values_ = source.values_; }
    void swapValues(CZRStylePlugin& other) { std::swap(values_, other.values_); }
    bool copyChildren(const CZRStylePlugin& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) { return std::tie(self.lists_); }
    void dumpFields(std::wstring& out) const;

    ZRStylePluginValues values_;
    std::array<CZRNodeList*, kInfoLists> lists_{};
};
