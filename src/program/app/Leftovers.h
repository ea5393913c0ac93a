#pragma once

namespace tov::app {

class Settings;

// Removes the files holding client data that a run makes in the program folder: report.prn,
// REPORT.SCR, the numbered batch copies and the scan images (those stay while the scan trace is
// on, for diagnosis). Each goes when its work ends; a run killed, logged out or cut off by a power
// failure leaves them, so they are looked for at start and once more at the end.
void RemoveConfidentialLeftovers(const Settings& settings);

} // namespace tov::app
