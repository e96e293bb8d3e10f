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
    QString rule;      // empty: every number
    QString contains;  // digits that occur after the segment; empty: no such rule
    QString without;   // digits that never occur after the segment
    bool sample = false;
    std::int64_t sampleSize = 0;
    QString seed;  // digits, maybe too many for a seed
    bool shuffle = false;
};

class RuleDialog : public QDialog {
    Q_OBJECT

  public:
    explicit RuleDialog(QWidget* parent);

    RuleChoice choice() const;
    // The fault of the rule or the seed, under the rule field; empty: none.
    void showError(const QString& error);
    // 共计: how many numbers the choice matches over the segment box, and how many a run then
    // gives; nothing while the choice has a fault.
    void showCount(std::optional<std::uint64_t> total, std::uint64_t given);
    void setRunnable(bool runnable);
    // A fresh random seed in 随机种子.
    void drawSeed();

  signals:
    // Any field changed.
    void choiceChanged();
    void runRequested();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void pickPreset(int index);
    void followRule();
    void followNoFour(bool checked);
    void followSampling();
    void placeControls();

    QLineEdit* rule_;
    QLabel* error_;
    QComboBox* presets_;
    QLineEdit* contains_;
    QLineEdit* without_;
    QCheckBox* noFour_;
    QLabel* count_;
    QCheckBox* sample_;
    QSpinBox* sampleSize_;
    QLineEdit* seed_;
    QPushButton* newSeed_;
    QCheckBox* shuffle_;
    QPushButton* run_;
    QPushButton* close_;
};

}  // namespace haoma::app
