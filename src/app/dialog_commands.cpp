// SPDX-License-Identifier: MIT
// The commands of the dialogs that open from the boxes' context menus: each dialog is built
// when first opened, and the window runs what it asks for.
#include <QLabel>
#include <QPushButton>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/region_dialog.h"
#include "app/services.h"
#include "app/text_box.h"
#include "app/where_dialog.h"
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
        QStringList provinces;
        for (const auto& city : store_->cities(error)) {
            const QString province = QString::fromStdString(city.province);
            if (!province.isEmpty() && !provinces.contains(province)) {
                provinces << province;
            }
        }
        regionDialog_ = new RegionDialog(provinces, this);
        connect(regionDialog_, &RegionDialog::queryRequested, this, &MainWindow::QueryRegion);
    }
    regionDialog_->show();
    regionDialog_->raise();
    regionDialog_->activateWindow();
}

void MainWindow::QueryRegion() {
    control<QLabel>("标签号段数")->setText(QStringLiteral("0"));
    control<TextBox>("编辑框1")->clear();
    setIndicatorsEnabled(false);
    const QString areaCode = regionDialog_->areaCode();
    showSegments(
        areaCode.isEmpty()
            ? store_->segmentsOfProvince(regionDialog_->province().toStdString(), selectedCarrier())
            : store_->segmentsOfAreaCode(areaCode.toStdString(), selectedCarrier()));
}

void MainWindow::OpenWhereDialog() {
    if (whereDialog_ == nullptr) {
        whereDialog_ = new WhereDialog(this);
        connect(whereDialog_, &WhereDialog::lookUpRequested, this, &MainWindow::LookUpNumbers);
        connect(whereDialog_, &WhereDialog::copyRequested, this,
                [this] { services_.setClipboardText(whereDialog_->output()->utf8View()); });
        connect(whereDialog_, &WhereDialog::saveRequested, this,
                [this] { saveText(whereDialog_->output()->utf8View()); });
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
    qsizetype found = 0;
    qsizetype notFound = 0;
    lines.appendText(whereDialog_->input()->utf8View(), answer, rows);
    for (const auto& row : rows) {
        const bool known = row.verdict == lookup::NumberVerdict::Found;
        found += known;
        notFound += !known;
    }
    whereDialog_->showAnswer(answer, found, notFound);
}

}  // namespace haoma::app
