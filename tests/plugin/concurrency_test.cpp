// The window thread reads the run state while the host's thread changes it;
// under the guard, the reads are consistent (and the thread sanitizer silent).
#include <atomic>
#include <thread>

#include "test_support.h"

using namespace stats;
using namespace stats::test;

namespace {

class Concurrency : public PluginTest {};

TEST_F(Concurrency, AReaderUnderTheGuardSeesConsistentState) {
    std::atomic<bool> done{false};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (!done.load()) {
            std::lock_guard<std::mutex> lock(plugin.State().guard);
            const RunState& s = plugin.State();
            const std::size_t n = s.g_QsoLog.GetCount();
            for (std::size_t i = 0; i < n; ++i) ASSERT_FALSE(s.g_QsoLog.GetAt(i).m_strCall.empty());
            std::vector<std::string> prefixes = s.g_WorkedPrefixes.Texts(s.g_QsoLog);
            std::sort(prefixes.begin(), prefixes.end());
            ASSERT_EQ(s.g_PrevQsoRows.size(), kBandCount);
            ++reads;
        }
    });
    for (int round = 0; round < 30; ++round) {
        Reset();
        Qso q;
        for (int i = 0; i < 40; ++i) {
            q.call = "K" + std::to_string(i % 7) + "ZZ";
            q.prefix = "K" + std::to_string(i % 7);
            q.time = At(2021, 5, 29, 10, i);
            Add(q);
            if (i % 5 == 0) Result();
            if (i % 9 == 0) Remove(q);
        }
    }
    done = true;
    reader.join();
    EXPECT_GT(reads.load(), 0);
}

}  // namespace
