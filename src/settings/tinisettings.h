#pragma once
// TIniSettings keeps a program's settings in one INI file in the user's
// configuration folder: <AppDataFolder>/<CompanyName>/<ProductName>/<ProductName>.ini.
// The first typed read or write opens the file (creating its folder); every
// write reaches the disk at once through TIniFile, nothing is cached. Writes
// that cannot be stored throw "Unable to write to <full file name>"; reads
// never throw and give the default instead.
//
// Encodings: integers as decimal text (read also as "0x"/"0X"/"$" hex),
// truth values as "1"/"0" (read as integers, true when not 0), floats in the
// general number format of `Locale`.

#include "elements/controls.h"
#include "mylib/platform.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class TIniFile;

class TIniSettings : public TComponent {
public:
    // Create: CompanyName "BrindleSoftware", ProductName "Product1", no file.
    TIniSettings(TComponent* owner, const QString& name);
    // Destroy: closes the open file object, if any.
    ~TIniSettings() override;

    QString CompanyName() const { return Fcompanyname; }
    void SetCompanyName(const QString& value);
    QString ProductName() const { return Fproductname; }
    void SetProductName(const QString& value);
    // Reading derives the name first when it is empty.
    QString IniFileName() { return GetFullIniFilename(); }
    void SetIniFileName(const QString& value);

    // The full file name, derived first when empty (stays empty while
    // ProductName is empty).
    QString GetFullIniFilename();
    // Derives the full file name; does nothing while ProductName is empty.
    void BuildIniFilename();
    // Opens the file object unless open: derives the name when empty (even
    // with an empty ProductName) and creates the missing folder. Creates no file.
    void OpenIniFile();

    QString readstring(const QString& key, const QString& def, const QString& section);
    void writestring(const QString& key, const QString& value, const QString& section);
    int readinteger(const QString& key, int def, const QString& section);
    void writeinteger(const QString& key, int value, const QString& section);
    bool readbool(const QString& key, bool def, const QString& section);
    void writebool(const QString& key, bool value, const QString& section);
    double readfloat(const QString& key, double def, const QString& section);
    void writefloat(const QString& key, double value, const QString& section);

    // Position and state of a window, in section "Settings" with keys
    // prefix + "Maximized", "Left", "Top" (and "Width", "Height" when sizeable).
    // The stored rectangle is the window's normal one (Left, Top, Width,
    // Height). Reading keeps the window within reach of Screen (60 pixels),
    // never throws, and maximises last when "Maximized" is true; it never
    // un-maximises. Writing throws only when "Maximized" cannot be stored.
    void readwindowpos(TForm* window, const QString& prefix);
    void writewindowpos(TForm* window, const QString& prefix);

    // Keys FontName, FontSize, FontColor, FontCharSet (0..255), FontStyle
    // (style bits); a missing or unusable key leaves its attribute as it is.
    TFont& readfont(const QString& section, TFont& font);
    void writefont(const QString& section, const TFont& font);

    // Stores "<owned name>.<property>" in section component->Name() for each
    // owned component of `component` not in `excluded` (exact names) and each
    // listed property it publishes, into `file` or this component's own file.
    // Loading sets only the properties whose stored text is not empty.
    void SaveControls(TComponent* component, const QStringList& properties,
                      const QStringList& excluded, TIniFile* file = nullptr);
    void LoadControls(TComponent* component, const QStringList& properties,
                      const QStringList& excluded, TIniFile* file = nullptr);
    void SaveControlsToFile(const QString& fileName, TComponent* component,
                            const QStringList& properties, const QStringList& excluded);
    void LoadControlsFromFile(const QString& fileName, TComponent* component,
                              const QStringList& properties, const QStringList& excluded);

    // Holding the file (see TIniFile::Hold): HoldFile reads it once and opens
    // the file object without creating its folder; every read and write then
    // works on that copy until CommitFile (one atomic replace holding every
    // write, throwing "Unable to write to ..." as a write does) or ReleaseFile
    // (drops the writes). ReadProblem is that of the held copy while held.
    void HoldFile();
    void CommitFile();
    void ReleaseFile();
    std::optional<QString> ReadProblem();

    // True when something was removed. DeleteKey ignores a failure to write;
    // EraseSection throws "Unable to write to ..." like the other writes.
    bool DeleteKey(const QString& key, const QString& section);
    bool EraseSection(const QString& section);

    // The screen used by readwindowpos to keep a window reachable.
    TScreen* Screen = nullptr;
    // The locale of readfloat and writefloat.
    QLocale Locale;
    // The application-data folder the file name is derived from; unset means
    // AppDataFolder(). An empty text stands for a desktop that cannot tell it:
    // the name is then relative to the current folder.
    std::optional<QString> AppData;

private:
    QString DerivedFileName() const;
    TIniFile& File();

    std::unique_ptr<TIniFile> inifile;
    bool folderMade_ = false;
    QString Fcompanyname;
    QString Fproductname;
    QString Ffullinifilename;
};
