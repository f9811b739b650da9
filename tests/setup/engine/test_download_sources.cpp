// Which of a package's sources the installation hands to the downloads.
#include <gtest/gtest.h>

#include "engine_support.h"

using engine_test::EngineTest;
using setup::RunOutcome;

namespace {

// Every Internet address a package names is fetched after the copy, whatever its scheme, and
// none is taken for a file to copy.
TEST_F(EngineTest, every_internet_scheme_is_queued_and_counted) {
    const std::vector<std::string> urls = {"http://host/pkg/plain.zip",
                                           "https://host/pkg/secure.zip", "ftp://host/pkg/old.zip",
                                           "HTTPS://host/pkg/upper.zip"};
    std::string actions = "[ADVANCEDACTIONS]\r\nTOTAL=" + std::to_string(urls.size()) + "\r\n";
    for (std::size_t i = 0; i < urls.size(); ++i)
        actions +=
            "C" + std::to_string(i) + "=Download\r\nF" + std::to_string(i) + "=" + urls[i] + "\r\n";
    dataTag(
        "[FILES]\r\nTOTAL=3\r\nPR0=https://host/pkg/a.txt\r\nPR1=http://host/pkg/b.txt\r\n"
        "PR2=c:\\local\\c.txt\r\n" +
        actions);
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\b.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\c.txt", "<Install Dir>*0,0,0"}});
    setup::DownloadQueue queued;
    std::function<void()> finish;
    ASSERT_EQ(installHoldingDownloads(queued, finish), RunOutcome::Downloading);
    finish();

    std::vector<std::string> fetched;
    for (const auto& entry : queued) {
        fetched.push_back(entry.url);
        EXPECT_EQ(entry.folder, "C:\\Program Files\\App") << entry.url;
    }
    // A scheme is no case-sensitive word.
    EXPECT_EQ(fetched, urls);
    EXPECT_EQ(installer->internetSources(), 2);
    // The log holds the three copied files and nothing named after an address.
    EXPECT_EQ(log("LOG", "2"), "c:\\program files\\app\\c.txt");
    EXPECT_EQ(log("LOG", "3"), "<none>");
}

}  // namespace
