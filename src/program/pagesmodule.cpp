// libvoltisk_pages.so: the pages, loaded by the window when first needed.
#include "program/pages.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT TPages* VoltiskAddPages(TFormView& view, TDialogs& dialogs,
                                                 TFileDialogs& files, const QString& historyFile) {
    return AddPages(view, dialogs, files, historyFile);
}
