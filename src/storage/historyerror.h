#pragma once
// What can go wrong with the history file, in words a user can act on.

#include "mylib/errors.h"

enum class HistoryFault {
    None,
    Damaged,    // not a database, or its contents are corrupt
    Unreadable, // cannot be opened or read (permissions, a folder in its place, I/O)
    ReadOnly,   // can be read but not changed
    Locked,     // another program holds it
    Newer,      // written by a newer program with a schema this one does not know
    DiskFull,   // a change did not fit on the disk; the file holds the state before it
};

// The plain-words explanation of a fault, naming the file.
QString HistoryFaultText(HistoryFault fault, const QString& fileName);

class EHistoryError : public EVoltiskError {
public:
    EHistoryError(HistoryFault fault, const QString& message)
        : EVoltiskError(message), fault_(fault) {}
    HistoryFault Fault() const { return fault_; }

private:
    HistoryFault fault_;
};
