// SPDX-License-Identifier: MIT
#pragma once
// The one working window: its controls come from the control table, every command is the
// handler of one control event, and the handlers only move text between controls and core.

#include <QWidget>
#include <memory>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace haoma::app {

class RunDriver;
struct RunControls;
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

    // The two generation runs.
    void RunPrettyNumbers();
    void RunAllNumbers();
    RunDriver& runs() { return *runs_; }

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
    RunControls runControls() const;
    void connectSignals();
    void setIndicatorsEnabled(bool enabled);
    void fitOuterSize();
    void centreOnScreen();

    Services& services_;
    std::unique_ptr<RunDriver> runs_;
    bool sizedToFrame_ = false;
};

}  // namespace haoma::app
