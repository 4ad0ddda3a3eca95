// Reading and replacing files that someone may have put in the program's way:
// FIFOs, devices, planted links, locked folders, leftovers of killed writers.
#include "mylib/atomicfile.h"
#include "mylib/fileread.h"
#include "mylib/paths.h"
#include "support/files.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Status = FileReadResult::Status;

void Put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

// A process id that no longer runs: a child that has ended and been reaped.
qint64 DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

class FilesTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString At(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
};

} // namespace

TEST_F(FilesTest, BoundedReadRefusesWhatIsNoRegularFileWithoutBlocking) {
    const QString fifo = At("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = At("zero");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& path : {fifo, zero}) {
        const FileReadResult r = ReadFileBounded(path, 1 << 20);
        EXPECT_EQ(r.status, Status::Failed) << path.toStdString();
        EXPECT_EQ(r.reason, QStringLiteral("Not a regular file"));
        EXPECT_TRUE(r.bytes.isEmpty());
    }
    const FileReadResult folder = ReadFileBounded(dir.path(), 1 << 20);
    EXPECT_EQ(folder.status, Status::Failed);
    EXPECT_EQ(folder.reason, QStringLiteral("Is a directory"));

    EXPECT_EQ(ReadFileBounded(At("none"), 10).status, Status::Missing);
    ASSERT_TRUE(QFile::link(At("none"), At("dangling")));
    EXPECT_EQ(ReadFileBounded(At("dangling"), 10).status, Status::Missing);
}

TEST_F(FilesTest, BoundedReadStopsAtItsLimit) {
    Put(At("ten"), "0123456789");
    const FileReadResult exact = ReadFileBounded(At("ten"), 10);
    EXPECT_EQ(exact.status, Status::Ok);
    EXPECT_EQ(exact.bytes, "0123456789");
    EXPECT_EQ(ReadFileBounded(At("ten"), 9).status, Status::TooLarge);
    // A sparse file of a gigabyte costs nothing to refuse.
    QFile sparse(At("sparse"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(qint64(1) << 30));
    sparse.close();
    const FileReadResult big = ReadFileBounded(At("sparse"), 1 << 20);
    EXPECT_EQ(big.status, Status::TooLarge);
    EXPECT_TRUE(big.bytes.isEmpty());
}

TEST_F(FilesTest, BoundedReadGivesTheReasonAFileCannotBeRead) {
    const Unprivileged::Dir home;
    const QString secret = home.path() + QStringLiteral("/secret");
    Put(secret, "k=v\n");
    ASSERT_TRUE(QFile::setPermissions(secret, QFileDevice::Permissions()));
    Unprivileged::Give(secret);
    const QByteArray seen = Unprivileged::Run([&] {
        const FileReadResult r = ReadFileBounded(secret, 100);
        return QByteArray::number(static_cast<int>(r.status)) + ' ' + r.reason.toUtf8() + ' ' +
               r.bytes;
    });
    EXPECT_EQ(seen, QByteArray::number(static_cast<int>(Status::Failed)) + " Permission denied ");
}

TEST_F(FilesTest, ReplaceUsesNewUnpredictableNamesAndNeverFollowsAPlantedLink) {
    const QString target = At("voltisk.ini");
    const QString precious = At("precious");
    Put(target, "old");
    Put(precious, "precious");
    // Every name an earlier version picked for this process points elsewhere.
    const QString pid = QString::number(::getpid());
    for (const QString& name : {target + ".~" + pid, At(".voltisk.ini.~") + pid}) {
        ASSERT_TRUE(QFile::link(precious, name));
    }

    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(), IN_CREATE), 0);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(ReplaceFileContents(target, "new " + QByteArray::number(i)));
    }
    QSet<QString> created;
    alignas(inotify_event) char buffer[65536];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            created.insert(QString::fromUtf8(e->name));
            p += sizeof(inotify_event) + e->len;
        }
    }
    ::close(watch);

    EXPECT_EQ(created.size(), 20) << "a new name for every write";
    const QRegularExpression pattern("^\\.voltisk\\.ini\\.~" + pid + "\\.[A-Za-z0-9]{12}$");
    for (const QString& name : created) {
        EXPECT_TRUE(pattern.match(name).hasMatch()) << name.toStdString();
    }
    EXPECT_EQ(ReadBytes(target), "new 19");
    EXPECT_EQ(ReadBytes(precious), "precious");
    EXPECT_FALSE(QFileInfo(target).isSymLink());
    EXPECT_EQ(Entries(dir.path()).size(), 4) << "no temporary file stays behind";
}

TEST_F(FilesTest, ALinkedFileKeepsItsLinkAndItsTargetIsReplacedInPlace) {
    QDir().mkpath(At("dotfiles/voltisk"));
    QDir().mkpath(At("config"));
    const QString real = At("dotfiles/voltisk/voltisk.ini");
    Put(real, "old");
    ASSERT_TRUE(QFile::setPermissions(real, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup));
    // A relative link to a relative link, as dotfile managers make them.
    const QString hop = At("dotfiles/current.ini");
    ASSERT_EQ(::symlink("voltisk/voltisk.ini", QFile::encodeName(hop).constData()), 0);
    const QString link = At("config/voltisk.ini");
    ASSERT_EQ(::symlink("../dotfiles/current.ini", QFile::encodeName(link).constData()), 0);
    EXPECT_EQ(FinalLinkTarget(link), At("config/../dotfiles/voltisk/voltisk.ini"));

    ASSERT_TRUE(ReplaceFileContents(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo(hop).isSymLink());
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(QFile::permissions(real) & QFileDevice::Permissions(0x7077),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(Entries(At("config")), QStringList{"voltisk.ini"});
    EXPECT_EQ(Entries(At("dotfiles/voltisk")), QStringList{"voltisk.ini"});

    // A link to nothing yet: the file comes into being at the link's target.
    const QString fresh = At("config/fresh.ini");
    ASSERT_TRUE(QFile::link(At("dotfiles/voltisk/fresh.ini"), fresh));
    ASSERT_TRUE(ReplaceFileContents(fresh, "first"));
    EXPECT_TRUE(QFileInfo(fresh).isSymLink());
    EXPECT_EQ(ReadBytes(At("dotfiles/voltisk/fresh.ini")), "first");
}

TEST_F(FilesTest, ALockedFolderIsWrittenInPlaceOnlyWhenAskedAndOnlyIfTheFileAllows) {
    const Unprivileged::Dir home;
    const QString folder = home.Sub(QStringLiteral("locked"));
    const QString file = folder + QStringLiteral("/voltisk.ini");
    const QString readOnly = folder + QStringLiteral("/readonly.ini");
    Put(file, "a much longer old content\n");
    Put(readOnly, "kept\n");
    Unprivileged::Give(file);
    Unprivileged::Give(readOnly);
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner));
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    const QByteArray outcome = Unprivileged::Run([&] {
        QByteArray out;
        out += ReplaceFileContents(file, "whole\n") ? "whole:yes " : "whole:no ";
        out += ReplaceFileContents(file, "short\n", ReplaceMode::InPlaceWhenFolderLocked)
                   ? "inplace:yes "
                   : "inplace:no ";
        out += ReplaceFileContents(readOnly, "x\n", ReplaceMode::InPlaceWhenFolderLocked)
                   ? "readonly:yes"
                   : "readonly:no";
        return out;
    });
    EXPECT_EQ(outcome, "whole:no inplace:yes readonly:no");
    EXPECT_EQ(ReadBytes(file), "short\n") << "the old, longer content is cut off";
    EXPECT_EQ(ReadBytes(readOnly), "kept\n");
    EXPECT_EQ(Entries(folder), (QStringList{"readonly.ini", "voltisk.ini"}));
}

TEST_F(FilesTest, LeftoversOfEndedWritersGoAndThoseOfRunningOnesStay) {
    const QString dead = QString::number(DeadPid());
    const QString alive = QString::number(::getpid());
    const QStringList stale{".voltisk.ini.~" + dead + ".abcdefABCD12", "voltisk.ini.~" + dead,
                            ".report_20261208.html.~" + dead + ".0123456789ab"};
    const QStringList kept{".voltisk.ini.~" + alive + ".abcdefABCD12", "voltisk.ini", "notes.~txt",
                           ".voltisk.ini.~" + dead + ".short", "voltisk.ini.~1x",
                           // Not of our pattern: only the named file's older form counts.
                           "notes.~" + dead, ".notes.~" + dead + ".abcdefABCD1"};
    for (const QString& name : stale + kept) {
        Put(dir.filePath(name), "x");
    }
    // Only plain files are leftovers: a folder of such a name is not.
    QDir().mkpath(dir.filePath("other.ini.~" + dead));

    // Limited to one file's name, only its own leftovers go.
    EXPECT_EQ(RemoveStaleTempFiles(dir.path(), QStringLiteral("voltisk.ini")), 2);
    EXPECT_TRUE(QFile::exists(dir.filePath(stale[2])));
    EXPECT_EQ(RemoveStaleTempFiles(dir.path(), QString()), 1);

    QStringList expected = kept;
    expected << "other.ini.~" + dead;
    expected.sort();
    EXPECT_EQ(Entries(dir.path()), expected);
}

TEST(ConfigFolder, AbsoluteFoldersOnlyAndNoDoubledSeparators) {
    EXPECT_EQ(ConfigFolderFrom("/x/config", "/home/u"), "/x/config");
    EXPECT_EQ(ConfigFolderFrom("/x/config//", "/home/u"), "/x/config");
    EXPECT_EQ(ConfigFolderFrom("", "/home/u/"), "/home/u/.config");
    EXPECT_EQ(ConfigFolderFrom("", "/"), "/.config");
    EXPECT_EQ(ConfigFolderFrom("/", ""), "/");
    EXPECT_EQ(JoinPath(ConfigFolderFrom("/", ""), "BrindleSoftware"), "/BrindleSoftware");
    // A relative XDG_CONFIG_HOME is ignored; without HOME there is no folder,
    // and the settings file name becomes relative to the current folder.
    EXPECT_EQ(ConfigFolderFrom("relative/config", "/home/u"), "/home/u/.config");
    EXPECT_EQ(ConfigFolderFrom("", ""), "");
    EXPECT_EQ(ConfigFolderFrom("", "relative"), "");
}
