// One value element of a KOR3 node beside what it sets, so that a node's names and fields are
// one list.
#pragma once

#include "formats/xml/XmlValue.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Kor3 {

/// A value element a node takes, and what its value sets in the node's target (an object or a
/// value record): an integer or text field, an integer or text setter, or a function for a value
/// that does more than store itself. A node keeps its rows in one array, so a name can only stand
/// beside its own field.
template <class Target> class TZRValueField {
public:
    using Take = void (*)(Target&, const CZRXmlValue&);

    constexpr TZRValueField(std::u16string_view name, std::int32_t Target::*number)
        : name_(name)
        , apply_(&applyNumber)
        , number_(number) {}
    constexpr TZRValueField(std::u16string_view name, std::wstring Target::*text)
        : name_(name)
        , apply_(&applyText)
        , text_(text) {}
    constexpr TZRValueField(std::u16string_view name, void (Target::*setNumber)(std::int32_t))
        : name_(name)
        , apply_(&applySetNumber)
        , setNumber_(setNumber) {}
    constexpr TZRValueField(std::u16string_view name, void (Target::*setText)(std::wstring))
        : name_(name)
        , apply_(&applySetText)
        , setText_(setText) {}
    constexpr TZRValueField(std::u16string_view name, Take take)
        : name_(name)
        , apply_(&applyFunction)
        , take_(take) {}

    constexpr std::u16string_view name() const { return name_; }

    /// Stores the element's value in `target`.
    void take(Target& target, const CZRXmlValue& value) const { apply_(*this, target, value); }

private:
    // One function per kind of row, chosen by the constructor, so that only the kinds a target
    // uses are made for it.
    using Apply = void (*)(const TZRValueField&, Target&, const CZRXmlValue&);
    static void applyNumber(const TZRValueField& row, Target& target, const CZRXmlValue& value) {
        target.*row.number_ = value.number();
    }
    static void applyText(const TZRValueField& row, Target& target, const CZRXmlValue& value) {
        target.*row.text_ = value.text();
    }
    static void applySetNumber(const TZRValueField& row, Target& target, const CZRXmlValue& value) {
        (target.*row.setNumber_)(value.number());
    }
    static void applySetText(const TZRValueField& row, Target& target, const CZRXmlValue& value) {
        (target.*row.setText_)(value.text());
    }
    static void applyFunction(const TZRValueField& row, Target& target, const CZRXmlValue& value) {
        row.take_(target, value);
    }

    std::u16string_view name_;
    Apply apply_;
    union {
        std::int32_t Target::*number_;
        std::wstring Target::*text_;
        void (Target::*setNumber_)(std::int32_t);
        void (Target::*setText_)(std::wstring);
        Take take_;
    };
};

/// What a node's value lookup answers for a name it does not take.
inline constexpr std::size_t kNotAValue = static_cast<std::size_t>(-1);

/// The row of `rows` named `name`, or kNotAValue. Rows of another length or first letter are
/// passed over before any whole name is compared.
template <class Target, std::size_t N>
std::size_t findRow(const TZRValueField<Target> (&rows)[N], std::u16string_view name) {
    if (name.empty()) return kNotAValue;
    for (std::size_t row = 0; row < N; ++row) {
        const std::u16string_view rowName = rows[row].name();
        if (rowName.size() == name.size() && rowName.front() == name.front() && rowName == name)
            return row;
    }
    return kNotAValue;
}

/// The row of `name` in `first` followed by `second`: a node whose values fill two targets
/// numbers the rows of the first table first.
template <class First, std::size_t N, class Second, std::size_t M>
std::size_t findRow(const TZRValueField<First> (&first)[N],
                    const TZRValueField<Second> (&second)[M], std::u16string_view name) {
    if (const std::size_t row = findRow(first, name); row != kNotAValue) return row;
    const std::size_t row = findRow(second, name);
    return row != kNotAValue ? N + row : kNotAValue;
}

/// Takes the value of the row that findRow(first, second, name) gave into its table's target.
template <class First, std::size_t N, class Second, std::size_t M>
void takeRow(const TZRValueField<First> (&first)[N], First& firstTarget,
             const TZRValueField<Second> (&second)[M], Second& secondTarget, std::size_t row,
             const CZRXmlValue& value) {
    if (row < N)
        first[row].take(firstTarget, value);
    else
        second[row - N].take(secondTarget, value);
}

} // namespace Kor3
