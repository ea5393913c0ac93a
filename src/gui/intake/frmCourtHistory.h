#pragma once

#include "app/Context.h"
#include "intake/ClientMode.h"
#include "records/ClientRecord.h"
#include "ui/ModalScreen.h"

#include <array>

class QLabel;
class QLineEdit;

namespace tov::intake {

struct ScannedIntake;

// The client's court history: eight counts, the date and BAC of the present arrest, and the two
// values only a staff member fills in.
class frmCourtHistory : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceOK = 0, ChoiceCancel = 1 };
    // The fields are the record's court fields (frmCourtHistory::BAC), in their order, which
    // is also their label index.
    using enum records::Field;
    static constexpr int FieldCount = records::kCourtFieldCount;

    frmCourtHistory(const app::Context& context, ClientMode mode, QWidget* parent = nullptr);

    // Fills the fields from the current client's record.
    void GetCourtData();
    // Stores the fields in the current client's record; when editing, writes it. False when the
    // record could not be written.
    bool SaveCourtData();

    QLineEdit* field(int order) const { return fields_.at(static_cast<std::size_t>(order)); }
    QLineEdit* field(records::Field f) const { return field(records::courtOrder(f)); }
    QLabel* lblClientName() const { return lblClientName_; }

    bool ScanEditMode() const { return mode_ == ClientMode::ScannedClient; }
    // Shows the court history read from a scanned sheet, doubtful values marked.
    void showScanned(const ScannedIntake& scanned);

protected:
    void Activate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void cmdMenuChoice_Click(int index);
    void acceptInformation();
    bool enterCount(QLineEdit* edit);
    bool enterBAC(QLineEdit* edit);
    bool enterDate();
    bool dateKey(const QKeyEvent* key);
    bool fail(const QString& text, const QString& title);

    bool editing() const { return mode_ == ClientMode::EditClient; }

    app::Context ctx_;
    const ClientMode mode_;
    std::array<QLineEdit*, FieldCount> fields_{};
    QLabel* lblClientName_ = nullptr;
};

} // namespace tov::intake
