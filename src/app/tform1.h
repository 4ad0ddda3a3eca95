#pragma once
// The main window model. TForm1 owns every named element of the window as a
// member of that exact name and implements every handler. Handlers read and
// write element properties and call the pure layers (calc, tools, settings,
// billimport); platform services arrive through TPlatform. Nothing here needs
// a screen: the Qt view (app/view) binds the same elements to real widgets.
//
// Member definitions are split by concern:
//   tform1.cpp        building the elements and wiring their events
//   formstartup.cpp   FormCreate, FormShow, FormDestroy, activation, Memo1Enter
//   forminput.cpp     field changes, key filter, step buttons, display modes, timer
//   formperiod.cpp    CalcAll: fields to figures to labels and report
//   formreport.cpp    where the report goes, reportsbtnClick
//   formtools.cpp     the usage calculator and the converter
//   formsettings.cpp  loadsettings, savesettings
//   formimport.cpp    csvloadbtnClick
//   formlayout.cpp    room for wide result texts, the window's width

#include "app/readingspage.h"
#include "app/resultsgroup.h"
#include "calc/periodcalc.h"
#include "calc/report.h"
#include "elements/controls.h"
#include "mylib/locales.h"
#include "mylib/platform.h"
#include "settings/tinisettings.h"

#include <QLocale>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TURLLabel;

// The desktop services a TForm1 uses; all are required and must outlive it.
struct TPlatform {
    TPlatform(TDialogs& dialogs, TShell& shell, TClock& clock, TScreen& screen)
        : dialogs(dialogs), shell(shell), clock(clock), screen(screen) {}
    TDialogs& dialogs;
    TShell& shell;
    TClock& clock;
    TScreen& screen;
    // Program arguments after the program name (toolkit options removed).
    QStringList arguments;
    // The running program's full file name.
    QString executablePath;
    // Where the developer marker file is looked for.
    QString markerPath;
    // Where the bill import looks for the newest CSV file.
    QString billFolder;
    // The user's locale in its three parts (numbers, money, dates); unset,
    // every part is the default locale QLocale().
    std::optional<TLocales> locales;
    // The decimals of money texts; unset, those of the money part's currency.
    std::optional<int> moneyDecimals;
};

class TForm1 : public TForm, public TReadingsPage {
public:
    // Builds every element; runs nothing. Call Create() to run FormCreate.
    explicit TForm1(const TPlatform& platform);
    ~TForm1() override;

    // The window's life: FormCreate while invisible, Show (visible flag, then
    // FormShow), Destroy (FormDestroy). Errors reach the error box.
    void Create();
    void Show();
    void Destroy();
    // The activation message from a second copy; `showUsageCalculator`: it
    // was started by the desktop action, which asks for that page.
    void ActivationMessage(bool showUsageCalculator = false);

    // Runs a handler from a user action; an error reaches the error box.
    template <class F> void Guard(F&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            ShowException(e);
        }
    }
    void ShowException(const std::exception& e);

    // Elements by name, for the view and for tests.
    TComponent* Element(const QString& name) const { return FindComponent(name); }

    QString ApplicationTitle;
    bool resultsnarrowed = false;
    // The width a label's caption needs in its font, in the view's pixels.
    // The view sets it; without it every text counts as fitting its place.
    std::function<int(const TLabel*)> measureText;

    // --- handlers ---
    void FormCreate(TComponent* Sender);
    void FormShow(TComponent* Sender);
    void FormDestroy(TComponent* Sender);
    void Memo1Enter(TComponent* Sender);
    void dt1Change(TComponent* Sender);
    void Edit6Change(TComponent* Sender);
    void Edit6KeyPress(TComponent* Sender, QChar& Key);
    void exportlaterupdownClick(TComponent* Sender, TUDBtnType Button);
    void solarcbClick(TComponent* Sender);
    void showhwcbClick(TComponent* Sender);
    void Timer1Timer(TComponent* Sender);
    void wattseditChange(TComponent* Sender);
    void SpeedButton1Click(TComponent* Sender);
    void SpeedButton2Click(TComponent* Sender);
    void SpeedButton3Click(TComponent* Sender);
    void SpeedButton5Click(TComponent* Sender);
    void calculatebuttonClick(TComponent* Sender);
    void resetbuttonClick(TComponent* Sender);
    void ohmsenablecbClick(TComponent* Sender);
    void reportsbtnClick(TComponent* Sender);
    void csvloadbtnClick(TComponent* Sender);

    // --- operations ---
    void CalcAll();
    void CalcUsage();
    void loadsettings();
    void savesettings();
    // Gives every result text of the readings page its full width: grows the
    // value labels, and the results group, page area and window with them,
    // back to the designed places when the texts fit again (formlayout.cpp).
    void FitResultTexts();
    // The results group as one component, for the view's binding.
    const TResultsGroup& Results() const { return *results_; }
    // savesettings for an end without dialogs (the display is gone, the
    // session ends): the error text when saving failed, else nothing.
    std::optional<QString> SaveSettingsUnattended();

    // --- elements ---
    TPageControl* pagecontrol1;
    TStatusBar* sb1;
    TButton* csvloadbtn;
    std::unique_ptr<TIniSettings> IniSettings1;
    TTimer* Timer1;

    TTabSheet *readingsts, *calc, *about;

    TGroupBox* readingdatesgb;
    TLabel *Label23, *Label24;
    TDateTimePicker *dt1, *dt2;
    TCheckBox* showhwcb;
    TGroupBox* lightandpowersettingsgb;
    TLabel *Label1, *Label3;
    TEdit *generaldailyservicechargeed, *generalrateed;
    TGroupBox* hotwatersettingsgb;
    TLabel *Label4, *Label5;
    TEdit *hwdailyfixedchargeed, *hwrateed;
    TGroupBox* feedingb;
    TLabel* Label16;
    TEdit* feedined;

    TLabel* typelabel;
    TCheckBox* solarcb;
    TGroupBox* stadardlightandpowerreadingsgb;
    TLabel *Label6, *Label7;
    TEdit *Edit6, *Edit7;
    TUpDown* edit7laterupdown;
    TGroupBox* standardhwreadingsgb;
    TLabel *Label11, *Label12;
    TEdit *Edit9, *Edit10;
    TUpDown* edit10laterupdown;
    TGroupBox* solarexportreadingsgb;
    TLabel *Label10, *Label25;
    TEdit *exportoriged, *exportlater;
    TUpDown* exportlaterupdown;
    TGroupBox* solarimportgeneralgb;
    TLabel *Label26, *Label27;
    TEdit *importgenoriged, *importgenlatered;
    TUpDown* importgenlaterupdown;
    TGroupBox* solarimporthwreadingsgb;
    TLabel *Label28, *Label29;
    TEdit *importhworiged, *importhwlatered;
    TUpDown* importhwlaterupdown;

    TGroupBox* resultsgb;
    TLabel *Label22, *dayslabel, *Label30, *exportedlabel;
    TLabel *totlabel1, *lightandpowerlabel1, *hotwaterlabel1;
    TLabel *usedlab, *used, *usedwk;
    TLabel *dailyusedlab, *dused, *dusedwk;
    TLabel *Label14, *dcost, *dcostwk;
    TLabel *Label15, *tdcost, *tdcostwk;
    TLabel *totlabel2, *lightandpowerlabel2, *hotwaterlabel2;
    TLabel *Label32, *exportedincome;
    TLabel *Label8, *fresult, *fresultwk;
    TLabel *Label9, *vresult, *vresultwk;
    TLabel *Label13, *tresult, *tresultwk;

    TGroupBox* wattsusagegb;
    TLabel *Label31, *Label33;
    TEdit *wattsedit, *hrsedit;
    TLabel *resultlabel, *kwhlabel;
    TGroupBox* GroupBox1;
    TLabel *perweeklabel, *peryearlabel;
    TGroupBox* voltswattsampsconvertergb;
    TLabel *Label21, *Label34;
    TEdit *voltsedit, *wedit, *ampsedit, *ohmsedit;
    TButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton5;
    TLabel *Label18, *Label19, *Label20, *Label36;
    TCheckBox* ohmsenablecb;
    TButton *calculatebutton, *resetbutton;

    TLabel *Label2, *versionlabel;
    TURLLabel *URLLabel1, *URLLabel2;
    TGroupBox* reportsgb;
    TButton* reportsbtn;
    TGroupBox* reportnamegb;
    TRadioButton *todaysdaterb, *lastdaterb;
    TLabel* Label17;
    TMemo* Memo1;

    const TPlatform& Platform() const { return platform_; }
    // Today's date: the one source of "today" for every handler.
    QDate Today() const override { return platform_.clock.Today(); }
    // The locale parts every parse and format of the window uses.
    TLocales Locales() const override {
        return platform_.locales ? *platform_.locales : TLocales::Uniform(QLocale());
    }
    int MoneyDecimals() const override;
    // The texts of every field the period calculation and its report read
    // (also what the bill history stores and the plan comparison reads).
    PeriodInputs ReadPeriodInputs() const override;
    // The readings page as the History and Compare plans pages see it.
    QDate PeriodFrom() const override;
    QDate PeriodTo() const override;
    void WritePeriod(QDate from, QDate to, const PeriodInputs& inputs) override;
    void ShowStatus(const QString& text) override;
    // The period report of the fields as they are now: what the report file
    // holds after the next calculation (also what is printed).
    PeriodReport CurrentReport() const;

private:
    void BuildElements();
    void WireEvents();
    void KeepResultsDesign();
    // The ten meter-reading fields and the input each fills.
    std::vector<std::pair<TEdit*, QString PeriodInputs::*>> ReadingFields() const;
    // The five tariff fields, then the ten meter-reading fields.
    std::vector<std::pair<TEdit*, QString PeriodInputs::*>> PeriodFieldEdits() const;
    // The seventeen result labels and the text each shows, in writing order.
    std::vector<std::pair<TLabel*, QString PeriodLabels::*>> ResultLabels() const;
    // Shows the label texts of a positive day count, or the day count alone.
    void ShowPeriodLabels(qint64 days, const std::optional<PeriodLabels>& labels);
    // The usage captions of the mode ("Kw used:" or "Kw imported").
    void ShowUsageCaptions(bool solar);
    // The groups and captions of the chosen power kind, without calculating.
    void ShowPowerKind();
    // The split column of the results: light and power plus hot water.
    std::array<TLabel*, 7> SplitLabels() const;
    // Where this run's report goes (formreport.cpp).
    QString ReportFilePath() const;

    // Widens the window, the page area and the results group by `delta`
    // (narrows them when negative); "CSV Load" keeps to the right edge.
    void WidenBy(int delta);
    std::unique_ptr<TResultsGroup> results_;

    TPlatform platform_;
    // The settings file existed but could not be read at start: the user
    // was told, and it is not written over.
    bool keepSettingsFile_ = false;
    std::vector<std::unique_ptr<TComponent>> owned_;
};
