// The one header a host editor includes to use libkorman.
#pragma once

#include <korman/CZRKorManagerIF.h>
#include <korman/CZRWaveReader.h>
#include <korman/ErrorCodes.h>
#include <korman/Export.h>
#include <korman/IZRAux.h>
#include <korman/IZRKaraokeUnit.h>
#include <korman/IZRKorEditorIF.h>
#include <korman/IZRKorObject.h>
#include <korman/IZRKorRoot.h>
#include <korman/IZRMasterTrack.h>
#include <korman/IZRMasterUnit.h>
#include <korman/IZRMessageWindow.h>
#include <korman/IZRMixer.h>
#include <korman/IZRMusicalControl.h>
#include <korman/IZRMusicalNote.h>
#include <korman/IZRMusicalPart.h>
#include <korman/IZRMusicalSinger.h>
#include <korman/IZRNodeList.h>
#include <korman/IZRNoteStyleAttrib.h>
#include <korman/IZRNoteStyleSeqAttrib.h>
#include <korman/IZRNoteStyleSeqAttribElement.h>
#include <korman/IZRPart.h>
#include <korman/IZRPartStyleAttrib.h>
#include <korman/IZRProsodyControl.h>
#include <korman/IZRProsodyElement.h>
#include <korman/IZRProsodyPart.h>
#include <korman/IZRProsodyPhoneme.h>
#include <korman/IZRProsodyVoice.h>
#include <korman/IZRSEUnit.h>
#include <korman/IZRSequence.h>
#include <korman/IZRStyleControl.h>
#include <korman/IZRStylePlugin.h>
#include <korman/IZRStylePluginAttribInfo.h>
#include <korman/IZRTempo.h>
#include <korman/IZRTimeSig.h>
#include <korman/IZRUnManaged.h>
#include <korman/IZRVVoice.h>
#include <korman/IZRVstPlugin.h>
#include <korman/IZRWAVPart.h>
#include <korman/IZRWAVTrack.h>
#include <korman/IZRZRTrack.h>
#include <korman/IZRZRUnit.h>
#include <korman/ZREditValues.h>
#include <korman/ZRFileFormat.h>
#include <korman/ZRKorManagementPolicy.h>
#include <korman/ZRObjType.h>
#include <korman/ZRVVoice.h>

// Helpers over the interfaces above: value records read from objects, typed walks of node
// lists, measure positions, one-commit editing and the change reports of the change observers.
#include <korman/ZRChange.h>
#include <korman/ZRMeasurePosition.h>
#include <korman/ZRNodeRange.h>
#include <korman/ZROneCommit.h>
#include <korman/ZRValueOf.h>
