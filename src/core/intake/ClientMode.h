#pragma once

namespace tov::intake {

// What the screens of a client's chain work on: a new client being entered, an existing client
// being edited, or a new client whose values were read from a scanned answer sheet.
enum class ClientMode { NewClient, EditClient, ScannedClient };

} // namespace tov::intake
