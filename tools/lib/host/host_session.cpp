#include "host_session.h"

namespace tools {

namespace {

// Texts the host always has but the plug-in never reads: name, QTH, zones, notes.
constexpr const char kUnused[] = "";

template <typename F>
bool Resolve(const SharedLibrary& library, const char* name, F& target, std::string* error) {
    target = reinterpret_cast<F>(library.Symbol(name));
    if (target == nullptr && error != nullptr) *error = std::string("the plug-in has no function ") + name;
    return target != nullptr;
}

}  // namespace

std::unique_ptr<HostSession> HostSession::Open(const std::string& pluginPath, std::string* error) {
    std::unique_ptr<HostSession> session(new HostSession);
    std::string reason;
    if (!session->library_.Open(pluginPath, &reason)) {
        if (error != nullptr) *error = pluginPath + ": cannot load the plug-in: " + reason;
        return nullptr;
    }
    PluginFunctions& f = session->f_;
    if (!Resolve(session->library_, "GetNumberOfSets", f.getNumberOfSets, error) ||
        !Resolve(session->library_, "GetSetName", f.getSetName, error) ||
        !Resolve(session->library_, "setVersion", f.setHostVersion, error) ||
        !Resolve(session->library_, "ResetStats0", f.resetStats, error) ||
        !Resolve(session->library_, "AddData0", f.addData, error) ||
        !Resolve(session->library_, "RemoveData0", f.removeData, error) ||
        !Resolve(session->library_, "CheckCall0", f.checkCall, error) ||
        !Resolve(session->library_, "GetResult0", f.getResult, error))
        return nullptr;
    return session;
}

std::unique_ptr<HostSession> HostSession::Linked(const PluginFunctions& functions) {
    std::unique_ptr<HostSession> session(new HostSession);
    session->f_ = functions;
    return session;
}

void HostSession::AskForHtml() { f_.setHostVersion("stats-host"); }

int HostSession::Reset(const HostStation& s, bool reportRequest, const std::string& iniSearchPath) {
    ownCall_ = s.call;
    HostDateTime start = s.start, end = s.end;
    return f_.resetStats(iniSearchPath.c_str(), reportRequest ? 1 : 0, s.call.c_str(), &start, &end, kUnused,
                         kUnused, kUnused, kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
                         s.countryPrefix.c_str(), 0, 0, 0, 0.0, 0.0, kUnused, s.continent.c_str(), kUnused);
}

int HostSession::Pass(decltype(&AddData0) function, const HostQso& q, unsigned number) {
    // The host's other date-times (end of QSO and the like) are the QSO's own here.
    HostDateTime time = q.time, timeOff = q.time, second = q.time, third = q.time;
    return function(ownCall_.c_str(), q.call.c_str(), &time, &timeOff, &second, &third, number, q.frequencyHz,
                    q.mode.c_str(), q.rstSent.c_str(), q.rstReceived.c_str(), q.exchangeSent.c_str(),
                    q.exchangeReceived.c_str(), kUnused, kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
                    kUnused, q.wpxPrefix.c_str(), q.countryPrefix.c_str(), 0, 0, 0, 0.0, 0.0, kUnused,
                    q.continent.c_str(), kUnused, q.band.c_str(), kUnused);
}

int HostSession::Add(const HostQso& qso, unsigned number) { return Pass(f_.addData, qso, number); }

int HostSession::Remove(const HostQso& qso, unsigned number) { return Pass(f_.removeData, qso, number); }

int HostSession::Check(const HostCheck& c) {
    char note[256] = {}, info[256] = {};  // the host's buffers; the plug-in leaves them alone
    return f_.checkCall(c.call.c_str(), 0, 0, c.mode.c_str(), kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,
                        kUnused, kUnused, c.wpxPrefix.c_str(), c.countryPrefix.c_str(), 0, 0, 0, 0.0, 0.0, kUnused,
                        c.continent.c_str(), kUnused, kUnused, kUnused, c.band.c_str(),
                        c.otherBand.empty() ? c.band.c_str() : c.otherBand.c_str(), note, info);
}

const char* HostSession::ResultPointer() {
    int out = 0;
    return f_.getResult(&out);
}

std::string HostSession::Result() {
    const char* text = ResultPointer();
    return text != nullptr ? std::string(text) : std::string();
}

const char* CheckCodeMeaning(int code) {
    switch (code) {
        case 0: return "dupe";
        case 1: return "known prefix";
        case 2: return "new prefix";
        case 4: return "not valid here";
        default: return "unknown answer";
    }
}

}  // namespace tools
