#include "interchange/ScorePerformance.h"

#include "interchange/MusicXmlScore.h"

#include <algorithm>
#include <string>

namespace kor {

namespace {

// The steps the walk may take, measures sung and endings skipped together: it bounds the work
// a score of many small endings asks for.
constexpr std::size_t kMaxSteps = 4 * kMaxPerformedMeasures;

// An ending (volta): where it ends, and the group of endings it belongs to.
struct Ending {
    std::int32_t end = 0;
    std::size_t group = 0;
};

// Endings that follow each other, closing one repeated section.
struct EndingGroup {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int32_t firstRepeat = -1; ///< the first backward repeat within it; -1: none
    std::int32_t lastPass = 1;     ///< the highest pass its endings name
};

// Walks a score's measures as they are performed.
class Unfolder {
public:
    explicit Unfolder(const MusicXmlScore& score)
        : count_(static_cast<std::int32_t>(measureCount(score))) {
        marks_.assign(static_cast<std::size_t>(count_), nullptr);
        for (const auto& [measure, marks] : score.marks)
            if (measure >= 0 && measure < count_)
                marks_[static_cast<std::size_t>(measure)] = &marks;
        findEndings();
        findTargets();
        findSections();
        pass_.assign(marks_.size(), 1);
    }

    std::optional<std::vector<PerformedMeasure>> run() {
        std::vector<PerformedMeasure> order;
        std::int32_t m = 0;
        for (std::size_t steps = 0; m < count_; ++steps) {
            if (steps == kMaxSteps || order.size() == kMaxPerformedMeasures) return std::nullopt;
            if (skipsEnding(m)) {
                m = endings_[static_cast<std::size_t>(m)]->end + 1;
                arrive(m);
                continue;
            }
            order.push_back({m, jumped_ ? 1 : passOf(m)});
            const std::optional<std::int32_t> next = jumpAfter(m);
            if (next && *next < 0) break;
            m = next ? *next : m + 1;
        }
        return order;
    }

private:
    const ScoreMeasureMarks* marks(std::int32_t m) const {
        return marks_[static_cast<std::size_t>(m)];
    }

    bool startsEnding(std::int32_t m) const {
        return marks(m) != nullptr && !marks(m)->endingStart.empty();
    }

    void findEndings() {
        endings_.assign(marks_.size(), std::nullopt);
        groupAt_.assign(marks_.size(), -1);
        for (std::int32_t m = 0; m < count_; ++m) {
            if (!startsEnding(m)) continue;
            std::int32_t end = m;
            for (std::int32_t k = m; k < count_; ++k) {
                if (k > m && startsEnding(k)) {
                    end = k - 1;
                    break;
                }
                if (marks(k) != nullptr && marks(k)->endingEnds) {
                    end = k;
                    break;
                }
            }
            if (groups_.empty() || groups_.back().last + 1 != m) groups_.push_back({m, m, -1, 1});
            EndingGroup& group = groups_.back();
            group.last = end;
            for (const std::int32_t pass : marks(m)->endingStart)
                group.lastPass = std::max(group.lastPass, pass);
            endings_[static_cast<std::size_t>(m)] = Ending{end, groups_.size() - 1};
            for (std::int32_t k = m; k <= end; ++k) {
                groupAt_[static_cast<std::size_t>(k)] =
                    static_cast<std::int32_t>(groups_.size() - 1);
                if (marks(k) != nullptr && marks(k)->backwardRepeat > 0 && group.firstRepeat < 0)
                    group.firstRepeat = k;
            }
            m = end;
        }
    }

    // Where each backward repeat goes back to. A later repeat of a group of endings goes back
    // where the group's first one does.
    void findTargets() {
        targets_.assign(marks_.size(), 0);
        std::vector<std::int32_t> forwards;
        std::int32_t afterLast = 0;
        for (std::int32_t m = 0; m < count_; ++m) {
            const ScoreMeasureMarks* here = marks(m);
            if (here == nullptr) continue;
            if (here->forwardRepeat) forwards.push_back(m);
            if (here->backwardRepeat == 0) continue;
            const EndingGroup* group = groupOf(m);
            std::int32_t& target = targets_[static_cast<std::size_t>(m)];
            if (group != nullptr && group->firstRepeat < m) {
                target = targets_[static_cast<std::size_t>(group->firstRepeat)];
            } else if (!forwards.empty()) {
                target = forwards.back();
                forwards.pop_back();
            } else {
                target = afterLast;
            }
            afterLast = m + 1;
            repeats_.emplace_back(target, m);
        }
    }

    // The repeated section of each measure: the innermost backward repeat's span; within the
    // endings of a group, the section they close.
    void findSections() {
        struct Span {
            std::int32_t first;
            std::int32_t last;
            std::int32_t section;
        };
        std::vector<Span> spans;
        for (const auto& [target, repeat] : repeats_)
            spans.push_back({target, repeat, target});
        std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
            return a.first != b.first ? a.first < b.first : a.last > b.last;
        });
        sections_.assign(marks_.size(), -1);
        std::vector<Span> open;
        std::size_t next = 0;
        for (std::int32_t m = 0; m < count_; ++m) {
            while (!open.empty() && open.back().last < m)
                open.pop_back();
            for (; next < spans.size() && spans[next].first == m; ++next)
                open.push_back(spans[next]);
            if (!open.empty()) sections_[static_cast<std::size_t>(m)] = open.back().section;
        }
        for (const EndingGroup& group : groups_)
            for (std::int32_t m = group.first; m <= group.last && group.firstRepeat >= 0; ++m)
                sections_[static_cast<std::size_t>(m)] =
                    targets_[static_cast<std::size_t>(group.firstRepeat)];
    }

    std::int32_t passOf(std::int32_t m) const {
        const std::int32_t section = sections_[static_cast<std::size_t>(m)];
        return section < 0 ? 1 : pass_[static_cast<std::size_t>(section)];
    }

    // Whether the ending that starts at `m` is left out on this pass.
    bool skipsEnding(std::int32_t m) const {
        const std::optional<Ending>& ending = endings_[static_cast<std::size_t>(m)];
        if (!ending) return false;
        const EndingGroup& group = groups_[ending->group];
        if (group.firstRepeat < 0) return false;
        const std::int32_t pass = jumped_
                                      ? group.lastPass
                                      : pass_[static_cast<std::size_t>(
                                            targets_[static_cast<std::size_t>(group.firstRepeat)])];
        const std::vector<std::int32_t>& passes = marks(m)->endingStart;
        return std::find(passes.begin(), passes.end(), pass) == passes.end();
    }

    const EndingGroup* groupOf(std::int32_t m) const {
        const std::int32_t group = groupAt_[static_cast<std::size_t>(m)];
        return group < 0 ? nullptr : &groups_[static_cast<std::size_t>(group)];
    }

    // How many passes the section that the backward repeat at `m` closes is sung: as often as
    // the repeat says, and within endings until the highest pass they name.
    std::int32_t passesOf(std::int32_t m) const {
        const EndingGroup* group = groupOf(m);
        return std::max(marks(m)->backwardRepeat, group != nullptr ? group->lastPass : 0);
    }

    // Reaching `m` other than by going back to it starts its section afresh.
    void arrive(std::int32_t m) {
        if (m < count_) pass_[static_cast<std::size_t>(m)] = 1;
    }

    // Where the performance goes after measure `m` when not to the next one: a measure, or -1
    // for its end. None: on to the next.
    std::optional<std::int32_t> jumpAfter(std::int32_t m) {
        const ScoreMeasureMarks* here = marks(m);
        if (here == nullptr) {
            arrive(m + 1);
            return std::nullopt;
        }
        if (jumped_ && here->fine) return -1;
        std::optional<std::int32_t> next;
        // The coda lies ahead; a coda sign at or before To Coda is no place to go on from. Only
        // the first To Coda after the jump counts.
        if (jumped_ && !toCoda_ && here->toCoda) {
            next = find(&ScoreMeasureMarks::coda, *here->toCoda, m + 1);
            toCoda_ = true;
        }
        const std::int32_t target = targets_[static_cast<std::size_t>(m)];
        std::int32_t& pass = pass_[static_cast<std::size_t>(target)];
        if (!jumped_ && here->backwardRepeat > 0 && pass < passesOf(m)) {
            ++pass;
            return target;
        }
        if (!jumped_ && here->daCapo) next = 0;
        if (!jumped_ && !next && here->dalSegno)
            next = find(&ScoreMeasureMarks::segno, *here->dalSegno);
        if (next) jumped_ = true;
        arrive(next ? *next : m + 1);
        return next;
    }

    // The measure from `from` on of the mark `kind` named `name`, else of the first such mark;
    // none without one.
    std::optional<std::int32_t> find(std::optional<std::wstring> ScoreMeasureMarks::*kind,
                                     const std::wstring& name, std::int32_t from = 0) const {
        std::optional<std::int32_t> first;
        for (std::int32_t m = from; m < count_; ++m) {
            const ScoreMeasureMarks* here = marks(m);
            if (here == nullptr || !(here->*kind)) continue;
            if (*(here->*kind) == name) return m;
            if (!first) first = m;
        }
        return first;
    }

    std::int32_t count_;
    std::vector<const ScoreMeasureMarks*> marks_;
    std::vector<std::optional<Ending>> endings_;
    std::vector<EndingGroup> groups_;
    std::vector<std::int32_t> groupAt_; // by measure: the group of endings it lies in, or -1
    std::vector<std::int32_t> targets_;
    // (where it goes back to, where it stands) of every backward repeat.
    std::vector<std::pair<std::int32_t, std::int32_t>> repeats_;
    std::vector<std::int32_t> sections_;
    std::vector<std::int32_t> pass_; // by section start: the pass being sung
    bool jumped_ = false;
    bool toCoda_ = false; // a To Coda was met after the jump
};

} // namespace

std::size_t measureCount(const MusicXmlScore& score) {
    std::size_t count = 0;
    for (const ScorePart& part : score.parts)
        count = std::max(count, part.measureLengths.size());
    return count;
}

bool hasRepeats(const MusicXmlScore& score) {
    return std::any_of(score.marks.begin(), score.marks.end(), [](const auto& entry) {
        const ScoreMeasureMarks& marks = entry.second;
        return marks.forwardRepeat || marks.backwardRepeat > 0 || !marks.endingStart.empty() ||
               marks.daCapo || marks.dalSegno;
    });
}

std::vector<PerformedMeasure> writtenOrder(const MusicXmlScore& score) {
    std::vector<PerformedMeasure> order(measureCount(score));
    for (std::size_t m = 0; m < order.size(); ++m)
        order[m] = {static_cast<std::int32_t>(m), 1};
    return order;
}

std::optional<std::vector<PerformedMeasure>> performedOrder(const MusicXmlScore& score) {
    return Unfolder(score).run();
}

} // namespace kor
