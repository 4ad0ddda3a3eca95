#include "meterdata/daycollector.h"
#include "meterdata/greenbutton.h"
#include "meterdata/meterinput.h"

#include <QXmlStreamReader>
#include <cmath>
#include <optional>
#include <vector>

namespace {

struct Reading {
    qint64 start = 0;
    qint64 duration = 0;
    double value = 0;
    int quality = 0;
};

struct Entry {
    QString self;
    QString up;
    QStringList related;
    QString title;
    QString kind; // the resource in its content
    int line = 0;
};

struct ReadingType {
    int power = 0;
    int uom = 72;
    int flow = 1;
};

struct MeterReading {
    QString self;
    QString up;
    QStringList related;
    QString channel; // given on first use
};

struct UsagePoint {
    QString self;
    QStringList related;
    QString name;
    int kind = 0;
};

struct Block {
    Entry entry;
    std::vector<Reading> readings;
    std::size_t bytes = 0; // held while it waits for its ReadingType
};

// What an entry's texts hold in memory, near enough.
std::size_t EntryBytes(const Entry& e) {
    qsizetype chars = e.self.size() + e.up.size() + e.title.size() + e.kind.size();
    for (const QString& r : e.related) {
        chars += r.size();
    }
    return sizeof(Entry) + 2 * static_cast<std::size_t>(chars);
}

bool Within(const QString& href, const QString& parent) {
    return !parent.isEmpty() && href.size() > parent.size() && href.startsWith(parent) &&
           href.at(parent.size()) == u'/';
}

QString LastSegment(const QString& href) {
    const QString trimmed = href.endsWith(u'/') ? href.chopped(1) : href;
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

char QualityLetter(int code) {
    switch (code) {
    case 7:
        return 'S';
    case 8:
    case 9:
    case 11:
    case 12:
    case 15:
        return 'E';
    default:
        return 'A';
    }
}

class XmlReader {
public:
    XmlReader(MeterInput& input, MeterSink& sink, const LocalZone& zone)
        : in_(input), sink_(sink), days_(sink, zone) {}

    void Run() {
        xml_.setNamespaceProcessing(false);
        // Bytes handed to the parser since it last finished a token: one
        // tag, text or comment that never ends is refused, not gathered.
        qint64 unfinished = 0;
        for (;;) {
            const QXmlStreamReader::TokenType t = xml_.readNext();
            if (xml_.hasError()) {
                if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
                    const QByteArray chunk = in_.ReadChunk();
                    if (!chunk.isEmpty()) {
                        unfinished += chunk.size();
                        if (unfinished > MeterInput::MaxLine) {
                            Fail(QStringLiteral("an element, text or comment runs past %1 MB")
                                     .arg(MeterInput::MaxLine >> 20));
                        }
                        xml_.addData(chunk);
                        continue;
                    }
                }
                Fail(xml_.errorString());
            }
            unfinished = 0;
            if (t == QXmlStreamReader::EndDocument) {
                break;
            }
            Token(t);
        }
        zoneFixed_ = true;
        ResolvePending(true);
        days_.Flush();
        if (!sawEnergy_) {
            Fail(QStringLiteral("the file holds no electricity interval readings"));
        }
    }

private:
    [[noreturn]] void Fail(const QString& reason) const {
        throw MeterDataError(
            QStringLiteral("%1, line %2: %3").arg(in_.Name()).arg(xml_.lineNumber()).arg(reason));
    }

    static QString Local(QStringView qualified) {
        const qsizetype colon = qualified.indexOf(u':');
        return (colon < 0 ? qualified : qualified.mid(colon + 1)).toString();
    }

    QString Parent(int up = 1) const {
        const auto n = static_cast<qsizetype>(stack_.size());
        return n > up ? stack_[static_cast<std::size_t>(n - 1 - up)] : QString();
    }

    bool InStack(const QString& name) const {
        return std::find(stack_.begin(), stack_.end(), name) != stack_.end();
    }

    qint64 Integer(const QString& text) const {
        bool ok = false;
        const qint64 v = text.trimmed().toLongLong(&ok);
        if (!ok) {
            Fail(QStringLiteral("\"%1\" is not a whole number").arg(text.left(40)));
        }
        return v;
    }

    void Token(QXmlStreamReader::TokenType t) {
        switch (t) {
        case QXmlStreamReader::DTD:
            if (!xml_.entityDeclarations().isEmpty() || xml_.text().contains(u"<!ENTITY")) {
                Fail(QStringLiteral("the file declares entities, which are refused"));
            }
            break;
        case QXmlStreamReader::EntityReference:
            Fail(QStringLiteral("the file uses an undeclared entity"));
        case QXmlStreamReader::StartElement: {
            const QString name = Local(xml_.qualifiedName());
            if (stack_.size() >= MaxDepth) {
                Fail(QStringLiteral("the elements nest deeper than %1").arg(MaxDepth));
            }
            stack_.push_back(name);
            text_.clear();
            Start(name);
            break;
        }
        case QXmlStreamReader::Characters:
            if (text_.size() < 4096) {
                text_ += xml_.text();
            }
            break;
        case QXmlStreamReader::EndElement:
            End(stack_.empty() ? QString() : stack_.back());
            if (!stack_.empty()) {
                stack_.pop_back();
            }
            text_.clear();
            break;
        default:
            break;
        }
    }

    void Start(const QString& name) {
        if (name == QLatin1String("entry")) {
            entry_ = Entry{};
            entry_.line = static_cast<int>(xml_.lineNumber());
            heldBytes_ -= block_.size() * sizeof(Reading); // readings of an entry not a block
            block_.clear();
            readingType_ = ReadingType{};
            kind_ = 0;
        } else if (name == QLatin1String("link") && Parent() == QLatin1String("entry")) {
            const auto a = xml_.attributes();
            const QString rel = a.value(QLatin1String("rel")).toString();
            const QString href = a.value(QLatin1String("href")).toString().trimmed();
            if (href.size() > MaxLink || entry_.related.size() >= MaxRelated) {
                Fail(QStringLiteral("an entry's links are longer or more than %1 and %2")
                         .arg(MaxLink)
                         .arg(MaxRelated));
            }
            if (rel == QLatin1String("self")) {
                entry_.self = href;
            } else if (rel == QLatin1String("up")) {
                entry_.up = href;
            } else if (rel == QLatin1String("related")) {
                entry_.related << href;
            }
        } else if (Parent() == QLatin1String("content") && entry_.kind.isEmpty()) {
            entry_.kind = name;
        } else if (name == QLatin1String("IntervalReading")) {
            reading_ = Reading{};
        }
    }

    void End(const QString& name) {
        const QString parent = Parent();
        if (name == QLatin1String("title") && parent == QLatin1String("entry")) {
            entry_.title = text_.trimmed();
        } else if (parent == QLatin1String("ReadingType")) {
            if (name == QLatin1String("powerOfTenMultiplier")) {
                readingType_.power = static_cast<int>(std::clamp<qint64>(Integer(text_), -30, 30));
            } else if (name == QLatin1String("uom")) {
                readingType_.uom = static_cast<int>(Integer(text_));
            } else if (name == QLatin1String("flowDirection")) {
                readingType_.flow = static_cast<int>(Integer(text_));
            }
        } else if (parent == QLatin1String("ServiceCategory") && name == QLatin1String("kind")) {
            kind_ = static_cast<int>(Integer(text_));
        } else if (parent == QLatin1String("LocalTimeParameters")) {
            if (name == QLatin1String("tzOffset")) {
                tz_ = static_cast<int>(std::clamp<qint64>(Integer(text_), -86400, 86400));
            } else if (name == QLatin1String("dstOffset")) {
                dst_ = static_cast<int>(std::clamp<qint64>(Integer(text_), -86400, 86400));
            } else if (name == QLatin1String("dstStartRule")) {
                start_ = text_.trimmed().toUInt(nullptr, 16);
            } else if (name == QLatin1String("dstEndRule")) {
                end_ = text_.trimmed().toUInt(nullptr, 16);
            }
        } else if (InStack(QStringLiteral("IntervalReading"))) {
            if (name == QLatin1String("start") && parent == QLatin1String("timePeriod")) {
                reading_.start = Integer(text_);
            } else if (name == QLatin1String("duration") && parent == QLatin1String("timePeriod")) {
                reading_.duration = Integer(text_);
            } else if (name == QLatin1String("value") &&
                       parent == QLatin1String("IntervalReading")) {
                reading_.value = static_cast<double>(Integer(text_));
            } else if (name == QLatin1String("quality")) {
                reading_.quality = static_cast<int>(Integer(text_));
            } else if (name == QLatin1String("IntervalReading")) {
                if (reading_.duration <= 0) {
                    Fail(QStringLiteral("an IntervalReading has no time period"));
                }
                block_.push_back(reading_);
                heldBytes_ += sizeof(Reading);
                if (heldBytes_ > MaxHeldBytes) {
                    Fail(QStringLiteral("too many readings come before their ReadingType"));
                }
            }
        } else if (name == QLatin1String("entry")) {
            EndEntry();
        }
    }

    void EndEntry() {
        const bool describes = entry_.kind == QLatin1String("UsagePoint") ||
                               entry_.kind == QLatin1String("MeterReading") ||
                               entry_.kind == QLatin1String("ReadingType");
        changed_ = changed_ || describes;
        if (describes && ++described_ > MaxDescribed) {
            Fail(QStringLiteral("the file describes more than %1 usage points, meter readings and "
                                "reading types")
                     .arg(MaxDescribed));
        }
        if (entry_.kind == QLatin1String("UsagePoint")) {
            points_.push_back({entry_.self, entry_.related, entry_.title, kind_});
        } else if (entry_.kind == QLatin1String("MeterReading")) {
            readings_.push_back({entry_.self, entry_.up, entry_.related, {}});
        } else if (entry_.kind == QLatin1String("ReadingType")) {
            types_.emplace_back(entry_.self, readingType_);
        } else if (entry_.kind == QLatin1String("LocalTimeParameters")) {
            if (!zoneFixed_) {
                days_.SetZone(LocalZone::FromRules(tz_, dst_, start_, end_));
                zoneFixed_ = true;
                changed_ = true;
            }
        } else if (entry_.kind == QLatin1String("IntervalBlock")) {
            const std::size_t bytes = EntryBytes(entry_) + block_.size() * sizeof(Reading);
            heldBytes_ += bytes - block_.size() * sizeof(Reading);
            if (heldBytes_ > MaxHeldBytes) {
                Fail(QStringLiteral("too many readings come before their ReadingType"));
            }
            pending_.push_back({entry_, std::move(block_), bytes});
            block_.clear();
        }
        ResolvePending(false);
    }

    MeterReading* FindMeterReading(const Entry& block) {
        for (MeterReading& m : readings_) {
            if ((!block.up.isEmpty() && m.related.contains(block.up)) || Within(block.up, m.self) ||
                Within(block.self, m.self)) {
                return &m;
            }
        }
        return nullptr;
    }

    const ReadingType* FindType(const MeterReading& m) const {
        for (const auto& [self, type] : types_) {
            if (m.related.contains(self)) {
                return &type;
            }
        }
        return nullptr;
    }

    const UsagePoint* FindPoint(const MeterReading& m) const {
        for (const UsagePoint& p : points_) {
            if ((!m.up.isEmpty() && p.related.contains(m.up)) || Within(m.self, p.self)) {
                return &p;
            }
        }
        return nullptr;
    }

    // Hands on the blocks whose ReadingType is known, once the local time is
    // settled; at the end a block tied to none is refused.
    void ResolvePending(bool atEnd) {
        if (!zoneFixed_ && !atEnd) {
            if (heldBytes_ < MaxHeldBytes / 2) {
                return;
            }
            zoneFixed_ = true; // too much held without LocalTimeParameters: the system zone
            changed_ = true;
        }
        // A block that waited before can be placed only once a description
        // or the zone has come; else only the newest is tried, so a file of
        // many blocks costs no walk over all of them each time.
        const std::size_t first = atEnd || changed_ || pending_.empty() ? 0 : pending_.size() - 1;
        changed_ = false;
        std::size_t kept = first;
        for (std::size_t i = first; i < pending_.size(); ++i) {
            Block& block = pending_[i];
            MeterReading* m = FindMeterReading(block.entry);
            const ReadingType* type = m != nullptr ? FindType(*m) : nullptr;
            if (type == nullptr) {
                if (atEnd) {
                    throw MeterDataError(
                        QStringLiteral("%1, line %2: the IntervalBlock is tied to no MeterReading "
                                       "with a ReadingType")
                            .arg(in_.Name())
                            .arg(block.entry.line));
                }
                if (kept != i) {
                    pending_[kept] = std::move(block);
                }
                ++kept;
                continue;
            }
            Emit(block, *m, *type);
            heldBytes_ -= block.bytes;
        }
        pending_.resize(kept);
    }

    void Emit(const Block& block, MeterReading& m, const ReadingType& type) {
        const UsagePoint* point = FindPoint(m);
        QString meter = point != nullptr ? point->name : QString();
        if (meter.isEmpty() && point != nullptr) {
            meter = LastSegment(point->self);
        }
        if (meter.isEmpty()) {
            meter = QStringLiteral("Green Button");
        }
        const bool energy = type.uom == 72 && (type.flow == 1 || type.flow == 19) &&
                            (point == nullptr || point->kind == 0);
        if (m.channel.isEmpty()) {
            const QChar letter = type.flow == 19 ? u'B' : u'E';
            int number = 1;
            while (channels_.contains(meter + u'\n' + letter + QString::number(number))) {
                ++number;
            }
            m.channel = letter + QString::number(number);
            channels_ << meter + u'\n' + m.channel;
            if (!energy) {
                m.channel = QStringLiteral("flow %1").arg(type.flow);
                sink_.Other({meter, m.channel, QStringLiteral("uom %1").arg(type.uom)});
            }
        }
        if (!energy) {
            return;
        }
        sawEnergy_ = true;
        // Wh × 10^power in kWh, as one multiplication or one division.
        const int exponent = type.power - 3;
        const double scale = std::pow(10.0, std::abs(exponent));
        for (const Reading& r : block.readings) {
            if (r.value < 0) {
                throw MeterDataError(QStringLiteral("%1, line %2: a reading is negative")
                                         .arg(in_.Name())
                                         .arg(block.entry.line));
            }
            const QString why = days_.Add(meter, m.channel, r.start, r.duration,
                                          exponent < 0 ? r.value / scale : r.value * scale,
                                          QualityLetter(r.quality), block.entry.line);
            if (!why.isEmpty()) {
                throw MeterDataError(QStringLiteral("%1, line %2: %3")
                                         .arg(in_.Name())
                                         .arg(block.entry.line)
                                         .arg(why));
            }
        }
    }

    // What a Green Button file may hold, far beyond any real one, so that a
    // crafted file is refused rather than read into memory without end.
    static constexpr std::size_t MaxHeldBytes = std::size_t{128} << 20;
    static constexpr std::size_t MaxDepth = 64;
    static constexpr qsizetype MaxLink = 2048;
    static constexpr qsizetype MaxRelated = 64;
    static constexpr int MaxDescribed = 1000;

    MeterInput& in_;
    MeterSink& sink_;
    DayCollector days_;
    QXmlStreamReader xml_;
    std::vector<QString> stack_;
    QString text_;
    Entry entry_;
    std::vector<Reading> block_;
    Reading reading_;
    ReadingType readingType_;
    int kind_ = 0;
    int tz_ = 0;
    int dst_ = 0;
    std::uint32_t start_ = 0;
    std::uint32_t end_ = 0;
    bool zoneFixed_ = false;
    bool sawEnergy_ = false;
    std::size_t heldBytes_ = 0;
    int described_ = 0;
    bool changed_ = false; // a description or the zone came since the last walk
    std::vector<UsagePoint> points_;
    std::vector<MeterReading> readings_;
    std::vector<std::pair<QString, ReadingType>> types_;
    std::vector<Block> pending_;
    QStringList channels_;
};

} // namespace

void ReadGreenButtonXml(MeterInput& input, MeterSink& sink, const LocalZone& zone) {
    XmlReader(input, sink, zone).Run();
}
