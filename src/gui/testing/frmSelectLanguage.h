#pragma once

#include "app/Context.h"
#include "ui/ModalScreen.h"

namespace tov::testing {

// The choice of the language the test is presented in, among the language tables the question
// bank holds.
class frmSelectLanguage : public ui::ModalScreen {
    Q_OBJECT
public:
    static constexpr int LanguageButtons = 3;
    static constexpr int ChoiceCancel = 3;

    frmSelectLanguage(const app::Context& context, QWidget* parent = nullptr);

    // Opens the question bank and shows one button per language table found, captioned with the
    // table's name; returns how many. Throws AppError when the bank cannot be read.
    int LanguageCount();
    // The language chosen; empty when the choice was cancelled.
    const QString& Language() const { return language_; }

protected:
    void Activate() override;

private:
    void cmdMenuChoice_Click(int index);

    app::Context ctx_;
    QString language_;
};

} // namespace tov::testing
