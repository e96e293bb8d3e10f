// SPDX-License-Identifier: MIT
#pragma once
// 按规则选号: a rule of the pattern language (or a preset), the digits the numbers must hold
// or avoid, and a random sample if wanted. The dialog only holds the choice and shows what
// the main window works out from it: the count, an error, whether 生成 may run.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace haoma::app {

// The dialog's fields as they stand.
struct RuleChoice {
    QString rule;              // empty: every number
    QString contains;          // digit strings, separated by commas or blanks, each to occur
    QString without;           // digits that never occur
    bool wholeNumber = false;  // both hold for the whole number (全号), else after the segment
    bool sample = false;
    std::int64_t sampleSize = 0;
    QString seed;  // digits, maybe too many for a seed; empty: one is drawn
    bool shuffle = false;
};

class RuleDialog : public QDialog {
    Q_OBJECT

  public:
    explicit RuleDialog(QWidget* parent);

    RuleChoice choice() const;
    // The faults of the rule and of the seed, each beside its field in a space kept for it
    // (nothing moves when one appears); empty: none.
    void showErrors(const QString& ruleError, const QString& seedError);
    // 共计: how many numbers the choice matches over the segment box, and how many a run then
    // gives (a sample asking for more than there are says so); nothing while the choice has
    // a fault.
    void showCount(std::optional<std::uint64_t> total, std::uint64_t given);
    void setRunnable(bool runnable);
    // While a run goes on, 生成 reads 停止 and stops it.
    void setRunning(bool running);
    // A fresh random seed in 随机种子.
    void drawSeed();

  signals:
    // Any field changed.
    void choiceChanged();
    void runRequested();
    void stopRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void pickPreset(int index);
    void followRule();
    void followNoFour(bool checked);
    void followSampling();
    void placeControls();
    // Beside the main window, where the result box stays in sight.
    void placeBesideParent();

    QLineEdit* rule_;
    QLabel* error_;
    QComboBox* presets_;
    QLineEdit* contains_;
    QLineEdit* without_;
    QCheckBox* noFour_;
    QCheckBox* wholeNumber_;
    QLabel* count_;
    QCheckBox* sample_;
    QSpinBox* sampleSize_;
    QLineEdit* seed_;
    QLabel* seedError_;
    QPushButton* newSeed_;
    QCheckBox* shuffle_;
    QPushButton* run_;
    QPushButton* close_;
    bool running_ = false;
    bool placed_ = false;
};

}  // namespace haoma::app
