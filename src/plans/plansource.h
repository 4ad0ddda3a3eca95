#pragma once
// What the "Compare plans" page reads besides the readings page: the stored
// periods and the plan store. The program's source opens the history database
// on first use only, so start-up never touches it; tests pass their own.

#include "plans/plancompare.h"
#include "plans/planstore.h"

#include <QList>

class TPlanSource {
public:
    virtual ~TPlanSource() = default;
    // The stored periods, newest first. Throws EVoltiskError when the history
    // cannot be read.
    virtual QList<StoredUse> Periods() = 0;
    // The plans; throws EVoltiskError when the history cannot be opened.
    virtual PlanStore& Plans() = 0;
};
