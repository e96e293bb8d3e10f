// SPDX-License-Identifier: MIT
#pragma once
// The one working window: its controls come from the control table, every command is the
// handler of one control event, and the handlers only move text between controls and core.

#include <QWidget>
#include <memory>
#include <string_view>

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace haoma::lookup {
class CityGuide;
class CityRecords;
class PlaceAliases;
class SegmentIndex;
class SegmentStore;
struct SegmentRows;
enum class Carrier;
}  // namespace haoma::lookup

namespace haoma::app {

class RegionDialog;
class RuleDialog;
class WhereDialog;

class RunDriver;
struct RunControls;
class Services;

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(Services& services);
    ~MainWindow() override;

    // The creation-complete routine: title, the buttons that must not be pressed yet, and
    // the segment store.
    void StartUp();
    void OpenSegmentDatabase();
    // The store the window opens: the user's imported one, else the one it was installed with.
    std::string storePath() const;
    void LoadCityTable();

    // The segment query of the city box, bound to 按钮1查询.
    void QuerySegments();

    // The name association: every change of the city box, and a pick from the list.
    void SuggestCities();
    void PickCity();

    // Window commands, each bound to one control event.
    void PasteSegments();
    void PasteResults();
    void CopySegments();
    void CopyResults();
    void ClearSegments();
    void ClearResults();
    void ClearPlannedTotal();
    // Writes the result box to a file the user picks, whole or not at all.
    void SaveResults();
    // 按省份或区号查号段: the dialog, and its query into the segment box.
    void OpenRegionDialog();
    void QueryRegion();
    // 号码归属地: the dialog, and its lookups.
    void OpenWhereDialog();
    void LookUpNumbers();
    // 按规则选号: the dialog, its count, and its run.
    void OpenRuleDialog();
    void CountRuleNumbers();
    void RunRuleNumbers();
    // Enter in the city box: 查号段, unless the suggestion list is open.
    void QueryOnEnter();
    void SelectPrettyMode();
    void SelectAllNumbersMode();
    void ToggleAllPatterns();
    void OpenContactLink();
    // 数据说明: the help page at its section on the segment data.
    void OpenDataNotes();
    // 关于: the version, the data in use and the licences.
    void ShowAbout();

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
    bool event(QEvent* event) override;

  private:
    void buildControls();
    RunControls runControls() const;
    void connectSignals();
    void applyFocusOrder();
    void setIndicatorsEnabled(bool enabled);
    // Writes a query's answer into the segment box and its count, or says the store failed.
    void showSegments(const lookup::SegmentRows& answer);
    // Asks where to save and writes the text there, whole or not at all; says why it failed.
    void saveText(std::string_view text);
    // Whether there is a store; says why not when there is none.
    bool storeOrSaySo();
    lookup::Carrier selectedCarrier() const;
    // The guide from a city text to the store's cities, made on first use (it reads the
    // store's city names); none without a store or a city table.
    const lookup::CityGuide* cityGuide();
    void fitOuterSize();
    void centreOnScreen();

    Services& services_;
    std::unique_ptr<RunDriver> runs_;
    std::unique_ptr<lookup::SegmentStore> store_;  // 数据库连接1; none after a failed open
    std::string storeFailure_;                     // why the open failed
    std::unique_ptr<lookup::CityRecords> cityRecords_;
    std::unique_ptr<lookup::PlaceAliases> placeAliases_;
    std::unique_ptr<lookup::CityGuide> cityGuide_;
    RegionDialog* regionDialog_ = nullptr;  // made when first opened, owned as a child
    WhereDialog* whereDialog_ = nullptr;    // likewise
    RuleDialog* ruleDialog_ = nullptr;      // likewise
    std::unique_ptr<lookup::SegmentIndex> segmentIndex_;  // made at the first lookup
    bool centredInFrame_ = false;  // placed in the centre with the frame counted
    bool fitting_ = false;         // inside fitOuterSize(), whose own moves come back as events
};

}  // namespace haoma::app
