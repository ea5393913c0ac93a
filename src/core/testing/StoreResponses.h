#pragma once

#include "testing/TestItem.h"

namespace tov::platform {
class MessageBoxes;
}
namespace tov::records {
class ClientTable;
}

namespace tov::testing {

// Puts the answers into the current client's record and writes the record to the client file
// (a new client's record is appended, and the client count grows with it). A failed write is
// offered again until it succeeds or the operator cancels; false when cancelled.
bool StoreResponses(records::ClientTable& table, const AnswerCodes& codes,
                    platform::MessageBoxes& boxes);

} // namespace tov::testing
