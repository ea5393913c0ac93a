#include "scan/ScanProcedure.h"

#include "app/ProgramState.h"
#include "entry/frmNewEntry.h"
#include "intake/CodeListBox.h"
#include "intake/frmClientInfo.h"
#include "intake/frmCourtHistory.h"
#include "platform/Platform.h"
#include "platform/ScanErrors.h"
#include "records/ClientRecord.h"
#include "scan/MarkReader.h"
#include "scan/ScanImage.h"
#include "scan/ScanItems.h"
#include "scan/frmScanInfo.h"
#include "ui/Geometry.h"

#include <QFile>
#include <QLineEdit>
#include <QWidget>

#include <memory>

namespace tov::scan {

using platform::MessageBoxes;

namespace {

const QString CR = QStringLiteral("\r");

// What the procedure holds while it runs, let go on every way out.
struct CleanUp {
    QWidget* mainWindow;
    ~CleanUp() {
        ui::ResetHourglass();
        if (mainWindow != nullptr) {
            mainWindow->setVisible(true);
        }
    }
};

void putCode(intake::CodeListBox* list, const QString& code) {
    bool ok = false;
    const int position = code.toInt(&ok);
    list->setCurrentIndex(ok && position >= 0 && position < list->count() ? position : -1);
    if (list->currentIndex() < 0) {
        list->setEditText(QString());
    }
}

} // namespace

ScanProcedure::ScanProcedure(const app::Context& context, QWidget* mainWindow)
    : ctx_(context), mainWindow_(mainWindow) {}

bool ScanProcedure::identify(QString& name, QString& licence) {
    app::ProgramState& state = ctx_.state;
    state.ProceedToNext = true;
    {
        frmScanInfo info(ctx_, mainWindow_);
        info.exec();
        if (!state.ProceedToNext || state.ending) {
            return false;
        }
        name = info.txtName->text();
        licence = info.txtDLNumber->text();
    }
    return ctx_.platform.boxes->show(QStringLiteral("Insert answer sheet for ") + name + CR +
                                         QStringLiteral("(face down, top first) into scanner."),
                                     MessageBoxes::Buttons::OkCancel, MessageBoxes::Icon::None,
                                     QStringLiteral("TOV Test Scan")) !=
           MessageBoxes::Answer::Cancel;
}

QImage ScanProcedure::acquire() {
    try {
        return ctx_.platform.scanner->Acquire(platform::ScanSettings{});
    } catch (const AppError& e) {
        ui::ResetHourglass();
        const int n = e.number();
        ctx_.platform.boxes->show(
            QStringLiteral("Error '%1, ").arg(n) + platform::ErrorText(n) + QLatin1Char('.'),
            MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, QStringLiteral("Twain Error"));
    }
    // No page: nothing of an earlier scan may be read in its place.
    return {};
}

void ScanProcedure::keepImages(const QImage& raw, const QImage& prepared) {
    const QString folder = ctx_.state.programFolder() + QLatin1Char('/');
    // The pair always shows the last scan; a scan that brought no page leaves
    // none.
    for (const auto& [image, name] : {std::pair{raw, RawFile}, std::pair{prepared, ScanFile}}) {
        const QString path = folder + name;
        if (image.isNull() || !SaveEightBitBmp(image, path)) {
            QFile::remove(path);
        }
    }
}

void ScanProcedure::scanError(const QString& what) {
    ui::ResetHourglass();
    ctx_.platform.boxes->show(what + CR + QStringLiteral("Aborting scan."),
                              MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Error,
                              QStringLiteral("Scan Error"));
}

void ScanProcedure::run() {
    QString name;
    QString licence;
    try {
        if (!identify(name, licence)) {
            return;
        }
        ui::SetHourglass();
    } catch (const std::exception& e) {
        ui::ResetHourglass();
        const auto* app = dynamic_cast<const AppError*>(&e);
        ctx_.platform.boxes->show(
            QStringLiteral("ScanProcedure %1").arg(app != nullptr ? app->number() : 0) + CR +
                (app != nullptr ? app->description() : QString::fromLocal8Bit(e.what())),
            MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, QString());
        return;
    }
    const CleanUp cleanUp{mainWindow_};

    const QImage raw = acquire();
    const QImage prepared = PrepareScan(raw);
    keepImages(raw, prepared);

    // The reader's trace messages are for diagnosis only; an operator would face
    // a hundred boxes for each sheet.
    Trace trace;
    if (ctx_.state.settings.scanTrace()) {
        trace = [boxes = ctx_.platform.boxes.get()](const QString& text) {
            boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, QString());
        };
    }
    const QDate today = ctx_.platform.clock->today();
    SheetReading reading;
    try {
        // The bank is closed again before the review screens open it for
        // themselves. The base points written back go to the file in one
        // transaction; they are for diagnosis, so a reading stands without them.
        const auto bank = ctx_.state.workspace.OpenDatabase(ctx_.state.QuestionBankPath);
        app::RecordSet table = bank->OpenTable(QStringLiteral("ScanItem"));
        bank->BeginTrans();
        RecordSetScanItems items(table);
        reading = ReadAnswerSheet(prepared, items, today, trace);
        table.Close();
        try {
            bank->CommitTrans();
        } catch (const AppError&) {
        }
    } catch (const AppError&) {
        // Without the table no field can be read; the boxes are still looked for,
        // so a sheet that is not there is reported as such, and the review shows
        // empty values.
        VectorScanItems none;
        reading = ReadAnswerSheet(prepared, none, today, trace);
    }
    if (reading.outcome == SheetOutcome::NoAnchorBox) {
        scanError(QStringLiteral("Anchor Box not found"));
        return;
    }
    if (reading.outcome == SheetOutcome::NoReferenceBox) {
        scanError(QStringLiteral("Reference Box not found"));
        return;
    }
    ui::ResetHourglass();
    review(name, licence, reading.values);
}

void ScanProcedure::review(const QString& name, const QString& licence, const ScannedSheet& sheet) {
    app::ProgramState& state = ctx_.state;
    state.EditMode = false;
    state.ProceedToNext = false;
    {
        intake::frmClientInfo info(ctx_, mainWindow_);
        info.ScanEditMode = true;
        info.txtName->setText(name);
        info.txtAge->setText(sheet.Age);
        putCode(info.cmbGender, sheet.Gender);
        putCode(info.cmbRace, sheet.Race);
        putCode(info.cmbMarital, sheet.Marital);
        putCode(info.cmbEducation, sheet.Education);
        info.txtSSN->setText(sheet.SSN);
        info.txtDLNumber->setText(licence);
        info.exec();
    }
    if (!state.ProceedToNext || state.ending) {
        return;
    }
    state.ProceedToNext = false;
    {
        using Court = intake::frmCourtHistory;
        Court court(ctx_, mainWindow_);
        court.ScanEditMode = true;
        const std::pair<int, QString> values[] = {
            {Court::PriorDUI, sheet.PriorDUI},
            {Court::COSupervision, sheet.COSupervision},
            {Court::Reckless, sheet.Reckless},
            {Court::SSSuspend, sheet.SSSuspend},
            {Court::MViolations, sheet.MViolations},
            {Court::Accidents, sheet.Accidents},
            {Court::AlcoholArrests, sheet.AlcoholArrests},
            {Court::DrugArrests, sheet.DrugArrests},
            {Court::DateOfPresentArrest, sheet.DateOfPresentArrest},
            {Court::BAC, sheet.BAC},
            {Court::StPriorDUI, sheet.StPriorDUI},
            {Court::StBAC, sheet.StBAC},
        };
        for (const auto& [order, value] : values) {
            court.field(order)->setText(value);
        }
        court.exec();
    }
    if (!state.ProceedToNext || state.ending) {
        return;
    }
    // The record's answers field is 73 characters: a short reading is padded with
    // blanks, which the grid reports and turns into unanswered items.
    state.clients.current().set(
        records::Field::Responses,
        sheet.ScannedAnswers.leftJustified(records::kItemCount, QLatin1Char(' '), true));
    entry::frmNewEntry grid(ctx_, mainWindow_);
    grid.ScanEditMode = true;
    grid.exec();
}

} // namespace tov::scan
