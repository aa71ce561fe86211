#include "log_source.h"

#include "log_mapping.h"

namespace tools {

LogSource::LogSource(const std::string& path, const CountryFile* countries) : path_(path), countries_(countries) {
    if (cabrillo::LooksLikeCabrillo(path))
        cabrillo_ = std::make_unique<cabrillo::Reader>(path);
    else
        adif_ = std::make_unique<adif::Reader>(path);
}

LogSource::~LogSource() = default;

const std::vector<std::pair<std::string, std::string>>& LogSource::HeaderLines() const {
    static const std::vector<std::pair<std::string, std::string>> none;
    return cabrillo_ ? cabrillo_->HeaderLines() : none;
}

bool LogSource::Next(Entry& entry) {
    entry.qso.reset();
    entry.note.clear();
    entry.transmitter.clear();
    std::string note;
    if (adif_) {
        adif::Record record;
        if (!adif_->Next(record)) return false;
        entry.number = record.number;
        StationFields station;
        entry.qso = MapRecord(record, path_, countries_, &note, &station, &note);
        if (stationCall_.empty()) stationCall_ = station.call;
        if (!stationDxcc_) stationDxcc_ = station.dxcc;
        if (contest_.empty()) contest_ = station.contest;
        if (!note.empty())
            entry.note = path_ + ": record " + std::to_string(record.number) + (entry.qso ? ": " : " skipped: ") + note;
        return true;
    }
    std::string fields;
    std::size_t line = 0;
    if (!cabrillo_->Next(fields, line)) return false;
    entry.number = line;
    if (const auto split = cabrillo::SplitQsoLine(fields, &note)) {
        entry.transmitter = split->transmitter;
        entry.qso = MapCabrilloQso(*split, countries_, &note, &note);
        if (stationCall_.empty()) stationCall_ = cabrillo_->Callsign().empty() ? split->ownCall : cabrillo_->Callsign();
    }
    if (!cabrillo_->Callsign().empty()) stationCall_ = cabrillo_->Callsign();
    contest_ = cabrillo_->Contest();
    if (!note.empty())
        entry.note = path_ + ": line " + std::to_string(line) + (entry.qso ? ": " : " skipped: ") + note;
    return true;
}

}  // namespace tools
