// Whole answer sheets as clients fill them and offices print and scan them: the input's bytes
// choose the client's values and every condition of the generator (resolution, print scale,
// turn, offset, stretch, keystone, colour, grey or black and white, pencil, stray dots and
// strokes, erasures, doubled marks, a page cut off), the sheet is rendered, mostly at 100 dots
// per inch, prepared and read. Beyond crashes and the sanitizers' reports it checks what the
// reader owes the page (sheetgen/SheetTrial.h): a refusal with a reason or values inside their
// fields, the values as filled for a sheet within what the reader promises, and a refusal for
// one printed too small or too large or cut off. A broken promise aborts with what was read.

#include "fuzz/FuzzSupport.h"

#include "sheetgen/SheetTrial.h"

#include <QGuiApplication>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

using namespace tov;

namespace {

const QDate Today(2026, 12, 8);

class FuzzedChoices : public sheetgen::Choices {
public:
    explicit FuzzedChoices(FuzzedDataProvider& data) : data_(data) {}
    int number(int lo, int hi) override { return data_.ConsumeIntegralInRange(lo, hi); }

private:
    FuzzedDataProvider& data_;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The generator draws text; no display is needed for that.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider bytes(data, size);
    FuzzedChoices choices(bytes);
    const sheetgen::SheetTrial trial = sheetgen::DrawTrial(choices, Today);
    static sheetgen::SheetRenderer renderer;
    const scan::SheetReading reading = sheetgen::ReadTrial(renderer, trial, Today);
    const QString wrong = sheetgen::CheckReading(trial, reading, Today);
    if (!wrong.isEmpty()) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(sheetgen::DescribeTrial(trial, Today)),
                     qPrintable(wrong));
        std::abort();
    }
    return 0;
}
