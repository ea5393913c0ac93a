#include "supervisor/DeleteNames.h"

#include "app/DataDrive.h"
#include "app/ProgramState.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "records/Cp1252.h"

namespace tov::supervisor {

using platform::MessageBoxes;
using records::Field;

QByteArray ShiftText(const QByteArray& text, int direction) {
    QByteArray out = text;
    for (char& c : out) {
        if (c == ' ') {
            continue;
        }
        const int code = static_cast<unsigned char>(c);
        int shifted = 0;
        if (direction == 0) {
            shifted = code + ((code % 2 == 0) ? 7 : 3);
        } else {
            shifted = code - ((code % 2 != 0) ? 7 : 3);
        }
        // Codes wrap round the code page: 256 is even, so the parity that decides the way back
        // survives the wrap and the shift still reverses exactly.
        c = static_cast<char>(static_cast<unsigned char>((shifted + 256) % 256));
    }
    return out;
}

QString ShiftText(const QString& text, int direction) {
    return records::fromCp1252(ShiftText(records::toCp1252(text), direction));
}

QString deleteNamesWarning() {
    return QStringList{
        QStringLiteral("You are about to delete the Client Name from"),
        QStringLiteral("all tests on this diskette. This should not be done"),
        QStringLiteral("until you have printed all reports and are finished"),
        QStringLiteral("with this diskette and ready to return it."),
        QStringLiteral("The SSN and DL will be automatically deleted as well."),
        QString(),
        QStringLiteral("Are you SURE you want to do this?"),
    }
        .join(QLatin1Char('\r'));
}

bool DeleteNames(const app::Context& context) {
    MessageBoxes& boxes = *context.platform.boxes;
    if (boxes.show(deleteNamesWarning(), MessageBoxes::Buttons::YesNo, MessageBoxes::Icon::Error,
                   QStringLiteral("WARNING!")) != MessageBoxes::Answer::Yes) {
        return false;
    }
    if (!context.drive.CheckDataDisk()) {
        return false;
    }
    auto& table = context.state.clients();
    for (int n = 1; n <= table.ClientCount(); ++n) {
        records::ClientRecord& r = table.Clients(n);
        if (r.get(Field::NameDeleted) != QStringLiteral("0")) {
            continue;
        }
        const records::ClientRecord before = r;
        for (const Field f : {Field::Name, Field::SSN, Field::DLNumber}) {
            r.set(f, ShiftText(r.get(f), 0));
        }
        r.set(Field::NameDeleted, u"1");
        try {
            table.PutClientRecord(n);
        } catch (const AppError& e) {
            // The table keeps what the file holds; the records already done stay done.
            r = before;
            showAppError(boxes, e, QStringLiteral("Delete Names"));
            return true;
        }
    }
    boxes.show(QStringLiteral("Process complete. Press Enter to continue."),
               MessageBoxes::Buttons::Ok, MessageBoxes::Icon::None, QString());
    return true;
}

} // namespace tov::supervisor
