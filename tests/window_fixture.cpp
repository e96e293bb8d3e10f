// SPDX-License-Identifier: MIT
#include "window_fixture.h"

#include <QTest>

namespace haoma::test {

void WindowTest::click(const char* name) {
    QTest::mouseClick(find<QWidget>(name), Qt::LeftButton);
}

}  // namespace haoma::test
