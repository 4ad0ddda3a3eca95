#include "billimport/billvalues.h"
#include "mylib/errors.h"
#include "support/printers.h"

#include <gtest/gtest.h>

namespace {

QString DateError(const QString& text) {
    try {
        ParseBillDate(text);
    } catch (const EVoltiskError& e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(BillValues, ReadingIsTwoColumnsRightInTheNextRowCutAtThePoint) {
    // H = 4.
    const QStringList cells{"h1",
                            "h2",
                            "h3",
                            "End_Date", //
                            "Residential - 31",
                            "x",
                            "y",
                            "z", //
                            "RESIDENTIAL - 31",
                            "x",
                            "12345.67",
                            "z", //
                            "Hot Water - 41",
                            "x",
                            "777",
                            "z", //
                            "p",
                            "q",
                            " 812 ",
                            "tail"};
    // The first occurrence counts, in any letter case; the point and what
    // follows it are cut.
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("Residential - 31")), QStringLiteral("12345"));
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("residential - 31")), QStringLiteral("12345"));
    // Blanks around a reading stay; blanks inside a name do not match.
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("hot water - 41")), QStringLiteral(" 812 "));
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("Hot Water -  41")), QString());
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("Missing")), QString());
    // A name in the second-to-last column runs on into the record after next.
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("h3")), QStringLiteral("RESIDENTIAL - 31"));
    // Past the end of the list.
    EXPECT_EQ(TariffReading(cells, 4, QStringLiteral("p")), QString());

    const QStringList points{"A", "B", "C", "x", "y", "1.2.3", ".5", "9"};
    EXPECT_EQ(TariffReading(points, 3, QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(TariffReading(points, 3, QStringLiteral("B")), QString());
    EXPECT_EQ(TariffReading(points, 3, QStringLiteral("C")), QStringLiteral("9"));
}

TEST(BillValues, DateTextIsFourRowsBelowEndDate) {
    const QStringList cells{"a", "End_Date", "1", "2", "3", "4", "5", "6", "7", "31122023"};
    EXPECT_EQ(BillDateText(cells, 2), QStringLiteral("31122023"));
    EXPECT_EQ(BillDateText(cells.mid(0, 9), 2), QString());
    const QStringList later{"a", "b", "x", "end_date", "1", "2",
                            "3", "4", "5", "6",        "7", "01022024"};
    EXPECT_EQ(BillDateText(later, 2), QStringLiteral("01022024"));
}

TEST(BillValues, DateIsDayMonthYear) {
    EXPECT_EQ(ParseBillDate(QStringLiteral("31122023")), QDate(2023, 12, 31));
    EXPECT_EQ(ParseBillDate(QStringLiteral("01022024")), QDate(2024, 2, 1));
    EXPECT_EQ(ParseBillDate(QStringLiteral("29022024")), QDate(2024, 2, 29));
    EXPECT_EQ(ParseBillDate(QStringLiteral(" 1+20001")), QDate(1, 2, 1));
}

TEST(BillValues, DatePartsThatAreNoNumberOrNoDateAreErrors) {
    // The first part that is not a whole number is named.
    EXPECT_EQ(DateError(QStringLiteral("ab12cdef")),
              QStringLiteral("''ab'' is not a valid integer value"));
    EXPECT_EQ(DateError(QStringLiteral("3112202x")),
              QStringLiteral("''202x'' is not a valid integer value"));
    EXPECT_EQ(DateError(QStringLiteral("3 122023")),
              QStringLiteral("''3 '' is not a valid integer value"));
    EXPECT_EQ(DateError(QStringLiteral("31.12.23")),
              QStringLiteral("''.1'' is not a valid integer value"));
    // Numbers, but no date.
    const QString encode = QStringLiteral("Invalid argument to date encode");
    EXPECT_EQ(DateError(QStringLiteral("30022024")), encode);
    EXPECT_EQ(DateError(QStringLiteral("29022023")), encode);
    EXPECT_EQ(DateError(QStringLiteral("00012024")), encode);
    EXPECT_EQ(DateError(QStringLiteral("01132024")), encode);
    EXPECT_EQ(DateError(QStringLiteral("01010000")), encode);
    EXPECT_EQ(DateError(QStringLiteral("-1012024")), encode);
    EXPECT_EQ(DateError(QStringLiteral("31-12023")), encode);
}

TEST(BillValues, QuestionListsDateAndReadingsInTheLocale) {
    const QString tail = QStringLiteral("\r\nExport: 1500\r\nImport - Light and power: 2300\r\n"
                                        "Import - Hot water: 812");
    const QString head = QStringLiteral("Do you want to insert the following values into the "
                                        "\"original\" fields?\r\n\r\nOriginal reading date: ");
    EXPECT_EQ(ImportQuestion(QDate(2023, 12, 31), QLocale(QStringLiteral("en_US")), "1500", "2300",
                             "812"),
              head + QStringLiteral("12/31/2023") + tail);
    EXPECT_EQ(ImportQuestion(QDate(2023, 12, 31), QLocale(QStringLiteral("de_DE")), "1500", "2300",
                             "812"),
              head + QStringLiteral("31.12.2023") + tail);
}
