// tov2sf-content: checks and installs the content set the program scores with (the question
// bank, the scoring tables, the report texts and the spoken prompts).
#include "content/ContentCommand.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    tov::content::ContentCommand command;
    command.ownFolder = QCoreApplication::applicationDirPath();
    command.isRoot = [] { return ::geteuid() == 0; };
    const int status = command.run(QCoreApplication::arguments());
    std::fwrite(command.out.constData(), 1, command.out.size(), stdout);
    std::fwrite(command.err.constData(), 1, command.err.size(), stderr);
    return status;
}
