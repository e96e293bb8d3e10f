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
#include "generate/match_run.h"
#include "generate/runs.h"
#include "generate/sample_ranks.h"
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

// Marks a run active for the scope of the handler.
class ActiveRun {
  public:
    explicit ActiveRun(bool& flag) : flag_(flag) { flag_ = true; }
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

template <class Run, class Limit>
std::optional<std::size_t> RunDriver::nextSlice(Run& run, Limit limit) {
    const std::int64_t room = roomInResultBox();
    if (room <= 0) {
        // Full: the run stops, and says so only when a number was still to come.
        std::string probe;
        if (run.next(limit, 1, probe) > 0) {
            services_.showMessage(qs(messages::kResultBoxFull).arg(capacity_));
        }
        return std::nullopt;
    }
    sliceTimer_.start();
    const std::size_t count = run.next(limit, sliceSize(room), buffer_);
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
    const ActiveRun running(active_);
    putDefaultPlannedTotal();
    disableQueryAndIndicators();
    generate::PrettyRun run(generate::segmentList(c_.segmentBox->utf8View()), "\r\n");
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
        bool full = false;
        while (!full && !services_.ending() && run.kindAtTurn()) {
            const auto kind = static_cast<std::size_t>(*run.kindAtTurn());
            if (!c_.patternBoxes[kind]->isChecked()) {
                run.skipKind();
                continue;
            }
            if (c_.segmentBox->isEmpty()) {
                services_.showMessage(qs(messages::kNoSegments));
                run.skipKind();
                continue;
            }
            run.beginKind();
            while (run.kindActive() && !services_.ending()) {
                const std::int64_t room = roomInResultBox();
                if (room <= 0) {
                    // Full: the run stops, and says so only when a number was still to come
                    // (this kind's, or a later kind's at its turn).
                    std::string probe;
                    if (run.next(plannedTotal(), 1, probe) > 0) {
                        full = true;
                        services_.showMessage(qs(messages::kResultBoxFull).arg(capacity_));
                    }
                    break;
                }
                sliceTimer_.start();
                const std::size_t count = run.next(plannedTotal(), sliceSize(room), buffer_);
                deliver(count);
                c_.indicators[kind]->setEnabled(!run.insideSegment());
                finishSlice(count);
            }
            c_.indicators[kind]->setEnabled(true);
        }
    }
    c_.resultBox->moveCaretToEnd();
    c_.queryButton->setEnabled(true);
    c_.prettyButton->setEnabled(true);
}

void RunDriver::runAllNumbers() {
    if (active_) {
        return;  // one run at a time
    }
    const ActiveRun running(active_);
    disableQueryAndIndicators();
    resetResults();
    if (!c_.allNumbersMode->isChecked()) {
        services_.showMessage(qs(messages::kAllModeNotSelected));
    }
    generate::AllNumbersRun run(generate::segmentList(c_.segmentBox->utf8View()), "\r\n");
    if (c_.segmentBox->isEmpty()) {
        services_.showMessage(qs(messages::kNoSegments));
        c_.queryButton->setEnabled(true);
        return;
    }
    while (!run.finished() && !services_.ending()) {
        const auto count = nextSlice(run, plannedTotal());
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
    const ActiveRun running(active_);
    putDefaultPlannedTotal();
    disableQueryAndIndicators();
    resetResults();
    auto lines = generate::segmentList(c_.segmentBox->utf8View());
    if (c_.segmentBox->isEmpty()) {
        services_.showMessage(qs(messages::kNoSegments));
    } else if (request.sample) {
        const std::uint64_t wanted = std::min(*request.sample, ruleLimit());
        // A big sample takes a while to draw: the window answers meanwhile, and Esc ends it.
        QElapsedTimer answered;
        answered.start();
        const auto stop = [&] {
            if (answered.nsecsElapsed() >= static_cast<qint64>(kSliceTargetNanos)) {
                services_.processPendingEvents();
                answered.restart();
            }
            return services_.ending();
        };
        const auto numbers =
            generate::seededSample(request.seed, request.shuffle, [&](std::mt19937_64& random) {
                return generate::sampleMatches(lines, request.patterns, request.rule, wanted,
                                               random, stop);
            });
        if (numbers) {
            deliverSample(*numbers);
        }
    } else {
        deliverMatches(std::move(lines), request);
    }
    c_.resultBox->moveCaretToEnd();
    c_.queryButton->setEnabled(true);
}

void RunDriver::deliverSample(const std::vector<std::string>& numbers) {
    std::size_t at = 0;
    while (at < numbers.size() && !services_.ending()) {
        const std::int64_t room = roomInResultBox();
        if (room <= 0) {
            services_.showMessage(qs(messages::kResultBoxFull).arg(capacity_));
            break;
        }
        sliceTimer_.start();
        const std::size_t count = std::min(sliceSize(room), numbers.size() - at);
        for (std::size_t i = at; i < at + count; ++i) {
            buffer_.append(numbers[i]).append("\r\n");
        }
        at += count;
        deliver(count);
        finishSlice(count);
    }
}

void RunDriver::deliverMatches(std::vector<std::string> lines, const RuleRun& request) {
    generate::MatchRun run(std::move(lines), request.patterns, request.rule, "\r\n",
                           [this] { return services_.ending(); });
    // The planned total is read afresh for every slice, as the other runs read it.
    const auto limit = [this] {
        return static_cast<std::uint64_t>(std::max<std::int32_t>(0, plannedTotal()));
    };
    while (!run.finished() && !services_.ending()) {
        const auto count = nextSlice(run, limit());
        if (!count) {
            break;
        }
        finishSlice(*count);
    }
}

}  // namespace haoma::app
