// Reading one prepared answer sheet (all 113 fields, both box searches) and preparing one page
// as scanned, on generated sheets.
#include "scan/MarkReader.h"
#include "scan/ScanImage.h"
#include "scan/SheetGeometry.h"
#include "sheetgen/FilledSheet.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

using namespace tov;

namespace {

const QDate Today(2026, 12, 8);

QImage rawPage() {
    QRandomGenerator random(3);
    const sheetgen::SheetValues values = sheetgen::RandomSheetValues(random, Today);
    sheetgen::RenderOptions options;
    options.angle = 1.3;
    options.offset = QPoint(4, -3);
    options.strayMark = true;
    return sheetgen::RenderFilledSheet(values, options);
}

void BM_ReadPreparedSheet(benchmark::State& state) {
    const QImage prepared = scan::PrepareScan(rawPage());
    const std::vector<scan::ScanItemRow> rows = scan::AnswerSheetGeometry().ScanItemRows();
    for (auto _ : state) {
        scan::VectorScanItems items(rows);
        const scan::SheetReading reading = scan::ReadAnswerSheet(prepared, items, Today);
        benchmark::DoNotOptimize(reading.values.ScannedAnswers.size());
        if (reading.outcome != scan::SheetOutcome::Read) {
            state.SkipWithError("the sheet was not read");
            break;
        }
    }
}
BENCHMARK(BM_ReadPreparedSheet)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_PrepareRawPage(benchmark::State& state) {
    const QImage raw = rawPage();
    for (auto _ : state) {
        const QImage prepared = scan::PrepareScan(raw);
        benchmark::DoNotOptimize(prepared.constBits());
    }
}
BENCHMARK(BM_PrepareRawPage)
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
