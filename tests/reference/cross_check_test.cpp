// The engine, driven through libStats.so's exports, against the reference
// model: random runs of adds, removals, call checks and result requests must
// give the same result texts, bad-QSO file bytes and check codes.
#include <filesystem>
#include <memory>
#include <random>

#include "adif.h"
#include "from_host.h"
#include "host_session.h"
#include "log_mapping.h"
#include "reference_model.h"
#include "test_support.h"

using namespace stats::test;

namespace {

class CrossCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        session_ = tools::HostSession::Open(STATS_LIBRARY, &error);
        ASSERT_NE(session_, nullptr) << error;
    }
    static void TearDownTestSuite() { session_.reset(); }

    // A run in the scratch directory; the contest mode and host version come
    // from the files the host and the Setup window would have left.
    void Start(const reference::Run& run) {
        std::filesystem::create_directories("Plugins");
        WriteFile("Plugins/CQ-WPX-CW-SSB.ini", std::string("[Settings]\r\nStart=1\r\nCW=") + (run.cwContest ? "1" : "0") + "\r\n");
        std::filesystem::remove("Zelk2.ini");
        if (run.hostVersion != "Zelk") WriteFile("Zelk2.ini", "[Zelk]\r\nZelk=" + run.hostVersion + "\r\n");
        ASSERT_EQ(session_->Reset(reference::ToHost(run), run.reportRequest), 1);
        model.Reset(run);
    }

    int EngineCheck(const reference::Check& c) {
        auto text = [](const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; };
        char a[64] = {}, b[64] = {};
        return session_->Functions().checkCall(text(c.call), 0, 0, text(c.mode), "", "", "", "", "", "", "", "",
                                               text(c.wpxPrefix), text(c.countryPrefix), 0, 0, 0, 0.0, 0.0, "", "EU",
                                               "", "", "", text(c.band), text(c.otherBand), a, b);
    }

    ::testing::AssertionResult SameOutputs() {
        const std::string engine = session_->Result(), expected = model.Result();
        if (auto same = SameText(engine, expected); !same) return same << "\n(result text)";
        return SameText(ReadFile(model.BadQsoFileName()), model.BadQsoFile()) << "\n(bad-QSO file)";
    }

    static std::unique_ptr<tools::HostSession> session_;
    ScratchDir dir;
    reference::Model model;
};

std::unique_ptr<tools::HostSession> CrossCheck::session_;

// Small pools, so that dupes, shared prefixes and colliding report lines are common.
struct RandomLog {
    explicit RandomLog(unsigned seed) : random(seed) {}

    template <std::size_t N>
    std::string Pick(const char* const (&pool)[N]) {
        return pool[random() % N];
    }
    bool Chance(int percent) { return static_cast<int>(random() % 100) < percent; }

    stats::OleDateTime Time() {
        if (Chance(4)) return stats::OleDateTime::Null();
        if (Chance(2)) return stats::OleDateTime{45000.5, stats::OleDateTime::kInvalid};
        // Three hours, often on whole minutes so that QSOs share a minute.
        const double second = Chance(50) ? 0.0 : static_cast<double>(random() % 60);
        return At(2021, 5, 29, static_cast<int>(random() % 3), static_cast<int>(random() % 60), second);
    }

    reference::Qso Qso(const std::string& ownCall) {
        static const char* const calls[] = {"K1A", "K1AB", "DL1AAA", "dl1aaa", "UA3", "JA1XYZ", "EA8/DL1AB", "G4XYZ", ""};
        static const char* const bands[] = {"20m", "20m", "40m", "40m", "80m", "160m", "15m", "10m", "20M", "30m", ""};
        static const char* const modes[] = {"CW", "CW", "SSB", "SSB", "cw", "RTTY", ""};
        static const char* const countries[] = {"UA", "DL", "K", "JA", "G", "EA8", ""};
        static const char* const continents[] = {"EU", "EU", "NA", "AS", "AF", ""};
        static const char* const prefixes[] = {"DL1", "K1", "UA3", "JA1", "G4", "EA8", "k1", ""};
        reference::Qso q;
        q.ownCall = ownCall;
        q.call = Pick(calls);
        q.time = Time();
        q.frequencyHz = static_cast<std::uint32_t>(1800000 + random() % 28000000);
        q.mode = Pick(modes);
        q.rstSent = Chance(50) ? "599" : "59";
        q.rstReceived = Chance(90) ? q.rstSent : "579";
        q.exchangeSent = Chance(5) ? "" : std::to_string(1 + random() % 300);
        q.exchangeReceived = Chance(7) ? "" : std::to_string(1 + random() % 999);
        q.wpxPrefix = Pick(prefixes);
        q.countryPrefix = Pick(countries);
        q.continent = Pick(continents);
        q.band = Pick(bands);
        return q;
    }

    // The same QSO as the host passes it after an edit: one field changed.
    reference::Qso Edited(reference::Qso q) {
        switch (random() % 5) {
            case 0: q.rstReceived = q.rstReceived == "579" ? "599" : "579"; break;
            case 1: q.exchangeReceived = Chance(20) ? "" : std::to_string(1 + random() % 999); break;
            case 2: q.time = Time(); break;
            case 3: q.call = Qso(q.ownCall).call; break;
            default: q.band = Qso(q.ownCall).band; break;
        }
        return q;
    }

    reference::Check Check() {
        static const char* const calls[] = {"K1A", "DL1AAA", "UA3", "W1XX", ""};
        static const char* const bands[] = {"20m", "40m", "20M", "30m", "160m"};
        static const char* const modes[] = {"CW", "SSB", "ssb", "RTTY"};
        static const char* const prefixes[] = {"DL1", "K1", "W1", ""};
        auto maybe = [&](std::string s) { return Chance(8) ? std::nullopt : std::optional<std::string>(s); };
        reference::Check c;
        c.call = maybe(Pick(calls));
        c.mode = maybe(Pick(modes));
        c.wpxPrefix = maybe(Pick(prefixes));
        c.countryPrefix = Chance(10) ? std::optional<std::string>("") : maybe("DL");
        c.band = maybe(Pick(bands));
        c.otherBand = Chance(70) ? c.band : maybe(Pick(bands));
        return c;
    }

    std::mt19937 random;
};

TEST_F(CrossCheck, RandomRunsGiveTheSameResultsFilesAndCodes) {
    for (unsigned round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        RandomLog gen(1000 + round);
        reference::Run run;
        run.ownCall = round % 7 == 3 ? "" : "UA3ABC";
        // A North American station scores its own continent otherwise.
        run.ownCountry = round % 4 == 1 ? "K" : "UA";
        run.ownContinent = round % 4 == 1 ? "NA" : "EU";
        run.start = At(2021, 5, 29);
        run.end = round % 9 == 4 ? stats::OleDateTime::Null() : At(2021, 5, 30);
        run.cwContest = round % 2 == 1;
        run.reportRequest = round % 10 == 7;
        run.hostVersion = round % 5 == 2 ? "2.20" : "Zelk";
        Start(run);

        std::vector<reference::Qso> added;
        for (int step = 0; step < 160; ++step) {
            const int op = static_cast<int>(gen.random() % 100);
            if (op < 50 || added.empty()) {
                const reference::Qso q = gen.Qso(run.ownCall);
                ASSERT_EQ(session_->Add(reference::ToHost(q)), model.Add(q)) << "add at step " << step;
                added.push_back(q);
            } else if (op < 60) {
                // An earlier QSO again at another time: a dupe of every stored one like it.
                reference::Qso q = added[gen.random() % added.size()];
                q.time = gen.Time();
                ASSERT_EQ(session_->Add(reference::ToHost(q)), model.Add(q)) << "repeat at step " << step;
                added.push_back(q);
            } else if (op < 68) {
                // An edit, as the host passes it: the old QSO out, the changed one in.
                reference::Qso& q = added[gen.random() % added.size()];
                ASSERT_EQ(session_->Remove(reference::ToHost(q)), model.Remove(q));
                q = gen.Edited(q);
                ASSERT_EQ(session_->Add(reference::ToHost(q)), model.Add(q)) << "edit at step " << step;
                ASSERT_TRUE(SameOutputs()) << "edit at step " << step;
            } else if (op < 80) {
                // Mostly a QSO that was passed in (accepted, rejected or gone already).
                const reference::Qso q = op < 77 ? added[gen.random() % added.size()] : gen.Qso(run.ownCall);
                ASSERT_EQ(session_->Remove(reference::ToHost(q)), model.Remove(q));
                ASSERT_TRUE(SameText(ReadFile(model.BadQsoFileName()), model.BadQsoFile())) << "removal at step " << step;
            } else if (op < 94) {
                const reference::Check c = gen.Check();
                ASSERT_EQ(EngineCheck(c), model.CheckCall(c)) << "check at step " << step;
            } else {
                ASSERT_TRUE(SameOutputs()) << "step " << step;
            }
        }
        ASSERT_TRUE(SameOutputs()) << "end of the round";
    }
}

TEST_F(CrossCheck, RemovingEveryQsoNewestOrOldestFirstKeepsThemAlike) {
    reference::Run run;
    run.ownCall = "UA3ABC";
    run.ownCountry = "UA";
    run.ownContinent = "EU";
    run.start = At(2021, 5, 29);
    run.end = At(2021, 5, 30);
    Start(run);
    RandomLog gen(7);
    std::vector<reference::Qso> added;
    for (int i = 0; i < 300; ++i) {
        added.push_back(gen.Qso(run.ownCall));
        ASSERT_EQ(session_->Add(reference::ToHost(added.back())), model.Add(added.back()));
    }
    ASSERT_TRUE(SameOutputs());
    // Newest first, then oldest first: both orders must undo every line.
    for (std::size_t i = 0; i < added.size(); ++i) {
        const reference::Qso& q = i % 2 == 0 ? added[added.size() - 1 - i / 2] : added[i / 2];
        session_->Remove(reference::ToHost(q));
        model.Remove(q);
    }
    ASSERT_TRUE(SameOutputs());
    // Only QSOs with an invalid time stay: no time equals an invalid one.
    EXPECT_LT(model.LogSize(), 20u);
}

// The committed sample logs, read and mapped as stats-host does.
TEST_F(CrossCheck, SampleLogsScoreAlike) {
    for (const char* name : {"wpx-cw-sample.adi", "wpx-ssb-sample.adi"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(STATS_EXAMPLES) + "/" + name;
        std::vector<tools::HostQso> qsos;
        std::string ownCall;
        tools::adif::Reader reader(path);
        tools::adif::Record record;
        while (reader.Next(record)) {
            tools::StationFields station;
            if (auto q = tools::MapRecord(record, path, nullptr, nullptr, &station)) qsos.push_back(*q);
            if (ownCall.empty()) ownCall = station.call;
        }
        ASSERT_GT(qsos.size(), 1000u);

        reference::Run run;
        run.ownCall = ownCall;
        run.ownCountry = "230";  // entity numbers stand for countries without a country file
        run.ownContinent = "EU";
        run.start = qsos.front().time;
        run.end = qsos.back().time;
        run.cwContest = qsos.front().mode == "CW";
        Start(run);
        for (const tools::HostQso& h : qsos) {
            ASSERT_EQ(session_->Add(h), model.Add(reference::FromHost(h, ownCall)));
        }
        ASSERT_TRUE(SameOutputs());
        // Take every tenth QSO back out.
        for (std::size_t i = 0; i < qsos.size(); i += 10) {
            session_->Remove(qsos[i]);
            reference::Qso q;
            q.call = qsos[i].call;
            q.time = qsos[i].time;
            q.mode = qsos[i].mode;
            q.band = qsos[i].band;
            model.Remove(q);
        }
        ASSERT_TRUE(SameOutputs());
    }
}

}  // namespace
