#include "ui/StorableText.h"

#include "records/Cp1252.h"

#include <QLineEdit>
#include <QValidator>

#include <utility>

namespace tov::ui {

namespace {

class StorableValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*pos*/) const override {
        refused_ = records::FirstUnstorable(input);
        return refused_.isEmpty() ? Acceptable : Invalid;
    }
    // The character of the last refusal, taken once.
    QString takeRefused() { return std::exchange(refused_, QString()); }

private:
    mutable QString refused_;
};

// Letters with a stroke have no accent to take off; their plain letters by hand.
QString strokeless(QChar c) {
    static const QString stroked = QStringLiteral("ŁłĐđĦħŦŧı");
    static const QString plain = QStringLiteral("LlDdHhTti");
    const qsizetype at = stroked.indexOf(c);
    return at < 0 ? QString() : QString(plain[at]);
}

// The letter without its accents, when the client file can store that.
QString plainLetter(const QString& letter) {
    QString plain = letter.size() == 1 ? strokeless(letter.front()) : QString();
    if (plain.isEmpty()) {
        plain = letter.normalized(QString::NormalizationForm_D).left(1);
    }
    const bool usable = !plain.isEmpty() && plain != letter && plain.front().isLetter() &&
                        records::FirstUnstorable(plain).isEmpty();
    return usable ? plain : QString();
}

} // namespace

void KeepStorable(QLineEdit* field, std::function<void(const QString& letter)> tell) {
    auto* validator = new StorableValidator(field);
    field->setValidator(validator);
    QObject::connect(field, &QLineEdit::inputRejected, field,
                     [field, validator, tell = std::move(tell)] {
                         const QString letter = validator->takeRefused();
                         if (letter.isEmpty()) {
                             return; // more than the field holds: that has its own rule
                         }
                         // Queued: a message box now would take the focus in the middle of
                         // the field's own undoing of the change.
                         QMetaObject::invokeMethod(
                             field, [tell, letter] { tell(letter); }, Qt::QueuedConnection);
                     });
}

QString UnstorableText(const QString& letter) {
    const QList<uint> codes = letter.toUcs4();
    const bool isLetter = !codes.isEmpty() && QChar::isLetter(char32_t(codes.front()));
    const QString head =
        QStringLiteral("The %1 \"%2\" cannot be stored in the client file. ")
            .arg(isLetter ? QStringLiteral("letter") : QStringLiteral("character"), letter);
    const QString plain = isLetter ? plainLetter(letter) : QString();
    const QString instead = !plain.isEmpty() ? QStringLiteral("Type \"%1\" instead. ").arg(plain)
                            : isLetter       ? QStringLiteral("Use another letter. ")
                                             : QString();
    return head + instead + QStringLiteral("Press Enter to continue.");
}

} // namespace tov::ui
