// SPDX-License-Identifier: MIT
// Every caption of the control table fits its control's rectangle in the control's own font,
// with room for what the style draws beside it (a check mark, a button's margins).
#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOption>

#include "app/control_table.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

// Width the style needs beside the caption of a control of this kind.
int decorationWidth(const QWidget* widget, app::ControlKind kind) {
    const QStyle* style = widget->style();
    switch (kind) {
        case app::ControlKind::CheckBox:
            return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) +
                   style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget);
        case app::ControlKind::Radio:
            return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget) +
                   style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget);
        case app::ControlKind::Button:
            return style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget) +
                   2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        default:
            return 0;
    }
}

// The offscreen platform of a Windows build has no fonts at all: the faces and captions of
// the Windows window are looked at in the real window under Wine instead.
#ifdef _WIN32
#define SKIP_WITHOUT_FONTS()                                                 \
    if (QFontDatabase::families().isEmpty()) {                               \
        GTEST_SKIP() << "this platform has no fonts (offscreen on Windows)"; \
    }
#else
#define SKIP_WITHOUT_FONTS()
#endif

TEST_F(WindowTest, TheWindowSpeaksInAChineseFace) {
    SKIP_WITHOUT_FONTS();
    EXPECT_EQ(QFontInfo(window->font()).family(), "WenQuanYi Micro Hei");
    EXPECT_EQ(QFontInfo(find<QWidget>("选择框四同")->font()).family(), "WenQuanYi Micro Hei");
}

TEST_F(WindowTest, EveryCaptionFitsItsControl) {
    SKIP_WITHOUT_FONTS();
    std::vector<std::string> cut;
    for (const app::ControlSpec& spec : app::controlTable()) {
        const bool captioned =
            spec.kind == app::ControlKind::Label || spec.kind == app::ControlKind::Link ||
            spec.kind == app::ControlKind::Button || spec.kind == app::ControlKind::CheckBox ||
            spec.kind == app::ControlKind::Radio;
        if (!captioned || spec.caption[0] == '\0') {
            continue;
        }
        const QWidget* widget = find<QWidget>(spec.name);
        const QString caption = QString::fromUtf8(spec.caption);
        const int needed = QFontMetrics(widget->font()).horizontalAdvance(caption) +
                           decorationWidth(widget, spec.kind);
        if (needed > spec.width) {
            cut.push_back(std::string(spec.name) + " in " +
                          QFontInfo(widget->font()).family().toStdString() + " needs " +
                          std::to_string(needed) + " of " + std::to_string(spec.width));
        }
    }
    std::string report;
    for (const auto& line : cut) {
        report += line + "\n";
    }
    EXPECT_TRUE(cut.empty()) << report;
}

// Every banner is whole in its box: none loses a row or a column of its border.
TEST_F(WindowTest, EveryBannerFitsItsBox) {
    int banners = 0;
    for (const app::ControlSpec& spec : app::controlTable()) {
        if (spec.kind != app::ControlKind::Picture) {
            continue;
        }
        ++banners;
        const QSize image = find<QLabel>(spec.name)->pixmap().size();
        EXPECT_FALSE(image.isEmpty()) << spec.name;
        EXPECT_LE(image.width(), spec.width) << spec.name;
        EXPECT_LE(image.height(), spec.height) << spec.name;
    }
    EXPECT_EQ(banners, 2);
}

}  // namespace
}  // namespace haoma::test
