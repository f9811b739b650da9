#include "setup/config/SilentPrompter.h"

namespace setup {

namespace {

void say(std::ostream& out, std::string_view text, std::string_view title) {
    if (!title.empty()) out << title << ": ";
    out << text << '\n';
    out.flush();
}

}  // namespace

void SilentPrompter::message(std::string_view text, std::string_view title) {
    say(out_, text, title);
}

Answer SilentPrompter::okCancel(std::string_view text, std::string_view title) {
    say(out_, text, title);
    return Answer::Cancel;
}

Answer SilentPrompter::yesNo(std::string_view text, std::string_view title, std::string_view,
                             std::string_view) {
    say(out_, text, title);
    return Answer::No;
}

}  // namespace setup
