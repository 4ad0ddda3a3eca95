#include "app/tform1.h"

#include "calc/report.h"
#include "mylib/paths.h"

QString TForm1::ReportFilePath() const {
    const QDate date = todaysdaterb->Checked() ? Today() : dt2->Date();
    return ReportPath(IniSettings1->GetFullIniFilename(), ExeFolder(platform_.executablePath),
                      date);
}

void TForm1::reportsbtnClick(TComponent*) {
    // Exactly the settings folder, also when its name is empty: unlike the
    // report, the button never falls back to the program's folder.
    ShowFolderInFileManager(platform_.shell, ExtractFilePath(IniSettings1->GetFullIniFilename()));
}
