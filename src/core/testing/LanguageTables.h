#pragma once

#include <QString>
#include <QStringList>

namespace tov::testing {

// The languages the question bank can present: its tables named exactly "English" or
// "Spanish", letter case included, in the bank's own order.
QStringList PresentationLanguages(const QStringList& tableDefs);

// Why a test cannot be given, told to the operator before the client starts; nothing has been
// stored for the client at that point.
QString noLanguageText();
QString shortTableText(const QString& language, int rows);
QString unreadableTableText(const QString& language, int errorNumber, const QString& description);
QString bankUnreadableText(int errorNumber, const QString& description);
// The title of those messages.
QString refusalTitle();

} // namespace tov::testing
