// The details that follow an error's table text: a value, the range it left and the rule it
// broke.
#pragma once

#include "edit/EditSession.h"
#include "model/DumpFormat.h"
#include "model/FieldRules.h"

#include <korman/IZRKorObject.h>

#include <cstdint>
#include <span>
#include <string>

namespace kor {

/// "<what> <value> is outside <lo>–<hi><unit>.", or "is below <lo><unit>." for a value below a
/// range that nothing bounds from above (hi is kNoLimit).
std::wstring rangeDetail(const wchar_t* what, std::int64_t value, std::int32_t lo, std::int32_t hi,
                         const wchar_t* unit = L"");

/// rangeDetail for `value`, which broke the range [`lo`, `hi`] checked under `code`, with the
/// name and unit that value has wherever that code is reported ("Note number 200 is outside
/// 0–127.", "Tempo 1 (0.01 BPM) is outside 20.00–300.00 BPM.").
std::wstring valueDetail(std::uint32_t code, std::int64_t value, std::int32_t lo, std::int32_t hi);

/// "<what> of <length> characters is outside <lo>–<hi> characters."; a null `what` takes the
/// name of the text checked under `code`.
std::wstring lengthDetail(std::uint32_t code, const wchar_t* what, std::size_t length,
                          std::int32_t lo, std::int32_t hi);

/// The code of the first rule of `rules` that `values` breaks, with `detail` naming the value and
/// the rule's range (valueDetail, lengthDetail), so that a message never disagrees with the
/// check; 0, leaving `detail`, when all hold.
template <class V>
[[nodiscard]] std::uint32_t brokenRule(const V& values, std::span<const FieldRule<V>> rules,
                                       std::wstring& detail) {
    for (const FieldRule<V>& rule : rules) {
        if (followsRule(values, rule)) continue;
        detail =
            rule.number != nullptr
                ? valueDetail(rule.code, values.*rule.number, rule.lo, rule.hi)
                : lengthDetail(rule.code, nullptr, (values.*rule.text).size(), rule.lo, rule.hi);
        return rule.code;
    }
    return 0;
}

// The editor's forms: each explains its code in the running operation (EditSession::explain)
// and returns it.

/// Explains `code` for `value` outside [`lo`, `hi`] (valueDetail).
std::uint32_t outOfRange(const EditSession& session, std::uint32_t code, std::int64_t value,
                         std::int32_t lo, std::int32_t hi);

/// As outOfRange, for a code several values share, which `what` names ("Note accent").
std::uint32_t outOfRange(const EditSession& session, std::uint32_t code, const wchar_t* what,
                         std::int64_t value, std::int32_t lo, std::int32_t hi);

/// Explains `code` for `what` (a note, a part) at `posTick` lasting `durTick`, which ends past the
/// editor's upper tick limit (the policy's maxNoteTick).
std::uint32_t pastTickLimit(const EditSession& session, std::uint32_t code, const wchar_t* what,
                            std::int64_t posTick, std::int64_t durTick);

/// Explains ZR_E_EDIT_TARGET_NOT_FOUND for the object `objID`, which the song holds as `found`
/// (null: not at all) where an edit needs an object of `wanted`: another class, an object this
/// editor inserted (it joins the song at the commit), or none.
void explainMissingTarget(const EditSession& session, std::uint32_t objID,
                          const IZRKorObject* found, ZRObjType wanted);

/// The rule of `rules` for the number `field`, when `values` breaks it, explained; else 0.
template <class V>
[[nodiscard]] std::uint32_t checkField(const EditSession& session, const V& values,
                                       std::span<const FieldRule<V>> rules,
                                       std::int32_t V::*field) {
    for (const FieldRule<V>& rule : rules)
        if (rule.number == field && !inRange(values.*field, rule))
            return outOfRange(session, rule.code, values.*field, rule.lo, rule.hi);
    return 0;
}

/// The first rule of `rules` that `values` breaks, explained (brokenRule); else 0.
template <class V>
[[nodiscard]] std::uint32_t checkRules(const EditSession& session, const V& values,
                                       std::span<const FieldRule<V>> rules) {
    std::wstring detail;
    const std::uint32_t code = brokenRule(values, rules, detail);
    return code != 0 ? session.explain(code, L"%ls", detail.c_str()) : 0;
}

} // namespace kor
