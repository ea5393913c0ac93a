#pragma once

#include "app/Context.h"
#include "ui/ModalScreen.h"

class QLineEdit;

namespace tov::scan {

// The client's name and driver's licence number, typed before an answer sheet is scanned.
class frmScanInfo : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceOK = 0, ChoiceCancel = 1 };

    frmScanInfo(const app::Context& context, QWidget* parent = nullptr);

    QLineEdit* txtName = nullptr;
    QLineEdit* txtDLNumber = nullptr;

protected:
    void Activate() override;

private:
    void cmdMenuChoice_Click(int index);
    // False, with the operator told, when the field holds a letter the client file cannot store.
    bool storable(QLineEdit* field);
    bool required(QLineEdit* field, const QString& message);
    // Tells the operator, with a beep, and keeps the focus in the field: always false.
    bool refuse(QLineEdit* field, const QString& message);

    app::Context ctx_;
};

} // namespace tov::scan
