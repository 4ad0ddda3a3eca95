// The installed metadata agrees with itself and with the program: one
// version, one application id, one icon, one licence, and a manual page that
// says what --help says.
#include "app/commandline.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString AppId = QStringLiteral("com.brindlesoftware.Voltisk");

QString Source(const QString& name) {
    return QStringLiteral(VOLTISK_SOURCE_DIR "/") + name;
}
QString Built(const QString& name) {
    return QStringLiteral(VOLTISK_DATA_BUILD_DIR "/") + name;
}

QString ReadText(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromUtf8(f.readAll());
}

struct Release {
    QString version;
    QString date;
};

struct MetaInfo {
    QString id;
    QString launchable;
    QString projectLicense;
    QStringList binaries;
    std::vector<Release> releases;
};

MetaInfo ReadMetaInfo(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    MetaInfo info;
    QStringList open;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            open.removeLast();
            continue;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        open << xml.name().toString();
        const QString where = open.join('/');
        if (where == "component/releases/release") {
            info.releases.push_back({xml.attributes().value("version").toString(),
                                     xml.attributes().value("date").toString()});
        } else if (where == "component/id") {
            info.id = xml.readElementText();
            open.removeLast();
        } else if (where == "component/launchable") {
            info.launchable = xml.readElementText();
            open.removeLast();
        } else if (where == "component/project_license") {
            info.projectLicense = xml.readElementText();
            open.removeLast();
        } else if (where == "component/provides/binary") {
            info.binaries << xml.readElementText();
            open.removeLast();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return info;
}

// The roff text as a reader sees it, near enough: no escapes before "-".
QString ManualText() {
    return ReadText(Built("voltisk.1")).replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

} // namespace

TEST(Metadata, TheNewestReleaseIsTheProgramsVersion) {
    const MetaInfo info = ReadMetaInfo(Built(AppId + ".metainfo.xml"));
    ASSERT_FALSE(info.releases.empty());
    EXPECT_EQ(info.releases.front().version, ProgramVersion());
    EXPECT_EQ(info.releases.front().date, QStringLiteral(VOLTISK_RELEASE_DATE));
    // Newest first, each version once, every date a real day.
    for (size_t i = 0; i < info.releases.size(); ++i) {
        const QDate date = QDate::fromString(info.releases[i].date, Qt::ISODate);
        EXPECT_TRUE(date.isValid()) << info.releases[i].date.toStdString();
        if (i > 0) {
            EXPECT_LT(date, QDate::fromString(info.releases[i - 1].date, Qt::ISODate));
            EXPECT_NE(info.releases[i].version, info.releases[i - 1].version);
        }
    }
    // The package's changelog opens with the same version.
    const QString changelog = ReadText(Source("changelog"));
    EXPECT_TRUE(changelog.startsWith("voltisk (" + ProgramVersion() + ") "))
        << changelog.left(40).toStdString();
}

TEST(Metadata, MenuEntryMetadataAndIconShareOneId) {
    const MetaInfo info = ReadMetaInfo(Built(AppId + ".metainfo.xml"));
    EXPECT_EQ(info.id, AppId);
    EXPECT_EQ(info.launchable, AppId + ".desktop");
    const QString program = QFileInfo(QStringLiteral(VOLTISK_BINARY)).fileName();
    EXPECT_EQ(info.binaries, QStringList{program});

    const QString desktopPath = Source(AppId + ".desktop");
    ASSERT_TRUE(QFile::exists(desktopPath));
    QSettings desktop(desktopPath, QSettings::IniFormat);
    desktop.beginGroup("Desktop Entry");
    EXPECT_EQ(desktop.value("Exec").toString(), program);
    EXPECT_EQ(desktop.value("Icon").toString(), AppId);
    EXPECT_EQ(desktop.value("StartupWMClass").toString(), program);
    desktop.endGroup();
    // The menu's second action opens the calculator page, also in a running copy.
    desktop.beginGroup("Desktop Action calculator");
    EXPECT_EQ(desktop.value("Exec").toString(), program + " --show-usage-calculator");
}

TEST(Metadata, IconsAreRenderedInEverySizeAndTheWindowIconIsTheSameDrawing) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString path = Built(QStringLiteral("icons/%1x%1/apps/").arg(size) + AppId + ".png");
        const QImage icon(path);
        ASSERT_FALSE(icon.isNull()) << path.toStdString();
        EXPECT_EQ(icon.size(), QSize(size, size)) << path.toStdString();
        // Transparent corners around an opaque middle: the drawing, not a blank.
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    // The window icon embedded in the program is a copy of the 256 pixel icon;
    // it goes stale when the drawing changes without it.
    const QImage window(Source("voltisk.png"));
    const QImage rendered(Built("icons/256x256/apps/" + AppId + ".png"));
    EXPECT_EQ(window.convertToFormat(QImage::Format_ARGB32),
              rendered.convertToFormat(QImage::Format_ARGB32))
        << "regenerate data/voltisk.png: rsvg-convert -w 256 -h 256 data/voltisk.svg -o "
           "data/voltisk.png";
}

TEST(Metadata, ManualPageSaysWhatHelpSaysForThisVersion) {
    const QString manual = ManualText();
    EXPECT_TRUE(manual.startsWith(QStringLiteral(".TH VOLTISK 1 \"%1\" \"Voltisk %2\"")
                                      .arg(VOLTISK_RELEASE_DATE, ProgramVersion())))
        << manual.left(60).toStdString();
    const QString help = *InformationRequest({"--help"});
    // Every option and every file that --help names.
    const QRegularExpression named(R"((--[a-z]+|\bCALC\b|~/[A-Za-z0-9_./]+))");
    int count = 0;
    for (auto it = named.globalMatch(help); it.hasNext(); ++count) {
        const QString word = it.next().captured(1);
        EXPECT_TRUE(manual.contains(word)) << word.toStdString();
    }
    EXPECT_GE(count, 6);
    EXPECT_TRUE(manual.contains("MIT"));
}

TEST(Metadata, LicenceIsNamedAlikeEverywhere) {
    EXPECT_EQ(ReadMetaInfo(Built(AppId + ".metainfo.xml")).projectLicense, "MIT");
    const QString licence = ReadText(Source("../LICENSE"));
    ASSERT_TRUE(licence.startsWith("MIT License\n"));
    EXPECT_TRUE(licence.contains("Copyright (c) 2026 Brindle Software contributors\n"));

    // The package's copyright file carries the same permission text, each line
    // indented by one blank and each empty line written " .".
    const QString copyright = ReadText(Source("copyright"));
    EXPECT_TRUE(copyright.contains("Copyright: 2026 Brindle Software contributors\n"));
    const QString permission = licence.mid(licence.indexOf("Permission is hereby granted"));
    QString indented;
    for (const QString& line : permission.trimmed().split('\n')) {
        indented += line.isEmpty() ? QStringLiteral(" .\n") : QStringLiteral(" ") + line + "\n";
    }
    EXPECT_TRUE(copyright.contains("License: Expat\n" + indented));
}
