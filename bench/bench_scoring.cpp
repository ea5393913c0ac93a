// Scoring a client and writing its report.prn from the program folder's files, as the viewer
// and the print operations do: one client, and every client of a full data volume (51).
#include "app/Publisher.h"
#include "app/Settings.h"
#include "records/ClientRecord.h"
#include "reports/ScoreClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tov;

namespace {

// A program folder with the installed scoring files, so report.prn is written outside the build.
class ProgramFolder {
public:
    ProgramFolder() {
        const QDir installed(QStringLiteral(TOV_PROGRAM_DIR));
        for (const QString& name : installed.entryList({QStringLiteral("*.TXT")}, QDir::Files)) {
            QFile::copy(installed.filePath(name), dir_.filePath(name));
        }
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// Client n of a full volume: varied answers and court history.
records::ClientRecord client(int n) {
    using records::Field;
    records::ClientRecord r;
    r.set(Field::Name, QStringLiteral("Client %1, Bench").arg(n));
    r.set(Field::Age, QString::number(18 + n % 50));
    r.set(Field::DOB, QStringLiteral("01/02/1980"));
    r.set(Field::Gender, QString::number(1 + n % 2));
    r.set(Field::Race, QString::number(n % 10));
    r.set(Field::Marital, QString::number(n % 6));
    r.set(Field::Education, QString::number(n % 6));
    r.set(Field::SSN, QStringLiteral("000-00-0000"));
    r.set(Field::DLNumber, QStringLiteral("B000-0000-0000"));
    r.set(Field::TestDate, QStringLiteral("12/01/2026"));
    for (Field f :
         {Field::PriorDUI, Field::COSupervision, Field::Reckless, Field::SSSuspend,
          Field::MViolations, Field::Accidents, Field::AlcoholArrests, Field::DrugArrests}) {
        r.set(f, QString::number((n * 7 + static_cast<int>(f)) % 4));
    }
    r.set(Field::DateOfPresentArrest, QStringLiteral("11/01/2026"));
    r.set(Field::BAC, QStringLiteral(".%1").arg(5 + n % 25, 2, 10, QLatin1Char('0')));
    r.set(Field::StPriorDUI, QStringLiteral("N"));
    r.set(Field::StBAC, QStringLiteral("N"));
    QString answers;
    for (int item = 1; item <= 73; ++item) {
        const int max = item <= 67 ? 2 : 4;
        answers += QString::number(1 + (item * 31 + n * 17) % max);
    }
    r.set(Field::Responses, answers);
    return r;
}

void OneClient(benchmark::State& state) {
    const ProgramFolder folder;
    const records::ClientRecord record = client(7);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            reports::ScoreClient(folder.path(), folder.path(),
                                 app::PublisherTexts::of(app::Settings(folder.path()).publisher()),
                                 record, 7, {true, true}));
    }
}
BENCHMARK(OneClient)->Unit(benchmark::kMicrosecond);

void FullVolume(benchmark::State& state) {
    const ProgramFolder folder;
    std::vector<records::ClientRecord> volume;
    for (int n = 1; n <= 51; ++n) {
        volume.push_back(client(n));
    }
    for (auto _ : state) {
        for (int n = 1; n <= 51; ++n) {
            benchmark::DoNotOptimize(reports::ScoreClient(
                folder.path(), folder.path(),
                app::PublisherTexts::of(app::Settings(folder.path()).publisher()), volume[n - 1], n,
                {true, true}));
        }
    }
    // CPU time per client (the machine's other work does not count in it).
    state.counters["cpu_per_client"] = benchmark::Counter(
        51, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(FullVolume)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
