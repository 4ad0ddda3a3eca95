#include "support/viewfixture.h"

#include <QApplication>

ViewFixture::ViewFixture(const QStringList& args, TDialogs* dialogs) : fx(args, dialogs) {
    form = &fx.Make(false);
    view = std::make_unique<TFormView>(*form);
    form->Show();
    view->show();
    QApplication::setActiveWindow(view.get());
}
