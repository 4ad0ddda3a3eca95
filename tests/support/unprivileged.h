#pragma once
// File permissions do not bind root, and the tests run as root in CI. A test
// of what a read-only file or folder does runs its operation here instead: in
// a forked child under the unprivileged user "nobody" when the test process is
// root, in a forked child as it is otherwise.

#include <QStringList>
#include <functional>

// The unprivileged user and group the child runs as when the test is root.
inline constexpr unsigned kUnprivilegedId = 65534;

// Gives `paths` (files or folders, before their modes are narrowed) to the
// unprivileged user and makes every folder above them passable, then runs
// `body` in the child. Returns body's result (0 to 125), or -1 when the child
// could not drop its privileges or did not end normally. `body` reports through
// its result only: the child never touches the test's own state.
int RunUnprivileged(const QStringList& paths, const std::function<int()>& body);
