#include "mylib/platform.h"

void ShowFolderInFileManager(TShell& shell, const QString& folder) {
    shell.ShowFolder(folder);
}
