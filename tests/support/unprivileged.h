#pragma once
// Permission tests on a machine where the tests run as root: the code under
// test runs in a forked child that has dropped to an unprivileged user, so
// file permissions bind it. Run by an ordinary user, the child keeps that
// user. The child reports what happened as text through a pipe; the parent
// checks that text and the files (as root it can read everything).

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <sys/types.h>

namespace Unprivileged {

// The user and group the child runs as when the tests run as root.
inline constexpr uid_t Uid = 65534;
inline constexpr gid_t Gid = 65534;

// Runs `body` in a forked child as Uid/Gid and returns what it returned.
// A child that fails to drop its privileges or dies gives a text starting
// with "child:", which no body returns.
QByteArray Run(const std::function<QByteArray()>& body);

// Gives `path` (not following links) to the unprivileged user when root.
void Give(const QString& path);

// A temporary folder in the shared temporary folder that the unprivileged
// user owns and can work in.
class Dir {
public:
    Dir();
    QString path() const { return dir_.path(); }
    // Creates a sub-folder owned by the unprivileged user.
    QString Sub(const QString& name) const;

private:
    QTemporaryDir dir_;
};

} // namespace Unprivileged
