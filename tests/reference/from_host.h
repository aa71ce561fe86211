// The host's records in the reference model's terms and back, for the tools and tests
// that feed the same log to the plug-in and to the model.
#pragma once

#include "host_session.h"
#include "reference_model.h"

namespace reference {

inline Qso FromHost(const tools::HostQso& h, const std::string& ownCall) {
    Qso q;
    q.ownCall = ownCall;
    q.call = h.call;
    q.time = h.time;
    q.frequencyHz = h.frequencyHz;
    q.mode = h.mode;
    q.rstSent = h.rstSent;
    q.rstReceived = h.rstReceived;
    q.exchangeSent = h.exchangeSent;
    q.exchangeReceived = h.exchangeReceived;
    q.wpxPrefix = h.wpxPrefix;
    q.countryPrefix = h.countryPrefix;
    q.continent = h.continent;
    q.band = h.band;
    return q;
}

inline Check FromHost(const tools::HostCheck& c) {
    Check r;
    r.call = c.call;
    r.mode = c.mode;
    r.wpxPrefix = c.wpxPrefix;
    r.countryPrefix = c.countryPrefix;
    r.band = c.band;
    r.otherBand = c.otherBand.empty() ? c.band : c.otherBand;
    return r;
}

// The other way: a model QSO as the host hands it over.
inline tools::HostQso ToHost(const reference::Qso& q) {
    tools::HostQso h;
    h.call = q.call;
    h.time = q.time;
    h.frequencyHz = q.frequencyHz;
    h.mode = q.mode;
    h.rstSent = q.rstSent;
    h.rstReceived = q.rstReceived;
    h.exchangeSent = q.exchangeSent;
    h.exchangeReceived = q.exchangeReceived;
    h.wpxPrefix = q.wpxPrefix;
    h.countryPrefix = q.countryPrefix;
    h.continent = q.continent;
    h.band = q.band;
    return h;
}

// The own station and contest dates of a model run, as the host passes them at the reset.
inline tools::HostStation ToHost(const reference::Run& run) {
    tools::HostStation station;
    station.call = run.ownCall;
    station.countryPrefix = run.ownCountry;
    station.continent = run.ownContinent;
    station.start = run.start;
    station.end = run.end;
    return station;
}

}  // namespace reference
