// SPDX-License-Identifier: MIT
// The window's commands: each reads its controls, asks the core, and writes the answer back.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <algorithm>
#include <ostream>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/region_dialog.h"
#include "app/run_driver.h"
#include "app/services.h"
#include "app/text_box.h"
#include "generate/pattern_kind.h"
#include "haoma_version.h"
#include "lookup/city_guide.h"
#include "lookup/city_table.h"
#include "lookup/file_output.h"
#include "lookup/segment_store.h"
#include "text/text.h"

namespace haoma::app {
namespace {

// A name as a message quotes it: a long paste shows its start.
QString shownName(const QString& name) {
    constexpr qsizetype kShown = 24;
    return name.size() <= kShown ? name : name.left(kShown) + QStringLiteral("…");
}

}  // namespace

void MainWindow::SuggestCities() {
    const QString typed = control<QLineEdit>("编辑框_出发地")->text();
    if (typed.isEmpty() || !cityRecords_) {
        return;  // an emptied box leaves the list as it was
    }
    const auto names = lookup::suggestionNames(cityRecords_->findCityNames(typed.toStdString()));
    auto* list = control<QListWidget>("列表框_出发地");
    const auto* guide = cityGuide();
    {
        // The list's own selection signals report the user's picks only.
        const QSignalBlocker quiet(list);
        list->clear();
        for (const auto& name : names) {
            auto* item = new QListWidgetItem(QString::fromStdString(name), list);
            // A name that leads to no segment keeps its place, greyed, with the reason.
            if (guide != nullptr && !guide->leadsToSegments(name)) {
                item->setForeground(list->palette().brush(QPalette::Disabled, QPalette::Text));
                item->setToolTip(QString::fromUtf8(messages::kNoSegmentsForPlace));
            }
        }
    }
    list->show();
    // Every row whole: the table's height, or more where the font's rows are taller.
    const int rows = static_cast<int>(names.size());
    const int pitch =  // a row and the spacing around it
        rows > 0 ? std::max(list->sizeHintForRow(0), list->visualItemRect(list->item(0)).height()) +
                       2 * list->spacing()
                 : 0;
    // The table's height or the rows' own, within the frame below the city box; a row the
    // frame cannot hold whole is left to the scroll bar rather than cut.
    const int frame = 2 * list->frameWidth();
    int height = std::min(std::max(lookup::suggestionListHeight(rows), rows * pitch + frame),
                          list->parentWidget()->height() - list->y());
    if (pitch > 0 && rows * pitch + frame > height) {
        height = (height - frame) / pitch * pitch + frame;
    }
    list->resize(list->width(), height);
}

void MainWindow::QueryOnEnter() {
    // With the suggestion list open, Enter belongs to the list (Down, then Enter picks).
    if (!control<QListWidget>("列表框_出发地")->isVisible()) {
        QuerySegments();
    }
}

void MainWindow::PickCity() {
    auto* list = control<QListWidget>("列表框_出发地");
    const int index = list->currentRow();
    const QListWidgetItem* item = index >= 0 ? list->item(index) : nullptr;
    auto* city = control<QLineEdit>("编辑框_出发地");
    city->setText(item != nullptr ? item->text() : QString());
    list->hide();
    // Typing goes on in the city box, after the name picked.
    city->setFocus();
    city->end(false);
}

const lookup::CityGuide* MainWindow::cityGuide() {
    if (!cityGuide_ && store_ && cityRecords_) {
        std::string error;
        auto cities = store_->cityNames(error);
        if (!error.empty()) {
            return nullptr;  // the query that needs the store says why
        }
        placeAliases_ = std::make_unique<lookup::PlaceAliases>();
        cityGuide_ =
            std::make_unique<lookup::CityGuide>(std::move(cities), *placeAliases_, *cityRecords_);
    }
    return cityGuide_.get();
}

lookup::Carrier MainWindow::selectedCarrier() const {
    struct CarrierRadio {
        const char* name;
        lookup::Carrier carrier;
    };
    static constexpr CarrierRadio kRadios[] = {{"单选框电信", lookup::Carrier::Telecom},
                                               {"单选框联通", lookup::Carrier::Unicom},
                                               {"单选框移动", lookup::Carrier::Mobile}};
    for (const auto& radio : kRadios) {
        if (control<QRadioButton>(radio.name)->isChecked()) {
            return radio.carrier;
        }
    }
    return lookup::Carrier::Any;
}

void MainWindow::QuerySegments() {
    control<QListWidget>("列表框_出发地")->hide();  // the query answers; the list has had its say
    auto* segmentBox = control<TextBox>("编辑框1");
    auto* count = control<QLabel>("标签号段数");
    count->setText(QStringLiteral("0"));
    segmentBox->clear();
    const QString city = control<QLineEdit>("编辑框_出发地")->text();
    if (city.isEmpty()) {
        services_.showMessage(QString::fromUtf8(messages::kNoCity));
        return;
    }
    control<QPushButton>("按钮1查询")->setEnabled(false);
    setIndicatorsEnabled(false);
    if (!store_) {
        // A store that could not be opened is no store of zero rows: the query says so.
        control<QPushButton>("按钮1查询")->setEnabled(true);
        storeOrSaySo();
        return;
    }
    const auto* guide = cityGuide();
    const auto found =
        guide != nullptr
            ? lookup::queryCity(store_.get(), *guide, city.toStdString(), selectedCarrier())
            : lookup::CityAnswer{
                  store_->segments(text::trim(city.toStdString()), selectedCarrier()), {}};
    const auto& choice = found.choice;
    const QString chosen = QString::fromStdString(choice.city);
    if (choice.kind == lookup::CityChoice::Kind::Province) {
        // A province's segments go by province: the dialog for it, the province chosen.
        control<QPushButton>("按钮1查询")->setEnabled(true);
        services_.showMessage(QString::fromUtf8(messages::kProvinceAsCity).arg(city, chosen));
        OpenRegionDialog();
        if (regionDialog_ != nullptr) {
            regionDialog_->selectProvince(chosen);
        }
        return;
    }
    if (choice.kind == lookup::CityChoice::Kind::Shared) {
        control<QPushButton>("按钮1查询")->setEnabled(true);
        QStringList cities;
        for (const auto& each : choice.cities) {
            cities << QString::fromStdString(each);
        }
        services_.showMessage(
            QString::fromUtf8(choice.spans ? messages::kSpanningPlace : messages::kSharedPlace)
                .arg(city, cities.join(QStringLiteral("、"))));
        return;
    }
    if (!choice.given.empty()) {
        // The city box shows the city queried: pinyin or a place inside it became its name.
        auto* cityBox = control<QLineEdit>("编辑框_出发地");
        const QSignalBlocker quiet(cityBox);
        cityBox->setText(chosen);
    }
    control<QListWidget>("列表框_出发地")->hide();
    showSegments(found.segments);
    if (!found.segments.error.empty()) {
        return;
    }
    // Nothing found, or found under another name: said, never left silent.
    if (found.segments.rows.empty()) {
        const bool known = choice.kind == lookup::CityChoice::Kind::Exact ||
                           !choice.given.empty() ||
                           (guide != nullptr && guide->leadsToSegments(choice.city));
        services_.showMessage(
            known ? QString::fromUtf8(messages::kNoCarrierSegments).arg(chosen)
                  : QString::fromUtf8(messages::kNoSuchPlace).arg(shownName(city.trimmed())));
    } else if (choice.filed) {
        services_.showMessage(QString::fromUtf8(messages::kFiledPlace)
                                  .arg(QString::fromStdString(choice.given), chosen));
    }
}

void MainWindow::showSegments(const lookup::SegmentRows& answer) {
    auto* segmentBox = control<TextBox>("编辑框1");
    auto* count = control<QLabel>("标签号段数");
    control<QPushButton>("按钮1查询")->setEnabled(true);
    if (!answer.error.empty()) {
        services_.showMessage(
            QString::fromUtf8(messages::kStoreDamaged).arg(QString::fromStdString(store_->path())));
        return;
    }
    const auto& rows = answer.rows;
    std::string lines;
    lines.reserve(rows.size() * 9);
    for (const auto& row : rows) {
        lines += row;
        lines += "\r\n";
    }
    segmentBox->appendUtf8(lines);
    segmentBox->moveCaretToEnd();
    count->setText(QString::fromStdString(
        text::advanceCounter(count->text().toStdString(), static_cast<std::int64_t>(rows.size()))));
}

void MainWindow::setIndicatorsEnabled(bool enabled) {
    for (const auto& row : generate::patternTable()) {
        control<QPushButton>(row.indicator.data())->setEnabled(enabled);
    }
}

void MainWindow::PasteSegments() {
    // Text copied from a file saved with a byte-order mark would glue it to the first segment.
    QByteArray text = services_.clipboardText();
    if (text.startsWith("\xEF\xBB\xBF")) {
        text.remove(0, 3);
    }
    control<TextBox>("编辑框1")->setUtf8Text(text);
}

void MainWindow::PasteResults() {
    const QByteArray text = services_.clipboardText();
    control<TextBox>("编辑框2")->setUtf8Text(text);
}

void MainWindow::CopySegments() {
    services_.setClipboardText(control<TextBox>("编辑框1")->utf8View());
}

void MainWindow::CopyResults() {
    services_.setClipboardText(control<TextBox>("编辑框2")->utf8View());
}

void MainWindow::ClearSegments() {
    control<TextBox>("编辑框1")->clear();
    control<QLabel>("标签号段数")->setText(QStringLiteral("0"));
}

void MainWindow::ClearResults() {
    control<TextBox>("编辑框2")->clear();
    control<QLabel>("标签总数")->setText(QStringLiteral("0"));
}

void MainWindow::SaveResults() {
    saveText(control<TextBox>("编辑框2")->utf8View());
}

void MainWindow::saveText(std::string_view text) {
    const QString path = services_.saveFileName(QString::fromUtf8(messages::kSaveCaption),
                                                QString::fromUtf8(messages::kSaveFilter));
    if (path.isEmpty()) {
        return;
    }
    // The box's own bytes, lines ending "\r\n" as a copy gives them, through a temporary
    // file renamed over the target only when complete.
    std::ostream noStandardOutput(nullptr);
    lookup::Output file(noStandardOutput, path.toStdString());
    if (!file.ready() || !file.write(text) || !file.commit()) {
        QString reason = QString::fromStdString(file.error());
        for (const auto& known : messages::kSaveFailureReasons) {
            if (known.cause == file.cause()) {
                reason = QString::fromUtf8(known.reason);
                break;
            }
        }
        services_.showMessage(QString::fromUtf8(messages::kSaveFailed).arg(path, reason));
    }
}

void MainWindow::ClearPlannedTotal() {
    control<QLineEdit>("编辑框生成总数")->clear();
}

void MainWindow::SelectPrettyMode() {
    setIndicatorsEnabled(false);
    control<QPushButton>("按钮靓号")->setEnabled(true);
    control<QPushButton>("按钮全顺序数")->setEnabled(false);
}

void MainWindow::SelectAllNumbersMode() {
    control<QPushButton>("按钮靓号")->setEnabled(false);
    setIndicatorsEnabled(false);
    control<QPushButton>("按钮全顺序数")->setEnabled(true);
}

void MainWindow::ToggleAllPatterns() {
    const bool tick = !control<QCheckBox>("选择框1")->isChecked();
    for (const auto& row : generate::patternTable()) {
        control<QCheckBox>(row.checkBox.data())->setChecked(tick);
    }
    setIndicatorsEnabled(false);
}

void MainWindow::OpenContactLink() {
    services_.openHelpPage();
}

void MainWindow::OpenDataNotes() {
    services_.openHelpPage(QStringLiteral("data"));
}

void MainWindow::ShowAbout() {
    QString segmentData = QString::fromUtf8(messages::kAboutNoStore);
    if (store_) {
        QString edition;
        QString source;
        // The data set and its edition as this program's build writes them; an imported
        // store names its source instead.
        for (const auto& [key, value] : store_->meta()) {
            if (key == "edition" || (key == "version" && edition.isEmpty())) {
                edition = QString::fromStdString(value);
            } else if (key == "dataset" || (key == "source" && source.isEmpty())) {
                source = QString::fromStdString(value);
            }
        }
        const QLocale chinese(QLocale::Chinese, QLocale::China);
        segmentData = QString::fromUtf8(messages::kAboutData)
                          .arg(source, edition, chinese.toString(qlonglong{store_->rowCount()}),
                               QString::fromStdString(store_->path()));
    }
    services_.showAbout(
        QString::fromUtf8(messages::kAbout).arg(QString::fromUtf8(kVersion), segmentData));
}

void MainWindow::RunPrettyNumbers() {
    runs_->runPrettyNumbers();
}

void MainWindow::RunAllNumbers() {
    runs_->runAllNumbers();
}

}  // namespace haoma::app
