#pragma once
// The Qt-backed desktop services handed to the window model.

#include "mylib/platform.h"

class QWidget;

class QtDialogs : public TDialogs {
public:
    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    void InfoDialog(const QString& headline, const QString& detail,
                    const InfoDialogOptions& options = {}) override;
    bool VerifyDialog(const QString& question, const QString& detail,
                      const VerifyOptions& options = {}) override;
    bool VerifyDialogDefaultNo(const QString& question, const QString& detail) override;

private:
    bool Ask(const QString& question, const QString& detail, QWidget* parent, bool yesDefault);
};

class QtShell : public TShell {
public:
    void OpenUrl(const QString& url) override;
    void ShowFolder(const QString& folder) override;
};

class QtClock : public TClock {
public:
    QDate Today() const override;
};

class QtScreen : public TScreen {
public:
    QRect Geometry() const override;
    double DevicePixelRatio() const override;
};
