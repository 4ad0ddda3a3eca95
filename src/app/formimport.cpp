#include "app/tform1.h"

#include "billimport/billvalues.h"
#include "billimport/newestfile.h"
#include "mylib/paths.h"
#include "mylib/ucsv.h"

// The bill import: the newest CSV file of the bill folder gives the end date
// and the three "original" readings of the solar layout, written after the
// user confirms. The cell list lives only within this call. Errors of the
// date parts and of reading the file leave as exceptions for Guard's error box.
void TForm1::csvloadbtnClick(TComponent*) {
    TDialogs& dialogs = platform_.dialogs;

    const QString path = FindNewestFile(platform_.billFolder, BillFilePattern);
    if (path.isEmpty()) {
        dialogs.ShowMessage(NoBillFileMessage(platform_.billFolder));
        return;
    }
    if (!FileExists(path)) {
        dialogs.ShowMessage(BillFileVanishedMessage(path));
        return;
    }

    const CsvReadResult read = ReadCsvFile(path, false);
    if (!read.error.isEmpty()) {
        dialogs.ShowMessage(read.error);
        return;
    }
    const QStringList& cells = read.cells;
    const int headerCount = read.headerCount;

    const QString exportReading = TariffReading(cells, headerCount, ExportTariffName);
    const QString generalReading = TariffReading(cells, headerCount, GeneralTariffName);
    const QString hotWaterReading = TariffReading(cells, headerCount, HotWaterTariffName);
    if (exportReading.isEmpty() || generalReading.isEmpty() || hotWaterReading.isEmpty()) {
        dialogs.ShowMessage(BillValuesMissingMessage);
        return;
    }

    const QString dateText = BillDateText(cells, headerCount);
    if (dateText.size() != 8) {
        dialogs.ShowMessage(BillDateMissingMessage);
        return;
    }
    const QDate date = ParseBillDate(dateText);

    const QString question =
        ImportQuestion(date, Locales().dates, exportReading, generalReading, hotWaterReading);
    if (!dialogs.VerifyDialog(question, QString())) {
        return;
    }

    // The date first: it fires nothing, so the recalculations run by the
    // three fields' change events already see it.
    const bool newDate = dt1->Date() != date;
    const QStringList before{exportoriged->Text(), importgenoriged->Text(), importhworiged->Text()};
    dt1->SetDate(date);
    exportoriged->SetText(exportReading);
    importgenoriged->SetText(generalReading);
    importhworiged->SetText(hotWaterReading);
    // When the readings were already there, no change event ran: the new date
    // still needs its recalculation, or the results would describe the old one.
    if (newDate && before == QStringList{exportReading, generalReading, hotWaterReading}) {
        CalcAll();
    }

    dialogs.InfoDialog(BillImportDoneMessage, QString());
}
