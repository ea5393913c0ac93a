#pragma once

#include "scan/MarkReader.h"

#include <QDate>
#include <QImage>
#include <QPoint>
#include <QRandomGenerator>
#include <QString>

#include <array>
#include <vector>

namespace tov::sheetgen {

// What a client filled in on the answer sheet. Digit texts hold one character per column: a
// digit fills that bubble, any other character leaves the column empty.
struct SheetValues {
    QString ssn = QStringLiteral("         "); // 9 columns
    QDate dateOfBirth;                         // null: the six columns left empty
    bool bacZero = false;                      // the "zero" bubble of the BAC
    QString bac = QStringLiteral("  ");        // the two digits after the point
    QDate arrestDate;
    int gender = 0, race = 0, education = 0, marital = 0;      // list positions, 0 = row left empty
    std::array<int, 8> counts{-1, -1, -1, -1, -1, -1, -1, -1}; // 0..9, -1 = row left empty
    bool staffBacZero = false;
    QString staffBac = QStringLiteral("  ");
    int staffPriorDUI = -1;
    QString answers = QString(73, QLatin1Char('0')); // codes, "0" = item left empty
};

struct RenderOptions {
    double angle = 0;         // degrees, positive = clockwise, about the top middle
    QPoint offset;            // where the paper lies on the scanner glass, pixels
    quint32 seed = 1;         // mark sizes and shades, noise
    int speckles = 400;       // dark dust pixels over the page
    bool strayMark = false;   // a light pencil stroke somewhere
    int lightestPencil = 110; // grey of the faintest mark (0 black .. 255 white)
    int darkestPencil = 30;
};

// The bubble filled in each field of the sheet, in reading order; -1 = none.
std::vector<int> MarkedBubbles(const SheetValues& values);

// The page as a scanner delivers it (RGB, 850 x 1400): the printed sheet in drop-out ink with
// black boxes, pencil marks of varying shade and size, turned and moved as the options say,
// with dust and optionally a stray light mark. Needs a QGuiApplication (text).
QImage RenderFilledSheet(const SheetValues& values, const RenderOptions& options);

// What reading the sheet should give, derived from the values alone (dates with their full
// years, so the century chosen by the reader is checked too).
scan::ScannedSheet ExpectedReading(const SheetValues& values, QDate today);

// A client with every field filled at random (dates between 1930 and today's year for a birth,
// the last ten years for an arrest); some fields are left empty now and then.
SheetValues RandomSheetValues(QRandomGenerator& random, QDate today);

} // namespace tov::sheetgen
