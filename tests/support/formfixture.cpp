#include "support/formfixture.h"

#include "support/testenv.h"

FormFixture::FormFixture(const QStringList& arguments, TDialogs* realDialogs, TScreen* realScreen)
    : platform(realDialogs ? *realDialogs : dialogs, shell, clock,
               realScreen ? *realScreen : screen) {
    platform.arguments = arguments;
    platform.executablePath = TestEnv::ExeDir() + QStringLiteral("/voltisk");
    platform.markerPath = TestEnv::ConfigDir() + QStringLiteral("/no-marker.txt");
    platform.billFolder = TestEnv::ConfigDir() + QStringLiteral("/bills");
}

TForm1& FormFixture::Make(bool show) {
    form = std::make_unique<TForm1>(platform);
    form->Create();
    if (show) {
        form->Show();
    }
    return *form;
}
