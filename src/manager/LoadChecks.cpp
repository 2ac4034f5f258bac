#include "manager/LoadChecks.h"

#include "model/Builders.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/Sequence.h"
#include "model/ZRTrack.h"

#include <set>
#include <utility>
#include <vector>

namespace kor {

bool hasSoundStructure(const CZRKorDocument& document) {
    const CZRKorRoot* root = document.root();
    if (root == nullptr || root->sequence() == nullptr) return false;
    std::set<std::uint32_t> seen;
    std::vector<std::pair<IZRMutableKorObject*, const IZRKorObject*>> pending{
        {const_cast<CZRKorRoot*>(root), nullptr}};
    std::vector<IZRMutableKorObject*> children;
    while (!pending.empty()) {
        const auto [obj, container] = pending.back();
        pending.pop_back();
        const std::uint32_t id = obj->getObjID();
        if (document.objects().lookup(id) != obj || !seen.insert(id).second ||
            obj->getParent() != container || (obj->getFlags() & ZR_FLAG_DETACHED) != 0 ||
            obj->validate() != 0)
            return false;
        children.clear();
        obj->getChildren(children);
        for (IZRMutableKorObject* child : children)
            pending.emplace_back(child, obj);
    }
    return true;
}

bool hasValidPreMeasure(const CZRKorDocument& document) {
    const CZRSequence* sequence =
        document.root() != nullptr ? document.root()->sequence() : nullptr;
    const CZRMasterTrack* master = sequence != nullptr ? sequence->masterTrack() : nullptr;
    if (master == nullptr) return false;
    const std::int32_t count = master->getPreMeasure();
    return count >= 1 && count <= 8 && master->getPreMeasureTick() > 0;
}

bool applyDefaultStyle(CZRKorDocument& document) {
    CZRSequence* sequence = document.root() != nullptr ? document.root()->sequence() : nullptr;
    if (sequence == nullptr || sequence->zrTrackList() == nullptr) return false;
    const ZRCreateContext context = document.context();
    for (IZRMutableKorObject* element : sequence->zrTrackList()->elements()) {
        const auto* track = objCast<CZRZRTrack>(element);
        if (track == nullptr || track->partList() == nullptr) continue;
        for (IZRMutableKorObject* item : track->partList()->elements()) {
            auto* part = objCast<CZRMusicalPart>(item);
            CZRStylePlugin* plugin = part != nullptr ? part->stylePlugin() : nullptr;
            if (plugin == nullptr || plugin->getID() != kDefaultStylePluginID) continue;
            if (!rebuildDefaultStyleInfoLists(context, *plugin) ||
                !completePartStyle(context, *part))
                return false;
            if (part->noteList() == nullptr) continue;
            for (IZRMutableKorObject* entry : part->noteList()->elements()) {
                auto* note = objCast<CZRMusicalNote>(entry);
                if (note == nullptr || !completeNoteStyle(context, *note)) return false;
            }
        }
    }
    return true;
}

} // namespace kor
