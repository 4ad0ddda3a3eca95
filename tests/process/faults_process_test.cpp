// The real program under faults and attack: a FIFO as its settings file,
// links planted where it writes, a shared temporary folder taken by another
// user, an empty lock, and the display going away under it.

#include "session.h"
#include "support/unprivileged.h"

#include <QDate>
#include <QSettings>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void Put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

mode_t TypeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

qint64 DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

const QByteArray kStored = "[Settings]\nDailyServiceCharge=1.1\nGeneralChargePerUnit=0.3\n"
                           "GeneralBefore=1000\nGeneralAfter=1300\nExportAfter=20\n"
                           "StandardReadings=0\nShowHotWater=0\n";

// A private X server that picks a free display itself.
class PrivateX {
public:
    PrivateX() {
        server_.setProgram(QStringLiteral("Xvfb"));
        server_.setArguments(
            {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1280x1024x24"});
        server_.start();
        if (!server_.waitForStarted(10000)) {
            return;
        }
        for (int i = 0; i < 200 && !display_.endsWith('\n'); ++i) {
            server_.waitForReadyRead(100);
            display_ += server_.readAllStandardOutput();
        }
        display_ = display_.trimmed();
    }
    ~PrivateX() { Kill(); }
    QString Display() const { return display_.isEmpty() ? QString() : ":" + display_; }
    void Kill() {
        if (server_.state() != QProcess::NotRunning) {
            server_.kill();
            server_.waitForFinished(10000);
            // A killed server leaves its socket and lock behind.
            QFile::remove("/tmp/.X11-unix/X" + display_);
            QFile::remove("/tmp/.X" + display_ + "-lock");
        }
    }

private:
    QProcess server_;
    QByteArray display_;
};

} // namespace

TEST(ProcessFaults, AFifoAsTheSettingsFileNeitherBlocksNorIsWritten) {
    Session s;
    QDir().mkpath(s.folder());
    ASSERT_EQ(::mkfifo(QFile::encodeName(s.ini()).constData(), 0600), 0);
    // Gone once start-up has looked at the settings folder.
    const QString leftover =
        s.folder() + "/.voltisk.ini.~" + QString::number(DeadPid()) + ".abcdefghijkl";
    Put(leftover, "half");
    auto p = s.Start();
    ASSERT_TRUE(Session::WaitFor([&] { return !QFile::exists(leftover); }));
    // Start-up now shows the error box about the file; whatever it waits for,
    // SIGTERM ends it in well under five seconds.
    p->terminate();
    EXPECT_TRUE(p->waitForFinished(5000));
    EXPECT_EQ(TypeOf(s.ini()), S_IFIFO);
    // Nothing was written into it: no writer holds it, and reading ends at once.
    const int fd = ::open(QFile::encodeName(s.ini()).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    char c = 0;
    EXPECT_EQ(::read(fd, &c, 1), 0);
    ::close(fd);
}

TEST(ProcessFaults, LinksPlantedAtTheWritersNamesAreNeverFollowed) {
    Session s;
    Put(s.ini(), kStored);
    const QString precious = s.root() + "/precious";
    Put(precious, "precious");
    auto p = s.Start();
    // Every name an earlier version would have picked for this process.
    const QString pid = QString::number(p->processId());
    const QString report = "report_" + QDate::currentDate().toString("yyyyMMdd") + ".html";
    QStringList planted;
    for (const QString& name : {QStringLiteral("voltisk.ini"), report}) {
        planted << name + ".~" + pid << "." + name + ".~" + pid;
    }
    for (const QString& name : planted) {
        ASSERT_TRUE(QFile::link(precious, s.folder() + '/' + name));
    }
    ASSERT_TRUE(s.WaitUntilShown());
    p->terminate();
    ASSERT_TRUE(EndsCleanly(*p));

    EXPECT_EQ(Bytes(precious), "precious");
    EXPECT_EQ(TypeOf(s.ini()), S_IFREG);
    const QSettings after(s.ini(), QSettings::IniFormat);
    EXPECT_EQ(after.value("Settings/GeneralAfter").toString(), "1300");
    EXPECT_EQ(after.value("Settings/Hours").toString(), "1");
    for (const QString& name : planted) {
        EXPECT_EQ(TypeOf(s.folder() + '/' + name), S_IFLNK) << name.toStdString();
    }
}

TEST(ProcessFaults, AnotherUsersFolderInTheSharedTemporaryFolderNeitherStopsNorHoldsTheStart) {
    Session s;
    const QString temp = s.root() + "/tmp";
    const QString home = s.root() + "/home";
    QDir().mkpath(temp);
    QDir().mkpath(home);
    s.env.remove("XDG_RUNTIME_DIR");
    s.env.remove("XDG_CACHE_HOME");
    s.env.insert("TMPDIR", temp);
    s.env.insert("HOME", home);
    // Planted as another user: a folder of this user's name with a lock in it.
    const QString taken = temp + "/voltisk-" + QString::number(::geteuid());
    Put(taken + "/Voltisk IS RUNNING.lock", "");
    ::chmod(QFile::encodeName(taken).constData(), 0755);
    Unprivileged::Give(taken);

    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown()) << "the start did not end in silence";
    const QString own = home + "/.cache/voltisk-" + QString::number(::geteuid());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(TypeOf(own + "/VOLTISK"), S_IFSOCK);

    auto second = s.Start();
    EXPECT_TRUE(EndsCleanly(*second));
    EXPECT_TRUE(WaitForErrorOutput(*first, "Activated by a second copy"));
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
    EXPECT_FALSE(QFile::exists(own + "/VOLTISK"));
    EXPECT_FALSE(QFile::exists(own + "/Voltisk IS RUNNING.lock"));
}

TEST(ProcessFaults, AnEmptyLockLeftByACrashDoesNotBlockTheStart) {
    Session s;
    Put(s.LockPath(), "");
    auto first = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    EXPECT_TRUE(Bytes(s.LockPath()).startsWith(QByteArray::number(first->processId()) + '\n'));
    auto second = s.Start();
    EXPECT_TRUE(EndsCleanly(*second));
    EXPECT_TRUE(WaitForErrorOutput(*first, "Activated by a second copy"));
    first->terminate();
    ASSERT_TRUE(EndsCleanly(*first));
    const QByteArray log = first->readAllStandardError();
    EXPECT_TRUE(log.contains("taking it over")) << log.toStdString();
}

TEST(ProcessFaults, WhenTheDisplayGoesAwayEveryValueIsSavedAndTheLockRemoved) {
    PrivateX x;
    ASSERT_FALSE(x.Display().isEmpty()) << "Xvfb did not start";
    Session s;
    Put(s.ini(), kStored);
    s.env.insert("QT_QPA_PLATFORM", "xcb");
    s.env.insert("DISPLAY", x.Display());
    auto p = s.Start();
    ASSERT_TRUE(s.WaitUntilShown());
    ASSERT_TRUE(QFile::exists(s.socket()));
    x.Kill();
    ASSERT_TRUE(p->waitForFinished(20000));

    const QSettings after(s.ini(), QSettings::IniFormat);
    for (const QString& key : AllSettingsKeys()) {
        EXPECT_TRUE(after.contains("Settings/" + key)) << key.toStdString();
    }
    EXPECT_EQ(after.value("Settings/GeneralAfter").toString(), "1300");
    EXPECT_EQ(after.value("Settings/StandardReadings").toString(), "0");
    EXPECT_EQ(after.value("Settings/HotWaterBefore").toString(), "");
    EXPECT_EQ(after.value("Settings/Hours").toString(), "1");
    EXPECT_FALSE(QFile::exists(s.socket()));
    EXPECT_FALSE(QFile::exists(s.LockPath()));
}
