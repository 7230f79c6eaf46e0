#pragma once

#include <QPushButton>

namespace dorvel {

// A flat button that lights up while the mouse is over it.
class HoverButton : public QPushButton {
    Q_OBJECT
  public:
    HoverButton(const QString& text, QWidget* parent = nullptr);
};

}  // namespace dorvel
