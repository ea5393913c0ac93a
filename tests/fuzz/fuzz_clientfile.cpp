// The client file DATA401.TOV as the program reads it: the loader, then what the screens and a
// scoring pass do with every loaded record. (The report's pages are left out: writing one costs
// a hundred times the rest.)

#include "fuzz/FuzzSupport.h"

#include "intake/CourtRules.h"
#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "records/ClientTable.h"
#include "records/DateText.h"
#include "records/Demographics.h"
#include "records/NumericValue.h"
#include "scoring/Classification.h"
#include "scoring/ReportRecord.h"
#include "scoring/ScaleScorer.h"
#include "scoring/ScoringTables.h"

#include <QHash>

using namespace tov;
using records::Field;

namespace {

// The data volume in memory: the one file the loader reads.
class MemoryFileSystem final : public platform::FileSystem {
public:
    QHash<QString, QByteArray> files;

    bool exists(const QString& path) override { return files.contains(path); }
    qint64 size(const QString& path) override { return files.value(path).size(); }
    void probeRead(const QString& path) override {
        if (!files.contains(path)) {
            throw AppError(err::FileNotFound, path);
        }
    }
    QByteArray readOrCreate(const QString& path) override { return files[path]; }
    void writeAt(const QString& path, qint64 offset, const QByteArray& bytes) override {
        QByteArray& f = files[path];
        if (f.size() < offset + bytes.size()) {
            f.resize(offset + bytes.size(), ' ');
        }
        f.replace(offset, bytes.size(), bytes);
    }
    void writeNew(const QString& path, const QByteArray& bytes) override { files[path] = bytes; }
    void remove(const QString& path) override { files.remove(path); }
};

// The shipped scoring tables, read once.
const scoring::ScoringTables& tables() {
    static const scoring::ScoringTables t =
        scoring::LoadScoringTables(QStringLiteral(TOV_SOURCE_DIR "/tests/core/scoring/data"));
    return t;
}

// What the intake screens compute from a loaded record.
void screensRead(const records::ClientRecord& r) {
    for (const records::FieldLayout& l : records::kLayout) {
        (void)r.trimmed(l.field);
    }
    (void)records::codeText(records::genderList(), r.trimmed(Field::Gender));
    (void)records::codeText(records::raceList(), r.trimmed(Field::Race));
    (void)records::codeText(records::maritalList(), r.trimmed(Field::Marital));
    (void)records::codeText(records::educationList(), r.trimmed(Field::Education));
    (void)records::IsMonthDayYear(r.trimmed(Field::DOB));
    (void)records::RecogniseDate(r.trimmed(Field::TestDate));
    (void)static_cast<int>(records::NumericValue(r.get(Field::NameDeleted)));
    (void)static_cast<int>(records::NumericValue(r.get(Field::EditCount)));
    (void)records::NumericValue(r.trimmed(Field::Age));
    for (Field f : {Field::PriorDUI, Field::COSupervision, Field::Reckless, Field::SSSuspend,
                    Field::MViolations, Field::Accidents, Field::AlcoholArrests, Field::DrugArrests,
                    Field::StPriorDUI}) {
        (void)intake::ValidateCount(r.trimmed(f));
    }
    (void)intake::ValidateBAC(r.trimmed(Field::BAC));
    (void)intake::StoredBAC(r.trimmed(Field::StBAC));
    const QString arrest = r.trimmed(Field::DateOfPresentArrest);
    if (intake::ValidateArrestDate(arrest)) {
        (void)intake::ArrestMonthDayOk(intake::PadArrestDate(arrest));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryFileSystem fs;
    const QString folder = QStringLiteral("/volume");
    const QByteArray input = fuzz::bytesOf(data, size);
    fs.files.insert(records::ClientTable::filePathFor(folder), input);
    records::ClientTable table(fs);
    try {
        table.LoadClientFile(folder);
    } catch (const AppError&) {
        // Refused: the file must be exactly as it was.
        if (fs.files.value(records::ClientTable::filePathFor(folder)) != input) {
            abort();
        }
        return 0;
    }
    for (int n = 1; n <= table.ClientCount(); ++n) {
        const records::ClientRecord& record = table.Clients(n);
        screensRead(record);
        const scoring::ReportRecord client = scoring::ReportRecord::from(record);
        const scoring::ScoreResults scores = scoring::ScaleScorer(tables()).score(client);
        const scoring::Classification c = scoring::ClassifySubstanceUse(scores);
        (void)scoring::RiskClassification(c, scores);
    }
    // Writing a record back unchanged leaves the file as it was, apart from a short last record
    // padded to its full length.
    if (table.ClientCount() > 0) {
        table.PutClientRecord(1);
        const QByteArray after = fs.files.value(records::ClientTable::filePathFor(folder));
        const qsizetype expected = std::max<qsizetype>(input.size(), records::kRecordSize);
        if (after.size() != expected || after.left(input.size()) != input) {
            abort();
        }
    }
    return 0;
}
