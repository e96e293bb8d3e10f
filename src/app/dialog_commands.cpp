// SPDX-License-Identifier: MIT
// The commands of the dialogs that open from the boxes' context menus: each dialog is built
// when first opened, and the window runs what it asks for.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/region_dialog.h"
#include "app/services.h"
#include "app/text_box.h"
#include "app/where_dialog.h"
#include "lookup/province_names.h"
#include "lookup/segment_index.h"
#include "lookup/segment_store.h"
#include "lookup/where_lines.h"

namespace haoma::app {

bool MainWindow::storeOrSaySo() {
    if (!store_) {
        services_.showMessage(
            QString::fromUtf8(messages::kStoreUnavailable)
                .arg(QString::fromStdString(storePath()), QString::fromStdString(storeFailure_)));
    }
    return store_ != nullptr;
}

void MainWindow::OpenRegionDialog() {
    if (!storeOrSaySo()) {
        return;
    }
    if (regionDialog_ == nullptr) {
        // Built when first opened: the start-up does not pay for it.
        std::string error;
        std::vector<std::string> names;
        for (const auto& city : store_->cities(error)) {
            if (!city.province.empty() &&
                std::find(names.begin(), names.end(), city.province) == names.end()) {
                names.push_back(city.province);
            }
        }
        // In the order of the division codes: 北京, 天津, 河北 … 新疆.
        QStringList provinces;
        for (const auto& name : lookup::inCodeOrder(std::move(names))) {
            provinces << QString::fromStdString(name);
        }
        regionDialog_ = new RegionDialog(provinces, this);
        connect(regionDialog_, &RegionDialog::queryRequested, this, &MainWindow::QueryRegion);
    }
    regionDialog_->show();
    regionDialog_->raise();
    regionDialog_->activateWindow();
}

void MainWindow::QueryRegion() {
    const QString areaCode = regionDialog_->areaCode();
    const QString province = regionDialog_->province();
    if (areaCode.isEmpty() && province.isEmpty()) {
        services_.showMessage(QString::fromUtf8(messages::kNoRegionChosen));
        return;
    }
    control<QLabel>("标签号段数")->setText(QStringLiteral("0"));
    control<TextBox>("编辑框1")->clear();
    setIndicatorsEnabled(false);
    const auto answer = areaCode.isEmpty()
                            ? store_->segmentsOfProvince(province.toStdString(), selectedCarrier())
                            : store_->segmentsOfAreaCode(areaCode.toStdString(), selectedCarrier());
    // The city box shows what was queried.
    {
        auto* cityBox = control<QLineEdit>("编辑框_出发地");
        const QSignalBlocker quiet(cityBox);
        cityBox->setText(areaCode.isEmpty() ? province : areaCode);
    }
    showSegments(answer);
    if (answer.error.empty() && answer.rows.empty()) {
        const bool anyCarrier = selectedCarrier() == lookup::Carrier::Any;
        services_.showMessage(
            areaCode.isEmpty() || !anyCarrier
                ? QString::fromUtf8(messages::kNoCarrierSegments)
                      .arg(areaCode.isEmpty() ? province : QStringLiteral("区号 ") + areaCode)
                : QString::fromUtf8(messages::kNoAreaCode).arg(areaCode));
    }
}

void MainWindow::OpenWhereDialog() {
    if (whereDialog_ == nullptr) {
        whereDialog_ = new WhereDialog(this);
        connect(whereDialog_, &WhereDialog::lookUpRequested, this, &MainWindow::LookUpNumbers);
        connect(whereDialog_, &WhereDialog::copyRequested, this,
                [this] { services_.setClipboardText(whereDialog_->answerText()); });
        connect(whereDialog_, &WhereDialog::saveRequested, this,
                [this] { saveText(whereDialog_->answerText()); });
    }
    whereDialog_->show();
    whereDialog_->raise();
    whereDialog_->activateWindow();
}

void MainWindow::LookUpNumbers() {
    if (!storeOrSaySo()) {
        return;
    }
    if (!segmentIndex_) {
        // Every row of the store in memory, once: a million numbers then take a second.
        segmentIndex_ = std::make_unique<lookup::SegmentIndex>(*store_);
    }
    if (!segmentIndex_->error().empty()) {
        services_.showMessage(
            QString::fromUtf8(messages::kStoreDamaged).arg(QString::fromStdString(store_->path())));
        segmentIndex_.reset();
        return;
    }
    const lookup::WhereLines lines(*segmentIndex_, "\r\n");
    std::string answer;
    std::vector<lookup::WhereRow> rows;
    lines.appendText(whereDialog_->input()->utf8View(), answer, rows);
    std::vector<lookup::NumberVerdict> verdicts;
    verdicts.reserve(rows.size());
    for (const auto& row : rows) {
        verdicts.push_back(row.verdict);
    }
    whereDialog_->showAnswer(std::move(answer), std::move(verdicts));
}

}  // namespace haoma::app
