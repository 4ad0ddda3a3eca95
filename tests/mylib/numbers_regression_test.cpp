// Cases the number-text fuzz target found (fuzz/numbers_fuzz.cpp).

#include "calc/periodcalc.h"
#include "mylib/money.h"
#include "mylib/numbers.h"
#include "support/printers.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <cfloat>
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

// strtod follows the C library's locale, which stopped every reading at the
// "." that ParseDecimal hands it: "0,25" in de_DE read as 0.
TEST(NumbersRegression, ReadingDoesNotDependOnTheCLibraryLocale) {
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

// Rounded to 15 digits, the largest doubles became 1.79769313486232E308, which
// is past the double range and so read as no number.
TEST(NumbersRegression, LargestDoublesWriteTextsThatReadBack) {
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

// A money amount of more than 15 integer digits is the general number in the
// locale's pattern; ar_EG writes its digit one as U+0661, so the "1" looked
// for was never there and the text showed one pound.
TEST(NumbersRegression, HugeMoneyAmountsInLocalesWithTheirOwnDigits) {
    const QLocale egypt(QStringLiteral("ar_EG"));
    EXPECT_EQ(FormatMoney(1e20, egypt, 2), QString::fromUtf8("1E20\u00a0ج.م.\u200f"));
    EXPECT_EQ(FormatMoney(-2.5e18, egypt, 2), QString::fromUtf8("\u061c-2٫5E18\u00a0ج.م.\u200f"));
    EXPECT_EQ(FormatMoney(1e20, QLocale(QStringLiteral("en_US")), 2), QStringLiteral("$1E20"));
}

// With three currency decimals a 14-digit amount has more places than a double
// carries: 12345678901234.3 was shown ending in ".301".
TEST(NumbersRegression, MoneyDecimalsBeyondADoublesPrecisionArePaddedWithZeros) {
    const QLocale us(QStringLiteral("en_US"));
    EXPECT_EQ(FormatMoney(12345678901234.3, us, 3), QStringLiteral("$12,345,678,901,234.300"));
    EXPECT_EQ(FormatMoney(-12345678901234.3, us, 3), QStringLiteral("($12,345,678,901,234.300)"));
    // No decimals kept: the separator comes with the zeros.
    EXPECT_EQ(FormatMoney(123456789012345.0, us, 3), QStringLiteral("$123,456,789,012,345.000"));
    EXPECT_EQ(FormatMoney(12345678901234.3, QLocale(QStringLiteral("de_DE")), 3),
              QString::fromUtf8("12.345.678.901.234,300\u00a0€"));
    EXPECT_EQ(FormatMoney(12345678901234.3, QLocale(QStringLiteral("ar_EG")), 3),
              QString::fromUtf8("١٢٬٣٤٥٬٦٧٨٬٩٠١٬٢٣٤٫٣٠٠\u00a0ج.م.\u200f"));
    // Below the limit nothing changes.
    EXPECT_EQ(FormatMoney(1234567890123.25, us, 3), QStringLiteral("$1,234,567,890,123.250"));
}

// Readings of 1e308 and -1e308 overflow the kWh figure to infinity, and the
// rounding read the digits after "inf" from whatever the previous figure had
// left in its buffer: the label showed a made-up "0.0". Such a figure now
// shows nothing at all.
TEST(NumbersRegression, OverflowingKwhFiguresNeverLookLikeNumbers) {
    const double inf = std::numeric_limits<double>::infinity();
    // Labels are written one after another, as here.
    EXPECT_EQ(KwhText(12.25, 1, QChar(u'.')), QStringLiteral("12.3"));
    EXPECT_EQ(KwhText(inf, 1, QChar(u'.')), QString());
    EXPECT_EQ(KwhText(12.25, 0, QChar(u',')), QStringLiteral("12"));
    EXPECT_EQ(KwhText(-inf, 0, QChar(u',')), QString());
    EXPECT_EQ(KwhText(0.5, 1, QChar(u'.')), QStringLiteral("0.5"));
    EXPECT_EQ(KwhText(std::numeric_limits<double>::quiet_NaN(), 1, QChar(u'.')), QString());

    PeriodInputs in;
    in.showHotWater = false;
    in.generalBefore = QStringLiteral("-1e308");
    in.generalAfter = QStringLiteral("1e308");
    const QLocale us(QStringLiteral("en_US"));
    const PeriodLabels l = PeriodLabelTexts(ComputePeriod(30, in, us), false, false, us, 2);
    EXPECT_EQ(l.used, QString());
    EXPECT_EQ(l.dused, QString());
    EXPECT_EQ(FormatMoney(std::numeric_limits<double>::infinity(), us, 2), QString());
    EXPECT_EQ(l.dayslabel, QStringLiteral("30")) << "the other labels still show their figures";
}
