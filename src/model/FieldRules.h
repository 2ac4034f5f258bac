// Range rules for the value fields of an object: one table per class drives both its check and
// its repair, so the two can never disagree about a range or an order.
#pragma once

#include "model/ObjectTree.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

namespace kor {

/// What a repair does with a field that breaks its rule.
enum class Repair {
    Clamp, ///< a number is pulled into its range
    Reset, ///< the field takes the rule's reset value
    Leave, ///< reported by the check, left as it is by the repair
    Fail,  ///< the repair stops and reports the code with kUnrepairable
};

/// No upper bound for a number.
inline constexpr std::int32_t kNoLimit = std::numeric_limits<std::int32_t>::max();

/// A rule for one field of the value record `V`: a number within [lo, hi], or a text whose
/// length is within [lo, hi] characters. `code` is what the check reports when it is not.
template <class V> struct FieldRule {
    std::int32_t V::*number = nullptr;
    std::wstring V::*text = nullptr;
    std::int32_t lo = 0;
    std::int32_t hi = 0;
    std::uint32_t code = 0;
    Repair repair = Repair::Leave;
    std::int32_t resetNumber = 0;
    const wchar_t* resetText = L"";
};

template <class V>
constexpr FieldRule<V> numberRule(std::int32_t V::*field, std::int32_t lo, std::int32_t hi,
                                  std::uint32_t code, Repair repair, std::int32_t reset = 0) {
    return {field, nullptr, lo, hi, code, repair, reset, L""};
}

template <class V>
constexpr FieldRule<V> textRule(std::wstring V::*field, std::int32_t minLength,
                                std::int32_t maxLength, std::uint32_t code, Repair repair,
                                const wchar_t* reset = L"") {
    return {nullptr, field, minLength, maxLength, code, repair, 0, reset};
}

template <class V> bool inRange(std::int32_t value, const FieldRule<V>& rule) {
    return value >= rule.lo && value <= rule.hi;
}

template <class V> bool followsRule(const V& values, const FieldRule<V>& rule) {
    if (rule.number != nullptr) return inRange(values.*rule.number, rule);
    const std::size_t length = (values.*rule.text).size();
    return length >= static_cast<std::size_t>(rule.lo) &&
           length <= static_cast<std::size_t>(rule.hi);
}

/// The code of the first rule that `values` breaks, in table order; 0 when all hold.
template <class V> std::uint32_t checkRules(const V& values, std::span<const FieldRule<V>> rules) {
    for (const FieldRule<V>& rule : rules)
        if (!followsRule(values, rule)) return rule.code;
    return 0;
}

/// The code of the rule for the number `field` when `values` breaks it; 0 when it holds or no rule
/// covers the field. Lets a caller check one input against the class's own ranges.
template <class V>
std::uint32_t checkField(const V& values, std::span<const FieldRule<V>> rules,
                         std::int32_t V::*field) {
    // Only the number rules are read, so a record without texts reads none.
    for (const FieldRule<V>& rule : rules)
        if (rule.number == field && !inRange(values.*field, rule)) return rule.code;
    return 0;
}

/// Repairs `values` rule by rule, in table order. Stops at the first broken Fail rule with its
/// code | kUnrepairable (fields repaired before it stay repaired); otherwise 1 when a field
/// changed, else 0.
template <class V> std::uint32_t repairRules(V& values, std::span<const FieldRule<V>> rules) {
    std::uint32_t changed = 0;
    for (const FieldRule<V>& rule : rules) {
        if (followsRule(values, rule)) continue;
        switch (rule.repair) {
        case Repair::Clamp:
            assert(rule.number != nullptr && "only numbers are clamped");
            values.*rule.number = std::clamp(values.*rule.number, rule.lo, rule.hi);
            changed = 1;
            break;
        case Repair::Reset:
            if (rule.number != nullptr)
                values.*rule.number = rule.resetNumber;
            else
                values.*rule.text = rule.resetText;
            changed = 1;
            break;
        case Repair::Leave:
            break;
        case Repair::Fail:
            return rule.code | kUnrepairable;
        }
    }
    return changed;
}

} // namespace kor
