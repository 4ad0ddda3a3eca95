#pragma once
// The History, Compare plans and Usage pages put together: what the pages
// module hands the window (and what tests use without the module).

#include "app/view/pages.h"

TPages* AddPages(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                 const QString& historyFile);
