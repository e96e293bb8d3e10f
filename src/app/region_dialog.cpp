// SPDX-License-Identifier: MIT
#include "app/region_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

namespace haoma::app {

RegionDialog::RegionDialog(const QStringList& provinces, QWidget* parent)
    : QDialog(parent), provinces_(new QComboBox(this)), areaCode_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("按地区查号段"));
    setWindowTitle(QStringLiteral("按省份或区号查号段"));
    provinces_->setObjectName(QStringLiteral("省份"));
    provinces_->setAccessibleName(QStringLiteral("省份"));
    provinces_->addItem(QString());  // none chosen yet
    provinces_->addItems(provinces);
    areaCode_->setObjectName(QStringLiteral("区号"));
    areaCode_->setAccessibleName(QStringLiteral("区号"));
    areaCode_->setPlaceholderText(QStringLiteral("如 0755 或 755；填了区号则按区号查"));
    areaCode_->setMinimumWidth(240);
    areaCode_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), this));
    auto* query = new QPushButton(QStringLiteral("查询"), this);
    query->setObjectName(QStringLiteral("查询"));
    query->setAccessibleName(QStringLiteral("查询"));
    query->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("关闭"));
    close->setAccessibleName(QStringLiteral("关闭"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("省份(&S)："), provinces_);
    form->addRow(QStringLiteral("区号(&A)："), areaCode_);
    // A combo box on Linux is named by the label it is labelled by, not by its own name.
    form->labelForField(provinces_)->setAccessibleName(provinces_->accessibleName());
    auto* note = new QLabel(QStringLiteral("运营商按主窗口的选择；结果写入号段框。"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(query);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);

    connect(query, &QPushButton::clicked, this, &RegionDialog::queryRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

QString RegionDialog::areaCode() const {
    return areaCode_->text().trimmed();
}

QString RegionDialog::province() const {
    return provinces_->currentText();
}

void RegionDialog::selectProvince(const QString& province) {
    provinces_->setCurrentIndex(std::max(0, provinces_->findText(province)));
    areaCode_->clear();
}

}  // namespace haoma::app
