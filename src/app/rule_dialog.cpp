// SPDX-License-Identifier: MIT
#include "app/rule_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

#include "generate/pattern_presets.h"

namespace haoma::app {
namespace {

// The most numbers a sample may ask for: what the result box holds.
constexpr int kMostSampled = 20'000'000;

template <class T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setAccessibleName(QString::fromUtf8(name));
    return widget;
}

QRegularExpressionValidator* digitsOnly(int most, QObject* parent) {
    return new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(most)), parent);
}

}  // namespace

RuleDialog::RuleDialog(QWidget* parent)
    : QDialog(parent),
      rule_(named(new QLineEdit(this), "规则")),
      error_(named(new QLabel(this), "规则错误")),
      presets_(named(new QComboBox(this), "预设")),
      contains_(named(new QLineEdit(this), "含数字")),
      without_(named(new QLineEdit(this), "不含数字")),
      noFour_(named(new QCheckBox(QStringLiteral("无4"), this), "无4")),
      wholeNumber_(named(new QCheckBox(QStringLiteral("全号(&H)"), this), "全号")),
      count_(named(new QLabel(this), "共计")),
      sample_(named(new QCheckBox(QStringLiteral("随机抽取(&D)"), this), "随机抽取")),
      sampleSize_(named(new QSpinBox(this), "抽取个数")),
      seed_(named(new QLineEdit(this), "随机种子")),
      seedError_(named(new QLabel(this), "种子错误")),
      newSeed_(named(new QPushButton(QStringLiteral("换一批(&N)"), this), "换一批")),
      shuffle_(named(new QCheckBox(QStringLiteral("打乱顺序(&O)"), this), "打乱顺序")),
      run_(named(new QPushButton(QStringLiteral("生成(&G)"), this), "生成")),
      close_(named(new QPushButton(QStringLiteral("关闭"), this), "关闭")) {
    setObjectName(QStringLiteral("按规则选号"));
    setWindowTitle(QStringLiteral("按规则选号"));
    rule_->setPlaceholderText(
        QStringLiteral("如 AAAA、*520、[^4][^4]88，逗号隔开为并集；空着为全部号码"));
    for (QLabel* error : {error_, seedError_}) {
        error->setStyleSheet(QStringLiteral("color: #c00000;"));
        error->setWordWrap(true);
    }
    presets_->addItem(QStringLiteral("（自定义规则）"));
    for (const auto& preset : generate::patternPresets()) {
        presets_->addItem(
            QString::fromUtf8(preset.label.data(), static_cast<qsizetype>(preset.label.size())),
            QString::fromUtf8(preset.patterns.data(),
                              static_cast<qsizetype>(preset.patterns.size())));
    }
    contains_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9 ,，]{0,200}")), this));
    contains_->setPlaceholderText(QStringLiteral("要含的数字串，逗号或空格隔开，如 88,66"));
    without_->setValidator(digitsOnly(10, this));
    without_->setPlaceholderText(QStringLiteral("不能有的数字"));
    wholeNumber_->setToolTip(
        QStringLiteral("含数字和不含数字对整个号码（号段在内）都成立；不选则只看号段后面的尾号"));
    seed_->setPlaceholderText(QStringLiteral("空着则随机"));
    sampleSize_->setRange(1, kMostSampled);
    sampleSize_->setValue(1000);
    seed_->setValidator(digitsOnly(20, this));
    run_->setDefault(true);
    for (QPushButton* button : {newSeed_, close_}) {
        button->setAutoDefault(false);
    }
    placeControls();
    followSampling();

    connect(rule_, &QLineEdit::textChanged, this, &RuleDialog::followRule);
    connect(presets_, &QComboBox::activated, this, &RuleDialog::pickPreset);
    connect(noFour_, &QCheckBox::toggled, this, &RuleDialog::followNoFour);
    connect(without_, &QLineEdit::textChanged, this,
            [this](const QString& text) { noFour_->setChecked(text.contains(QLatin1Char('4'))); });
    connect(sample_, &QCheckBox::toggled, this, &RuleDialog::followSampling);
    // 换一批: another seed, and its numbers at once.
    connect(newSeed_, &QPushButton::clicked, this, [this] {
        drawSeed();
        if (run_->isEnabled()) {
            emit runRequested();
        }
    });
    connect(run_, &QPushButton::clicked, this, [this] {
        if (running_) {
            emit stopRequested();
        } else {
            emit runRequested();
        }
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    for (QLineEdit* edit : {rule_, contains_, without_, seed_}) {
        connect(edit, &QLineEdit::textChanged, this, &RuleDialog::choiceChanged);
    }
    for (QCheckBox* box : {sample_, shuffle_, wholeNumber_}) {
        connect(box, &QCheckBox::toggled, this, &RuleDialog::choiceChanged);
    }
    connect(sampleSize_, &QSpinBox::valueChanged, this, &RuleDialog::choiceChanged);
}

void RuleDialog::placeControls() {
    const auto label = [this](const char* caption, QWidget* buddy) {
        auto* made = new QLabel(QString::fromUtf8(caption), this);
        made->setBuddy(buddy);
        return made;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label("规则(&R)：", rule_), 0, 0);
    grid->addWidget(rule_, 0, 1, 1, 4);
    grid->addWidget(error_, 1, 1, 1, 4);
    // A combo box on Linux is named by the label it is labelled by, not by its own name.
    auto* presetLabel = label("预设(&P)：", presets_);
    presetLabel->setAccessibleName(presets_->accessibleName());
    grid->addWidget(presetLabel, 2, 0);
    grid->addWidget(presets_, 2, 1, 1, 4);
    grid->addWidget(label("含数字(&C)：", contains_), 3, 0);
    grid->addWidget(contains_, 3, 1);
    grid->addWidget(label("不含数字(&W)：", without_), 3, 2);
    grid->addWidget(without_, 3, 3);
    grid->addWidget(noFour_, 3, 4);
    grid->addWidget(wholeNumber_, 4, 1, 1, 4);
    grid->addWidget(count_, 5, 1, 1, 4);
    grid->addWidget(sample_, 6, 0);
    grid->addWidget(label("抽取个数(&K)：", sampleSize_), 6, 1);
    grid->addWidget(sampleSize_, 6, 2);
    grid->addWidget(shuffle_, 6, 3, 1, 2);
    grid->addWidget(label("随机种子(&E)：", seed_), 7, 1);
    grid->addWidget(seed_, 7, 2, 1, 2);
    grid->addWidget(newSeed_, 7, 4);
    grid->addWidget(seedError_, 8, 2, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    // Each error keeps room for two lines, shown or not: the controls never move under the
    // pointer.
    for (QLabel* error : {error_, seedError_}) {
        error->setFixedHeight(2 * error->fontMetrics().lineSpacing() + 2);
        error->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    // The count too: a dash or a digit of another font must not make its row taller.
    count_->setFixedHeight(count_->fontMetrics().lineSpacing() + 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(run_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
    // Tab goes in reading order, row by row.
    QWidget* const order[] = {rule_,        presets_, contains_,   without_, noFour_,
                              wholeNumber_, sample_,  sampleSize_, shuffle_, seed_,
                              newSeed_,     run_,     close_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    resize(560, 0);
}

RuleChoice RuleDialog::choice() const {
    return {rule_->text(),        contains_->text(),    without_->text(), wholeNumber_->isChecked(),
            sample_->isChecked(), sampleSize_->value(), seed_->text(),    shuffle_->isChecked()};
}

void RuleDialog::showErrors(const QString& ruleError, const QString& seedError) {
    error_->setText(ruleError);
    seedError_->setText(seedError);
}

void RuleDialog::showCount(std::optional<std::uint64_t> total, std::uint64_t given) {
    if (!total) {
        count_->setText(QStringLiteral("共 — 个号码"));
        count_->setAccessibleDescription(count_->text());
        return;
    }
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QString text = QStringLiteral("共 %1 个号码").arg(chinese.toString(qulonglong{*total}));
    if (sample_->isChecked() && static_cast<std::uint64_t>(sampleSize_->value()) > *total) {
        text += QStringLiteral("，比抽取个数少，全部生成");
    } else if (given < *total) {
        text += QStringLiteral("，本次生成 %1 个").arg(chinese.toString(qulonglong{given}));
    }
    count_->setText(text);
    count_->setAccessibleDescription(text);  // what a screen reader reads after the name
}

void RuleDialog::setRunnable(bool runnable) {
    run_->setEnabled(runnable || running_);
}

void RuleDialog::setRunning(bool running) {
    running_ = running;
    run_->setText(running ? QStringLiteral("停止(&S)") : QStringLiteral("生成(&G)"));
    run_->setEnabled(true);
    newSeed_->setEnabled(!running && sample_->isChecked());
}

void RuleDialog::drawSeed() {
    seed_->setText(QString::number(QRandomGenerator::system()->generate64()));
}

void RuleDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        drawSeed();  // a fresh seed each time the dialog opens
        rule_->setFocus();
    }
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;  // later openings keep the place it has then
        placeBesideParent();
    }
}

void RuleDialog::placeBesideParent() {
    const QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QScreen* screen = main != nullptr ? main->screen() : nullptr;
    if (main == nullptr || screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect beside = main->frameGeometry();
    const QSize size = frameGeometry().size();
    constexpr int kGap = 8;
    int x = beside.right() + kGap;  // to the right if it fits, else to the left
    if (x + size.width() > room.right()) {
        x = beside.left() - kGap - size.width();
    }
    x = std::clamp(x, room.left(), std::max(room.left(), room.right() - size.width()));
    const int y =
        std::clamp(beside.top(), room.top(), std::max(room.top(), room.bottom() - size.height()));
    move(x, y);
}

void RuleDialog::pickPreset(int index) {
    if (index > 0) {
        rule_->setText(presets_->itemData(index).toString());
    }
}

void RuleDialog::followRule() {
    // A rule edited away from the chosen preset is the user's own.
    if (presets_->currentIndex() > 0 && presets_->currentData().toString() != rule_->text()) {
        presets_->setCurrentIndex(0);
    }
}

void RuleDialog::followNoFour(bool checked) {
    QString digits = without_->text();
    if (checked == digits.contains(QLatin1Char('4'))) {
        return;
    }
    if (checked) {
        digits += QLatin1Char('4');
    } else {
        digits.remove(QLatin1Char('4'));
    }
    without_->setText(digits);
}

void RuleDialog::followSampling() {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{sampleSize_, seed_, newSeed_, shuffle_}) {
        widget->setEnabled(sample_->isChecked());
    }
}

}  // namespace haoma::app
