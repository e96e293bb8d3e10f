// SPDX-License-Identifier: MIT
#pragma once
// 按省份或区号查号段: a small dialog that asks for a province of the store or an area code;
// the main window runs the query and fills its segment box the way 查号段 does.

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QLineEdit;

namespace haoma::app {

class RegionDialog : public QDialog {
    Q_OBJECT

  public:
    // `provinces`: the store's provinces, in the order to list them; the list starts on
    // none of them.
    RegionDialog(const QStringList& provinces, QWidget* parent);

    // What to query: an area code when one is typed, else the chosen province.
    QString areaCode() const;
    // The province chosen; empty while none is.
    QString province() const;
    // Chooses the province (and clears the area code, which would win).
    void selectProvince(const QString& province);

  signals:
    void queryRequested();

  private:
    QComboBox* provinces_;
    QLineEdit* areaCode_;
};

}  // namespace haoma::app
