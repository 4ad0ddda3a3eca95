#include "settings/tinisettings.h"

#include "mylib/numbers.h"
#include "mylib/paths.h"
#include "mylib/textlist.h"
#include "settings/inifile.h"

#include <QDir>

namespace {

const QString kWindowSection = QStringLiteral("Settings");

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$".
// Hexadecimal takes up to 32 bits as the two's complement, so a colour
// written as a negative decimal can also be given as $80000008.
std::optional<int> ParseIniInteger(const QString& text) {
    qsizetype pos = 0;
    int base = 10;
    bool negative = false;
    if (text.startsWith(u'$')) {
        base = 16;
        pos = 1;
    } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        pos = 2;
    } else if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negative = text.front() == u'-';
        pos = 1;
    }
    if (pos >= text.size()) {
        return std::nullopt;
    }
    const qint64 limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        const int d = HexDigit(text.at(pos));
        if (d < 0 || d >= base) {
            return std::nullopt;
        }
        value = value * base + d;
        if (value > limit) {
            return std::nullopt;
        }
    }
    if (base == 16) {
        return static_cast<int>(static_cast<quint32>(value));
    }
    return static_cast<int>(negative ? -value : value);
}

} // namespace

TIniSettings::TIniSettings(TComponent* owner, const QString& name)
    : TComponent(owner, name), Fcompanyname(QStringLiteral("BrindleSoftware")),
      Fproductname(QStringLiteral("Product1")) {}

TIniSettings::~TIniSettings() = default;

void TIniSettings::SetCompanyName(const QString& value) {
    Fcompanyname = value;
    BuildIniFilename();
}

void TIniSettings::SetProductName(const QString& value) {
    Fproductname = value;
    BuildIniFilename();
}

void TIniSettings::SetIniFileName(const QString& value) {
    Ffullinifilename = value;
}

QString TIniSettings::GetFullIniFilename() {
    if (Ffullinifilename.isEmpty()) {
        BuildIniFilename();
    }
    return Ffullinifilename;
}

QString TIniSettings::DerivedFileName() const {
    const QString base = AppData ? *AppData : AppDataFolder();
    return JoinPath(JoinPath(JoinPath(base, Fcompanyname), Fproductname),
                    Fproductname + QStringLiteral(".ini"));
}

void TIniSettings::BuildIniFilename() {
    if (!Fproductname.isEmpty()) {
        Ffullinifilename = DerivedFileName();
    }
}

void TIniSettings::OpenIniFile() {
    if (inifile && folderMade_) {
        return;
    }
    if (Ffullinifilename.isEmpty()) {
        Ffullinifilename = DerivedFileName();
    }
    const QString folder = ExtractFilePath(inifile ? inifile->FileName() : Ffullinifilename);
    if (!folder.isEmpty() && !QDir(folder).exists()) {
        // A failure shows up as "Unable to write to ..." at the first write.
        QDir().mkpath(folder);
    }
    folderMade_ = true;
    if (!inifile) {
        inifile = std::make_unique<TIniFile>(Ffullinifilename);
    }
}

void TIniSettings::HoldFile() {
    if (!inifile) {
        if (Ffullinifilename.isEmpty()) {
            Ffullinifilename = DerivedFileName();
        }
        inifile = std::make_unique<TIniFile>(Ffullinifilename);
    }
    inifile->Hold();
}

void TIniSettings::CommitFile() {
    if (inifile) {
        inifile->Flush();
    }
}

void TIniSettings::ReleaseFile() {
    if (inifile) {
        inifile->Release();
    }
}

std::optional<QString> TIniSettings::ReadProblem() {
    if (inifile) {
        return inifile->ReadProblem();
    }
    return TIniFile(GetFullIniFilename()).ReadProblem();
}

TIniFile& TIniSettings::File() {
    OpenIniFile();
    return *inifile;
}

QString TIniSettings::readstring(const QString& key, const QString& def, const QString& section) {
    return File().ReadString(section, key, def);
}

void TIniSettings::writestring(const QString& key, const QString& value, const QString& section) {
    File().WriteString(section, key, value);
}

int TIniSettings::readinteger(const QString& key, int def, const QString& section) {
    const auto text = File().Value(section, key);
    if (!text) {
        return def;
    }
    return ParseIniInteger(*text).value_or(def);
}

void TIniSettings::writeinteger(const QString& key, int value, const QString& section) {
    writestring(key, QString::number(value), section);
}

bool TIniSettings::readbool(const QString& key, bool def, const QString& section) {
    return readinteger(key, def ? 1 : 0, section) != 0;
}

void TIniSettings::writebool(const QString& key, bool value, const QString& section) {
    writestring(key, value ? QStringLiteral("1") : QStringLiteral("0"), section);
}

double TIniSettings::readfloat(const QString& key, double def, const QString& section) {
    const auto text = File().Value(section, key);
    if (!text) {
        return def;
    }
    return ParseLocaleNumber(*text, Locale).value_or(def);
}

void TIniSettings::writefloat(const QString& key, double value, const QString& section) {
    writestring(key, FormatGeneral(value, Locale), section);
}

void TIniSettings::readwindowpos(TForm* window, const QString& prefix) {
    OpenIniFile();
    if (!window) {
        return;
    }
    const int oldLeft = window->Left();
    const int oldTop = window->Top();
    try {
        int left = readinteger(prefix + QStringLiteral("Left"), -1, kWindowSection);
        int top = readinteger(prefix + QStringLiteral("Top"), -1, kWindowSection);
        if (left == -1) {
            left = oldLeft;
        }
        if (top == -1) {
            top = oldTop;
        }
        int width = window->Width();
        int height = window->Height();
        if (window->Sizeable) {
            // Only -1 keeps the current size; the window system holds any
            // other size to the window's smallest.
            const int w = readinteger(prefix + QStringLiteral("Width"), -1, kWindowSection);
            const int h = readinteger(prefix + QStringLiteral("Height"), -1, kWindowSection);
            if (w != -1) {
                width = w;
            }
            if (h != -1) {
                height = h;
            }
        }
        // The window's state is left alone: this is its normal rectangle.
        window->SetBounds(left, top, width, height);

        if (!Screen) {
            throw std::runtime_error("no screen to keep the window on");
        }
        const QRect screen = Screen->Geometry();
        qint64 l = left;
        qint64 t = top;
        if (l + width < 60) {
            l = 0;
        }
        if (t + height < 60) {
            t = 0;
        }
        if (l > screen.width() - 60) {
            l = screen.width() - width;
        }
        if (t > screen.height() - 60) {
            t = screen.height() - height;
        }
        window->SetBounds(static_cast<int>(l), static_cast<int>(t), width, height);
    } catch (const std::exception&) {
        window->SetBounds(oldLeft, oldTop, window->Width(), window->Height());
    }
    if (readbool(prefix + QStringLiteral("Maximized"), false, kWindowSection)) {
        window->SetWindowState(TWindowState::wsMaximized);
    }
}

void TIniSettings::writewindowpos(TForm* window, const QString& prefix) {
    OpenIniFile();
    if (!window) {
        return;
    }
    writebool(prefix + QStringLiteral("Maximized"),
              window->WindowState() == TWindowState::wsMaximized, kWindowSection);
    try {
        writeinteger(prefix + QStringLiteral("Left"), window->Left(), kWindowSection);
        writeinteger(prefix + QStringLiteral("Top"), window->Top(), kWindowSection);
        if (window->Sizeable) {
            writeinteger(prefix + QStringLiteral("Width"), window->Width(), kWindowSection);
            writeinteger(prefix + QStringLiteral("Height"), window->Height(), kWindowSection);
        }
    } catch (const std::exception&) {
        // Only the state's failure is reported; the position is a nicety.
    }
}

TFont& TIniSettings::readfont(const QString& section, TFont& font) {
    font.Name = readstring(QStringLiteral("FontName"), font.Name, section);
    font.Size = readinteger(QStringLiteral("FontSize"), font.Size, section);
    font.Color = static_cast<TColor>(
        readinteger(QStringLiteral("FontColor"), static_cast<int>(font.Color), section));
    const int charSet = readinteger(QStringLiteral("FontCharSet"), font.CharSet, section);
    if (charSet >= 0 && charSet <= 255) {
        font.CharSet = charSet;
    }
    font.SetStyleBits(readinteger(QStringLiteral("FontStyle"), font.StyleBits(), section));
    return font;
}

void TIniSettings::writefont(const QString& section, const TFont& font) {
    writestring(QStringLiteral("FontName"), font.Name, section);
    writeinteger(QStringLiteral("FontSize"), font.Size, section);
    writeinteger(QStringLiteral("FontColor"), static_cast<int>(font.Color), section);
    writeinteger(QStringLiteral("FontCharSet"), font.CharSet, section);
    writeinteger(QStringLiteral("FontStyle"), font.StyleBits(), section);
}

namespace {

// Walks the published properties named in `properties` of each owned
// component not in `excluded`, in ownership and list order, with the key
// "<component>.<property>". The walk runs over a copy: setting a property runs
// handlers, which must not disturb it.
template <class F>
void ForEachStoredProperty(TComponent* component, const QStringList& properties,
                           const QStringList& excluded, F&& visit) {
    const std::vector<TComponent*> owned = component->Components();
    for (TComponent* c : owned) {
        if (InStringList(c->Name(), excluded)) {
            continue;
        }
        const QStringList published = c->PublishedProperties();
        for (const QString& p : properties) {
            if (published.contains(p)) {
                visit(c, p, c->Name() + u'.' + p);
            }
        }
    }
}

} // namespace

void TIniSettings::SaveControls(TComponent* component, const QStringList& properties,
                                const QStringList& excluded, TIniFile* file) {
    OpenIniFile();
    if (!component) {
        return;
    }
    TIniFile& target = file ? *file : *inifile;
    const QString section = component->Name();
    ForEachStoredProperty(component, properties, excluded,
                          [&](TComponent* c, const QString& p, const QString& key) {
                              if (const auto text = c->PropertyText(p)) {
                                  target.WriteString(section, key, *text);
                              }
                          });
}

void TIniSettings::LoadControls(TComponent* component, const QStringList& properties,
                                const QStringList& excluded, TIniFile* file) {
    OpenIniFile();
    if (!component) {
        return;
    }
    TIniFile& source = file ? *file : *inifile;
    const QString section = component->Name();
    ForEachStoredProperty(component, properties, excluded,
                          [&](TComponent* c, const QString& p, const QString& key) {
                              const QString text = source.ReadString(section, key, QString());
                              if (!text.isEmpty()) {
                                  c->SetPropertyText(p, text);
                              }
                          });
}

void TIniSettings::SaveControlsToFile(const QString& fileName, TComponent* component,
                                      const QStringList& properties, const QStringList& excluded) {
    TIniFile file(fileName);
    SaveControls(component, properties, excluded, &file);
}

void TIniSettings::LoadControlsFromFile(const QString& fileName, TComponent* component,
                                        const QStringList& properties,
                                        const QStringList& excluded) {
    TIniFile file(fileName);
    LoadControls(component, properties, excluded, &file);
}

bool TIniSettings::DeleteKey(const QString& key, const QString& section) {
    try {
        return File().DeleteKey(section, key);
    } catch (const std::exception&) {
        return false;
    }
}

bool TIniSettings::EraseSection(const QString& section) {
    return File().EraseSection(section);
}
