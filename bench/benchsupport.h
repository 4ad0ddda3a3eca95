#pragma once
// Shared pieces of the benchmarks: desktop fakes, a private config folder.

#include "app/tform1.h"
#include "mylib/platform.h"

#include <QTemporaryDir>
#include <memory>

struct BenchDialogs : TDialogs {
    void ShowMessage(const QString&) override {}
    void ShowError(const QString&) override {}
    void InfoDialog(const QString&, const QString&, const InfoDialogOptions&) override {}
    bool VerifyDialog(const QString&, const QString&, const VerifyOptions&) override {
        return false;
    }
};
struct BenchShell : TShell {
    void OpenUrl(const QString&) override {}
    void ShowFolder(const QString&) override {}
};
struct BenchClock : TClock {
    QDate Today() const override { return QDate(2026, 12, 8); }
};
struct BenchScreen : TScreen {
    QRect Geometry() const override { return QRect(0, 0, 1920, 1080); }
};

// A shown window model on fakes, with XDG_CONFIG_HOME in a temporary folder.
struct BenchForm {
    QTemporaryDir dir;
    BenchDialogs dialogs;
    BenchShell shell;
    BenchClock clock;
    BenchScreen screen;
    TPlatform platform;
    std::unique_ptr<TForm1> form;
    // Builds the model and runs FormCreate; shows it unless told otherwise.
    explicit BenchForm(bool show = true);
};

// Sets up the process (temporary config and runtime folders, offscreen Qt,
// en_US), then runs the registered benchmarks.
int RunBenchmarks(int argc, char** argv);
