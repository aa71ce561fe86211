// A contest log of either format, ADIF or Cabrillo, read QSO by QSO as the
// host would pass them to the plug-in, with what the log says of its own
// station and its contest.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "adif.h"
#include "cabrillo.h"
#include "country_file.h"
#include "host_session.h"

namespace tools {

class LogSource {
public:
    struct Entry {
        std::optional<HostQso> qso;  // nothing: the host could not log this record or line
        // Why it was skipped, or what is amiss with the QSO passed, as
        // "FILE: record N ..." or "FILE: line N ..."; empty when all is well.
        std::string note;
        // Where it is in the file: the record's number in an ADIF log, the
        // line's in a Cabrillo log.
        std::size_t number = 0;
        // The transmitter number of a multi-transmitter log's QSO line, as
        // written; empty otherwise (ADIF has no such field).
        std::string transmitter;
    };

    // Reads a Cabrillo log when cabrillo::LooksLikeCabrillo says so, else ADIF.
    // Throws std::runtime_error (a FormatError of either reader) for a file
    // that cannot be read or is malformed. `countries` may be null.
    LogSource(const std::string& path, const CountryFile* countries);
    ~LogSource();

    // The next record or QSO line; false after the last.
    bool Next(Entry& entry);

    bool IsCabrillo() const { return cabrillo_ != nullptr; }
    // As far as the log has been read: the own call (STATION_CALLSIGN or
    // OPERATOR; CALLSIGN:, else the first QSO line's own call), the own
    // entity number (MY_DXCC), the contest (CONTEST_ID; CONTEST:).
    const std::string& StationCall() const { return stationCall_; }
    const std::optional<int>& StationDxcc() const { return stationDxcc_; }
    const std::string& Contest() const { return contest_; }
    // A Cabrillo log's header lines (cabrillo::Reader::HeaderLines); none for ADIF.
    const std::vector<std::pair<std::string, std::string>>& HeaderLines() const;

private:
    std::string path_;
    const CountryFile* countries_;
    std::unique_ptr<adif::Reader> adif_;
    std::unique_ptr<cabrillo::Reader> cabrillo_;
    std::string stationCall_, contest_;
    std::optional<int> stationDxcc_;
};

}  // namespace tools
