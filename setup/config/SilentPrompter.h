#pragma once
// The prompter of a run without windows: messages go to standard error in the words a message
// box would show, and every question gets the answer that changes nothing.

#include <ostream>

#include "setup/config/Prompter.h"
#include "setup/config/RunState.h"

namespace setup {

class SilentPrompter : public Prompter {
public:
    explicit SilentPrompter(std::ostream& out) : out_(out) {}
    void message(std::string_view text, std::string_view title) override;
    // The next disk: Cancel.
    Answer okCancel(std::string_view text, std::string_view title) override;
    // Cancel the installation, restart, retry a download: No.
    Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                 std::string_view no) override;

private:
    std::ostream& out_;
};

// Speaks through the windows until the run turns silent, then through standard error. The
// start-up learns whether it is silent only once data.tag has been read, after it may have
// had to report a missing data file.
class ModePrompter : public Prompter {
public:
    ModePrompter(const RunState& run, Prompter& windowed, Prompter& silent)
        : run_(run), windowed_(windowed), silent_(silent) {}
    void message(std::string_view text, std::string_view title) override {
        current().message(text, title);
    }
    Answer okCancel(std::string_view text, std::string_view title) override {
        return current().okCancel(text, title);
    }
    Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                 std::string_view no) override {
        return current().yesNo(text, title, yes, no);
    }

private:
    Prompter& current() { return run_.silent ? silent_ : windowed_; }
    const RunState& run_;
    Prompter& windowed_;
    Prompter& silent_;
};

}  // namespace setup
