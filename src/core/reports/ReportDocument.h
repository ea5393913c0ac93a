#pragma once

#include "reports/ReportLine.h"

#include <QByteArray>
#include <QString>

namespace tov::reports {

// The bytes of report.prn as they are built: Windows-1252 text, every line ended by CR LF, a
// page started by a form feed on a line of its own.
class ReportDocument {
public:
    // A report of a few pages without growing the buffer.
    ReportDocument() { bytes_.reserve(qsizetype{32} * 1024); }
    void line(const ReportLine& l) { line(l.str()); }
    // One line; a "\n" inside it (a column the line had already passed) ends a line there.
    void line(const QString& text = QString());
    void formFeed();

    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

} // namespace tov::reports
