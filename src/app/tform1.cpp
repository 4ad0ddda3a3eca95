#include "app/tform1.h"

#include "mylib/errors.h"

TForm1::TForm1(const TPlatform& platform) : TForm(QStringLiteral("Form1")), platform_(platform) {
    BuildElements();
    WireEvents();
    KeepResultsDesign();
}

TForm1::~TForm1() = default;

void TForm1::WireEvents() {
    // Every field of the period.
    for (const auto& [e, input] : PeriodFieldEdits()) {
        e->OnChange = [this](TComponent* s) { Edit6Change(s); };
        e->OnKeyPress = [this](TComponent* s, QChar& k) { Edit6KeyPress(s, k); };
    }
    for (TEdit* e : {voltsedit, wedit, ampsedit, ohmsedit}) {
        e->OnKeyPress = [this](TComponent* s, QChar& k) { Edit6KeyPress(s, k); };
    }
    for (TEdit* e : {wattsedit, hrsedit, voltsedit, wedit, ampsedit, ohmsedit}) {
        e->OnChange = [this](TComponent* s) { wattseditChange(s); };
    }
    for (TDateTimePicker* d : {dt1, dt2}) {
        d->OnChange = [this](TComponent* s) { dt1Change(s); };
    }
    for (TUpDown* u : {exportlaterupdown, importgenlaterupdown, importhwlaterupdown,
                       edit7laterupdown, edit10laterupdown}) {
        u->OnClick = [this](TComponent* s, TUDBtnType b) { exportlaterupdownClick(s, b); };
    }
    solarcb->OnClick = [this](TComponent* s) { solarcbClick(s); };
    showhwcb->OnClick = [this](TComponent* s) { showhwcbClick(s); };
    Timer1->OnTimer = [this](TComponent* s) { Timer1Timer(s); };
    SpeedButton1->OnClick = [this](TComponent* s) { SpeedButton1Click(s); };
    SpeedButton2->OnClick = [this](TComponent* s) { SpeedButton2Click(s); };
    SpeedButton3->OnClick = [this](TComponent* s) { SpeedButton3Click(s); };
    SpeedButton5->OnClick = [this](TComponent* s) { SpeedButton5Click(s); };
    calculatebutton->OnClick = [this](TComponent* s) { calculatebuttonClick(s); };
    resetbutton->OnClick = [this](TComponent* s) { resetbuttonClick(s); };
    ohmsenablecb->OnClick = [this](TComponent* s) { ohmsenablecbClick(s); };
    Memo1->OnEnter = [this](TComponent* s) { Memo1Enter(s); };
    reportsbtn->OnClick = [this](TComponent* s) { reportsbtnClick(s); };
    csvloadbtn->OnClick = [this](TComponent* s) { csvloadbtnClick(s); };
}

void TForm1::ShowException(const std::exception& e) {
    const auto* own = dynamic_cast<const EVoltiskError*>(&e);
    const QString message = own ? own->Message() : QString::fromUtf8(e.what());
    platform_.dialogs.ShowError(ErrorBoxText(message));
}
