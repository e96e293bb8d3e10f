// SPDX-License-Identifier: MIT
#pragma once
// The answer of 号码归属地 as a table: the six columns of haoma-cli where, and beside them
// the reason a row was not found (never in the six columns, which stay as the command line
// gives them). The rows are read from the answer's text as they are shown: a million rows
// cost their text and an offset each.

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "lookup/where_lines.h"

namespace haoma::app {

class WhereAnswer : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit WhereAnswer(QObject* parent) : QAbstractTableModel(parent) {}

    // Shows the rows of `text` (lines ending "\r\n"), with the verdict of each.
    void show(std::string text, std::vector<lookup::NumberVerdict> verdicts);
    const std::string& text() const { return text_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    std::string text_;
    std::vector<std::size_t> starts_;  // by row: where it begins in text_
    std::vector<lookup::NumberVerdict> verdicts_;
};

// The reason of a verdict, in Chinese; empty for a number found.
QString verdictReason(lookup::NumberVerdict verdict);

}  // namespace haoma::app
