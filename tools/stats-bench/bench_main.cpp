// stats-bench: times the engine through the plug-in's exports (libStats.so,
// or Stats.dll in the Windows builds, under wine here) against the reference
// model of the rules, on generated logs of 10,000 and 100,000 QSOs.
//
// For each size: a full replay (ResetStats0, every AddData0, GetResult0), the
// result request alone, call checks against the full log, removals, and the
// peak memory of a process that only drives the plug-in; then the same work
// through the reference model, with the result texts, bad-QSO files and check
// codes compared byte for byte. Times are medians of several runs.
//
// Two logs of each size: one with the generator's usual slips, and one with
// the share of dupes and rejected QSOs of a carelessly kept real log (2% and
// 1%), whose report lines the plug-in must write without slowing down.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "adif.h"
#include "contest/live_figures.h"
#include "plugin/platform_portable.h"
#include "plugin/plugin.h"
#include "reports/scoreboard_document.h"
#include "ui/contest_view.h"
#include "host_platform.h"
#include "host_session.h"
#include "log_generator.h"
#include "log_mapping.h"
#include "from_host.h"
#include "reference_model.h"
#include "settings_key.h"
#include "wpx_prefix.h"

namespace fs = std::filesystem;
using namespace tools;
using Clock = std::chrono::steady_clock;

namespace {

constexpr const char kUsage[] =
    "usage: stats-bench [options]\n"
    "  --sizes N,N,...   log sizes in QSOs (default 10000,100000)\n"
    "  --runs N          engine runs per figure, the median is shown (default 5)\n"
    "  --ref-runs N      reference-model runs per figure (default 5)\n"
    "  --checks N        call checks per run (default 100000; the reference makes 1/100 of them)\n"
    "  --removals N      removals per run (default 200)\n"
    "  --logs L,L        which logs: usual (the generator's slips), slips (2% dupes, 1% rejected); default both\n"
    "  --plugin PATH     the plug-in (default: the build's, beside the program's folder)\n"
    "  --calls PATH      MASTER.SCP, --cty PATH cty.csv (default: /usr/share/hamradio-files)\n"
    "  --work DIR        scratch directory (default: a new one under the system's temp folder)\n";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2.0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A log as the host would pass it, read back from the generator's ADIF.
struct BenchLog {
    std::string adifPath;
    HostStation station;
    std::vector<HostQso> qsos;
    std::vector<HostCheck> checks;
    std::vector<std::size_t> removals;  // indexes into qsos, in removal order
};

BenchLog MakeLog(std::size_t size, bool slips, const std::vector<std::string>& calls, const CountryFile& countries,
                 const std::string& work, std::size_t checkCount, std::size_t removalCount) {
    GeneratorOptions o;
    o.seed = 20230527 + size;
    o.qsos = size;
    o.cw = true;
    if (slips) {
        // Off-band stays last one to three QSOs: with the other two, 1% rejected.
        o.dupeRate = 0.02;
        o.wrongModeRate = 0.0035;
        o.missingSerialRate = 0.0035;
        o.offBandRate = 0.0015;
    }
    const GeneratedLog generated = GenerateLog(o, calls, countries);
    BenchLog log;
    log.adifPath = work + "/bench-" + std::to_string(size) + (slips ? "-slips" : "") + ".adi";
    {
        std::ofstream out(log.adifPath, std::ios::binary);
        out << ToAdif(generated);
    }
    adif::Reader reader(log.adifPath);
    for (adif::Record r; reader.Next(r);)
        if (auto q = MapRecord(r, log.adifPath, &countries, nullptr)) log.qsos.push_back(std::move(*q));
    log.station.call = generated.options.ownCall;
    log.station.countryPrefix = generated.ownCountry->prefix;
    log.station.continent = generated.ownCountry->continent;
    log.station.start = stats::OleDateTime::Valid(generated.start);
    log.station.end = stats::OleDateTime::Valid(generated.end);

    // Checks: half of them calls in the log (dupes, mostly), half any active call.
    std::uint64_t x = size;
    auto next = [&x]() {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        return x >> 33;
    };
    const char* bands[] = {"160m", "80m", "40m", "20m", "15m", "10m"};
    for (std::size_t i = 0; i < checkCount; ++i) {
        HostCheck c;
        if (i % 2 == 0) {
            const HostQso& q = log.qsos[next() % log.qsos.size()];
            c.call = q.call;
            c.band = q.band;
        } else {
            c.call = calls[next() % calls.size()];
            c.band = bands[next() % 6];
        }
        c.mode = "CW";
        c.wpxPrefix = WpxPrefix(c.call);
        const auto where = countries.ByCall(c.call);
        c.countryPrefix = where ? where->entity->prefix : c.wpxPrefix;
        c.continent = where ? where->continent : "";
        log.checks.push_back(std::move(c));
    }
    std::vector<std::size_t> all(log.qsos.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    for (std::size_t i = 0; i < removalCount && i < all.size(); ++i) {
        std::swap(all[i], all[i + next() % (all.size() - i)]);
        log.removals.push_back(all[i]);
    }
    return log;
}

struct Figures {
    double replay = 0, perAdd = 0, result = 0, perCheck = 0, perRemoval = 0, maxRemoval = 0;
    // The slowest single call of each kind over all runs.
    double worstAdd = 0, worstResult = 0, worstCheck = 0;
    // Removals that rewrote the bad-QSO file, over all runs.
    int rewrites = 0;
    double rewriteTotal = 0, worstRewrite = 0;
    // Result requests right after a QSO that changed the score, which write
    // the claimed score to the settings file: their median and the slowest.
    double claimed = 0, worstClaimed = 0;
};

struct EngineOutputs {
    std::string result, badFile, resultAfterRemovals, badFileAfterRemovals;
    std::vector<int> codes;
};

void StartRun(HostSession& s, const BenchLog& log) {
    WriteSettingsKey("Plugins/CQ-WPX-CW-SSB.ini", "Settings", "CW", "1");
    WriteSettingsKey("Plugins/CQ-WPX-CW-SSB.ini", "Settings", "Start", "1");
    s.Reset(log.station, false);
}

std::string BadFileName(const BenchLog& log) {
    reference::Run run;
    run.cwContest = true;
    run.end = log.station.end;
    reference::Model m;
    m.Reset(run);
    return m.BadQsoFileName();
}

// Result requests timed one by one after each replay: the host asks after
// every QSO, so each is a call in the operator's path.
constexpr int kResultRequests = 30;

Figures TimeEngine(HostSession& s, const BenchLog& log, int runs, EngineOutputs& out) {
    std::vector<double> replay, perAdd, result, perCheck, perRemoval, maxRemoval, claimed;
    Figures f;
    const std::string badFile = BadFileName(log);
    // Each call is timed on its own, for the slowest one; the means are their
    // sums over the calls, so they hold the clock's own cost once per call.
    auto timed = [](auto call) {
        const auto t0 = Clock::now();
        call();
        return Seconds(Clock::now() - t0);
    };
    for (int run = 0; run < runs; ++run) {
        const auto t0 = Clock::now();
        StartRun(s, log);
        unsigned number = 0;
        double adds = 0;
        for (const HostQso& q : log.qsos) {
            const double each = timed([&] { s.Add(q, ++number); });
            adds += each;
            f.worstAdd = std::max(f.worstAdd, each);
        }
        const char* text = nullptr;
        std::vector<double> results;
        results.push_back(timed([&] { text = s.ResultPointer(); }));
        const auto t2 = Clock::now();
        replay.push_back(Seconds(t2 - t0));
        perAdd.push_back(adds / static_cast<double>(log.qsos.size()));
        if (run == 0) {
            out.result = text;
            out.badFile = ReadFile(badFile);
        }

        for (int i = 1; i < kResultRequests; ++i) results.push_back(timed([&] { s.ResultPointer(); }));
        result.push_back(Median(results));
        f.worstResult = std::max(f.worstResult, *std::max_element(results.begin(), results.end()));

        std::vector<int> codes(log.checks.size());
        double checks = 0;
        for (std::size_t i = 0; i < log.checks.size(); ++i) {
            const double each = timed([&] { codes[i] = s.Check(log.checks[i]); });
            checks += each;
            f.worstCheck = std::max(f.worstCheck, each);
        }
        perCheck.push_back(checks / static_cast<double>(std::max<std::size_t>(1, log.checks.size())));
        if (run == 0) out.codes = codes;

        std::vector<double> each;
        for (std::size_t i : log.removals) {
            // A removal that takes a line out of the bad-QSO file rewrites it
            // whole: the one part of a call whose time grows with the log.
            std::error_code ec;
            const auto before = fs::file_size(badFile, ec);
            each.push_back(timed([&] { s.Remove(log.qsos[i]); }));
            if (fs::file_size(badFile, ec) != before) {
                f.rewrites += 1;
                f.rewriteTotal += each.back();
                f.worstRewrite = std::max(f.worstRewrite, each.back());
            }
        }
        if (!each.empty()) {
            double sum = 0;
            for (double e : each) sum += e;
            perRemoval.push_back(sum / static_cast<double>(each.size()));
            maxRemoval.push_back(*std::max_element(each.begin(), each.end()));
        }
        if (run == 0) {
            out.resultAfterRemovals = s.Result();
            out.badFileAfterRemovals = ReadFile(badFile);
        }
        // In live operation nearly every result request follows a QSO that
        // changed the score. The removed QSOs come back one by one, each
        // followed by a request (after the outputs are taken: the log changes).
        for (std::size_t i : log.removals) {
            s.Add(log.qsos[i], ++number);
            claimed.push_back(timed([&] { s.ResultPointer(); }));
            f.worstClaimed = std::max(f.worstClaimed, claimed.back());
        }
    }
    f.replay = Median(replay);
    f.perAdd = Median(perAdd);
    f.result = Median(result);
    f.perCheck = Median(perCheck);
    f.perRemoval = Median(perRemoval);
    f.claimed = claimed.empty() ? 0.0 : Median(claimed);
    f.maxRemoval = maxRemoval.empty() ? 0.0 : *std::max_element(maxRemoval.begin(), maxRemoval.end());
    return f;
}

Figures TimeReference(const BenchLog& log, int runs, std::size_t checkShare, const EngineOutputs& engine,
                      std::vector<std::string>& differences) {
    reference::Run run;
    run.ownCall = log.station.call;
    run.ownCountry = log.station.countryPrefix;
    run.ownContinent = log.station.continent;
    run.start = log.station.start;
    run.end = log.station.end;
    run.cwContest = true;
    std::vector<reference::Qso> qsos;
    qsos.reserve(log.qsos.size());
    for (const HostQso& q : log.qsos) qsos.push_back(reference::FromHost(q, run.ownCall));

    std::vector<double> replay, perAdd, result, perCheck, perRemoval;
    for (int r = 0; r < runs; ++r) {
        reference::Model m;
        const auto t0 = Clock::now();
        m.Reset(run);
        for (const reference::Qso& q : qsos) m.Add(q);
        const auto t1 = Clock::now();
        const std::string text = m.Result();
        const auto t2 = Clock::now();
        replay.push_back(Seconds(t2 - t0));
        perAdd.push_back(Seconds(t1 - t0) / static_cast<double>(qsos.size()));
        const auto r0 = Clock::now();
        m.Result();
        result.push_back(Seconds(Clock::now() - r0));

        // The reference walks the log for every check: a share of them is enough to time it.
        std::vector<std::size_t> sample;
        for (std::size_t i = 0; i < log.checks.size(); i += checkShare) sample.push_back(i);
        std::vector<int> codes;
        const auto c0 = Clock::now();
        for (std::size_t i : sample) codes.push_back(m.CheckCall(reference::FromHost(log.checks[i])));
        perCheck.push_back(Seconds(Clock::now() - c0) / static_cast<double>(std::max<std::size_t>(1, sample.size())));

        const auto d0 = Clock::now();
        for (std::size_t i : log.removals) m.Remove(qsos[i]);
        perRemoval.push_back(Seconds(Clock::now() - d0) / static_cast<double>(std::max<std::size_t>(1, log.removals.size())));

        if (r == 0) {
            reference::Model fresh;
            fresh.Reset(run);
            for (const reference::Qso& q : qsos) fresh.Add(q);
            if (fresh.Result() != engine.result) differences.push_back("result text");
            if (fresh.BadQsoFile() != engine.badFile) differences.push_back("bad-QSO file");
            for (std::size_t k = 0; k < sample.size(); ++k)
                if (codes[k] != engine.codes[sample[k]]) {
                    differences.push_back("check code of " + log.checks[sample[k]].call);
                    break;
                }
            if (m.Result() != engine.resultAfterRemovals) differences.push_back("result text after removals");
            if (m.BadQsoFile() != engine.badFileAfterRemovals) differences.push_back("bad-QSO file after removals");
            (void)text;
        }
    }
    Figures f;
    f.replay = Median(replay);
    f.perAdd = Median(perAdd);
    f.result = Median(result);
    f.perCheck = Median(perCheck);
    f.perRemoval = Median(perRemoval);
    return f;
}

// The memory child: only the plug-in, fed from the ADIF file record by record.
int MemoryChild(int argc, char** argv) {
    if (argc < 9) return 2;
    const std::string plugin = argv[2], adifPath = argv[3], work = argv[4];
    HostStation station;
    station.call = argv[5];
    station.countryPrefix = argv[6];
    station.continent = argv[7];
    const std::size_t removals = std::stoul(argv[8]);
    std::string error;
    auto session = HostSession::Open(plugin, &error);
    if (!session) return 1;
    fs::create_directories(work + "/Plugins");
    fs::current_path(work);
    const long baseline = ProcessMemory().currentKiB;

    std::vector<HostQso> toRemove;
    {
        adif::Reader reader(adifPath);
        adif::Record r;
        bool started = false;
        unsigned number = 0;
        while (reader.Next(r)) {
            auto q = MapRecord(r, adifPath, nullptr, nullptr);
            if (!q) continue;
            if (!started) {
                station.start = station.end = q->time;
                WriteSettingsKey("Plugins/CQ-WPX-CW-SSB.ini", "Settings", "CW", "1");
                WriteSettingsKey("Plugins/CQ-WPX-CW-SSB.ini", "Settings", "Start", "1");
                session->Reset(station, false);
                started = true;
            }
            session->Add(*q, ++number);
            if (number % 97 == 0 && toRemove.size() < removals) toRemove.push_back(std::move(*q));
        }
    }
    session->Result();
    for (const HostQso& q : toRemove) {
        HostCheck c{q.call, q.band, q.mode, q.wpxPrefix, q.countryPrefix, q.continent, ""};
        session->Check(c);
        session->Remove(q);
    }
    session->Result();
    std::printf("%ld %ld\n", ProcessMemory().peakKiB, baseline);
    return 0;
}

struct Memory {
    long peakKiB = -1, baselineKiB = -1;
};

Memory MeasureMemory(const std::string& plugin, const BenchLog& log, const std::string& work, std::size_t removals) {
    std::string ownCountry;
    {  // without a country file the child counts countries by entity number
        adif::Reader reader(log.adifPath);
        adif::Record r;
        StationFields station;
        if (reader.Next(r)) MapRecord(r, log.adifPath, nullptr, nullptr, &station);
        ownCountry = station.dxcc ? std::to_string(*station.dxcc) : "";
    }
    std::string output;
    RunCapturingOutput({ProgramPath(), "--memory-child", plugin, log.adifPath, work, log.station.call, ownCountry,
                        log.station.continent, std::to_string(removals)},
                       &output);
    Memory m;
    std::sscanf(output.c_str(), "%ld %ld", &m.peakKiB, &m.baselineKiB);
    return m;
}

std::string Micro(double s) {
    char b[32];
    std::snprintf(b, sizeof b, "%.3f µs", s * 1e6);
    return b;
}
std::string Milli(double s) {
    char b[32];
    std::snprintf(b, sizeof b, s < 0.01 ? "%.3f ms" : "%.2f ms", s * 1e3);
    return b;
}
std::string Sec(double s) {
    char b[32];
    std::snprintf(b, sizeof b, s < 1.0 ? "%.1f ms" : "%.2f s", s < 1.0 ? s * 1e3 : s);
    return b;
}

// The contest view's figures as the window thread makes them, against the
// plug-in's run state in this process: its first look at the whole log, a
// look after one more QSO, and a look after a removal (which takes all
// records again). `held` is how long it holds the run guard, which a host
// call waits for; `all` is the whole computation. `document`: the
// scoreboard's document from the same figures, as the window thread makes it
// for each post (the header's settings read from the settings file).
struct ViewFigures {
    double firstHeld = 0, firstAll = 0, addedHeld = 0, addedAll = 0, removedHeld = 0, removedAll = 0;
    double document = 0;
};

ViewFigures TimeContestView(const BenchLog& log, int runs, const std::string& folder) {
    fs::create_directories(folder + "/Plugins");
    fs::current_path(folder);
    stats::PortablePlatform platform;
    stats::Plugin plugin(platform.Get());
    WriteSettingsKey("Plugins/CQ-WPX-CW-SSB.ini", "Settings", "Start", "1");
    stats::ResetInput reset;
    reset.ownCall = log.station.call;
    reset.ownCountryPrefix = log.station.countryPrefix;
    reset.ownContinent = log.station.continent;
    reset.startTime = log.station.start;
    reset.endTime = log.station.end;
    plugin.ResetStats(reset);
    auto input = [&](const HostQso& q) {
        stats::QsoInput in;
        in.ownCall = log.station.call;
        in.call = q.call;
        in.qsoTime = q.time;
        in.frequencyHz = q.frequencyHz;
        in.mode = q.mode;
        in.rstSent = q.rstSent;
        in.rstReceived = q.rstReceived;
        in.exchangeSent = q.exchangeSent;
        in.exchangeReceived = q.exchangeReceived;
        in.wpxPrefix = q.wpxPrefix;
        in.countryPrefix = q.countryPrefix;
        in.continent = q.continent;
        in.band = q.band;
        return in;
    };
    for (std::size_t i = 0; i + 1 < log.qsos.size(); ++i) plugin.AddData(input(log.qsos[i]));
    const std::int64_t now = stats::OleDateMinute(log.station.end).value_or(0) - 1;

    stats::RunState& state = plugin.State();
    std::vector<double> firstHeld, firstAll, addedHeld, addedAll, removedHeld, removedAll;
    auto look = [&](stats::LiveFigures& figures, std::vector<double>& held, std::vector<double>& all) {
        const auto t0 = Clock::now();
        {
            std::lock_guard<std::mutex> lock(state.guard);
            figures.Collect(state);
        }
        const auto t1 = Clock::now();
        figures.Digest();
        const stats::ContestFigures f =
            stats::ComputeContestFigures(figures, stats::EntryCategory::kSingleOp, now, stats::ContestReference{});
        const auto t2 = Clock::now();
        if (f.time.qsos == 0) std::fprintf(stderr, "stats-bench: the contest view saw no QSO\n");
        held.push_back(Seconds(t1 - t0));
        all.push_back(Seconds(t2 - t0));
    };
    for (int run = 0; run < runs; ++run) {
        stats::LiveFigures figures;
        look(figures, firstHeld, firstAll);
        plugin.AddData(input(log.qsos.back()));
        look(figures, addedHeld, addedAll);
        plugin.RemoveData(input(log.qsos.back()));
        look(figures, removedHeld, removedAll);
    }
    std::vector<double> documents;
    stats::LiveFigures figures;
    look(figures, firstHeld, firstAll);
    for (int run = 0; run < runs; ++run) {
        const auto t0 = Clock::now();
        stats::ScoreboardRun scoreboardRun;
        {
            std::lock_guard<std::mutex> lock(state.guard);
            scoreboardRun = stats::ScoreboardRunOf(state);
        }
        const stats::ScoreboardStation station =
            stats::ScoreboardStationOf(plugin.Settings(), scoreboardRun, stats::EntryCategory::kSingleOp, std::nullopt);
        const std::string document = stats::ScoreboardDocument(station, figures, log.station.end);
        documents.push_back(Seconds(Clock::now() - t0));
        if (document.find("<score>") == std::string::npos) std::fprintf(stderr, "stats-bench: no score in the document\n");
    }
    ViewFigures v{Median(firstHeld), Median(firstAll), Median(addedHeld),
                  Median(addedAll),  Median(removedHeld), Median(removedAll)};
    v.document = Median(documents);
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--memory-child") == 0) return MemoryChild(argc, argv);

    std::vector<std::size_t> sizes = {10000, 100000};
    int runs = 5, refRuns = 5;
    std::size_t checks = 100000, removals = 200;
    std::vector<bool> logKinds = {false, true};  // the usual log, the one with many slips
    // Made absolute at once: under wine a path from the root names the current
    // drive, and the benchmark changes folders.
    std::string plugin = (fs::path(ProgramFolder()) / STATS_DEFAULT_PLUGIN).lexically_normal().string(),
                calls = fs::absolute("/usr/share/hamradio-files/MASTER.SCP").string(),
                cty = fs::absolute("/usr/share/hamradio-files/cty.csv").string(), work;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string a = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
                return argv[++i];
            };
            if (a == "--sizes") {
                sizes.clear();
                std::stringstream list(value());
                for (std::string item; std::getline(list, item, ',');) sizes.push_back(std::stoul(item));
            } else if (a == "--logs") {
                logKinds.clear();
                std::stringstream list(value());
                for (std::string item; std::getline(list, item, ',');) {
                    if (item != "usual" && item != "slips") throw std::invalid_argument("unknown log " + item);
                    logKinds.push_back(item == "slips");
                }
            } else if (a == "--runs") {
                runs = std::stoi(value());
            } else if (a == "--ref-runs") {
                refRuns = std::stoi(value());
            } else if (a == "--checks") {
                checks = std::stoul(value());
            } else if (a == "--removals") {
                removals = std::stoul(value());
            } else if (a == "--plugin") {
                plugin = fs::absolute(value()).string();
            } else if (a == "--calls") {
                calls = fs::absolute(value()).string();
            } else if (a == "--cty") {
                cty = fs::absolute(value()).string();
            } else if (a == "--work") {
                work = fs::absolute(value()).string();
            } else {
                std::fputs(kUsage, a == "--help" ? stdout : stderr);
                return a == "--help" ? 0 : 2;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stats-bench: %s\n%s", e.what(), kUsage);
        return 2;
    }
    if (work.empty()) work = (fs::temp_directory_path() / ("stats-bench-" + std::to_string(ProcessId()))).string();
    fs::create_directories(work + "/engine/Plugins");

    std::string error;
    const auto countries = CountryFile::Load(cty, &error);
    if (!countries) {
        std::fprintf(stderr, "stats-bench: %s\n", error.c_str());
        return 2;
    }
    const std::vector<std::string> callList = ReadCallList(calls);
    auto session = HostSession::Open(plugin, &error);
    if (!session) {
        std::fprintf(stderr, "stats-bench: %s\n", error.c_str());
        return 1;
    }

    std::printf("stats-bench: engine through %s, median of %d runs (reference: %d)\n", plugin.c_str(), runs, refRuns);
    std::printf("\n| QSOs | dupes / rejected | full replay | AddData0 mean / worst | GetResult0 median / worst |"
                " CheckCall0 mean / worst | RemoveData0 mean / worst | peak memory | reference replay | replay ratio | outputs |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|\n");
    std::fflush(stdout);
    bool allMet = true, allSame = true;
    std::vector<std::string> viewRows;
    for (const std::size_t size : sizes)
    for (const bool slips : logKinds) {
        BenchLog log = MakeLog(size, slips, callList, *countries, work, checks, removals);
        const Memory memory = MeasureMemory(plugin, log, work + "/memory-" + std::to_string(size), removals);

        fs::current_path(work + "/engine");
        EngineOutputs engineOut;
        const Figures e = TimeEngine(*session, log, runs, engineOut);
        std::vector<std::string> differences;
        const Figures r = TimeReference(log, refRuns, 100, engineOut, differences);
        const ViewFigures v = TimeContestView(log, runs, work + "/view-" + std::to_string(size));
        fs::current_path(work);
        char view[256];
        std::snprintf(view, sizeof view, "| %zu | %s / %s | %s / %s | %s / %s | %s |", log.qsos.size(),
                      Milli(v.firstHeld).c_str(), Milli(v.firstAll).c_str(), Micro(v.addedHeld).c_str(),
                      Micro(v.addedAll).c_str(), Milli(v.removedHeld).c_str(), Milli(v.removedAll).c_str(),
                      Micro(v.document).c_str());
        viewRows.push_back(view);

        const double ratio = r.replay / e.replay;
        std::string outputs = differences.empty() ? "identical" : "DIFFER:";
        for (const std::string& d : differences) outputs += " " + d + ";";
        allSame = allSame && differences.empty();
        char peak[64];
        std::snprintf(peak, sizeof peak, "%.1f MiB (plug-in %.1f)", memory.peakKiB / 1024.0,
                      (memory.peakKiB - memory.baselineKiB) / 1024.0);
        // The shares as the plug-in's bad-QSO file gives them (a dupe line
        // stands for an earlier match, so this counts matches).
        std::size_t dupeLines = 0, rejected = 0;
        std::istringstream lines(engineOut.badFile);
        std::string line;
        std::getline(lines, line);  // the header
        while (std::getline(lines, line)) (line.find("   DUPE !!!") != std::string::npos ? dupeLines : rejected) += 1;
        char shares[64];
        std::snprintf(shares, sizeof shares, "%.1f%% / %.1f%%", 100.0 * dupeLines / log.qsos.size(),
                      100.0 * rejected / log.qsos.size());
        std::printf("| %zu | %s | %s | %s / %s | %s / %s | %s / %s | %s / %s | %s | %s | %.0fx | %s |\n", log.qsos.size(),
                    shares, Sec(e.replay).c_str(), Micro(e.perAdd).c_str(), Milli(e.worstAdd).c_str(),
                    Milli(e.result).c_str(), Milli(e.worstResult).c_str(), Micro(e.perCheck).c_str(),
                    Milli(e.worstCheck).c_str(), Milli(e.perRemoval).c_str(), Milli(e.maxRemoval).c_str(), peak,
                    Sec(r.replay).c_str(), ratio, outputs.c_str());
        std::printf("|  |  | reference: |  %s | %s | %s | %s |  |  |  |  |\n", Micro(r.perAdd).c_str(),
                    Milli(r.result).c_str(), Micro(r.perCheck).c_str(), Milli(r.perRemoval).c_str());
        if (e.rewrites > 0)
            std::printf("|  |  | removals that rewrote the bad-QSO file (%d over the runs): |  |  |  | %s / %s |  |  |  |  |\n",
                        e.rewrites, Milli(e.rewriteTotal / e.rewrites).c_str(), Milli(e.worstRewrite).c_str());
        if (e.claimed > 0)
            std::printf("|  |  | result requests after a QSO that came back (median / worst): |  |  | %s / %s |  |  |  |  |  |\n",
                        Milli(e.claimed).c_str(), Milli(e.worstClaimed).c_str());
        std::fflush(stdout);
        if (size >= 100000) {
            const double worst = std::max({e.worstAdd, e.worstResult, e.worstCheck, e.maxRemoval});
            const bool met = ratio >= 50 && e.perAdd < 1e-6 && e.perCheck < 1e-6 && e.result < 0.020 &&
                             e.perRemoval < 0.010 && worst < 0.001 && memory.peakKiB >= 0 &&
                             memory.peakKiB < 64 * 1024;
            allMet = allMet && met;
        }
    }
    std::printf("\nThe contest view's figures on the window thread (run guard held / in all):\n\n"
                "| QSOs | first look | after one more QSO | after a removal | scoreboard document |\n"
                "|---:|---:|---:|---:|---:|\n");
    for (const std::string& row : viewRows) std::printf("%s\n", row.c_str());
    std::printf("\nTargets at 100,000 QSOs: replay >= 50x the reference, AddData0 < 1 µs, CheckCall0 < 1 µs,"
                " GetResult0 < 20 ms, RemoveData0 < 10 ms (means), every single call < 1 ms,"
                " peak memory < 64 MiB: %s\n",
                allMet ? "met" : "MISSED");
    std::error_code ec;
    fs::remove_all(work, ec);
    return allSame ? 0 : 1;
}
