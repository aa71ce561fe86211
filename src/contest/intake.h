// QSO intake and removal: the contest rules applied to each QSO the host adds
// or deletes, with the bad-QSO file kept in step. Caller holds the run guard.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "contest/ole_date.h"
#include "contest/run_state.h"

namespace stats {

// The fields of a QSO as the host passes them (8-bit texts, frequency in hertz).
struct QsoInput {
    std::string_view ownCall;
    std::string_view call;
    OleDateTime qsoTime = OleDateTime::Null();
    std::uint32_t frequencyHz = 0;
    std::string_view mode;
    std::string_view rstSent;
    std::string_view rstReceived;
    std::string_view exchangeSent;
    std::string_view exchangeReceived;
    std::string_view wpxPrefix;
    std::string_view countryPrefix;
    std::string_view continent;
    std::string_view band;
};

// The bad-QSO line of a QSO with the given reason, without its line end.
std::string ReportLineFor(const QsoInput& qso, const char* reason);

// Checks band, mode and serial numbers; stores the QSO (a duplicate flagged)
// and returns 1, or rejects it and returns 0. Rejections and each earlier match
// of a duplicate get a report line in the bad-QSO file.
int AddQso(RunState& state, const QsoInput& qso);

// Removes the first stored QSO with the same call, band, mode and time, and its
// report lines. Later QSOs it duplicated lose one match each, and one of their
// dupe lines, so flags and file are as if the removed QSO had never been
// added. Returns 1.
int RemoveQso(RunState& state, const QsoInput& qso);

}  // namespace stats
