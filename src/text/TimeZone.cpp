#include "text/TimeZone.h"

#include "text/CivilTime.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace corvane {

namespace {

// Rules worked out into the table of changes up to this year; later moments use the rule itself.
constexpr int kFirstRuleYear = 1900;
constexpr int kLastRuleYear = 2200;

std::atomic<bool> g_systemZoneFiles{true};

// A big-endian whole number of `bytes` bytes at `at`.
std::int64_t BigEndian(std::string_view data, std::size_t at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    if (bytes < 8 && (value >> (bytes * 8 - 1)) != 0)
        value |= ~std::uint64_t{0} << (bytes * 8); // the sign carried into the upper bytes
    return static_cast<std::int64_t>(value);
}

// The counts of a TZif header.
struct ZoneFileCounts
{
    std::size_t UtLocal, StandardWall, Leaps, Changes, Types, Chars;

    std::size_t DataSize(int timeBytes) const
    {
        return Changes * static_cast<std::size_t>(timeBytes) + Changes + Types * 6 + Chars
               + Leaps * static_cast<std::size_t>(timeBytes + 4) + StandardWall + UtLocal;
    }
};

std::optional<ZoneFileCounts> ReadCounts(std::string_view data, std::size_t at)
{
    if (data.size() < at + 44 || data.substr(at, 4) != "TZif")
        return std::nullopt;
    const auto count = [&](std::size_t i) { return static_cast<std::size_t>(BigEndian(data, at + 20 + 4 * i, 4)); };
    ZoneFileCounts counts{count(0), count(1), count(2), count(3), count(4), count(5)};
    if (counts.Types == 0 || counts.Types > 256 || counts.Changes > 100000 || counts.Leaps > 100000)
        return std::nullopt;
    return counts;
}

// The names a zone file may be looked for under: letters, digits and "/_-+", no "..".
bool IsZoneFileName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.find("..") != std::string_view::npos)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '_'
               || c == '-' || c == '+';
    });
}

std::optional<TimeZone> SystemZone(std::string_view name)
{
    if (!g_systemZoneFiles || !IsZoneFileName(name))
        return std::nullopt;
    std::vector<std::string> folders;
    if (const char* tzdir = std::getenv("TZDIR"); tzdir && *tzdir)
        folders.emplace_back(tzdir);
    folders.insert(folders.end(), {"/usr/share/zoneinfo", "/usr/lib/zoneinfo", "/usr/share/lib/zoneinfo"});
    for (const std::string& folder : folders) {
        std::ifstream file(folder + "/" + std::string(name), std::ios::binary);
        if (!file)
            continue;
        std::ostringstream bytes;
        bytes << file.rdbuf();
        if (auto zone = TimeZone::FromZoneFile(std::string(name), bytes.str()))
            return zone;
    }
    return std::nullopt;
}

struct BuiltInZone
{
    std::string_view Name;
    std::string_view Rule;
};

// The zones of the trade servers and of the traders who read them, with today's rules.
constexpr std::string_view kEastern = "EET-2EEST,M3.5.0/3,M10.5.0/4";
constexpr std::string_view kCentral = "CET-1CEST,M3.5.0,M10.5.0/3";
constexpr std::string_view kWestern = "WET0WEST,M3.5.0/1,M10.5.0";
constexpr std::string_view kBritish = "GMT0BST,M3.5.0/1,M10.5.0";
constexpr std::string_view kUsEastern = "EST5EDT,M3.2.0,M11.1.0";
constexpr BuiltInZone kBuiltInZones[] = {
    {"UTC", "UTC0"},
    {"Etc/UTC", "UTC0"},
    {"GMT", "GMT0"},
    {"Etc/GMT", "GMT0"},
    {"EET", kEastern},
    {"Europe/Athens", kEastern},
    {"Europe/Bucharest", kEastern},
    {"Europe/Helsinki", kEastern},
    {"Europe/Kiev", kEastern},
    {"Europe/Kyiv", kEastern},
    {"Europe/Riga", kEastern},
    {"Europe/Sofia", kEastern},
    {"Europe/Tallinn", kEastern},
    {"Europe/Vilnius", kEastern},
    {"Asia/Nicosia", kEastern},
    {"Europe/Nicosia", kEastern},
    {"CET", kCentral},
    {"MET", "MET-1MEST,M3.5.0,M10.5.0/3"},
    {"Europe/Amsterdam", kCentral},
    {"Europe/Berlin", kCentral},
    {"Europe/Brussels", kCentral},
    {"Europe/Budapest", kCentral},
    {"Europe/Copenhagen", kCentral},
    {"Europe/Luxembourg", kCentral},
    {"Europe/Madrid", kCentral},
    {"Europe/Malta", kCentral},
    {"Europe/Monaco", kCentral},
    {"Europe/Oslo", kCentral},
    {"Europe/Paris", kCentral},
    {"Europe/Prague", kCentral},
    {"Europe/Rome", kCentral},
    {"Europe/Stockholm", kCentral},
    {"Europe/Vienna", kCentral},
    {"Europe/Warsaw", kCentral},
    {"Europe/Zurich", kCentral},
    {"WET", kWestern},
    {"Europe/Lisbon", kWestern},
    {"Europe/London", kBritish},
    {"Europe/Dublin", "IST-1GMT0,M10.5.0,M3.5.0/1"},
    {"Europe/Istanbul", "<+03>-3"},
    {"Europe/Moscow", "MSK-3"},
    {"EST5EDT", kUsEastern},
    {"America/New_York", kUsEastern},
    {"America/Toronto", kUsEastern},
    {"America/Chicago", "CST6CDT,M3.2.0,M11.1.0"},
    {"America/Denver", "MST7MDT,M3.2.0,M11.1.0"},
    {"America/Los_Angeles", "PST8PDT,M3.2.0,M11.1.0"},
    {"America/Sao_Paulo", "<-03>3"},
    {"Asia/Dubai", "<+04>-4"},
    {"Asia/Jerusalem", "IST-2IDT,M3.4.4/26,M10.5.0"},
    {"Asia/Kolkata", "IST-5:30"},
    {"Asia/Bangkok", "<+07>-7"},
    {"Asia/Jakarta", "WIB-7"},
    {"Asia/Hong_Kong", "HKT-8"},
    {"Asia/Shanghai", "CST-8"},
    {"Asia/Singapore", "<+08>-8"},
    {"Asia/Tokyo", "JST-9"},
    {"Asia/Seoul", "KST-9"},
    {"Australia/Sydney", "AEST-10AEDT,M10.1.0,M4.1.0/3"},
    {"Pacific/Auckland", "NZST-12NZDT,M9.5.0,M4.1.0/3"},
    {"Africa/Johannesburg", "SAST-2"},
};

// "Etc/GMT-2" and the like: IANA's fixed zones, named with POSIX's westward sign.
std::optional<TimeZone> EtcZone(std::string_view name)
{
    constexpr std::string_view kPrefix = "Etc/GMT";
    if (name.size() < kPrefix.size() + 2 || name.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    const auto rule = ParsePosixZoneRule("GMT" + std::string(name.substr(kPrefix.size())));
    if (!rule || rule->Summer || rule->StandardOffset % 3600 != 0 || rule->StandardOffset < -12 * 3600
        || rule->StandardOffset > 14 * 3600)
        return std::nullopt;
    return TimeZone::Fixed(std::string(name), rule->StandardOffset);
}

// "UTC+2", "GMT-3": POSIX reads them westward, most people eastward.
bool IsAmbiguousOffsetName(std::string_view name)
{
    for (const std::string_view prefix : {"UTC", "GMT", "utc", "gmt"})
        if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix
            && (name[prefix.size()] == '+' || name[prefix.size()] == '-'))
            return name.find(',') == std::string_view::npos;
    return false;
}

} // namespace

TimeZone::TimeZone() : m_name("UTC") {}

TimeZone TimeZone::Fixed(std::string name, int offsetSeconds)
{
    TimeZone zone;
    zone.m_name = std::move(name);
    zone.m_offsetBefore = offsetSeconds;
    return zone;
}

std::optional<TimeZone> TimeZone::FromRule(std::string name, std::string_view rule)
{
    const std::optional<PosixZoneRule> parsed = ParsePosixZoneRule(rule);
    if (!parsed)
        return std::nullopt;
    TimeZone zone;
    zone.m_name = std::move(name);
    zone.m_offsetBefore = parsed->StandardOffset;
    zone.m_rule = parsed;
    zone.AddRuleChanges(std::numeric_limits<long long>::min());
    if (!zone.m_changes.empty())
        zone.m_offsetBefore = parsed->OffsetAt(zone.m_changes.front().At - 1);
    zone.BuildDayTable();
    return zone;
}

std::optional<TimeZone> TimeZone::FromZoneFile(std::string name, std::string_view bytes)
{
    std::optional<ZoneFileCounts> counts = ReadCounts(bytes, 0);
    if (!counts)
        return std::nullopt;
    std::size_t at = 44;
    int timeBytes = 4;
    // Version 2 on: the 64-bit table follows the 32-bit one, and a POSIX rule for later years ends the file.
    if (bytes[4] >= '2') {
        at += counts->DataSize(4);
        counts = ReadCounts(bytes, at);
        if (!counts)
            return std::nullopt;
        at += 44;
        timeBytes = 8;
    }
    const std::size_t size = counts->DataSize(timeBytes);
    if (bytes.size() < at + size)
        return std::nullopt;
    const std::size_t indexes = at + counts->Changes * static_cast<std::size_t>(timeBytes);
    const std::size_t types = indexes + counts->Changes;
    const auto typeOffset = [&](std::size_t type) { return static_cast<int>(BigEndian(bytes, types + type * 6, 4)); };

    TimeZone zone;
    zone.m_name = std::move(name);
    zone.m_offsetBefore = typeOffset(0);
    for (std::size_t i = 0; i < counts->Changes; ++i) {
        const auto type = static_cast<unsigned char>(bytes[indexes + i]);
        if (type >= counts->Types)
            return std::nullopt;
        const long long when = BigEndian(bytes, at + i * static_cast<std::size_t>(timeBytes), timeBytes);
        if (!zone.m_changes.empty() && when <= zone.m_changes.back().At)
            continue;
        zone.m_changes.push_back({when, typeOffset(type)});
    }
    if (timeBytes == 8) {
        const std::size_t footer = at + size;
        const std::size_t end = bytes.find('\n', footer + 1);
        if (footer < bytes.size() && bytes[footer] == '\n' && end != std::string_view::npos && end > footer + 1)
            zone.m_rule = ParsePosixZoneRule(bytes.substr(footer + 1, end - footer - 1));
    }
    if (zone.m_rule)
        zone.AddRuleChanges(zone.m_changes.empty() ? std::numeric_limits<long long>::min() : zone.m_changes.back().At);
    zone.BuildDayTable();
    return zone;
}

void TimeZone::AddRuleChanges(long long after)
{
    const int firstYear =
        after == std::numeric_limits<long long>::min() ? kFirstRuleYear : CivilFromDays(DayOfSeconds(after)).Year;
    for (int year = std::max(firstYear, kFirstRuleYear); year <= kLastRuleYear; ++year)
        for (const auto& [when, offset] : m_rule->ChangesIn(year))
            if (when > after && (m_changes.empty() || when > m_changes.back().At))
                m_changes.push_back({when, offset});
}

void TimeZone::BuildDayTable()
{
    if (m_changes.empty())
        return;
    m_firstDay = DayOfSeconds(m_changes.front().At);
    const long long lastDay = DayOfSeconds(m_changes.back().At);
    auto days = std::make_shared<std::vector<int>>(static_cast<std::size_t>(lastDay - m_firstDay + 1));
    std::size_t next = 0; // the first change at or after the day's start
    for (long long day = m_firstDay; day <= lastDay; ++day) {
        const long long start = day * 86400;
        while (next < m_changes.size() && m_changes[next].At < start)
            ++next;
        const int offset = next == 0 ? m_offsetBefore : m_changes[next - 1].Offset;
        const bool changes = next < m_changes.size() && m_changes[next].At < start + 86400;
        (*days)[static_cast<std::size_t>(day - m_firstDay)] = offset * 2 + (changes ? 1 : 0);
    }
    m_days = std::move(days);
}

int TimeZone::OffsetAt(long long utc) const
{
    if (m_days) {
        const long long at = DayOfSeconds(utc) - m_firstDay;
        if (at >= 0 && at < static_cast<long long>(m_days->size())) {
            const int day = (*m_days)[static_cast<std::size_t>(at)];
            if ((day & 1) == 0)
                return day / 2;
        }
    }
    return SearchOffset(utc);
}

int TimeZone::SearchOffset(long long utc) const
{
    if (m_changes.empty() || utc < m_changes.front().At)
        return m_changes.empty() && m_rule ? m_rule->OffsetAt(utc) : m_offsetBefore;
    if (m_rule && utc >= m_changes.back().At && CivilFromDays(DayOfSeconds(utc)).Year > kLastRuleYear)
        return m_rule->OffsetAt(utc);
    const auto after = std::upper_bound(m_changes.begin(), m_changes.end(), utc,
                                        [](long long t, const Change& change) { return t < change.At; });
    return std::prev(after)->Offset;
}

long long TimeZone::ToUtc(long long local) const
{
    // The offsets a day before and a day after: a reading near a change is one of the two. Far from a
    // change they are the same, and so is the offset of the reading.
    const int earlier = OffsetAt(local - 86400), later = OffsetAt(local + 86400);
    if (earlier == later && OffsetAt(local - earlier) == earlier)
        return local - earlier;
    const long long first = local - earlier, second = local - later;
    const bool firstHolds = OffsetAt(first) == earlier, secondHolds = OffsetAt(second) == later;
    if (firstHolds && secondHolds)
        return std::min(first, second);
    if (secondHolds)
        return second;
    return first; // holds, or the reading was skipped: the offset before the change
}

void UseSystemZoneFiles(bool use)
{
    g_systemZoneFiles = use;
}

std::optional<std::string_view> BuiltInZoneRule(std::string_view name)
{
    for (const BuiltInZone& zone : kBuiltInZones)
        if (zone.Name == name)
            return zone.Rule;
    return std::nullopt;
}

TimeZone FindTimeZone(std::string_view name)
{
    if (name == "UTC" || name == "GMT" || name == "Z")
        return TimeZone::Fixed(std::string(name), 0);
    if (IsAmbiguousOffsetName(name))
        throw ZoneError("the time zone '" + std::string(name)
                        + "' is ambiguous: POSIX counts its hours westward; give a shift in hours, or Etc/GMT-2 for "
                          "two hours east of Greenwich");
    if (auto zone = SystemZone(name))
        return *zone;
    if (auto zone = EtcZone(name))
        return *zone;
    if (const auto rule = BuiltInZoneRule(name))
        return *TimeZone::FromRule(std::string(name), *rule);
    if (name.find_first_of("0123456789") != std::string_view::npos)
        if (auto zone = TimeZone::FromRule(std::string(name), name))
            return *zone;
    throw ZoneError("unknown time zone '" + std::string(name)
                    + "': give an IANA name such as EET, Europe/London or America/New_York, or a POSIX TZ string "
                      "such as EET-2EEST,M3.5.0/3,M10.5.0/4");
}

} // namespace corvane
