// The exported functions: each unpacks the host's arguments (null-safe), calls
// the plug-in, and stops every exception here, so that nothing crosses into
// the host.
#include "plugin/exports.h"

#include "plugin/module.h"

using stats::LoadedPlugin;
using stats::Plugin;

namespace {

std::string_view Str(const char* p) { return p != nullptr ? std::string_view(p) : std::string_view(); }
stats::OleDateTime Date(const HostDateTime* p) { return p != nullptr ? *p : stats::OleDateTime::Null(); }

template <typename Result, typename Work>
Result Guarded(Result fallback, Work work) {
    try {
        if (Plugin* plugin = LoadedPlugin()) return work(*plugin);
    } catch (...) {
    }
    return fallback;
}

stats::QsoInput Qso(Text ownCall, Text call, HostDateTime* qsoTime, unsigned int frequencyHz, Text mode,
                    Text rstSent, Text rstReceived, Text exchangeSent, Text exchangeReceived, Text wpxPrefix,
                    Text countryPrefix, Text continent, Text band) {
    stats::QsoInput q;
    q.ownCall = Str(ownCall);
    q.call = Str(call);
    q.qsoTime = Date(qsoTime);
    q.frequencyHz = frequencyHz;
    q.mode = Str(mode);
    q.rstSent = Str(rstSent);
    q.rstReceived = Str(rstReceived);
    q.exchangeSent = Str(exchangeSent);
    q.exchangeReceived = Str(exchangeReceived);
    q.wpxPrefix = Str(wpxPrefix);
    q.countryPrefix = Str(countryPrefix);
    q.continent = Str(continent);
    q.band = Str(band);
    return q;
}

}  // namespace

extern "C" {

int STATS_CALL GetNumberOfSets(void) { return 1; }

const char* STATS_CALL GetSetName(int index) { return index == 0 ? stats::kSetName : ""; }

unsigned long STATS_CALL setVersion(const char*) {
    return Guarded(0ul, [](Plugin& p) { return p.SetVersion(); });
}

void STATS_CALL SetupSet0(void) {
    Guarded(0, [](Plugin& p) {
        p.SetupSet();
        return 0;
    });
}

int STATS_CALL GetExchgCount0(Text, Text, Text) { return 1; }

int STATS_CALL IsValidExchg0(Text exchange, Text, Text, Text, int, int, int) {
    return stats::IsValidExchange(exchange) ? 1 : 0;
}

int STATS_CALL ResetStats0(Text iniSearchPath, int reportRequest, Text ownCall, HostDateTime* startTime,
                           HostDateTime* endTime, Text, Text, Text, Text, Text, Text, Text, Text, Text,
                           Text ownCountryPrefix, int, int, int, double, double, Text, Text ownContinent, Text) {
    return Guarded(1, [&](Plugin& p) {
        stats::ResetInput in;
        in.iniSearchPath = Str(iniSearchPath);
        in.reportRequest = reportRequest;
        in.ownCall = Str(ownCall);
        in.startTime = Date(startTime);
        in.endTime = Date(endTime);
        in.ownCountryPrefix = Str(ownCountryPrefix);
        in.ownContinent = Str(ownContinent);
        return p.ResetStats(in);
    });
}

int STATS_CALL AddData0(Text ownCall, Text call, HostDateTime* qsoTime, HostDateTime*, HostDateTime*,
                        HostDateTime*, unsigned int, unsigned int frequencyHz, Text mode, Text rstSent,
                        Text rstReceived, Text exchangeSent, Text exchangeReceived, Text, Text, Text, Text, Text,
                        Text, Text, Text, Text wpxPrefix, Text countryPrefix, int, int, int, double, double, Text,
                        Text continent, Text, Text band, Text) {
    return Guarded(0, [&](Plugin& p) {
        return p.AddData(Qso(ownCall, call, qsoTime, frequencyHz, mode, rstSent, rstReceived, exchangeSent,
                             exchangeReceived, wpxPrefix, countryPrefix, continent, band));
    });
}

int STATS_CALL RemoveData0(Text ownCall, Text call, HostDateTime* qsoTime, HostDateTime*, HostDateTime*,
                           HostDateTime*, unsigned int, unsigned int frequencyHz, Text mode, Text rstSent,
                           Text rstReceived, Text exchangeSent, Text exchangeReceived, Text, Text, Text, Text,
                           Text, Text, Text, Text, Text wpxPrefix, Text countryPrefix, int, int, int, double,
                           double, Text, Text continent, Text, Text band, Text) {
    return Guarded(1, [&](Plugin& p) {
        return p.RemoveData(Qso(ownCall, call, qsoTime, frequencyHz, mode, rstSent, rstReceived, exchangeSent,
                                exchangeReceived, wpxPrefix, countryPrefix, continent, band));
    });
}

int STATS_CALL CheckCall0(Text call, unsigned int, unsigned int, Text mode, Text, Text, Text, Text, Text, Text,
                          Text, Text, Text wpxPrefix, Text countryPrefix, int, int, int, double, double, Text,
                          Text, Text, Text, Text, Text band, Text otherBand, char*, char*) {
    return Guarded(static_cast<int>(stats::kCheckInvalid), [&](Plugin& p) {
        stats::CallCheckInput in;
        in.call = call;
        in.mode = mode;
        in.wpxPrefix = wpxPrefix;
        in.countryPrefix = countryPrefix;
        in.band = band;
        in.otherBand = otherBand;
        return p.CheckCallFunc(in);
    });
}

const char* STATS_CALL GetResult0(int* out) {
    const char* text = Guarded(static_cast<const char*>(""), [&](Plugin& p) { return p.GetResult(out); });
    if (out != nullptr) *out = -1;
    return text;
}

}  // extern "C"
