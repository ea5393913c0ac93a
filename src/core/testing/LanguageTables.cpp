#include "testing/LanguageTables.h"

#include "platform/MessageBoxes.h"
#include "testing/TestItem.h"

namespace tov::testing {

namespace {
const QString CR = QStringLiteral("\r");
QString nothingStored() {
    return CR + CR +
           QStringLiteral("Nothing has been stored for this client. Press Enter to continue.");
}
} // namespace

QStringList PresentationLanguages(const QStringList& tableDefs) {
    QStringList languages;
    for (const QString& name : tableDefs) {
        if (name == QLatin1String("English") || name == QLatin1String("Spanish")) {
            languages << name;
        }
    }
    return languages;
}

QString refusalTitle() {
    return QStringLiteral("Question Bank Error");
}

QString noLanguageText() {
    return QStringLiteral("The question bank holds no English or Spanish test, so the test cannot "
                          "be given on screen.") +
           nothingStored();
}

QString shortTableText(const QString& language, int rows) {
    return QStringLiteral("The %1 test in the question bank has %2 of its %3 items, so it cannot "
                          "be given.")
               .arg(language)
               .arg(rows)
               .arg(kItems) +
           nothingStored();
}

QString unreadableTableText(const QString& language, int errorNumber, const QString& description) {
    return QStringLiteral("The %1 test in the question bank could not be read.").arg(language) +
           CR + platform::ErrorText(errorNumber, description) + nothingStored();
}

QString bankUnreadableText(int errorNumber, const QString& description) {
    return QStringLiteral("The question bank could not be opened, so the test cannot be given on "
                          "screen.") +
           CR + platform::ErrorText(errorNumber, description) + nothingStored();
}

} // namespace tov::testing
