#include "scan/ScanProcedure.h"

#include "app/BankScanItems.h"
#include "app/ProgramState.h"
#include "entry/frmNewEntry.h"
#include "intake/IntakeChain.h"
#include "platform/ConfidentialFile.h"
#include "platform/Platform.h"
#include "platform/ScanErrors.h"
#include "records/ClientRecord.h"
#include "scan/MarkReader.h"
#include "scan/PreparedPage.h"
#include "scan/ScanImage.h"
#include "scan/ScanItems.h"
#include "scan/frmScanInfo.h"
#include "ui/Geometry.h"
#include "ui/ScreenKit.h"

#include <QLineEdit>
#include <QWidget>

#include <memory>
#include <tuple>

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

// The scan images, removed when the procedure ends unless kept for diagnosis.
struct ImagesKept {
    QString programFolder;
    bool forDiagnosis;
    ~ImagesKept() {
        if (!forDiagnosis) {
            ScanProcedure::RemoveImages(programFolder);
        }
    }
};

} // namespace

ScanProcedure::ScanProcedure(const app::Context& context, QWidget* mainWindow)
    : ctx_(context), mainWindow_(mainWindow) {}

bool ScanProcedure::identify(QString& name, QString& licence) {
    {
        frmScanInfo info(ctx_, mainWindow_);
        info.exec();
        if (!info.ProceedToNext() || ctx_.state.ending()) {
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

void ScanProcedure::acquire(const std::function<bool(const QImage&)>& read) {
    try {
        ctx_.platform.scanner->AcquirePages(platform::ScanSettings{}, read);
    } catch (const AppError& e) {
        ui::ResetHourglass();
        const int n = e.number();
        ctx_.platform.boxes->show(
            QStringLiteral("Error '%1, ").arg(n) + platform::ErrorText(n) + QLatin1Char('.'),
            MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, QStringLiteral("Twain Error"));
    }
}

SheetReading ScanProcedure::readPage(const PreparedPage& page, QDate today) {
    // The reader's trace messages are for diagnosis only; an operator would face
    // a hundred boxes for each sheet.
    Trace trace;
    if (ctx_.state.settings().scanTrace()) {
        trace = [boxes = ctx_.platform.boxes.get()](const QString& text) {
            boxes->show(text, MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, QString());
        };
    }
    try {
        // The bank is open only while a page is read, and closed again before the
        // review screens open it for themselves. The base points written back go
        // to the file in one transaction; they are for diagnosis, so a reading
        // stands without them.
        const auto bank = ctx_.state.workspace().OpenDatabase(ctx_.state.QuestionBankPath());
        app::RecordSet table = bank->OpenTable(QStringLiteral("ScanItem"));
        bank->BeginTrans();
        app::RecordSetScanItems items(table);
        SheetReading reading = ReadAnswerSheet(page, items, today, trace);
        table.Close();
        try {
            bank->CommitTrans();
        } catch (const AppError&) {
        }
        return reading;
    } catch (const AppError&) {
        // Without the table no field can be read; the boxes are still looked for,
        // so a sheet that is not there is reported as such, and the review shows
        // empty values.
        VectorScanItems none;
        return ReadAnswerSheet(page, none, today, trace);
    }
}

void ScanProcedure::keepImages(const QImage& raw, const QImage& prepared) {
    const QString folder = ctx_.state.programFolder() + QLatin1Char('/');
    // The pair always shows the last scan; a scan that brought no page leaves
    // none.
    for (const auto& [image, name] : {std::pair{raw, RawFile}, std::pair{prepared, ScanFile}}) {
        const QString path = folder + name;
        if (image.isNull() || !SaveEightBitBmp(image, path)) {
            platform::RemoveConfidentialFile(path);
        }
    }
}

void ScanProcedure::RemoveImages(const QString& programFolder) {
    for (const QString& name : {RawFile, ScanFile}) {
        platform::RemoveConfidentialFile(programFolder + QLatin1Char('/') + name);
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

    // Each page in turn until one holds a readable sheet; the images kept and the
    // reason given are those of that page, or of the first when none reads.
    const QDate today = ctx_.platform.clock->today();
    QImage raw;
    QImage prepared;
    SheetReading reading;
    bool first = true;
    acquire([&](const QImage& page) {
        const PreparedPage p = PreparePage(page);
        SheetReading r = readPage(p, today);
        const bool read = r.outcome == SheetOutcome::Read;
        if (first || read) {
            raw = AtPreparedSize(page, p);
            prepared = PrepareScan(p.marks);
            reading = std::move(r);
        }
        first = false;
        return read;
    });
    keepImages(raw, prepared);
    // The images show the client's answers: they go when the scan's work ends, saved, cancelled
    // or refused, and stay only while the reader is being diagnosed.
    const ImagesKept images{ctx_.state.programFolder(), ctx_.state.settings().scanTrace()};
    if (reading.outcome != SheetOutcome::Read) {
        scanError(RefusalText(reading));
        return;
    }
    ui::ResetHourglass();
    review(name, licence, reading.values, reading.doubtful);
}

void ScanProcedure::review(const QString& name, const QString& licence, const ScannedSheet& sheet,
                           const QStringList& doubtful) {
    app::ProgramState& state = ctx_.state;
    intake::ScannedIntake shown{.name = name,
                                .licence = licence,
                                .age = sheet.Age,
                                .gender = sheet.Gender,
                                .race = sheet.Race,
                                .marital = sheet.Marital,
                                .education = sheet.Education,
                                .ssn = sheet.SSN,
                                .court = {},
                                .doubtful = doubtful};
    for (std::size_t order = 0; order < kSheetCourt.size(); ++order) {
        shown.court[order] = sheet.*kSheetCourt[order].value;
    }
    if (!intake::RunIntakeChain(ctx_, intake::ClientMode::ScannedClient, mainWindow_, &shown)) {
        return;
    }
    // The record's answers field is 73 characters: a short reading is padded with
    // blanks, which the grid reports and turns into unanswered items.
    state.clients().current().set(
        records::Field::Responses,
        sheet.ScannedAnswers.leftJustified(records::kItemCount, QLatin1Char(' '), true));
    entry::frmNewEntry grid(ctx_, intake::ClientMode::ScannedClient, mainWindow_);
    QList<int> doubtfulItems;
    for (const QString& name : doubtful) {
        if (name.startsWith(QLatin1String("item"))) {
            doubtfulItems << name.mid(4).toInt();
        }
    }
    grid.setDoubtfulItems(doubtfulItems);
    grid.exec();
}

} // namespace tov::scan
