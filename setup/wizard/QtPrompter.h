#pragma once
// Message boxes of the windowed run: a plain box with OK, OK and Cancel for the next disk,
// Yes and No for the questions.

#include "setup/config/OwnTexts.h"
#include "setup/config/Prompter.h"

class QWidget;

namespace setup {

class QtPrompter : public Prompter {
public:
    // Boxes open over owner, or without one over the window the user works in; their buttons
    // read as texts says (in English until told otherwise).
    explicit QtPrompter(QWidget* owner = nullptr,
                        const OwnTexts& texts = ownTexts(Language::English))
        : owner_(owner), texts_(&texts) {}
    // The package's language, once it is known.
    void setTexts(const OwnTexts& texts) { texts_ = &texts; }
    // Plain messages carry the exclamation mark (the folder chooser's refusals).
    void setWarnings(bool on) { warnings_ = on; }

    void message(std::string_view text, std::string_view title) override;
    Answer okCancel(std::string_view text, std::string_view title) override;
    // Captions left empty are our own Yes and No.
    Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                 std::string_view no) override;

private:
    QWidget* parent() const;
    QWidget* owner_;
    const OwnTexts* texts_;
    bool warnings_ = false;
};

}  // namespace setup
