// SPDX-License-Identifier: MIT
#pragma once
// 号码归属地: pasted numbers in; out, line for line, a row for each number (号码, 号段, 省份,
// 城市, 运营商, 区号) as haoma-cli where --crlf gives them, shown as a table whose headings
// stand over their columns, with the reason beside each row not found. The main window does
// the lookups and the saving.

#include <QDialog>
#include <string>
#include <vector>

#include "lookup/segment_index.h"

class QLabel;
class QTableView;

namespace haoma::app {

class TextBox;
class WhereAnswer;

class WhereDialog : public QDialog {
    Q_OBJECT

  public:
    explicit WhereDialog(QWidget* parent);

    TextBox* input() const { return input_; }
    QTableView* output() const { return output_; }
    // The answer's text, as haoma-cli where --crlf writes it: what 复制 and 保存 take.
    const std::string& answerText() const;
    // Shows the answer: its lines with the verdict of each, and how many were found and,
    // by reason, not found.
    void showAnswer(std::string lines, std::vector<lookup::NumberVerdict> verdicts);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    void lookUpRequested();
    void copyRequested();
    void saveRequested();

  private:
    TextBox* input_;
    WhereAnswer* answer_;
    QTableView* output_;
    QLabel* summary_;
};

}  // namespace haoma::app
