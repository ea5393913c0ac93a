#pragma once

#include "scan/MarkReader.h"
#include "sheetgen/Choices.h"

#include <QDate>
#include <QImage>
#include <QPoint>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTransform>

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

// How the sheet was printed, filled and scanned. Lengths are sheet pixels (1/100 inch).
struct RenderOptions {
    enum class Pivot { TopMiddle, Centre };
    enum class Output { Colour, Grey, BlackAndWhite };
    enum class Stated { Resolution, Nothing, Wrong };

    // Printing.
    double printScale = 1.0; // "fit to page" prints the sheet smaller, about the paper's centre
    bool heavyPrint = false; // lines printed heavier and darker
    QImage paper; // a printed sheet (a legal page, any resolution) to fill in instead of drawing
                  // one; printScale must then be the scale it was printed at
    // Filling in.
    int lightestPencil = 110; // grey of the faintest mark (0 black .. 255 white)
    int darkestPencil = 30;
    bool strayMark = false; // a light pencil stroke somewhere
    int strayDots = 0;      // 1 mm pencil dots, each in an empty bubble
    int erasures = 0;       // marks rubbed out, each leaving a smudge in an empty bubble
    int doubled = 0;        // fields given a second mark nearly as dark as the first, after it
    // The paper and the scanner.
    double stretch = 1.0; // the paper drawn longer by a sheet feeder, from its top edge
    double angle = 0;     // degrees, positive = clockwise
    Pivot pivot = Pivot::TopMiddle;
    QPoint offset;       // where the paper lies on the scanner glass
    double keystone = 0; // the bottom edge this much wider than the top (a page not flat)
    bool tint = false;   // cream paper
    bool blur = false;
    quint32 seed = 1;   // mark sizes and shades, noise
    int speckles = 400; // dark dust pixels over the page
    int dpi = 100;
    Stated stated = Stated::Resolution; // what the page says its resolution is (Wrong: 72)
    Output output = Output::Colour;
    int blackLevel = 128; // black-and-white: greys below this are black ("darker" raises it)
    int jpegQuality = 0;  // > 0: the page passes through JPEG
    int keepHeight = 0;   // > 0: the scanner stopped after this many sheet pixels
};

// Sheet pixels to page pixels: printed, stretched, bent, laid on the glass and scanned as the
// options say (before the scanner cuts the page off).
QTransform SheetToPage(const RenderOptions& options);

// The bubble filled in each field of the sheet, in reading order; -1 = none.
std::vector<int> MarkedBubbles(const SheetValues& values);

// The page as a scanner delivers it (8.5 x 14 inches at the options' resolution): the printed
// sheet in drop-out ink with black boxes, pencil marks of varying shade and size, printed,
// laid, scanned and saved as the options say. Needs a QGuiApplication (text).
QImage RenderFilledSheet(const SheetValues& values, const RenderOptions& options);

// Renders filled sheets one after another: the fuzz target and the tests that read many. It
// keeps the page's memory from one sheet to the next, and unless told to draw the print anew
// (as RenderFilledSheet does) it draws the printed form once per print style and resolution and
// lays it on each page as an image, resampled where the page is turned or scaled.
class SheetRenderer {
public:
    enum class Print { Laid, Drawn };
    explicit SheetRenderer(Print print = Print::Laid) : print_(print) {}
    QImage render(const SheetValues& values, const RenderOptions& options);

private:
    struct Form {
        int times = 1; // of the sheet's 100 dots per inch
        bool heavy = false;
        QImage image;
    };
    const QImage& form(int times, bool heavy);

    Print print_;
    std::vector<Form> forms_;
    QImage canvas_;
};

// The fields (reading order) that get a second mark nearly as dark as the first: a reading that
// stays as filled, since the darker wins, but is doubtful.
std::vector<int> DoubledFields(const SheetValues& values, const RenderOptions& options);
// The names of the values a reader should call doubtful, in reading order.
QStringList ExpectedDoubts(const SheetValues& values, const RenderOptions& options);

// What reading the sheet should give, derived from the values alone (dates with their full
// years, so the century chosen by the reader is checked too).
scan::ScannedSheet ExpectedReading(const SheetValues& values, QDate today);

// A client with every field filled at random (dates between 1930 and today's year for a birth,
// the last ten years for an arrest); some fields are left empty now and then.
SheetValues RandomSheetValues(QRandomGenerator& random, QDate today);
// The same, each choice taken from `choose`.
SheetValues DrawSheetValues(Choices& choose, QDate today);

} // namespace tov::sheetgen
