// The rows of a language table of the question bank, as the presentation walks them (the item
// shown, its answers and wave files, the answer codes stored) and as the answer grid sorts them
// into grids. The rows are built straight from the input: any columns, any types, any values.

#include "fuzz/FuzzSupport.h"

#include "app/QuestionBank.h"
#include "entry/AnswerFormats.h"
#include "platform/AppError.h"
#include "testing/LanguageTables.h"
#include "testing/PresentationTexts.h"
#include "testing/PromptPlayer.h"
#include "testing/TestItem.h"

#include <QSqlField>
#include <QSqlRecord>

#include <fuzzer/FuzzedDataProvider.h>

using namespace tov;

namespace {

const QStringList& columnNames() {
    static const QStringList names = {QStringLiteral("ID"),
                                      QStringLiteral("TestQuestion"),
                                      QStringLiteral("QuestionAudio"),
                                      QStringLiteral("ANSWER1"),
                                      QStringLiteral("ANSWER2"),
                                      QStringLiteral("Answer3"),
                                      QStringLiteral("answer4"),
                                      QStringLiteral("ANSWER5"),
                                      QStringLiteral("ChoiceAudio1"),
                                      QStringLiteral("ChoiceAudio2"),
                                      QStringLiteral("CHOICEAUDIO3"),
                                      QStringLiteral("ChoiceAudio4"),
                                      QStringLiteral("ChoiceAudio5"),
                                      QStringLiteral("Other")};
    return names;
}

QString text(FuzzedDataProvider& in) {
    const std::string s = in.ConsumeRandomLengthString(120);
    return in.ConsumeBool() ? QString::fromUtf8(s.data(), qsizetype(s.size()))
                            : QString::fromLatin1(s.data(), qsizetype(s.size()));
}

// A value of whichever type SQLite can hand back for a column.
QVariant value(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return {};
    case 1:
        return QVariant::fromValue(in.ConsumeIntegral<qint64>());
    case 2:
        return in.ConsumeFloatingPoint<double>();
    case 3: {
        const std::string s = in.ConsumeRandomLengthString(60);
        return QByteArray(s.data(), qsizetype(s.size()));
    }
    default:
        return text(in);
    }
}

std::vector<QSqlRecord> rowsOf(FuzzedDataProvider& in) {
    // The columns of the table, each present or not, in the order the input gives.
    QSqlRecord shape;
    const QStringList& names = columnNames();
    for (const QString& name : names) {
        if (in.ConsumeIntegralInRange(0, 7) != 0) {
            shape.append(QSqlField(name, QMetaType(QMetaType::QVariant)));
        }
    }
    std::vector<QSqlRecord> rows;
    const int count = in.ConsumeIntegralInRange(0, 90);
    for (int n = 0; n < count && in.remaining_bytes() > 0; ++n) {
        QSqlRecord row = shape;
        for (int i = 0; i < row.count(); ++i) {
            // Mostly the values a real table holds, so the walk goes deep.
            if (row.fieldName(i) == QLatin1String("ID") && in.ConsumeBool()) {
                row.setValue(i, n + 1);
            } else {
                row.setValue(i, value(in));
            }
        }
        rows.push_back(row);
    }
    return rows;
}

// What the presentation does with the rows: every item shown, answered with the choice the
// input names, with a step back now and then.
void present(app::RecordSet& questions, FuzzedDataProvider& in, const QString& language) {
    const testing::PresentationTexts texts(language);
    (void)texts.instructions(in.ConsumeIntegralInRange(-1, 3));
    if (questions.RecordCount() < testing::kItems) {
        (void)testing::shortTableText(language, questions.RecordCount());
        return;
    }
    const QString folder = testing::PromptPlayer::soundFolder(QStringLiteral("/snd"), language);
    testing::AnswerCodes codes{};
    int steps = 0;
    for (questions.MoveFirst(); !questions.atEOF() && steps < 400; ++steps) {
        const testing::TestItem item = testing::TestItem::fromRow(questions);
        (void)item.numberedQuestion();
        (void)(folder + item.questionAudio);
        const int choice = in.ConsumeIntegralInRange(-1, testing::kMaxAnswers);
        if (item.hasAnswer(choice)) {
            (void)(folder + item.choiceAudio.at(static_cast<std::size_t>(choice)));
            if (item.id >= 1 && item.id <= testing::kItems) {
                codes.at(static_cast<std::size_t>(item.id)) = choice + 1;
            }
        }
        (void)questions.Fields(QStringLiteral("ID")).toInt();
        if (in.ConsumeIntegralInRange(0, 9) == 0) {
            questions.MovePrevious();
            if (questions.atBOF()) {
                questions.MoveFirst();
            } else {
                questions.MovePrevious();
                if (questions.atBOF()) {
                    questions.MoveFirst();
                }
            }
        }
        questions.MoveNext();
    }
    const QString stored = testing::ResponseString(codes);
    if (stored.size() != testing::kItems) {
        abort();
    }
}

// What the answer grid does with the rows: one grid per answer format, a row per item.
void grid(app::RecordSet& questions) {
    QList<int> formats;
    QStringList labels;
    for (questions.MoveFirst(); !questions.atEOF(); questions.MoveNext()) {
        formats << entry::AnswerFormat(questions.Fields(QStringLiteral("Answer2")).toString());
        labels << questions.Fields(QStringLiteral("ID")).toString() + QLatin1Char('.');
    }
    for (qsizetype i = 0; i < formats.size(); ++i) {
        const entry::AnswerFormatInfo& info = entry::formatInfo(formats[i]);
        if (entry::headerTexts(formats[i]).size() != info.choices + 1) {
            abort();
        }
        const int item = entry::ItemOfLabel(labels[i]);
        if (item < 0 || item > testing::kItems) {
            abort();
        }
        (void)entry::TopRowFor(static_cast<int>(i) + 1, static_cast<int>(formats.size()) + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const QStringList tables = {text(in), text(in), QStringLiteral("English")};
    const QStringList languages = testing::PresentationLanguages(tables);
    app::RecordSet questions = app::RecordSet::fromRecords(rowsOf(in));
    try {
        present(questions, in, languages.value(in.ConsumeIntegralInRange(0, 2)));
        grid(questions);
    } catch (const AppError& e) {
        // The only refusal the rows may cause is a row that is not there.
        if (e.number() != err::DbNoCurrentRecord) {
            abort();
        }
    }
    return 0;
}
