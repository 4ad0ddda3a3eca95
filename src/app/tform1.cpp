#include "app/tform1.h"

#include "mylib/elements/urllabel.h"
#include "mylib/errors.h"

#include <cmath>

namespace {

// The window is designed at 120 pixels per inch; Qt's logical pixels are 96.
int Scaled(int designPixels) {
    return static_cast<int>(std::lround(designPixels * 96.0 / 120.0));
}

TFont DesignFont(const char* name, int designPixels, bool bold = false) {
    TFont f;
    f.Name = QString::fromLatin1(name);
    f.Size = Scaled(designPixels);
    f.Bold = bold;
    return f;
}

} // namespace

TForm1::TForm1(const TPlatform& platform) : TForm(QStringLiteral("Form1")), platform_(platform) {
    BuildElements();
    WireEvents();
}

TForm1::~TForm1() = default;

void TForm1::BuildElements() {
    // Creates an element owned by the window, placed in design coordinates.
    auto make = [this]<class T>(T*& member, const char* name, TControl* parent, int x, int y, int w,
                                int h, const QString& caption = QString()) {
        auto element = std::make_unique<T>(this, QString::fromLatin1(name), parent);
        element->SetBounds(Scaled(x), Scaled(y), Scaled(w), Scaled(h));
        if constexpr (std::is_base_of_v<TCaptionControl, T>) {
            element->SetCaption(caption.isNull() ? QString::fromLatin1(name) : caption);
        }
        if constexpr (std::is_same_v<T, TEdit>) {
            element->SetText(caption.isNull() ? QString::fromLatin1(name) : caption);
        }
        member = element.get();
        owned_.push_back(std::move(element));
        return member;
    };
    auto label = [&](TLabel*& member, const char* name, TControl* parent, int x, int y, int w,
                     const QString& caption = QString()) {
        return make(member, name, parent, x, y, w, 22, caption);
    };
    auto value = [&](TLabel*& member, const char* name, TControl* parent, int x, int y, int w,
                     TAlignment align) {
        make(member, name, parent, x, y, w, 22);
        member->Alignment = align;
        member->AutoSize = false;
        return member;
    };

    SetCaption(QStringLiteral("Voltisk"));
    SetBounds(0, 0, Scaled(1321), Scaled(601));

    make(pagecontrol1, "pagecontrol1", this, 10, 10, 1301, 561);
    make(readingsts, "readingsts", pagecontrol1, 0, 0, 1293, 526,
         QStringLiteral("Standard readings"));
    make(calc, "calc", pagecontrol1, 0, 0, 1293, 526, QStringLiteral("Quick usage calculator"));
    make(about, "about", pagecontrol1, 0, 0, 1293, 526, QStringLiteral("Help"));
    pagecontrol1->Pages = {readingsts, calc, about};
    pagecontrol1->SetActivePage(readingsts);
    pagecontrol1->TabOrder = 0;

    // Left column: dates, the hot-water switch, the charges.
    const QString orig = QStringLiteral("Original reading:");
    const QString later = QStringLiteral("Later reading:");
    make(readingdatesgb, "readingdatesgb", readingsts, 10, 10, 360, 100,
         QStringLiteral("Reading Dates"));
    label(Label23, "Label23", readingdatesgb, 16, 32, 150, orig);
    make(dt1, "dt1", readingdatesgb, 170, 28, 170, 28);
    label(Label24, "Label24", readingdatesgb, 16, 66, 150, later);
    make(dt2, "dt2", readingdatesgb, 170, 62, 170, 28);
    make(showhwcb, "showhwcb", readingsts, 16, 118, 354, 26,
         QStringLiteral("Show rates and readings for Hot Water"));
    showhwcb->SetChecked(true);
    make(lightandpowersettingsgb, "lightandpowersettingsgb", readingsts, 10, 152, 360, 100,
         QStringLiteral("General Light and Power Charges ($) "));
    label(Label1, "Label1", lightandpowersettingsgb, 16, 32, 180,
          QStringLiteral("Daily fixed charge:"));
    make(generaldailyservicechargeed, "generaldailyservicechargeed", lightandpowersettingsgb, 200,
         28, 140, 28);
    label(Label3, "Label3", lightandpowersettingsgb, 16, 66, 180,
          QStringLiteral("Energy rate (per Kwh):"));
    make(generalrateed, "generalrateed", lightandpowersettingsgb, 200, 62, 140, 28);
    make(hotwatersettingsgb, "hotwatersettingsgb", readingsts, 10, 262, 360, 100,
         QStringLiteral("Hot Water Charges ($) "));
    label(Label4, "Label4", hotwatersettingsgb, 16, 32, 180, QStringLiteral("Daily fixed charge:"));
    make(hwdailyfixedchargeed, "hwdailyfixedchargeed", hotwatersettingsgb, 200, 28, 140, 28);
    label(Label5, "Label5", hotwatersettingsgb, 16, 66, 180,
          QStringLiteral("Energy rate (per Kwh):"));
    make(hwrateed, "hwrateed", hotwatersettingsgb, 200, 62, 140, 28);
    make(feedingb, "feedingb", readingsts, 10, 372, 360, 68,
         QStringLiteral("Solar feed-in tariff ($ per Kwh)"));
    label(Label16, "Label16", feedingb, 16, 32, 180, QStringLiteral("Feed-in tariff:"));
    make(feedined, "feedined", feedingb, 200, 28, 140, 28);

    // Middle column: heading, solar switch and the three places for readings.
    make(typelabel, "typelabel", readingsts, 384, 12, 230, 34);
    typelabel->SetFont(DesignFont("Tahoma", 20));
    make(solarcb, "solarcb", readingsts, 616, 16, 140, 28, QStringLiteral("Solar power"));
    solarcb->SetFont(DesignFont("Tahoma", 17));
    auto readings = [&](TGroupBox*& gb, const char* gbName, int y, const QString& caption,
                        TLabel*& lo, const char* loName, TEdit*& eo, const char* eoName,
                        TLabel*& ll, const char* llName, TEdit*& el, const char* elName,
                        TUpDown*& ud, const char* udName) {
        make(gb, gbName, readingsts, 384, y, 370, 104, caption);
        label(lo, loName, gb, 16, 34, 150, orig);
        make(eo, eoName, gb, 176, 30, 176, 28);
        label(ll, llName, gb, 16, 68, 150, later);
        make(el, elName, gb, 176, 64, 154, 28);
        make(ud, udName, gb, 330, 64, 22, 28);
    };
    readings(solarexportreadingsgb, "solarexportreadingsgb", 56,
             QStringLiteral("Export to grid (Kwh)"), Label10, "Label10", exportoriged,
             "exportoriged", Label25, "Label25", exportlater, "exportlater", exportlaterupdown,
             "exportlaterupdown");
    readings(solarimportgeneralgb, "solarimportgeneralgb", 170,
             QStringLiteral("Import from grid - General light and power (Kwh)"), Label26, "Label26",
             importgenoriged, "importgenoriged", Label27, "Label27", importgenlatered,
             "importgenlatered", importgenlaterupdown, "importgenlaterupdown");
    readings(solarimporthwreadingsgb, "solarimporthwreadingsgb", 284,
             QStringLiteral("Import from grid - Hot water (Kwh)"), Label28, "Label28",
             importhworiged, "importhworiged", Label29, "Label29", importhwlatered,
             "importhwlatered", importhwlaterupdown, "importhwlaterupdown");
    readings(stadardlightandpowerreadingsgb, "stadardlightandpowerreadingsgb", 400,
             QStringLiteral("General Light and Power Readings (Kwh)"), Label6, "Label6", Edit6,
             "Edit6", Label7, "Label7", Edit7, "Edit7", edit7laterupdown, "edit7laterupdown");
    readings(standardhwreadingsgb, "standardhwreadingsgb", 420,
             QStringLiteral("Hot Water Readings (Kwh)"), Label11, "Label11", Edit9, "Edit9",
             Label12, "Label12", Edit10, "Edit10", edit10laterupdown, "edit10laterupdown");
    for (TControl* c :
         std::initializer_list<TControl*>{standardhwreadingsgb, Label11, Label12, Edit9, Edit10}) {
        c->SetFont(DesignFont("Tahoma", 17));
    }
    edit7laterupdown->SetVisible(false);
    edit10laterupdown->SetVisible(false);

    // Right column: results, a right-aligned total column and a left-aligned split column.
    make(resultsgb, "resultsgb", readingsts, 758, 10, 533, 446, QStringLiteral("Results"));
    // The total column ends well inside the 200 pixels that hiding hot water cuts off.
    const int capX = 12, capW = 152, totX = 166, totW = 110, splitX = 290, splitW = 236;
    auto row = [&](TLabel*& cap, const char* capName, const QString& caption, TLabel*& tot,
                   const char* totName, TLabel** split, const char* splitName, int y) {
        label(cap, capName, resultsgb, capX, y, capW, caption);
        value(tot, totName, resultsgb, totX, y, totW, TAlignment::RightJustify);
        if (split) {
            value(*split, splitName, resultsgb, splitX, y, splitW, TAlignment::LeftJustify);
        }
    };
    auto headings = [&](TLabel*& tot, const char* totName, TLabel*& lp, const char* lpName,
                        TLabel*& hw, const char* hwName, int y) {
        value(tot, totName, resultsgb, totX, y, totW, TAlignment::RightJustify)
            ->SetCaption(QStringLiteral("Tot"));
        label(lp, lpName, resultsgb, splitX, y, 104, QStringLiteral("(Light & Power +"));
        label(hw, hwName, resultsgb, splitX + 106, y, 90, QStringLiteral("Hot water)"));
        for (TLabel* l : {tot, lp, hw}) {
            l->SetFont(DesignFont("Calibri", 12));
        }
    };
    TLabel** none = nullptr;
    row(Label22, "Label22", QStringLiteral("# Days in period:"), dayslabel, "dayslabel", none, "",
        32);
    Label22->SetFont(DesignFont("", 0, true));
    row(Label30, "Label30", QStringLiteral("Kw exported to grid:"), exportedlabel, "exportedlabel",
        none, "", 62);
    headings(totlabel1, "totlabel1", lightandpowerlabel1, "lightandpowerlabel1", hotwaterlabel1,
             "hotwaterlabel1", 98);
    row(usedlab, "usedlab", QStringLiteral("Kw used:"), used, "used", &usedwk, "usedwk", 122);
    row(dailyusedlab, "dailyusedlab", QStringLiteral("Daily kw used:"), dused, "dused", &dusedwk,
        "dusedwk", 152);
    row(Label14, "Label14", QStringLiteral("Variable daily cost:"), dcost, "dcost", &dcostwk,
        "dcostwk", 182);
    row(Label15, "Label15", QStringLiteral("Total daily cost:"), tdcost, "tdcost", &tdcostwk,
        "tdcostwk", 212);
    Label15->SetFont(DesignFont("", 0, true));
    headings(totlabel2, "totlabel2", lightandpowerlabel2, "lightandpowerlabel2", hotwaterlabel2,
             "hotwaterlabel2", 256);
    row(Label32, "Label32", QStringLiteral("Income:"), exportedincome, "exportedincome", none, "",
        280);
    row(Label8, "Label8", QStringLiteral("Fixed cost:"), fresult, "fresult", &fresultwk,
        "fresultwk", 310);
    row(Label9, "Label9", QStringLiteral("Variable cost:"), vresult, "vresult", &vresultwk,
        "vresultwk", 340);
    row(Label13, "Label13", QStringLiteral("Total Net cost:"), tresult, "tresult", &tresultwk,
        "tresultwk", 376);
    Label13->SetFont(DesignFont("", 0, true));
    tresult->SetFont(DesignFont("", 0, true));

    // Page "Quick usage calculator".
    make(wattsusagegb, "wattsusagegb", calc, 10, 10, 1270, 150,
         QStringLiteral("Calculate cost for watts usage "));
    label(Label31, "Label31", wattsusagegb, 20, 40, 130, QStringLiteral("Watts"));
    make(wattsedit, "wattsedit", wattsusagegb, 160, 36, 130, 28, QStringLiteral("0"));
    label(Label33, "Label33", wattsusagegb, 20, 80, 130, QStringLiteral("Hours (per day)"));
    make(hrsedit, "hrsedit", wattsusagegb, 160, 76, 130, 28, QStringLiteral("1"));
    value(resultlabel, "resultlabel", wattsusagegb, 320, 30, 440, TAlignment::Center)
        ->SetHeight(Scaled(44));
    resultlabel->SetFont(DesignFont("Arial", 22));
    value(kwhlabel, "kwhlabel", wattsusagegb, 320, 80, 440, TAlignment::Center);
    make(GroupBox1, "GroupBox1", wattsusagegb, 790, 22, 460, 108, QString(""));
    value(perweeklabel, "perweeklabel", GroupBox1, 20, 26, 420, TAlignment::LeftJustify);
    value(peryearlabel, "peryearlabel", GroupBox1, 20, 66, 420, TAlignment::LeftJustify);

    make(voltswattsampsconvertergb, "voltswattsampsconvertergb", calc, 10, 172, 640, 340,
         QStringLiteral("Volts / Watts / Amps / Ohms Converter "));
    label(Label21, "Label21", voltswattsampsconvertergb, 20, 32, 600,
          QStringLiteral("Enter any two values and press calculate to get the "));
    label(Label34, "Label34", voltswattsampsconvertergb, 20, 54, 600,
          QStringLiteral("other two values."));
    auto convRow = [&](TEdit*& edit, const char* editName, TButton*& clear, const char* clearName,
                       TLabel*& unit, const char* unitName, const QString& unitText, int y) {
        make(edit, editName, voltswattsampsconvertergb, 50, y, 170, 28, QStringLiteral("0"));
        make(clear, clearName, voltswattsampsconvertergb, 224, y, 28, 28, QStringLiteral("-"));
        clear->SetHint(QStringLiteral("Clear this entry"));
        clear->Flat = true;
        label(unit, unitName, voltswattsampsconvertergb, 262, y + 4, 300, unitText);
    };
    convRow(voltsedit, "voltsedit", SpeedButton1, "SpeedButton1", Label18, "Label18",
            QStringLiteral("Volts"), 90);
    convRow(wedit, "wedit", SpeedButton2, "SpeedButton2", Label19, "Label19",
            QStringLiteral("Watts (vA) (power)"), 130);
    convRow(ampsedit, "ampsedit", SpeedButton3, "SpeedButton3", Label20, "Label20",
            QStringLiteral("Amps (current)"), 170);
    convRow(ohmsedit, "ohmsedit", SpeedButton5, "SpeedButton5", Label36, "Label36",
            QStringLiteral("Ohms (resistance)"), 210);
    make(ohmsenablecb, "ohmsenablecb", voltswattsampsconvertergb, 20, 214, 24, 24, QString(""));
    ohmsenablecb->SetHint(QStringLiteral("Enable or disable ohms"));
    ohmsenablecb->SetVisible(false);
    make(calculatebutton, "calculatebutton", voltswattsampsconvertergb, 50, 268, 130, 36,
         QStringLiteral("Calculate"));
    make(resetbutton, "resetbutton", voltswattsampsconvertergb, 196, 268, 130, 36,
         QStringLiteral("Reset"));

    // Page "Help".
    label(Label2, "Label2", about, 40, 24, 560, QStringLiteral("Voltisk"))->SetHeight(Scaled(40));
    Label2->SetFont(DesignFont("Tahoma", 20));
    Label2->Alignment = TAlignment::Center;
    Label2->AutoSize = false;
    value(versionlabel, "versionlabel", about, 40, 70, 560, TAlignment::Center);
    auto link = [&](TURLLabel*& member, const char* name, int y, const QString& url,
                    const QString& caption) {
        auto element = std::make_unique<TURLLabel>(this, QString::fromLatin1(name), about);
        element->SetBounds(Scaled(40), Scaled(y), Scaled(560), Scaled(28));
        element->Alignment = TAlignment::Center;
        element->AutoSize = false;
        TFont f = element->Font();
        f.Name = QStringLiteral("Tahoma");
        f.Size = Scaled(17);
        element->SetFont(f);
        element->SetCaption(caption);
        element->SetURL(url);
        member = element.get();
        owned_.push_back(std::move(element));
    };
    link(URLLabel1, "URLLabel1", 116, QStringLiteral("https://www.brindlesoftware.com"), QString());
    link(URLLabel2, "URLLabel2", 152, QStringLiteral("https://www.brindlesoftware.com/products"),
         QStringLiteral("Keep your notes in order: try our other desktop tools"));
    make(reportsgb, "reportsgb", about, 40, 206, 560, 210, QStringLiteral("Reports "));
    make(reportsbtn, "reportsbtn", reportsgb, 24, 34, 230, 36,
         QStringLiteral("View saved reports"));
    make(reportnamegb, "reportnamegb", reportsgb, 24, 86, 340, 104,
         QStringLiteral("Report name contains "));
    make(todaysdaterb, "todaysdaterb", reportnamegb, 18, 32, 300, 26,
         QStringLiteral("Today's date"));
    make(lastdaterb, "lastdaterb", reportnamegb, 18, 64, 300, 26,
         QStringLiteral("Date of last reading"));
    label(Label17, "Label17", about, 660, 24, 300, QStringLiteral("Instructions:"))
        ->SetHeight(Scaled(32));
    Label17->SetFont(DesignFont("Tahoma", 18));
    make(Memo1, "Memo1", about, 660, 62, 600, 440);
    Memo1->SetLines({QStringLiteral("Memo1")});

    // On the window, over the lower right corner of the page area.
    make(sb1, "sb1", this, 0, 575, 1321, 26);
    make(csvloadbtn, "csvloadbtn", this, 1197, 548, 114, 22, QStringLiteral("CSV Load"));
    csvloadbtn->SetHint(QStringLiteral("Load \"original\" values from latest Aurora CSV file"));
    csvloadbtn->TabOrder = 1;

    IniSettings1 = std::make_unique<TIniSettings>(this, QStringLiteral("IniSettings1"));
    IniSettings1->SetCompanyName(QStringLiteral("BrindleSoftware"));
    IniSettings1->SetProductName(QStringLiteral("voltisk"));
    IniSettings1->Screen = &platform_.screen;

    auto timer = std::make_unique<TTimer>(this, QStringLiteral("Timer1"));
    Timer1 = timer.get();
    Timer1->Interval = 2000;
    owned_.push_back(std::move(timer));

    // Keyboard order: the order of creation within each parent, except where
    // the groups of the readings page are listed explicitly.
    int order = 0;
    for (TControl* c : std::initializer_list<TControl*>{
             readingdatesgb, showhwcb, lightandpowersettingsgb, hotwatersettingsgb, feedingb,
             solarcb, stadardlightandpowerreadingsgb, standardhwreadingsgb, solarexportreadingsgb,
             solarimportgeneralgb, solarimporthwreadingsgb, resultsgb}) {
        c->TabOrder = order++;
    }
    order = 0;
    for (TComponent* comp : Components()) {
        auto* c = dynamic_cast<TControl*>(comp);
        if (c && c->Parent() && c->Parent() != readingsts) {
            c->TabOrder = order++;
        }
    }
}

void TForm1::WireEvents() {
    for (TEdit* e : {Edit6, Edit7, Edit9, Edit10, exportoriged, exportlater, importgenoriged,
                     importgenlatered, importhworiged, importhwlatered, generaldailyservicechargeed,
                     generalrateed, hwdailyfixedchargeed, hwrateed, feedined}) {
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
