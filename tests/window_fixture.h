// SPDX-License-Identifier: MIT
#pragma once
// A main window with recording services, for window tests under the offscreen platform.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "app/services.h"
#include "app/text_box.h"

namespace haoma::test {

class RecordingServices : public app::Services {
  public:
    void showMessage(const QString& text) override { messages << text; }
    void openHelpPage(const QString& section) override {
        ++helpPagesOpened;
        helpSections << section;
    }
    void showAbout(const QString& text) override { abouts << text; }
    void endProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    QString userDataDirectory() override { return userDataDirectoryOverride; }
    std::string_view cityTable() override {
        return cityTableOverride.empty() ? app::Services::cityTable() : cityTableOverride;
    }
    QString programDirectory() override {
        return programDirectoryOverride.isEmpty() ? app::Services::programDirectory()
                                                  : programDirectoryOverride;
    }
    QString saveFileName(const QString&, const QString&) override {
        ++saveDialogs;
        return savePath;
    }
    void processPendingEvents() override {
        app::Services::processPendingEvents();
        ++eventRounds;
        if (onEvents) {
            onEvents();
        }
    }

    QStringList messages;
    int helpPagesOpened = 0;
    QStringList helpSections;  // the section each opening asked for ("" for the top)
    QStringList abouts;
    int saveDialogs = 0;
    QString savePath;  // what the save dialog answers; empty is a cancel
    int eventRounds = 0;
    std::function<void()> onEvents;      // runs at every processing of pending events
    QString programDirectoryOverride;    // where the window looks for its store
    std::string_view cityTableOverride;  // the table the association searches
    QString userDataDirectoryOverride;   // where imported stores lie; none by default
    std::vector<int> exitCodes;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<app::MainWindow>(services);
        window->StartUp();
        window->show();
    }
    void TearDown() override { window.reset(); }

    template <class T>
    T* find(const char* name) const {
        T* widget = window->control<T>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    app::TextBox* box(const char* name) const { return find<app::TextBox>(name); }
    QString caption(const char* name) const { return find<QLabel>(name)->text(); }
    bool enabled(const char* name) const { return find<QWidget>(name)->isEnabled(); }
    bool checked(const char* name) const { return find<QAbstractButton>(name)->isChecked(); }
    void click(const char* name);

    RecordingServices services;
    std::unique_ptr<app::MainWindow> window;
};

}  // namespace haoma::test
