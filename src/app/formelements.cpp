// The window's elements as data: one row per element, in creation order
// (which is also the order of the widgets on screen), then one loop.
#include "app/tform1.h"

#include "elements/urllabel.h"

#include <QHash>
#include <cmath>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace {

// The window is designed at 120 pixels per inch; Qt's logical pixels are 96.
int Scaled(int designPixels) {
    return static_cast<int>(std::lround(designPixels * 96.0 / 120.0));
}

// Creates the element of a TForm1 member's kind and points the member at it.
using Maker = std::unique_ptr<TControl> (*)(TForm1& form, const QString& name, TControl* parent);
template <auto Member>
std::unique_ptr<TControl> New(TForm1& form, const QString& name, TControl* parent) {
    using T = std::remove_pointer_t<std::remove_cvref_t<decltype(form.*Member)>>;
    auto element = std::make_unique<T>(&form, name, parent);
    form.*Member = element.get();
    return element;
}

struct Font {
    const char* face = nullptr; // null: the window's face
    int size = 0;               // design pixels; 0: the window's size
    bool bold = false;
};

// A value label keeps its designed width and aligns its text so.
enum class Value { No, Left, Right, Centre };

enum Flags : unsigned { None = 0, Hidden = 1, Checked = 2, Flat = 4 };

// What a screen reader says for an element: its name, its description, and
// for an input the label that names it (the label's keyboard buddy). Names
// come from the captions in the table, so each caption is written once;
// nothing is guessed from where an element stands.
enum class Say {
    Caption,       // the caption without a closing colon
    HintDescribes, // the caption, described by the hint
    HintNames,     // the hint
    Own,           // `text`, described by `description`
    Input,         // "<group>, <label>", the label its buddy
    Labelled,      // the label's name, the label its buddy
    Result,        // the label's name, described as a result
    Shares,        // the label's name and the two shares
    Stepper,       // steps the group's later reading
    Clear,         // the hint and the label's name, described by the hint
};
struct Speech {
    Say how = Say::Caption;
    const char* text = nullptr; // Own: the name; else the label's element name
    const char* description = nullptr;
};
constexpr const char* kResult = "Result";
constexpr const char* kColumn = "Column heading";
constexpr const char* kShares = "The general and hot-water shares of the total";
constexpr Speech HintDescribes() {
    return {Say::HintDescribes};
}
constexpr Speech HintNames() {
    return {Say::HintNames};
}
constexpr Speech Own(const char* name, const char* description = nullptr) {
    return {Say::Own, name, description};
}
constexpr Speech In(const char* label) {
    return {Say::Input, label};
}
constexpr Speech Labelled(const char* label) {
    return {Say::Labelled, label};
}
constexpr Speech Result(const char* label) {
    return {Say::Result, label, kResult};
}
constexpr Speech Shares(const char* label) {
    return {Say::Shares, label, kShares};
}
constexpr Speech Stepper() {
    return {Say::Stepper};
}
constexpr Speech Clear(const char* label) {
    return {Say::Clear, label};
}

struct Row {
    Maker make; // the kind: the member's element type
    const char* name;
    const char* parent; // null: the window
    int x, y, w, h;     // design pixels
    // Caption (text of an edit); null: the element's name, its design-time default.
    const char* caption = nullptr;
    Speech say = {};
    Font font = {};
    Value value = Value::No;
    int tabOrder = -1; // -1: the order of creation
    const char* hint = nullptr;
    unsigned flags = None;
};

#define E(member) &New<&TForm1::member>, #member

constexpr const char* kOrig = "Original reading:";
constexpr const char* kLater = "Later reading:";
constexpr Font kTahoma17{"Tahoma", 17};
constexpr Font kHeading{"Calibri", 12};
constexpr Font kBold{nullptr, 0, true};
constexpr const char* kClear = "Clear this entry";
constexpr const char* kCsvLoad = "Load \"original\" values from latest Aurora CSV file";

// clang-format off
const Row kRows[] = {
    {E(pagecontrol1), "Form1", 10, 10, 1301, 561, nullptr, Own("Pages")},
    {E(readingsts), "pagecontrol1", 0, 0, 1293, 526, "Standard readings"},
    {E(calc), "pagecontrol1", 0, 0, 1293, 526, "Quick usage calculator"},
    {E(about), "pagecontrol1", 0, 0, 1293, 526, "Help"},

    // Readings page, left column: dates, the hot-water switch, the charges.
    {E(readingdatesgb), "readingsts", 10, 10, 360, 100, "Reading Dates", {}, {}, Value::No, 0},
    {E(Label23), "readingdatesgb", 16, 32, 150, 22, kOrig},
    {E(dt1), "readingdatesgb", 170, 28, 170, 28, nullptr, In("Label23")},
    {E(Label24), "readingdatesgb", 16, 66, 150, 22, kLater},
    {E(dt2), "readingdatesgb", 170, 62, 170, 28, nullptr, In("Label24")},
    {E(showhwcb), "readingsts", 16, 118, 354, 26, "Show rates and readings for Hot Water", {}, {}, Value::No, 1, nullptr, Checked},
    {E(lightandpowersettingsgb), "readingsts", 10, 152, 360, 100, "General Light and Power Charges ($) ", {}, {}, Value::No, 2},
    {E(Label1), "lightandpowersettingsgb", 16, 32, 180, 22, "Daily fixed charge:"},
    {E(generaldailyservicechargeed), "lightandpowersettingsgb", 200, 28, 140, 28, nullptr, In("Label1")},
    {E(Label3), "lightandpowersettingsgb", 16, 66, 180, 22, "Energy rate (per Kwh):"},
    {E(generalrateed), "lightandpowersettingsgb", 200, 62, 140, 28, nullptr, In("Label3")},
    {E(hotwatersettingsgb), "readingsts", 10, 262, 360, 100, "Hot Water Charges ($) ", {}, {}, Value::No, 3},
    {E(Label4), "hotwatersettingsgb", 16, 32, 180, 22, "Daily fixed charge:"},
    {E(hwdailyfixedchargeed), "hotwatersettingsgb", 200, 28, 140, 28, nullptr, In("Label4")},
    {E(Label5), "hotwatersettingsgb", 16, 66, 180, 22, "Energy rate (per Kwh):"},
    {E(hwrateed), "hotwatersettingsgb", 200, 62, 140, 28, nullptr, In("Label5")},
    {E(feedingb), "readingsts", 10, 372, 360, 68, "Solar feed-in tariff ($ per Kwh)", {}, {}, Value::No, 4},
    {E(Label16), "feedingb", 16, 32, 180, 22, "Feed-in tariff:"},
    {E(feedined), "feedingb", 200, 28, 140, 28, nullptr, In("Label16")},

    // Middle column: heading, solar switch and the places for readings.
    {E(typelabel), "readingsts", 384, 12, 230, 34, nullptr, Own("Kind of meter readings", kResult), {"Tahoma", 20}, Value::No, 0},
    {E(solarcb), "readingsts", 616, 16, 140, 28, "Solar power", {}, kTahoma17, Value::No, 5},
    {E(solarexportreadingsgb), "readingsts", 384, 56, 370, 104, "Export to grid (Kwh)", {}, {}, Value::No, 8},
    {E(Label10), "solarexportreadingsgb", 16, 34, 150, 22, kOrig},
    {E(exportoriged), "solarexportreadingsgb", 176, 30, 176, 28, nullptr, In("Label10")},
    {E(Label25), "solarexportreadingsgb", 16, 68, 150, 22, kLater},
    {E(exportlater), "solarexportreadingsgb", 176, 64, 154, 28, nullptr, In("Label25")},
    {E(exportlaterupdown), "solarexportreadingsgb", 330, 64, 22, 28, nullptr, Stepper()},
    {E(solarimportgeneralgb), "readingsts", 384, 170, 370, 104, "Import from grid - General light and power (Kwh)", {}, {}, Value::No, 9},
    {E(Label26), "solarimportgeneralgb", 16, 34, 150, 22, kOrig},
    {E(importgenoriged), "solarimportgeneralgb", 176, 30, 176, 28, nullptr, In("Label26")},
    {E(Label27), "solarimportgeneralgb", 16, 68, 150, 22, kLater},
    {E(importgenlatered), "solarimportgeneralgb", 176, 64, 154, 28, nullptr, In("Label27")},
    {E(importgenlaterupdown), "solarimportgeneralgb", 330, 64, 22, 28, nullptr, Stepper()},
    {E(solarimporthwreadingsgb), "readingsts", 384, 284, 370, 104, "Import from grid - Hot water (Kwh)", {}, {}, Value::No, 10},
    {E(Label28), "solarimporthwreadingsgb", 16, 34, 150, 22, kOrig},
    {E(importhworiged), "solarimporthwreadingsgb", 176, 30, 176, 28, nullptr, In("Label28")},
    {E(Label29), "solarimporthwreadingsgb", 16, 68, 150, 22, kLater},
    {E(importhwlatered), "solarimporthwreadingsgb", 176, 64, 154, 28, nullptr, In("Label29")},
    {E(importhwlaterupdown), "solarimporthwreadingsgb", 330, 64, 22, 28, nullptr, Stepper()},
    {E(stadardlightandpowerreadingsgb), "readingsts", 384, 400, 370, 104, "General Light and Power Readings (Kwh)", {}, {}, Value::No, 6},
    {E(Label6), "stadardlightandpowerreadingsgb", 16, 34, 150, 22, kOrig},
    {E(Edit6), "stadardlightandpowerreadingsgb", 176, 30, 176, 28, nullptr, In("Label6")},
    {E(Label7), "stadardlightandpowerreadingsgb", 16, 68, 150, 22, kLater},
    {E(Edit7), "stadardlightandpowerreadingsgb", 176, 64, 154, 28, nullptr, In("Label7")},
    {E(edit7laterupdown), "stadardlightandpowerreadingsgb", 330, 64, 22, 28, nullptr, Stepper(), {}, Value::No, -1, nullptr, Hidden},
    {E(standardhwreadingsgb), "readingsts", 384, 420, 370, 104, "Hot Water Readings (Kwh)", {}, kTahoma17, Value::No, 7},
    {E(Label11), "standardhwreadingsgb", 16, 34, 150, 22, kOrig, {}, kTahoma17},
    {E(Edit9), "standardhwreadingsgb", 176, 30, 176, 28, nullptr, In("Label11"), kTahoma17},
    {E(Label12), "standardhwreadingsgb", 16, 68, 150, 22, kLater, {}, kTahoma17},
    {E(Edit10), "standardhwreadingsgb", 176, 64, 154, 28, nullptr, In("Label12"), kTahoma17},
    {E(edit10laterupdown), "standardhwreadingsgb", 330, 64, 22, 28, nullptr, Stepper(), {}, Value::No, -1, nullptr, Hidden},

    // Right column: captions, a right-aligned total column and a left-aligned
    // split column; the total column ends well inside the 200 pixels that
    // hiding hot water cuts off.
    {E(resultsgb), "readingsts", 758, 10, 533, 446, "Results", {}, {}, Value::No, 11},
    {E(Label22), "resultsgb", 12, 32, 152, 22, "# Days in period:", {}, kBold},
    {E(dayslabel), "resultsgb", 166, 32, 110, 22, nullptr, Result("Label22"), {}, Value::Right},
    {E(Label30), "resultsgb", 12, 62, 152, 22, "Kw exported to grid:"},
    {E(exportedlabel), "resultsgb", 166, 62, 110, 22, nullptr, Result("Label30"), {}, Value::Right},
    {E(totlabel1), "resultsgb", 166, 98, 110, 22, "Tot", Own("Total", kColumn), kHeading, Value::Right},
    {E(lightandpowerlabel1), "resultsgb", 290, 98, 104, 22, "(Light & Power +", Own("Light and power share", kColumn), kHeading},
    {E(hotwaterlabel1), "resultsgb", 396, 98, 90, 22, "Hot water)", Own("Hot water share", kColumn), kHeading},
    {E(usedlab), "resultsgb", 12, 122, 152, 22, "Kw used:"},
    {E(used), "resultsgb", 166, 122, 110, 22, nullptr, Result("usedlab"), {}, Value::Right},
    {E(usedwk), "resultsgb", 290, 122, 236, 22, nullptr, Shares("usedlab"), {}, Value::Left},
    {E(dailyusedlab), "resultsgb", 12, 152, 152, 22, "Daily kw used:"},
    {E(dused), "resultsgb", 166, 152, 110, 22, nullptr, Result("dailyusedlab"), {}, Value::Right},
    {E(dusedwk), "resultsgb", 290, 152, 236, 22, nullptr, Shares("dailyusedlab"), {}, Value::Left},
    {E(Label14), "resultsgb", 12, 182, 152, 22, "Variable daily cost:"},
    {E(dcost), "resultsgb", 166, 182, 110, 22, nullptr, Result("Label14"), {}, Value::Right},
    {E(dcostwk), "resultsgb", 290, 182, 236, 22, nullptr, Shares("Label14"), {}, Value::Left},
    {E(Label15), "resultsgb", 12, 212, 152, 22, "Total daily cost:", {}, kBold},
    {E(tdcost), "resultsgb", 166, 212, 110, 22, nullptr, Result("Label15"), {}, Value::Right},
    {E(tdcostwk), "resultsgb", 290, 212, 236, 22, nullptr, Shares("Label15"), {}, Value::Left},
    {E(totlabel2), "resultsgb", 166, 256, 110, 22, "Tot", Own("Total", kColumn), kHeading, Value::Right},
    {E(lightandpowerlabel2), "resultsgb", 290, 256, 104, 22, "(Light & Power +", Own("Light and power share", kColumn), kHeading},
    {E(hotwaterlabel2), "resultsgb", 396, 256, 90, 22, "Hot water)", Own("Hot water share", kColumn), kHeading},
    {E(Label32), "resultsgb", 12, 280, 152, 22, "Income:"},
    {E(exportedincome), "resultsgb", 166, 280, 110, 22, nullptr, Result("Label32"), {}, Value::Right},
    {E(Label8), "resultsgb", 12, 310, 152, 22, "Fixed cost:"},
    {E(fresult), "resultsgb", 166, 310, 110, 22, nullptr, Result("Label8"), {}, Value::Right},
    {E(fresultwk), "resultsgb", 290, 310, 236, 22, nullptr, Shares("Label8"), {}, Value::Left},
    {E(Label9), "resultsgb", 12, 340, 152, 22, "Variable cost:"},
    {E(vresult), "resultsgb", 166, 340, 110, 22, nullptr, Result("Label9"), {}, Value::Right},
    {E(vresultwk), "resultsgb", 290, 340, 236, 22, nullptr, Shares("Label9"), {}, Value::Left},
    {E(Label13), "resultsgb", 12, 376, 152, 22, "Total Net cost:", {}, kBold},
    {E(tresult), "resultsgb", 166, 376, 110, 22, nullptr, Result("Label13"), kBold, Value::Right},
    {E(tresultwk), "resultsgb", 290, 376, 236, 22, nullptr, Shares("Label13"), {}, Value::Left},

    // Page "Quick usage calculator".
    {E(wattsusagegb), "calc", 10, 10, 1270, 150, "Calculate cost for watts usage "},
    {E(Label31), "wattsusagegb", 20, 40, 130, 22, "Watts"},
    {E(wattsedit), "wattsusagegb", 160, 36, 130, 28, "0", In("Label31")},
    {E(Label33), "wattsusagegb", 20, 80, 130, 22, "Hours (per day)"},
    {E(hrsedit), "wattsusagegb", 160, 76, 130, 28, "1", In("Label33")},
    {E(resultlabel), "wattsusagegb", 320, 30, 440, 44, nullptr, Own("Cost per day", kResult), {"Arial", 22}, Value::Centre},
    {E(kwhlabel), "wattsusagegb", 320, 80, 440, 22, nullptr, Own("Energy per day", kResult), {}, Value::Centre},
    {E(GroupBox1), "wattsusagegb", 790, 22, 460, 108, "", Own("Cost per week and per year")},
    {E(perweeklabel), "GroupBox1", 20, 26, 420, 22, nullptr, Own("Cost per week", kResult), {}, Value::Left},
    {E(peryearlabel), "GroupBox1", 20, 66, 420, 22, nullptr, Own("Cost per year", kResult), {}, Value::Left},
    {E(voltswattsampsconvertergb), "calc", 10, 172, 640, 340, "Volts / Watts / Amps / Ohms Converter "},
    {E(Label21), "voltswattsampsconvertergb", 20, 32, 600, 22, "Enter any two values and press calculate to get the "},
    {E(Label34), "voltswattsampsconvertergb", 20, 54, 600, 22, "other two values."},
    {E(voltsedit), "voltswattsampsconvertergb", 50, 90, 170, 28, "0", In("Label18")},
    {E(SpeedButton1), "voltswattsampsconvertergb", 224, 90, 28, 28, "-", Clear("Label18"), {}, Value::No, -1, kClear, Flat},
    {E(Label18), "voltswattsampsconvertergb", 262, 94, 300, 22, "Volts"},
    {E(wedit), "voltswattsampsconvertergb", 50, 130, 170, 28, "0", In("Label19")},
    {E(SpeedButton2), "voltswattsampsconvertergb", 224, 130, 28, 28, "-", Clear("Label19"), {}, Value::No, -1, kClear, Flat},
    {E(Label19), "voltswattsampsconvertergb", 262, 134, 300, 22, "Watts (vA) (power)"},
    {E(ampsedit), "voltswattsampsconvertergb", 50, 170, 170, 28, "0", In("Label20")},
    {E(SpeedButton3), "voltswattsampsconvertergb", 224, 170, 28, 28, "-", Clear("Label20"), {}, Value::No, -1, kClear, Flat},
    {E(Label20), "voltswattsampsconvertergb", 262, 174, 300, 22, "Amps (current)"},
    {E(ohmsedit), "voltswattsampsconvertergb", 50, 210, 170, 28, "0", In("Label36")},
    {E(SpeedButton5), "voltswattsampsconvertergb", 224, 210, 28, 28, "-", Clear("Label36"), {}, Value::No, -1, kClear, Flat},
    {E(Label36), "voltswattsampsconvertergb", 262, 214, 300, 22, "Ohms (resistance)"},
    {E(ohmsenablecb), "voltswattsampsconvertergb", 20, 214, 24, 24, "", HintNames(), {}, Value::No, -1, "Enable or disable ohms", Hidden},
    {E(calculatebutton), "voltswattsampsconvertergb", 50, 268, 130, 36, "Calculate"},
    {E(resetbutton), "voltswattsampsconvertergb", 196, 268, 130, 36, "Reset"},

    // Page "Help".
    {E(Label2), "about", 40, 24, 560, 40, "Voltisk", {}, {"Tahoma", 20}, Value::Centre},
    {E(versionlabel), "about", 40, 70, 560, 22, nullptr, Own("Version", kResult), {}, Value::Centre},
    {E(URLLabel1), "about", 40, 116, 560, 28, "", Own("https://www.brindlesoftware.com"), kTahoma17, Value::Centre},
    {E(URLLabel2), "about", 40, 152, 560, 28, "Keep your notes in order: try our other desktop tools", {}, kTahoma17, Value::Centre},
    {E(reportsgb), "about", 40, 206, 560, 210, "Reports "},
    {E(reportsbtn), "reportsgb", 24, 34, 230, 36, "View saved reports"},
    {E(reportnamegb), "reportsgb", 24, 86, 340, 104, "Report name contains "},
    {E(todaysdaterb), "reportnamegb", 18, 32, 300, 26, "Today's date"},
    {E(lastdaterb), "reportnamegb", 18, 64, 300, 26, "Date of last reading"},
    {E(Label17), "about", 660, 24, 300, 32, "Instructions:", {}, {"Tahoma", 18}},
    {E(Memo1), "about", 660, 62, 600, 440, nullptr, Labelled("Label17")},

    // On the window, over the lower right corner of the page area.
    {E(sb1), "Form1", 0, 575, 1321, 26, nullptr, Own("Status")},
    {E(csvloadbtn), "Form1", 1197, 548, 114, 22, "CSV Load", HintDescribes(), {}, Value::No, -1, kCsvLoad},
};
// clang-format on

#undef E

void ApplyFont(TControl* c, const Font& font) {
    if (!font.face && font.size == 0 && !font.bold) {
        return;
    }
    TFont f = c->Font();
    if (font.face) {
        f.Name = QString::fromLatin1(font.face);
    }
    if (font.size > 0) {
        f.Size = Scaled(font.size);
    }
    f.Bold = font.bold;
    c->SetFont(f);
}

// Caption or text, value alignment and the flags of one row.
void ApplyRow(TControl* c, const Row& row) {
    const QString caption = row.caption ? QString::fromUtf8(row.caption) : c->Name();
    if (auto* cc = dynamic_cast<TCaptionControl*>(c)) {
        cc->SetCaption(caption);
    } else if (auto* edit = dynamic_cast<TEdit*>(c)) {
        edit->SetText(caption);
    }
    if (auto* label = dynamic_cast<TLabel*>(c); label && row.value != Value::No) {
        label->Alignment = row.value == Value::Right    ? TAlignment::RightJustify
                           : row.value == Value::Centre ? TAlignment::Center
                                                        : TAlignment::LeftJustify;
        label->AutoSize = false;
    }
    ApplyFont(c, row.font);
    if (row.hint) {
        c->SetHint(QString::fromUtf8(row.hint));
    }
    if (auto* button = dynamic_cast<TButton*>(c)) {
        button->Flat = (row.flags & Flat) != 0;
    }
    if (row.flags & Checked) {
        dynamic_cast<TCheckedControl&>(*c).SetChecked(true);
    }
    if (row.flags & Hidden) {
        c->SetVisible(false);
    }
}

// The row of an element the table names; naming one that does not exist is
// a build fault.
const Row& RowOf(const char* name) {
    for (const Row& row : kRows) {
        if (std::strcmp(row.name, name) == 0) {
            return row;
        }
    }
    throw std::logic_error(std::string("no element ") + name + " to name");
}

QString Text(const char* text) {
    return QString::fromUtf8(text);
}

QString SpokenName(const Row& row) {
    const Speech& s = row.say;
    switch (s.how) {
    case Say::Caption:
    case Say::HintDescribes: {
        QString caption = Text(row.caption).trimmed();
        return caption.endsWith(u':') ? caption.chopped(1) : caption;
    }
    case Say::HintNames:
        return Text(row.hint);
    case Say::Own:
        return Text(s.text);
    case Say::Input:
        return SpokenName(RowOf(row.parent)) + QStringLiteral(", ") + SpokenName(RowOf(s.text));
    case Say::Labelled:
    case Say::Result:
        return SpokenName(RowOf(s.text));
    case Say::Shares:
        return SpokenName(RowOf(s.text)) + QStringLiteral(", light and power plus hot water");
    case Say::Stepper:
        return SpokenName(RowOf(row.parent)) +
               QStringLiteral(", step the later reading up or down");
    case Say::Clear:
        return Text(row.hint) + QStringLiteral(", ") + SpokenName(RowOf(s.text));
    }
    return QString();
}

// Gives every element of the table its screen-reader texts.
void NameForScreenReaders(const QHash<QString, TControl*>& byName) {
    for (const Row& row : kRows) {
        TControl* c = byName.value(Text(row.name));
        const Speech& s = row.say;
        c->AccessibleName = SpokenName(row);
        const char* description =
            s.how == Say::HintDescribes || s.how == Say::Clear ? row.hint : s.description;
        c->AccessibleDescription = description ? Text(description) : QString();
        const bool buddy = s.how == Say::Input || s.how == Say::Labelled;
        c->CaptionLabel = buddy ? byName.value(Text(RowOf(s.text).name)) : nullptr;
    }
}

} // namespace

void TForm1::BuildElements() {
    SetCaption(QStringLiteral("Voltisk"));
    SetBounds(0, 0, Scaled(1321), Scaled(601));
    QHash<QString, TControl*> byName{{Name(), this}};
    // Keyboard order: the rows' own numbers, else the order of creation.
    int order = 0;
    for (const Row& row : kRows) {
        const QString name = QString::fromLatin1(row.name);
        std::unique_ptr<TControl> element =
            row.make(*this, name, byName.value(QString::fromLatin1(row.parent)));
        TControl* c = element.get();
        c->SetBounds(Scaled(row.x), Scaled(row.y), Scaled(row.w), Scaled(row.h));
        ApplyRow(c, row);
        c->TabOrder = row.tabOrder >= 0 ? row.tabOrder : order++;
        byName.insert(name, c);
        owned_.push_back(std::move(element));
    }
    NameForScreenReaders(byName);
    pagecontrol1->Pages = {readingsts, calc, about};
    pagecontrol1->SetActivePage(readingsts);
    URLLabel1->SetURL(QStringLiteral("https://www.brindlesoftware.com"));
    URLLabel2->SetURL(QStringLiteral("https://www.brindlesoftware.com/products"));
    Memo1->SetLines({QStringLiteral("Memo1")});

    IniSettings1 = std::make_unique<TIniSettings>(this, QStringLiteral("IniSettings1"));
    IniSettings1->SetCompanyName(QStringLiteral("BrindleSoftware"));
    IniSettings1->SetProductName(QStringLiteral("voltisk"));
    IniSettings1->Screen = &platform_.screen;

    auto timer = std::make_unique<TTimer>(this, QStringLiteral("Timer1"));
    Timer1 = timer.get();
    Timer1->Interval = 2000;
    owned_.push_back(std::move(timer));
}
