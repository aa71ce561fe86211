// A statistics run driven the way the logging program drives it: through the
// plug-in's exported functions only, each called with its full argument list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host_platform.h"
#include "plugin/exports.h"

namespace tools {

// One QSO as the host hands it over: 8-bit texts, frequency in hertz.
struct HostQso {
    std::string call;
    stats::OleDateTime time = stats::OleDateTime::Null();
    std::uint32_t frequencyHz = 0;
    std::string mode, rstSent, rstReceived, exchangeSent, exchangeReceived;
    std::string wpxPrefix, countryPrefix, continent, band;
};

// The own station and the contest dates of a run.
struct HostStation {
    std::string call, countryPrefix, continent;
    stats::OleDateTime start = stats::OleDateTime::Null();
    stats::OleDateTime end = stats::OleDateTime::Null();
};

// A call being entered, as the host checks it.
struct HostCheck {
    std::string call, band, mode, wpxPrefix, countryPrefix, continent;
    std::string otherBand;  // the radio's band; the host gives the entry's band
};

// The exported functions of a loaded plug-in.
struct PluginFunctions {
    decltype(&GetNumberOfSets) getNumberOfSets = nullptr;
    decltype(&GetSetName) getSetName = nullptr;
    decltype(&::setVersion) setHostVersion = nullptr;
    decltype(&ResetStats0) resetStats = nullptr;
    decltype(&AddData0) addData = nullptr;
    decltype(&RemoveData0) removeData = nullptr;
    decltype(&CheckCall0) checkCall = nullptr;
    decltype(&GetResult0) getResult = nullptr;
};

class HostSession {
public:
    // Loads the plug-in; nothing, with the reason in `error`, when it cannot be
    // loaded or lacks one of the functions.
    static std::unique_ptr<HostSession> Open(const std::string& pluginPath, std::string* error);
    // A session over functions linked into the program itself (the fuzz targets).
    static std::unique_ptr<HostSession> Linked(const PluginFunctions& functions);

    // Switches the plug-in's results to HTML, as a host that can show a page does.
    void AskForHtml();
    // Starts a statistics run. `iniSearchPath` is the host's folder with its
    // trailing separator ("" for the current directory).
    int Reset(const HostStation& station, bool reportRequest, const std::string& iniSearchPath = "");
    // `number` is the QSO's number in the host's log.
    int Add(const HostQso& qso, unsigned number = 0);
    int Remove(const HostQso& qso, unsigned number = 0);
    int Check(const HostCheck& check);
    // The result text (or page), copied.
    std::string Result();
    const char* ResultPointer();

    const PluginFunctions& Functions() const { return f_; }

private:
    HostSession() = default;
    int Pass(decltype(&AddData0) function, const HostQso& qso, unsigned number);

    SharedLibrary library_;
    PluginFunctions f_;
    std::string ownCall_;
};

// Checks answered by the plug-in, in words.
const char* CheckCodeMeaning(int code);

}  // namespace tools
