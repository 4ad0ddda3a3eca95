#pragma once
// The Qt file dialogs handed to the History page's presenter.

#include "mylib/filedialogs.h"

class QtFileDialogs : public TFileDialogs {
public:
    QString SaveFileName(const QString& caption, const QString& suggested,
                         const QString& filter) override;
    QString OpenFileName(const QString& caption, const QString& folder,
                         const QString& filter) override;
};
