// A plain model of the contest rules, kept with the tests: the log as a list,
// the bad-QSO file as a list of lines, and every question answered by walking
// the whole log. Slow on purpose and easy to read; the engine must give the
// same result text, bad-QSO file bytes and call-check codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "contest/ole_date.h"

namespace reference {

using stats::OleDateTime;

// A QSO as the host passes it.
struct Qso {
    std::string ownCall, call;
    OleDateTime time = OleDateTime::Null();
    std::uint32_t frequencyHz = 0;
    std::string mode, rstSent, rstReceived, exchangeSent, exchangeReceived;
    std::string wpxPrefix, countryPrefix, continent, band;
};

// What a statistics run starts with.
struct Run {
    std::string ownCall, ownCountry, ownContinent;
    OleDateTime start = OleDateTime::Null(), end = OleDateTime::Null();
    bool cwContest = false;
    bool reportRequest = false;  // the report run: no rates
    std::string hostVersion = "Zelk";
};

// A call being checked; a null text is a null pointer from the host.
struct Check {
    std::optional<std::string> call, mode, wpxPrefix, countryPrefix, band, otherBand;
};

class Model {
public:
    void Reset(const Run& run);
    int Add(const Qso& qso);
    int Remove(const Qso& qso);
    int CheckCall(const Check& check) const;
    // The text summary.
    std::string Result();
    // The bad-QSO file's name and its bytes.
    std::string BadQsoFileName() const;
    std::string BadQsoFile() const;

    std::size_t LogSize() const { return log_.size(); }

private:
    struct Stored {
        Qso qso;
        bool dupe = false;
    };
    // A report line, with what a removal matches it by.
    struct Line {
        std::string text;
        bool rejection = false;
        std::string call, mode, dateTime;
    };

    static bool SameKey(const Qso& a, const Qso& b) {
        return a.call == b.call && a.band == b.band && a.mode == b.mode;
    }
    static std::string LineText(const Qso& qso, const char* reason);
    void Reject(const Qso& qso, const char* reason);

    Run run_;
    std::vector<Stored> log_;
    std::vector<Line> lines_;  // after the header
    std::vector<std::string> workedBands_;
};

}  // namespace reference
