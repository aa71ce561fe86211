// From ADIF records to what the host hands the plug-in: the QSO's texts,
// its time as a host date, its frequency in hertz.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "adif.h"
#include "country_file.h"
#include "host_session.h"

namespace tools {

// Host date of a UTC calendar time: days since 30 December 1899 00:00.
double HostDateOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
// Calendar fields of a host date, to the nearest second.
void CalendarOf(double hostDate, int& year, int& month, int& day, int& hour, int& minute, int& second);

// ADIF's date (YYYYMMDD) and time (HHMM or HHMMSS); nothing when malformed.
std::optional<double> ParseAdifDate(std::string_view date);
std::optional<double> ParseAdifTime(std::string_view time);  // fraction of a day
// A frequency in megahertz as decimal text, in whole hertz (finer digits dropped).
std::optional<std::uint64_t> ParseMegahertz(std::string_view text);
// The ADIF band of a frequency ("20m", "70cm"), or empty outside the bands.
std::string BandOfFrequency(std::uint64_t hertz);

// What a record gives beyond its QSO: the own station, when it names it.
struct StationFields {
    std::string call;  // STATION_CALLSIGN, else OPERATOR
    std::optional<int> dxcc;  // MY_DXCC
};

// Maps one record. Throws adif::FormatError for a malformed value (a date,
// time, frequency or entity number that is not one); returns nothing, with the
// reason in `skipped`, for a record the host could not log (no call, no date,
// no time, a frequency beyond 32 bits of hertz).
//
// Fields: CALL; QSO_DATE and TIME_ON; FREQ (else 0); BAND in small letters
// (else the band of FREQ); MODE in capitals; RST_SENT, RST_RCVD; STX_STRING or
// STX, SRX_STRING or SRX; PFX (else the WPX prefix of the call); the country
// prefix from DXCC or COUNTRY through the country file (else the entity number
// or name itself, else the country of the call); CONT, else the continent of
// that country. `countries` may be null.
std::optional<HostQso> MapRecord(const adif::Record& record, const std::string& file, const CountryFile* countries,
                                 std::string* skipped, StationFields* station = nullptr);

// The country prefix that stands for an entity number, or the number as text
// without a country file (then an own country given as a number still matches).
std::string CountryOfDxcc(int dxcc, const CountryFile* countries, std::string* continent = nullptr);

}  // namespace tools
