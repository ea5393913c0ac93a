#pragma once

#include "ui/ScreenKit.h"

class QHBoxLayout;
class QWidget;

namespace tov::intake {

// The choices both intake screens end with: accept, cancel and the hidden check button.
inline QHBoxLayout* addIntakeChoiceRow(ui::ScreenKit* kit, QWidget* frame) {
    return kit->addMenuChoiceRow(
        frame,
        {{QStringLiteral("Information OK"),
          QStringLiteral("If information is correct press Enter or press Tab to change an "
                         "entry.")},
         {QStringLiteral("Cancel Input"),
          QStringLiteral("Cancel information input and return to Main Menu.")},
         {QStringLiteral("CHECK"), QString()}},
        2800);
}

} // namespace tov::intake
