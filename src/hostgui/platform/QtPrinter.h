#pragma once

#include "platform/Printer.h"

class QPainter;
class QPrinter;

namespace tov::platform {

// Prints through Qt Print Support on the default printer (CUPS on Linux).
class QtPrinter final : public Printer {
public:
    void print(const PrintJob& job) override;
    void printToPdf(const PrintJob& job, const QString& path) override;

    static QString noPrinterText();

private:
    static void paint(QPrinter& printer, const PrintJob& job);
    static void paintMarginNote(QPainter& painter, QPrinter& printer, const QString& note);
};

} // namespace tov::platform
