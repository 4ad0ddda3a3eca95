#pragma once
// Replacing a file's whole content so that a crash, a full disk or a planted
// link never costs data. The bytes go to a temporary file created exclusively
// (O_EXCL | O_NOFOLLOW) under an unpredictable name in the target's folder,
// which is then renamed over the target: the file on disk is always a whole
// earlier or later version, and a link planted at any name the writer could
// pick is never followed. Temporary names are "." + name + ".~" + pid + "." +
// random letters, so leftovers of a killed writer can be told from those of a
// running one.

#include <QByteArray>
#include <QString>

enum class ReplaceMode {
    // Only a whole replacement; a folder that refuses new files fails.
    WholeOnly,
    // When the folder refuses new files but the file itself may be written,
    // the file is rewritten in place (not crash-safe, but nothing is lost).
    InPlaceWhenFolderLocked,
};

// Replaces the content of the file at `path`. A link at `path` is kept: its
// final target is replaced, in the target's folder. A target that exists but
// is not a regular file, or has no write permission at all, is left alone.
// The new file gets the old one's permissions (a new file: 0666 less the
// umask). No sync to disk: the report runs this on every keystroke.
// False when anything failed; the target then holds its earlier content.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes,
                         ReplaceMode mode = ReplaceMode::WholeOnly);

// The file a write to `path` reaches: links followed to their final target,
// relative links taken from the link's folder. A path that is no link comes
// back unchanged; so does a chain of more than 40 links.
QString FinalLinkTarget(const QString& path);

// Removes the temporary files ReplaceFileContents left in `folder` for
// `fileName` when the process named in them no longer runs. Files of a
// running process are never touched. Returns how many were removed.
int RemoveStaleTempFiles(const QString& folder, const QString& fileName);
