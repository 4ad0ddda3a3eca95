#include "meterdata/nem12reader.h"

#include "meterdata/meterinput.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr int MarketOffset = 10 * 3600;

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '"')) {
        s.remove_suffix(1);
    }
    return s;
}

// Splits at commas, dropping the padding of trailing empty fields.
void Split(const char* begin, const char* end, std::vector<std::string_view>& fields) {
    fields.clear();
    const char* start = begin;
    for (const char* p = begin;; ++p) {
        if (p == end || *p == ',') {
            fields.push_back(Trim(std::string_view(start, static_cast<std::size_t>(p - start))));
            if (p == end) {
                break;
            }
            start = p + 1;
        }
    }
    while (!fields.empty() && fields.back().empty()) {
        fields.pop_back();
    }
}

QString Text(std::string_view s) {
    // Quoted back bounded: a field is part of a message, never the whole line.
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(std::min<std::size_t>(s.size(), 40)));
}

int Digits(std::string_view s, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool IsQualityLetter(char c) {
    return c == 'A' || c == 'E' || c == 'F' || c == 'S' || c == 'N' || c == 'V';
}

struct Channel {
    QString meter;
    QString suffix;
    QString unit;
    double factor = 1;  // to kWh: multiplied by (MWh) ...
    double divisor = 1; // ... or divided by (Wh), so that the result is the nearest double
    int length = 30;
    bool energy = false;
    bool valid = false;
};

class Nem12Reader {
public:
    Nem12Reader(MeterInput& input, MeterSink& sink) : in_(input), sink_(sink) {}

    void Run() {
        const char* b = nullptr;
        const char* e = nullptr;
        while (in_.ReadLine(b, e)) {
            if (PlainValues(b, e)) {
                continue;
            }
            Split(b, e, fields_);
            if (fields_.empty()) {
                continue; // a blank line, or one of commas only
            }
            const std::string_view type = fields_[0];
            if (type != "400") {
                FlushPending();
            }
            if (type == "100") {
                Header();
            } else if (type == "200") {
                Start();
            } else if (type == "300") {
                Values();
            } else if (type == "400") {
                Quality();
            } else if (type == "250" || type == "550") {
                throw MeterDataError(Nem13Refusal(in_.Name()));
            } else if (type == "500" || type == "900") {
                // B2B details and the end of data (files hold several).
            } else {
                in_.Fail(QStringLiteral("\"%1\" is not a NEM12 record type").arg(Text(type)));
            }
        }
        FlushPending();
    }

private:
    void Header() {
        if (fields_.size() > 1 && fields_[1] == "NEM13") {
            throw MeterDataError(Nem13Refusal(in_.Name()));
        }
        if (fields_.size() < 2 || fields_[1] != "NEM12") {
            in_.Fail(QStringLiteral("the header does not name NEM12"));
        }
    }

    void Start() {
        if (fields_.size() < 9) {
            in_.Fail(QStringLiteral("the 200 record has too few fields"));
        }
        Channel c;
        c.meter = Text(fields_[1]);
        c.suffix = Text(fields_[4]);
        c.unit = Text(fields_[7]);
        if (c.meter.isEmpty() || c.suffix.isEmpty()) {
            in_.Fail(QStringLiteral("the 200 record names no meter or channel"));
        }
        int length = 0;
        const std::string_view l = fields_[8];
        if (std::from_chars(l.data(), l.data() + l.size(), length).ec != std::errc() ||
            length <= 0 || length > 1440 || 1440 % length != 0) {
            in_.Fail(
                QStringLiteral("the interval length \"%1\" does not divide a day").arg(Text(l)));
        }
        c.length = length;
        const QString unit = c.unit.toLower();
        const bool energyUnit = unit == QLatin1String("kwh") || unit == QLatin1String("wh") ||
                                unit == QLatin1String("mwh");
        c.factor = unit == QLatin1String("mwh") ? 1000 : 1;
        c.divisor = unit == QLatin1String("wh") ? 1000 : 1;
        const QChar first = c.suffix.at(0).toUpper();
        c.energy = energyUnit && (first == u'E' || first == u'B');
        c.valid = true;
        if (!c.energy) {
            sink_.Other({c.meter, c.suffix, c.unit});
        }
        channel_ = c;
    }

    QDate ParseDate(std::string_view s) const {
        if (s.size() != 8 || !AllDigits(s)) {
            in_.Fail(QStringLiteral("\"%1\" is not a date (CCYYMMDD)").arg(Text(s)));
        }
        const QDate d(Digits(s, 0, 4), Digits(s, 4, 2), Digits(s, 6, 2));
        if (!d.isValid()) {
            in_.Fail(QStringLiteral("the date %1 does not exist").arg(Text(s)));
        }
        if (d.year() < 1900 || d.year() > 2100) {
            in_.Fail(QStringLiteral("the date %1 is outside 1900 to 2100").arg(Text(s)));
        }
        return d;
    }

    void Values() {
        if (!channel_.valid) {
            in_.Fail(QStringLiteral("a 300 record comes before any 200 record"));
        }
        const int n = 1440 / channel_.length;
        if (fields_.size() < 2) {
            in_.Fail(QStringLiteral("the 300 record holds no date"));
        }
        std::size_t k = 2;
        while (k < fields_.size() && (fields_[k].empty() || !IsQualityLetter(fields_[k][0]))) {
            ++k;
        }
        if (k >= fields_.size()) {
            in_.Fail(QStringLiteral("the 300 record holds no quality method"));
        }
        const auto count = static_cast<int>(k - 2);
        if (count != n) {
            in_.Fail(QStringLiteral("the 300 record holds %1 values where an interval length of %2 "
                                    "minutes needs %3")
                         .arg(count)
                         .arg(channel_.length)
                         .arg(n));
        }
        day_.meter = channel_.meter;
        day_.channel = channel_.suffix;
        day_.day = ParseDate(fields_[1]);
        day_.lengthMinutes = channel_.length;
        day_.startUtc = MidnightUtc(day_.day, MarketOffset);
        day_.line = in_.Line();
        day_.kwh.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            const std::string_view v = fields_[2 + static_cast<std::size_t>(i)];
            double x = 0;
            const auto r =
                std::from_chars(v.data(), v.data() + v.size(), x, std::chars_format::fixed);
            if (v.empty() || r.ec != std::errc() || r.ptr != v.data() + v.size() ||
                !std::isfinite(x)) {
                in_.Fail(QStringLiteral("value %1 \"%2\" is not a number").arg(i + 1).arg(Text(v)));
            }
            if (x < 0 || v[0] == '-') {
                in_.Fail(QStringLiteral("value %1 \"%2\" is negative").arg(i + 1).arg(Text(v)));
            }
            day_.kwh[static_cast<std::size_t>(i)] = x * channel_.factor / channel_.divisor;
        }
        Update(k);
    }

    // The common 300 record, read without splitting it into fields first:
    // exactly the day's values, each plain digits, then a quality letter
    // other than V. Anything else goes on to Values(), which names the fault.
    bool PlainValues(const char* b, const char* e) {
        if (!channel_.valid || e - b < 14 || std::memcmp(b, "300,", 4) != 0 || b[12] != ',') {
            return false;
        }
        const std::size_t n = static_cast<std::size_t>(1440 / channel_.length);
        values_.resize(n);
        const char* p = b + 13;
        for (std::size_t i = 0; i < n; ++i) {
            double x = 0;
            const auto r = std::from_chars(p, e, x, std::chars_format::fixed);
            if (r.ec != std::errc() || r.ptr == e || *r.ptr != ',' || *p == '-' ||
                !std::isfinite(x)) {
                return false;
            }
            values_[i] = x * channel_.factor / channel_.divisor;
            p = r.ptr + 1;
        }
        if (p == e || !IsQualityLetter(*p) || *p == 'V') {
            return false;
        }
        FlushPending();
        Split(p, e, fields_); // the quality, reason and update time
        day_.meter = channel_.meter;
        day_.channel = channel_.suffix;
        day_.day = ParseDate(std::string_view(b + 4, 8));
        day_.lengthMinutes = channel_.length;
        day_.startUtc = MidnightUtc(day_.day, MarketOffset);
        day_.line = in_.Line();
        day_.kwh.swap(values_);
        Update(0);
        return true;
    }

    // The quality letter of fields_[k] for the whole day, and the update
    // time three fields on.
    void Update(std::size_t k) {
        const char q = fields_[k][0];
        day_.quality.assign(day_.kwh.size(), q);
        day_.updateUtc = 0;
        if (fields_.size() > k + 3) {
            const std::string_view u = fields_[k + 3];
            if (u.size() == 14 && AllDigits(u)) {
                const QDate d(Digits(u, 0, 4), Digits(u, 4, 2), Digits(u, 6, 2));
                if (d.isValid()) {
                    day_.updateUtc = MidnightUtc(d, MarketOffset) + Digits(u, 8, 2) * 3600 +
                                     Digits(u, 10, 2) * 60 + Digits(u, 12, 2);
                }
            }
        }
        pending_ = true;
        variable_ = q == 'V';
        if (variable_) { // only a day of quality V waits for its 400 records
            covered_.assign(day_.kwh.size(), false);
        }
    }

    void Quality() {
        if (!pending_ || !variable_) {
            in_.Fail(QStringLiteral("a 400 record follows no 300 record of quality V"));
        }
        const int n = static_cast<int>(day_.kwh.size());
        int from = 0;
        int to = 0;
        auto number = [](std::string_view s, int& v) {
            return !s.empty() &&
                   std::from_chars(s.data(), s.data() + s.size(), v).ec == std::errc();
        };
        if (fields_.size() < 4 || !number(fields_[1], from) || !number(fields_[2], to) ||
            from < 1 || to > n || from > to) {
            in_.Fail(QStringLiteral("the 400 record's intervals lie outside 1 to %1").arg(n));
        }
        const char q = fields_[3].empty() ? ' ' : fields_[3][0];
        if (!IsQualityLetter(q) || q == 'V') {
            in_.Fail(QStringLiteral("\"%1\" is not a quality method").arg(Text(fields_[3])));
        }
        for (int i = from - 1; i < to; ++i) {
            day_.quality[static_cast<std::size_t>(i)] = q;
            covered_[static_cast<std::size_t>(i)] = true;
        }
    }

    void FlushPending() {
        if (!pending_) {
            return;
        }
        pending_ = false;
        for (std::size_t i = 0; variable_ && i < covered_.size(); ++i) {
            if (!covered_[i]) {
                throw MeterDataError(QStringLiteral("%1, line %2: interval %3 of quality V has no "
                                                    "400 record")
                                         .arg(in_.Name())
                                         .arg(day_.line)
                                         .arg(i + 1));
            }
        }
        if (channel_.energy) {
            sink_.Day(day_);
        }
    }

    MeterInput& in_;
    MeterSink& sink_;
    std::vector<std::string_view> fields_;
    Channel channel_;
    MeterDay day_;
    std::vector<bool> covered_;
    std::vector<double> values_; // read by PlainValues, then the day's
    bool pending_ = false;
    bool variable_ = false;
};

} // namespace

qint64 MidnightUtc(QDate day, int offsetSeconds) {
    return (day.toJulianDay() - 2440588) * 86400 - offsetSeconds;
}

QString Nem13Refusal(const QString& name) {
    return QStringLiteral(
               "%1: this is a NEM13 file of accumulation reads: two readings per period, "
               "not intervals. Type them on the readings page or add them to the history.")
        .arg(name);
}

void ReadNem12(MeterInput& input, MeterSink& sink) {
    Nem12Reader(input, sink).Run();
}
