#pragma once

namespace tov::platform {
class MessageBoxes;
}
namespace tov::records {
class ClientRecord;
class ClientTable;
} // namespace tov::records

namespace tov::app {

// Writes the current client's record to the data file. When the write fails, the record in memory
// is put back to `before` (what the file still holds), the error is shown and false returned, so
// the operator may try again with nothing lost.
bool saveCurrentClient(records::ClientTable& table, const records::ClientRecord& before,
                       platform::MessageBoxes& boxes);

} // namespace tov::app
