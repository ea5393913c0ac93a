#pragma once

#include "app/Context.h"
#include "ui/ModalScreen.h"

#include <functional>

class QLabel;

namespace tov::testing {

// The screens of the answer-sheet paths, which come with their own subsystems. A path whose
// screen is not set cannot be chosen.
struct EntryMethods {
    // The answer grid, after the client information and court history were accepted.
    std::function<void()> AnswerGrid;
    // The whole scan procedure, which runs its own chain of screens.
    std::function<void()> ScanProcedure;
};

// How a new client's answers will reach the program; runs the chain of screens of the method
// chosen and closes.
class frmSelectEntryMethod : public ui::ModalScreen {
    Q_OBJECT
public:
    enum Choice { ChoiceOnScreen = 0, ChoicePaper = 1, ChoiceScan = 2, ChoiceCancel = 3 };

    frmSelectEntryMethod(const app::Context& context, EntryMethods methods,
                         QWidget* parent = nullptr);

    QFrame* frBlank() const { return frBlank_; }

    void cmdMenuChoice_Click(int index);

protected:
    void Activate() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Outcome { Done, BackToMethods };
    void checkScanner();
    Outcome AdministerTest();
    void EnterFromAnswerSheet();
    Outcome refuse(const QString& text);
    void placeBlank();

    app::Context ctx_;
    EntryMethods methods_;
    QFrame* frBlank_ = nullptr;
    QLabel* lblClientName_ = nullptr;
};

} // namespace tov::testing
