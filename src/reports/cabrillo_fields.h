// The Cabrillo header values the operator confirms in the header dialog: one
// text per dialog control, 8-bit in the host's code page.
#pragma once

#include <string>

namespace stats {

struct CabrilloHeaderFields {
    std::string m_strCallsign;
    std::string m_strClaimed;
    std::string m_strClub;
    std::string m_strCategoryOperator;
    std::string m_strContest;
    std::string m_strEmail;
    std::string m_strName;
    std::string m_strOperators;
    std::string m_strSoapbox;
    std::string m_strAddress;
    std::string m_strCategoryAssisted;
    std::string m_strCategoryBand;
    std::string m_strCategoryMode;
    std::string m_strCategoryPower;
    std::string m_strCategoryTransmitter;
    std::string m_strAddressCity;
    std::string m_strAddressCountry;
    std::string m_strCategoryStation;
    std::string m_strAddressPostalCode;
    std::string m_strAddressState;
    std::string m_strCategoryOverlay;
    std::string m_strLocation;
};

}  // namespace stats
