#include "calc/report.h"

#include "mylib/atomicfile.h"
#include "mylib/dates.h"
#include "mylib/paths.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

using Lines = QStringList;

QString L(const char* fixed) {
    return QString::fromLatin1(fixed);
}

// The seven lines of one reading section: heading, original and later value.
void AddReadingSection(Lines& out, const char* heading, const QString& original,
                       const QString& later) {
    out << L(heading) << QStringLiteral("<BLOCKQUOTE>") << QStringLiteral("<TABLE><TR><TD>")
        << QStringLiteral("Original Reading:</TD><TD>") + HtmlEscape(original) +
               QStringLiteral("</TD></TR><TR><TD>")
        << QStringLiteral("Later Reading:</TD><TD>") + HtmlEscape(later) +
               QStringLiteral("</TD></TR>")
        << QStringLiteral("</TABLE><p>") << QStringLiteral("</BLOCKQUOTE>");
}

// A results row with a total cell and a split cell.
QString SplitRow(const char* caption, const QString& total, const QString& split) {
    return L(caption) + QStringLiteral("</TD><TD align=right>") + HtmlEscape(total) +
           QStringLiteral("</TD><td>&nbsp;&nbsp;") + HtmlEscape(split) +
           QStringLiteral("</td></TR><TR><TD>");
}

// A results row with a total cell only.
QString TotalRow(const char* caption, const QString& total) {
    return L(caption) + QStringLiteral("</TD><TD align=right>") + HtmlEscape(total) +
           QStringLiteral("</TD></TR><TR><TD>");
}

} // namespace

QString HtmlEscape(const QString& text) {
    // Most values (figures, readings) need nothing: share the text as it is.
    const auto special = [](QChar c) { return c == u'&' || c == u'<' || c == u'>' || c == u'"'; };
    if (std::none_of(text.begin(), text.end(), special)) {
        return text;
    }
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
    return {QStringLiteral("<HTML><HEAD></HEAD>"), QStringLiteral("<CENTER><B>&nbsp;<p>"),
            QStringLiteral("ELECTRICITY REPORT"), QStringLiteral("</B></CENTER><P>"),
            QStringLiteral("<BLOCKQUOTE>&nbsp;<p>")};
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
    out << QStringLiteral("<b>RESULTS</b><p>") << QStringLiteral("<BLOCKQUOTE>");
    return out;
}

QString ReportDaysLine(const QString& days) {
    return QStringLiteral("Number of days in period:  ") + HtmlEscape(days) + QStringLiteral("<p>");
}

QStringList ReportResultLines(const ReportResultTexts& t) {
    Lines out;
    out << QStringLiteral("<TABLE><TR><TD>")
        << QStringLiteral("Kw exported to grid:</TD><TD align=right>") +
               HtmlEscape(t.exportedlabel) + QStringLiteral("</TD><td></td></TR><TR><TD>");
    if (t.showHotWater) {
        out << QStringLiteral(
            "&nbsp</TD><TD align=right><font size = \"-2\">Total</td><td><font size = "
            "\"-2\">&nbsp;&nbsp;(Light & power,  Hot water)</td></font></TD></TR><TR><TD>");
    }
    out << SplitRow(t.solar ? "Kw imported:" : "Kw used:", t.used, t.usedwk)
        << TotalRow(t.solar ? "Daily kw imported:" : "Daily kw used:", t.dused)
        << SplitRow("Variable daily cost:", t.dcost, t.dcostwk)
        << QStringLiteral("&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>")
        << SplitRow("<u>Total daily cost</u>:", t.tdcost, t.tdcostwk)
        << QStringLiteral("&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>")
        << QStringLiteral("</TD><TD> </TD></TR><TR><TD>") << TotalRow("Income:", t.exportedincome)
        << SplitRow("Fixed cost:", t.fresult, t.fresultwk)
        << SplitRow("Variable cost:", t.vresult, t.vresultwk)
        << QStringLiteral("&nbsp</TD><TD>&nbsp</TD></TR><TR><TD>")
        << QStringLiteral("<u>Total Net Cost</u>:</TD><TD align=right>") + HtmlEscape(t.tresult) +
               QStringLiteral("</TD><td>&nbsp;&nbsp;") + HtmlEscape(t.tresultwk) +
               QStringLiteral("</td></TR>")
        << QStringLiteral("</TABLE><p>") << QStringLiteral("</BLOCKQUOTE>")
        << QStringLiteral("</BLOCKQUOTE>") << QStringLiteral("<HR>&nbsp;<p>")
        << QStringLiteral("<BLOCKQUOTE>") << QStringLiteral("<b><font size=\"-2\">Charge Rates</b>")
        << QStringLiteral("<BLOCKQUOTE>")
        << QStringLiteral("<font size=\"-2\">General Light & Power")
        << QStringLiteral("<BLOCKQUOTE>") << QStringLiteral("<TABLE><TR><TD><font size=\"-2\">")
        << QStringLiteral("Daily Service Charge:</TD><TD><font size=\"-2\">$") +
               HtmlEscape(t.generalDailyCharge) +
               QStringLiteral("</TD></TR><TR><TD><font size=\"-2\">")
        << QStringLiteral("Energy Rate:</TD><TD><font size=\"-2\">$") + HtmlEscape(t.generalRate) +
               QStringLiteral("</TD></TR>")
        << QStringLiteral("</TABLE><p>") << QStringLiteral("</BLOCKQUOTE>")
        << QStringLiteral("Hot Water") << QStringLiteral("<BLOCKQUOTE>")
        << QStringLiteral("<TABLE><TR><TD><font size=\"-2\">")
        << QStringLiteral("Daily Meter Charge:</TD><TD><font size=\"-2\">$") +
               HtmlEscape(t.hwDailyCharge) + QStringLiteral("</TD></TR><TR><TD><font size=\"-2\">")
        << QStringLiteral("Energy Rate:</TD><TD><font size=\"-2\">$") + HtmlEscape(t.hwRate) +
               QStringLiteral("</TD></TR>")
        << QStringLiteral("</TABLE><p>") << QStringLiteral("</BLOCKQUOTE></font>")
        << QStringLiteral("</BLOCKQUOTE>") << QStringLiteral("</BLOCKQUOTE>")
        << QStringLiteral("</BLOCKQUOTE>") << QStringLiteral("<HR>") << QStringLiteral("</HTML>");
    return out;
}

QString ReportFileName(QDate date) {
    return QStringLiteral("report_") + DateStamp(QString(), date) + QStringLiteral(".html");
}

QString ReportPath(const QString& settingsFileName, const QString& exeFolder, QDate date) {
    const QString folder =
        settingsFileName.isEmpty() ? exeFolder : ExtractFilePath(settingsFileName);
    return JoinPath(folder, ReportFileName(date));
}

QByteArray ReportBytes(const QStringList& lines) {
    // One conversion of the whole text: this runs on every keystroke.
    qsizetype size = 0;
    for (const QString& line : lines) {
        size += line.size() + 2;
    }
    QString text;
    text.reserve(size);
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text.toUtf8();
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
