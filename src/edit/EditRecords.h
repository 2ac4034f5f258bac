// Every record class the editor files: one element or list record per kind of edited object.
#pragma once

#include "edit/EditElement.h"
#include "edit/EditList.h"
#include "edit/RecordFollowUp.h"
#include "model/MasterTrack.h"
#include "model/Mixer.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleSeqAttribElement.h"
#include "model/PartStyleAttrib.h"
#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyPart.h"
#include "model/ProsodyVoice.h"
#include "model/Sequence.h"
#include "model/StyleControl.h"
#include "model/Tempo.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"

// The classes differ only in what they cover, which container holds it and what they mark after
// an exchange; the shared mechanics are TZREditElement and TZREditList.

#define KOR_ELEMENT_RECORD(Name, Covered, FollowUp)                                                \
    class Name final : public TZREditElement<Name, Covered, FollowUp> {                            \
    public:                                                                                        \
        using TZREditElement::TZREditElement;                                                      \
    }

#define KOR_LIST_RECORD(Name, Covers, Parent, FollowUp)                                            \
    class Name final : public TZREditList<Name, Covers, Parent, FollowUp> {                        \
    public:                                                                                        \
        using TZREditList::TZREditList;                                                            \
    }

// Tempos and the master track: a tempo change re-times everything measured in seconds.
KOR_ELEMENT_RECORD(CZREditTempo, CZRTempo, kor::MarkTempoDependents);
KOR_LIST_RECORD(CZREditTempoList, kor::ListOf<ZRObjType::Tempo>, CZRMasterTrack,
                kor::MarkTempoDependents);
KOR_LIST_RECORD(CZREditMasterTrack, kor::SubtreeOf<CZRMasterTrack>, CZRSequence,
                kor::MarkTempoDependents);

// Events of a musical part.
KOR_ELEMENT_RECORD(CZREditMusicalSinger, CZRMusicalSinger, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditMusicalSingerList, kor::ListOf<ZRObjType::MusicalSinger>, CZRMusicalPart,
                kor::MarkHoldingPart);
KOR_ELEMENT_RECORD(CZREditPartStyleAttrib, CZRPartStyleAttrib, kor::NoFollowUp);
KOR_ELEMENT_RECORD(CZREditStyleControl, CZRStyleControl, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditStyleControlList, kor::ListOf<ZRObjType::StyleControl>, CZRMusicalPart,
                kor::MarkHoldingPart);
KOR_ELEMENT_RECORD(CZREditMusicalControl, CZRMusicalControl, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditMusicalControlList, kor::ListOf<ZRObjType::MusicalControl>, CZRMusicalPart,
                kor::MarkHoldingPart);

// Notes and their styles.
KOR_ELEMENT_RECORD(CZREditNoteStyleAttrib, CZRNoteStyleAttrib, kor::NoFollowUp);
KOR_ELEMENT_RECORD(CZREditNoteStyleSeqAttribElement, CZRNoteStyleSeqAttribElement, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditNoteStyleSeqAttribElementList,
                kor::ListOf<ZRObjType::NoteStyleSeqAttribElement>, CZRNoteStyleSeqAttrib,
                kor::NoFollowUp);
KOR_LIST_RECORD(CZREditMusicalNote, kor::SubtreeOf<CZRMusicalNote>, CZRNodeList,
                kor::MarkHoldingPart);
KOR_LIST_RECORD(CZREditMusicalNoteList, kor::ListOf<ZRObjType::MusicalNote>, CZRMusicalPart,
                kor::MarkHoldingPart);

// Parts and their lists.
KOR_ELEMENT_RECORD(CZREditMusicalPart, CZRMusicalPart, kor::NoFollowUp);
KOR_ELEMENT_RECORD(CZREditWAVPart, CZRWAVPart, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditZRPartList, kor::ListOf<ZRObjType::Part>, CZRZRTrack, kor::MarkListedParts);
KOR_LIST_RECORD(CZREditWAVPartList, kor::ListOf<ZRObjType::WAVPart>, CZRWAVTrack, kor::NoFollowUp);

// Events of a prosody part.
KOR_ELEMENT_RECORD(CZREditProsodyVoice, CZRProsodyVoice, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditProsodyVoiceList, kor::ListOf<ZRObjType::ProsodyVoice>, CZRProsodyPart,
                kor::MarkHoldingPart);
KOR_ELEMENT_RECORD(CZREditProsodyElement, CZRProsodyElement, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditProsodyElementList, kor::ListOf<ZRObjType::ProsodyElement>, CZRProsodyPart,
                kor::MarkHoldingPart);
KOR_ELEMENT_RECORD(CZREditProsodyControl, CZRProsodyControl, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditProsodyControlList, kor::ListOf<ZRObjType::ProsodyControl>, CZRProsodyPart,
                kor::MarkHoldingPart);

// Tracks and the mixer's units.
KOR_ELEMENT_RECORD(CZREditZRTrack, CZRZRTrack, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditZRTrackList, kor::ListOf<ZRObjType::ZRTrack>, CZRSequence, kor::NoFollowUp);
KOR_LIST_RECORD(CZREditZRUnitList, kor::ListOf<ZRObjType::ZRUnit>, CZRMixer, kor::NoFollowUp);

#undef KOR_ELEMENT_RECORD
#undef KOR_LIST_RECORD
