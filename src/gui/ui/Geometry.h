#pragma once

class QWidget;

namespace tov::ui {

// Screen sizes are given in twips, 1440 to the inch.
int twips(int t);
int toTwips(int pixels);

// Places a screen in the middle of the display.
void CenterForm(QWidget* screen);
// Centres a screen's main frame in its window, leaving 1000 twips below for the help line.
void centerFrame(QWidget* frame);

// The hourglass over the whole program for a long operation, shown at once.
void SetHourglass();
void ResetHourglass();

// The hourglass for as long as a scope lasts, whatever way it ends.
class Hourglass {
public:
    Hourglass() { SetHourglass(); }
    ~Hourglass() { ResetHourglass(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
    Hourglass(Hourglass&&) = delete;
    Hourglass& operator=(Hourglass&&) = delete;
};

// Selects the whole text of the focused control, where it has text.
void SelectActiveText();

} // namespace tov::ui
