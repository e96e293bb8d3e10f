// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace haoma::app {

// A label that reports the left button going down (banners) and a completed left click
// (hyperlink labels).
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    void leftPressed();
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace haoma::app
