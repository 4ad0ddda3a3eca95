// The calculator's settings file under faults and attack: a file that cannot
// be read is reported once and kept, links stay links, a locked folder still
// saves, leftovers of killed copies go, odd home folders give clean names.

#include "mylib/paths.h"
#include "settings/inifile.h"
#include "support/files.h"
#include "support/formfixture.h"
#include "support/testenv.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kSuffix = QStringLiteral("/BrindleSoftware/voltisk/voltisk.ini");

QString IniPath() {
    return TestEnv::ConfigDir() + kSuffix;
}

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString Setting(const QString& file, const char* key) {
    return TIniFile(file).ReadString(QStringLiteral("Settings"), QString::fromLatin1(key),
                                     QStringLiteral("<missing>"));
}

QString Unreadable(const QString& path, const char* reason) {
    return QStringLiteral("Could not read the settings file ") + path + QStringLiteral(": ") +
           QString::fromLatin1(reason) + QStringLiteral(". Nothing will be saved to it this time.");
}

// Runs a whole session (start, a typed value, close) as the unprivileged
// user with `config` as XDG_CONFIG_HOME; gives back the error boxes and the
// settings file name.
QByteArray SessionAsUser(const QString& config) {
    return Unprivileged::Run([config] {
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        FormFixture fx;
        TForm1& f = fx.Make(false);
        f.wattsedit->SetText(QStringLiteral("75"));
        f.Destroy();
        return (f.IniSettings1->GetFullIniFilename() + u'|' + fx.dialogs.errors.join(u'|'))
            .toUtf8();
    });
}

} // namespace

TEST(SettingsFaults, AFileThatCannotBeReadIsReportedOnceAndNeverWrittenOver) {
    const Unprivileged::Dir home;
    const QString config = home.Sub(QStringLiteral("config"));
    const QString ini = config + kSuffix;
    const QByteArray before = "[Settings]\nWatts=60\nGeneralBefore=1234\n";
    Put(ini, before);
    Unprivileged::Give(config + QStringLiteral("/BrindleSoftware"));
    Unprivileged::Give(config + QStringLiteral("/BrindleSoftware/voltisk"));
    Unprivileged::Give(ini);
    QFile::setPermissions(ini, QFileDevice::WriteOwner);

    EXPECT_EQ(SessionAsUser(config), (ini + u'|' + Unreadable(ini, "Permission denied")).toUtf8());
    EXPECT_EQ(ReadBytes(ini), before);
}

TEST(SettingsFaults, FifosDevicesAndFoldersAtTheSettingsPathAreKeptAndNeverBlock) {
    QDir().mkpath(QFileInfo(IniPath()).path());
    const QByteArray path = QFile::encodeName(IniPath());
    const std::vector<std::pair<std::function<bool()>, const char*>> odd{
        {[&] { return ::mkfifo(path.constData(), 0600) == 0; }, "Not a regular file"},
        {[&] { return ::symlink("/dev/zero", path.constData()) == 0; }, "Not a regular file"},
        {[&] { return ::mkdir(path.constData(), 0700) == 0; }, "Is a directory"},
    };
    for (const auto& [make, reason] : odd) {
        ASSERT_TRUE(make());
        FormFixture fx;
        TForm1& f = fx.Make();
        EXPECT_EQ(fx.dialogs.errors, QStringList{Unreadable(IniPath(), reason)});
        // Start-up values, as on a first run.
        EXPECT_EQ(f.generalrateed->Text(), QStringLiteral("0.28283"));
        f.Edit6->SetText(QStringLiteral("5"));
        f.Destroy();
        EXPECT_EQ(fx.dialogs.errors.size(), 1) << "told once, not again at close";
        struct stat st {};
        ASSERT_EQ(::lstat(path.constData(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode)) << reason;
        ASSERT_EQ(::remove(path.constData()), 0);
    }
}

TEST(SettingsFaults, ALinkedSettingsFileStaysLinkedAndItsTargetIsSaved) {
    const QString dotfiles = TestEnv::ConfigDir() + QStringLiteral("/dotfiles");
    Put(dotfiles + QStringLiteral("/voltisk.ini"), "[Settings]\n; mine\nWatts=60\n");
    QDir().mkpath(QFileInfo(IniPath()).path());
    ASSERT_TRUE(QFile::link(QStringLiteral("../../dotfiles/voltisk.ini"), IniPath()));
    {
        FormFixture fx;
        TForm1& f = fx.Make();
        EXPECT_EQ(f.wattsedit->Text(), QStringLiteral("60"));
        f.wattsedit->SetText(QStringLiteral("75"));
        f.Edit7->SetText(QStringLiteral("4321"));
        f.Destroy();
        EXPECT_TRUE(fx.dialogs.errors.isEmpty()) << fx.dialogs.errors.join('\n').toStdString();
    }
    EXPECT_TRUE(QFileInfo(IniPath()).isSymLink());
    const QString real = dotfiles + QStringLiteral("/voltisk.ini");
    EXPECT_EQ(Setting(real, "Watts"), QStringLiteral("75"));
    EXPECT_EQ(Setting(real, "GeneralAfter"), QStringLiteral("4321"));
    EXPECT_TRUE(ReadBytes(real).startsWith("[Settings]\n; mine\n"));
    EXPECT_EQ(QDir(dotfiles).entryList(QDir::Files | QDir::Hidden), QStringList{"voltisk.ini"});
}

TEST(SettingsFaults, ALockedFolderStillSavesAWritableFileAndReportsAReadOnlyOne) {
    const Unprivileged::Dir home;
    const QString config = home.Sub(QStringLiteral("config"));
    const QString folder = home.Sub(QStringLiteral("config/BrindleSoftware/voltisk"));
    Unprivileged::Give(config + QStringLiteral("/BrindleSoftware"));
    const QString ini = config + kSuffix;
    Put(ini, "[Settings]\nWatts=60\n");
    Unprivileged::Give(ini);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);

    EXPECT_EQ(SessionAsUser(config), (ini + u'|').toUtf8());
    EXPECT_EQ(Setting(ini, "Watts"), QStringLiteral("75"));
    EXPECT_EQ(Setting(ini, "Hours"), QStringLiteral("1"));

    QFile::setPermissions(ini, QFileDevice::ReadOwner);
    EXPECT_EQ(SessionAsUser(config),
              (ini + QStringLiteral("|Unable to write to ") + ini + u'.').toUtf8());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"voltisk.ini"});
}

TEST(SettingsFaults, LeftoversOfKilledCopiesGoAtStartAndARunningCopysStay) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const QString folder = QFileInfo(IniPath()).path() + u'/';
    const QString dead = QString::number(child);
    const QString alive = QString::number(::getpid());
    Put(folder + "voltisk.ini.~" + dead, "half");
    Put(folder + ".voltisk.ini.~" + dead + ".abcdefghijkl", "half");
    Put(folder + ".report_20261208.html.~" + dead + ".abcdefghijkl", "half");
    Put(folder + ".voltisk.ini.~" + alive + ".abcdefghijkl", "busy");
    FormFixture fx;
    fx.Make(false);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden),
              QStringList{".voltisk.ini.~" + alive + ".abcdefghijkl"});
}

TEST(SettingsFaults, OddHomeFoldersGiveCleanNames) {
    const Unprivileged::Dir home;
    const QByteArray rootHome = Unprivileged::Run([] {
        qunsetenv("XDG_CONFIG_HOME");
        qputenv("HOME", "/");
        FormFixture fx;
        TForm1& f = fx.Make(false);
        f.Destroy();
        return fx.dialogs.errors.join(u'|').toUtf8();
    });
    EXPECT_EQ(rootHome, "Unable to write to /.config/BrindleSoftware/voltisk/voltisk.ini.");

    // Without HOME and XDG_CONFIG_HOME the name is relative to the current
    // folder; a relative XDG_CONFIG_HOME is ignored.
    const QByteArray relative = Unprivileged::Run([&] {
        qputenv("XDG_CONFIG_HOME", "not/absolute");
        qunsetenv("HOME");
        if (::chdir(QFile::encodeName(home.path()).constData()) != 0) {
            return QByteArray("no chdir");
        }
        FormFixture fx;
        TForm1& f = fx.Make(false);
        f.Destroy();
        return (f.IniSettings1->GetFullIniFilename() + u'|' + fx.dialogs.errors.join(u'|'))
            .toUtf8();
    });
    EXPECT_EQ(relative, "BrindleSoftware/voltisk/voltisk.ini|");
    EXPECT_EQ(Setting(home.path() + kSuffix, "Hours"), QStringLiteral("1"));
}

TEST(SettingsFaults, AnUnattendedSaveStoresEverythingOrSaysWhyWithoutABox) {
    {
        FormFixture fx;
        TForm1& f = fx.Make();
        f.Edit6->SetText(QStringLiteral("111"));
        EXPECT_EQ(f.SaveSettingsUnattended(), std::nullopt);
        EXPECT_EQ(Setting(IniPath(), "GeneralBefore"), QStringLiteral("111"));
        EXPECT_EQ(Setting(IniPath(), "Hours"), QStringLiteral("1"));
    }
    // A file where the folder should be: nothing can be saved.
    QDir(TestEnv::ConfigDir()).removeRecursively();
    Put(TestEnv::ConfigDir() + QStringLiteral("/BrindleSoftware"), "a file");
    FormFixture fx;
    TForm1& f = fx.Make();
    EXPECT_EQ(f.SaveSettingsUnattended(), QStringLiteral("Unable to write to ") + IniPath());
    EXPECT_TRUE(fx.dialogs.errors.isEmpty());
}
