// SPDX-License-Identifier: MIT
#pragma once
// Drives the two generation runs from the window: reads the controls, asks the core for
// the next slice of numbers, appends it to the result box, counts it, and lets pending
// events through between slices so the window stays responsive.

#include <QElapsedTimer>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "generate/run_plan.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;

namespace haoma::app {

class Services;
class TextBox;

// The controls a run reads and writes, by role.
struct RunControls {
    QLineEdit* plannedTotal;
    TextBox* segmentBox;
    TextBox* resultBox;
    QLabel* generatedTotal;
    QPushButton* queryButton;
    QPushButton* prettyButton;
    QPushButton* allNumbersButton;
    QAbstractButton* prettyMode;
    QAbstractButton* allNumbersMode;
    std::vector<QAbstractButton*> patternBoxes;  // in kind order
    std::vector<QPushButton*> indicators;        // in kind order
};

// A run by rule: the plan's numbers (its lines are the segment box's, its limit the planned
// total), or a seeded sample of them.
struct RuleRun {
    generate::RunPlan plan;
    std::optional<std::uint64_t> sample;
    std::uint64_t seed = 0;
    bool shuffle = false;
};

class RunDriver {
  public:
    RunDriver(RunControls controls, Services& services);

    void runPrettyNumbers();
    void runAllNumbers();
    void runRule(const RuleRun& request);
    // Where a run by rule stops: the planned total, or 1,000,000 when it is not positive
    // (the run then writes that into the planned total, as the pretty run does).
    std::uint64_t ruleLimit() const;

    bool active() const { return active_; }
    // Ends the run at hand between two slices (within a slice's time), keeping what it wrote.
    void requestStop() { stopRequested_ = true; }

    // Most lines the result box may hold; a run stops with a message rather than pass it.
    void setResultCapacity(std::int64_t lines) { capacity_ = lines; }
    // Upper bound on the numbers of one slice (the time target usually decides first).
    void setSliceLimit(std::size_t numbers) { sliceLimit_ = numbers; }

    // Longest slice, in milliseconds of work, seen since the last reset (for measurements).
    double longestSliceMs() const { return longestSliceMs_; }
    const std::vector<double>& sliceDurationsMs() const { return sliceDurations_; }
    void resetSliceStatistics();

  private:
    std::int32_t plannedTotal() const;
    // The pretty run and the run by rule put 1,000,000 into a planned total that is not
    // positive before they begin.
    void putDefaultPlannedTotal();
    void disableQueryAndIndicators();
    void resetResults();
    std::int64_t roomInResultBox() const;
    // Appends a slice to the result box and advances the generated total by its count.
    void deliver(std::size_t count);
    std::size_t sliceSize(std::int64_t room) const;
    // Appends the next slice that `produce(maxNumbers, out)` gives and counts it; nothing,
    // once the result box is full (said when a number was still to come).
    template <class Produce>
    std::optional<std::size_t> nextSlice(Produce produce);
    void finishSlice(std::size_t count);

    RunControls c_;
    Services& services_;
    bool active_ = false;
    bool stopRequested_ = false;
    std::int64_t capacity_;
    std::size_t sliceLimit_;
    std::string buffer_;
    double nanosPerNumber_ = 2000.0;
    QElapsedTimer sliceTimer_;
    double longestSliceMs_ = 0.0;
    std::vector<double> sliceDurations_;
};

}  // namespace haoma::app
