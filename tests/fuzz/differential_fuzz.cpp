// Fuzz target: the engine against the reference model kept with the tests.
// The input is read as a statistics run and a sequence of the host's calls
// (additions, repeats of earlier QSOs, edits, removals, call checks, result
// requests), with texts from small pools so that dupes, shared prefixes and
// equal report lines are common, or any text of printable and other bytes.
// Both must return the same values and give the same result text and the same
// bad-QSO file bytes at every result request and at the end. The contest
// view's figures, followed a call at a time, must hold every QSO added and not
// removed as activity (rejected ones too) and the score the result gives.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <memory>
#include <string>
#include <vector>

#include "contest/live_figures.h"
#include "contest/scoring.h"
#include "contest/text_util.h"
#include "from_host.h"
#include "fuzz_plugin.h"
#include "fuzz_support.h"
#include "host_session.h"
#include "reference_model.h"

namespace {

using fuzz::Fail;

const char* const kCalls[] = {"K1A", "K1AB", "DL1AAA", "dl1aaa", "UA3", "JA1XYZ", "EA8/DL1AB", ""};
const char* const kBands[] = {"20m", "40m", "80m", "160m", "15m", "10m", "20M", "30m", ""};
const char* const kModes[] = {"CW", "SSB", "cw", "RTTY", ""};
const char* const kCountries[] = {"UA", "DL", "K", "JA", "EA8", ""};
const char* const kContinents[] = {"EU", "NA", "AS", "AF", ""};
const char* const kPrefixes[] = {"DL1", "K1", "UA3", "JA1", "EA8", "k1", ""};
const char* const kReports[] = {"599", "59", "579", ""};
const char* const kSerials[] = {"1", "001", "15", "999", ""};
const char* const kVersions[] = {"Zelk", "2.20", "2.19"};

class Decoder {
public:
    explicit Decoder(FuzzedDataProvider& in) : in(in) {}

    // Mostly a text of the pool; now and then whatever the input holds (no NUL:
    // the host's texts end at one).
    template <std::size_t N>
    std::string Text(const char* const (&pool)[N]) {
        if (in.ConsumeIntegralInRange<int>(0, 15) != 0) return pool[in.ConsumeIntegralInRange<std::size_t>(0, N - 1)];
        std::string s = in.ConsumeRandomLengthString(40);
        return s.substr(0, s.find('\0'));
    }

    // Three hours of 29 May 2021, often on whole minutes; now and then no date
    // or an invalid one.
    stats::OleDateTime Time() {
        switch (in.ConsumeIntegralInRange<int>(0, 24)) {
            case 0: return stats::OleDateTime::Null();
            case 1: return stats::OleDateTime{44345.5, stats::OleDateTime::kInvalid};
            default: {
                const int minute = in.ConsumeIntegralInRange<int>(0, 179);
                const int second = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<int>(0, 59);
                return stats::OleDateTime::Valid(44345.0 + (minute * 60 + second) / 86400.0);
            }
        }
    }

    reference::Qso Qso(const std::string& ownCall) {
        reference::Qso q;
        q.ownCall = ownCall;
        q.call = Text(kCalls);
        q.time = Time();
        q.frequencyHz = in.ConsumeIntegralInRange<std::uint32_t>(1800000, 29700000);
        q.mode = Text(kModes);
        q.rstSent = Text(kReports);
        q.rstReceived = Text(kReports);
        q.exchangeSent = Text(kSerials);
        q.exchangeReceived = Text(kSerials);
        q.wpxPrefix = Text(kPrefixes);
        q.countryPrefix = Text(kCountries);
        q.continent = Text(kContinents);
        q.band = Text(kBands);
        return q;
    }

    reference::Check Check() {
        auto maybe = [&](std::string s) { return in.ConsumeIntegralInRange<int>(0, 11) == 0 ? std::nullopt : std::optional<std::string>(s); };
        reference::Check c;
        c.call = maybe(Text(kCalls));
        c.mode = maybe(Text(kModes));
        c.wpxPrefix = maybe(Text(kPrefixes));
        c.countryPrefix = maybe(Text(kCountries));
        c.band = maybe(Text(kBands));
        c.otherBand = in.ConsumeBool() ? c.band : maybe(Text(kBands));
        return c;
    }

    FuzzedDataProvider& in;
};

std::string g_folder;
std::unique_ptr<tools::HostSession> g_session;
reference::Model g_model;

int EngineCheck(const reference::Check& c) {
    auto text = [](const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; };
    char a[64] = {}, b[64] = {};
    return CheckCall0(text(c.call), 0, 0, text(c.mode), "", "", "", "", "", "", "", "", text(c.wpxPrefix),
                      text(c.countryPrefix), 0, 0, 0, 0.0, 0.0, "", "EU", "", "", "", text(c.band), text(c.otherBand), a, b);
}

void Same(int engine, int model, const char* what) {
    if (engine != model)
        Fail(std::string(what) + ": the engine returned " + std::to_string(engine) + ", the model " + std::to_string(model), "");
}

// Every QSO added and not removed again, as the contest view counts activity.
std::vector<reference::Qso> g_activity;
stats::LiveFigures g_following;

void Activity(const reference::Qso& q, bool added) {
    if (added) {
        g_activity.push_back(q);
        return;
    }
    const auto it = std::find_if(g_activity.begin(), g_activity.end(), [&](const reference::Qso& a) {
        return a.call == q.call && a.band == q.band && a.mode == q.mode && stats::OleDatesEqual(a.time, q.time);
    });
    if (it != g_activity.end()) g_activity.erase(it);
}

void Follow() {
    stats::RunState& state = stats::LoadedPlugin()->State();
    std::lock_guard<std::mutex> lock(state.guard);
    g_following.Collect(state);
}

void SameOutputs() {
    const std::string engine = g_session->Result(), model = g_model.Result();
    Follow();
    g_following.Digest();
    std::vector<std::int64_t> minutes;
    for (const reference::Qso& q : g_activity)
        if (const auto m = stats::OleDateMinute(q.time)) minutes.push_back(*m);
    if (g_following.Activity() != stats::CountMinutes(minutes)) Fail("the activity differs", engine);
    {
        stats::RunState& state = stats::LoadedPlugin()->State();
        std::lock_guard<std::mutex> lock(state.guard);
        if (g_following.Totals().Score() != state.g_nClaimedScore)
            Fail("the contest view's score differs: " + std::to_string(g_following.Totals().Score()), engine);
        // Band by band as the result's rows, a band written in either case one
        // band (the scoreboard document sends them).
        const stats::CScoreSummary summary = stats::ComputeStatistics(state);
        std::array<stats::LiveFigures::BandTotals, stats::kBandCount> rows{};
        for (const stats::CBandScore& b : summary.bands)
            for (std::size_t i = 0; i < stats::kBandCount; ++i)
                if (stats::EqualsNoCase(b.band, stats::kBandNames[i])) {
                    rows[i].qsos += b.qsos;
                    rows[i].points += b.points;
                }
        for (std::size_t i = 0; i < stats::kBandCount; ++i)
            if (rows[i].qsos != g_following.Bands()[i].qsos || rows[i].points != g_following.Bands()[i].points)
                Fail(std::string("the contest view's figures of ") + stats::kBandNames[i] + " differ: " +
                         std::to_string(g_following.Bands()[i].qsos) + " QSOs, " +
                         std::to_string(g_following.Bands()[i].points) + " points",
                     engine);
    }
    if (engine != model) Fail("the result texts differ", "engine:\n" + engine + "\nmodel:\n" + model);
    const std::string file = fuzz::ReadFile(g_model.BadQsoFileName()), expected = g_model.BadQsoFile();
    if (file != expected) Fail("the bad-QSO files differ", "engine:\n" + file + "\nmodel:\n" + expected);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_folder = fuzz::EnterScratchFolder("stats-differential");
    tools::PluginFunctions f;
    f.getNumberOfSets = GetNumberOfSets;
    f.getSetName = GetSetName;
    f.setHostVersion = setVersion;
    f.resetStats = ResetStats0;
    f.addData = AddData0;
    f.removeData = RemoveData0;
    f.checkCall = CheckCall0;
    f.getResult = GetResult0;
    g_session = tools::HostSession::Linked(f);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Decoder gen(in);
    fuzz::EmptyScratchFolder(g_folder);
    fuzz::ForgetTheLastInput();

    // The run, and the files the host and the Setup window would have left.
    reference::Run run;
    run.cwContest = in.ConsumeBool();
    run.reportRequest = in.ConsumeIntegralInRange<int>(0, 7) == 0;
    run.hostVersion = kVersions[in.ConsumeIntegralInRange<int>(0, 2)];
    run.ownCall = gen.Text(kCalls);
    run.ownCountry = gen.Text(kCountries);
    run.ownContinent = gen.Text(kContinents);
    run.start = stats::OleDateTime::Valid(44345.0);
    run.end = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? stats::OleDateTime::Null() : stats::OleDateTime::Valid(44346.0);
    fuzz::WriteFile("Plugins/CQ-WPX-CW-SSB.ini", std::string("[Settings]\r\nStart=1\r\nCW=") + (run.cwContest ? "1" : "0") + "\r\n");
    if (run.hostVersion != "Zelk") fuzz::WriteFile("Zelk2.ini", "[Zelk]\r\nZelk=" + run.hostVersion + "\r\n");
    Same(g_session->Reset(reference::ToHost(run), run.reportRequest), 1, "reset");
    g_model.Reset(run);
    g_activity.clear();
    g_following = stats::LiveFigures();

    std::vector<reference::Qso> added;
    while (in.remaining_bytes() > 0) {
        Follow();
        const int op = in.ConsumeIntegralInRange<int>(0, 9);
        if (op <= 3 || added.empty()) {
            const reference::Qso q = gen.Qso(run.ownCall);
            Same(g_session->Add(reference::ToHost(q)), g_model.Add(q), "add");
            Activity(q, true);
            added.push_back(q);
        } else if (op == 4) {
            // An earlier QSO again, at another time.
            reference::Qso q = added[in.ConsumeIntegralInRange<std::size_t>(0, added.size() - 1)];
            q.time = gen.Time();
            Same(g_session->Add(reference::ToHost(q)), g_model.Add(q), "repeat");
            Activity(q, true);
            added.push_back(q);
        } else if (op == 5) {
            // An edit, as the host passes it: the old QSO out, the changed one in.
            reference::Qso& q = added[in.ConsumeIntegralInRange<std::size_t>(0, added.size() - 1)];
            Same(g_session->Remove(reference::ToHost(q)), g_model.Remove(q), "edit's removal");
            Activity(q, false);
            const reference::Qso fresh = gen.Qso(run.ownCall);
            switch (in.ConsumeIntegralInRange<int>(0, 4)) {
                case 0: q.rstReceived = fresh.rstReceived; break;
                case 1: q.exchangeReceived = fresh.exchangeReceived; break;
                case 2: q.time = fresh.time; break;
                case 3: q.call = fresh.call; break;
                default: q.band = fresh.band; break;
            }
            Same(g_session->Add(reference::ToHost(q)), g_model.Add(q), "edit's addition");
            Activity(q, true);
        } else if (op == 6) {
            const reference::Qso q = in.ConsumeBool() ? added[in.ConsumeIntegralInRange<std::size_t>(0, added.size() - 1)]
                                                      : gen.Qso(run.ownCall);
            Same(g_session->Remove(reference::ToHost(q)), g_model.Remove(q), "removal");
            Activity(q, false);
        } else if (op <= 8) {
            const reference::Check c = gen.Check();
            Same(EngineCheck(c), g_model.CheckCall(c), "call check");
        } else {
            SameOutputs();
        }
    }
    SameOutputs();
    return 0;
}
