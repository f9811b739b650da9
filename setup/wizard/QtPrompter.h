#pragma once
// Message boxes of the windowed run: a plain box with OK, OK and Cancel for the next disk,
// Yes and No for the questions.

#include "setup/config/Prompter.h"

namespace setup {

class QtPrompter : public Prompter {
public:
    void message(std::string_view text, std::string_view title) override;
    Answer okCancel(std::string_view text, std::string_view title) override;
    Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                 std::string_view no) override;
};

}  // namespace setup
