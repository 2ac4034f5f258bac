#include "formats/kor3/Kor3Writer.h"

#include "formats/kor3/ElementNames.h"
#include "formats/kor3/Kor3Parser.h"
#include "formats/kor3/TextLimits.h"
#include "formats/xml/VerifyTree.h"
#include "model/Aux.h"
#include "model/KaraokeUnit.h"
#include "model/KorRoot.h"
#include "model/MasterTrack.h"
#include "model/MasterUnit.h"
#include "model/Mixer.h"
#include "model/MusicalControl.h"
#include "model/MusicalNote.h"
#include "model/MusicalPart.h"
#include "model/MusicalSinger.h"
#include "model/NoteStyleAttrib.h"
#include "model/NoteStyleSeqAttrib.h"
#include "model/NoteStyleSeqAttribElement.h"
#include "model/ProsodyControl.h"
#include "model/ProsodyElement.h"
#include "model/ProsodyPart.h"
#include "model/ProsodyPhoneme.h"
#include "model/ProsodyVoice.h"
#include "model/SEUnit.h"
#include "model/Sequence.h"
#include "model/StyleControl.h"
#include "model/Tempo.h"
#include "model/TimeSig.h"
#include "model/UnManaged.h"
#include "model/VVoice.h"
#include "model/VstPlugin.h"
#include "model/WAVPart.h"
#include "model/WAVTrack.h"
#include "model/ZRTrack.h"
#include "model/ZRUnit.h"
#include "platform/AtomicFile.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <new>
#include <set>
#include <utility>

namespace Kor3 {

namespace {

using Element = CZRXmlOutput::Element;

/// How much of the document is formatted before it goes to the file.
constexpr std::size_t kChunkSize = std::size_t{1} << 18;

/// Calls `write` with every element of `list` (null: none) that is a T, in list order.
template <class T, class Write> void forEach(const CZRNodeList* list, Write&& write) {
    if (list == nullptr) return;
    for (const IZRMutableKorObject* element : list->elements())
        if (const T* obj = kor::objCast<T>(element)) write(*obj);
}

/// The namespace URI in the document's bytes (it is plain ASCII).
std::string namespaceURI() {
    const std::wstring_view uri = kNamespaceURI;
    return std::string(uri.begin(), uri.end());
}

/// Writes the text element `Name` with `value`, cut to the length the format gives that element;
/// an element the format holds no text in does not compile.
template <const auto& Name> void text(CZRXmlOutput& out, std::wstring_view value) {
    constexpr std::size_t kMax = maxTextLength(Name);
    static_assert(kMax != 0, "not a text element");
    out.text(Name, value, kMax);
}

/// The same with the integer attribute `attrName` in the start tag.
template <const auto& Name>
void text(CZRXmlOutput& out, std::string_view attrName, std::int32_t attrValue,
          std::wstring_view value) {
    constexpr std::size_t kMax = maxTextLength(Name);
    static_assert(kMax != 0, "not a text element");
    out.text(Name, attrName, attrValue, value, kMax);
}

/// Writes the values every part begins with.
void writePartHead(CZRXmlOutput& out, const CZRPart& part) {
    out.integer(kPosTick, part.getPosTick());
    out.integer(kPlayTime, part.getPlayTime());
    text<kPartName>(out, part.getName());
    text<kComment>(out, part.getComment());
}

/// Writes the values of a channel unit (ZR or SE unit) that follow its plug-ins.
template <class Values> void writeChannelValues(CZRXmlOutput& out, const Values& v) {
    out.integer(kSendLevel, v.sendLevel);
    out.integer(kSendEnable, v.sendEnable);
    out.integer(kMute, v.mute);
    out.integer(kSolo, v.solo);
    out.integer(kPan, v.pan);
    out.integer(kVol, v.vol);
}

/// Writes the voice changes of `list`: the singers of a musical part or the voices of a prosody
/// part, whose sort key is their position.
template <class Event>
void writeVoiceEvents(CZRXmlOutput& out, const CZRNodeList* list, std::string_view name,
                      std::string_view posName) {
    forEach<Event>(list, [&](const Event& event) {
        const Element element(out, name);
        out.integer(posName, event.getSortKey());
        out.integer(kVBS, event.values().vBS);
        out.integer(kVPC, event.values().vPC);
    });
}

/// The (bank select, program change) pairs the song's singers use, and that of the first VVoice of
/// the table (or (0, 0)) when no singer uses a VVoice of the table: a song keeps at least one.
/// Prosody voices do not count.
std::set<std::pair<int, int>> voicesInUse(const CZRSequence& sequence) {
    std::set<std::pair<int, int>> used;
    forEach<CZRZRTrack>(sequence.zrTrackList(), [&](const CZRZRTrack& track) {
        forEach<CZRMusicalPart>(track.partList(), [&](const CZRMusicalPart& part) {
            forEach<CZRMusicalSinger>(part.singerList(), [&](const CZRMusicalSinger& singer) {
                used.emplace(singer.values().vBS, singer.values().vPC);
            });
        });
    });
    bool anyInTable = false;
    forEach<CZRVVoice>(sequence.vvoiceList(), [&](const CZRVVoice& voice) {
        anyInTable = anyInTable || used.count({voice.values().vBS, voice.values().vPC}) != 0;
    });
    if (!anyInTable) {
        const CZRNodeList* voices = sequence.vvoiceList();
        const CZRVVoice* first =
            voices != nullptr ? kor::objCast<CZRVVoice>(voices->elementAt(0)) : nullptr;
        used.emplace(first != nullptr ? first->values().vBS : 0,
                     first != nullptr ? first->values().vPC : 0);
    }
    return used;
}

} // namespace

void CZRKor3Writer::writeSequence(const CZRSequence& sequence) {
    const std::string uri = namespaceURI();
    out_.line(R"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>)");
    const Element root(out_, kKor3,
                       " xmlns=\"" + uri + "\"\r\n" +
                           R"(      xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")" +
                           "\r\n      xsi:schemaLocation=\"" + uri + " kor3.xsd\"");
    text<kVender>(out_, sequence.getVender());
    text<kVersion>(out_, sequence.getVersion());
    writeVVoiceTable(sequence);
    writeMixer(sequence);
    writeMasterTrack(sequence);
    forEach<CZRZRTrack>(sequence.zrTrackList(), [&](const CZRZRTrack& track) {
        const Element element(out_, kZrTrack);
        out_.integer(kZrTrackNo, track.getTrackNo());
        text<kTrackName>(out_, track.getName());
        text<kComment>(out_, track.getComment());
        if (const CZRNodeList* parts = track.partList()) {
            for (const IZRMutableKorObject* part : parts->elements()) {
                if (const auto* musical = kor::objCast<CZRMusicalPart>(part))
                    writeMusicalPart(*musical);
                else if (const auto* prosody = kor::objCast<CZRProsodyPart>(part))
                    writeProsodyPart(*prosody);
            }
        }
    });
    writeWAVTrack(sequence.seTrack(), kSeTrack);
    writeWAVTrack(sequence.karaokeTrack(), kKaraokeTrack);
    if (const CZRUnManaged* unManaged = sequence.unManaged()) {
        forEach<CZRAux>(unManaged->auxList(), [&](const CZRAux& aux) {
            const Element element(out_, kAux);
            text<kAuxID>(out_, aux.values().id);
            text<kContent>(out_, aux.values().content);
        });
    }
}

void CZRKor3Writer::writeVVoiceTable(const CZRSequence& sequence) {
    const std::set<std::pair<int, int>> used = voicesInUse(sequence);
    const Element table(out_, kVVoiceTable);
    forEach<CZRVVoice>(sequence.vvoiceList(), [&](const CZRVVoice& voice) {
        const ZRVVoiceValues& v = voice.values();
        if (used.count({v.vBS, v.vPC}) == 0) return;
        const Element element(out_, kVVoice);
        out_.integer(kVBS, v.vBS);
        out_.integer(kVPC, v.vPC);
        text<kCompID>(out_, v.compID);
        text<kVVoiceName>(out_, v.name);
        const Element param(out_, kVVoiceParam);
        out_.integer(kBre, v.param.breathiness);
        out_.integer(kBri, v.param.brightness);
        out_.integer(kCle, v.param.clearness);
        out_.integer(kGen, v.param.genderFactor);
        out_.integer(kOpe, v.param.opening);
    });
}

void CZRKor3Writer::writeMixer(const CZRSequence& sequence) {
    const CZRMixer* mixer = sequence.mixer();
    if (mixer == nullptr) return;
    const Element element(out_, kMixer);
    if (const CZRMasterUnit* master = mixer->masterUnit()) {
        const Element unit(out_, kMasterUnit);
        out_.integer(kOutDev, master->values().outDev);
        writePlugins(master->vstList(CZRMasterUnit::kInsertList), kVstPlugin);
        writePlugins(master->vstList(CZRMasterUnit::kSendReturnList), kVstPluginSR);
        out_.integer(kRetLevel, master->values().srRetLevel);
        out_.integer(kVol, master->values().vol);
    }
    forEach<CZRZRUnit>(mixer->zrUnitList(), [&](const CZRZRUnit& unit) {
        const ZRZRUnitValues& v = unit.values();
        const Element element(out_, kZrUnit);
        out_.integer(kZrTrackNo, v.trackNo);
        out_.integer(kInGain, v.inGain);
        writePlugins(unit.vstList(), kVstPlugin);
        writeChannelValues(out_, v);
    });
    if (const CZRSEUnit* se = mixer->seUnit()) {
        const ZRSEUnitValues& v = se->values();
        const Element unit(out_, kSeUnit);
        out_.integer(kInGain, v.inGain);
        writePlugins(se->vstList(), kVstPlugin);
        writeChannelValues(out_, v);
    }
    if (const CZRKaraokeUnit* karaoke = mixer->karaokeUnit()) {
        const ZRKaraokeUnitValues& v = karaoke->values();
        const Element unit(out_, kKaraokeUnit);
        out_.integer(kInGain, v.inGain);
        writePlugins(karaoke->vstList(), kVstPlugin);
        out_.integer(kMute, v.mute);
        out_.integer(kSolo, v.solo);
        out_.integer(kVol, v.vol);
    }
}

void CZRKor3Writer::writePlugins(const CZRNodeList* list, std::string_view name) {
    forEach<CZRVstPlugin>(list, [&](const CZRVstPlugin& plugin) { writePlugin(plugin, name); });
}

void CZRKor3Writer::writePlugin(const CZRVstPlugin& plugin, std::string_view name) {
    const ZRVstPluginValues& v = plugin.values();
    const Element element(out_, name);
    text<kVstPluginID>(out_, v.id);
    text<kVstPluginName>(out_, v.name);
    out_.integer(kVstSDKVersion, v.sdkVersion);
    out_.integer(kVstParamNum, v.paramNum);
    {
        const Element values(out_, kVstParamVal);
        for (const std::int32_t value : v.values)
            out_.integer(kVal, value);
    }
    out_.integer(kVstPresetNo, v.presetNo);
    out_.integer(kEnable, v.enable);
    out_.integer(kBypass, v.bypass);
}

void CZRKor3Writer::writeMasterTrack(const CZRSequence& sequence) {
    const CZRMasterTrack* master = sequence.masterTrack();
    if (master == nullptr) return;
    const Element element(out_, kMasterTrack);
    text<kSeqName>(out_, master->getSeqName());
    text<kComment>(out_, master->getComment());
    out_.integer(kResolution, master->getResolution());
    out_.integer(kPreMeasure, master->getPreMeasure());
    forEach<CZRTimeSig>(master->timeSigList(), [&](const CZRTimeSig& timeSig) {
        const Element element(out_, kTimeSig);
        out_.integer(kPosMes, timeSig.values().posMes);
        out_.integer(kNume, timeSig.values().numerator);
        out_.integer(kDenomi, timeSig.values().denominator);
    });
    forEach<CZRTempo>(master->tempoList(), [&](const CZRTempo& tempo) {
        const Element element(out_, kTempo);
        out_.integer(kPosTick, tempo.values().posTick);
        out_.integer(kBpm, tempo.values().bpm);
    });
}

void CZRKor3Writer::writeMusicalPart(const CZRMusicalPart& part) {
    const Element element(out_, kMusicalPart);
    writePartHead(out_, part.part());

    {
        const CZRStylePlugin* plugin = part.stylePlugin();
        const Element pluginElement(out_, kStylePlugin);
        text<kStylePluginID>(out_, plugin != nullptr ? plugin->getID() : L"");
        text<kStylePluginName>(out_, plugin != nullptr ? plugin->getName() : L"");
        text<kVersion>(out_, plugin != nullptr ? plugin->getVersion() : L"");
    }
    {
        const Element style(out_, kPartStyle);
        if (const CZRPartStyleAttrib* values = part.partStyle())
            for (const auto& [id, value] : values->values())
                out_.integer(kAttr, kId, id, value);
    }

    gatherStyleEvents(part.phraseStyleLists());
    writeRecords(kPhraseStyle, kPosTick);

    writeVoiceEvents<CZRMusicalSinger>(out_, part.singerList(), kSinger, kPosTick);
    gatherControls<CZRMusicalControl>(part);
    writeRecords(kMCtrl, kPosTick);

    gatherStyleEvents(part.styleControlLists());
    writeRecords(kSCtrl, kPosTick);

    writeNotes(part);
}

void CZRKor3Writer::writeNotes(const CZRMusicalPart& part) {
    forEach<CZRMusicalNote>(part.noteList(), [&](const CZRMusicalNote& note) {
        const ZRMusicalNoteValues& v = note.values();
        const Element element(out_, kNote);
        out_.integer(kPosTick, v.posTick);
        out_.integer(kDurTick, v.durTick);
        out_.integer(kNoteNum, v.noteNum);
        out_.integer(kVelocity, v.velocity);
        text<kLyric>(out_, v.lyric);
        phonemes_.clear();
        for (const std::wstring& phoneme : v.phonemes) {
            if (!phonemes_.empty()) phonemes_ += L' ';
            phonemes_ += phoneme;
        }
        if (v.phLock != 0)
            text<kPhnms>(out_, kLock, v.phLock, phonemes_);
        else
            text<kPhnms>(out_, phonemes_);

        const Element styleElement(out_, kNoteStyle);
        if (const CZRNoteStyleAttrib* style = note.noteStyle())
            for (const auto& [id, value] : style->values())
                out_.integer(kAttr, kId, id, value);
        if (const CZRNoteStyleSeqAttrib* seqStyle = note.noteSeqStyle()) {
            for (const auto& [id, points] : seqStyle->lists()) {
                const Element curve(out_, kSeqAttr, kId, id);
                forEach<CZRNoteStyleSeqAttribElement>(
                    points, [&](const CZRNoteStyleSeqAttribElement& point) {
                        const Element pointElement(out_, kElem);
                        out_.integer(kPosNrm, point.values().posNrm);
                        out_.integer(kElv, point.values().elv);
                    });
            }
        }
    });
}

void CZRKor3Writer::writeProsodyPart(const CZRProsodyPart& part) {
    const Element element(out_, kProsodyPart);
    writePartHead(out_, part.part());
    writeVoiceEvents<CZRProsodyVoice>(out_, part.voiceList(), kVoice, kPosSec);
    gatherControls<CZRProsodyControl>(part);
    writeRecords(kPCtrl, kPosSec);

    const std::pair<std::string_view, std::string_view> curves[] = {{kPch, kPchVal},
                                                                    {kDyn, kDynVal}};
    for (std::size_t which = 0; which < 2; ++which) {
        const auto& names = curves[which];
        forEach<CZRProsodyElement>(part.elementList(which), [&](const CZRProsodyElement& point) {
            const Element pointElement(out_, names.first);
            out_.integer(kPosSec, point.values().posSec);
            out_.integer(names.second, point.values().value);
        });
    }
    forEach<CZRProsodyPhoneme>(part.phonemeList(), [&](const CZRProsodyPhoneme& phoneme) {
        const Element phonemeElement(out_, kPhnm);
        out_.integer(kPosSec, phoneme.values().posSec);
        out_.integer(kDurSec, phoneme.values().durSec);
        text<kPhnmStr>(out_, phoneme.values().phoneme);
    });
}

void CZRKor3Writer::writeWAVTrack(const CZRWAVTrack* track, std::string_view name) {
    const Element element(out_, name);
    if (track != nullptr) {
        forEach<CZRWAVPart>(track->wavPartList(), [&](const CZRWAVPart& part) {
            const Element partElement(out_, kWavPart);
            writePartHead(out_, part.part());
            out_.integer(kSampleRate, part.getSampleRate());
            out_.integer(kSampleReso, part.getSampleReso());
            out_.integer(kChannels, part.getChannels());
            text<kFilePath>(out_, part.getFilePath());
        });
    }
}

// The sort key of a control is its position, in ticks or in seconds.
template <class Control, class Part> void CZRKor3Writer::gatherControls(const Part& part) {
    records_.clear();
    for (std::int32_t type = 0; type < Part::kControlTypes; ++type)
        forEach<Control>(part.controlList(type), [&](const Control& control) {
            records_.push_back(
                {control.getSortKey(), kor::musicalControlName(type), control.values().value});
        });
}

void CZRKor3Writer::gatherStyleEvents(const kor::ListMap& lists) {
    records_.clear();
    for (const auto& entry : lists) {
        const std::wstring& id = entry.first;
        forEach<CZRStyleControl>(entry.second, [&](const CZRStyleControl& event) {
            records_.push_back({event.values().posTick, id, event.values().val});
        });
    }
}

// Records at one position keep the order they were gathered in (list by list), so writing a
// song that was read from a file repeats the file.
void CZRKor3Writer::writeRecords(std::string_view name, std::string_view posName) {
    std::stable_sort(records_.begin(), records_.end(),
                     [](const Record& a, const Record& b) { return a.pos < b.pos; });
    for (const Record& record : records_) {
        const Element element(out_, name);
        out_.integer(posName, record.pos);
        out_.integer(kAttr, kId, record.id, record.value);
    }
}

std::uint32_t stageKor3File(const CZRKorRoot* root, const std::wstring& path,
                            kor::platform::AtomicFile& file) {
    using kor::platform::AtomicWriteResult;
    if (path.empty()) return ZR_E_INVALID_FILE_NAME;
    if (root == nullptr) return ZR_E_INVALID_KOR3_FILE;
    if (const std::uint32_t code = kor::validateTree(*root).code; code != 0) return code;
    try {
        if (file.open(path) != AtomicWriteResult::Done) return ZR_E_CANNOT_OPEN_FILE;
        // The document passes to the file in chunks that stay in the processor's cache.
        CZRXmlOutput out([&file](std::string_view bytes) { return file.write(bytes); }, kChunkSize);
        CZRKor3Writer(out).writeSequence(*root->sequence());
        if (!out.flush()) return ZR_E_CANNOT_SAVE_FILE;
        return 0;
    } catch (const std::bad_alloc&) {
        return ZR_E_NOT_ENOUGH_MEMORY;
    }
}

std::uint32_t saveKor3File(const CZRKorRoot* root, const std::wstring& path) {
    kor::platform::AtomicFile file;
    if (const std::uint32_t code = stageKor3File(root, path, file); code != 0) return code;
    // The file takes the target's place only once it is complete.
    return file.commit() == kor::platform::AtomicWriteResult::Done ? 0 : ZR_E_CANNOT_SAVE_FILE;
}

} // namespace Kor3
