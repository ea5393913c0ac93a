#pragma once

#include "records/Demographics.h"

#include <QComboBox>

#include <functional>

namespace tov::intake {

// An editable drop-down list of one of the record's code lists. Only the list's code digits and
// N may be typed; whatever the text becomes is mapped to a list position, and when nothing
// matches the list drops down for a choice with the arrow keys.
class CodeListBox : public QComboBox {
    Q_OBJECT
public:
    CodeListBox(records::CodeList list, std::function<void()> beep, QWidget* parent = nullptr);

    // The position the text stands for, -1 when it stands for none.
    int position() const { return records::ListPosition(list_, currentText()); }
    // Maps the text to its position once more, as when the list loses the focus.
    void mapText();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    records::CodeList list_;
    std::function<void()> beep_;
    bool mapping_ = false;
};

} // namespace tov::intake
