#include "mylib/locales.h"

#include "mylib/money.h"

#include <QtGlobal>

QLocale LocaleOfName(const QString& name) {
    // QLocale ignores the code set and modifier ("de_DE.UTF-8", "de_DE@euro").
    if (name.isEmpty() || name == QLatin1String("POSIX")) {
        return QLocale::c();
    }
    return QLocale(name);
}

TLocales LocalesFromEnvironment(const std::function<QString(const char*)>& variable) {
    const QString all = variable("LC_ALL");
    const QString lang = variable("LANG");
    auto category = [&](const char* name) {
        if (!all.isEmpty()) {
            return LocaleOfName(all);
        }
        const QString own = variable(name);
        return LocaleOfName(own.isEmpty() ? lang : own);
    };
    return {category("LC_NUMERIC"), category("LC_MONETARY"), category("LC_TIME")};
}

TLocales LocalesFromEnvironment() {
    return LocalesFromEnvironment([](const char* name) { return qEnvironmentVariable(name); });
}

TLocales StartLocales() {
    const TLocales locales = LocalesFromEnvironment();
    QLocale::setDefault(locales.numbers);
    return locales;
}
