#include "hover_button.h"

namespace dorvel {

HoverButton::HoverButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setFlat(true);
    setStyleSheet(
        "QPushButton { border: 1px solid rgb(160, 160, 160); padding: 4px; }"
        "QPushButton:hover { background: rgb(255, 255, 192); border-color: rgb(123, 104, 238); }"
        "QPushButton:disabled { color: rgb(150, 150, 150); }");
}

}  // namespace dorvel
