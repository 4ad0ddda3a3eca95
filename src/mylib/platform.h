#pragma once
// The desktop services that the logic needs, as small interfaces. The program
// passes Qt-backed ones (src/app/view); tests pass fakes that record what was
// asked and answer as scripted.

#include <QDate>
#include <QRect>
#include <QString>

class TShell {
public:
    virtual ~TShell() = default;
    // Opens a web address, a "mailto:" address or a local file URL.
    virtual void OpenUrl(const QString& url) = 0;
    // Shows a folder in the desktop's file manager.
    virtual void ShowFolder(const QString& folder) = 0;
};

// Shows the folder through the shell; failures are not reported.
void ShowFolderInFileManager(TShell& shell, const QString& folder);

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A plain message box: the text, the application title, one OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // The application's standard error box: title "Voltisk", error icon, OK;
    // `text` is shown as given (callers apply ErrorBoxText).
    virtual void ShowError(const QString& text) = 0;
    // The information dialog; x or y negative means the default place.
    virtual void InfoDialog(const QString& headline, const QString& detail, const QString& caption,
                            bool relativeToOwner, int x, int y) = 0;
    // The yes/no question titled "Verify"; true only for Yes.
    virtual bool VerifyDialog(const QString& question, const QString& detail, bool relativeToOwner,
                              bool allowCancel) = 0;
    // The same question with No as the default button (Enter answers No), for
    // what cannot be undone.
    virtual bool VerifyDialogDefaultNo(const QString& question, const QString& detail) {
        return VerifyDialog(question, detail, true, true);
    }
};

class TClock {
public:
    virtual ~TClock() = default;
    virtual QDate Today() const = 0;
};

class TScreen {
public:
    virtual ~TScreen() = default;
    // The primary screen's available area, in logical pixels.
    virtual QRect Geometry() const = 0;
    // Screen pixels per logical pixel (2 at QT_SCALE_FACTOR=2).
    virtual double DevicePixelRatio() const { return 1.0; }
};
