// The Cabrillo report of a report run: the header values confirmed by the
// operator, the pending QSO lines, and the writer of the Cabrillo 3.0 file.
// Used only on the host's thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contest/ole_date.h"
#include "plugin/platform.h"
#include "reports/cabrillo_fields.h"

namespace stats {

class CCabrilloReport : public CabrilloHeaderFields {
public:
    // Loads the header from the settings and presets, runs the dialog, and on
    // OK saves the values and makes the multi-line fields printable. Sets
    // `cwContest` from the settings key "CW". Returns 1 on OK, 0 on cancel.
    int PrepareHeader(const std::string& ownCall, const SettingsKeys& settings, IHeaderDialog& dialog,
                      int& cwContest);

    // Drops the QSO lines of an earlier request, so that each file holds each QSO once.
    void ClearQsoLines() { m_arrQsoLines.clear(); }

    // Appends one finished QSO line (frequency in kilohertz, mode token "CW", "PH" or "??").
    void AddQsoLine(std::string_view call, std::uint32_t freqKHz, std::string_view modeToken,
                    const OleDateTime& time, std::string_view rstSent, std::string_view exchSent,
                    std::string_view rstRcvd, std::string_view exchRcvd);

    // Writes header, QSO lines and end line to m_strFileCall + ".cbr" in the
    // current directory. Returns the text for the operator: "File produced: "
    // and the name, or "File not produced: " and the name when it could not
    // be written whole.
    std::string WriteCabrilloFile(bool cwContest, const std::string& hostVersion, std::int64_t claimedScore) const;

    // The file's text as WriteCabrilloFile writes it.
    std::string FileText(bool cwContest, const std::string& hostVersion, std::int64_t claimedScore) const;

    std::string m_strFileCall;
    std::vector<std::string> m_arrQsoLines;  // each ends in CR LF
};

// The stem of the Cabrillo file name for an own call: characters a file name
// cannot hold become "_", blanks around it go, "TKVR" when nothing is left.
std::string FileCallOf(std::string_view ownCall);

// "CW" for exactly "CW", "PH" for exactly "SSB", else "??".
const char* CabrilloModeToken(std::string_view mode);

}  // namespace stats
