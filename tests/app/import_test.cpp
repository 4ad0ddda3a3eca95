#include "support/files.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QDateTime Base(QDate(2024, 3, 6), QTime(10, 0, 0));

const QString WorkedQuestion = QStringLiteral(
    "Do you want to insert the following values into the \"original\" fields?\r\n\r\n"
    "Original reading date: 12/31/2023\r\nExport: 1500\r\nImport - Light and power: 2300\r\n"
    "Import - Hot water: 812");

QByteArray WorkedExample() {
    return Golden("csv/worked_example.csv");
}

// A bill of the worked example's shape with the given cells replaced.
QByteArray Bill(const QString& exportReading, const QString& generalReading,
                const QString& hotWaterReading, const QString& date) {
    return QStringLiteral("Account,Meter,Units,End_Date\n"
                          "Legacy Feed-In (X1I) - 110,E1,kWh,\n"
                          "Residential - 31,B1,%1,\n"
                          "Hot Water - 41,B2,%2,\n"
                          "Total,,%3,%4\n")
        .arg(exportReading, generalReading, hotWaterReading, date)
        .toUtf8();
}

class ImportTest : public testing::Test {
protected:
    void SetUp() override {
        form_ = &fx_.Make();
        original_ = Fields();
    }
    TForm1& f() { return *form_; }
    QString BillFolder() const { return fx_.platform.billFolder; }
    QString AddBill(const QString& name, const QByteArray& content,
                    const QDateTime& modified = Base) {
        QDir().mkpath(BillFolder());
        const QString path = BillFolder() + QStringLiteral("/") + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        // Written out first, or closing the file would stamp it again.
        file.flush();
        EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        return path;
    }
    void ClickImport() {
        f().Guard([&] { f().csvloadbtn->Click(); });
    }
    QStringList Fields() {
        return {f().dt1->Date().toString(Qt::ISODate), f().exportoriged->Text(),
                f().importgenoriged->Text(), f().importhworiged->Text()};
    }
    // A refused import: exactly one message or error box, nothing asked,
    // nothing changed.
    void ExpectRefused() {
        EXPECT_TRUE(fx_.dialogs.questions.isEmpty());
        EXPECT_TRUE(fx_.dialogs.infos.isEmpty());
        EXPECT_EQ(fx_.dialogs.messages.size() + fx_.dialogs.errors.size(), 1);
        EXPECT_EQ(Fields(), original_);
    }

    FormFixture fx_;
    TForm1* form_ = nullptr;
    QStringList original_;
};

} // namespace

TEST_F(ImportTest, WorkedExampleAskedAndWrittenInOrderOnYes) {
    AddBill(QStringLiteral("bill.csv"), WorkedExample());
    f().solarcb->SetChecked(true);
    f().dt2->SetDate(QDate(2024, 1, 30));
    f().exportlater->SetText(QStringLiteral("2000"));

    // Each field's change event sees the date and the fields written before it.
    QStringList seen;
    for (TEdit* edit : {f().exportoriged, f().importgenoriged, f().importhworiged}) {
        edit->OnChange = [&, edit, chained = edit->OnChange](TComponent* sender) {
            seen << edit->Name() + QStringLiteral(" ") + Fields().join(QStringLiteral("|"));
            chained(sender);
        };
    }
    fx_.dialogs.answers = {true};
    ClickImport();

    EXPECT_EQ(fx_.dialogs.questions, QStringList{WorkedQuestion});
    EXPECT_EQ(Fields(), (QStringList{"2023-12-31", "1500", "2300", "812"}));
    EXPECT_EQ(seen, (QStringList{"exportoriged 2023-12-31|1500||",
                                 "importgenoriged "
                                 "2023-12-31|1500|2300|",
                                 "importhworiged 2023-12-31|1500|2300|812"}));
    // The recalculation used the new date and reading.
    EXPECT_EQ(f().dayslabel->Caption(), QStringLiteral("30"));
    EXPECT_EQ(f().exportedlabel->Caption(), QStringLiteral("500"));
    EXPECT_EQ(fx_.dialogs.infos, QStringList{QStringLiteral("Values successfully inserted.")});
    EXPECT_TRUE(fx_.dialogs.messages.isEmpty());
    EXPECT_TRUE(fx_.dialogs.errors.isEmpty());
}

TEST_F(ImportTest, AnsweringNoChangesNothing) {
    AddBill(QStringLiteral("bill.csv"), WorkedExample());
    f().exportoriged->SetText(QStringLiteral("7"));
    original_ = Fields();
    ClickImport();
    EXPECT_EQ(fx_.dialogs.questions, QStringList{WorkedQuestion});
    EXPECT_EQ(Fields(), original_);
    EXPECT_TRUE(fx_.dialogs.infos.isEmpty());
    EXPECT_TRUE(fx_.dialogs.messages.isEmpty());
}

TEST_F(ImportTest, ANewDateWithReadingsAlreadyInPlaceStillRecalculates) {
    AddBill(QStringLiteral("bill.csv"), WorkedExample());
    f().solarcb->SetChecked(true);
    f().dt2->SetDate(QDate(2024, 1, 30));
    f().exportoriged->SetText(QStringLiteral("1500"));
    f().importgenoriged->SetText(QStringLiteral("2300"));
    f().importhworiged->SetText(QStringLiteral("812"));
    ASSERT_NE(f().dayslabel->Caption(), QStringLiteral("30"));
    fx_.dialogs.answers = {true};
    ClickImport();
    EXPECT_EQ(f().dt1->Date(), QDate(2023, 12, 31));
    EXPECT_EQ(f().dayslabel->Caption(), QStringLiteral("30"));
}

TEST_F(ImportTest, NewestFileIsRead) {
    AddBill(QStringLiteral("a-newest.csv"), Bill("1", "2", "3", "01022024"), Base);
    AddBill(QStringLiteral("b-old.csv"), WorkedExample(), Base.addDays(-31));
    AddBill(QStringLiteral(".c-older.csv"), WorkedExample(), Base.addDays(-62));
    fx_.dialogs.answers = {true};
    ClickImport();
    EXPECT_EQ(Fields(), (QStringList{"2024-02-01", "1", "2", "3"}));
}

TEST_F(ImportTest, MissingOrEmptyBillFolderNamesTheFolderSearched) {
    ClickImport();
    EXPECT_EQ(
        fx_.dialogs.messages,
        QStringList{QStringLiteral("Cannot find most recent CSV file in \r\n\r\n") + BillFolder()});
    ExpectRefused();

    QDir().mkpath(BillFolder() + QStringLiteral("/folder.csv"));
    AddBill(QStringLiteral("bill.txt"), WorkedExample());
    fx_.dialogs.messages.clear();
    ClickImport();
    EXPECT_EQ(
        fx_.dialogs.messages,
        QStringList{QStringLiteral("Cannot find most recent CSV file in \r\n\r\n") + BillFolder()});
    ExpectRefused();
}

TEST_F(ImportTest, ReaderErrorsAreShownUnchanged) {
    AddBill(QStringLiteral("bill.csv"), "a,b\n1,2,3\n");
    ClickImport();
    EXPECT_EQ(fx_.dialogs.messages,
              QStringList{QStringLiteral("The record at line 2 has a different number of fields "
                                         "than is specified in the headers.\r\n(2 header "
                                         "fields, 3 fields)\r\n1,2,3")});
    ExpectRefused();
}

TEST_F(ImportTest, MissingOrEmptyReadingsStopWithTheValuesMessage) {
    const QString message = QStringLiteral("Failed to get values from CSV file.");
    const QByteArray bills[] = {
        Bill("1500", "", "812", "31122023"),
        Bill("1500", ".5", "812", "31122023"),
        QByteArray(WorkedExample()).replace("Hot Water - 41", "Hot Water -  41"),
        // Three records after the header: the values fail before the date.
        QByteArray("Account,Meter,Units,End_Date\nLegacy Feed-In (X1I) - 110,,,\n"
                   "Residential - 31,,1,\nHot Water - 41,,2,\n"),
    };
    int minutes = 0;
    for (const QByteArray& bill : bills) {
        fx_.dialogs.messages.clear();
        AddBill(QStringLiteral("bill.csv"), bill, Base.addSecs(60 * ++minutes));
        ClickImport();
        EXPECT_EQ(fx_.dialogs.messages, QStringList{message}) << bill.toStdString();
        ExpectRefused();
    }
}

TEST_F(ImportTest, MissingOrMisshapenDateStopsWithTheDateMessage) {
    const QString message = QStringLiteral("Failed to get date value from CSV file.");
    const QByteArray bills[] = {
        Bill("1500", "2300", "812", "3112202"),
        Bill("1500", "2300", "812", "311220233"),
        // The names in the header put every reading within three records,
        // but a fourth record is missing.
        QByteArray("Legacy Feed-In (X1I) - 110,Residential - 31,Hot Water - 41,End_Date\n"
                   ",,1500,2300\n812,,,\n,,,\n"),
        // A fourth record with an empty date cell.
        QByteArray("Account,Meter,Units,End_Date\nLegacy Feed-In (X1I) - 110,,,\n"
                   "Residential - 31,,1,\nHot Water - 41,,2,\n,,3,\n"),
    };
    int minutes = 0;
    for (const QByteArray& bill : bills) {
        fx_.dialogs.messages.clear();
        AddBill(QStringLiteral("bill.csv"), bill, Base.addSecs(60 * ++minutes));
        ClickImport();
        EXPECT_EQ(fx_.dialogs.messages, QStringList{message}) << bill.toStdString();
        ExpectRefused();
    }
}

TEST_F(ImportTest, DateThatIsNoNumberOrNoDateReachesTheErrorBox) {
    AddBill(QStringLiteral("bill.csv"), Bill("1500", "2300", "812", "31ab2023"));
    ClickImport();
    EXPECT_EQ(fx_.dialogs.errors,
              QStringList{QStringLiteral("''ab'' is not a valid integer value.")});
    ExpectRefused();

    fx_.dialogs.errors.clear();
    AddBill(QStringLiteral("bill.csv"), Bill("1500", "2300", "812", "31022023"), Base.addSecs(60));
    ClickImport();
    EXPECT_EQ(fx_.dialogs.errors, QStringList{QStringLiteral("Invalid argument to date encode.")});
    ExpectRefused();
}

TEST_F(ImportTest, ReadFailureReachesTheErrorBox) {
    // A link to a regular file whose reading fails with an input/output error.
    QDir().mkpath(BillFolder());
    const QString path = BillFolder() + QStringLiteral("/bill.csv");
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), path));
    ClickImport();
    ASSERT_EQ(fx_.dialogs.errors.size(), 1);
    EXPECT_TRUE(fx_.dialogs.errors[0].startsWith(QStringLiteral("Could not read the file ") + path +
                                                 QStringLiteral(": ")))
        << fx_.dialogs.errors[0].toStdString();
    EXPECT_TRUE(fx_.dialogs.errors[0].endsWith(u'.'));
    ExpectRefused();
}
