// SPDX-License-Identifier: MIT
#pragma once
// 号码归属地: pasted numbers in, one line per number out (号码, 号段, 省份, 城市, 运营商,
// 区号), as haoma-cli where gives them. The main window does the lookups and the saving.

#include <QDialog>

class QLabel;

namespace haoma::app {

class TextBox;

class WhereDialog : public QDialog {
    Q_OBJECT

  public:
    explicit WhereDialog(QWidget* parent);

    TextBox* input() const { return input_; }
    TextBox* output() const { return output_; }
    // Shows the answer: the lines, and how many were found and not found.
    void showAnswer(std::string_view lines, qsizetype found, qsizetype notFound);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    void lookUpRequested();
    void copyRequested();
    void saveRequested();

  private:
    TextBox* input_;
    TextBox* output_;
    QLabel* summary_;
};

}  // namespace haoma::app
