#pragma once
// The report file open during one CalcAll run.

#include "app/tform1.h"

struct TForm1::ReportFile {};
