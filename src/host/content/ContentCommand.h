#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace tov::content {

// tov2sf-content: checks a candidate content set, installs the agency's set for the whole
// machine, tells which set is in force and whether its files are as installed, and goes back to
// the shipped demonstration set. Output goes to `out`, messages to `err`; run() returns the exit
// status.
class ContentCommand {
public:
    static constexpr int Done = 0;
    static constexpr int Refused = 1;
    static constexpr int BadUse = 2;

    int run(const QStringList& arguments);

    // The folder the command was installed in (its own); the shipped set and the setting of
    // where agency sets go are found there when it is an installed program folder.
    QString ownFolder;
    // Whether the command runs with the rights to write the machine's content folder.
    std::function<bool()> isRoot;

    QByteArray out;
    QByteArray err;
};

} // namespace tov::content
