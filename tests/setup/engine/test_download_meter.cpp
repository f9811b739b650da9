#include <gtest/gtest.h>

#include "setup/engine/DownloadMeter.h"

using setup::DownloadMeter;

TEST(DownloadMeter, TextsFollowTheirThresholds) {
    EXPECT_EQ(setup::downloadRateText(0.5), "512 Bytes/Sec");
    EXPECT_EQ(setup::downloadRateText(0.999), "1023 Bytes/Sec");
    EXPECT_EQ(setup::downloadRateText(1.0), "1.00 KB/Sec");
    EXPECT_EQ(setup::downloadRateText(9.996), "10.00 KB/Sec");
    EXPECT_EQ(setup::downloadRateText(37.6), "38 KB/Sec");

    EXPECT_EQ(setup::downloadTimeText(0), "0 sec");
    EXPECT_EQ(setup::downloadTimeText(59), "59 sec");
    EXPECT_EQ(setup::downloadTimeText(120), "2 min");
    EXPECT_EQ(setup::downloadTimeText(2995), "49 min 55 sec");

    EXPECT_EQ(setup::downloadSizeText(1023), "1023 Bytes");
    EXPECT_EQ(setup::downloadSizeText(1024), "1.0 KB");
    EXPECT_EQ(setup::downloadSizeText(1048575), "1024.0 KB");
    EXPECT_EQ(setup::downloadSizeText(1048576), "1.00 MB");
    EXPECT_EQ(setup::downloadSizeText(1500000), "1.43 MB");
}

TEST(DownloadMeter, ReportsAboutOnceASecond) {
    DownloadMeter meter;
    meter.start(10'000, 1'500'000);
    EXPECT_FALSE(meter.report(11'000, 100));  // not more than 1000 ms yet
    EXPECT_EQ(meter.report(15'000, 2500),
              "0,49 min 55 sec (2.4 KB of 1.43 MB copied),512 Bytes/Sec");
    EXPECT_FALSE(meter.report(15'900, 600'000));
    // The rate counts from the last update, the time left from the start; 99.99 % is 99.
    EXPECT_EQ(meter.report(17'000, 1'499'900), "99,0 sec (1.43 MB of 1.43 MB copied),749 KB/Sec");
}

TEST(DownloadMeter, UnknownOrWrongLengthGivesNoPercentageNorNegativeTime) {
    DownloadMeter meter;
    meter.start(0, 0);
    EXPECT_EQ(meter.report(2000, 3072), "0,3.0 KB copied,1.54 KB/Sec");
    meter.start(0, 100);
    EXPECT_EQ(meter.report(1001, 0), "0,,0 Bytes/Sec");
    EXPECT_EQ(meter.report(2002, 150), "100,0 sec (150 Bytes of 100 Bytes copied),153 Bytes/Sec");
}

TEST(DownloadFileName, IsTheLastPathSegmentAndNeverAPath) {
    const struct {
        const char* url;
        const char* name;  // null: refused
    } cases[] = {
        {"http://example.test/pkg/file.zip", "file.zip"},
        {"https://example.test:8443/a/b/setup%20data.cab?x=1/y#frag/z", "setup data.cab"},
        {"ftp://example.test/pub/readme.txt", "readme.txt"},
        {"http://example.test/pkg/", nullptr},
        {"http://example.test", nullptr},
        {"http://example.test/pkg/..", nullptr},
        {"http://example.test/pkg/%2E%2E", nullptr},
        {"http://example.test/pkg/..%2Fevil.exe", nullptr},
        {"http://example.test/pkg/..%5Cevil.exe", nullptr},
        {"http://example.test/pkg/c%3Aevil.exe", nullptr},
        {"http://example.test/pkg/evil%0D.exe", nullptr},
        {"http://example.test/pkg/evil%00.exe", nullptr},
        {"not a url", nullptr},
    };
    for (const auto& c : cases) {
        const auto name = setup::downloadFileName(c.url);
        if (c.name)
            EXPECT_EQ(name, std::optional<std::string>(c.name)) << c.url;
        else
            EXPECT_FALSE(name) << c.url << " gave " << name.value_or("");
    }
}
