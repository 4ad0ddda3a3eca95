#include "calc/report.h"

#include "mylib/atomicfile.h"
#include "mylib/dates.h"
#include "mylib/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringBuilder>
#include <algorithm>

namespace {

bool IsSpecial(QChar c) {
    return c == u'&' || c == u'<' || c == u'>' || c == u'"';
}

void AppendEscaped(QString& out, const QString& text) {
    // Most values (figures, readings) need nothing: append them whole.
    if (std::none_of(text.begin(), text.end(), IsSpecial)) {
        out += text;
        return;
    }
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
}

// A value to be inserted into the report, escaped on the way in.
struct Value {
    const QString& text;
};

// Builds the whole report in one buffer: fixed fragments are appended as
// Latin-1 views, values escaped in place, and nothing is converted until the
// caller asks for the bytes.
class ReportBuilder {
public:
    ReportBuilder() { out_.reserve(4096); }
    template <class... Parts> void Line(const Parts&... parts) {
        (Add(parts), ...);
        out_ += QLatin1String("\r\n");
    }
    QString Take() { return std::move(out_); }

private:
    void Add(const char* fixed) { out_ += QLatin1String(fixed); }
    void Add(const Value& v) { AppendEscaped(out_, v.text); }
    QString out_;
};

// The seven lines of one reading section: heading, original and later value.
void ReadingSection(ReportBuilder& b, const char* heading, const QString& original,
                    const QString& later) {
    b.Line(heading);
    b.Line("<BLOCKQUOTE>");
    b.Line("<TABLE><TR><TD>");
    b.Line("Original Reading:</TD><TD>", Value{original}, "</TD></TR><TR><TD>");
    b.Line("Later Reading:</TD><TD>", Value{later}, "</TD></TR>");
    b.Line("</TABLE><p>");
    b.Line("</BLOCKQUOTE>");
}

void OpeningAndReadings(ReportBuilder& b, const PeriodReport& r) {
    const PeriodInputs& in = r.inputs;
    for (const char* line : {"<HTML><HEAD></HEAD>", "<CENTER><B>&nbsp;<p>", "ELECTRICITY REPORT",
                             "</B></CENTER><P>", "<BLOCKQUOTE>&nbsp;<p>"}) {
        b.Line(line);
    }
    ReadingSection(b, "<b>Reading Dates</b>", r.firstDate, r.laterDate);
    if (in.solar) {
        ReadingSection(b, "<b>Exported to Grid (Kwh)</b>", in.exportBefore, in.exportAfter);
        ReadingSection(b, "<b>Imported General Power and Lights (Kwh)</b>", in.importGeneralBefore,
                       in.importGeneralAfter);
        ReadingSection(b, "<b>Imported Hot Water (Kwh)</b>", in.importHwBefore, in.importHwAfter);
    } else {
        ReadingSection(b, "<b>General Light & Power Readings (Kwh)</b>", in.generalBefore,
                       in.generalAfter);
        ReadingSection(b, "<b>Hot Water Readings (Kwh)</b>", in.hotWaterBefore, in.hotWaterAfter);
    }
    b.Line("<b>RESULTS</b><p>");
    b.Line("<BLOCKQUOTE>");
}

// A results row with a total cell and a split cell.
void SplitRow(ReportBuilder& b, const char* caption, const QString& total, const QString& split) {
    b.Line(caption, "</TD><TD align=right>", Value{total}, "</TD><td>&nbsp;&nbsp;", Value{split},
           "</td></TR><TR><TD>");
}

// A results row with a total cell only.
void TotalRow(ReportBuilder& b, const char* caption, const QString& total) {
    b.Line(caption, "</TD><TD align=right>", Value{total}, "</TD></TR><TR><TD>");
}

void Results(ReportBuilder& b, const PeriodLabels& t, bool solar, bool showHotWater) {
    const char* spacer = "&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>";
    b.Line("Number of days in period:  ", Value{t.dayslabel}, "<p>");
    b.Line("<TABLE><TR><TD>");
    b.Line("Kw exported to grid:</TD><TD align=right>", Value{t.exportedlabel},
           "</TD><td></td></TR><TR><TD>");
    if (showHotWater) {
        b.Line("&nbsp</TD><TD align=right><font size = \"-2\">Total</td><td><font size = "
               "\"-2\">&nbsp;&nbsp;(Light & power,  Hot water)</td></font></TD></TR><TR><TD>");
    }
    SplitRow(b, solar ? "Kw imported:" : "Kw used:", t.used, t.usedwk);
    TotalRow(b, solar ? "Daily kw imported:" : "Daily kw used:", t.dused);
    SplitRow(b, "Variable daily cost:", t.dcost, t.dcostwk);
    b.Line(spacer);
    SplitRow(b, "<u>Total daily cost</u>:", t.tdcost, t.tdcostwk);
    b.Line(spacer);
    b.Line("</TD><TD> </TD></TR><TR><TD>");
    TotalRow(b, "Income:", t.exportedincome);
    SplitRow(b, "Fixed cost:", t.fresult, t.fresultwk);
    SplitRow(b, "Variable cost:", t.vresult, t.vresultwk);
    b.Line(spacer);
    b.Line("<u>Total Net Cost</u>:</TD><TD align=right>", Value{t.tresult}, "</TD><td>&nbsp;&nbsp;",
           Value{t.tresultwk}, "</td></TR>");
    b.Line("</TABLE><p>");
    b.Line("</BLOCKQUOTE>");
    b.Line("</BLOCKQUOTE>");
    b.Line("<HR>&nbsp;<p>");
}

// One charge group: heading, daily charge and energy rate, each with a fixed "$".
void ChargeGroup(ReportBuilder& b, const char* heading, const char* dailyCaption,
                 const QString& daily, const QString& rate) {
    b.Line(heading);
    b.Line("<BLOCKQUOTE>");
    b.Line("<TABLE><TR><TD><font size=\"-2\">");
    b.Line(dailyCaption, "</TD><TD><font size=\"-2\">$", Value{daily},
           "</TD></TR><TR><TD><font size=\"-2\">");
    b.Line("Energy Rate:</TD><TD><font size=\"-2\">$", Value{rate}, "</TD></TR>");
    b.Line("</TABLE><p>");
}

void ChargeRates(ReportBuilder& b, const PeriodInputs& in) {
    b.Line("<BLOCKQUOTE>");
    b.Line("<b><font size=\"-2\">Charge Rates</b>");
    b.Line("<BLOCKQUOTE>");
    ChargeGroup(b, "<font size=\"-2\">General Light & Power",
                "Daily Service Charge:", in.generalDailyCharge, in.generalRate);
    b.Line("</BLOCKQUOTE>");
    ChargeGroup(b, "Hot Water", "Daily Meter Charge:", in.hwDailyCharge, in.hwRate);
    for (const char* line : {"</BLOCKQUOTE></font>", "</BLOCKQUOTE>", "</BLOCKQUOTE>",
                             "</BLOCKQUOTE>", "<HR>", "</HTML>"}) {
        b.Line(line);
    }
}

} // namespace

QString HtmlEscape(const QString& text) {
    QString out;
    AppendEscaped(out, text);
    return out;
}

QString ReportText(const PeriodReport& report) {
    ReportBuilder b;
    OpeningAndReadings(b, report);
    if (report.labels) {
        Results(b, *report.labels, report.inputs.solar, report.inputs.showHotWater);
        ChargeRates(b, report.inputs);
    }
    return b.Take();
}

QByteArray ReportBytes(const PeriodReport& report) {
    // One conversion of the whole text: this runs on every keystroke.
    return ReportText(report).toUtf8();
}

QString ReportFileName(QDate date) {
    return QStringLiteral("report_") % DateStamp(QString(), date) % QStringLiteral(".html");
}

QString ReportPath(const QString& settingsFileName, const QString& exeFolder, QDate date) {
    const QString folder =
        settingsFileName.isEmpty() ? exeFolder : ExtractFilePath(settingsFileName);
    return JoinPath(folder, ReportFileName(date));
}

bool WriteReport(const QString& path, const QByteArray& bytes) {
    if (ReplaceFileContents(path, bytes)) {
        return true;
    }
    // The settings folder may not exist yet on a first run; create it so the
    // first run writes reports too.
    const QString folder = ExtractFilePath(path);
    if (folder.isEmpty() || QFileInfo::exists(folder) || !QDir().mkpath(folder)) {
        return false;
    }
    return ReplaceFileContents(path, bytes);
}
