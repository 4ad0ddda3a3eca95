#include "app/reportfile.h"
#include "app/tform1.h"

#include "calc/report.h"
#include "mylib/dates.h"
#include "mylib/paths.h"

void TForm1::ReportOpen() {
    const QDate today = platform_.clock ? platform_.clock->Today() : QDate::currentDate();
    const QDate date = todaysdaterb->Checked() ? today : dt2->Date();
    report_ = std::make_unique<ReportFile>();
    report_->path = ReportPath(IniSettings1->GetFullIniFilename(), ExeFolder(), date);
    report_->lines = ReportOpeningLines();
}

void TForm1::ReportReadings() {
    if (!report_) {
        return;
    }
    const QLocale locale = Locales().dates;
    ReportReadingTexts t;
    static_cast<PeriodInputs&>(t) = ReadPeriodInputs();
    t.firstDate = FormatShortDate(dt1->Date(), locale);
    t.laterDate = FormatShortDate(dt2->Date(), locale);
    report_->lines += ReportReadingLines(t);
}

// The early close (day count 0 or less) shows no outcome: such a run leaves
// the status line empty and does not start the timer, so a failure text would
// never be cleared.
void TForm1::ReportClose() {
    if (report_) {
        WriteReport(report_->path, report_->lines);
        report_.reset();
    }
}

void TForm1::ReportDays(qint64 days) {
    if (report_) {
        report_->lines << ReportDaysLine(QString::number(days));
    }
}

bool TForm1::ReportResults() {
    if (!report_) {
        return false;
    }
    ReportResultTexts t;
    t.solar = solarcb->Checked();
    t.showHotWater = showhwcb->Checked();
    t.exportedlabel = exportedlabel->Caption();
    t.used = used->Caption();
    t.usedwk = usedwk->Caption();
    t.dused = dused->Caption();
    t.dcost = dcost->Caption();
    t.dcostwk = dcostwk->Caption();
    t.tdcost = tdcost->Caption();
    t.tdcostwk = tdcostwk->Caption();
    t.exportedincome = exportedincome->Caption();
    t.fresult = fresult->Caption();
    t.fresultwk = fresultwk->Caption();
    t.vresult = vresult->Caption();
    t.vresultwk = vresultwk->Caption();
    t.tresult = tresult->Caption();
    t.tresultwk = tresultwk->Caption();
    t.generalDailyCharge = generaldailyservicechargeed->Text();
    t.generalRate = generalrateed->Text();
    t.hwDailyCharge = hwdailyfixedchargeed->Text();
    t.hwRate = hwrateed->Text();
    report_->lines += ReportResultLines(t);
    const bool written = WriteReport(report_->path, report_->lines);
    report_.reset();
    return written;
}

void TForm1::reportsbtnClick(TComponent*) {
    // Exactly the settings folder, also when its name is empty: unlike the
    // report steps, the button never falls back to the program's folder.
    if (platform_.shell) {
        ShowFolderInFileManager(*platform_.shell,
                                ExtractFilePath(IniSettings1->GetFullIniFilename()));
    }
}
