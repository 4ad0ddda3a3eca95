#pragma once
// TIniFile reads and writes one classic INI text file. Unless it is told to
// hold a copy (Hold), no copy is kept in memory: every read loads the file as
// it is now, every write loads it, changes the bytes of one entry and
// replaces the whole file atomically (a temporary file in the same folder,
// then a rename), so the file on disk is always a complete earlier or later
// version.
//
// Format: "[name]" starts a section; "key=value" lines follow. Section names
// and keys compare without regard to letter case. Lines that are not entries
// of a section (comments starting with ";" or "#", blank lines, text before
// the first section, anything unreadable) are kept byte for byte on rewrite,
// as are the line endings (LF, CR LF) and a UTF-8 byte-order mark. The text
// is UTF-8. When a section or a key occurs twice, the first one counts.
//
// A file that exists but cannot be read (no permission, not a regular file,
// larger than MaxFileBytes) reads as empty and is never written over. Reads
// never block: a FIFO or a device at the path is such an unreadable file.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace ini_detail {
class Document;
}

class TIniFile {
public:
    // Longest value a read gives back; longer values are cut.
    static constexpr qsizetype MaxValueLength = 2047;
    // Largest file read; a larger one counts as unreadable.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // Binds the object to the file; reads nothing and creates nothing.
    explicit TIniFile(QString fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return fileName_; }

    // Why the file exists but cannot be read ("Permission denied", "Not a
    // regular file", ...); no value when it can be read or does not exist.
    std::optional<QString> ReadProblem() const;

    // The stored value: blanks around it dropped, one pair of enclosing ' or "
    // removed, cut at MaxValueLength. No value when the file, the section or
    // the key is missing (a present key with an empty value gives "").
    std::optional<QString> Value(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    bool ValueExists(const QString& section, const QString& key) const;
    bool SectionExists(const QString& section) const;
    // Section names in file order, each once, spelled as first found.
    QStringList ReadSections() const;
    // The keys of a section (all its occurrences), each once, in file order.
    QStringList ReadSection(const QString& section) const;

    // Replaces the value of the entry a read would find, or adds "key=value"
    // after the last entry of the section's first occurrence; a missing
    // section is added at the end of the file, a missing file is created. No
    // folder is ever created. Line breaks in key and value are written as
    // blanks, so one write never makes more than one entry. Keys must not
    // contain "=" and section names not "]".
    // The file is replaced whole through a new temporary file; a link at the
    // path keeps pointing at the new content; in a folder that takes no new
    // files a writable file is rewritten in place.
    // Throws EVoltiskError("Unable to write to <file name>") when the file
    // cannot be written (missing folder, read-only file, an unreadable file,
    // full disk); the file on disk is then unchanged.
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Removes every entry of the key in every occurrence of the section.
    // True when something was removed. Throws as WriteString does.
    bool DeleteKey(const QString& section, const QString& key);
    // Removes every occurrence of the section, from its header to the next
    // section. True when something was removed. Throws as WriteString does.
    bool EraseSection(const QString& section);

    // Holding: from Hold() on, the file is read once and every read and write
    // works on that copy; a write that would fail at once (an unreadable file)
    // still throws at once. Flush() then replaces the file once, with the very
    // bytes the writes one by one would have left, and stops holding (nothing
    // is written when nothing changed); it throws as WriteString does.
    // Release() stops holding and drops unflushed writes.
    void Hold();
    void Flush();
    void Release();
    bool Holding() const { return held_ != nullptr; }

private:
    std::shared_ptr<const ini_detail::Document> Read() const;
    std::shared_ptr<ini_detail::Document> ForWriting() const;
    void Store(const std::shared_ptr<ini_detail::Document>& doc);

    QString fileName_;
    std::shared_ptr<ini_detail::Document> held_;
};
