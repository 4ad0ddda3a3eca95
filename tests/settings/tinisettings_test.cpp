#include "settings/tinisettings.h"

#include "mylib/errors.h"
#include "settings/inifile.h"
#include "support/files.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <tuple>

namespace {

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(WriteBytes(path, bytes));
}

struct FixedScreen : TScreen {
    QRect area{0, 0, 1920, 1080};
    QRect Geometry() const override { return area; }
};

QString Folder() {
    return TestEnv::ConfigDir() + QStringLiteral("/BrindleSoftware/voltisk");
}
QString IniPath() {
    return Folder() + QStringLiteral("/voltisk.ini");
}

class SettingsTest : public testing::Test {
protected:
    SettingsTest() {
        ini.SetProductName(QStringLiteral("voltisk"));
        ini.Screen = &screen;
    }
    // Starts from a file holding `text`.
    void Given(const QByteArray& text) { Put(IniPath(), text); }

    FixedScreen screen;
    TIniSettings ini{nullptr, QStringLiteral("IniSettings1")};
    const QString S = QStringLiteral("Settings");
};

TEST(IniSettingsNames, DeriveTheFileFromCompanyAndProduct) {
    TIniSettings ini(nullptr, QStringLiteral("IniSettings1"));
    EXPECT_EQ(ini.CompanyName(), "BrindleSoftware");
    EXPECT_EQ(ini.ProductName(), "Product1");
    EXPECT_EQ(ini.GetFullIniFilename(),
              TestEnv::ConfigDir() + QStringLiteral("/BrindleSoftware/Product1/Product1.ini"));

    ini.SetCompanyName(QStringLiteral("Acme"));
    EXPECT_EQ(ini.IniFileName(),
              TestEnv::ConfigDir() + QStringLiteral("/Acme/Product1/Product1.ini"));
    ini.SetIniFileName(QStringLiteral("/somewhere/else.ini"));
    EXPECT_EQ(ini.IniFileName(), "/somewhere/else.ini");
    ini.SetProductName(QStringLiteral("tool"));
    EXPECT_EQ(ini.IniFileName(), TestEnv::ConfigDir() + QStringLiteral("/Acme/tool/tool.ini"));

    // An empty product name leaves a derived name alone ...
    ini.SetProductName(QString());
    EXPECT_EQ(ini.IniFileName(), TestEnv::ConfigDir() + QStringLiteral("/Acme/tool/tool.ini"));
    // ... and, once the name is cleared, reads as empty while a use still
    // opens ".ini" directly in the company folder.
    ini.SetIniFileName(QString());
    EXPECT_EQ(ini.IniFileName(), "");
    ini.writestring(QStringLiteral("K"), QStringLiteral("1"), QStringLiteral("S"));
    EXPECT_EQ(ReadBytes(TestEnv::ConfigDir() + QStringLiteral("/Acme/.ini")), "[S]\nK=1\n");
    EXPECT_EQ(ini.IniFileName(), TestEnv::ConfigDir() + QStringLiteral("/Acme/.ini"));
}

TEST(IniSettingsNames, AnOpenFileStaysBoundToItsName) {
    TIniSettings ini(nullptr, QStringLiteral("IniSettings1"));
    ini.SetProductName(QStringLiteral("voltisk"));
    ini.writestring(QStringLiteral("K"), QStringLiteral("1"), QStringLiteral("S"));
    ini.SetProductName(QStringLiteral("renamed"));
    ini.SetIniFileName(TestEnv::ConfigDir() + QStringLiteral("/other.ini"));
    ini.writestring(QStringLiteral("K"), QStringLiteral("2"), QStringLiteral("S"));
    EXPECT_EQ(ReadBytes(IniPath()), "[S]\nK=2\n");
    EXPECT_FALSE(QFileInfo::exists(TestEnv::ConfigDir() + QStringLiteral("/other.ini")));
    EXPECT_EQ(ini.IniFileName(), TestEnv::ConfigDir() + QStringLiteral("/other.ini"));
}

TEST(IniSettingsNames, UnknownApplicationDataFolderGivesARelativePath) {
    const QString work = TestEnv::ConfigDir() + QStringLiteral("/cwd");
    ASSERT_TRUE(QDir().mkpath(work));
    {
        struct InFolder {
            QString before = QDir::currentPath();
            explicit InFolder(const QString& f) { QDir::setCurrent(f); }
            ~InFolder() { QDir::setCurrent(before); }
        } inWork(work);
        TIniSettings ini(nullptr, QStringLiteral("IniSettings1"));
        ini.AppData = QString();
        ini.SetProductName(QStringLiteral("voltisk"));
        EXPECT_EQ(ini.GetFullIniFilename(), "BrindleSoftware/voltisk/voltisk.ini");
        ini.writebool(QStringLiteral("B"), true, QStringLiteral("Settings"));
    }
    EXPECT_EQ(ReadBytes(work + QStringLiteral("/BrindleSoftware/voltisk/voltisk.ini")),
              "[Settings]\nB=1\n");
}

TEST_F(SettingsTest, FirstUseCreatesTheFolderOnReadAndTheFileOnWrite) {
    EXPECT_FALSE(QFileInfo::exists(Folder()));
    EXPECT_EQ(ini.readstring(QStringLiteral("K"), QStringLiteral("def"), S), "def");
    EXPECT_TRUE(QFileInfo(Folder()).isDir());
    EXPECT_FALSE(QFileInfo::exists(IniPath())) << "a read creates no file";
    ini.writestring(QStringLiteral("K"), QStringLiteral("v"), S);
    EXPECT_EQ(ReadBytes(IniPath()), "[Settings]\nK=v\n");
}

TEST_F(SettingsTest, StringsAndIntegers) {
    Given("[Settings]\nEmpty=\nSpaced=  a b  \nDec=-42\nPlus=+7\nHex1=0x1F\nHex2=0X1F\nHex3=$1F\n"
          "HexAll=$FFFFFFFF\nBad=12abc\nBlankHex=0x\nBig=2147483648\nLow=-2147483648\n"
          "TooLong=$100000000\nFloaty=1.5\n");
    EXPECT_EQ(ini.readstring(QStringLiteral("Empty"), QStringLiteral("def"), S), "");
    EXPECT_EQ(ini.readstring(QStringLiteral("Absent"), QStringLiteral("def"), S), "def");
    EXPECT_EQ(ini.readstring(QStringLiteral("spaced"), QString(), QStringLiteral("SETTINGS")),
              "a b");

    auto integer = [&](const char* key) {
        return ini.readinteger(QString::fromLatin1(key), 99, S);
    };
    EXPECT_EQ(integer("Dec"), -42);
    EXPECT_EQ(integer("Plus"), 7);
    EXPECT_EQ(integer("Hex1"), 31);
    EXPECT_EQ(integer("Hex2"), 31);
    EXPECT_EQ(integer("Hex3"), 31);
    EXPECT_EQ(integer("HexAll"), -1);
    EXPECT_EQ(integer("Low"), -2147483647 - 1);
    for (const char* bad : {"Bad", "BlankHex", "Big", "TooLong", "Floaty", "Empty", "Absent"}) {
        EXPECT_EQ(integer(bad), 99) << bad;
    }

    ini.writeinteger(QStringLiteral("Dec"), -2147483647 - 1, S);
    EXPECT_EQ(ini.readstring(QStringLiteral("Dec"), QString(), S), "-2147483648");
}

TEST_F(SettingsTest, TruthValuesAreIntegers) {
    Given("[Settings]\nTwo=2\nYes=yes\nZero=0\nMinus=-1\n");
    for (bool def : {false, true}) {
        EXPECT_TRUE(ini.readbool(QStringLiteral("Two"), def, S));
        EXPECT_TRUE(ini.readbool(QStringLiteral("Minus"), def, S));
        EXPECT_FALSE(ini.readbool(QStringLiteral("Zero"), def, S));
        EXPECT_EQ(ini.readbool(QStringLiteral("Yes"), def, S), def);
        EXPECT_EQ(ini.readbool(QStringLiteral("Absent"), def, S), def);
    }
    ini.writebool(QStringLiteral("Two"), false, S);
    ini.writebool(QStringLiteral("Yes"), true, S);
    EXPECT_EQ(ReadBytes(IniPath()), "[Settings]\nTwo=0\nYes=1\nZero=0\nMinus=-1\n");
}

TEST_F(SettingsTest, FloatsFollowTheLocale) {
    ini.Locale = QLocale(QStringLiteral("de_DE"));
    ini.writefloat(QStringLiteral("Rate"), 0.28283, S);
    ini.writefloat(QStringLiteral("Tiny"), 0.00005, S);
    ini.writefloat(QStringLiteral("Third"), 1.0 / 3.0, S);
    EXPECT_EQ(ReadBytes(IniPath()),
              "[Settings]\nRate=0,28283\nTiny=5E-5\nThird=0,333333333333333\n");
    EXPECT_DOUBLE_EQ(ini.readfloat(QStringLiteral("Rate"), -1, S), 0.28283);
    EXPECT_DOUBLE_EQ(ini.readfloat(QStringLiteral("Tiny"), -1, S), 0.00005);

    ini.writestring(QStringLiteral("Dotted"), QStringLiteral("1.5"), S);
    ini.writestring(QStringLiteral("Empty"), QString(), S);
    ini.writestring(QStringLiteral("Inf"), QStringLiteral("inf"), S);
    for (const char* key : {"Dotted", "Empty", "Inf", "Absent"}) {
        EXPECT_EQ(ini.readfloat(QString::fromLatin1(key), -1.25, S), -1.25) << key;
    }
    ini.Locale = QLocale(QStringLiteral("en_US"));
    EXPECT_DOUBLE_EQ(ini.readfloat(QStringLiteral("Dotted"), -1, S), 1.5);
}

class WindowPosTest : public SettingsTest {
protected:
    WindowPosTest() { window.SetBounds(500, 300, 800, 600); }
    TForm window{QStringLiteral("Form1")};
};

TEST_F(WindowPosTest, KeepsTheWindowReachable) {
    struct Case {
        QByteArray stored;
        int left, top;
    };
    const Case cases[] = {
        {"Left=-900\nTop=100", 0, 100},     // -900 + 800 < 60
        {"Left=-741\nTop=100", 0, 100},     // 59 < 60
        {"Left=-740\nTop=100", -740, 100},  // 60 is still reachable
        {"Left=1900\nTop=100", 1120, 100},  // 1900 > 1860
        {"Left=1860\nTop=100", 1860, 100},  // on the edge: stays
        {"Left=10\nTop=-545", 10, 0},       // 55 < 60
        {"Left=10\nTop=1021", 10, 480},     // 1021 > 1020
        {"Left=10\nTop=1020", 10, 1020},    // stays
        {"Left=-1\nTop=-1", 500, 300},      // -1 keeps the position
        {"Top=20", 500, 20},                // a missing key too
        {"Left=x\nTop=$10", 500, 16},       // an unreadable one too
        {"Left=2147483647\nTop=0", 1120, 0} // no overflow
    };
    for (const Case& c : cases) {
        window.SetBounds(500, 300, 800, 600);
        Given("[Settings]\n" + c.stored + "\nWidth=100\nHeight=100\n");
        ini.readwindowpos(&window, QString());
        EXPECT_EQ(window.Left(), c.left) << c.stored.constData();
        EXPECT_EQ(window.Top(), c.top) << c.stored.constData();
        EXPECT_EQ(window.Width(), 800) << "a fixed-size window keeps its size";
        EXPECT_EQ(window.Height(), 600);
        EXPECT_EQ(window.WindowState(), TWindowState::wsNormal);
    }
}

TEST_F(WindowPosTest, MaximisesLastAndNeverUnmaximises) {
    Given("[Settings]\nLeft=-900\nTop=50\nMaximized=1\n");
    ini.readwindowpos(&window, QString());
    EXPECT_EQ(window.WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(window.Left(), 0) << "the normal rectangle is placed as well";
    EXPECT_EQ(window.Top(), 50);

    for (const QByteArray& stored : {QByteArray("Maximized=0\n"), QByteArray("Other=1\n")}) {
        Given("[Settings]\n" + stored);
        window.SetWindowState(TWindowState::wsMaximized);
        ini.readwindowpos(&window, QString());
        EXPECT_EQ(window.WindowState(), TWindowState::wsMaximized) << stored.constData();
    }
    Given("[Settings]\nMaximized=0\nLeft=5\n");
    window.SetWindowState(TWindowState::wsMinimized);
    ini.readwindowpos(&window, QString());
    EXPECT_EQ(window.WindowState(), TWindowState::wsMinimized);
    EXPECT_EQ(window.Left(), 5);
}

TEST_F(WindowPosTest, SizeableWindowsStoreTheirSizeUnderAPrefix) {
    window.Sizeable = true;
    window.SetBounds(40, 50, 640, 480);
    ini.writestring(QStringLiteral("Before"), QStringLiteral("kept"), S);
    ini.writewindowpos(&window, QStringLiteral("Tool"));
    EXPECT_EQ(ReadBytes(IniPath()),
              "[Settings]\nBefore=kept\nToolMaximized=0\nToolLeft=40\nToolTop=50\n"
              "ToolWidth=640\nToolHeight=480\n");

    window.SetBounds(0, 0, 100, 100);
    ini.readwindowpos(&window, QStringLiteral("Tool"));
    EXPECT_EQ(window.Left(), 40);
    EXPECT_EQ(window.Top(), 50);
    EXPECT_EQ(window.Width(), 640);
    EXPECT_EQ(window.Height(), 480);

    // The stored width counts in the reachability check.
    Given("[Settings]\nToolLeft=1900\nToolTop=0\nToolWidth=1000\nToolHeight=-1\n");
    ini.readwindowpos(&window, QStringLiteral("Tool"));
    EXPECT_EQ(window.Left(), 920);
    EXPECT_EQ(window.Width(), 1000);
    EXPECT_EQ(window.Height(), 480) << "-1 keeps the current height";
}

TEST_F(WindowPosTest, AnySizeButMinusOneReplacesASizeableWindowsSize) {
    window.Sizeable = true;
    for (auto [stored, width, height] : {std::tuple{QByteArray("Width=0\nHeight=-5\n"), 0, -5},
                                         std::tuple{QByteArray("Width=-2\nHeight=0\n"), -2, 0},
                                         std::tuple{QByteArray("Width=-1\nHeight=-1\n"), 800, 600},
                                         std::tuple{QByteArray("Width=x\nHeight=\n"), 800, 600}}) {
        window.SetBounds(500, 300, 800, 600);
        Given("[Settings]\nLeft=100\nTop=100\n" + stored);
        ini.readwindowpos(&window, QString());
        EXPECT_EQ(window.Width(), width) << stored.constData();
        EXPECT_EQ(window.Height(), height) << stored.constData();
        EXPECT_EQ(window.Left(), 100) << stored.constData();
    }
    window.Sizeable = false;
    window.SetBounds(500, 300, 800, 600);
    Given("[Settings]\nWidth=0\nHeight=-5\n");
    ini.readwindowpos(&window, QString());
    EXPECT_EQ(window.Width(), 800) << "a fixed-size window keeps its size";
    EXPECT_EQ(window.Height(), 600);
}

TEST_F(WindowPosTest, FixedWindowsStoreNoSize) {
    window.SetWindowState(TWindowState::wsMaximized);
    ini.writewindowpos(&window, QString());
    EXPECT_EQ(ReadBytes(IniPath()), "[Settings]\nMaximized=1\nLeft=500\nTop=300\n");
}

TEST_F(WindowPosTest, WithoutAScreenThePositionIsPutBack) {
    ini.Screen = nullptr;
    Given("[Settings]\nLeft=-900\nTop=7\nMaximized=1\n");
    ini.readwindowpos(&window, QString());
    EXPECT_EQ(window.Left(), 500);
    EXPECT_EQ(window.Top(), 300);
    EXPECT_EQ(window.WindowState(), TWindowState::wsMaximized);
}

TEST_F(WindowPosTest, OnlyTheStateFailureReachesTheCaller) {
    Given("[Settings]\nLeft=1\n");
    QFile::setPermissions(IniPath(), QFileDevice::ReadOwner);
    try {
        ini.writewindowpos(&window, QString());
        ADD_FAILURE() << "a read-only file was written";
    } catch (const EVoltiskError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + IniPath());
    }
    EXPECT_EQ(ReadBytes(IniPath()), "[Settings]\nLeft=1\n");
    QFile::setPermissions(IniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(SettingsTest, FontsRoundTripAndMissingKeysKeepAttributes) {
    TFont font;
    font.Name = QStringLiteral("Tahoma");
    font.Size = 11;
    font.Color = clWindowText;
    font.CharSet = 0;
    font.Bold = true;
    font.StrikeOut = true;
    ini.writefont(QStringLiteral("Font"), font);
    EXPECT_EQ(ReadBytes(IniPath()), "[Font]\nFontName=Tahoma\nFontSize=11\nFontColor=-2147483640\n"
                                    "FontCharSet=0\nFontStyle=9\n");
    TFont other;
    TFont& same = ini.readfont(QStringLiteral("Font"), other);
    EXPECT_EQ(&same, &other);
    EXPECT_EQ(other, font);

    Given("[Font]\nFontSize=20\nFontColor=$0000FF\nFontCharSet=300\nFontStyle=junk\n");
    TFont kept;
    kept.Name = QStringLiteral("Calibri");
    kept.Italic = true;
    ini.readfont(QStringLiteral("font"), kept);
    EXPECT_EQ(kept.Name, "Calibri");
    EXPECT_EQ(kept.Size, 20);
    EXPECT_EQ(kept.Color, clRed);
    EXPECT_EQ(kept.CharSet, 1) << "a character set beyond 255 is ignored";
    EXPECT_TRUE(kept.Italic);
    EXPECT_FALSE(kept.Bold);
}

// A window with a few elements for storing properties by name.
struct Panel {
    TForm form{QStringLiteral("Panel")};
    TEdit edit{&form, QStringLiteral("Edit1"), &form};
    TCheckBox box{&form, QStringLiteral("Check1"), &form};
    TDateTimePicker picker{&form, QStringLiteral("Picker1"), &form};
    TEdit skipped{&form, QStringLiteral("Skipped"), &form};
    Panel() { skipped.SetText(QStringLiteral("Skipped")); }
};

TEST_F(SettingsTest, ControlsStoreTheirPublishedProperties) {
    Panel p;
    p.edit.SetText(QStringLiteral(" typed "));
    p.edit.SetHint(QStringLiteral("hint"));
    p.box.SetChecked(true);
    p.skipped.SetText(QStringLiteral("secret"));
    const QStringList props{"Text", "Checked", "Caption", "Visible", "Nonsense"};
    const QStringList excluded{"Skipped", "edit1"}; // names compare exactly
    ini.SaveControls(&p.form, props, excluded);
    EXPECT_EQ(ReadBytes(IniPath()),
              "[Panel]\nEdit1.Text= typed \nEdit1.Visible=True\nCheck1.Checked=True\n"
              "Check1.Caption=\nCheck1.Visible=True\nPicker1.Visible=True\n");

    Panel q;
    q.edit.SetText(QStringLiteral("old"));
    q.box.SetCaption(QStringLiteral("kept, stored empty"));
    int clicks = 0;
    q.box.OnClick = [&](TComponent*) { ++clicks; };
    ini.writestring(QStringLiteral("Picker1.Visible"), QStringLiteral("False"),
                    QStringLiteral("Panel"));
    ini.writestring(QStringLiteral("Skipped.Text"), QStringLiteral("ignored"),
                    QStringLiteral("Panel"));
    ini.LoadControls(&q.form, props, excluded);
    EXPECT_EQ(q.edit.Text(), "typed") << "read back trimmed";
    EXPECT_TRUE(q.box.Checked());
    EXPECT_EQ(clicks, 1) << "setting the property runs its event";
    EXPECT_EQ(q.box.Caption(), "kept, stored empty");
    EXPECT_FALSE(q.picker.Visible());
    EXPECT_EQ(q.skipped.Text(), "Skipped");
}

TEST_F(SettingsTest, ControlsToAndFromAnotherFile) {
    const QString other = TestEnv::ConfigDir() + QStringLiteral("/layout.ini");
    Panel p;
    p.edit.SetText(QStringLiteral("elsewhere"));
    ini.SaveControlsToFile(other, &p.form, {"Text"}, {});
    EXPECT_EQ(ReadBytes(other), "[Panel]\nEdit1.Text=elsewhere\nSkipped.Text=Skipped\n");
    EXPECT_FALSE(QFileInfo::exists(IniPath())) << "the own file is not written";

    Panel q;
    ini.LoadControlsFromFile(other, &q.form, {"Text"}, {"Skipped"});
    EXPECT_EQ(q.edit.Text(), "elsewhere");

    TIniFile direct(other);
    direct.WriteString(QStringLiteral("Panel"), QStringLiteral("Edit1.Text"), QStringLiteral("d"));
    ini.LoadControls(&q.form, {"Text"}, {}, &direct);
    EXPECT_EQ(q.edit.Text(), "d");
}

TEST_F(SettingsTest, WriteFailuresNameTheFileAndStopTheWrites) {
    Given("[Settings]\nA=1\n");
    QFile::setPermissions(IniPath(), QFileDevice::ReadOwner);
    const QString message = "Unable to write to " + IniPath();
    auto expectFailure = [&](const char* what, auto&& write) {
        try {
            write();
            ADD_FAILURE() << what << " wrote a read-only file";
        } catch (const EVoltiskError& e) {
            EXPECT_EQ(e.Message(), message) << what;
        }
    };
    expectFailure("writestring", [&] { ini.writestring("A", "2", S); });
    expectFailure("writeinteger", [&] { ini.writeinteger("A", 2, S); });
    expectFailure("writebool", [&] { ini.writebool("A", false, S); });
    expectFailure("writefloat", [&] { ini.writefloat("A", 2.5, S); });
    expectFailure("writefont", [&] { ini.writefont(S, TFont()); });
    expectFailure("EraseSection", [&] { ini.EraseSection(S); });
    Panel p;
    expectFailure("SaveControls", [&] { ini.SaveControls(&p.form, {"Text"}, {}); });
    EXPECT_FALSE(ini.DeleteKey(QStringLiteral("A"), S)) << "DeleteKey passes over the failure";
    EXPECT_EQ(ReadBytes(IniPath()), "[Settings]\nA=1\n");
    EXPECT_EQ(ini.readinteger(QStringLiteral("A"), 0, S), 1) << "reads still work";
    QFile::setPermissions(IniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(SettingsTest, DeleteKeyAndEraseSection) {
    Given("[Settings]\nA=1\nB=2\n[Other]\nC=3\n");
    EXPECT_TRUE(ini.DeleteKey(QStringLiteral("a"), S));
    EXPECT_FALSE(ini.DeleteKey(QStringLiteral("A"), S));
    EXPECT_TRUE(ini.EraseSection(QStringLiteral("other")));
    EXPECT_FALSE(ini.EraseSection(QStringLiteral("Other")));
    EXPECT_EQ(ReadBytes(IniPath()), "[Settings]\nB=2\n");
}

} // namespace
