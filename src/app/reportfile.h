#pragma once
// The report of one CalcAll run. The steps gather its lines here and the
// closing step writes them in one go, so the file on disk is always a whole
// report: the previous one or the new one.

#include "app/tform1.h"

#include <QString>
#include <QStringList>

struct TForm1::ReportFile {
    QString path;
    QStringList lines;
};
