#include "app/tform1.h"

// The period report arrives with the report writer; until then each step
// writes nothing.
#include "app/reportfile.h"

void TForm1::ReportOpen() {}
void TForm1::ReportReadings() {}
void TForm1::ReportClose() {}
void TForm1::ReportDays(qint64) {}
bool TForm1::ReportResults() {
    return false;
}
void TForm1::reportsbtnClick(TComponent*) {}
