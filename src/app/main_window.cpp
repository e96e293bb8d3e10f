// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/click_label.h"
#include "app/control_factory.h"
#include "app/control_table.h"
#include "app/messages.h"
#include "app/run_driver.h"
#include "app/services.h"
#include "app/text_box.h"
#include "generate/pattern_kind.h"
#include "haoma_version.h"
#include "lookup/city_guide.h"
#include "lookup/city_table.h"
#include "lookup/place_aliases.h"
#include "lookup/segment_index.h"
#include "lookup/segment_store.h"

// Resources of a static library are registered by hand, outside any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(app);
}

namespace haoma::app {
namespace {

// The dialogs that open from the boxes' context menus; Ctrl with the key opens one from
// anywhere in the main window.
struct DialogEntry {
    const char* caption;
    const char* action;  // the action's object name
    Qt::Key key;         // Qt::Key_unknown: no key
    bool segmentBox;     // in the segment box's menu
    bool resultBox;      // in the result box's menu
    void (MainWindow::*open)();
};

const DialogEntry kDialogEntries[] = {
    {messages::kRegionAction, "动作按地区查号段", Qt::Key_unknown, true, false,
     &MainWindow::OpenRegionDialog},
    {messages::kWhereAction, "动作号码归属地", Qt::Key_L, true, true, &MainWindow::OpenWhereDialog},
    {messages::kRuleAction, "动作按规则选号", Qt::Key_G, false, true, &MainWindow::OpenRuleDialog},
};

}  // namespace

MainWindow::MainWindow(Services& services) : services_(services) {
    registerResources();
    setObjectName(QStringLiteral("主窗口"));
    setWindowIcon(QIcon(QStringLiteral(":/haoma/haoma.png")));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"), font.family()});
    // 11 px: at 12 px this face's Latin capitals push the 型 of "ABCD型" out of its box.
    font.setPixelSize(11);
    setFont(font);
    // A fixed border that still maximises: no maximum size (a window manager offers no
    // maximise to a window whose minimum and maximum agree); fitOuterSize() holds the size.
    setMinimumSize(kWindowWidth, kWindowHeight);
    resize(kWindowWidth, kWindowHeight);
    // The pattern captions are laid out for a compact check mark; keep the gap to it small.
    setStyleSheet(QStringLiteral("QCheckBox, QRadioButton { spacing: 2px; }"));
    buildControls();
    applyFocusOrder();
    runs_ = std::make_unique<RunDriver>(runControls(), services_);
    connectSignals();
    centreOnScreen();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    services_.endProcess(0);
}

RunControls MainWindow::runControls() const {
    RunControls controls{
        control<QLineEdit>("编辑框生成总数"),
        control<TextBox>("编辑框1"),
        control<TextBox>("编辑框2"),
        control<QLabel>("标签总数"),
        control<QPushButton>("按钮1查询"),
        control<QPushButton>("按钮靓号"),
        control<QPushButton>("按钮全顺序数"),
        control<QAbstractButton>("单选框仅靓号"),
        control<QAbstractButton>("单选框全部号"),
        {},
        {},
    };
    for (const auto& row : generate::patternTable()) {
        controls.patternBoxes.push_back(control<QAbstractButton>(row.checkBox.data()));
        controls.indicators.push_back(control<QPushButton>(row.indicator.data()));
    }
    return controls;
}

void MainWindow::buildControls() {
    QButtonGroup* groups[] = {nullptr, new QButtonGroup(this), new QButtonGroup(this)};
    for (const ControlSpec& spec : controlTable()) {
        QWidget* parent = spec.parent != nullptr ? control<QWidget>(spec.parent) : this;
        QWidget* widget = createControl(spec, parent);
        styleControl(widget, spec, font());
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button != nullptr &&
            (spec.kind == ControlKind::CheckBox || spec.kind == ControlKind::Radio)) {
            button->setChecked(spec.checked);
            if (spec.group != RadioGroup::None) {
                groups[static_cast<int>(spec.group)]->addButton(button);
            }
        }
        widget->setVisible(spec.visible);
    }
    for (const auto& accessible : accessibleNames()) {
        control<QWidget>(accessible.control)->setAccessibleName(QString::fromUtf8(accessible.name));
    }
}

void MainWindow::connectSignals() {
    const auto button = [this](const char* name) { return control<QAbstractButton>(name); };
    connect(button("按钮1查询"), &QAbstractButton::clicked, this, &MainWindow::QuerySegments);
    connect(control<QLineEdit>("编辑框_出发地"), &QLineEdit::textChanged, this,
            &MainWindow::SuggestCities);
    connect(control<QLineEdit>("编辑框_出发地"), &QLineEdit::returnPressed, this,
            &MainWindow::QueryOnEnter);
    // A click or Enter picks; moving through the list with the arrow keys does not.
    connect(control<QListWidget>("列表框_出发地"), &QListWidget::itemClicked, this,
            &MainWindow::PickCity);
    connect(control<QListWidget>("列表框_出发地"), &QListWidget::itemActivated, this,
            &MainWindow::PickCity);
    connect(button("按钮靓号"), &QAbstractButton::clicked, this, &MainWindow::RunPrettyNumbers);
    connect(button("按钮全顺序数"), &QAbstractButton::clicked, this, &MainWindow::RunAllNumbers);
    connect(button("按钮2"), &QAbstractButton::clicked, this, &MainWindow::CopySegments);
    connect(button("按钮3"), &QAbstractButton::clicked, this, &MainWindow::ClearSegments);
    connect(button("按钮4"), &QAbstractButton::clicked, this, &MainWindow::PasteSegments);
    connect(button("按钮5"), &QAbstractButton::clicked, this, &MainWindow::CopyResults);
    connect(button("按钮6"), &QAbstractButton::clicked, this, &MainWindow::ClearResults);
    connect(button("按钮7"), &QAbstractButton::clicked, this, &MainWindow::PasteResults);
    connect(button("单选框仅靓号"), &QAbstractButton::clicked, this, &MainWindow::SelectPrettyMode);
    connect(button("单选框全部号"), &QAbstractButton::clicked, this,
            &MainWindow::SelectAllNumbersMode);
    for (const char* name : {"超级链接框1", "超级链接框2", "超级链接框3"}) {
        connect(control<ClickLabel>(name), &ClickLabel::clicked, this,
                &MainWindow::OpenContactLink);
    }
    connect(control<ClickLabel>("超级链接框4"), &ClickLabel::clicked, this, &MainWindow::ShowAbout);
    connect(control<ClickLabel>("图片框2"), &ClickLabel::leftPressed, this,
            &MainWindow::OpenContactLink);
    connect(control<ClickLabel>("图片框3"), &ClickLabel::leftPressed, this,
            &MainWindow::OpenDataNotes);
    // 保存到文件… in the result box's context menu, and Ctrl+S while the box has focus.
    auto* save = new QAction(QString::fromUtf8(messages::kSaveAction), this);
    save->setObjectName(QStringLiteral("动作保存结果"));
    save->setShortcut(QKeySequence::Save);
    save->setShortcutContext(Qt::WidgetShortcut);
    control<TextBox>("编辑框2")->addAction(save);
    control<TextBox>("编辑框2")->addContextAction(save);
    connect(save, &QAction::triggered, this, &MainWindow::SaveResults);
    for (const DialogEntry& entry : kDialogEntries) {
        auto* action = new QAction(QString::fromUtf8(entry.caption), this);
        action->setObjectName(QString::fromUtf8(entry.action));
        if (entry.key != Qt::Key_unknown) {
            // The key itself is taken in eventFilter(), before a box's editor could take it
            // as its own; the action only shows it in the menus.
            action->setShortcut(QKeySequence(Qt::CTRL | entry.key));
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        if (entry.segmentBox) {
            control<TextBox>("编辑框1")->addContextAction(action);
        }
        if (entry.resultBox) {
            control<TextBox>("编辑框2")->addContextAction(action);
        }
        connect(action, &QAction::triggered, this, entry.open);
    }
    // The suggestion list belongs to the city box: it closes once the focus goes anywhere
    // else, so that it never takes a click meant for what lies under it.
    // (Guarded pointers: the focus moves while the window's children are taken down.)
    const QPointer<QListWidget> list = control<QListWidget>("列表框_出发地");
    const QPointer<QLineEdit> cityBox = control<QLineEdit>("编辑框_出发地");
    connect(qApp, &QApplication::focusChanged, this, [list, cityBox](QWidget*, QWidget* now) {
        QListWidget* open = list.data();
        if (open == nullptr || now == nullptr || now == open || now == cityBox.data()) {
            return;
        }
        open->hide();
    });
    // Events that have no signal of their own: handled in eventFilter().
    control<QCheckBox>("选择框1")->installEventFilter(this);
    control<QLineEdit>("编辑框生成总数")->installEventFilter(this);
}

void MainWindow::applyFocusOrder() {
    const auto order = focusOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(control<QWidget>(order[i - 1]), control<QWidget>(order[i]));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const auto* widget = qobject_cast<QWidget*>(watched);
            // The dialogs' keys, anywhere in the main window.
            if (key->modifiers() == Qt::ControlModifier && widget != nullptr &&
                widget->window() == this) {
                for (const DialogEntry& entry : kDialogEntries) {
                    if (entry.key != Qt::Key_unknown && key->key() == entry.key) {
                        (this->*entry.open)();
                        return true;
                    }
                }
            }
            if (key->key() != Qt::Key_Escape && key->key() != Qt::Key_Down) {
                break;  // every key of the program passes here: look nothing up for the rest
            }
            auto* list = control<QListWidget>("列表框_出发地");
            if (key->key() == Qt::Key_Escape && widget != nullptr && widget->window() == this) {
                // Esc closes an open suggestion list first; only then does it end the program.
                if (list->isVisible()) {
                    list->hide();
                    control<QLineEdit>("编辑框_出发地")->setFocus();
                } else {
                    close();
                }
                return true;
            }
            if (key->key() == Qt::Key_Down && watched == control<QLineEdit>("编辑框_出发地") &&
                list->isVisible() && list->count() > 0) {
                // Down goes into the list, on its first name; Enter there picks it.
                list->setFocus(Qt::OtherFocusReason);
                list->setCurrentRow(0);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonPress:
            if (watched == control<QCheckBox>("选择框1") &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                ToggleAllPatterns();
            }
            break;
        case QEvent::MouseButtonDblClick:
            if (watched == control<QLineEdit>("编辑框生成总数")) {
                ClearPlannedTotal();
            }
            // The check box takes a double-click as a second press: so does the command.
            if (watched == control<QCheckBox>("选择框1") &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                ToggleAllPatterns();
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    services_.endProcess(0);
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitOuterSize();
}

bool MainWindow::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    // A window manager reports its frame some time after the window is shown, and gives the
    // window back after maximising: each time, the client area gives way to the frame again.
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            fitOuterSize();
            break;
        case QEvent::WindowStateChange:
            // On a restore the frame of the maximised window is still reported for a moment.
            fitOuterSize();
            QTimer::singleShot(200, this, &MainWindow::fitOuterSize);
            break;
        default:
            break;
    }
    return handled;
}

void MainWindow::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - kWindowWidth) / 2,
             area.top() + (area.height() - kWindowHeight) / 2);
    }
}

// The outer size, frame included, is 605 x 483 except while maximised: the client area
// gives way to the frame, and dragging an edge changes nothing.
void MainWindow::fitOuterSize() {
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0 || fitting_) {
        return;
    }
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client(kWindowWidth - frame.width(), kWindowHeight - frame.height());
    if (client == size() && minimumSize() == client) {
        return;
    }
    fitting_ = true;
    setMinimumSize(client);
    resize(client);
    if (!centredInFrame_ && !frame.isEmpty()) {
        // Once, when the window manager first reports the frame: the outer frame is what
        // stands in the centre. Later fits keep the place the user moved the window to.
        centredInFrame_ = true;
        centreOnScreen();
    }
    fitting_ = false;
}

void MainWindow::StartUp() {
    setWindowTitle(QStringLiteral("全国手机号码生成器 v") + QString::fromUtf8(kVersion));
    for (const auto& row : generate::patternTable()) {
        control<QPushButton>(row.indicator.data())->setEnabled(false);
    }
    control<QPushButton>("按钮全顺序数")->setEnabled(false);
    OpenSegmentDatabase();
    LoadCityTable();
    // Typing starts in the city box (not in the planned total, where "bj" would join 1000000).
    control<QLineEdit>("编辑框_出发地")->setFocus();
}

void MainWindow::LoadCityTable() {
    cityRecords_ = std::make_unique<lookup::CityRecords>(services_.cityTable());
}

std::string MainWindow::storePath() const {
    return lookup::storePath(services_.programDirectory().toStdString(),
                             services_.userDataDirectory().toStdString());
}

void MainWindow::OpenSegmentDatabase() {
    store_.reset();
    storeFailure_.clear();
    cityGuide_.reset();
    store_ = lookup::SegmentStore::open(storePath(), &storeFailure_);
    if (!store_) {
        services_.showMessage(
            QString::fromUtf8(messages::kDatabaseFailed) +
            QString::fromUtf8(messages::kDatabaseFailedDetail)
                .arg(QString::fromStdString(storePath()), QString::fromStdString(storeFailure_)));
    }
}

}  // namespace haoma::app
