#pragma once

#include <QString>

namespace tov::app {

// The publishers an installation may show.
enum class Publisher { Quillmark, Tessaran };

// The plain texts of a publisher: what the About box and the main menu show, and the lines the
// written report carries at the foot of its pages.
struct PublisherTexts {
    QString company;
    QString web;
    QString email;
    QString phone;
    // The report's publisher line (name and address) and the column it starts at.
    QString reportLine;
    int reportLineColumn;
    // The notice line under it, and the closing notice at the very foot of a page.
    QString notice;
    QString closingNotice;

    static PublisherTexts of(Publisher publisher) {
        if (publisher == Publisher::Tessaran) {
            return {
                QStringLiteral("Tessaran Behavioral Measures"),
                QStringLiteral("Web: www.tessaran-measures.example"),
                QStringLiteral("E-mail: orders@tessaran-measures.example"),
                QStringLiteral("Telephone: (800) 555-0178"),
                QStringLiteral("Tessaran Behavioral Measures, 81 Foundry Row, Rockford, IL 61101"),
                8,
                QStringLiteral(
                    "Report form (c) Tessaran Behavioral Measures. Not to be reproduced."),
                QStringLiteral("www.tessaran-measures.example")};
        }
        return {
            QStringLiteral("Quillmark Assessment Press"),
            QStringLiteral("Web: www.quillmark-press.example"),
            QStringLiteral("E-mail: support@quillmark-press.example"),
            QStringLiteral("Telephone: (800) 555-0142"),
            QStringLiteral("Quillmark Assessment Press, 2200 Ledger Avenue, Evanston, IL 60201"),
            9,
            QStringLiteral("Report form (c) Quillmark Assessment Press. Not to be reproduced."),
            QStringLiteral("www.quillmark-press.example")};
    }
};

} // namespace tov::app
