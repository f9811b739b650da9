#pragma once
// Package files fetched from the Internet instead of the cabinets: the copy pass queues them
// here and the download sequence takes them from the front.

#include <string>
#include <vector>

namespace setup {

struct Download {
    std::string url;
    std::string folder;  // target folder, no trailing "\"
};

using DownloadQueue = std::vector<Download>;

}  // namespace setup
