#include "model/ObjectFactory.h"

#include "model/NodeList.h"
#include "model/ZRUnit.h"
#include "model/VstPlugin.h"
#include "model/VVoice.h"
#include "model/SEUnit.h"
#include "model/Mixer.h"
#include "model/MasterUnit.h"
#include "model/KaraokeUnit.h"
#include "model/MasterTrack.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/KorRoot.h"
#include "model/Sequence.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

namespace kor {

IZRMutableKorObject* createByType(const ZRCreateContext& context, std::uint32_t objID,
                                  ZRObjType type) {
    switch (type) {
    case ZRObjType::NodeList: return createObject<CZRNodeList>(context, objID);
    case ZRObjType::VVoice: return createObject<CZRVVoice>(context, objID);
    case ZRObjType::VstPlugin: return createObject<CZRVstPlugin>(context, objID);
    case ZRObjType::MasterUnit: return createObject<CZRMasterUnit>(context, objID);
    case ZRObjType::ZRUnit: return createObject<CZRZRUnit>(context, objID);
    case ZRObjType::SEUnit: return createObject<CZRSEUnit>(context, objID);
    case ZRObjType::KaraokeUnit: return createObject<CZRKaraokeUnit>(context, objID);
    case ZRObjType::Mixer: return createObject<CZRMixer>(context, objID);
    case ZRObjType::MasterTrack: return createObject<CZRMasterTrack>(context, objID);
    case ZRObjType::Tempo: return createObject<CZRTempo>(context, objID);
    case ZRObjType::TimeSig: return createObject<CZRTimeSig>(context, objID);
    case ZRObjType::ZRTrack: return createObject<CZRZRTrack>(context, objID);
    case ZRObjType::WAVTrack: return createObject<CZRWAVTrack>(context, objID);
    case ZRObjType::WAVPart: return createObject<CZRWAVPart>(context, objID);
    case ZRObjType::Sequence: return createObject<CZRSequence>(context, objID);
    case ZRObjType::KorRoot: return createObject<CZRKorRoot>(context, objID);

    // Never created by number: the shared part lives only inside a part, and aux records and
    // their container have factories of their own.
    case ZRObjType::Part:
    case ZRObjType::Aux:
    case ZRObjType::UnManaged: return nullptr;

    // The document classes are not part of the library yet; creating one fails.
    case ZRObjType::MusicalNote:
    case ZRObjType::NoteStyleAttrib:
    case ZRObjType::NoteStyleSeqAttrib:
    case ZRObjType::NoteStyleSeqAttribElement:
    case ZRObjType::MusicalSinger:
    case ZRObjType::MusicalControl:
    case ZRObjType::StyleControl:
    case ZRObjType::ProsodyPhoneme:
    case ZRObjType::ProsodyVoice:
    case ZRObjType::ProsodyElement:
    case ZRObjType::ProsodyControl:
    case ZRObjType::StylePlugin:
    case ZRObjType::StylePluginAttribInfo:
    case ZRObjType::PartStyleAttrib:
    case ZRObjType::MusicalPart:
    case ZRObjType::ProsodyPart: return nullptr;
    }
    return nullptr;
}

} // namespace kor
