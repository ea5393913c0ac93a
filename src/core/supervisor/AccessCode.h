#pragma once

#include <QString>

namespace tov::supervisor {

// The supervisor's access code given with the program, until the agency sets its own.
inline constexpr char AccessCode = 'Z';

// An agency's own code: 6 to 8 characters (the prompt takes 8), compared without regard to case.
inline constexpr int MinAccessCodeLength = 6;
inline constexpr int MaxAccessCodeLength = 8;

// The code as the settings keep it: a salted PBKDF2 digest (SHA-256, 100,000 rounds), never the
// code itself. A new salt each time.
QString StoredAccessCode(const QString& code);

enum class CodeCheck { Right, Wrong, Damaged };
// Whether an entry is the code a stored value stands for; an empty stored value is the code given
// with the program, unless the agency must set its own (`givenCodeRefused`), when nothing matches
// it. A stored value that is not a digest of ours is Damaged: nothing matches it.
CodeCheck CheckAccessCode(const QString& entry, const QString& stored,
                          bool givenCodeRefused = false);

// The wait in seconds before the next try after `wrongInARow` wrong codes: none for the first
// three, then 2, 4, 8 and 16, then 30 for each further try.
int AccessCodeWait(int wrongInARow);

} // namespace tov::supervisor
