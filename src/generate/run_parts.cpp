// SPDX-License-Identifier: MIT
#include "generate/run_parts.h"

#include <algorithm>

#include "generate/filler.h"
#include "text/text.h"

namespace haoma::generate {
namespace {

constexpr std::size_t kStopAskEvery = 256;  // parts between two stop requests

}  // namespace

RunParts::RunParts(const RunPlan& plan, StopRequest stop) : plan_(plan) {
    RunCounter counter(plan_, stop);
    const auto repeat = [&](std::size_t line) {
        return plan_.repeats.empty() ? std::uint64_t{1} : plan_.repeats[line];
    };
    std::uint64_t start = 0;
    const auto addPart = [&](std::size_t line, int kind, std::uint64_t perLine) {
        if (counter.total().fault != RunFault::None) {
            fault_ = counter.total().fault;
            return false;
        }
        if (stop && parts_.size() % kStopAskEvery == 0 && stop()) {
            fault_ = RunFault::Stopped;
            return false;
        }
        if (perLine == 0) {
            return true;
        }
        const std::uint64_t times = repeat(line);
        if (perLine > UINT64_MAX / times || perLine * times > UINT64_MAX - start) {
            fault_ = RunFault::Overflow;
            return false;
        }
        parts_.push_back({line, kind, perLine});
        starts_.push_back(start);
        start += perLine * times;
        return true;
    };
    if (plan_.pretty) {
        for (const auto& row : patternTable()) {
            if (!(*plan_.pretty)[static_cast<std::size_t>(row.kind)]) {
                continue;
            }
            for (std::size_t line = 0; line < plan_.segments.size(); ++line) {
                const std::string& segment = plan_.segments[line];
                const bool kept = keepsLine(plan_.rule, segment);
                if (!addPart(line, static_cast<int>(row.kind),
                             kept ? counter.kindLineCount(row.kind, segment) : 0)) {
                    return;
                }
            }
        }
    } else {
        for (std::size_t line = 0; line < plan_.segments.size(); ++line) {
            if (!addPart(line, -1, counter.lineCount(plan_.segments[line]))) {
                return;
            }
        }
    }
    starts_.push_back(start);
    if (plan_.pretty && plan_.hasRule()) {
        prettySpaces_.emplace(plan_.rule, stop);
    } else if (!plan_.pretty && (plan_.patterns.size() > 1 || !plan_.rule.contains.empty())) {
        space_.emplace(plan_.patterns, plan_.rule, stop);
    } else if (!plan_.pretty && !plan_.everyNumber()) {
        matches_.emplace(plan_.patterns.empty() ? nullptr : &plan_.patterns.front(),
                         plan_.rule.allowed);
    }
}

void RunParts::enter(std::size_t part) {
    current_ = part;
    const std::string& segment = plan_.segments[parts_[part].segment];
    if (prettySpaces_) {
        kindSpace_ = prettySpaces_->at(static_cast<PatternKind>(parts_[part].kind), segment);
    } else if (space_) {
        space_->reset(segment);
    } else if (matches_) {
        matches_->reset(segment);
    } else {
        fillerWidth_ = static_cast<std::size_t>(kNumberLength - text::gbkLength(segment));
    }
}

void RunParts::appendInside(std::uint64_t rank, std::string& out) {
    const Part& part = parts_[current_];
    const std::string& segment = plan_.segments[part.segment];
    if (part.kind >= 0 && !prettySpaces_) {
        appendKindNumber(static_cast<PatternKind>(part.kind), segment, rank, out);
        return;
    }
    out.append(segment);
    if (kindSpace_ != nullptr || space_) {
        NumberSpace& space = kindSpace_ != nullptr ? *kindSpace_ : *space_;
        space.seek(rank);
        out.append(space.filler(), static_cast<std::size_t>(space.fillerWidth()));
    } else if (matches_) {
        matches_->seek(rank);
        out.append(matches_->filler(), static_cast<std::size_t>(matches_->fillerWidth()));
    } else {
        // Every number: the rank is the filler, written in full.
        const std::size_t at = out.size();
        out.append(fillerWidth_, '0');
        for (std::size_t digit = out.size(); digit-- > at && rank > 0; rank /= 10) {
            out[digit] = static_cast<char>('0' + rank % 10);
        }
    }
}

void RunParts::append(std::uint64_t rank, std::string& out) {
    if (current_ == SIZE_MAX || rank < starts_[current_] || rank >= starts_[current_ + 1]) {
        const auto found = std::upper_bound(starts_.begin(), starts_.end() - 1, rank);
        enter(static_cast<std::size_t>(found - starts_.begin()) - 1);
    }
    appendInside((rank - starts_[current_]) % parts_[current_].perLine, out);
}

}  // namespace haoma::generate
