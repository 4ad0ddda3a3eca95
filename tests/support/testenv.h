#pragma once
// The test process's environment: temporary configuration, data and home
// folders (never the real home), en_US as the default locale, the offscreen platform.

#include <QString>

namespace TestEnv {
// The test process's temporary root folder (set once by the test main).
void SetRoot(const QString& folder);
// The temporary XDG_CONFIG_HOME of this test process.
QString ConfigDir();
// The temporary XDG_DATA_HOME (the history's folder lives below it).
QString DataDir();
// A temporary folder standing in for the program's folder.
QString ExeDir();
// Removes everything below ConfigDir() and DataDir(), so each test starts on
// a new account.
void ResetConfig();
// Sets the default locale and `moneydecimals` together.
void UseLocale(const char* name);
} // namespace TestEnv
