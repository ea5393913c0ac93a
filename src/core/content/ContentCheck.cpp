#include "content/ContentCheck.h"

#include "app/Publisher.h"
#include "app/QuestionBank.h"
#include "content/ContentSet.h"
#include "platform/AppError.h"
#include "platform/ProfileFile.h"
#include "records/ItemCounts.h"
#include "reports/ScoreClient.h"
#include "scan/SheetGeometry.h"
#include "scoring/ScoringTables.h"
#include "testing/TestItem.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>

namespace tov::content {

namespace {

using records::Field;

const QString BankFile = QStringLiteral("TOV2SF.MDB");
const QString WorkgroupFile = QStringLiteral("zevltd.mda");
const QStringList Languages = {QStringLiteral("English"), QStringLiteral("Spanish")};

class Findings {
public:
    void pass(const QString& file, const QString& what) { lines_ << CheckLine{file, what, {}}; }
    void fail(const QString& file, const QString& what, const QString& why) {
        lines_ << CheckLine{file, what, why.isEmpty() ? QStringLiteral("failed") : why};
    }
    QList<CheckLine> lines() const { return lines_; }

private:
    QList<CheckLine> lines_;
};

// A wave file as the prompts need it: a RIFF file of WAVE data.
bool isWave(const QString& path) {
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray head = f.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

// The bank opened as the program opens it: through the engine, with the set's workgroup file.
class BankSession {
public:
    explicit BankSession(const QString& folder) {
        const QString ini = scratch_.filePath(QStringLiteral("tov2sf.ini"));
        platform::ProfileFile(ini).write(QStringLiteral("Options"), QStringLiteral("SystemDB"),
                                         folder + QLatin1Char('/') + WorkgroupFile);
        engine_.setIniPath(ini);
        workspace_ = app::Workspace::open(engine_, QStringLiteral("admin"), QString());
        bank_ = workspace_.OpenDatabase(folder + QLatin1Char('/') + BankFile);
    }
    app::Database& bank() { return *bank_; }

private:
    QTemporaryDir scratch_;
    app::DbEngine engine_;
    app::Workspace workspace_;
    std::unique_ptr<app::Database> bank_;
};

void checkLanguage(app::Database& bank, const QString& folder, const QString& language,
                   Findings& findings) {
    QList<testing::TestItem> items;
    app::RecordSet rows =
        bank.OpenRecordset(QStringLiteral("Select * from [") + language + QStringLiteral("]"));
    for (rows.MoveFirst(); !rows.atEOF(); rows.MoveNext()) {
        items << testing::TestItem::fromRow(rows);
    }
    QStringList wrong;
    if (items.size() != records::kItemCount) {
        wrong << QStringLiteral("%1 items, not %2").arg(items.size()).arg(records::kItemCount);
    }
    for (int i = 0; i < items.size() && i < records::kItemCount; ++i) {
        const testing::TestItem& item = items[i];
        const bool trueFalse = i < records::kTrueFalseItems;
        int answers = 0;
        while (answers < testing::kMaxAnswers && item.hasAnswer(answers) &&
               !item.answers.at(static_cast<std::size_t>(answers)).isEmpty()) {
            ++answers;
        }
        if (item.id != i + 1 || item.question.isEmpty() ||
            (trueFalse ? answers != 2 : answers < 2)) {
            wrong << QStringLiteral("row %1 is not item %1 with its statement and %2")
                         .arg(i + 1)
                         .arg(trueFalse ? QStringLiteral("two answers")
                                        : QStringLiteral("its answers"));
            break;
        }
    }
    if (wrong.isEmpty()) {
        findings.pass(BankFile, QStringLiteral("73 items in %1").arg(language));
    } else {
        findings.fail(BankFile, QStringLiteral("the %1 items").arg(language),
                      wrong.join(QStringLiteral("; ")));
    }

    // Every prompt the presentation plays: the three instructions, each statement and answer.
    const QString sounds = QStringLiteral("%1/%2/%3").arg(folder, SoundFolderName, language);
    QStringList prompts{QStringLiteral("Inst0.wav"), QStringLiteral("Inst1.wav"),
                        QStringLiteral("Inst2.wav")};
    for (const testing::TestItem& item : items) {
        prompts << item.questionAudio;
        for (int a = 0; a < testing::kMaxAnswers; ++a) {
            if (item.hasAnswer(a)) {
                prompts << item.choiceAudio.at(static_cast<std::size_t>(a));
            }
        }
    }
    prompts.removeDuplicates();
    QStringList missing;
    for (const QString& prompt : prompts) {
        if (prompt == QLatin1String(".wav") || !isWave(sounds + QLatin1Char('/') + prompt)) {
            missing << prompt;
        }
    }
    const QString where = QStringLiteral("%1/%2").arg(SoundFolderName, language);
    if (missing.isEmpty()) {
        findings.pass(where,
                      QStringLiteral("%1 spoken prompts in %2").arg(prompts.size()).arg(language));
    } else {
        findings.fail(where, QStringLiteral("the spoken prompts in %1").arg(language),
                      QStringLiteral("no wave file for %1")
                              .arg(missing.mid(0, 5).join(QStringLiteral(", "))) +
                          (missing.size() > 5
                               ? QStringLiteral(" and %1 more").arg(missing.size() - 5)
                               : QString()));
    }
}

// The sheet table must be the printed sheet's: a scan read with another table misreads every
// field.
void checkSheetTable(app::Database& bank, Findings& findings) {
    const std::vector<scan::ScanItemRow> expected = scan::AnswerSheetGeometry().ScanItemRows();
    app::RecordSet rows = bank.OpenTable(QStringLiteral("ScanItem"));
    std::size_t n = 0;
    QString wrong;
    const auto near = [](const QVariant& v, double want) {
        return std::abs(v.toDouble() - want) <= 1e-6 * std::max(1.0, std::abs(want));
    };
    for (rows.MoveFirst(); !rows.atEOF() && wrong.isEmpty(); rows.MoveNext(), ++n) {
        if (n >= expected.size()) {
            wrong = QStringLiteral("it has more rows than the sheet has fields");
            break;
        }
        const scan::ScanItemRow& e = expected[n];
        const bool same =
            rows.Fields(QStringLiteral("LocationName")).toString().trimmed() == e.LocationName &&
            near(rows.Fields(QStringLiteral("r")), e.r) &&
            near(rows.Fields(QStringLiteral("theta")), e.theta) &&
            near(rows.Fields(QStringLiteral("dx")), e.dx) &&
            near(rows.Fields(QStringLiteral("dy")), e.dy) &&
            rows.Fields(QStringLiteral("DimX")).toInt() == e.DimX &&
            rows.Fields(QStringLiteral("DimY")).toInt() == e.DimY;
        if (!same) {
            wrong =
                QStringLiteral("row %1 (%2) is not where the printed sheet has field %3")
                    .arg(n + 1)
                    .arg(rows.Fields(QStringLiteral("LocationName")).toString(), e.LocationName);
        }
    }
    if (wrong.isEmpty() && n != expected.size()) {
        wrong = QStringLiteral("%1 rows, the sheet has %2 fields").arg(n).arg(expected.size());
    }
    if (wrong.isEmpty()) {
        findings.pass(BankFile, QStringLiteral("the sheet table \"ScanItem\" matches the answer "
                                               "sheet"));
    } else {
        findings.fail(BankFile, QStringLiteral("the sheet table \"ScanItem\""), wrong);
    }
}

void checkBank(const QString& folder, Findings& findings) {
    std::unique_ptr<BankSession> session;
    try {
        session = std::make_unique<BankSession>(folder);
    } catch (const AppError& e) {
        findings.fail(BankFile, QStringLiteral("the question bank"), e.description());
        return;
    }
    const QStringList tables = session->bank().TableDefs();
    for (const QString& language : Languages) {
        if (!tables.contains(language)) {
            findings.fail(BankFile, QStringLiteral("the %1 items").arg(language),
                          QStringLiteral("the bank has no table \"%1\"").arg(language));
            continue;
        }
        try {
            checkLanguage(session->bank(), folder, language, findings);
        } catch (const AppError& e) {
            findings.fail(BankFile, QStringLiteral("the %1 items").arg(language), e.description());
        }
    }
    try {
        checkSheetTable(session->bank(), findings);
    } catch (const AppError& e) {
        findings.fail(BankFile, QStringLiteral("the sheet table \"ScanItem\""), e.description());
    }
}

// The file an error of the scorer or the report writer names ("TOVCAL.TXT: ..."), else the
// tables.
QString fileOf(const QString& description) {
    for (const QString& name : FixedContentFiles()) {
        if (description.contains(name, Qt::CaseInsensitive)) {
            return name;
        }
    }
    return QString::fromLatin1(scoring::kTablesFile);
}

void checkScoring(const QString& folder, Findings& findings) {
    try {
        (void)scoring::LoadScoringTables(folder);
        findings.pass(QStringLiteral("%1, %2").arg(QLatin1String(scoring::kTablesFile),
                                                   QLatin1String(scoring::kTextsFile)),
                      QStringLiteral("the scoring tables and report labels"));
    } catch (const AppError& e) {
        findings.fail(fileOf(e.description()), QStringLiteral("the scoring tables"),
                      e.description());
        return;
    }
    const QList<records::ClientRecord> battery = CheckBattery(scoring::LoadScoringTables(folder));
    const app::PublisherTexts publisher = app::PublisherTexts::of(app::Publisher::Quillmark);
    QSet<QString> risks;
    QSet<QString> failures;
    for (int i = 0; i < battery.size(); ++i) {
        try {
            const reports::ScoringPass pass =
                reports::RunScoring(folder, publisher, battery[i], i + 1, {true, true});
            risks.insert(pass.riskClassification.trimmed());
            if (pass.report.isEmpty()) {
                failures.insert(QStringLiteral("the report of client %1 is empty").arg(i + 1));
            }
        } catch (const AppError& e) {
            failures.insert(e.description());
        }
    }
    if (failures.isEmpty()) {
        QStringList reached = risks.values();
        reached.sort();
        findings.pass(QStringLiteral("the interpretation texts, INVAL.TXT"),
                      QStringLiteral("%1 made-up clients scored and reported with both extra "
                                     "pages (%2)")
                          .arg(battery.size())
                          .arg(reached.join(QStringLiteral(", "))));
        return;
    }
    for (const QString& failure : failures) {
        findings.fail(fileOf(failure), QStringLiteral("scoring and reporting the made-up clients"),
                      failure);
    }
}

records::ClientRecord madeUp(const QString& answers, const QStringList& court) {
    records::ClientRecord r;
    r.set(Field::Name, u"Battery, Client");
    r.set(Field::Age, u"35");
    r.set(Field::DOB, u"01/01/1991");
    r.set(Field::Gender, u"1");
    r.set(Field::Race, u"1");
    r.set(Field::Marital, u"1");
    r.set(Field::Education, u"3");
    r.set(Field::SSN, u"000-00-0000");
    r.set(Field::DLNumber, u"X000-0000-0000");
    r.set(Field::TestDate, u"12/01/2026");
    for (int i = 0; i < records::kCourtFieldCount && i < court.size(); ++i) {
        r.set(records::courtField(i), court[i]);
    }
    r.set(Field::Responses, answers);
    r.set(Field::EditCount, u"0");
    r.set(Field::NameDeleted, u"0");
    return r;
}

// The answer code of an item that earns the most (or the fewest) points on the tables.
QChar extremeAnswer(const scoring::ScoringTables& tables, int item, bool most) {
    const int codes = scoring::Sections::sectionOf(item) == 1 ? scoring::Sections::MaxCode1
                                                              : scoring::Sections::MaxCode2;
    int best = 1;
    for (int code = 2; code <= codes; ++code) {
        const int points = tables.pointsFor(item, code);
        const int bestPoints = tables.pointsFor(item, best);
        if (most ? points > bestPoints : points < bestPoints) {
            best = code;
        }
    }
    return QChar(u'0' + best);
}

// Patterns aimed at the scales: each scale's items, or all of them, answered for the most points
// at a share of them from none to all, the other items for the fewest. Together they walk every
// scale through its range, and so through the risk levels and classifications the tables give.
QStringList scalePatterns(const scoring::ScoringTables& tables) {
    QStringList patterns;
    for (int scale = 0; scale <= scoring::kScaleCount; ++scale) {
        for (int share = 0; share <= 4; ++share) {
            QString answers;
            for (int item = 1; item <= records::kItemCount; ++item) {
                const QList<int>& items =
                    tables.scaleItems.at(static_cast<std::size_t>(std::max(scale, 1)));
                const qsizetype at = items.indexOf(item);
                // Scale 0 stands for every scale at once.
                const bool aimed = scale == 0 ? item % 4 < share : at >= 0 && at % 4 < share;
                answers += extremeAnswer(tables, item, aimed);
            }
            patterns << answers;
        }
    }
    return patterns;
}

} // namespace

QList<records::ClientRecord> CheckBattery(const scoring::ScoringTables& tables) {
    // The court history at its limits (nothing known, none, the most the fields hold, refused)
    // and at each step of the risk levels: a prior DUI, a suspension, a BAC of .15 to .19.
    const QList<QStringList> courts = {
        {"N", "N", "N", "N", "N", "N", "N", "N", "N", "N", "N", "N"},
        {"0", "0", "0", "0", "0", "0", "0", "0", "01/01/2026", ".00", "0", ".00"},
        {"99", "99", "99", "99", "99", "99", "99", "99", "12/01/2026", ".99", "99", ".99"},
        {"1", "0", "0", "0", "5", "1", "1", "1", "06/15/2026", "R", "1", "R"},
        {"0", "0", "0", "1", "2", "0", "0", "0", "11/30/2025", ".12", "0", ".12"},
        {"0", "0", "0", "0", "1", "0", "0", "0", "03/01/2026", ".17", "0", ".17"},
    };
    const int tf = records::kTrueFalseItems;
    const int mc = records::kItemCount - tf;
    QStringList patterns;
    // Every item alike, each multiple-choice answer in turn.
    for (const QChar a : {u'1', u'2'}) {
        for (int choice = 1; choice <= 4; ++choice) {
            patterns << QString(tf, a) + QString(mc, QChar(u'0' + choice));
        }
    }
    // Nothing answered, and too few answered for the scales to be scored.
    patterns << QString(records::kItemCount, u'0');
    patterns << QString(tf - 10, u'1') + QString(10, u'0') + QString(mc, u'2');
    // Mixed patterns of every density of "True", the same each run.
    quint32 seed = 20261210;
    for (int percent = 0; percent <= 100; percent += 5) {
        QString answers;
        for (int i = 0; i < records::kItemCount; ++i) {
            seed = seed * 1664525U + 1013904223U;
            const int roll = static_cast<int>((seed >> 8) % 100);
            answers += i < tf ? QChar(roll < percent ? u'1' : u'2')
                              : QChar(u'1' + static_cast<char16_t>((seed >> 20) % 4));
        }
        patterns << answers;
    }
    patterns << scalePatterns(tables);
    QList<records::ClientRecord> battery;
    for (const QString& answers : patterns) {
        for (const QStringList& court : courts) {
            battery << madeUp(answers, court);
        }
    }
    return battery;
}

QList<CheckLine> CheckContent(const QString& folder) {
    Findings findings;
    bool complete = true;
    for (const QString& name : FixedContentFiles()) {
        if (!QFileInfo(folder + QLatin1Char('/') + name).isFile()) {
            findings.fail(name, QStringLiteral("the file"), QStringLiteral("missing"));
            complete = false;
        }
    }
    if (complete) {
        findings.pass(QStringLiteral("%1 files").arg(FixedContentFiles().size()),
                      QStringLiteral("every file of the set is there"));
    }
    if (QFileInfo(folder + QLatin1Char('/') + BankFile).isFile() &&
        QFileInfo(folder + QLatin1Char('/') + WorkgroupFile).isFile()) {
        checkBank(folder, findings);
    }
    checkScoring(folder, findings);
    return findings.lines();
}

} // namespace tov::content
