#pragma once
// The test process's environment: a temporary configuration folder (never the
// real home), en_US as the default locale, the offscreen platform.

#include <QString>

namespace TestEnv {
// The test process's temporary root folder (set once by the test main).
void SetRoot(const QString& folder);
// The temporary XDG_CONFIG_HOME of this test process.
QString ConfigDir();
// A temporary folder standing in for the program's folder.
QString ExeDir();
// Removes everything below ConfigDir(), so each test starts on a new account.
void ResetConfig();
// Sets the default locale and `moneydecimals` together.
void UseLocale(const char* name);
} // namespace TestEnv
