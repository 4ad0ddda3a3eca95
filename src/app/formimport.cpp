#include "app/tform1.h"

// The bill import arrives with the CSV reader.
void TForm1::csvloadbtnClick(TComponent*) {}
