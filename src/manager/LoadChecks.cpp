#include "manager/LoadChecks.h"

#include "model/Builders.h"
#include "model/KorDocument.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/ObjectTree.h"
#include "model/Sequence.h"
#include "model/ZRTrack.h"

#include <algorithm>
#include <vector>

namespace kor {

bool hasSoundStructure(const CZRKorDocument& document) {
    CZRKorRoot* root = document.root();
    if (root == nullptr || root->sequence() == nullptr) return false;
    // An object is only walked into from the container it names as its parent, and the root only
    // once, so an object is reached twice exactly when its container holds it twice: checking each
    // container's children for repeats proves every object occurs once, without keeping the IDs
    // of the whole tree. The order of the walk does not matter to the check, so the children are
    // sorted in place to find repeats.
    return walkTree(
        *root,
        [&document](const IZRMutableKorObject& obj, const IZRMutableKorObject* container) {
            return document.objects().lookup(obj.getObjID()) == &obj &&
                   obj.getParent() == container && (obj.getFlags() & ZR_FLAG_DETACHED) == 0 &&
                   obj.validate() == 0;
        },
        [](std::vector<IZRMutableKorObject*>& children) {
            std::sort(children.begin(), children.end());
            return std::adjacent_find(children.begin(), children.end()) == children.end();
        });
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
