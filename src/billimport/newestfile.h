#pragma once
// Picks the newest file of a folder, as the bill import needs it: the
// modification times are compared in local time at two-second steps, so files
// written within the same step count as equally new.

#include <QString>

// The full path (folder, separator, name) of the newest regular file in
// `folder` whose name matches the wildcard `pattern` (letter case ignored),
// hidden files included; directories, devices, pipes and broken links are
// not files and are skipped. Files are listed in name order by character
// code; of equally new files the first listed wins. Empty when nothing
// matches or the folder (or its name) is missing.
QString FindNewestFile(const QString& folder, const QString& pattern);
