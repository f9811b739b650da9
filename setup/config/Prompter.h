#pragma once
// How setup speaks to the user: message boxes and questions in the windowed run, standard
// error and the safe answer in silent mode. The logic below the wizard asks through this and
// never knows which.

#include <string>
#include <string_view>

namespace setup {

enum class Answer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A plain message box with an OK button.
    virtual void message(std::string_view text, std::string_view title) = 0;
    // OK and Cancel, with an exclamation icon ("Please insert next disk...").
    virtual Answer okCancel(std::string_view text, std::string_view title) = 0;
    // Yes and No; the captions may come from the language file (empty: "Yes", "No").
    virtual Answer yesNo(std::string_view text, std::string_view title, std::string_view yes = {},
                         std::string_view no = {}) = 0;
};

}  // namespace setup
