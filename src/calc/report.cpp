#include "calc/report.h"

#include "mylib/atomicfile.h"

#include "mylib/dates.h"
#include "mylib/paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Lines = QStringList;

QString L(const char* fixed) {
    return QString::fromLatin1(fixed);
}

// The seven lines of one reading section: heading, original and later value.
void AddReadingSection(Lines& out, const char* heading, const QString& original,
                       const QString& later) {
    out << L(heading) << L("<BLOCKQUOTE>") << L("<TABLE><TR><TD>")
        << L("Original Reading:</TD><TD>") + HtmlEscape(original) + L("</TD></TR><TR><TD>")
        << L("Later Reading:</TD><TD>") + HtmlEscape(later) + L("</TD></TR>") << L("</TABLE><p>")
        << L("</BLOCKQUOTE>");
}

// A results row with a total cell and a split cell.
QString SplitRow(const char* caption, const QString& total, const QString& split) {
    return L(caption) + L("</TD><TD align=right>") + HtmlEscape(total) +
           L("</TD><td>&nbsp;&nbsp;") + HtmlEscape(split) + L("</td></TR><TR><TD>");
}

// A results row with a total cell only.
QString TotalRow(const char* caption, const QString& total) {
    return L(caption) + L("</TD><TD align=right>") + HtmlEscape(total) + L("</TD></TR><TR><TD>");
}

} // namespace

QString HtmlEscape(const QString& text) {
    QString out;
    out.reserve(text.size());
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
    return out;
}

QStringList ReportOpeningLines() {
    return {L("<HTML><HEAD></HEAD>"), L("<CENTER><B>&nbsp;<p>"), L("ELECTRICITY REPORT"),
            L("</B></CENTER><P>"), L("<BLOCKQUOTE>&nbsp;<p>")};
}

QStringList ReportReadingLines(const ReportReadingTexts& t) {
    Lines out;
    AddReadingSection(out, "<b>Reading Dates</b>", t.firstDate, t.laterDate);
    if (t.solar) {
        AddReadingSection(out, "<b>Exported to Grid (Kwh)</b>", t.exportBefore, t.exportAfter);
        AddReadingSection(out, "<b>Imported General Power and Lights (Kwh)</b>",
                          t.importGeneralBefore, t.importGeneralAfter);
        AddReadingSection(out, "<b>Imported Hot Water (Kwh)</b>", t.importHwBefore,
                          t.importHwAfter);
    } else {
        AddReadingSection(out, "<b>General Light & Power Readings (Kwh)</b>", t.generalBefore,
                          t.generalAfter);
        AddReadingSection(out, "<b>Hot Water Readings (Kwh)</b>", t.hotWaterBefore,
                          t.hotWaterAfter);
    }
    out << L("<b>RESULTS</b><p>") << L("<BLOCKQUOTE>");
    return out;
}

QString ReportDaysLine(const QString& days) {
    return L("Number of days in period:  ") + HtmlEscape(days) + L("<p>");
}

QStringList ReportResultLines(const ReportResultTexts& t) {
    Lines out;
    out << L("<TABLE><TR><TD>")
        << L("Kw exported to grid:</TD><TD align=right>") + HtmlEscape(t.exportedlabel) +
               L("</TD><td></td></TR><TR><TD>");
    if (t.showHotWater) {
        out << L("&nbsp</TD><TD align=right><font size = \"-2\">Total</td><td><font size = "
                 "\"-2\">&nbsp;&nbsp;(Light & power,  Hot water)</td></font></TD></TR><TR><TD>");
    }
    out << SplitRow(t.solar ? "Kw imported:" : "Kw used:", t.used, t.usedwk)
        << TotalRow(t.solar ? "Daily kw imported:" : "Daily kw used:", t.dused)
        << SplitRow("Variable daily cost:", t.dcost, t.dcostwk)
        << L("&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>")
        << SplitRow("<u>Total daily cost</u>:", t.tdcost, t.tdcostwk)
        << L("&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>") << L("</TD><TD> </TD></TR><TR><TD>")
        << TotalRow("Income:", t.exportedincome) << SplitRow("Fixed cost:", t.fresult, t.fresultwk)
        << SplitRow("Variable cost:", t.vresult, t.vresultwk)
        << L("&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>")
        << L("<u>Total Net Cost</u>:</TD><TD align=right>") + HtmlEscape(t.tresult) +
               L("</TD><td>&nbsp;&nbsp;") + HtmlEscape(t.tresultwk) + L("</td></TR>")
        << L("</TABLE><p>") << L("</BLOCKQUOTE>") << L("</BLOCKQUOTE>") << L("<HR>&nbsp;<p>")
        << L("<BLOCKQUOTE>") << L("<b><font size=\"-2\">Charge Rates</b>") << L("<BLOCKQUOTE>")
        << L("<font size=\"-2\">General Light & Power") << L("<BLOCKQUOTE>")
        << L("<TABLE><TR><TD><font size=\"-2\">")
        << L("Daily Service Charge:</TD><TD><font size=\"-2\">$") +
               HtmlEscape(t.generalDailyCharge) + L("</TD></TR><TR><TD><font size=\"-2\">")
        << L("Energy Rate:</TD><TD><font size=\"-2\">$") + HtmlEscape(t.generalRate) +
               L("</TD></TR>")
        << L("</TABLE><p>") << L("</BLOCKQUOTE>") << L("Hot Water") << L("<BLOCKQUOTE>")
        << L("<TABLE><TR><TD><font size=\"-2\">")
        << L("Daily Meter Charge:</TD><TD><font size=\"-2\">$") + HtmlEscape(t.hwDailyCharge) +
               L("</TD></TR><TR><TD><font size=\"-2\">")
        << L("Energy Rate:</TD><TD><font size=\"-2\">$") + HtmlEscape(t.hwRate) + L("</TD></TR>")
        << L("</TABLE><p>") << L("</BLOCKQUOTE></font>") << L("</BLOCKQUOTE>") << L("</BLOCKQUOTE>")
        << L("</BLOCKQUOTE>") << L("<HR>") << L("</HTML>");
    return out;
}

QString ReportFileName(QDate date) {
    return L("report_") + DateStamp(QString(), date) + L(".html");
}

QString ReportPath(const QString& settingsFileName, const QString& exeFolder, QDate date) {
    const QString folder =
        settingsFileName.isEmpty() ? exeFolder : ExtractFilePath(settingsFileName);
    return JoinPath(folder, ReportFileName(date));
}

QByteArray ReportBytes(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteReport(const QString& path, const QStringList& lines) {
    const QByteArray bytes = ReportBytes(lines);
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
