// libFuzzer target for the INI file: the input becomes the settings file,
// every section and key is read, a key is rewritten, and everything is read
// again. Besides the sanitizers' checks, a rewrite must keep every other entry
// as it was and the written value must read back, so a logic slip aborts too.

#include "mylib/errors.h"
#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

struct Entry {
    QString section, key, value;
};

// Every value a read can reach (bounded, so huge inputs stay quick).
std::vector<Entry> ReadAll(const TIniFile& ini) {
    std::vector<Entry> all;
    const QStringList sections = ini.ReadSections();
    for (const QString& s : sections.mid(0, 32)) {
        Check(ini.SectionExists(s));
        const QStringList keys = ini.ReadSection(s);
        for (const QString& k : keys.mid(0, 32)) {
            const auto v = ini.Value(s, k);
            Check(v.has_value());
            Check(v->size() <= TIniFile::MaxValueLength);
            all.push_back({s, k, *v});
        }
    }
    return all;
}

bool Same(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The entries other than `keys` in `section` read as before.
void CheckOthersKept(const TIniFile& ini, const std::vector<Entry>& before, const QString& section,
                     const QStringList& keys) {
    for (const Entry& e : before) {
        if (Same(e.section, section) && keys.contains(e.key, Qt::CaseInsensitive)) {
            continue;
        }
        const auto v = ini.Value(e.section, e.key);
        Check(v.has_value() && *v == e.value);
    }
}

QString TempFolder() {
    // Memory-backed when available: every write syncs the file to disk.
    if (QDir(QStringLiteral("/dev/shm")).exists()) {
        return QStringLiteral("/dev/shm/ini_fuzz-XXXXXX");
    }
    return QDir::tempPath() + QStringLiteral("/ini_fuzz-XXXXXX");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir(TempFolder());
    static const QString path = dir.path() + QStringLiteral("/input.ini");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    TIniFile ini(path);
    const std::vector<Entry> before = ReadAll(ini);

    // The input's first byte picks where to write: a new section, an
    // existing section, or an existing key.
    const int choice = size > 0 ? data[0] % 3 : 0;
    QString section = QStringLiteral("FuzzSection");
    QString key = QStringLiteral("FuzzKey");
    if (choice > 0 && !before.empty()) {
        const Entry& pick = before[size % before.size()];
        section = pick.section;
        if (choice == 2) {
            key = pick.key;
        }
    }
    const QString rawKey = QStringLiteral("FuzzRaw");
    const QString value = QStringLiteral("written value");
    try {
        ini.WriteString(section, key, value);
    } catch (const EVoltiskError&) {
        return 0;
    }
    Check(ini.ReadString(section, key, QString()) == value);
    CheckOthersKept(ini, before, section, {key});

    // A value taken from the input: whatever reads back is part of it.
    const QString raw = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                          static_cast<qsizetype>(std::min<size_t>(size, 64)));
    ini.WriteString(section, rawKey, raw);
    QString cleaned = raw;
    cleaned.replace(u'\r', u' ').replace(u'\n', u' ');
    Check(cleaned.contains(ini.ReadString(section, rawKey, QString())));
    Check(ini.Value(section, key) == (Same(key, rawKey) ? ini.Value(section, rawKey) : value));

    Check(ini.DeleteKey(section, rawKey));
    Check(!ini.ValueExists(section, rawKey));
    CheckOthersKept(ini, before, section, {key, rawKey});
    return 0;
}
