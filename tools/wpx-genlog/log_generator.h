// A seeded generator of realistic WPX contest logs: real contest calls, their
// countries and continents from the country file, six bands chosen by time of
// day, a rate that rises and falls over the 48 hours with off-times, and the
// operator's slips: a few dupes, wrong modes, missing serials and QSOs on a
// band outside the contest. The same seed and inputs give the same log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "country_file.h"

namespace tools {

struct GeneratorOptions {
    std::uint64_t seed = 1;
    bool cw = true;
    std::size_t qsos = 3000;
    std::string ownCall;        // default: DL5CW for CW, K3SB for SSB
    int year = 0, month = 0, day = 0;  // contest start, 00:00 UTC; default: the 2023 contest weekend
    double dupeRate = 0.006;           // share of QSOs logged again on the same band and mode
    double wrongModeRate = 0.003;      // logged in a mode the contest does not have
    double missingSerialRate = 0.003;  // no serial received
    double offBandRate = 0.0015;       // chance per QSO to start a short stay on a band outside the contest
    bool writePrefix = true;           // PFX in every record; without it the host works the prefix out
};

struct GeneratedQso {
    std::string call;
    double time = 0.0;  // host date (days since 30 December 1899), whole seconds
    std::uint64_t frequencyHz = 0;
    std::string band, mode, rstSent, rstReceived;
    unsigned serialSent = 0;
    unsigned serialReceived = 0;  // 0: missing
    std::string prefix;
    const CountryEntity* country = nullptr;
    std::string continent;
};

struct GeneratedLog {
    GeneratorOptions options;
    const CountryEntity* ownCountry = nullptr;
    double start = 0.0, end = 0.0;  // host dates of the contest period
    std::vector<GeneratedQso> qsos;
};

// The calls of a MASTER.SCP file (comment lines and blanks dropped).
std::vector<std::string> ReadCallList(const std::string& path);

// Throws std::invalid_argument when the call list or the country file cannot serve.
GeneratedLog GenerateLog(const GeneratorOptions& options, const std::vector<std::string>& calls,
                         const CountryFile& countries);

// The log as an ADIF file.
std::string ToAdif(const GeneratedLog& log);

}  // namespace tools
