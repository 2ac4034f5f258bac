#include "edit/EditMessages.h"

#include "model/DumpFormat.h"

#include <korman/ErrorCodes.h>

#include <algorithm>
#include <cstdlib>

namespace kor {

namespace {

/// How a value checked under one code is named in a message, and the unit of its range.
struct ValueWords {
    std::uint32_t code;
    const wchar_t* what;
    const wchar_t* unit;
};

constexpr ValueWords kValueWords[] = {
    {ZR_E_INVALID_TEMPO_POSITION, L"Tempo position", L" ticks"},
    {ZR_E_INVALID_TIME_SIGNATURE_VALUE, L"Time signature numerator", L""},
    {ZR_E_INVALID_TIME_SIGNATURE_POSITION, L"Time signature measure", L""},
    {ZR_E_INVALID_NOTE_POSITION, L"Note position", L" ticks"},
    {ZR_E_INVALID_NOTE_DURATION, L"Note length", L" ticks"},
    {ZR_E_INVALID_NOTE_NUMBER, L"Note number", L""},
    {ZR_E_INVALID_NOTE_VELOCITY, L"Note velocity", L""},
    {ZR_E_INVALID_LYRIC, L"Lyric", L""},
    {ZR_E_INVALID_SEQUENTIAL_NOTE_STYLE_ATTRIBUTE_POSITION, L"Curve point position",
     L" (65536 is the note's end)"},
    {ZR_E_INVALID_SINGER_POSITION, L"Singer position", L" ticks"},
    {ZR_E_INVALID_MUSICAL_CONTROL_POSITION, L"Musical control position", L" ticks"},
    {ZR_E_INVALID_MUSICAL_CONTROL_ID, L"Musical control kind", L""},
    {ZR_E_INVALID_STYLE_CONTROL_POSITION, L"Style control position", L" ticks"},
    {ZR_E_INVALID_STYLE_CONTROL_ID, L"Style control name", L""},
    {ZR_E_INVALID_PROSODY_VOICE_POSITION, L"Prosody voice position", L" (65536 is one second)"},
    {ZR_E_INVALID_PROSODY_ELEMENT_POSITION, L"Prosody element position", L" (65536 is one second)"},
    {ZR_E_INVALID_PROSODY_CONTROL_POSITION, L"Prosody control position", L" (65536 is one second)"},
    {ZR_E_INVALID_PROSODY_CONTROL_ID, L"Prosody control kind", L""},
    {ZR_E_INVALID_PART_STYLE_ATTRIBUTE_ID, L"Part style ID", L""},
    {ZR_E_INVALID_PART_PLAY_TIME, L"Play time", L" ticks"},
    {ZR_E_INVALID_PART_EXTEND_DURATION, L"Extension", L" ticks"},
    {ZR_E_INVALID_PREMEASURE, L"Pre-measure count", L""},
    {ZR_E_INVALID_TRACK_ID, L"Track number", L""},
    {ZR_E_INVALID_VVOICE_BANK_SELECT, L"VVoice bank select", L""},
    {ZR_E_INVALID_VVOICE_PROGRAM_CHANGE, L"VVoice program change", L""},
    {ZR_E_INVALID_VVOICE_COMPONENT_ID, L"VVoice component ID", L""},
    {ZR_E_INVALID_VVOICE_NAME, L"VVoice name", L""},
    {ZR_E_INVALID_VVOICE_PARAMETER, L"VVoice parameter", L""},
};

const ValueWords* wordsFor(std::uint32_t code) {
    for (const ValueWords& words : kValueWords)
        if (words.code == code) return &words;
    return nullptr;
}

/// `hundredths` as a decimal with two places ("0.01", "-1.50", "300.00").
std::wstring hundredths(std::int64_t value) {
    std::wstring text;
    appendFormat(text, L"%s%lld.%02lld", value < 0 ? "-" : "", std::llabs(value) / 100,
                 std::llabs(value) % 100);
    return text;
}

} // namespace

std::wstring rangeDetail(const wchar_t* what, std::int64_t value, std::int32_t lo, std::int32_t hi,
                         const wchar_t* unit) {
    std::wstring text;
    if (hi == kNoLimit && value < lo)
        appendFormat(text, L"%ls %lld is below %d%ls.", what, static_cast<long long>(value), lo,
                     unit);
    else
        appendFormat(text, L"%ls %lld is outside %d\u2013%d%ls.", what,
                     static_cast<long long>(value), lo, hi, unit);
    return text;
}

std::wstring valueDetail(std::uint32_t code, std::int64_t value, std::int32_t lo, std::int32_t hi) {
    // A tempo counts hundredths of a beat per minute; the host reads beats per minute.
    if (code == ZR_E_INVALID_TEMPO_VALUE) {
        std::wstring text;
        appendFormat(text, L"Tempo %lld (%ls BPM) is outside %ls\u2013%ls BPM.",
                     static_cast<long long>(value), hundredths(value).c_str(),
                     hundredths(lo).c_str(), hundredths(hi).c_str());
        return text;
    }
    const ValueWords* words = wordsFor(code);
    return rangeDetail(words != nullptr ? words->what : L"Value", value, lo, hi,
                       words != nullptr ? words->unit : L"");
}

std::wstring lengthDetail(std::uint32_t code, const wchar_t* what, std::size_t length,
                          std::int32_t lo, std::int32_t hi) {
    if (what == nullptr) {
        const ValueWords* words = wordsFor(code);
        what = words != nullptr ? words->what : L"Text";
    }
    std::wstring text;
    appendFormat(text, L"%ls of %zu characters is outside %d\u2013%d characters.", what, length, lo,
                 hi);
    return text;
}

std::uint32_t outOfRange(const EditSession& session, std::uint32_t code, std::int64_t value,
                         std::int32_t lo, std::int32_t hi) {
    return session.explain(code, L"%ls", valueDetail(code, value, lo, hi).c_str());
}

std::uint32_t outOfRange(const EditSession& session, std::uint32_t code, const wchar_t* what,
                         std::int64_t value, std::int32_t lo, std::int32_t hi) {
    return session.explain(code, L"%ls", rangeDetail(what, value, lo, hi).c_str());
}

void explainMissingTarget(const EditSession& session, std::uint32_t objID,
                          const IZRKorObject* found, ZRObjType wanted) {
    if (found != nullptr) {
        session.explain(ZR_E_EDIT_TARGET_NOT_FOUND, L"Object %u is a %ls, not a %ls.", objID,
                        objectName(*found).c_str(), kindName(wanted));
        return;
    }
    const auto& pending = session.pending();
    const bool inserted = std::any_of(pending.begin(), pending.end(), [&](const auto& record) {
        return record->workingObject(objID) != nullptr;
    });
    if (inserted)
        session.explain(ZR_E_EDIT_TARGET_NOT_FOUND,
                        L"The %ls %u is one this editor inserted: edits reach objects of the song, "
                        L"which it joins at the commit; a new editor can then edit it.",
                        kindName(wanted), objID);
    else
        session.explain(ZR_E_EDIT_TARGET_NOT_FOUND, L"The song has no object %u.", objID);
}

std::uint32_t pastTickLimit(const EditSession& session, std::uint32_t code, const wchar_t* what,
                            std::int64_t posTick, std::int64_t durTick) {
    return session.explain(code,
                           L"%ls end %lld (position %lld + length %lld) lies past the upper tick "
                           L"limit %d (the policy's maxNoteTick).",
                           what, static_cast<long long>(posTick + durTick),
                           static_cast<long long>(posTick), static_cast<long long>(durTick),
                           session.policy().maxNoteTick);
}

} // namespace kor
