#pragma once
// A failed download as every failure reports it, for the tests of failing routes and faults.

#include "tests/windows/opening/opening_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace folivex::testing {

// DownloadStarted, progress only before the error (an error page's body may come as progress),
// DownloadError, DownloadComplete with 0, all for `target`.
inline void ExpectFailedDownload(OpeningSession& session, const std::wstring& target) {
    const std::vector<DISPID> raw = session.EventOrder();
    std::vector<DISPID> order = raw;
    std::erase(order, kDownloadProgress);
    EXPECT_EQ(order, (std::vector<DISPID>{kDownloadStarted, kDownloadError, kDownloadComplete}));
    const auto error = std::find(raw.begin(), raw.end(), kDownloadError);
    EXPECT_EQ(std::find(error, raw.end(), kDownloadProgress), raw.end())
        << "progress after the error";
    const auto complete = session.EventsOf(kDownloadComplete);
    ASSERT_EQ(complete.size(), 1u);
    EXPECT_EQ(complete[0].numbers, std::vector<LONG>{0});
    EXPECT_EQ(complete[0].saveFile, target);
}

} // namespace folivex::testing
