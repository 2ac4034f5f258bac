#include "model/ObjectFactory.h"

#include "model/NodeList.h"
#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyVoice.h"
#include "model/ProsodyPhoneme.h"
#include "model/StyleControl.h"
#include "model/MusicalControl.h"
#include "model/MusicalSinger.h"
#include "model/NoteStyleSeqAttribElement.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleAttrib.h"
#include "model/MusicalNote.h"
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
#include "model/ProsodyPart.h"
#include "model/MusicalPart.h"
#include "model/PartStyleAttrib.h"
#include "model/StylePluginAttribInfo.h"
#include "model/StylePlugin.h"
#include "model/KorRoot.h"
#include "model/Sequence.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

namespace kor {

IZRMutableKorObject* createByType(const ZRCreateContext& context, std::uint32_t objID,
                                  ZRObjType type) {
    switch (type) {
    case ZRObjType::NodeList:
        return createObject<CZRNodeList>(context, objID);
    case ZRObjType::MusicalNote:
        return createObject<CZRMusicalNote>(context, objID);
    case ZRObjType::NoteStyleAttrib:
        return createObject<CZRNoteStyleAttrib>(context, objID);
    case ZRObjType::NoteStyleSeqAttrib:
        return createObject<CZRNoteStyleSeqAttrib>(context, objID);
    case ZRObjType::NoteStyleSeqAttribElement:
        return createObject<CZRNoteStyleSeqAttribElement>(context, objID);
    case ZRObjType::MusicalSinger:
        return createObject<CZRMusicalSinger>(context, objID);
    case ZRObjType::MusicalControl:
        return createObject<CZRMusicalControl>(context, objID);
    case ZRObjType::StyleControl:
        return createObject<CZRStyleControl>(context, objID);
    case ZRObjType::ProsodyPhoneme:
        return createObject<CZRProsodyPhoneme>(context, objID);
    case ZRObjType::ProsodyVoice:
        return createObject<CZRProsodyVoice>(context, objID);
    case ZRObjType::ProsodyElement:
        return createObject<CZRProsodyElement>(context, objID);
    case ZRObjType::ProsodyControl:
        return createObject<CZRProsodyControl>(context, objID);
    case ZRObjType::VVoice:
        return createObject<CZRVVoice>(context, objID);
    case ZRObjType::VstPlugin:
        return createObject<CZRVstPlugin>(context, objID);
    case ZRObjType::MasterUnit:
        return createObject<CZRMasterUnit>(context, objID);
    case ZRObjType::ZRUnit:
        return createObject<CZRZRUnit>(context, objID);
    case ZRObjType::SEUnit:
        return createObject<CZRSEUnit>(context, objID);
    case ZRObjType::KaraokeUnit:
        return createObject<CZRKaraokeUnit>(context, objID);
    case ZRObjType::Mixer:
        return createObject<CZRMixer>(context, objID);
    case ZRObjType::MasterTrack:
        return createObject<CZRMasterTrack>(context, objID);
    case ZRObjType::Tempo:
        return createObject<CZRTempo>(context, objID);
    case ZRObjType::TimeSig:
        return createObject<CZRTimeSig>(context, objID);
    case ZRObjType::ZRTrack:
        return createObject<CZRZRTrack>(context, objID);
    case ZRObjType::WAVTrack:
        return createObject<CZRWAVTrack>(context, objID);
    case ZRObjType::WAVPart:
        return createObject<CZRWAVPart>(context, objID);
    case ZRObjType::Sequence:
        return createObject<CZRSequence>(context, objID);
    case ZRObjType::KorRoot:
        return createObject<CZRKorRoot>(context, objID);
    case ZRObjType::StylePlugin:
        return createObject<CZRStylePlugin>(context, objID);
    case ZRObjType::StylePluginAttribInfo:
        return createObject<CZRStylePluginAttribInfo>(context, objID);
    case ZRObjType::PartStyleAttrib:
        return createObject<CZRPartStyleAttrib>(context, objID);
    case ZRObjType::MusicalPart:
        return createObject<CZRMusicalPart>(context, objID);
    case ZRObjType::ProsodyPart:
        return createObject<CZRProsodyPart>(context, objID);

    // Never created by number: the shared part lives only inside a part, and aux records and
    // their container have factories of their own.
    case ZRObjType::Part:
    case ZRObjType::Aux:
    case ZRObjType::UnManaged:
        return nullptr;
    }
    return nullptr;
}

} // namespace kor
