#include "formats/kor3/Kor3Writer.h"

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

/// Writes the values every part begins with.
void writePartHead(CZRXmlOutput& out, const CZRPart& part) {
    out.integer(3, "posTick", part.getPosTick());
    out.integer(3, "playTime", part.getPlayTime());
    out.text(3, "partName", part.getName(), kNameMax);
    out.text(3, "comment", part.getComment(), kNameMax);
}

/// Writes the values of a channel unit (ZR or SE unit) that follow its plug-ins.
template <class Values> void writeChannelValues(CZRXmlOutput& out, const Values& v) {
    out.integer(3, "sendLevel", v.sendLevel);
    out.integer(3, "sendEnable", v.sendEnable);
    out.integer(3, "mute", v.mute);
    out.integer(3, "solo", v.solo);
    out.integer(3, "pan", v.pan);
    out.integer(3, "vol", v.vol);
}

/// Writes the voice changes of `list`: the singers of a musical part or the voices of a prosody
/// part, whose sort key is their position.
template <class Event>
void writeVoiceEvents(CZRXmlOutput& out, const CZRNodeList* list, std::string_view name,
                      std::string_view posName) {
    forEach<Event>(list, [&](const Event& event) {
        out.startTag(3, name);
        out.integer(4, posName, event.getSortKey());
        out.integer(4, "vBS", event.values().vBS);
        out.integer(4, "vPC", event.values().vPC);
        out.endTag(3, name);
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
    out_.line("<kor3 xmlns=\"" + uri + "\"");
    out_.line(R"(      xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")");
    out_.line("      xsi:schemaLocation=\"" + uri + " kor3.xsd\">");
    out_.text(1, "vender", sequence.getVender(), kNameMax);
    out_.text(1, "version", sequence.getVersion(), kVersionMax);
    writeVVoiceTable(sequence);
    writeMixer(sequence);
    writeMasterTrack(sequence);
    forEach<CZRZRTrack>(sequence.zrTrackList(), [&](const CZRZRTrack& track) {
        out_.startTag(1, "zrTrack");
        out_.integer(2, "zrTrackNo", track.getTrackNo());
        out_.text(2, "trackName", track.getName(), kNameMax);
        out_.text(2, "comment", track.getComment(), kNameMax);
        if (const CZRNodeList* parts = track.partList()) {
            for (const IZRMutableKorObject* part : parts->elements()) {
                if (const auto* musical = kor::objCast<CZRMusicalPart>(part))
                    writeMusicalPart(*musical);
                else if (const auto* prosody = kor::objCast<CZRProsodyPart>(part))
                    writeProsodyPart(*prosody);
            }
        }
        out_.endTag(1, "zrTrack");
    });
    writeWAVTrack(sequence.seTrack(), "seTrack");
    writeWAVTrack(sequence.karaokeTrack(), "karaokeTrack");
    if (const CZRUnManaged* unManaged = sequence.unManaged()) {
        forEach<CZRAux>(unManaged->auxList(), [&](const CZRAux& aux) {
            out_.startTag(1, "aux");
            out_.text(2, "auxID", aux.values().id, CZRAux::kMaxIDLength);
            out_.text(2, "content", aux.values().content, CZRXmlOutput::kNoLimit);
            out_.endTag(1, "aux");
        });
    }
    out_.line("</kor3>");
}

void CZRKor3Writer::writeVVoiceTable(const CZRSequence& sequence) {
    const std::set<std::pair<int, int>> used = voicesInUse(sequence);
    out_.startTag(1, "vVoiceTable");
    forEach<CZRVVoice>(sequence.vvoiceList(), [&](const CZRVVoice& voice) {
        const ZRVVoiceValues& v = voice.values();
        if (used.count({v.vBS, v.vPC}) == 0) return;
        out_.startTag(2, "vVoice");
        out_.integer(3, "vBS", v.vBS);
        out_.integer(3, "vPC", v.vPC);
        out_.text(3, "compID", v.compID, kCompIDMax);
        out_.text(3, "vVoiceName", v.name, kNameMax);
        out_.startTag(3, "vVoiceParam");
        out_.integer(4, "bre", v.param.breathiness);
        out_.integer(4, "bri", v.param.brightness);
        out_.integer(4, "cle", v.param.clearness);
        out_.integer(4, "gen", v.param.genderFactor);
        out_.integer(4, "ope", v.param.opening);
        out_.endTag(3, "vVoiceParam");
        out_.endTag(2, "vVoice");
    });
    out_.endTag(1, "vVoiceTable");
}

void CZRKor3Writer::writeMixer(const CZRSequence& sequence) {
    const CZRMixer* mixer = sequence.mixer();
    if (mixer == nullptr) return;
    out_.startTag(1, "mixer");
    if (const CZRMasterUnit* master = mixer->masterUnit()) {
        out_.startTag(2, "masterUnit");
        out_.integer(3, "outDev", master->values().outDev);
        writePlugins(master->vstList(CZRMasterUnit::kInsertList), "vstPlugin");
        writePlugins(master->vstList(CZRMasterUnit::kSendReturnList), "vstPluginSR");
        out_.integer(3, "retLevel", master->values().srRetLevel);
        out_.integer(3, "vol", master->values().vol);
        out_.endTag(2, "masterUnit");
    }
    forEach<CZRZRUnit>(mixer->zrUnitList(), [&](const CZRZRUnit& unit) {
        const ZRZRUnitValues& v = unit.values();
        out_.startTag(2, "zrUnit");
        out_.integer(3, "zrTrackNo", v.trackNo);
        out_.integer(3, "inGain", v.inGain);
        writePlugins(unit.vstList(), "vstPlugin");
        writeChannelValues(out_, v);
        out_.endTag(2, "zrUnit");
    });
    if (const CZRSEUnit* se = mixer->seUnit()) {
        const ZRSEUnitValues& v = se->values();
        out_.startTag(2, "seUnit");
        out_.integer(3, "inGain", v.inGain);
        writePlugins(se->vstList(), "vstPlugin");
        writeChannelValues(out_, v);
        out_.endTag(2, "seUnit");
    }
    if (const CZRKaraokeUnit* karaoke = mixer->karaokeUnit()) {
        const ZRKaraokeUnitValues& v = karaoke->values();
        out_.startTag(2, "karaokeUnit");
        out_.integer(3, "inGain", v.inGain);
        writePlugins(karaoke->vstList(), "vstPlugin");
        out_.integer(3, "mute", v.mute);
        out_.integer(3, "solo", v.solo);
        out_.integer(3, "vol", v.vol);
        out_.endTag(2, "karaokeUnit");
    }
    out_.endTag(1, "mixer");
}

void CZRKor3Writer::writePlugins(const CZRNodeList* list, std::string_view name) {
    forEach<CZRVstPlugin>(list, [&](const CZRVstPlugin& plugin) { writePlugin(plugin, name); });
}

void CZRKor3Writer::writePlugin(const CZRVstPlugin& plugin, std::string_view name) {
    const ZRVstPluginValues& v = plugin.values();
    out_.startTag(3, name);
    out_.text(4, "vstPluginID", v.id, kPluginIDMax);
    out_.text(4, "vstPluginName", v.name, kNameMax);
    out_.integer(4, "vstSDKVersion", v.sdkVersion);
    out_.integer(4, "vstParamNum", v.paramNum);
    out_.startTag(4, "vstParamVal");
    for (const std::int32_t value : v.values)
        out_.integer(5, "val", value);
    out_.endTag(4, "vstParamVal");
    out_.integer(4, "vstPresetNo", v.presetNo);
    out_.integer(4, "enable", v.enable);
    out_.integer(4, "bypass", v.bypass);
    out_.endTag(3, name);
}

void CZRKor3Writer::writeMasterTrack(const CZRSequence& sequence) {
    const CZRMasterTrack* master = sequence.masterTrack();
    if (master == nullptr) return;
    out_.startTag(1, "masterTrack");
    out_.text(2, "seqName", master->getSeqName(), kNameMax);
    out_.text(2, "comment", master->getComment(), kNameMax);
    out_.integer(2, "resolution", master->getResolution());
    out_.integer(2, "preMeasure", master->getPreMeasure());
    forEach<CZRTimeSig>(master->timeSigList(), [&](const CZRTimeSig& timeSig) {
        out_.startTag(2, "timeSig");
        out_.integer(3, "posMes", timeSig.values().posMes);
        out_.integer(3, "nume", timeSig.values().numerator);
        out_.integer(3, "denomi", timeSig.values().denominator);
        out_.endTag(2, "timeSig");
    });
    forEach<CZRTempo>(master->tempoList(), [&](const CZRTempo& tempo) {
        out_.startTag(2, "tempo");
        out_.integer(3, "posTick", tempo.values().posTick);
        out_.integer(3, "bpm", tempo.values().bpm);
        out_.endTag(2, "tempo");
    });
    out_.endTag(1, "masterTrack");
}

void CZRKor3Writer::writeMusicalPart(const CZRMusicalPart& part) {
    out_.startTag(2, "musicalPart");
    writePartHead(out_, part.part());

    const CZRStylePlugin* plugin = part.stylePlugin();
    out_.startTag(3, "stylePlugin");
    out_.text(4, "stylePluginID", plugin != nullptr ? plugin->getID() : L"", kPluginIDMax);
    out_.text(4, "stylePluginName", plugin != nullptr ? plugin->getName() : L"", kNameMax);
    out_.text(4, "version", plugin != nullptr ? plugin->getVersion() : L"", kVersionMax);
    out_.endTag(3, "stylePlugin");

    out_.startTag(3, "partStyle");
    if (const CZRPartStyleAttrib* style = part.partStyle())
        for (const auto& [id, value] : style->values())
            out_.attr(4, id, value);
    out_.endTag(3, "partStyle");

    gatherStyleEvents(part.phraseStyleLists());
    writeRecords("phraseStyle", "posTick");

    writeVoiceEvents<CZRMusicalSinger>(out_, part.singerList(), "singer", "posTick");
    gatherControls<CZRMusicalControl>(part);
    writeRecords("mCtrl", "posTick");

    gatherStyleEvents(part.styleControlLists());
    writeRecords("sCtrl", "posTick");

    writeNotes(part);
    out_.endTag(2, "musicalPart");
}

void CZRKor3Writer::writeNotes(const CZRMusicalPart& part) {
    forEach<CZRMusicalNote>(part.noteList(), [&](const CZRMusicalNote& note) {
        const ZRMusicalNoteValues& v = note.values();
        out_.startTag(3, "note");
        out_.integer(4, "posTick", v.posTick);
        out_.integer(4, "durTick", v.durTick);
        out_.integer(4, "noteNum", v.noteNum);
        out_.integer(4, "velocity", v.velocity);
        out_.text(4, "lyric", v.lyric, kSymbolMax);
        phonemes_.clear();
        for (const std::wstring& phoneme : v.phonemes) {
            if (!phonemes_.empty()) phonemes_ += L' ';
            phonemes_ += phoneme;
        }
        if (v.phLock != 0)
            out_.text(4, "phnms", "lock", v.phLock, phonemes_, kSymbolMax);
        else
            out_.text(4, "phnms", phonemes_, kSymbolMax);

        out_.startTag(4, "noteStyle");
        if (const CZRNoteStyleAttrib* style = note.noteStyle())
            for (const auto& [id, value] : style->values())
                out_.attr(5, id, value);
        if (const CZRNoteStyleSeqAttrib* seqStyle = note.noteSeqStyle()) {
            for (const auto& [id, points] : seqStyle->lists()) {
                out_.startTag(5, "seqAttr", "id", id);
                forEach<CZRNoteStyleSeqAttribElement>(
                    points, [&](const CZRNoteStyleSeqAttribElement& point) {
                        out_.startTag(6, "elem");
                        out_.integer(7, "posNrm", point.values().posNrm);
                        out_.integer(7, "elv", point.values().elv);
                        out_.endTag(6, "elem");
                    });
                out_.endTag(5, "seqAttr");
            }
        }
        out_.endTag(4, "noteStyle");
        out_.endTag(3, "note");
    });
}

void CZRKor3Writer::writeProsodyPart(const CZRProsodyPart& part) {
    out_.startTag(2, "prosodyPart");
    writePartHead(out_, part.part());
    writeVoiceEvents<CZRProsodyVoice>(out_, part.voiceList(), "voice", "posSec");
    gatherControls<CZRProsodyControl>(part);
    writeRecords("pCtrl", "posSec");

    const std::pair<const char*, const char*> curves[] = {{"pch", "pchVal"}, {"dyn", "dynVal"}};
    for (std::size_t which = 0; which < 2; ++which) {
        const char* name = curves[which].first;
        const char* valueName = curves[which].second;
        forEach<CZRProsodyElement>(part.elementList(which), [&](const CZRProsodyElement& point) {
            out_.startTag(3, name);
            out_.integer(4, "posSec", point.values().posSec);
            out_.integer(4, valueName, point.values().value);
            out_.endTag(3, name);
        });
    }
    forEach<CZRProsodyPhoneme>(part.phonemeList(), [&](const CZRProsodyPhoneme& phoneme) {
        out_.startTag(3, "phnm");
        out_.integer(4, "posSec", phoneme.values().posSec);
        out_.integer(4, "durSec", phoneme.values().durSec);
        out_.text(4, "phnmStr", phoneme.values().phoneme, kSymbolMax);
        out_.endTag(3, "phnm");
    });
    out_.endTag(2, "prosodyPart");
}

void CZRKor3Writer::writeWAVTrack(const CZRWAVTrack* track, std::string_view name) {
    out_.startTag(1, name);
    if (track != nullptr) {
        forEach<CZRWAVPart>(track->wavPartList(), [&](const CZRWAVPart& part) {
            out_.startTag(2, "wavPart");
            writePartHead(out_, part.part());
            out_.integer(3, "sampleRate", part.getSampleRate());
            out_.integer(3, "sampleReso", part.getSampleReso());
            out_.integer(3, "channels", part.getChannels());
            out_.text(3, "filePath", part.getFilePath(), kPathMax);
            out_.endTag(2, "wavPart");
        });
    }
    out_.endTag(1, name);
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
        out_.startTag(3, name);
        out_.integer(4, posName, record.pos);
        out_.attr(4, record.id, record.value);
        out_.endTag(3, name);
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
