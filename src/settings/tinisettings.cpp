#include "settings/tinisettings.h"

// Work in progress: the INI file and the typed operations arrive with the
// settings issue.
class TIniFile {};

TIniSettings::TIniSettings(TComponent* owner, const QString& name)
    : TComponent(owner, name), Fcompanyname(QStringLiteral("BrindleSoftware")),
      Fproductname(QStringLiteral("Product1")) {}

TIniSettings::~TIniSettings() = default;

void TIniSettings::SetCompanyName(const QString& value) {
    Fcompanyname = value;
}
void TIniSettings::SetProductName(const QString& value) {
    Fproductname = value;
}
void TIniSettings::SetIniFileName(const QString& value) {
    Ffullinifilename = value;
}
QString TIniSettings::GetFullIniFilename() {
    return Ffullinifilename;
}
