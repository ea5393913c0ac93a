#pragma once

#include "app/Context.h"
#include "intake/ClientInfoRules.h"
#include "intake/ClientMode.h"
#include "ui/ModalScreen.h"

class QLineEdit;

namespace tov::intake {

class CodeListBox;
struct ScannedIntake;

// The client's identifying and demographic information, for a new client or an existing one.
// An existing client's information may be changed three times in its life, and not at all once
// the names were deleted.
class frmClientInfo : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceOK = 0, ChoiceCancel = 1 };

    frmClientInfo(const app::Context& context, ClientMode mode, QWidget* parent = nullptr);

    // Opened from the scan path: the fields are filled from the sheet before the screen shows.
    bool ScanEditMode() const { return mode_ == ClientMode::ScannedClient; }
    // Shows what was read from a scanned sheet, doubtful values marked.
    void showScanned(const ScannedIntake& scanned);

    void RecordToScreen();
    void RecordToDB();

    int EditsMade() const { return limit_.editsMade(); }
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
    void countEdit(QWidget* field);
    // The fields in the order of ClientField.
    QList<QWidget*> fields() const;
    ClientField fieldOf(QWidget* field) const;
    ClientInfo info() const;

    bool editing() const { return mode_ == ClientMode::EditClient; }

    app::Context ctx_;
    const ClientMode mode_;
    EditLimit limit_;
};

} // namespace tov::intake
