#pragma once
// Choosing a file to write or to read (the History page's export and
// import). The program passes Qt file dialogs; tests pass fakes.

#include <QString>

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // The file the user chose to write, or an empty text when cancelled.
    virtual QString SaveFileName(const QString& caption, const QString& suggested,
                                 const QString& filter) = 0;
    // The existing file the user chose to read, or an empty text when cancelled.
    virtual QString OpenFileName(const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
};
