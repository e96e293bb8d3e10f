// SPDX-License-Identifier: MIT
// The name association through the window: the suggestion list's contents, height and
// visibility, and the pick.
#include <QApplication>
#include <QTest>

#include "lookup/city_table.h"
#include "window_fixture.h"

namespace haoma::test {
namespace {

// The association's cases are those of the 879-record table; the cities appended after it
// only add names after these (see the full-table cases below).
class CityTest : public WindowTest {
  protected:
    void SetUp() override {
        services.cityTableOverride = lookup::baseCityTable();
        WindowTest::SetUp();
    }
    QLineEdit* city() const { return find<QLineEdit>("编辑框_出发地"); }
    QListWidget* list() const { return find<QListWidget>("列表框_出发地"); }
    QStringList items() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) {
            out << list()->item(i)->text();
        }
        return out;
    }
    void type(const QString& text) {
        city()->setFocus();
        city()->clear();
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClicks(city(), QString(c));
            } else {
                city()->insert(QString(c));  // what an input method delivers
            }
        }
    }
};

TEST_F(CityTest, TypingFillsSizesAndShowsTheList) {
    struct Case {
        QString typed;
        int count;
        int height;
        QString first;
    };
    const Case cases[] = {
        {"bei", 14, 196, "北京"},
        {"zz", 4, 120, "郑州"},
        {"hz", 5, 70, "杭州"},
        {"b", 20, 280, "北京"},
        {"京", 0, 0, ""},
        {"BJ", 10, 140, "北京"},
        {"hhht", 1, 30, "呼和浩特"},
        {"huanxin", 1, 30, "换新天"},
    };
    for (const auto& c : cases) {
        type(c.typed);
        EXPECT_EQ(list()->count(), c.count) << c.typed.toStdString();
        // At least the table's height where the frame has room, every row shown whole, and
        // the list inside the frame (the scroll bar gives the rows past it).
        EXPECT_GE(list()->height(), std::min(c.height, 260)) << c.typed.toStdString();
        EXPECT_LE(list()->geometry().bottom(), list()->parentWidget()->height());
        for (int row = 0; row < list()->count(); ++row) {
            const QRect shown = list()->visualItemRect(list()->item(row));
            if (shown.top() < list()->viewport()->height()) {
                EXPECT_LE(shown.bottom(), list()->viewport()->height())
                    << c.typed.toStdString() << " row " << row;
            }
        }
        EXPECT_TRUE(list()->isVisible());
        EXPECT_EQ(list()->geometry().topLeft(), QPoint(6, 134));
        EXPECT_EQ(list()->width(), 91);
        if (c.count > 0) {
            EXPECT_EQ(items().front(), c.first);
        }
    }
    type("bei");
    EXPECT_EQ(items(), QStringList({"北京", "北安", "北海", "北台", "北屯市", "北碚", "北戴河",
                                    "北滘", "北流", "北马圈子", "北屯", "背荫河", "北营", "北宅"}));
}

// The list closes when 查号段 runs and when the focus goes anywhere else: it never takes the
// next click meant for what lies under it.
TEST_F(CityTest, TheListClosesOnAQueryAndWhenTheFocusLeaves) {
    QApplication::setActiveWindow(window.get());
    type("bei");
    ASSERT_TRUE(list()->isVisible());
    click("按钮1查询");
    EXPECT_FALSE(list()->isVisible());
    type("bei");
    ASSERT_TRUE(list()->isVisible());
    find<QRadioButton>("单选框移动")->setFocus();
    EXPECT_FALSE(list()->isVisible());
    type("bei");
    QTest::keyClick(city(), Qt::Key_Down);  // into the list: it stays
    EXPECT_TRUE(list()->isVisible());
    EXPECT_TRUE(list()->hasFocus());
}

TEST_F(CityTest, EmptyingTheBoxLeavesTheListAsItWas) {
    type("z");
    QTest::keyClick(city(), Qt::Key_Z);  // "zz"
    const QStringList before = items();
    ASSERT_EQ(before.size(), 4);
    QTest::keyClick(city(), Qt::Key_Backspace);
    QTest::keyClick(city(), Qt::Key_Backspace);
    EXPECT_TRUE(city()->text().isEmpty());
    EXPECT_EQ(items().size(), 20);  // "z" refilled it before the box was emptied
    EXPECT_GE(list()->height(), 260);
    EXPECT_TRUE(list()->isVisible());
    // And when hidden, emptying keeps it hidden.
    list()->hide();
    type("x");
    list()->hide();
    QTest::keyClick(city(), Qt::Key_Backspace);
    EXPECT_FALSE(list()->isVisible());
}

TEST_F(CityTest, PickingWritesTheNameAndHidesTheList) {
    type("bj");
    ASSERT_EQ(items().size(), 10);
    const QRect second = list()->visualItemRect(list()->item(1));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(city()->text(), "白涧");
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(items(), QStringList{"白涧"});
    EXPECT_EQ(list()->height(), 30);

    type("bei");
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(0)).center());
    EXPECT_EQ(city()->text(), "北京");
    EXPECT_EQ(items(), QStringList{"北京"});
    EXPECT_FALSE(list()->isVisible());
}

TEST_F(CityTest, ThePickedNameQueriesItsSegments) {
    type("bj");
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      list()->visualItemRect(list()->item(0)).center());
    click("按钮1查询");
    EXPECT_GT(caption("标签号段数").toInt(), 10000);
    EXPECT_TRUE(services.messages.isEmpty());
}

// With the table the program carries: a city that only the appended records name is found
// by its pinyin, and picking it queries its segments.
class FullTableCityTest : public CityTest {
  protected:
    void SetUp() override { WindowTest::SetUp(); }
};

TEST_F(FullTableCityTest, CitiesOfTheStoreAreFoundByTheirPinyin) {
    const std::pair<QString, QString> cases[] = {
        {"lishui", "丽水"},
        {"qingyuan", "清远"},
        {"meishan", "眉山"},
        {"heyuan", "河源"},
        {"qinzhou", "钦州"},
        {"eerduosi", "鄂尔多斯"},
        {"xishuangbanna", "西双版纳"},
        {"lianyungang", "连云港"},
    };
    for (const auto& [typed, name] : cases) {
        type(typed);
        ASSERT_TRUE(items().contains(name)) << typed.toStdString();
        const int row = static_cast<int>(items().indexOf(name));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
        EXPECT_EQ(city()->text(), name);
        click("按钮1查询");
        EXPECT_GT(caption("标签号段数").toInt(), 100) << typed.toStdString();
    }
    type("zz");
    EXPECT_EQ(items(), (QStringList{"郑州", "枣庄", "资中", "株洲", "漳州"}));
}

// A suggested name that leads to no segment is greyed with the reason, exactly when picking
// and querying it shows no segment; the list keeps its names and their order.
TEST_F(FullTableCityTest, NamesThatLeadNowhereAreGreyedAndStillPickable) {
    int greyed = 0;
    int names = 0;
    for (const QString typed : {"b", "sh", "han"}) {
        type(typed);
        const QStringList shown = items();
        const QColor normal = list()->palette().color(QPalette::Active, QPalette::Text);
        names += static_cast<int>(shown.size());
        for (int row = 0; row < shown.size(); ++row) {
            type(typed);
            const QListWidgetItem* item = list()->item(row);
            const bool grey = item->foreground().color() != normal;
            greyed += grey;
            EXPECT_EQ(item->toolTip().isEmpty(), !grey);
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                              list()->visualItemRect(item).center());
            EXPECT_EQ(city()->text(), shown[row]);  // picking still writes the name
            services.messages.clear();
            click("按钮1查询");
            EXPECT_EQ(caption("标签号段数") == "0", grey) << shown[row].toStdString();
            // A greyed name's query says why it finds nothing.
            EXPECT_EQ(services.messages.size(), grey ? 1 : 0) << shown[row].toStdString();
        }
    }
    EXPECT_GT(greyed, 0);
    EXPECT_LT(greyed, names);
}

// Pinyin typed without a pick, or a place inside a city, queries that city, and the city
// box then shows the city queried.
TEST_F(FullTableCityTest, TheCityBoxShowsTheCityQueried) {
    const std::pair<QString, QString> cases[] = {{"shenzhen", "深圳"},
                                                 {"bj", "北京"},
                                                 {"汉口", "武汉"},
                                                 {"白山市", "白山"},
                                                 {"鞍山", "鞍山"}};
    for (const auto& [typed, shown] : cases) {
        type(typed);
        click("按钮1查询");
        EXPECT_EQ(city()->text(), shown);
        EXPECT_GT(caption("标签号段数").toInt(), 100) << typed.toStdString();
        if (typed != shown) {
            EXPECT_FALSE(list()->isVisible());  // the new name suggests nothing further
        }
    }
    EXPECT_TRUE(services.messages.isEmpty());
}

// Enter in the city box queries when the suggestion list is closed, and leaves the open
// list to the user.
TEST_F(FullTableCityTest, EnterInTheCityBoxQueriesWhenTheListIsClosed) {
    type("bj");
    ASSERT_TRUE(list()->isVisible());
    QTest::keyClick(city(), Qt::Key_Return);
    EXPECT_EQ(caption("标签号段数"), "0");
    QTest::keyClick(city(), Qt::Key_Escape);  // closes the list
    ASSERT_FALSE(list()->isVisible());
    QTest::keyClick(city(), Qt::Key_Return);
    EXPECT_EQ(city()->text(), "北京");
    EXPECT_GT(caption("标签号段数").toInt(), 10000);
}

}  // namespace
}  // namespace haoma::test
