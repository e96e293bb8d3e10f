// SPDX-License-Identifier: MIT
#include "generate/run_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "generate/match_run.h"
#include "generate/runs.h"

namespace haoma::generate {

class RunStream::Engine {
  public:
    virtual ~Engine() = default;
    virtual std::size_t next(std::int64_t limit, std::size_t maxNumbers, std::string& out) = 0;
    virtual bool finished() const = 0;
    virtual RunFault fault() const { return RunFault::None; }
    virtual std::optional<PatternKind> kind() const { return std::nullopt; }
    virtual bool insideSegment() const { return false; }
    virtual void append(std::vector<std::string> /*lines*/) {}
    virtual void setKindGate(std::function<bool(PatternKind)> /*gate*/) {}
};

namespace {

constexpr std::size_t kStopAskEvery = 4096;  // numbers between two stop requests

// Every number, in whole blocks of fillers.
class EveryNumber : public RunStream::Engine {
  public:
    EveryNumber(std::vector<std::string> segments, std::string_view lineEnd)
        : run_(std::move(segments), lineEnd) {}
    std::size_t next(std::int64_t limit, std::size_t maxNumbers, std::string& out) override {
        return run_.next(limit, maxNumbers, out);
    }
    bool finished() const override { return run_.finished(); }
    bool insideSegment() const override { return run_.insideSegment(); }
    void append(std::vector<std::string> lines) override { run_.append(std::move(lines)); }

  private:
    AllNumbersRun run_;
};

// The pretty numbers of the wanted kinds, kind after kind, in whole blocks of fillers.
class PrettyNumbers : public RunStream::Engine {
  public:
    PrettyNumbers(std::vector<std::string> segments, const WantedKinds& wanted,
                  std::string_view lineEnd)
        : run_(std::move(segments), lineEnd), wanted_(wanted) {}
    std::size_t next(std::int64_t limit, std::size_t maxNumbers, std::string& out) override {
        for (;;) {
            if (!run_.kindActive()) {
                const auto turn = run_.kindAtTurn();
                if (!turn) {
                    return 0;
                }
                if (wanted_[static_cast<std::size_t>(*turn)] && (!gate_ || gate_(*turn))) {
                    run_.beginKind();
                } else {
                    run_.skipKind();
                }
                continue;
            }
            const std::size_t count = run_.next(limit, maxNumbers, out);
            if (count > 0) {
                return count;
            }
        }
    }
    bool finished() const override { return run_.finished(); }
    std::optional<PatternKind> kind() const override {
        return run_.kindActive() ? run_.kindAtTurn() : std::nullopt;
    }
    bool insideSegment() const override { return run_.insideSegment(); }
    void setKindGate(std::function<bool(PatternKind)> gate) override { gate_ = std::move(gate); }

  private:
    PrettyRun run_;
    WantedKinds wanted_;
    std::function<bool(PatternKind)> gate_;
};

// The pretty numbers under a rule: each kind a union of its suffixes' patterns, walked
// without dead ends line by line.
class PrettyUnderRule : public RunStream::Engine {
  public:
    PrettyUnderRule(const RunPlan& plan, std::string_view lineEnd, StopRequest stop)
        : segments_(plan.segments),
          wanted_(*plan.pretty),
          rule_(plan.rule),
          lineEnd_(lineEnd),
          stop_(stop),
          spaces_(plan.rule, std::move(stop)) {}

    std::size_t next(std::int64_t limit, std::size_t maxNumbers, std::string& out) override {
        std::size_t produced = 0;
        while (produced < maxNumbers && !finished_) {
            if (space_ == nullptr && !enterNext()) {
                finished_ = true;
                break;
            }
            if (count_ >= limit) {  // the test before each number
                finished_ = true;
                break;
            }
            if (!space_->valid()) {
                space_ = nullptr;
                ++segment_;
                continue;
            }
            const auto width = static_cast<std::size_t>(space_->fillerWidth());
            std::memcpy(line_.data() + line_.size() - lineEnd_.size() - width, space_->filler(),
                        width);
            out.append(line_);
            ++produced;
            ++count_;
            space_->advance();
            if (produced % kStopAskEvery == 0 && stop_ && stop_()) {
                fault_ = RunFault::Stopped;
                finished_ = true;
            }
        }
        return produced;
    }
    bool finished() const override { return finished_; }
    RunFault fault() const override { return fault_; }
    std::optional<PatternKind> kind() const override {
        return space_ != nullptr ? std::optional(patternTable()[kind_].kind) : std::nullopt;
    }
    bool insideSegment() const override { return space_ != nullptr; }
    void setKindGate(std::function<bool(PatternKind)> gate) override { gate_ = std::move(gate); }

  private:
    // Moves to the next line (or kind) that has numbers; false at the end of the run.
    bool enterNext() {
        for (; kind_ < patternTable().size(); ++kind_, segment_ = 0, asked_ = false) {
            const PatternKind kind = patternTable()[kind_].kind;
            if (!asked_) {
                asked_ = true;
                taken_ = wanted_[static_cast<std::size_t>(kind)] && (!gate_ || gate_(kind));
            }
            for (; taken_ && segment_ < segments_.size(); ++segment_) {
                if (!keepsLine(rule_, segments_[segment_])) {
                    continue;
                }
                NumberSpace* space = spaces_.at(kind, segments_[segment_]);
                if (space != nullptr && (space->stopped() || space->tooComplex())) {
                    fault_ = space->stopped() ? RunFault::Stopped : RunFault::TooComplex;
                    return false;
                }
                if (space != nullptr && space->valid()) {
                    space_ = space;
                    // The line as written: the segment, room for the filler, the line end.
                    line_.assign(segments_[segment_])
                        .append(static_cast<std::size_t>(space->fillerWidth()), '0')
                        .append(lineEnd_);
                    return true;
                }
            }
        }
        return false;
    }

    std::vector<std::string> segments_;
    WantedKinds wanted_;
    TailRule rule_;
    std::string lineEnd_;
    StopRequest stop_;
    PrettySpaces spaces_;
    std::function<bool(PatternKind)> gate_;
    std::size_t kind_ = 0;
    std::size_t segment_ = 0;
    bool asked_ = false;
    bool taken_ = false;
    NumberSpace* space_ = nullptr;
    std::string line_;
    std::int64_t count_ = 0;
    bool finished_ = false;
    RunFault fault_ = RunFault::None;
};

// The numbers that match a union of patterns (every number when there is none) under a rule.
class Matches : public RunStream::Engine {
  public:
    Matches(const RunPlan& plan, std::string_view lineEnd, StopRequest stop)
        : run_(plan.segments, plan.patterns, plan.rule, lineEnd, std::move(stop)) {}
    std::size_t next(std::int64_t limit, std::size_t maxNumbers, std::string& out) override {
        return run_.next(static_cast<std::uint64_t>(std::max<std::int64_t>(0, limit)), maxNumbers,
                         out);
    }
    bool finished() const override { return run_.finished(); }
    RunFault fault() const override {
        return run_.tooComplex() ? RunFault::TooComplex
               : run_.stopped()  ? RunFault::Stopped
                                 : RunFault::None;
    }

  private:
    MatchRun run_;
};

}  // namespace

RunStream::RunStream(const RunPlan& plan, std::string_view lineEnd, StopRequest stop) {
    std::vector<std::string> segments = plan.segments;
    // A whole-number --without leaves out the lines that hold a digit it forbids.
    std::erase_if(segments, [&](const std::string& line) { return !keepsLine(plan.rule, line); });
    if (plan.everyNumber()) {
        engine_ = std::make_unique<EveryNumber>(std::move(segments), lineEnd);
    } else if (plan.pretty && !plan.hasRule()) {
        engine_ = std::make_unique<PrettyNumbers>(std::move(segments), *plan.pretty, lineEnd);
    } else if (plan.pretty) {
        engine_ = std::make_unique<PrettyUnderRule>(plan, lineEnd, std::move(stop));
    } else {
        RunPlan kept = plan;
        kept.segments = std::move(segments);
        engine_ = std::make_unique<Matches>(kept, lineEnd, std::move(stop));
    }
    limit_ = plan.limit ? static_cast<std::int64_t>(std::min<std::uint64_t>(
                              *plan.limit, std::numeric_limits<std::int64_t>::max()))
                        : std::numeric_limits<std::int64_t>::max();
}

RunStream::~RunStream() = default;

void RunStream::append(std::vector<std::string> lines) {
    engine_->append(std::move(lines));
}

void RunStream::setKindGate(std::function<bool(PatternKind)> gate) {
    engine_->setKindGate(std::move(gate));
}

std::size_t RunStream::next(std::size_t maxNumbers, std::string& out) {
    return engine_->next(limit_, maxNumbers, out);
}

std::size_t RunStream::next(std::int64_t plannedTotal, std::size_t maxNumbers, std::string& out) {
    return engine_->next(plannedTotal, maxNumbers, out);
}

bool RunStream::finished() const {
    return engine_->finished() || engine_->fault() != RunFault::None;
}

RunFault RunStream::fault() const {
    return engine_->fault();
}

std::optional<PatternKind> RunStream::kind() const {
    return engine_->kind();
}

bool RunStream::insideSegment() const {
    return engine_->insideSegment();
}

}  // namespace haoma::generate
