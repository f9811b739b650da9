#include "uninstall/Texts.h"

#include <cctype>
#include <vector>

#include "platform/Profile.h"
#include "uninstall/Uninstaller.h"

namespace uninstall {

namespace {

// How the journal names the language of the run (after the product).
constexpr std::string_view kLanguageTag = "language";

struct Key {
    const char* key;  // in [ZUNINSTALL]
    std::string Texts::*text;
    std::string setup::OwnTexts::*own;
};

constexpr Key kKeys[] = {
    {"TITLE", &Texts::title, &setup::OwnTexts::uninstallTitle},
    {"QUESTION", &Texts::question, &setup::OwnTexts::uninstallQuestion},
    {"YES", &Texts::yes, &setup::OwnTexts::yes},
    {"NO", &Texts::no, &setup::OwnTexts::no},
    {"OK", &Texts::ok, &setup::OwnTexts::ok},
    {"DONE", &Texts::done, &setup::OwnTexts::uninstallDone},
    {"LEFT", &Texts::leftHeading, &setup::OwnTexts::uninstallLeftHeading},
    {"NOLOG", &Texts::noLog, &setup::OwnTexts::uninstallNoLog},
    {"NOTALOG", &Texts::notALog, &setup::OwnTexts::uninstallNotALog},
    {"OUTSIDE", &Texts::outside, &setup::OwnTexts::whyOutside},
    {"ISFOLDER", &Texts::isFolder, &setup::OwnTexts::whyIsFolder},
    {"NOTAFOLDER", &Texts::notAFolder, &setup::OwnTexts::whyNotAFolder},
    {"FAILED", &Texts::failed, &setup::OwnTexts::whyFailed},
    {"KEPT", &Texts::kept, &setup::OwnTexts::whyKept},
    {"UNKNOWNROOT", &Texts::unknownRoot, &setup::OwnTexts::whyUnknownRoot},
    {"NOTOWNED", &Texts::notOwned, &setup::OwnTexts::whyNotOwned},
    {"SHARED", &Texts::shared, &setup::OwnTexts::whyShared},
    {"CHANGED", &Texts::changed, &setup::OwnTexts::whyChanged},
};

bool sameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

Texts::Texts(setup::Language language) {
    const setup::OwnTexts& own = setup::ownTexts(language);
    for (const Key& k : kKeys) this->*k.text = own.*k.own;
}

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

std::optional<setup::Language> recordedLanguage(const Installation& installation) {
    if (!installation.journal) return std::nullopt;
    for (const auto& r : installation.journal->records)
        if (r.tag == kLanguageTag) return setup::languageFromCode(r.field(0));
    return std::nullopt;
}

Texts loadTexts(const platform::ProfileFiles& profiles, std::string_view logFolder,
                std::optional<setup::Language> recorded) {
    std::string file(logFolder);
    if (!file.empty() && file.back() != '\\') file += '\\';
    file += "language.tag";
    const auto words = profiles.values(file, "ZUNINSTALL");
    if (!recorded) {
        std::vector<std::string_view> all;
        const auto pages = profiles.values(file, "LANGUAGE");
        for (const auto& [key, value] : pages) all.push_back(value);
        for (const auto& [key, value] : words) all.push_back(value);
        recorded = setup::languageOfTexts(all);
    }
    Texts texts(*recorded);
    for (const Key& k : kKeys) {
        for (const auto& [key, value] : words) {
            if (!sameKey(key, k.key)) continue;
            if (!value.empty()) texts.*k.text = value;
            break;
        }
    }
    return texts;
}

}  // namespace uninstall
