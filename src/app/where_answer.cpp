// SPDX-License-Identifier: MIT
#include "app/where_answer.h"

#include "app/messages.h"

namespace haoma::app {
namespace {

constexpr int kFields = 6;

}  // namespace

QString verdictReason(lookup::NumberVerdict verdict) {
    for (const auto& entry : messages::kVerdictReasons) {
        if (entry.verdict == verdict) {
            return QString::fromUtf8(entry.reason);
        }
    }
    return {};
}

void WhereAnswer::show(std::string text, std::vector<lookup::NumberVerdict> verdicts) {
    beginResetModel();
    text_ = std::move(text);
    verdicts_ = std::move(verdicts);
    starts_.clear();
    starts_.reserve(verdicts_.size());
    for (std::size_t at = 0; at < text_.size();) {
        starts_.push_back(at);
        const auto end = text_.find("\r\n", at);
        at = end == std::string::npos ? text_.size() : end + 2;
    }
    endResetModel();
}

int WhereAnswer::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(starts_.size());
}

int WhereAnswer::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFields + 1;
}

QVariant WhereAnswer::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    if (index.column() == kFields) {
        return row < verdicts_.size() ? verdictReason(verdicts_[row]) : QString();
    }
    // The field: the text between its tabs on the row's line.
    std::size_t at = starts_[row];
    const std::size_t end = text_.find("\r\n", at);
    for (int field = 0; field < index.column() && at < end; ++field) {
        at = text_.find('\t', at);
        at = at == std::string::npos || at >= end ? end : at + 1;
    }
    const std::size_t stop = std::min(text_.find('\t', at), end);
    return QString::fromUtf8(text_.data() + at, static_cast<qsizetype>(stop - at));
}

QVariant WhereAnswer::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    static const char* const kHeadings[] = {"号码",   "号段", "省份", "城市",
                                            "运营商", "区号", "原因"};
    return section >= 0 && section <= kFields ? QString::fromUtf8(kHeadings[section]) : QVariant();
}

}  // namespace haoma::app
