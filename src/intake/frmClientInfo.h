#pragma once

#include "app/Context.h"
#include "ui/ModalScreen.h"

#include <QMap>

class QLineEdit;

namespace tov::intake {

class CodeListBox;

// The client's identifying and demographic information, for a new client or an existing one.
// An existing client's information may be changed three times in its life, and not at all once
// the names were deleted.
class frmClientInfo : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceOK = 0, ChoiceCancel = 1 };

    frmClientInfo(const app::Context& context, QWidget* parent = nullptr);

    // Opened from the scan path: the fields are filled from the sheet before the screen shows.
    bool ScanEditMode = false;

    void RecordToScreen();
    void RecordToDB();

    int EditsMade() const { return editsMade_; }
    bool isLocked() const;

    QLineEdit* txtName = nullptr;
    QLineEdit* txtAge = nullptr;
    QLineEdit* txtDob = nullptr;
    CodeListBox* cmbGender = nullptr;
    CodeListBox* cmbRace = nullptr;
    CodeListBox* cmbMarital = nullptr;
    CodeListBox* cmbEducation = nullptr;
    QLineEdit* txtSSN = nullptr;
    QLineEdit* txtDLNumber = nullptr;

protected:
    void Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdMenuChoice_Click(int index);
    void acceptInformation();
    bool validate(QWidget* field);
    bool fail(const QString& message);
    void lockScreen();
    QString currentValue(QWidget* field) const;
    void countEdit(QWidget* field);
    bool changedFromRecord() const;
    QList<QWidget*> fields() const;

    app::Context ctx_;
    int editsMade_ = 0;
    int nameDeletedFlag_ = 0;
    QString loadedEditCount_;
    QMap<QWidget*, QString> baseline_;
};

} // namespace tov::intake
