#include "elements/forms.h"

void CentreOnScreen(TForm* window, const TScreen& screen) {
    if (!window) {
        return;
    }
    const QRect area = screen.Geometry();
    window->SetLeft(area.left() + area.width() / 2 - window->Width() / 2);
    window->SetTop(area.top() + area.height() / 2 - window->Height() / 2);
}
