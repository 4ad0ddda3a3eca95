#include "meterdata/ziploader.h"

#include "meterdata/zipfunctions.h"
#include "mylib/modules.h"

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
    QString errors;
    for (const QString& path : ModuleCandidates(QStringLiteral("libvoltisk_zip.so"), module.path)) {
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
