#include "app/commandline.h"
#include "app/startuppage.h"
#include "app/tform1.h"

#include "elements/colours.h"
#include "elements/forms.h"
#include "mylib/numbers.h"
#include "mylib/paths.h"

QStringList ArgumentsAsGiven(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

bool StartOnCalculatorPage(const QStringList& arguments) {
    return !arguments.isEmpty() &&
           (arguments.first().compare(QLatin1String("CALC"), Qt::CaseInsensitive) == 0 ||
            HandsOverUsageCalculator(arguments));
}

bool HandsOverUsageCalculator(const QStringList& arguments) {
    return !arguments.isEmpty() && arguments.first() == QLatin1String(ShowUsageCalculatorOption);
}

void TForm1::Create() {
    Guard([this] { FormCreate(this); });
}

void TForm1::Show() {
    SetVisible(true);
    Guard([this] { FormShow(this); });
}

void TForm1::Destroy() {
    Guard([this] { FormDestroy(this); });
}

void TForm1::ActivationMessage(bool showUsageCalculator) {
    if (showUsageCalculator) {
        pagecontrol1->ShowPage(calc);
    }
    if (WindowState() == TWindowState::wsMinimized) {
        SetWindowState(TWindowState::wsNormal);
    }
    if (onBringToFront) {
        onBringToFront();
    }
}

void TForm1::FormCreate(TComponent*) {
    SetCaption(QStringLiteral("Voltisk"));
    ApplicationTitle = QStringLiteral("Voltisk");
    todaysdaterb->SetChecked(true);
    csvloadbtn->SetVisible(IsDeveloperMachine(platform_.markerPath));
    // The activation message is attached by the program (app/view/singleinstance).

    const QLocale locale = Locales().numbers;
    generaldailyservicechargeed->SetText(FormatGeneral(1.00326, locale));
    generalrateed->SetText(FormatGeneral(0.28283, locale));
    feedined->SetText(FormatGeneral(0.28283, locale));
    hwdailyfixedchargeed->SetText(FormatGeneral(0.19431, locale));
    hwrateed->SetText(FormatGeneral(0.17057, locale));

    Memo1->SetLines({
        QStringLiteral("If you have solar power, then check the checkbox for solar power."),
        QString(),
        QStringLiteral(
            "If you don't have separate readings for hot water, then uncheck the checkbox "
            "\"Show rates and readings for hot water\"."),
        QString(),
        QStringLiteral(
            "If you have solar, then enter your solar feed-in tariff (the amount you get "
            "paid per Kwh for power you export to the grid)."),
    });
    versionlabel->SetCaption(QStringLiteral("v") + ProgramVersion());
    pagecontrol1->SetActivePage(StartOnCalculatorPage(platform_.arguments) ? calc : readingsts);

    const TColor solarColour = HtmlHexToColour(QStringLiteral("FFFBF0"));
    for (TGroupBox* gb : {solarexportreadingsgb, solarimportgeneralgb, solarimporthwreadingsgb}) {
        gb->SetColor(solarColour);
    }
    for (TGroupBox* gb : {stadardlightandpowerreadingsgb, standardhwreadingsgb}) {
        gb->SetColor(RGBColor(215, 228, 242));
    }
    readingdatesgb->SetColor(clBtnFace);

    const QDate today = Today();
    dt1->SetDate(today);
    dt2->SetDate(today);
    resetbuttonClick(this);
    for (const auto& [field, input] : ReadingFields()) {
        field->SetText(QString());
    }
    for (const auto& [label, text] : ResultLabels()) {
        label->SetCaption(QString());
    }
    for (TLabel* l : {resultlabel, perweeklabel, peryearlabel}) {
        l->SetCaption(QString());
    }
    sb1->SetSimpleText(QString());
    IniSettings1->SetIniFileName(QString());
    CentreOnScreen(this, platform_.screen);
    loadsettings();
    ShowUsageCaptions(solarcb->Checked());
}

void TForm1::FormShow(TComponent*) {
    // One calculation and one report write for the first show.
    ShowPowerKind();
    CalcAll();
}

void TForm1::FormDestroy(TComponent*) {
    savesettings();
}

void TForm1::Memo1Enter(TComponent*) {
    SetActiveControl(nullptr);
}
