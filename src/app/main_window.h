// SPDX-License-Identifier: MIT
#pragma once
// The one working window: its controls come from the control table, every command is the
// handler of one control event, and the handlers only move text between controls and core.

#include <QWidget>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace haoma::app {

class Services;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(Services& services);
    ~MainWindow() override;

    // The creation-complete routine: title and the buttons that must not be pressed yet.
    void StartUp();

    // Window commands, each bound to one control event.
    void PasteSegments();
    void PasteResults();
    void CopySegments();
    void CopyResults();
    void ClearSegments();
    void ClearResults();
    void ClearPlannedTotal();
    void SelectPrettyMode();
    void SelectAllNumbersMode();
    void ToggleAllPatterns();
    void OpenContactLink();

    // The control with this object name.
    template <class T>
    T* control(const char* name) const {
        return findChild<T*>(QString::fromUtf8(name));
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void connectSignals();
    void setIndicatorsEnabled(bool enabled);
    void fitOuterSize();
    void centreOnScreen();

    Services& services_;
    bool sizedToFrame_ = false;
};

}  // namespace haoma::app
