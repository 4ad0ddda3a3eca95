// One copy per session: the private folder of the lock and the socket, the
// hand-over to the running copy, and locks that nobody answers for.

#include "app/view/singleinstance.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kUserFolder = QStringLiteral("/voltisk-") + QString::number(::geteuid());

int ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

bool IsSocket(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode);
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Runs `body` in a child that ends without cleaning up, as a killed copy would.
template <class F> void InDyingChild(F body) {
    const pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
}

class SingleInstanceTest : public testing::Test {
protected:
    QTemporaryDir tmp;
    QString folder = tmp.path() + QStringLiteral("/run");
    void SetUp() override { ASSERT_TRUE(QDir().mkdir(folder)); }

    // A second copy started now: it must hand over to `first`, which then
    // restores its window once per message and answers. The second copy waits
    // for that answer, so it runs on a thread of its own.
    void ExpectHandOver(TSingleInstance& first) {
        std::atomic<int> role{-1};
        std::thread second([&] { role = int(TSingleInstance(folder).Start()); });
        // Messages sent before the first copy attached its handler still count.
        QTest::qWait(100);
        int activations = 0;
        first.OnActivation([&activations] { ++activations; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return role >= 0; }, 20000));
        second.join();
        EXPECT_EQ(role, int(TSingleInstance::Role::Second));
        EXPECT_EQ(activations, 1);
    }
};

} // namespace

TEST_F(SingleInstanceTest, ThePrivateFolderIsOwnedClosedAndNeverAnotherUsers) {
    const QString runtime = tmp.path() + QStringLiteral("/runtime");
    const QString temp = tmp.path() + QStringLiteral("/tmp");
    const QString cache = tmp.path() + QStringLiteral("/home/.cache");
    QDir().mkpath(runtime);
    QDir().mkpath(temp);
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    EXPECT_EQ(TSingleInstance::PrivateFolderFrom(runtime, temp, cache), runtime);

    // A runtime folder others may enter is not used; the temporary folder
    // gets a new one of this user's, mode 0700.
    ::chmod(QFile::encodeName(runtime).constData(), 0755);
    EXPECT_EQ(TSingleInstance::PrivateFolderFrom(runtime, temp, cache), temp + kUserFolder);
    EXPECT_EQ(TSingleInstance::PrivateFolderFrom(QString(), temp, cache), temp + kUserFolder);
    EXPECT_EQ(ModeOf(temp + kUserFolder), 0700);

    // Another user took the name first: passed over for the cache folder.
    QDir(temp + kUserFolder).removeRecursively();
    QDir().mkdir(temp + kUserFolder);
    ::chmod(QFile::encodeName(temp + kUserFolder).constData(), 0700);
    const QString planted = temp + kUserFolder + QStringLiteral("/Voltisk IS RUNNING.lock");
    QFile(planted).open(QIODevice::WriteOnly);
    Unprivileged::Give(temp + kUserFolder);
    const bool root = ::geteuid() == 0;
    if (root) {
        EXPECT_EQ(TSingleInstance::PrivateFolderFrom(QString(), temp, cache), cache + kUserFolder);
        EXPECT_EQ(ModeOf(cache + kUserFolder), 0700);
        EXPECT_EQ(Bytes(planted), QByteArray()) << "the other user's folder is left alone";
    }

    // Neither a folder others may enter nor a link to a private folder will do.
    QDir(temp + kUserFolder).removeRecursively();
    QDir().mkdir(temp + kUserFolder);
    ::chmod(QFile::encodeName(temp + kUserFolder).constData(), 0770);
    EXPECT_FALSE(TSingleInstance::UsablePrivateFolder(temp + kUserFolder, true));
    QDir().rmdir(temp + kUserFolder);
    ASSERT_TRUE(QFile::link(runtime, temp + kUserFolder));
    ::chmod(QFile::encodeName(runtime).constData(), 0700);
    EXPECT_FALSE(TSingleInstance::UsablePrivateFolder(temp + kUserFolder, true));
    EXPECT_EQ(TSingleInstance::PrivateFolderFrom(QString(), temp, QString()), QString());
    // Too long for a socket address.
    const QString deep = tmp.path() + u'/' + QString(120, u'd');
    QDir().mkdir(deep);
    ::chmod(QFile::encodeName(deep).constData(), 0700);
    EXPECT_FALSE(TSingleInstance::UsablePrivateFolder(deep, false));
}

TEST_F(SingleInstanceTest, ALockThatCannotBeMadeStillLetsTheProgramStart) {
    TSingleInstance none(tmp.path() + QStringLiteral("/missing/folder"));
    EXPECT_EQ(none.Start(), TSingleInstance::Role::First);
    EXPECT_FALSE(QFile::exists(none.LockPath()));
    EXPECT_FALSE(QFile::exists(none.SocketPath()));
}

TEST_F(SingleInstanceTest, TheFirstCopyListensAtOnceAndASecondOneHandsOver) {
    TSingleInstance first(folder);
    ASSERT_EQ(first.Start(), TSingleInstance::Role::First);
    EXPECT_TRUE(IsSocket(folder + QStringLiteral("/VOLTISK")));
    EXPECT_TRUE(Bytes(first.LockPath()).startsWith(QByteArray::number(::getpid()) + '\n'));
    // Messages sent before the first copy attached its handler still count.
    ExpectHandOver(first);

    first.Release();
    EXPECT_FALSE(QFile::exists(first.LockPath()));
    EXPECT_FALSE(QFile::exists(first.SocketPath()));
    EXPECT_FALSE(TSingleInstance(folder).SendActivation(0)) << "nobody listens any more";
}

TEST_F(SingleInstanceTest, AnEmptyLockNobodyAnswersForIsTakenOver) {
    QFile(folder + QStringLiteral("/Voltisk IS RUNNING.lock")).open(QIODevice::WriteOnly);
    TSingleInstance first(folder);
    ASSERT_EQ(first.Start(), TSingleInstance::Role::First);
    EXPECT_TRUE(Bytes(first.LockPath()).startsWith(QByteArray::number(::getpid()) + '\n'));
    ExpectHandOver(first);
}

TEST_F(SingleInstanceTest, ALockHeldByACopyThatNeverAnswersIsTakenOver) {
    // A live holder (this process) with no socket: a hung copy.
    QLockFile hung(folder + QStringLiteral("/Voltisk IS RUNNING.lock"));
    ASSERT_TRUE(hung.tryLock(0));
    QFile::remove(folder + QStringLiteral("/VOLTISK"));
    TSingleInstance next(folder);
    ASSERT_EQ(next.Start(), TSingleInstance::Role::First);
    EXPECT_TRUE(IsSocket(next.SocketPath()));
    ExpectHandOver(next);
}

TEST_F(SingleInstanceTest, ADeadCopysLockAndSocketAreTakenOver) {
    InDyingChild([this] {
        TSingleInstance killed(folder);
        killed.Start();
        ::_exit(0); // no unlock, no removal: as after SIGKILL
    });
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/Voltisk IS RUNNING.lock")));
    ASSERT_TRUE(IsSocket(folder + QStringLiteral("/VOLTISK")));
    TSingleInstance next(folder);
    ASSERT_EQ(next.Start(), TSingleInstance::Role::First);
    EXPECT_TRUE(Bytes(next.LockPath()).startsWith(QByteArray::number(::getpid()) + '\n'));
    ExpectHandOver(next);
}

TEST_F(SingleInstanceTest, ACopyThatTakesTheRequestButNeverAnswersIsReportedNotTakenOver) {
    TSingleInstance stopped(folder);
    ASSERT_EQ(stopped.Start(), TSingleInstance::Role::First);
    // No event loop runs here: the request waits in the listen queue.
    TSingleInstance second(folder);
    EXPECT_EQ(second.HandOver(TSingleInstance::Request::Activate, 1000, 100),
              TSingleInstance::HandOverResult::NoAnswer);
    EXPECT_EQ(second.HolderPid(), ::getpid());
    EXPECT_TRUE(Bytes(stopped.LockPath()).startsWith(QByteArray::number(::getpid()) + '\n'))
        << "the lock stays with the running copy";
    // Once its loop runs, the queued request is acted on with its kind.
    std::vector<TSingleInstance::Request> seen;
    stopped.OnActivation([&seen](TSingleInstance::Request r) { seen.push_back(r); });
    std::thread action([&] {
        EXPECT_EQ(TSingleInstance(folder).HandOver(TSingleInstance::Request::ShowUsageCalculator),
                  TSingleInstance::HandOverResult::Answered);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 20000));
    action.join();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), TSingleInstance::Request::ShowUsageCalculator),
              1);
}
