#include "settings/inifile.h"

#include "mylib/atomicfile.h"
#include "mylib/errors.h"
#include "mylib/fileread.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr qsizetype kBomSize = 3;

// One line of the file as byte offsets: content [begin, end), terminator
// [end, next). The last line may have no terminator (end == next).
struct Line {
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

// A section's occurrence: its header line and the line after its last line.
struct Span {
    std::size_t header;
    std::size_t end;
};

struct Entry {
    std::size_t line;
    qsizetype equals; // offset of the "=" in the file
};

// Only blanks (U+0020) around a value are dropped; a tab or a no-break space
// belongs to the value.
QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ') {
        ++begin;
    }
    while (end > begin && text.at(end - 1) == u' ') {
        --end;
    }
    return text.mid(begin, end - begin);
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

namespace ini_detail {

// The file's bytes, split into lines. Reading a missing or unreadable file
// gives an empty document, which is what a read of it should see; `readable`
// tells a writer whether the document stands for the file.
class Document {
public:
    explicit Document(const QString& fileName) {
        FileReadResult file = ReadFileBounded(fileName, TIniFile::MaxFileBytes);
        status = file.status;
        reason = std::move(file.reason);
        readable =
            status == FileReadResult::Status::Ok || status == FileReadResult::Status::Missing;
        data = std::move(file.bytes);
        Split();
    }

    QByteArray data;
    std::vector<Line> lines;
    bool readable = false;
    FileReadResult::Status status;
    QString reason;
    // Held only: written to since the file was read.
    bool changed = false;

    // After the bytes changed: the lines as a new read of them would find.
    void Resplit() {
        lines.clear();
        Split();
    }

    // The line ending new lines get: the file's first one, else LF.
    QByteArray Eol() const {
        for (const Line& l : lines) {
            if (l.next > l.end) {
                return data.mid(l.end, l.next - l.end);
            }
        }
        return QByteArrayLiteral("\n");
    }

    // The name of a "[name]" line; "[name" without its bracket counts too.
    std::optional<QString> HeaderName(std::size_t i) const {
        const Line& l = lines[i];
        const qsizetype p = FirstNonBlank(l);
        if (p == l.end || data[p] != '[') {
            return std::nullopt;
        }
        const qsizetype close = Find(l, p + 1, ']').value_or(l.end);
        return QString::fromUtf8(data.constData() + p + 1, close - p - 1).trimmed();
    }

    // The offset of the "=" of a "key=value" line; comments and headers have none.
    std::optional<qsizetype> EntryEquals(std::size_t i) const {
        const Line& l = lines[i];
        const qsizetype p = FirstNonBlank(l);
        if (p == l.end || data[p] == ';' || data[p] == '#' || data[p] == '[') {
            return std::nullopt;
        }
        return Find(l, p, '=');
    }

    QString KeyOf(const Entry& e) const {
        const Line& l = lines[e.line];
        return QString::fromUtf8(data.constData() + l.begin, e.equals - l.begin).trimmed();
    }

    // The key's bytes as the file spells them, blanks around dropped. Unlike
    // KeyOf this keeps a byte-order mark or other Unicode blank in front, so a
    // rewritten line starts as before and stays an entry, not a "[" header.
    QByteArray KeyBytes(const Entry& e) const {
        const qsizetype from = FirstNonBlank(lines[e.line]);
        qsizetype to = e.equals;
        while (to > from && (data[to - 1] == ' ' || data[to - 1] == '\t')) {
            --to;
        }
        return data.mid(from, to - from);
    }

    QString ValueOf(const Entry& e) const {
        const Line& l = lines[e.line];
        QString v =
            TrimBlanks(QString::fromUtf8(data.constData() + e.equals + 1, l.end - e.equals - 1));
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
            v = v.mid(1, v.size() - 2);
        }
        if (v.size() > TIniFile::MaxValueLength) {
            qsizetype cut = TIniFile::MaxValueLength;
            // Never leave half of a surrogate pair at the end.
            if (v.at(cut - 1).isHighSurrogate()) {
                --cut;
            }
            v.truncate(cut);
        }
        return v;
    }

    // Every occurrence of the section, in file order.
    std::vector<Span> Spans(const QString& section) const {
        std::vector<Span> spans;
        bool inside = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto name = HeaderName(i);
            if (!name) {
                continue;
            }
            if (inside) {
                spans.back().end = i;
            }
            inside = SameName(*name, section);
            if (inside) {
                spans.push_back({i, lines.size()});
            }
        }
        return spans;
    }

    // The entries of the key within the spans, in file order.
    std::vector<Entry> Entries(const std::vector<Span>& spans, const QString& key) const {
        std::vector<Entry> found;
        for (const Span& s : spans) {
            for (std::size_t i = s.header + 1; i < s.end; ++i) {
                if (const auto eq = EntryEquals(i)) {
                    const Entry e{i, *eq};
                    if (SameName(KeyOf(e), key)) {
                        found.push_back(e);
                    }
                }
            }
        }
        return found;
    }

    std::optional<Entry> FirstEntry(const QString& section, const QString& key) const {
        const auto found = Entries(Spans(section), key);
        if (found.empty()) {
            return std::nullopt;
        }
        return found.front();
    }

private:
    void Split() {
        const char* p = data.constData();
        const qsizetype n = data.size();
        qsizetype pos = data.startsWith(kBom) ? kBomSize : 0;
        while (pos < n) {
            qsizetype end = pos;
            while (end < n && p[end] != '\n' && p[end] != '\r') {
                ++end;
            }
            qsizetype next = end;
            if (next < n) {
                next += (p[next] == '\r' && next + 1 < n && p[next + 1] == '\n') ? 2 : 1;
            }
            lines.push_back({pos, end, next});
            pos = next;
        }
    }

    // Searches within the line only: a search running on into the rest of a
    // large file for every line would make reading it quadratic.
    std::optional<qsizetype> Find(const Line& l, qsizetype from, char c) const {
        const char* begin = data.constData() + from;
        const auto* hit = static_cast<const char*>(std::memchr(begin, c, l.end - from));
        if (!hit) {
            return std::nullopt;
        }
        return from + (hit - begin);
    }

    qsizetype FirstNonBlank(const Line& l) const {
        qsizetype p = l.begin;
        while (p < l.end && (data[p] == ' ' || data[p] == '\t')) {
            ++p;
        }
        return p;
    }
};

} // namespace ini_detail

namespace {

using ini_detail::Document;

// A line break inside a key or value would start a new line of its own.
QByteArray OneLine(const QString& text) {
    QString t = text;
    t.replace(u'\r', u' ').replace(u'\n', u' ');
    return t.toUtf8();
}

[[noreturn]] void WriteFailed(const QString& fileName) {
    throw EVoltiskError(QStringLiteral("Unable to write to ") + fileName);
}

// Replaces the file with `doc`'s bytes; a crash leaves either the old or the
// new file. A file that could not be read is never written over: the bytes
// would stand for an empty file and lose everything in it.
void Replace(const QString& fileName, const Document& doc) {
    if (!doc.readable ||
        !ReplaceFileContents(fileName, doc.data, ReplaceMode::InPlaceWhenFolderLocked)) {
        WriteFailed(fileName);
    }
}

} // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

TIniFile::~TIniFile() = default;

void TIniFile::Hold() {
    if (!held_) {
        held_ = std::make_shared<Document>(fileName_);
    }
}

void TIniFile::Flush() {
    if (!held_) {
        return;
    }
    const std::shared_ptr<Document> doc = std::exchange(held_, nullptr);
    if (doc->changed) {
        Replace(fileName_, *doc);
    }
}

void TIniFile::Release() {
    held_.reset();
}

std::shared_ptr<const Document> TIniFile::Read() const {
    if (held_) {
        return held_;
    }
    return std::make_shared<const Document>(fileName_);
}

void TIniFile::Store(const std::shared_ptr<Document>& doc) {
    if (held_) {
        // Kept for Flush; an unreadable file fails now, as a write of it would.
        if (!doc->readable) {
            WriteFailed(fileName_);
        }
        doc->Resplit();
        doc->changed = true;
        return;
    }
    Replace(fileName_, *doc);
}

std::shared_ptr<Document> TIniFile::ForWriting() const {
    if (held_) {
        return held_;
    }
    return std::make_shared<Document>(fileName_);
}

std::optional<QString> TIniFile::ReadProblem() const {
    const auto doc = Read();
    switch (doc->status) {
    case FileReadResult::Status::Failed:
        return doc->reason;
    case FileReadResult::Status::TooLarge:
        return QStringLiteral("The file is larger than %1 MB").arg(MaxFileBytes / (1024 * 1024));
    default:
        return std::nullopt;
    }
}

std::optional<QString> TIniFile::Value(const QString& section, const QString& key) const {
    const auto doc = Read();
    const auto entry = doc->FirstEntry(section, key);
    if (!entry) {
        return std::nullopt;
    }
    return doc->ValueOf(*entry);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return Value(section, key).value_or(def);
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return Value(section, key).has_value();
}

bool TIniFile::SectionExists(const QString& section) const {
    return !Read()->Spans(section).empty();
}

QStringList TIniFile::ReadSections() const {
    const auto held = Read();
    const Document& doc = *held;
    QStringList names;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const auto name = doc.HeaderName(i);
        if (name && !names.contains(*name, Qt::CaseInsensitive)) {
            names << *name;
        }
    }
    return names;
}

QStringList TIniFile::ReadSection(const QString& section) const {
    const auto held = Read();
    const Document& doc = *held;
    QStringList keys;
    for (const Span& s : doc.Spans(section)) {
        for (std::size_t i = s.header + 1; i < s.end; ++i) {
            if (const auto eq = doc.EntryEquals(i)) {
                const QString key = doc.KeyOf({i, *eq});
                if (!keys.contains(key, Qt::CaseInsensitive)) {
                    keys << key;
                }
            }
        }
    }
    return keys;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const auto copy = ForWriting();
    Document& doc = *copy;
    const QByteArray valueBytes = OneLine(value);
    const auto spans = doc.Spans(section);
    const auto entries = doc.Entries(spans, key);
    if (!entries.empty()) {
        // In place, keeping the key as the file spells it.
        const Entry& e = entries.front();
        const Line& l = doc.lines[e.line];
        const QByteArray line = doc.KeyBytes(e) + '=' + valueBytes;
        doc.data.replace(l.begin, l.end - l.begin, line);
    } else if (!spans.empty()) {
        // After the section's last entry, so comments that lead into the
        // next section stay with it.
        const Span& s = spans.front();
        std::size_t after = s.header;
        for (std::size_t i = s.header + 1; i < s.end; ++i) {
            if (doc.EntryEquals(i)) {
                after = i;
            }
        }
        const QByteArray line = OneLine(key) + '=' + valueBytes;
        const Line& l = doc.lines[after];
        if (l.next == l.end) {
            doc.data.insert(l.end, doc.Eol() + line);
        } else {
            // The line's own ending: a lone CR before an empty LF line would
            // otherwise pair up with it and swallow that line.
            doc.data.insert(l.next, line + doc.data.mid(l.end, l.next - l.end));
        }
    } else {
        const QByteArray eol = doc.Eol();
        const qsizetype start = doc.data.startsWith(kBom) ? kBomSize : 0;
        if (doc.data.size() > start && !doc.data.endsWith('\n') && !doc.data.endsWith('\r')) {
            doc.data += eol;
        }
        doc.data += '[' + OneLine(section) + ']' + eol + OneLine(key) + '=' + valueBytes + eol;
    }
    Store(copy);
}

bool TIniFile::DeleteKey(const QString& section, const QString& key) {
    const auto copy = ForWriting();
    Document& doc = *copy;
    const auto entries = doc.Entries(doc.Spans(section), key);
    if (entries.empty()) {
        return false;
    }
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        const Line& l = doc.lines[it->line];
        doc.data.remove(l.begin, l.next - l.begin);
    }
    Store(copy);
    return true;
}

bool TIniFile::EraseSection(const QString& section) {
    const auto copy = ForWriting();
    Document& doc = *copy;
    const auto spans = doc.Spans(section);
    if (spans.empty()) {
        return false;
    }
    for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
        const qsizetype begin = doc.lines[it->header].begin;
        const qsizetype end =
            it->end < doc.lines.size() ? doc.lines[it->end].begin : doc.data.size();
        doc.data.remove(begin, end - begin);
    }
    Store(copy);
    return true;
}
