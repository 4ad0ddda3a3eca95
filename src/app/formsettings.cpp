#include "app/tform1.h"

#include "calc/periodcalc.h"

#include "mylib/atomicfile.h"
#include "mylib/blanks.h"
#include "mylib/dates.h"
#include "mylib/errors.h"
#include "mylib/paths.h"

#include <utility>

namespace {

const QString kSection = QStringLiteral("Settings");
// The key of a date's locale-independent copy: the date key and this.
const QString kIsoSuffix = QStringLiteral("Iso");

// The text fields in the order they are stored, with their keys.
std::vector<std::pair<QString, TEdit*>>
TextKeys(const std::vector<std::pair<TEdit*, QString PeriodInputs::*>>& edits) {
    std::vector<std::pair<QString, TEdit*>> keys;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        keys.emplace_back(QString::fromLatin1(PeriodInputFields()[i].settingsKey), edits[i].first);
    }
    return keys;
}

// Temporary files of writers killed during a save: in the settings folder
// (settings and reports), and beside a linked settings file's target.
void RemoveLeftovers(const QString& settingsFile) {
    if (settingsFile.isEmpty()) {
        return;
    }
    const QString folder = ExtractFilePath(settingsFile);
    // A bare name means the current folder, which is not ours to sweep.
    RemoveStaleTempFiles(folder, folder.isEmpty() ? settingsFile : QString());
    // Earlier versions' leftovers carry no mark of their own; only those of
    // the settings file's own name go.
    RemoveStaleTempFiles(folder, settingsFile.mid(folder.size()));
    const QString target = FinalLinkTarget(settingsFile);
    if (target != settingsFile) {
        RemoveStaleTempFiles(ExtractFilePath(target), target.mid(target.lastIndexOf(u'/') + 1));
    }
}

// Reads the settings file once for the keys that follow; whatever happens,
// the hold ends with the scope (CommitFile first to write once).
class HeldFile {
public:
    explicit HeldFile(TIniSettings& settings) : settings_(settings) { settings_.HoldFile(); }
    ~HeldFile() { settings_.ReleaseFile(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

private:
    TIniSettings& settings_;
};

} // namespace

void TForm1::loadsettings() {
    const QString fileName = IniSettings1->GetFullIniFilename();
    RemoveLeftovers(fileName);
    const HeldFile held(*IniSettings1);
    // Read as empty, such a file would be replaced by one holding only what
    // this run saves: say so once and leave it alone.
    if (const auto problem = IniSettings1->ReadProblem()) {
        keepSettingsFile_ = true;
        ShowException(EVoltiskError(QStringLiteral("Could not read the settings file %1: %2. "
                                                   "Nothing will be saved to it this time.")
                                        .arg(fileName, *problem)));
        return;
    }
    if (!FileExists(fileName)) {
        return;
    }
    IniSettings1->readwindowpos(this, QString());
    for (const auto& [key, field] : TextKeys(PeriodFieldEdits())) {
        field->SetText(IniSettings1->readstring(key, QString(), kSection));
    }
    solarcb->SetChecked(
        !IniSettings1->readbool(QStringLiteral("StandardReadings"), true, kSection));
    showhwcb->SetChecked(IniSettings1->readbool(QStringLiteral("ShowHotWater"), true, kSection));

    const QLocale locale = Locales().dates;
    const QDate today = Today();
    const QString todayText = FormatShortDate(today, locale);
    // A date the locale cannot read (written under another locale) is taken
    // from its ISO copy; one without a readable copy either is reported and
    // replaced by today. The keys after it still load, so the next save does
    // not lose them.
    for (const auto& [key, picker] : {std::pair{QStringLiteral("DateBefore"), dt1},
                                      std::pair{QStringLiteral("DateAfter"), dt2}}) {
        const QString text = IniSettings1->readstring(key, todayText, kSection);
        const QDate iso = QDate::fromString(
            IniSettings1->readstring(key + kIsoSuffix, QString(), kSection), Qt::ISODate);
        if (const auto date = ParseShortDate(text, locale)) {
            picker->SetDate(*date);
        } else if (iso.isValid()) {
            picker->SetDate(iso);
        } else {
            picker->SetDate(today);
            ShowException(EVoltiskError(QStringLiteral("''%1'' is not a valid date").arg(text)));
        }
    }

    wattsedit->SetText(
        IniSettings1->readstring(QStringLiteral("Watts"), QStringLiteral("0"), kSection));
    hrsedit->SetText(
        IniSettings1->readstring(QStringLiteral("Hours"), QStringLiteral("1"), kSection));
}

void TForm1::savesettings() {
    if (keepSettingsFile_) {
        return;
    }
    // Every key into one copy of the file, written back once.
    const HeldFile held(*IniSettings1);
    IniSettings1->writewindowpos(this, QString());
    for (const auto& [key, field] : TextKeys(PeriodFieldEdits())) {
        IniSettings1->writestring(key, field->Text(), kSection);
    }
    IniSettings1->writebool(QStringLiteral("StandardReadings"), !solarcb->Checked(), kSection);
    IniSettings1->writebool(QStringLiteral("ShowHotWater"), showhwcb->Checked(), kSection);

    const QLocale locale = Locales().dates;
    const QDate today = Today();
    for (const auto& [key, picker] : {std::pair{QStringLiteral("DateBefore"), dt1},
                                      std::pair{QStringLiteral("DateAfter"), dt2}}) {
        const QDate date = picker->Date().isValid() ? picker->Date() : today;
        // Other copies of the program read the locale's text; the ISO copy
        // survives a change of locale.
        IniSettings1->writestring(key, FormatShortDate(date, locale), kSection);
        IniSettings1->writestring(key + kIsoSuffix, date.toString(Qt::ISODate), kSection);
    }
    IniSettings1->writestring(QStringLiteral("Watts"), TrimBlanks(wattsedit->Text()), kSection);
    IniSettings1->writestring(QStringLiteral("Hours"), TrimBlanks(hrsedit->Text()), kSection);
    IniSettings1->CommitFile();
}

std::optional<QString> TForm1::SaveSettingsUnattended() {
    try {
        savesettings();
    } catch (const EVoltiskError& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return std::nullopt;
}
