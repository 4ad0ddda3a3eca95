#include "benchsupport.h"

#include "mylib/money.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>
#include <optional>

namespace {
void BenchEnvironment() {
    static QTemporaryDir root;
    qputenv("XDG_CONFIG_HOME", (root.path() + "/config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (root.path() + "/run").toUtf8());
    QDir().mkpath(root.path() + "/config");
    QDir().mkpath(root.path() + "/run");
    QFile::setPermissions(root.path() + "/run",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}
} // namespace

int RunBenchmarks(int argc, char** argv) {
    BenchEnvironment();
    // The view benchmarks need the application (unless the caller made one);
    // the others do not mind it.
    std::optional<QApplication> app;
    if (!QCoreApplication::instance()) {
        app.emplace(argc, argv);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

BenchForm::BenchForm(bool show) : platform(dialogs, shell, clock, screen) {
    platform.executablePath = dir.path() + "/voltisk";
    platform.markerPath = dir.path() + "/none";
    platform.billFolder = dir.path();
    platform.moneyDecimals = CurrencyDecimals(QLocale());
    form = std::make_unique<TForm1>(platform);
    form->Create();
    if (show) {
        form->Show();
    }
}
