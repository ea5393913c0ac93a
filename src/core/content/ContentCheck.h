#pragma once

#include "records/ClientRecord.h"
#include "scoring/ScoringTables.h"

#include <QList>
#include <QString>

namespace tov::content {

// One finding of a check: what was checked, in which file, and why it failed (empty when it
// passed).
struct CheckLine {
    QString file;
    QString what;
    QString failure;

    bool passed() const { return failure.isEmpty(); }
};

// Checks a candidate set in `folder` with the program's own loaders before it is used: every
// file there; the question bank with its workgroup file, 73 items in English and in Spanish; a
// spoken prompt for every instruction, item and answer of both languages; a sheet table that
// matches the printed answer sheet; the scoring tables and report texts; then a battery of made-up
// clients scored and reported with every extra page. The folder is only read.
QList<CheckLine> CheckContent(const QString& folder);

// The made-up clients of the battery for a set's tables: every kind of answer pattern (all true,
// all false, none answered, too few answered, each multiple-choice answer, mixed patterns of
// every density, each scale walked through its range) and court values at their limits.
QList<records::ClientRecord> CheckBattery(const scoring::ScoringTables& tables);

} // namespace tov::content
