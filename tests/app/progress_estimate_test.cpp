#include "app/progress_estimate.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tagmora {
namespace {

TEST(ProgressEstimateTest, TimeLeftOnceAFewPhotographsSetThePace) {
    const std::tuple<int, int, double, const char*> cases[] = {
        {0, 10, 0.0, ""},
        {2, 10, 4.0, ""},                          // too few to tell a pace
        {3, 10, 6.0, "about 15 s left"},           // 14 s, in steps of 5
        {9, 10, 0.1, "about 5 s left"},            // never "0 s"
        {10, 10, 20.0, ""},                        // done
        {3, 100, 6.0, "about 3 min left"},         // 194 s
        {10, 2000, 20.0, "about 1 h 6 min left"},  // 3980 s
        {3, 10, -1.0, ""},                         // a clock that went back
    };
    for (const auto& [done, total, elapsed, text] : cases)
        EXPECT_EQ(TimeLeftText(done, total, elapsed), text) << done << " of " << total;
    EXPECT_EQ(ProgressText(0, 12), "0 of 12");
}

}  // namespace
}  // namespace tagmora
