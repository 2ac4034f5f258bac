// The base of the object classes whose own state is one record of values.
#pragma once

#include "model/FieldRules.h"
#include "model/ObjectBase.h"

#include <utility>

/// An object class on TZRObject whose value fields are the record `Values` (the same record its
/// creating function takes). It copies and exchanges that record as a whole, and when `Derived`
/// declares `static constexpr std::array<kor::FieldRule<Values>, N> kRules`, checks and repairs
/// the record by that table. Classes with more to check override validate / correct and call
/// these first.
template <class Derived, class ReadInterface, class Values>
class TZRValueObject : public TZRObject<Derived, ReadInterface> {
public:
    explicit TZRValueObject(std::uint32_t objID, Values values = {})
        : TZRObject<Derived, ReadInterface>(objID)
        , values_(std::move(values)) {}

    /// The value record; the readers and the editor set fields through the writable form.
    const Values& values() const { return values_; }
    Values& values() { return values_; }
    void setValues(Values values) { values_ = std::move(values); }

    std::uint32_t validate() const override {
        if constexpr (requires { Derived::kRules; })
            return kor::checkRules<Values>(values_, Derived::kRules);
        else
            return 0;
    }
    std::uint32_t correct(CZRObjectTable&, const ZRCreateContext&) override {
        if constexpr (requires { Derived::kRules; })
            return kor::repairRules<Values>(values_, Derived::kRules);
        else
            return 0;
    }

protected:
    friend class TZRObject<Derived, ReadInterface>;

    void copyValues(const Derived& source) { values_ = source.values(); }
    void swapValues(Derived& other) { std::swap(values_, other.values()); }

private:
    Values values_;
};
