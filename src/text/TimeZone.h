#pragma once

#include "text/PosixZoneRule.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A time zone that cannot be found or read; the message names it and says what may be given instead.
class ZoneError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * A time zone: its offset from Greenwich at every moment, as a table of changes (read from a zone file,
 * or worked out from a rule for the years 1900 to 2200) and a rule for the moments outside the table.
 * Times are seconds since 1970: a moment in UTC, or a reading of the zone's clock.
 */
class TimeZone
{
public:
    // Greenwich: UTC all year.
    TimeZone();
    // A fixed offset, seconds east of Greenwich.
    static TimeZone Fixed(std::string name, int offsetSeconds);
    // A POSIX TZ string; none when `rule` is not one.
    static std::optional<TimeZone> FromRule(std::string name, std::string_view rule);
    // The bytes of a zone file (TZif, RFC 8536, versions 1 to 4); none when they are not one.
    static std::optional<TimeZone> FromZoneFile(std::string name, std::string_view bytes);

    const std::string& Name() const { return m_name; }
    // Seconds east of Greenwich at the moment `utc`.
    int OffsetAt(long long utc) const;
    long long ToLocal(long long utc) const { return utc + OffsetAt(utc); }
    /**
     * The moment a reading of the zone's clock stands for. A reading the clock shows twice (the hour
     * summer time ends) is its first showing, in summer time; a reading the clock skips (the hour summer
     * time starts) is taken with the offset before the change, as a clock not yet put forward shows it.
     */
    long long ToUtc(long long local) const;

private:
    struct Change
    {
        long long At; // the moment, UTC
        int Offset;   // from then on
    };

    void AddRuleChanges(long long after);
    // Builds m_days once the changes are known.
    void BuildDayTable();
    int SearchOffset(long long utc) const;

    std::string m_name;
    int m_offsetBefore = 0;              // before the first change
    std::vector<Change> m_changes;       // in time order
    std::optional<PosixZoneRule> m_rule; // after the last change (without one, its offset stays)
    // For each day from the first change's to the last change's: the offset at the day's start times 2, plus
    // 1 when the offset changes during the day. A day without a change needs no search; copies share it.
    long long m_firstDay = 0;
    std::shared_ptr<const std::vector<int>> m_days;
};

/**
 * The zone a name gives:
 * - "UTC", "GMT", "Z";
 * - an IANA name ("Europe/Athens", "America/New_York", "EET"): the system's zone file where there is one
 *   (TZDIR, /usr/share/zoneinfo), else the built-in rule of the zones traders use most (BuiltInZoneRule);
 * - a POSIX TZ string ("EET-2EEST,M3.5.0/3,M10.5.0/4").
 * Throws ZoneError for anything else, and for "UTC+2" and the like, whose sign POSIX reads westward: a
 * fixed shift is given in hours, or as "Etc/GMT-2".
 */
TimeZone FindTimeZone(std::string_view name);

// Whether FindTimeZone may look for the system's zone files (tests turn it off to hold the built-in rules).
void UseSystemZoneFiles(bool use);

// Today's rule of a zone of the built-in table, by its IANA name; none for a name it does not hold. The
// table's rules hold for every year: the system's zone files, where present, carry the older rules too.
std::optional<std::string_view> BuiltInZoneRule(std::string_view name);

} // namespace corvane
