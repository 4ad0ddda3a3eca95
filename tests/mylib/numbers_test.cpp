#include "mylib/money.h"
#include "mylib/numbers.h"
#include "support/printers.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <langinfo.h>
#include <limits>
#include <locale.h>

namespace {

// A C-library locale whose decimal point is a comma, such as the program runs
// under on a German desktop (QCoreApplication takes the C library's locale
// from the environment). A machine without one gets one built by localedef
// into a temporary folder; null when neither is possible.
class CommaCLocale {
public:
    CommaCLocale() {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (Take(newlocale(LC_NUMERIC_MASK, name, locale_t{}))) {
                return;
            }
        }
        if (!m_dir.isValid()) {
            return;
        }
        QFile source(m_dir.filePath(QStringLiteral("comma.src")));
        if (!source.open(QIODevice::WriteOnly) ||
            source.write("LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                         "grouping 3;3\nEND LC_NUMERIC\n") < 0) {
            return;
        }
        source.close();
        // Other categories are missing on purpose: -c writes the locale anyway.
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-c"), QStringLiteral("-i"), source.fileName(),
                         QStringLiteral("-f"), QStringLiteral("UTF-8"),
                         m_dir.filePath(QStringLiteral("comma"))});
        localedef.waitForFinished();
        const bool hadPath = qEnvironmentVariableIsSet("LOCPATH");
        const QByteArray oldPath = qgetenv("LOCPATH");
        qputenv("LOCPATH", QFile::encodeName(m_dir.path()));
        Take(newlocale(LC_NUMERIC_MASK, "comma", locale_t{}));
        if (hadPath) {
            qputenv("LOCPATH", oldPath);
        } else {
            qunsetenv("LOCPATH");
        }
    }
    ~CommaCLocale() {
        if (m_locale) {
            freelocale(m_locale);
        }
    }
    CommaCLocale(const CommaCLocale&) = delete;
    CommaCLocale& operator=(const CommaCLocale&) = delete;

    locale_t get() const { return m_locale; }

private:
    bool Take(locale_t candidate) {
        if (candidate && QByteArray(nl_langinfo_l(RADIXCHAR, candidate)) == ",") {
            m_locale = candidate;
            return true;
        }
        if (candidate) {
            freelocale(candidate);
        }
        return false;
    }

    QTemporaryDir m_dir;
    locale_t m_locale{};
};

// Makes `locale` the C library's locale of this thread for one scope.
class UseCLocale {
public:
    explicit UseCLocale(locale_t locale) : m_previous(uselocale(locale)) {}
    ~UseCLocale() { uselocale(m_previous); }
    UseCLocale(const UseCLocale&) = delete;
    UseCLocale& operator=(const UseCLocale&) = delete;

private:
    locale_t m_previous;
};

} // namespace

TEST(GeneralFormat, FifteenDigitsNoTrailingZerosNoGrouping) {
    EXPECT_EQ(FormatGeneral(1.00326, QChar('.')), "1.00326");
    EXPECT_EQ(FormatGeneral(1234567.5, QChar('.')), "1234567.5");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, QChar('.')), "0.3");
    EXPECT_EQ(FormatGeneral(2.0 / 3.0, QChar('.')), "0.666666666666667");
    EXPECT_EQ(FormatGeneral(-42.0, QChar('.')), "-42");
    EXPECT_EQ(FormatGeneral(0.0, QChar('.')), "0");
    EXPECT_EQ(FormatGeneral(-0.0, QChar('.')), "0");
}

TEST(GeneralFormat, ExponentFormAtTheLimits) {
    EXPECT_EQ(FormatGeneral(1e15, QChar('.')), "1E15");
    EXPECT_EQ(FormatGeneral(999999999999999.0, QChar('.')), "999999999999999");
    // Rounding to 15 digits carries into the next power of ten.
    EXPECT_EQ(FormatGeneral(999999999999999.9, QChar('.')), "1E15");
    EXPECT_EQ(FormatGeneral(0.0001, QChar('.')), "0.0001");
    EXPECT_EQ(FormatGeneral(5e-5, QChar('.')), "5E-5");
    EXPECT_EQ(FormatGeneral(-1.2345e-5, QChar('.')), "-1.2345E-5");
    EXPECT_EQ(FormatGeneral(1e308, QChar('.')), "1E308");
    EXPECT_EQ(FormatGeneral(1.5e-308, QChar(',')), "1,5E-308");
}

TEST(GeneralFormat, UsesTheLocaleSeparator) {
    EXPECT_EQ(FormatGeneral(1.00326, QLocale("de_DE")), "1,00326");
    EXPECT_EQ(FormatGeneral(1.00326, QLocale("en_AU")), "1.00326");
    EXPECT_EQ(FormatGeneral(1234.5, QLocale("fr_FR")), "1234,5");
}

TEST(LocaleNumber, AcceptsSignBlanksSeparatorAndExponent) {
    const QLocale us("en_US");
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("  12.5 ", us), 12.5);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("-3", us), -3.0);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("+.5", us), 0.5);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("5.", us), 5.0);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("1e3", us), 1000.0);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("2.5E-2", us), 0.025);
    EXPECT_DOUBLE_EQ(*ParseLocaleNumber("0,25", QLocale("de_DE")), 0.25);
}

TEST(LocaleNumber, RejectsEverythingElse) {
    const QLocale us("en_US");
    for (const char* bad : {"", "   ", ".", "-", "1,000", "1.2.3", "12a", "a12", "1e", "1e+", "--1",
                            "1 2", "inf", "nan", "1e400", "-1e400", "0x10", "١٢"}) {
        EXPECT_FALSE(ParseLocaleNumber(QString::fromUtf8(bad), us).has_value()) << bad;
    }
    // The other locale's separator is not a decimal point.
    EXPECT_FALSE(ParseLocaleNumber("0.25", QLocale("de_DE")).has_value());
    EXPECT_FALSE(ParseLocaleNumber("0,25", us).has_value());
}

TEST(PlainNumber, LeadingBlanksOnlyAndNumberMustEndTheText) {
    EXPECT_DOUBLE_EQ(*ParsePlainNumber(" 100"), 100.0);
    EXPECT_DOUBLE_EQ(*ParsePlainNumber("-2.5e1"), -25.0);
    EXPECT_FALSE(ParsePlainNumber("100 ").has_value());
    EXPECT_FALSE(ParsePlainNumber("").has_value());
    EXPECT_FALSE(ParsePlainNumber("   ").has_value());
    EXPECT_FALSE(ParsePlainNumber("1,5").has_value());
    EXPECT_FALSE(ParsePlainNumber("\t5").has_value());
    EXPECT_FALSE(ParsePlainNumber("1e999").has_value());
}

TEST(PlainNumber, TakesTheLocaleSeparatorAsWellAsThePoint) {
    EXPECT_DOUBLE_EQ(*ParsePlainNumber("0,28283", QChar(',')), 0.28283);
    EXPECT_DOUBLE_EQ(*ParsePlainNumber("0.28283", QChar(',')), 0.28283);
    EXPECT_FALSE(ParsePlainNumber("1,2.3", QChar(',')).has_value());
}

TEST(Rounding, HalvesAwayFromZeroOnThe18DigitExpansion) {
    // 0.125 is exact in binary: a true half rounds up.
    EXPECT_EQ(FixedText(RoundDecimal(0.125, 15, 2), 2, '.'), "0.13");
    EXPECT_EQ(FixedText(RoundDecimal(-0.125, 15, 2), 2, '.'), "-0.13");
    // 2.675 is 2.67499999999999982 in binary.
    EXPECT_EQ(FixedText(RoundDecimal(2.675, 15, 2), 2, '.'), "2.67");
    EXPECT_EQ(FixedText(RoundDecimal(9.995, 15, 2), 2, '.'), "9.99");
    EXPECT_EQ(FixedText(RoundDecimal(99.5, 15, 0), 0, '.'), "100");
    EXPECT_EQ(FixedText(RoundDecimal(-0.001, 15, 2), 2, '.'), "0.00");
    EXPECT_EQ(FixedText(RoundDecimal(0.4, 15, 0), 0, '.'), "0");
    EXPECT_EQ(FixedText(RoundDecimal(0.6, 15, 0), 0, '.'), "1");
}

TEST(Rounding, HalfToEvenInExtendedPrecision) {
    EXPECT_EQ(RoundHalfEven(12.5L), 12.0L);
    EXPECT_EQ(RoundHalfEven(37.5L), 38.0L);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2.0L);
    EXPECT_EQ(RoundHalfEven(2.4999L), 2.0L);
}

// Reading and writing numbers never follow the C library's locale (strtod
// would stop at the "." that ParseDecimal hands it under de_DE).
TEST(LocaleNumber, ReadsTheSameWhateverTheCLibraryLocale) {
    const CommaCLocale comma;
    if (!comma.get()) {
        GTEST_SKIP() << "no decimal-comma C-library locale and no localedef to build one";
    }
    const UseCLocale scope(comma.get());
    EXPECT_EQ(ParseDecimal(QStringLiteral("12.5"), QChar(u'.')), 12.5);
    EXPECT_EQ(ParseLocaleNumber(QStringLiteral("0,25"), QLocale(QStringLiteral("de_DE"))), 0.25);
    EXPECT_EQ(ParsePlainNumber(QStringLiteral(" 2.5e1")), 25.0);
    EXPECT_EQ(FormatGeneral(1.00326, QChar(u'.')), QStringLiteral("1.00326"));
    EXPECT_EQ(FormatMoney(1234.5, QLocale(QStringLiteral("en_US")), 2),
              QStringLiteral("$1,234.50"));
}

// The largest doubles are written rounded down where rounding to nearest
// (1.79769313486232E308) would leave the double range and read as no number.
TEST(GeneralFormat, LargestDoublesWriteTextsThatReadBack) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(FormatGeneral(largest, QChar(u'.')), QStringLiteral("1.79769313486231E308"));
    EXPECT_EQ(FormatGeneral(-largest, QChar(u',')), QStringLiteral("-1,79769313486231E308"));
    for (double v : {largest, std::nextafter(largest, 0.0), 1.797693134862315e308, -largest}) {
        const auto back = ParseDecimal(FormatGeneral(v, QChar(u'.')), QChar(u'.'));
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_LE(std::fabs(*back - v), 1e-14 * std::fabs(v));
    }
    // One step below, ordinary rounding to nearest still applies.
    EXPECT_EQ(FormatGeneral(1.79769313486231e308, QChar(u'.')),
              QStringLiteral("1.79769313486231E308"));
    EXPECT_EQ(FormatGeneral(1.7976931348623e308, QChar(u'.')),
              QStringLiteral("1.7976931348623E308"));
}
