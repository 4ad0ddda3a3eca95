#pragma once
// The desktop services that the logic needs, as small interfaces. The program
// passes Qt-backed ones (src/app/view); tests pass fakes that record what was
// asked and answer as scripted.

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

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

// How the information dialog is shown; written with designated initializers,
// e.g. {.caption = "Import", .relativeToOwner = true}.
struct InfoDialogOptions {
    QString caption{};            // the title; empty means the application title
    bool relativeToOwner = false; // parented to the active window
    std::optional<QPoint> at{};   // the screen position; none (or a negative
                                  // coordinate) means the default place
};

// How the yes/no question is asked.
struct VerifyOptions {
    bool relativeToOwner = false; // parented to the active window
    bool allowCancel = false;     // Escape and the close button answer No either way
};

class TDialogs {
public:
    virtual ~TDialogs() = default;
    // A plain message box: the text, the application title, one OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // The application's standard error box: title "Voltisk", error icon, OK;
    // `text` is shown as given (callers apply ErrorBoxText).
    virtual void ShowError(const QString& text) = 0;
    // The information dialog: the headline and the detail, one OK button.
    virtual void InfoDialog(const QString& headline, const QString& detail,
                            const InfoDialogOptions& options = {}) = 0;
    // The yes/no question titled "Verify"; true only for Yes.
    virtual bool VerifyDialog(const QString& question, const QString& detail,
                              const VerifyOptions& options = {}) = 0;
    // The same question with No as the default button (Enter answers No), for
    // what cannot be undone.
    virtual bool VerifyDialogDefaultNo(const QString& question, const QString& detail) {
        return VerifyDialog(question, detail, {.relativeToOwner = true, .allowCancel = true});
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
