#include "reports/cabrillo_report.h"

#include <algorithm>
#include <cctype>

#include "contest/contest_name.h"
#include "contest/file_util.h"
#include "contest/text_util.h"
#include "reports/scoreboard_document.h"

namespace stats {

namespace {

// Line-break tokens of the soapbox in the settings file, and of the address as typed.
constexpr const char kCr[] = "<CR>";
constexpr const char kLf[] = "<LF>";

bool IsReservedDeviceName(const std::string& stem) {
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3", "COM4", "COM5",
                                           "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5",
                                           "LPT6", "LPT7", "LPT8", "LPT9"};
    return std::any_of(std::begin(kDevices), std::end(kDevices), [&](const char* d) { return EqualsNoCase(stem, d); });
}

}  // namespace

std::string FileCallOf(std::string_view ownCall) {
    std::string stem(ownCall);
    std::replace(stem.begin(), stem.end(), '/', '_');
    std::replace(stem.begin(), stem.end(), '\\', '_');
    stem = std::string(TrimBlanks(stem));
    // Nothing the file system would read as a folder, a drive, a stream or a wildcard.
    for (char& c : stem) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) c = '_';
    }
    if (stem.empty()) return "TKVR";
    // The system takes the part before the first dot, without the blanks that
    // end it, for the device ("CON.K1" is the console too); a "_" right behind
    // that part makes the name a file's.
    const std::size_t dot = std::min(stem.find('.'), stem.size());
    std::size_t end = dot;
    while (end > 0 && stem[end - 1] == ' ') --end;
    if (IsReservedDeviceName(stem.substr(0, end))) stem.insert(dot, "_");
    return stem;
}

const char* CabrilloModeToken(std::string_view mode) {
    if (mode == "CW") return "CW";
    if (mode == "SSB") return "PH";
    return "??";
}

int CCabrilloReport::PrepareHeader(const std::string& ownCall, const SettingsKeys& settings, IHeaderDialog& dialog,
                                   int& cwContest) {
    m_strCallsign = ownCall;
    m_strFileCall = FileCallOf(ownCall);

    m_strOperators = settings.read("Operators", m_strCallsign);  // an empty stored value stays empty
    m_strName = settings.read("Name", "");
    m_strAddress = settings.read("Address", "");
    m_strAddressCity = settings.read("Address-City", "");
    m_strAddressState = settings.read("Address-State", "");
    m_strAddressPostalCode = settings.read("Address-PostalCode", "");
    m_strAddressCountry = settings.read("Address-Country", "");
    m_strClaimed = settings.read("Claimed", "");

    cwContest = ParseDecimal(settings.read("CW", ""));
    m_strContest = std::string(ContestName(cwContest)) + " ";
    m_strCategoryMode = cwContest ? "CW" : "SSB";

    m_strCategoryOperator = "SINGLE-OP";
    m_strCategoryBand = "ALL";
    m_strCategoryPower = "HIGH";
    m_strCategoryTransmitter = "ONE";
    m_strCategoryStation = "FIXED";
    m_strCategoryAssisted = "NON-ASSISTED";
    m_strLocation = "DX";
    // The overlay is kept from the last accepted dialog of this process.

    m_strEmail = settings.read("Email", "");
    m_strClub = settings.read("Club", "");
    m_strSoapbox = ReplaceAll(ReplaceAll(settings.read("SoapBox", ""), kCr, "\r"), kLf, "\n");

    CabrilloHeaderFields edited = *this;
    if (!dialog.Run(edited)) return 0;
    static_cast<CabrilloHeaderFields&>(*this) = edited;  // the file name keeps the host's call

    m_strSoapbox = ReplaceAll(ReplaceAll(m_strSoapbox, "\r", kCr), "\n", kLf);
    settings.write("Operators", m_strOperators);
    settings.write("Name", m_strName);
    settings.write("Address", m_strAddress);
    settings.write("Address-City", m_strAddressCity);
    settings.write("Address-State", m_strAddressState);
    settings.write("Address-PostalCode", m_strAddressPostalCode);
    settings.write("Address-Country", m_strAddressCountry);
    settings.write("Contest", m_strContest);
    settings.write("Email", m_strEmail);
    settings.write("Club", m_strClub);
    settings.write("Location", m_strLocation);
    settings.write("SoapBox", m_strSoapbox);
    // Not read back into the dialog, whose presets stay as they are: the
    // scoreboard document reports the class the operator last confirmed.
    settings.write(scoreboard_keys::kOperator, m_strCategoryOperator);
    settings.write(scoreboard_keys::kAssisted, m_strCategoryAssisted);
    settings.write(scoreboard_keys::kBand, m_strCategoryBand);
    settings.write(scoreboard_keys::kPower, m_strCategoryPower);
    settings.write(scoreboard_keys::kTransmitter, m_strCategoryTransmitter);
    settings.write(scoreboard_keys::kOverlay, m_strCategoryOverlay);

    // Each line of a multi-line field becomes a header line of its own.
    m_strSoapbox = ReplaceAll(ReplaceAll(m_strSoapbox, kCr, "\r\nSOAPBOX: "), kLf, "");
    m_strAddress = ReplaceAll(ReplaceAll(m_strAddress, kCr, "\r\nADDRESS: "), kLf, "");
    m_arrQsoLines.clear();
    return 1;
}

void CCabrilloReport::AddQsoLine(std::string_view call, std::uint32_t freqKHz, std::string_view modeToken,
                                 const OleDateTime& time, std::string_view rstSent, std::string_view exchSent,
                                 std::string_view rstRcvd, std::string_view exchRcvd) {
    const std::string dateTime = FormatOleDate(time, "%Y-%m-%d %H%M");
    const std::string c(call), m(modeToken), rs(rstSent), es(exchSent), rr(rstRcvd), er(exchRcvd);
    std::string line = Format("QSO: %5u %2s %s %-13s %-3s %-6s %-13s %-3s %s\r\n", freqKHz, m.c_str(),
                              dateTime.c_str(), m_strCallsign.c_str(), rs.c_str(), es.c_str(), c.c_str(),
                              rr.c_str(), er.c_str());
    // A line break in a host text would split the QSO over two lines, the
    // second of which no log reader takes for a QSO.
    std::replace_if(line.begin(), line.end() - 2, IsLineBreak, ' ');
    m_arrQsoLines.push_back(std::move(line));
}

std::string CCabrilloReport::FileText(bool cwContest, const std::string& hostVersion,
                                      std::int64_t claimedScore) const {
    std::string text = "START-OF-LOG: 3.0\r\n";
    auto line = [&](const char* label, const std::string& value) {
        text += label;
        text += value;
        text += "\r\n";
    };
    // The own call comes from the host and, as the default operator list, from
    // the settings: a line break in it would start a header line of its own.
    line("CALLSIGN: ", OnOneLine(m_strCallsign));
    text += std::string("CONTEST: ") + ContestName(cwContest) + "\r\n";
    line("CATEGORY-OPERATOR: ", m_strCategoryOperator);
    line("CATEGORY-ASSISTED: ", m_strCategoryAssisted);
    line("CATEGORY-BAND: ", m_strCategoryBand);
    line("CATEGORY-MODE: ", m_strCategoryMode);
    line("CATEGORY-POWER: ", m_strCategoryPower);
    text += "CATEGORY-STATION: FIXED \r\n";
    line("CATEGORY-TRANSMITTER: ", m_strCategoryTransmitter);
    line("CATEGORY-OVERLAY: ", m_strCategoryOverlay);
    line("CLAIMED-SCORE: ", std::to_string(claimedScore));
    line("CLUB: ", m_strClub);
    line("LOCATION: ", m_strLocation);
    line("CREATED-BY: Zelk ", hostVersion);
    line("NAME: ", m_strName);
    line("ADDRESS: ", m_strAddress);
    line("ADDRESS-CITY: ", m_strAddressCity);
    line("ADDRESS-STATE: ", m_strAddressState);
    line("ADDRESS-POSTALCODE: ", m_strAddressPostalCode);
    line("ADDRESS-COUNTRY: ", m_strAddressCountry);
    line("OPERATORS: ", OnOneLine(m_strOperators));
    line("EMAIL: ", m_strEmail);
    line("SOAPBOX: ", m_strSoapbox);
    for (const std::string& qso : m_arrQsoLines) text += qso;
    text += "END-OF-LOG:\r\n";
    return text;
}

std::string CCabrilloReport::WriteCabrilloFile(bool cwContest, const std::string& hostVersion,
                                               std::int64_t claimedScore) const {
    const std::string name = m_strFileCall + ".cbr";
    const bool written = ReplaceFileContent(name, FileText(cwContest, hostVersion, claimedScore));
    return (written ? "File produced: " : "File not produced: ") + name;
}

}  // namespace stats
