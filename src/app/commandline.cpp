#include "app/commandline.h"

#include <QByteArray>

namespace {

// Kept in step with the manual page (data/voltisk.1.in); a test compares them.
const char* const HelpText =
    "Usage: voltisk [CALC]\n"
    "       voltisk --show-usage-calculator\n"
    "       voltisk --help | --version\n"
    "\n"
    "Works out the cost of household electricity for a billing period from the\n"
    "meter readings, their dates and the tariff. The window's pages: \"Standard\n"
    "readings\", \"Quick usage calculator\" (with a volts, watts, amps and ohms\n"
    "converter), \"Help\", \"History\" (every stored bill, a chart, CSV export\n"
    "and import, meter data import from NEM12 and Green Button files) and\n"
    "\"Compare plans\". Ctrl+S stores the current period in the history from any\n"
    "page; Ctrl+P prints the page shown; F1 opens the user guide.\n"
    "\n"
    "  CALC        open on the \"Quick usage calculator\" page (any letter case)\n"
    "  --show-usage-calculator\n"
    "              the same, and a running window switches to that page\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "\n"
    "Only the first argument is examined; any other opens the \"Standard readings\"\n"
    "page. Starting Voltisk while it runs brings the running window to the front.\n"
    "\n"
    "Files ($XDG_CONFIG_HOME, $XDG_DATA_HOME replace ~/.config, ~/.local/share):\n"
    "  ~/.config/BrindleSoftware/voltisk/voltisk.ini           settings\n"
    "  ~/.config/BrindleSoftware/voltisk/report_YYYYMMDD.html  period reports\n"
    "  ~/.local/share/BrindleSoftware/voltisk/history.sqlite   the history file:\n"
    "                                      bills, plans and meter data\n"
    "  /usr/share/doc/voltisk/guide/index.html                 the user guide\n"
    "\n"
    "For scripts and terminals, voltisk-cli does the same work without a window.\n"
    "See voltisk(1) and voltisk-cli(1) for more.\n";

} // namespace

QString ProgramVersion() {
    return QStringLiteral(VOLTISK_VERSION);
}

std::optional<QString> InformationRequest(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return std::nullopt;
    }
    const QString& first = arguments.first();
    if (first == QLatin1String("--help")) {
        return QString::fromLatin1(HelpText);
    }
    if (first == QLatin1String("--version")) {
        return QStringLiteral("Voltisk %1\n"
                              "Copyright (c) 2026 Brindle Software contributors\n"
                              "MIT License: free software without any warranty.\n")
            .arg(ProgramVersion());
    }
    return std::nullopt;
}

bool PrintInformation(const QString& text, std::FILE* out) {
    const QByteArray bytes = text.toUtf8();
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) == size_t(bytes.size());
    // The text may still sit in the buffer: only the flush shows a full disk.
    return std::fflush(out) == 0 && written && !std::ferror(out);
}
