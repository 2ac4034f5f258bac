// A part of sung notes with its style, singers and controls.
#pragma once

#include "model/ContainerOps.h"
#include "model/Part.h"
#include "model/PartStyleAttrib.h"
#include "model/StylePlugin.h"

#include <korman/IZRMusicalPart.h>

#include <utility>

/// A musical part (type 19). Children, each optional: the style plug-in, the part style, the
/// singer list (list type 8), the note list (4), seven musical control lists (9, sub-kind = the
/// control type) and two maps of style control lists (10) by ID: phrase styles and style
/// controls. Its tick length is the end of its last event.
class CZRMusicalPart final : public TZRPart<CZRMusicalPart, IZRMusicalPart> {
public:
    static constexpr ZRObjType kType = ZRObjType::MusicalPart;
    static constexpr std::int32_t kControlTypes = 7;

    explicit CZRMusicalPart(std::uint32_t objID, ZRPartValues values = {})
        : TZRPart(objID, std::move(values)) {}

    IZRStylePlugin* getStylePlugin() const override { return stylePlugin_; }
    IZRPartStyleAttrib* getPartStyle() const override { return partStyle_; }
    IZRNodeList* getSingerList() const override { return singers_; }
    IZRNodeList* getNoteList() const override { return notes_; }
    IZRNodeList* getControlList(std::int32_t type) const override { return controlList(type); }
    IZRNodeList* getPhraseStyleList(const std::wstring& id) const override {
        return kor::findMapList(phraseStyles_, id);
    }
    void getPhraseStyleIDs(std::vector<std::wstring>& ids) const override;
    IZRNodeList* getStyleControlList(const std::wstring& id) const override {
        return kor::findMapList(styleControls_, id);
    }
    void getStyleControlIDs(std::vector<std::wstring>& ids) const override;

    CZRStylePlugin* stylePlugin() const { return stylePlugin_; }
    CZRPartStyleAttrib* partStyle() const { return partStyle_; }
    CZRNodeList* singerList() const { return singers_; }
    CZRNodeList* noteList() const { return notes_; }
    /// The list of control type `type` (borrowed); null outside 0 to 6 or when missing.
    CZRNodeList* controlList(std::int32_t type) const;
    const kor::ListMap& phraseStyleLists() const { return phraseStyles_; }
    const kor::ListMap& styleControlLists() const { return styleControls_; }

    [[nodiscard]] bool setStylePlugin(CZRStylePlugin* plugin);
    [[nodiscard]] bool setPartStyle(CZRPartStyleAttrib* style);
    [[nodiscard]] bool setSingerList(CZRNodeList* list);
    [[nodiscard]] bool setNoteList(CZRNodeList* list);
    /// Fails for a type outside 0 to 6.
    [[nodiscard]] bool setControlList(std::int32_t type, CZRNodeList* list);
    /// Stores `list` under `id` (null removes the entry).
    [[nodiscard]] bool setPhraseStyleList(const std::wstring& id, CZRNodeList* list);
    [[nodiscard]] bool setStyleControlList(const std::wstring& id, CZRNodeList* list);

    std::uint32_t validate() const override;
    /// The shared part repair; drops repeated or negative singers, controls and style controls
    /// (a note before the part's start is kept, and fails its own repair); makes sure a singer
    /// stands at tick 0 (the default singer when none is left); recomputes the tick length.
    std::uint32_t correct(CZRObjectTable& table, const ZRCreateContext& context) override;

    /// The end of the last event: the largest of 0, the position of the last element of every
    /// singer, control and style list, and the end of every note.
    std::int32_t contentLength() const;
    /// durTick becomes contentLength().
    void updateDerivedLength() { part().setDurTick(contentLength()); }

private:
    friend class TZRObject<CZRMusicalPart, IZRMusicalPart, CZRPart>;

    bool copyChildren(const CZRMusicalPart& source, std::uint32_t copyFlags,
                      const ZRCreateContext& context);
    template <class Self> static auto childFields(Self& self) {
        return std::tie(self.stylePlugin_, self.partStyle_, self.phraseStyles_, self.singers_,
                        self.controls_, self.styleControls_, self.notes_);
    }
    void dumpFields(std::wstring& out) const;

    CZRStylePlugin* stylePlugin_ = nullptr;
    CZRPartStyleAttrib* partStyle_ = nullptr;
    CZRNodeList* singers_ = nullptr;
    CZRNodeList* notes_ = nullptr;
    kor::ControlLists controls_{};
    kor::ListMap phraseStyles_;
    kor::ListMap styleControls_;
};

namespace kor {

/// Sets the voice (bank select, program change) that repairs give a musical part left without
/// singers; the manager keeps it equal to its default VVoice. Starts as (0, 0).
void setDefaultSinger(std::int32_t vBS, std::int32_t vPC);
/// The voice set by setDefaultSinger.
std::pair<std::int32_t, std::int32_t> defaultSinger();

} // namespace kor
