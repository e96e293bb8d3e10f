// SPDX-License-Identifier: MIT
#include "app/where_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/text_box.h"

namespace haoma::app {

WhereDialog::WhereDialog(QWidget* parent)
    : QDialog(parent),
      input_(new TextBox(this)),
      output_(new TextBox(this)),
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
    auto* outputLabel = new QLabel(QStringLiteral("号码\t号段\t省份\t城市\t运营商\t区号"), this);
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
    resize(640, 520);

    connect(lookUp, &QPushButton::clicked, this, &WhereDialog::lookUpRequested);
    connect(copy, &QPushButton::clicked, this, &WhereDialog::copyRequested);
    connect(save, &QPushButton::clicked, this, &WhereDialog::saveRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    input_->installEventFilter(this);
    output_->installEventFilter(this);
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

void WhereDialog::showAnswer(std::string_view lines, qsizetype found, qsizetype notFound) {
    output_->setUtf8Text(QByteArrayView(lines.data(), static_cast<qsizetype>(lines.size())));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    summary_->setText(QStringLiteral("找到 %1 个，未找到 %2 个")
                          .arg(chinese.toString(found), chinese.toString(notFound)));
    summary_->setAccessibleDescription(summary_->text());  // read after the name
}

}  // namespace haoma::app
