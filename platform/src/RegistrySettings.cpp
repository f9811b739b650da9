#include <string>

#include "platform/Settings.h"

namespace platform {

namespace {

constexpr std::string_view kBaseKey = "Software\\VB and VBA Program Settings\\";

class RegistrySettings final : public SettingsStore {
public:
    explicit RegistrySettings(Registry& registry) : registry_(registry) {}

    std::string get(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view fallback) const override {
        if (!valid(app, section, key)) return std::string(fallback);
        auto v = registry_.value(RegRoot::CurrentUser, keyPath(app, section), key);
        if (!v || (v->type != RegValue::Type::String && v->type != RegValue::Type::ExpandString)) {
            return std::string(fallback);
        }
        return v->text;
    }

    bool save(std::string_view app, std::string_view section, std::string_view key,
              std::string_view value) override {
        if (!valid(app, section, key)) return false;
        RegValue v;
        v.type = RegValue::Type::String;
        v.text = std::string(value);
        return registry_.setValue(RegRoot::CurrentUser, keyPath(app, section), key, v);
    }

private:
    // A backslash would silently nest the setting under other keys; an empty part has no key
    // of its own (and an empty key name would be the key's default value).
    static bool valid(std::string_view app, std::string_view section, std::string_view key) {
        for (std::string_view part : {app, section}) {
            if (part.empty() || part.find('\\') != std::string_view::npos) return false;
        }
        return !key.empty();
    }

    static std::string keyPath(std::string_view app, std::string_view section) {
        std::string path(kBaseKey);
        path += app;
        path += '\\';
        path += section;
        return path;
    }

    Registry& registry_;
};

}  // namespace

std::unique_ptr<SettingsStore> makeRegistrySettings(Registry& registry) {
    return std::make_unique<RegistrySettings>(registry);
}

}  // namespace platform
