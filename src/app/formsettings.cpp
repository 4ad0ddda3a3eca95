#include "app/tform1.h"

// Loading and saving arrive with the settings component.
void TForm1::loadsettings() {}
void TForm1::savesettings() {}
