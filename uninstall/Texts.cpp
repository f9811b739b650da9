#include "uninstall/Texts.h"

#include "platform/Profile.h"
#include "uninstall/Uninstaller.h"

namespace uninstall {

std::string Texts::forProduct(const std::string& text, std::string_view product) const {
    constexpr std::string_view kPlaceholder = "********";
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const auto at = text.find(kPlaceholder, from);
        if (at == std::string::npos) break;
        out.append(text, from, at - from);
        out += product;
        from = at + kPlaceholder.size();
    }
    out.append(text, from);
    return out;
}

std::string Texts::reason(Why why) const {
    switch (why) {
        case Why::Outside:
            return outside;
        case Why::IsFolder:
            return isFolder;
        case Why::NotAFolder:
            return notAFolder;
        case Why::Failed:
            return failed;
        case Why::Kept:
            return kept;
        case Why::UnknownRoot:
            return unknownRoot;
        case Why::NotOwned:
            return notOwned;
        case Why::Shared:
            return shared;
        case Why::Changed:
            return changed;
    }
    return failed;
}

Texts loadTexts(const platform::ProfileFiles& profiles, std::string_view logFolder) {
    Texts texts;
    std::string file(logFolder);
    if (!file.empty() && file.back() != '\\') file += '\\';
    file += "language.tag";
    const struct {
        const char* key;
        std::string Texts::*text;
    } keys[] = {
        {"TITLE", &Texts::title},
        {"QUESTION", &Texts::question},
        {"YES", &Texts::yes},
        {"NO", &Texts::no},
        {"OK", &Texts::ok},
        {"DONE", &Texts::done},
        {"LEFT", &Texts::leftHeading},
        {"NOLOG", &Texts::noLog},
        {"NOTALOG", &Texts::notALog},
        {"OUTSIDE", &Texts::outside},
        {"ISFOLDER", &Texts::isFolder},
        {"NOTAFOLDER", &Texts::notAFolder},
        {"FAILED", &Texts::failed},
        {"KEPT", &Texts::kept},
        {"UNKNOWNROOT", &Texts::unknownRoot},
        {"NOTOWNED", &Texts::notOwned},
        {"SHARED", &Texts::shared},
        {"CHANGED", &Texts::changed},
    };
    for (const auto& entry : keys) {
        std::string value = profiles.readString(file, "ZUNINSTALL", entry.key, "", 1024);
        if (!value.empty()) texts.*entry.text = std::move(value);
    }
    return texts;
}

}  // namespace uninstall
