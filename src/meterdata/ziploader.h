#pragma once
// Finds and loads the zip module on the first zipped import: beside the
// program (the build tree) or in the installation's module folder.

#include <QString>

struct ZipFunctions;

// Where the module is looked for first (tests run from the build tree); also
// forgets a module found before, so the next archive looks again.
void SetZipModulePath(const QString& path);
// The module's calls, or null with `why` set to the loader's reason. A module
// once loaded stays loaded.
const ZipFunctions* LoadZipModule(QString* why);
