// The value records of the editor, read from the objects they describe.
#include <korman/ZRValueOf.h>

#include <korman/IZRMusicalControl.h>
#include <korman/IZRMusicalNote.h>
#include <korman/IZRMusicalPart.h>
#include <korman/IZRMusicalSinger.h>
#include <korman/IZRNoteStyleAttrib.h>
#include <korman/IZRNoteStyleSeqAttribElement.h>
#include <korman/IZRProsodyControl.h>
#include <korman/IZRProsodyElement.h>
#include <korman/IZRProsodyVoice.h>
#include <korman/IZRStyleControl.h>
#include <korman/IZRTempo.h>
#include <korman/IZRTimeSig.h>
#include <korman/IZRWAVPart.h>

namespace kor {

namespace {

std::int32_t styleValue(const IZRNoteStyleAttrib& style, const wchar_t* id) {
    std::int32_t value = 0;
    (void)style.getValue(id, value);
    return value;
}

} // namespace

ZRTempoValue valueOf(const IZRTempo& tempo) {
    return {tempo.getPosTick(), tempo.getBPM()};
}

ZRTimeSigValue valueOf(const IZRTimeSig& timeSig) {
    return {timeSig.getPosMes(), timeSig.getNumerator(), timeSig.getDenominator()};
}

ZRSingerValue valueOf(const IZRMusicalSinger& singer) {
    return {singer.getPosTick(), singer.getVBS(), singer.getVPC()};
}

ZRMusicalControlValue valueOf(const IZRMusicalControl& control) {
    return {control.getPosTick(), control.getType(), control.getValue()};
}

ZRStyleControlValue valueOf(const IZRStyleControl& control) {
    return {control.getPosTick(), control.getID(), control.getVal()};
}

ZRNoteValue valueOf(const IZRMusicalNote& note) {
    ZRNoteValue value{note.getPosTick(),  note.getDurTick(), note.getNoteNum(),
                      note.getVelocity(), note.getLyric(),   {},
                      note.getPhLock()};
    value.phonemes.reserve(note.getPhonemeCount());
    for (std::uint32_t i = 0; i < note.getPhonemeCount(); ++i)
        value.phonemes.push_back(note.getPhoneme(i));
    return value;
}

ZRNoteStyleValue valueOf(const IZRNoteStyleAttrib& style) {
    return {styleValue(style, L"bendDep"),  styleValue(style, L"bendLen"),
            styleValue(style, L"risePort"), styleValue(style, L"fallPort"),
            styleValue(style, L"decay"),    styleValue(style, L"accent"),
            styleValue(style, L"opening")};
}

ZRNoteStyleSeqAttribElementValue valueOf(const IZRNoteStyleSeqAttribElement& point) {
    return {point.getPosNrm(), point.getElv()};
}

ZRMusicalPartValue valueOf(const IZRMusicalPart& part) {
    return {part.getPosTick(), part.getPlayTime(), part.getName(), part.getComment()};
}

ZRWAVPartValue valueOf(const IZRWAVPart& part) {
    return {part.getPosTick(), part.getPlayTime(), part.getName(), part.getComment()};
}

ZRProsodyVoiceValue valueOf(const IZRProsodyVoice& voice) {
    return {voice.getPosSec(), voice.getVBS(), voice.getVPC()};
}

ZRProsodyElementValue valueOf(const IZRProsodyElement& element) {
    return {element.getPosSec(), element.getValue()};
}

ZRProsodyControlValue valueOf(const IZRProsodyControl& control) {
    return {control.getPosSec(), control.getType(), control.getValue()};
}

ZRVibratoValue vibratoOf(const IZRMusicalNote& note) {
    const IZRNoteStyleAttrib* style = note.getNoteStyle();
    if (style == nullptr) return {};
    const std::int32_t type = styleValue(*style, L"vibType");
    const std::int32_t length = styleValue(*style, L"vibLen");
    return {type != 0 || length != 0 ? 1 : 0, length, type};
}

} // namespace kor
