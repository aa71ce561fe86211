// The plug-in's exported functions, with the host's exact signatures. Every
// export uses the C calling convention (the caller removes the arguments).
// Texts are NUL-terminated 8-bit strings in the host's code page; any pointer
// may be null. Returned texts belong to the plug-in and stay valid until the
// next call of the same function.
#ifndef STATS_PLUGIN_EXPORTS_H
#define STATS_PLUGIN_EXPORTS_H

#include "contest/ole_date.h"

#if defined(_WIN32)
#define STATS_CALL __cdecl
#define STATS_EXPORT
#else
#define STATS_CALL
#define STATS_EXPORT __attribute__((visibility("default")))
#endif

// The host's date-time: a 16-byte OLE automation date with its status.
typedef stats::OleDateTime HostDateTime;
typedef const char* Text;

extern "C" {

STATS_EXPORT int STATS_CALL GetNumberOfSets(void);
STATS_EXPORT const char* STATS_CALL GetSetName(int index);
STATS_EXPORT unsigned long STATS_CALL setVersion(const char* version);
STATS_EXPORT void STATS_CALL SetupSet0(void);
STATS_EXPORT int STATS_CALL GetExchgCount0(Text, Text, Text);
STATS_EXPORT int STATS_CALL IsValidExchg0(Text exchange, Text, Text, Text, int, int, int);

STATS_EXPORT int STATS_CALL ResetStats0(
    Text iniSearchPath, int reportRequest, Text ownCall, HostDateTime* startTime, HostDateTime* endTime,
    Text, Text, Text, Text, Text, Text, Text, Text, Text, Text ownCountryPrefix,
    int, int, int, double, double, Text, Text ownContinent, Text);

STATS_EXPORT int STATS_CALL AddData0(
    Text ownCall, Text call, HostDateTime* qsoTime, HostDateTime*, HostDateTime*, HostDateTime*,
    unsigned int, unsigned int frequencyHz, Text mode, Text rstSent, Text rstReceived, Text exchangeSent,
    Text exchangeReceived, Text, Text, Text, Text, Text, Text, Text, Text, Text wpxPrefix, Text countryPrefix,
    int, int, int, double, double, Text, Text continent, Text, Text band, Text);

STATS_EXPORT int STATS_CALL RemoveData0(
    Text ownCall, Text call, HostDateTime* qsoTime, HostDateTime*, HostDateTime*, HostDateTime*,
    unsigned int, unsigned int frequencyHz, Text mode, Text rstSent, Text rstReceived, Text exchangeSent,
    Text exchangeReceived, Text, Text, Text, Text, Text, Text, Text, Text, Text wpxPrefix, Text countryPrefix,
    int, int, int, double, double, Text, Text continent, Text, Text band, Text);

STATS_EXPORT int STATS_CALL CheckCall0(
    Text call, unsigned int, unsigned int, Text mode, Text, Text, Text, Text, Text, Text, Text, Text,
    Text wpxPrefix, Text countryPrefix, int, int, int, double, double, Text, Text continent, Text, Text, Text,
    Text band, Text otherBand, char*, char*);

STATS_EXPORT const char* STATS_CALL GetResult0(int* out);

}  // extern "C"

#endif
