#include "supervisor/AccessCodePrompt.h"

#include "app/ProgramState.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "supervisor/AccessCode.h"
#include "supervisor/frmMyInputBox.h"

#include <functional>
#include <optional>

namespace tov::supervisor {

using platform::MessageBoxes;

namespace {

// One prompt; the text entered, or nothing when cancelled. `waitSeconds` tells the box how long
// it must still refuse an entry.
std::optional<QString> ask(const app::Context& ctx, QWidget* parent, const QString& title,
                           const QString& help, std::function<int()> waitSeconds = {}) {
    frmMyInputBox input(*ctx.platform.boxes, parent);
    input.InputLength = MaxAccessCodeLength;
    input.HelpMessage = help;
    input.setWindowTitle(title);
    input.PasswordInput = true;
    input.WaitSeconds = std::move(waitSeconds);
    input.exec();
    if (input.Cancelled()) {
        return std::nullopt;
    }
    return input.InputValue;
}

void damaged(const app::Context& ctx) {
    ctx.platform.boxes->show(
        QStringLiteral("The access code kept in tov2sf.ini (the AccessCode line) is damaged, so "
                       "no code can be accepted. Remove that line to go back to the code given "
                       "with the program, then set a new one."),
        MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error, QStringLiteral("Access Code"));
}

} // namespace

bool PromptForAccessCode(const app::Context& ctx, QWidget* parent) {
    app::ProgramState& state = ctx.state;
    platform::Clock& clock = *ctx.platform.clock;
    const auto waitSeconds = [&state, &clock] {
        const qint64 left = state.AccessCodeAllowedAt() - clock.elapsedMs();
        return left <= 0 ? 0 : int((left + 999) / 1000);
    };
    for (;;) {
        const std::optional<QString> entry =
            ask(ctx, parent, QStringLiteral("Enter Secret Code"),
                QStringLiteral("Enter the secret code to continue.  For security, asterisks (*) "
                               "will show as you type."),
                waitSeconds);
        if (!entry) {
            return false;
        }
        switch (CheckAccessCode(*entry, state.settings().accessCode())) {
        case CodeCheck::Right:
            state.setWrongAccessCodes(0);
            return true;
        case CodeCheck::Damaged:
            damaged(ctx);
            return false;
        case CodeCheck::Wrong:
            state.setWrongAccessCodes(state.WrongAccessCodes() + 1);
            state.setAccessCodeAllowedAt(clock.elapsedMs() +
                                         1000LL * AccessCodeWait(state.WrongAccessCodes()));
            ctx.platform.boxes->show(QStringLiteral("Incorrect password.  Please try again."),
                                     MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                     QStringLiteral("Incorrect Password"));
            break;
        }
    }
}

bool ChangeAccessCode(const app::Context& ctx, QWidget* parent) {
    if (!PromptForAccessCode(ctx, parent)) {
        return false;
    }
    const auto refuse = [&ctx](const QString& text) {
        ctx.platform.boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                 QStringLiteral("Change Access Code"));
        return false;
    };
    const std::optional<QString> first =
        ask(ctx, parent, QStringLiteral("New Access Code"),
            QStringLiteral("Enter the new access code: 6 to 8 letters or digits."));
    if (!first) {
        return false;
    }
    if (first->size() < MinAccessCodeLength) {
        return refuse(QStringLiteral("The new access code must be 6 to 8 characters long.  The "
                                     "access code has not been changed."));
    }
    const std::optional<QString> second =
        ask(ctx, parent, QStringLiteral("New Access Code"),
            QStringLiteral("Enter the new access code once more, to be sure of it."));
    if (!second) {
        return false;
    }
    if (second->toUpper() != first->toUpper()) {
        return refuse(QStringLiteral("The two entries of the new access code differ.  The access "
                                     "code has not been changed."));
    }
    try {
        ctx.state.settings().setAccessCode(StoredAccessCode(*first));
    } catch (const AppError& e) {
        return refuse(platform::ErrorText(e.number(), e.description()));
    }
    ctx.platform.boxes->show(QStringLiteral("The access code has been changed."),
                             MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                             QStringLiteral("Change Access Code"));
    return true;
}

} // namespace tov::supervisor
