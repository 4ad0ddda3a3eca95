#include "meterdata/ziploader.h"

#include "meterdata/zipfunctions.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QMutex>

namespace {

struct ZipModule {
    QString path;
    const ZipFunctions* functions = nullptr;
};

ZipModule& Module() {
    static ZipModule module;
    return module;
}

// Imports run on worker threads; the first archive of two at once loads once.
QMutex& ModuleLock() {
    static QMutex lock;
    return lock;
}

} // namespace

void SetZipModulePath(const QString& path) {
    const QMutexLocker locker(&ModuleLock());
    Module() = ZipModule{path, nullptr};
}

const ZipFunctions* LoadZipModule(QString* why) {
    const QMutexLocker locker(&ModuleLock());
    ZipModule& module = Module();
    if (module.functions != nullptr) {
        return module.functions;
    }
    const QString name = QStringLiteral("libvoltisk_zip.so");
    const QString bin = QCoreApplication::applicationDirPath();
    QStringList candidates{bin + u'/' + name,
                           bin + u'/' + QStringLiteral(VOLTISK_MODULE_RELDIR) + u'/' + name};
    if (!module.path.isEmpty()) {
        candidates.prepend(module.path);
    }
    QString errors;
    for (const QString& path : candidates) {
        // Never unloaded: the archives' handles point into it.
        QLibrary library(path);
        QString error;
        if (!library.load()) {
            error = library.errorString();
        } else if (auto get = reinterpret_cast<VoltiskZipFunctionsFn>(
                       library.resolve("VoltiskZipFunctions"))) {
            module.functions = get();
            return module.functions;
        } else {
            error = QStringLiteral("%1 is not the zip module").arg(library.fileName());
        }
        if (errors.isEmpty()) {
            errors = error;
        }
    }
    if (why) {
        *why = errors;
    }
    return nullptr;
}
