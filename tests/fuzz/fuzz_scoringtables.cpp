// The scoring tables TOV2SFB.TXT and their companion TSF2RPT.TXT, read in their interleaved
// order; tables that load are then used to score a few fixed clients. The input holds both
// files, TOV2SFB.TXT first, separated by a line "=====".

#include "fuzz/FuzzSupport.h"

#include "platform/AppError.h"
#include "records/ClientRecord.h"
#include "scoring/Classification.h"
#include "scoring/ReportRecord.h"
#include "scoring/ScaleScorer.h"
#include "scoring/ScoringTables.h"
#include "scoring/TableReader.h"

using namespace tov;
using records::Field;

namespace {

// Clients whose answers and court history reach every branch the tables feed.
QList<scoring::ReportRecord> clients() {
    QList<scoring::ReportRecord> out;
    const QString answers[] = {
        QString(67, QLatin1Char('1')) + QStringLiteral("123412"),
        QString(67, QLatin1Char('2')) + QStringLiteral("432143"),
        QStringLiteral("0120120120120120120120120120120120120120120120120120120120120120120"
                       "901234"),
    };
    const char* const genders[] = {"1", "2", "9"};
    const char* const races[] = {"1", "4", "7"};
    for (int i = 0; i < 3; ++i) {
        records::ClientRecord r;
        r.set(Field::Name, u"Fuzz Client");
        r.set(Field::Age, i == 2 ? u"17" : u"45");
        r.set(Field::Gender, QString::fromLatin1(genders[i]));
        r.set(Field::Race, QString::fromLatin1(races[i]));
        r.set(Field::PriorDUI, i == 0 ? u"3" : u"N");
        r.set(Field::BAC, i == 1 ? u".25" : u"");
        r.set(Field::Accidents, u"2");
        r.set(Field::Responses, answers[i]);
        out << scoring::ReportRecord::from(r);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QList<scoring::ReportRecord> people = clients();
    const QList<QByteArray> parts = fuzz::splitParts(fuzz::bytesOf(data, size), 2);
    scoring::TableReader tables(QStringLiteral("TOV2SFB.TXT"), parts[0]);
    scoring::TableReader texts(QStringLiteral("TSF2RPT.TXT"), parts[1]);
    scoring::ScoringTables t;
    try {
        t = scoring::ReadScoringTables(tables, texts);
    } catch (const AppError& e) {
        // Every refusal names the file it comes from.
        if (!e.description().startsWith(QLatin1String("TOV2SFB.TXT: ")) &&
            !e.description().startsWith(QLatin1String("TSF2RPT.TXT: "))) {
            abort();
        }
        return 0;
    }
    for (const scoring::ReportRecord& client : people) {
        const scoring::ScoreResults r = scoring::ScaleScorer(t).score(client);
        const scoring::Classification c = scoring::ClassifySubstanceUse(r);
        (void)scoring::RiskClassification(c, r);
        (void)scoring::ClassificationParagraph(c, r);
        (void)scoring::FirstPageStatement(c);
    }
    for (int item = 1; item <= 73; ++item) {
        for (int code = -1; code <= 9; ++code) {
            (void)t.pointsFor(item, code);
        }
    }
    return 0;
}
