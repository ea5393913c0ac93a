// Reading answer sheets: a page already prepared (both box searches, the placement, all 113
// fields), a 300 dpi colour scan from the decoded image to the read values, and the black and
// white page the procedure keeps as scan.bmp. Generated sheets.
#include "scan/MarkReader.h"
#include "scan/PreparedPage.h"
#include "scan/ScanImage.h"
#include "scan/SheetGeometry.h"
#include "sheetgen/FilledSheet.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace tov;

namespace {

const QDate Today(2026, 12, 8);

QImage scannedPage(int dpi) {
    QRandomGenerator random(3);
    const sheetgen::SheetValues values = sheetgen::RandomSheetValues(random, Today);
    sheetgen::RenderOptions options;
    options.angle = 1.3;
    options.offset = QPoint(4, -3);
    options.strayMark = true;
    options.printScale = 0.97;
    options.dpi = dpi;
    return sheetgen::RenderFilledSheet(values, options);
}

void read(benchmark::State& state, const scan::PreparedPage& page) {
    const std::vector<scan::ScanItemRow> rows = scan::AnswerSheetGeometry().ScanItemRows();
    scan::VectorScanItems items(rows);
    const scan::SheetReading reading = scan::ReadAnswerSheet(page, items, Today);
    benchmark::DoNotOptimize(reading.values.ScannedAnswers.size());
    if (reading.outcome != scan::SheetOutcome::Read) {
        state.SkipWithError("the sheet was not read");
    }
}

void BM_ReadPreparedSheet(benchmark::State& state) {
    const scan::PreparedPage prepared = scan::PreparePage(scannedPage(100));
    for (auto _ : state) {
        read(state, prepared);
    }
}
BENCHMARK(BM_ReadPreparedSheet)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_PrepareAndRead300DpiColour(benchmark::State& state) {
    const QImage scan = scannedPage(300);
    for (auto _ : state) {
        read(state, scan::PreparePage(scan));
    }
}
BENCHMARK(BM_PrepareAndRead300DpiColour)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_BlackAndWhitePage(benchmark::State& state) {
    const QImage raw = scannedPage(100);
    for (auto _ : state) {
        const QImage prepared = scan::PrepareScan(raw);
        benchmark::DoNotOptimize(prepared.constBits());
    }
}
BENCHMARK(BM_BlackAndWhitePage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    // The generator draws text.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
