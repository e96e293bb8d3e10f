// SPDX-License-Identifier: MIT
#include "app/where_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <map>

#include "app/messages.h"
#include "app/text_box.h"
#include "app/where_answer.h"

namespace haoma::app {

WhereDialog::WhereDialog(QWidget* parent)
    : QDialog(parent),
      input_(new TextBox(this)),
      answer_(new WhereAnswer(this)),
      output_(new QTableView(this)),
      summary_(new QLabel(this)) {
    setObjectName(QStringLiteral("号码归属地"));
    setWindowTitle(QStringLiteral("号码归属地"));
    input_->setObjectName(QStringLiteral("待查号码"));
    input_->setAccessibleName(QStringLiteral("待查号码"));
    output_->setObjectName(QStringLiteral("查询结果"));
    output_->setAccessibleName(QStringLiteral("查询结果"));
    summary_->setObjectName(QStringLiteral("统计"));
    summary_->setAccessibleName(QStringLiteral("统计"));

    const auto button = [this](const char* caption, const char* name) {
        auto* made = new QPushButton(QString::fromUtf8(caption), this);
        made->setObjectName(QString::fromUtf8(name));
        made->setAccessibleName(QString::fromUtf8(name));
        made->setAutoDefault(false);
        return made;
    };
    auto* lookUp = button("查询(&Q)", "查询");
    lookUp->setDefault(true);
    auto* copy = button("复制(&C)", "复制");
    auto* save = button("保存到文件(&S)…", "保存到文件");
    auto* close = button("关闭", "关闭");

    auto* inputLabel = new QLabel(
        QStringLiteral("待查号码（每行一个，或用空格、逗号、分号隔开；可带 +86）："), this);
    inputLabel->setBuddy(input_);
    output_->setModel(answer_);
    output_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    output_->setSelectionBehavior(QAbstractItemView::SelectRows);
    output_->verticalHeader()->setDefaultSectionSize(output_->fontMetrics().lineSpacing() + 6);
    // Each column as wide as what it holds at most; the reason takes the rest.
    const char* const widest[] = {
        "13800138000 ",          "1380013 ", "黑龙江省 ", "克孜勒苏柯尔克孜 ",
        "中国联通(虚拟运营商) ", "09999 "};
    for (int column = 0; column < static_cast<int>(std::size(widest)); ++column) {
        output_->horizontalHeader()->resizeSection(
            column,
            output_->fontMetrics().horizontalAdvance(QString::fromUtf8(widest[column])) + 12);
    }
    output_->horizontalHeader()->setStretchLastSection(true);
    auto* outputLabel = new QLabel(QStringLiteral("查询结果(&R)："), this);
    outputLabel->setBuddy(output_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    for (QPushButton* each : {lookUp, copy, save, close}) {
        buttons->addWidget(each);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(inputLabel);
    layout->addWidget(input_, 1);
    layout->addWidget(outputLabel);
    layout->addWidget(output_, 2);
    layout->addLayout(buttons);

    connect(lookUp, &QPushButton::clicked, this, &WhereDialog::lookUpRequested);
    connect(copy, &QPushButton::clicked, this, &WhereDialog::copyRequested);
    connect(save, &QPushButton::clicked, this, &WhereDialog::saveRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    input_->installEventFilter(this);
    output_->installEventFilter(this);
    resize(760, 520);
}

bool WhereDialog::eventFilter(QObject* watched, QEvent* event) {
    // The boxes' editor takes Esc for itself; here it closes the dialog, and only it.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

const std::string& WhereDialog::answerText() const {
    return answer_->text();
}

void WhereDialog::showAnswer(std::string lines, std::vector<lookup::NumberVerdict> verdicts) {
    qsizetype found = 0;
    std::map<lookup::NumberVerdict, qsizetype> missed;
    for (const auto verdict : verdicts) {
        if (verdict == lookup::NumberVerdict::Found) {
            ++found;
        } else {
            ++missed[verdict];
        }
    }
    answer_->show(std::move(lines), std::move(verdicts));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    qsizetype notFound = 0;
    QStringList reasons;
    for (const auto& entry : messages::kVerdictReasons) {
        if (const auto seen = missed.find(entry.verdict); seen != missed.end()) {
            notFound += seen->second;
            reasons << QStringLiteral("%1 %2 个")
                           .arg(QString::fromUtf8(entry.reason), chinese.toString(seen->second));
        }
    }
    QString text = QStringLiteral("找到 %1 个，未找到 %2 个")
                       .arg(chinese.toString(found), chinese.toString(notFound));
    if (!reasons.isEmpty()) {
        text += QStringLiteral("：") + reasons.join(QStringLiteral("，"));
    }
    summary_->setText(text);
    summary_->setAccessibleDescription(summary_->text());  // read after the name
}

}  // namespace haoma::app
