// Every file operation of a statistics run and of a report run made to fail in
// turn: open, read, write (half written), flush, close and the replacing move,
// of the settings file, the bad-QSO file and the Cabrillo file alike.
//
// A run without faults is recorded first: what each exported function
// returned, the message boxes, and every file after each call. Then the same
// calls run once per operation, with that one operation failing:
//   - the host gets the same return values, and no file is ever left half
//     written or with a temporary beside it;
//   - a failed write loses nothing: it is tried again or written another way
//     within the same call or at the next one, so every result, message and
//     file equals the run without faults (after each call but an addition,
//     whose lines may wait for the next call);
//   - a failed read makes its step read nothing, as documented (an unreadable
//     setting reads as empty, an unreadable bad-QSO file counts no lines and
//     is left alone by a removal), so only the two points above are checked.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "contest/file_util.h"
#include "host_session.h"
#include "plugin/module.h"
#include "plugin/platform_portable.h"

namespace {

namespace fs = std::filesystem;
using stats::FileOperations;

// --- The injection: every primitive step counted, one of them failing. ---

FileOperations g_real;
int g_step = 0;
int g_failAt = -1;  // no fault
std::vector<std::string> g_steps;  // what each step was, in the run without faults
std::map<std::FILE*, std::string> g_openFiles;  // the file and mode of each open one
bool g_readFailed = false;

bool Failing(const std::string& what) {
    if (g_failAt < 0) g_steps.push_back(what);
    return g_step++ == g_failAt;
}

std::string Name(std::FILE* f) { return g_openFiles.count(f) ? g_openFiles[f] : "?"; }

std::FILE* Open(const char* path, const char* mode) {
    const std::string what = std::string("open ") + path + " " + mode;
    if (Failing(what)) {
        if (mode[0] == 'r') g_readFailed = true;
        errno = EIO;
        return nullptr;
    }
    std::FILE* f = g_real.open(path, mode);
    if (f != nullptr) g_openFiles[f] = std::string(path) + " " + mode;
    return f;
}

std::int64_t Read(std::FILE* f, char* buffer, std::size_t size) {
    if (Failing("read " + Name(f))) {
        g_readFailed = true;
        return -1;
    }
    return g_real.read(f, buffer, size);
}

bool Write(std::FILE* f, const char* data, std::size_t size) {
    if (Failing("write " + Name(f))) {
        g_real.write(f, data, size / 2);  // a disk that fills up part way
        return false;
    }
    return g_real.write(f, data, size);
}

bool Flush(std::FILE* f) { return !Failing("flush " + Name(f)) && g_real.flush(f); }

bool Close(std::FILE* f) {
    const std::string what = "close " + Name(f);
    g_openFiles.erase(f);
    const bool failing = Failing(what);
    return g_real.close(f) && !failing;  // closed all the same
}

bool Move(const std::string& from, const std::string& to) { return !Failing("move " + from + " " + to) && g_real.moveReplacing(from, to); }

// --- A host of the portable build whose message boxes are kept. ---

class KeptMessages final : public stats::IMessageBox {
public:
    void Show(const std::string& text, const char*, bool) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

stats::PortableSettingsFile g_settings;
stats::PortableFileSearch g_search;
KeptMessages g_messages;
stats::AcceptedHeaderDialog g_header;
stats::NoWindowThread g_windows;

// --- The runs. ---

struct Trace {
    std::vector<std::string> returns;   // every call's result
    std::vector<std::string> outputs;   // results, messages and files after every call but an addition
    std::vector<std::map<std::string, std::string>> files;  // after every call
};

std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::FILE* f = std::fopen(entry.path().c_str(), "rb");
        std::string content;
        char buffer[4096];
        for (std::size_t n; f != nullptr && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) content.append(buffer, n);
        if (f != nullptr) std::fclose(f);
        files[fs::relative(entry.path(), folder).string()] = content;
    }
    return files;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

tools::HostQso Qso(const char* call, const char* band, const char* mode, const char* serial, int minute) {
    tools::HostQso q;
    q.call = call;
    q.band = band;
    q.mode = mode;
    q.time = stats::OleDateTime::Valid(44345.0 + minute / 1440.0);  // 29 May 2021
    q.frequencyHz = 14025000;
    q.rstSent = q.rstReceived = "599";
    q.exchangeSent = "001";
    q.exchangeReceived = serial;
    q.wpxPrefix = std::string(call).substr(0, 3);
    q.countryPrefix = "DL";
    q.continent = "EU";
    return q;
}

Trace Run(const fs::path& folder, tools::HostSession& host) {
    fs::remove_all(folder);
    fs::create_directories(folder / "Plugins");
    fs::current_path(folder);
    // What an earlier contest left: the settings with the operator's header
    // fields, and a bad-QSO file of the same name.
    WriteFile("Plugins/CQ-WPX-CW-SSB.ini",
              "[Settings]\r\nStart=1\r\nCW=1\r\nClaimed=7\r\nCATEGORY-OPERATOR=SINGLE-OP\r\nOPERATORS=UA3ABC\r\n");
    WriteFile("BadQSO_StatsWPXCW_30_05_2021.txt", "CQ-WPX-CW TEST UBN file \r\nQSO:  old line   DUPE !!!\r\n");
    g_messages.shown.clear();

    Trace trace;
    auto after = [&](const std::string& call, const std::string& result, bool addition) {
        trace.returns.push_back(call + " -> " + result);
        trace.files.push_back(Files(folder));
        if (addition) return;
        std::string all = call + " -> " + result + "\n";
        for (const std::string& message : g_messages.shown) all += "message: " + message + "\n";
        for (const auto& [name, content] : trace.files.back()) all += "file " + name + ":\n" + content;
        trace.outputs.push_back(all);
    };
    auto add = [&](const tools::HostQso& q) { after("add " + q.call, std::to_string(host.Add(q)), true); };
    auto remove = [&](const tools::HostQso& q) { after("remove " + q.call, std::to_string(host.Remove(q)), false); };
    auto check = [&](const char* call) {
        tools::HostCheck c;
        c.call = call;
        c.band = "20m";
        c.mode = "CW";
        c.wpxPrefix = "DL1";
        c.countryPrefix = "DL";
        after(std::string("check ") + call, std::to_string(host.Check(c)), false);
    };
    auto result = [&] { after("result", host.Result(), false); };

    tools::HostStation station;
    station.call = "UA3ABC";
    station.countryPrefix = "UA";
    station.continent = "EU";
    station.start = stats::OleDateTime::Valid(44345.0);
    station.end = stats::OleDateTime::Valid(44346.0);
    for (const bool report : {false, true}) {
        after(report ? "report reset" : "reset", std::to_string(host.Reset(station, report)), false);
        const tools::HostQso wrongBand = Qso("DL1AAA", "30m", "CW", "015", 1), dupe = Qso("K1ABC", "20m", "CW", "3", 9);
        for (const tools::HostQso& q :
             {Qso("K1ABC", "20m", "CW", "1", 2), wrongBand, Qso("JA1XYZ", "40m", "RTTY", "9", 3),
              Qso("G4XYZ", "15m", "CW", "", 4), Qso("K1ABC", "20m", "CW", "2", 5), Qso("DL2BBB", "80m", "CW", "22", 6), dupe})
            add(q);
        check("K1ABC");
        remove(dupe);
        remove(wrongBand);
        add(Qso("W1AW", "10m", "SSB", "12", 10));
        add(Qso("W1AW", "10m", "SSB", "13", 11));
        result();
        result();
    }
    return trace;
}

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A file that is whole: no temporary left, and every file ends with a line
// end (a settings file, a bad-QSO file) or is a Cabrillo log to its end.
std::string WholenessFault(const std::map<std::string, std::string>& files, bool afterAddition) {
    for (const auto& [name, content] : files) {
        if (EndsWith(name, ".tmp")) return name + " is left behind";
        if (content.empty() || afterAddition) continue;  // an addition's lines may be on their way
        if (name.rfind("BadQSO_", 0) == 0 || EndsWith(name, ".ini")) {
            if (!EndsWith(content, "\r\n")) return name + " ends inside a line";
        } else if (EndsWith(name, ".cbr") || EndsWith(name, ".log")) {
            if (content.rfind("START-OF-LOG:", 0) != 0 || !EndsWith(content, "END-OF-LOG:\r\n"))
                return name + " is not a whole log";
        }
    }
    return {};
}

}  // namespace

int main() {
    const fs::path base = fs::temp_directory_path() / ("stats-file-faults-" + std::to_string(::getpid()));
    g_real = stats::FileOperationsInUse();
    stats::FileOperationsInUse() = FileOperations{Open, Read, Write, Flush, Close, Move};
    stats::ModuleLoad(stats::Platform{&g_settings, &g_search, &g_messages, &g_header, &g_windows});
    tools::PluginFunctions f{GetNumberOfSets, GetSetName, setVersion, ResetStats0, AddData0, RemoveData0, CheckCall0, GetResult0};
    const auto host = tools::HostSession::Linked(f);

    const Trace expected = Run(base, *host);
    const std::vector<std::string> steps = g_steps;
    int failures = 0, writes = 0;
    for (int at = 0; at < static_cast<int>(steps.size()); ++at) {
        g_step = 0;
        g_failAt = at;
        g_readFailed = false;
        const Trace got = Run(base, *host);
        const bool readFault = g_readFailed;
        writes += readFault ? 0 : 1;
        std::string fault;
        if (got.returns.size() != expected.returns.size()) fault = "a different number of calls";
        for (std::size_t i = 0; fault.empty() && i < got.returns.size(); ++i) {
            if (got.returns[i].rfind("result", 0) != 0 && got.returns[i] != expected.returns[i])
                fault = "call " + std::to_string(i) + " returned \"" + got.returns[i] + "\", not \"" + expected.returns[i] + "\"";
            else
                fault = WholenessFault(got.files[i], got.returns[i].rfind("add", 0) == 0);
        }
        for (std::size_t i = 0; fault.empty() && !readFault && i < got.outputs.size(); ++i)
            if (got.outputs[i] != expected.outputs[i])
                fault = "after a failed write, it differs from the run without faults:\n" + got.outputs[i] +
                        "\n--- instead of ---\n" + expected.outputs[i];
        if (!fault.empty()) {
            ++failures;
            std::cout << "FAILED with step " << at << " failing (" << steps[at] << "): " << fault << "\n";
        }
    }
    g_failAt = -1;
    stats::ModuleUnload();
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(base);
    std::cout << steps.size() << " file operations failed in turn (" << writes << " of them writing), "
              << failures << " of them mishandled\n";
    return failures == 0 && !steps.empty() ? 0 : 1;
}
