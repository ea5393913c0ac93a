#include "app/SaveClient.h"

#include "platform/AppError.h"
#include "platform/MessageBoxes.h"
#include "records/ClientTable.h"

namespace tov::app {

bool saveCurrentClient(records::ClientTable& table, const records::ClientRecord& before,
                       platform::MessageBoxes& boxes) {
    try {
        table.PutClientRecord(table.CurrentClient());
        return true;
    } catch (const AppError& e) {
        table.current() = before;
        platform::showAppError(boxes, e);
        return false;
    }
}

} // namespace tov::app
