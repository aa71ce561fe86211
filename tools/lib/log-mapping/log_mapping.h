// From ADIF records and Cabrillo QSO lines to what the host hands the
// plug-in: the QSO's texts, its time as a host date, its frequency in hertz,
// its country and continent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "adif.h"
#include "cabrillo.h"
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

// Where a station is, as the plug-in is told: its country's primary prefix
// and its continent. `found` is false when nothing placed it.
struct Location {
    std::string country, continent;
    bool found = false;
};

// The country and continent of a call, with what the log says of it (an ADIF
// entity number, a country name; either may be absent). The plug-in compares
// each QSO's country text with the own station's, so both always come out of
// the same country file as its primary prefixes. With a country file:
//   - the entity of the number when the file has numbers (cty.csv), else the
//     entity of the name when the file knows it, else the entity of the call;
//     but a call in one of cty.dat's "*" countries (IT9ABC in Sicily) keeps it
//     whatever name the log gives, since a log names DXCC entities;
//   - the continent given for the call's own prefix or whole call, when the
//     call lies in that entity, else the entity's;
//   - nothing for a call the file cannot place (nor /MM, /AM calls).
// Without one, the number, else the name, stands for the country as written.
Location Locate(const CountryFile* countries, std::string_view call, std::optional<int> dxcc,
                std::string_view countryName);

// What a record gives beyond its QSO: the own station and the contest, when it names them.
struct StationFields {
    std::string call;  // STATION_CALLSIGN, else OPERATOR
    std::optional<int> dxcc;  // MY_DXCC
    std::string contest;  // CONTEST_ID, in capitals
};

// Maps one record. Throws adif::FormatError for a malformed value (a date,
// time, frequency or entity number that is not one); returns nothing, with the
// reason in `skipped`, for a record the host could not log (no call, no date,
// no time, a frequency beyond 32 bits of hertz).
//
// Fields: CALL; QSO_DATE and TIME_ON; FREQ (else 0); BAND in small letters
// (else the band of FREQ); MODE in capitals; RST_SENT, RST_RCVD; STX_STRING or
// STX, SRX_STRING or SRX; PFX (else the WPX prefix of the call); the country
// by Locate from DXCC, COUNTRY and the call; CONT, else the continent Locate
// gives. `countries` may be null. A country the file could not find is said
// in `warning` (the QSO still goes to the plug-in, without one).
std::optional<HostQso> MapRecord(const adif::Record& record, const std::string& file, const CountryFile* countries,
                                 std::string* skipped, StationFields* station = nullptr,
                                 std::string* warning = nullptr);

// A frequency in kilohertz as decimal text, in whole hertz.
std::optional<std::uint64_t> ParseKilohertz(std::string_view text);
// The host's mode for a Cabrillo mode token: PH is SSB, RY is RTTY; CW, FM
// and the others (DG, ??) as written.
std::string HostModeOfCabrillo(std::string_view token);

// Maps one Cabrillo QSO line: the frequency in kilohertz (or a VHF band
// designator: 50, 144, 432, ...) in hertz, the band of that frequency, the
// mode (HostModeOfCabrillo), date and time, reports and serials, the WPX
// prefix and country and continent from the call. Nothing, with the reason in
// `problem`, when a field does not read; an unknown country as in MapRecord.
std::optional<HostQso> MapCabrilloQso(const cabrillo::QsoLine& line, const CountryFile* countries,
                                      std::string* problem, std::string* warning = nullptr);

}  // namespace tools
