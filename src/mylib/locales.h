#pragma once
// The user's locale as the C library splits it: numbers, money and dates each
// follow their own category (LC_NUMERIC, LC_MONETARY, LC_TIME), LC_ALL stands
// over all of them and LANG under all. Start-up builds the three parts once
// from the environment; everything after takes the part it needs as a value.

#include <QLocale>
#include <QString>
#include <functional>

struct TLocales {
    QLocale numbers; // decimal separator of fields, kWh texts, tariffs
    QLocale money;   // currency symbol, pattern, separators and decimals
    QLocale dates;   // the short date of the pickers, the settings, the report

    // All three parts the same locale.
    static TLocales Uniform(const QLocale& locale) { return {locale, locale, locale}; }
};

// The locale a category's value names ("de_DE.UTF-8", "ja_JP", "C", "POSIX");
// an unknown name gives the C locale, as the C library falls back to it.
QLocale LocaleOfName(const QString& name);

// The three parts from the environment: for each category the first of
// LC_ALL, the category's own variable and LANG that is set and not empty,
// else "C". `variable` returns a variable's value (empty when unset).
TLocales LocalesFromEnvironment(const std::function<QString(const char*)>& variable);
// The same from the process's environment.
TLocales LocalesFromEnvironment();

// The user's locale parts from the environment, made the program's own: the
// numbers part becomes the default locale. Start-up calls it once, before the
// window is built.
TLocales StartLocales();
