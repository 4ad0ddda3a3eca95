#pragma once
// TIniSettings keeps a program's settings in one INI file in the user's
// configuration folder: <AppDataFolder>/<CompanyName>/<ProductName>/<ProductName>.ini.
// The first typed read or write opens the file (creating its folder); every
// write reaches the disk at once through TIniFile, nothing is cached. Writes
// that cannot be stored throw "Unable to write to <full file name>"; reads
// never throw and give the default instead.

#include "mylib/elements/controls.h"
#include "mylib/platform.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <memory>

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

    QString GetFullIniFilename();
    void BuildIniFilename();
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
    void readwindowpos(TForm* window, const QString& prefix);
    void writewindowpos(TForm* window, const QString& prefix);

    TFont& readfont(const QString& section, TFont& font);
    void writefont(const QString& section, const TFont& font);

    // Stores "<owned name>.<property>" for each owned component of `component`
    // not in `excluded`, into `file` or this component's own file.
    void SaveControls(TComponent* component, const QStringList& properties,
                      const QStringList& excluded, TIniFile* file = nullptr);
    void LoadControls(TComponent* component, const QStringList& properties,
                      const QStringList& excluded, TIniFile* file = nullptr);
    void SaveControlsToFile(const QString& fileName, TComponent* component,
                            const QStringList& properties, const QStringList& excluded);
    void LoadControlsFromFile(const QString& fileName, TComponent* component,
                              const QStringList& properties, const QStringList& excluded);

    // Both always return false; nothing reads the result.
    bool DeleteKey(const QString& key, const QString& section);
    bool EraseSection(const QString& section);

    // The screen used by readwindowpos to keep a window reachable.
    TScreen* Screen = nullptr;
    // The locale of readfloat and writefloat.
    QLocale Locale;

private:
    std::unique_ptr<TIniFile> inifile;
    QString Fcompanyname;
    QString Fproductname;
    QString Ffullinifilename;
};
