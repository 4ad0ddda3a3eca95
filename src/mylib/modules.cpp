#include "mylib/modules.h"

#include <QCoreApplication>
#include <QLibrary>

QStringList ModuleCandidates(const QString& fileName, const QString& chosen) {
    const QString bin = QCoreApplication::applicationDirPath();
    QStringList candidates{bin + u'/' + fileName,
                           bin + u'/' + QStringLiteral(VOLTISK_MODULE_RELDIR) + u'/' + fileName};
    if (!chosen.isEmpty()) {
        candidates.prepend(chosen);
    }
    return candidates;
}

QFunctionPointer ResolveModule(const QString& fileName, const QString& chosen, const char* symbol,
                               QString* why) {
    QString errors;
    for (const QString& path : ModuleCandidates(fileName, chosen)) {
        QLibrary library(path);
        if (QFunctionPointer f = library.resolve(symbol)) {
            return f;
        }
        if (errors.isEmpty()) {
            errors = library.errorString();
        }
    }
    if (why) {
        *why = errors;
    }
    return nullptr;
}
