// SPDX-License-Identifier: MIT
#include "app/run_driver.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "app/messages.h"
#include "app/services.h"
#include "app/text_box.h"
#include "generate/run_stream.h"
#include "generate/runs.h"
#include "generate/sample_stream.h"
#include "text/text.h"

namespace haoma::app {
namespace {

// Slices aim at this much work so the count visibly grows and clicks are answered.
constexpr double kSliceTargetNanos = 15e6;
constexpr std::size_t kMinSlice = 16;
constexpr std::size_t kMaxSlice = 262144;
// A million lines cost the result box about 19 MB. A full box peaks near 550 MB while it
// fills, and near 900 MB once its text is also copied to the clipboard.
constexpr std::int64_t kDefaultResultCapacity = 20'000'000;
// What the pretty run and the run by rule put in place of a planned total that is not positive.
constexpr std::int32_t kDefaultPlannedTotal = 1'000'000;

// Marks a run active for the scope of the handler, with no stop asked for yet.
class ActiveRun {
  public:
    ActiveRun(bool& flag, bool& stop) : flag_(flag) {
        flag_ = true;
        stop = false;
    }
    ~ActiveRun() { flag_ = false; }
    ActiveRun(const ActiveRun&) = delete;
    ActiveRun& operator=(const ActiveRun&) = delete;

  private:
    bool& flag_;
};

QString qs(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

RunDriver::RunDriver(RunControls controls, Services& services)
    : c_(std::move(controls)),
      services_(services),
      capacity_(kDefaultResultCapacity),
      sliceLimit_(kMaxSlice) {}

std::int32_t RunDriver::plannedTotal() const {
    return text::toInteger(c_.plannedTotal->text().toStdString());
}

void RunDriver::putDefaultPlannedTotal() {
    if (plannedTotal() <= 0) {
        c_.plannedTotal->setText(QString::number(kDefaultPlannedTotal));
    }
}

void RunDriver::disableQueryAndIndicators() {
    c_.queryButton->setEnabled(false);
    for (QPushButton* indicator : c_.indicators) {
        indicator->setEnabled(false);
    }
}

void RunDriver::resetResults() {
    c_.generatedTotal->setText(QStringLiteral("0"));
    c_.resultBox->clear();
}

std::int64_t RunDriver::roomInResultBox() const {
    return capacity_ - c_.resultBox->filledLineCount();
}

std::size_t RunDriver::sliceSize(std::int64_t room) const {
    const auto adaptive = static_cast<std::size_t>(kSliceTargetNanos / nanosPerNumber_);
    const std::size_t limit = std::min(std::clamp(adaptive, kMinSlice, kMaxSlice), sliceLimit_);
    return std::min(limit, static_cast<std::size_t>(room));
}

void RunDriver::deliver(std::size_t count) {
    if (count > 0) {
        c_.resultBox->appendUtf8(buffer_);
        c_.generatedTotal->setText(QString::fromStdString(text::advanceCounter(
            c_.generatedTotal->text().toStdString(), static_cast<std::int64_t>(count))));
    }
    buffer_.clear();
}

template <class Produce>
std::optional<std::size_t> RunDriver::nextSlice(Produce produce) {
    const std::int64_t room = roomInResultBox();
    if (room <= 0) {
        // Full: the run stops, and says so only when a number was still to come.
        std::string probe;
        if (produce(1, probe) > 0) {
            services_.showMessage(qs(messages::kResultBoxFull).arg(capacity_));
        }
        return std::nullopt;
    }
    sliceTimer_.start();
    const std::size_t count = produce(sliceSize(room), buffer_);
    deliver(count);
    return count;
}

void RunDriver::finishSlice(std::size_t count) {
    const double workNanos = static_cast<double>(sliceTimer_.nsecsElapsed());
    if (count > 0) {
        // Follow the measured cost per number, smoothed so one slow slice does not swing it.
        const double perNumber = workNanos / static_cast<double>(count);
        nanosPerNumber_ = std::max(50.0, 0.5 * nanosPerNumber_ + 0.5 * perNumber);
    }
    services_.processPendingEvents();
    const double sliceMs = static_cast<double>(sliceTimer_.nsecsElapsed()) / 1e6;
    sliceDurations_.push_back(sliceMs);
    longestSliceMs_ = std::max(longestSliceMs_, sliceMs);
}

void RunDriver::resetSliceStatistics() {
    longestSliceMs_ = 0.0;
    sliceDurations_.clear();
}

void RunDriver::runPrettyNumbers() {
    if (active_) {
        return;  // one run at a time
    }
    const ActiveRun running(active_, stopRequested_);
    putDefaultPlannedTotal();
    disableQueryAndIndicators();
    generate::RunPlan plan;
    plan.segments = generate::segmentList(c_.segmentBox->utf8View());
    plan.pretty.emplace();
    plan.pretty->fill(true);  // each kind as its box says when its turn comes
    generate::RunStream run(plan, "\r\n");
    resetResults();
    if (!c_.prettyMode->isChecked()) {
        services_.showMessage(qs(messages::kPrettyModeNotSelected));
    }
    const bool anyTicked = std::any_of(c_.patternBoxes.begin(), c_.patternBoxes.end(),
                                       [](const QAbstractButton* box) { return box->isChecked(); });
    if (!anyTicked) {
        services_.showMessage(qs(messages::kNoPatternTicked));
        c_.queryButton->setEnabled(true);
        return;
    }
    if (c_.segmentBox->isEmpty()) {
        services_.showMessage(qs(messages::kNoSegments));
    } else {
        c_.prettyButton->setEnabled(false);
        // A kind's indicator is grey while the run stands inside a segment of it; each kind
        // the run began is shown done ("…ok") once the next begins, or the run ends.
        std::optional<generate::PatternKind> begun;
        const auto showDone = [&] {
            if (begun) {
                c_.indicators[static_cast<std::size_t>(*begun)]->setEnabled(true);
            }
        };
        run.setKindGate([&](generate::PatternKind kind) {
            if (!c_.patternBoxes[static_cast<std::size_t>(kind)]->isChecked()) {
                return false;
            }
            if (c_.segmentBox->isEmpty()) {
                services_.showMessage(qs(messages::kNoSegments));
                return false;
            }
            showDone();
            begun = kind;
            return true;
        });
        while (!services_.ending() && !run.finished()) {
            const auto count = nextSlice([&](std::size_t most, std::string& out) {
                return run.next(plannedTotal(), most, out);
            });
            if (!count) {
                break;
            }
            if (const auto kind = run.kind()) {
                c_.indicators[static_cast<std::size_t>(*kind)]->setEnabled(!run.insideSegment());
            }
            finishSlice(*count);
        }
        showDone();
    }
    c_.resultBox->moveCaretToEnd();
    c_.queryButton->setEnabled(true);
    c_.prettyButton->setEnabled(true);
}

void RunDriver::runAllNumbers() {
    if (active_) {
        return;  // one run at a time
    }
    const ActiveRun running(active_, stopRequested_);
    disableQueryAndIndicators();
    resetResults();
    if (!c_.allNumbersMode->isChecked()) {
        services_.showMessage(qs(messages::kAllModeNotSelected));
    }
    generate::RunPlan plan;
    plan.segments = generate::segmentList(c_.segmentBox->utf8View());
    generate::RunStream run(plan, "\r\n");
    if (c_.segmentBox->isEmpty()) {
        services_.showMessage(qs(messages::kNoSegments));
        c_.queryButton->setEnabled(true);
        return;
    }
    while (!run.finished() && !services_.ending()) {
        const auto count = nextSlice([&](std::size_t most, std::string& out) {
            return run.next(plannedTotal(), most, out);
        });
        if (!count) {
            break;
        }
        // The start button is usable between segment lines only.
        c_.allNumbersButton->setEnabled(!run.insideSegment());
        finishSlice(*count);
    }
    c_.resultBox->moveCaretToEnd();
    c_.allNumbersButton->setEnabled(true);
    c_.queryButton->setEnabled(true);
}

std::uint64_t RunDriver::ruleLimit() const {
    const std::int32_t planned = plannedTotal();
    return static_cast<std::uint64_t>(planned > 0 ? planned : kDefaultPlannedTotal);
}

void RunDriver::runRule(const RuleRun& request) {
    if (active_) {
        return;  // one run at a time
    }
    const ActiveRun running(active_, stopRequested_);
    putDefaultPlannedTotal();
    disableQueryAndIndicators();
    resetResults();
    generate::RunPlan plan = request.plan;
    plan.segments = generate::segmentList(c_.segmentBox->utf8View());
    plan.limit = ruleLimit();
    // The window answers while a long step works (a shuffle's draw, a count of states), and
    // Esc ends it.
    QElapsedTimer answered;
    answered.start();
    const auto stop = [&] {
        if (answered.nsecsElapsed() >= static_cast<qint64>(kSliceTargetNanos)) {
            services_.processPendingEvents();
            answered.restart();
        }
        return services_.ending() || stopRequested_;
    };
    if (c_.segmentBox->isEmpty()) {
        services_.showMessage(qs(messages::kNoSegments));
    } else if (request.sample) {
        generate::SampleStream sample(plan, *request.sample, request.seed, request.shuffle, "\r\n",
                                      stop);
        while (!sample.finished() && !stop()) {
            const auto count = nextSlice(
                [&](std::size_t most, std::string& out) { return sample.next(most, out); });
            if (!count) {
                break;
            }
            finishSlice(*count);
        }
    } else {
        generate::RunStream run(plan, "\r\n", stop);
        // The planned total is read afresh for every slice, as the other runs read it.
        while (!run.finished() && !stop()) {
            const auto count = nextSlice([&](std::size_t most, std::string& out) {
                return run.next(std::max<std::int64_t>(0, plannedTotal()), most, out);
            });
            if (!count) {
                break;
            }
            finishSlice(*count);
        }
    }
    c_.resultBox->moveCaretToEnd();
    c_.queryButton->setEnabled(true);
}

}  // namespace haoma::app
