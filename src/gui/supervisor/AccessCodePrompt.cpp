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

// Keeps the count of wrong codes in the settings as well, for the next run. A settings file that
// cannot be written leaves the count in this run only; the prompt goes on either way.
void countWrongCodes(const app::Context& ctx, int count) {
    ctx.state.setWrongAccessCodes(count);
    try {
        ctx.state.settings().setWrongAccessCodes(count);
    } catch (const AppError&) {
    }
}

// The new code typed twice, or why there is none: cancelled, or refused (the operator has been
// told why, ending with `notStored`).
struct NewCode {
    std::optional<QString> code;
    bool cancelled = false;
};

NewCode askNewCode(const app::Context& ctx, QWidget* parent, const QString& title,
                   const QString& help, const QString& notStored) {
    const auto refuse = [&ctx, &title](const QString& text) {
        ctx.platform.boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error, title);
        return NewCode{};
    };
    const std::optional<QString> first = ask(ctx, parent, title, help);
    if (!first) {
        return {.code = std::nullopt, .cancelled = true};
    }
    if (first->size() < MinAccessCodeLength) {
        return refuse(QStringLiteral("The new access code must be 6 to 8 characters long.  ") +
                      notStored);
    }
    const std::optional<QString> second =
        ask(ctx, parent, title,
            QStringLiteral("Enter the new access code once more, to be sure of it."));
    if (!second) {
        return {.code = std::nullopt, .cancelled = true};
    }
    if (second->toUpper() != first->toUpper()) {
        return refuse(QStringLiteral("The two entries of the new access code differ.  ") +
                      notStored);
    }
    return {.code = first, .cancelled = false};
}

void damaged(const app::Context& ctx) {
    // Where the agency must set its own code, a removed line brings the first start's question.
    const QString remedy =
        ctx.state.settings().accessCodeRequired()
            ? QStringLiteral("Remove that line, and the program asks for a new code at its next "
                             "start.")
            : QStringLiteral("Remove that line to go back to the code given with the program, "
                             "then set a new one.");
    ctx.platform.boxes->show(
        QStringLiteral("The access code kept in tov2sf.ini (the AccessCode line) is damaged, so "
                       "no code can be accepted. ") +
            remedy,
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
        switch (CheckAccessCode(*entry, state.settings().accessCode(),
                                state.settings().accessCodeRequired())) {
        case CodeCheck::Right:
            if (state.WrongAccessCodes() != 0) {
                countWrongCodes(ctx, 0);
            }
            return true;
        case CodeCheck::Damaged:
            damaged(ctx);
            return false;
        case CodeCheck::Wrong:
            countWrongCodes(ctx, state.WrongAccessCodes() + 1);
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
    const std::optional<QString> code =
        askNewCode(ctx, parent, QStringLiteral("New Access Code"),
                   QStringLiteral("Enter the new access code: 6 to 8 letters or digits."),
                   QStringLiteral("The access code has not been changed."))
            .code;
    if (!code) {
        return false;
    }
    try {
        ctx.state.settings().setAccessCode(StoredAccessCode(*code));
    } catch (const AppError& e) {
        ctx.platform.boxes->show(platform::ErrorText(e.number(), e.description()),
                                 MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                 QStringLiteral("Change Access Code"));
        return false;
    }
    ctx.platform.boxes->show(QStringLiteral("The access code has been changed."),
                             MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                             QStringLiteral("Change Access Code"));
    return true;
}

bool AccessCodeToBeSet(const app::Context& ctx) {
    const app::Settings& settings = ctx.state.settings();
    return settings.accessCodeRequired() && settings.accessCode().isEmpty();
}

bool SetFirstAccessCode(const app::Context& ctx, QWidget* parent) {
    const QString title = QStringLiteral("Set Access Code");
    for (;;) {
        const NewCode entered = askNewCode(
            ctx, parent, title,
            QStringLiteral("This program has no access code yet.  Enter the agency's own access "
                           "code: 6 to 8 letters or digits."),
            QStringLiteral("The access code has not been set."));
        if (entered.cancelled) {
            return false;
        }
        if (entered.code) {
            try {
                ctx.state.settings().setAccessCode(StoredAccessCode(*entered.code));
            } catch (const AppError& e) {
                ctx.platform.boxes->show(platform::ErrorText(e.number(), e.description()),
                                         MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                                         title);
                return false;
            }
            ctx.platform.boxes->show(QStringLiteral("The access code has been set."),
                                     MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Information,
                                     title);
            return true;
        }
        // A refused entry is asked for again.
    }
}

void ResumeAccessCodeWait(const app::Context& ctx) {
    const int wrong = ctx.state.settings().wrongAccessCodes();
    ctx.state.setWrongAccessCodes(wrong);
    ctx.state.setAccessCodeAllowedAt(ctx.platform.clock->elapsedMs() +
                                     1000LL * AccessCodeWait(wrong));
}

} // namespace tov::supervisor
