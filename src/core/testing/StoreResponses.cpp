#include "testing/StoreResponses.h"

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "records/ClientTable.h"

namespace tov::testing {

using platform::MessageBoxes;

bool StoreResponses(records::ClientTable& table, const AnswerCodes& codes, MessageBoxes& boxes) {
    table.current().set(records::Field::Responses, ResponseString(codes));
    for (;;) {
        try {
            table.PutClientRecord(table.CurrentClient());
            return true;
        } catch (const AppError& e) {
            const auto answer = boxes.show(
                QStringLiteral("The client's answers could not be written to the data disk.\r"
                               "Error %1:%2\r\rRetry to write them again, Cancel to leave them "
                               "unsaved.")
                    .arg(e.number())
                    .arg(e.description()),
                MessageBoxes::Buttons::RetryCancel, MessageBoxes::Icon::Error,
                QStringLiteral("Data Disk Error"));
            if (answer != MessageBoxes::Answer::Retry) {
                return false;
            }
        }
    }
}

} // namespace tov::testing
