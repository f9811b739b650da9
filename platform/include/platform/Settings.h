#pragma once
// Per-user settings by application, section and key, as a Windows program keeps them
// (HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>).

#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // fallback when the key is missing or unreadable.
    virtual std::string get(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view fallback) const = 0;
    virtual bool save(std::string_view app, std::string_view section, std::string_view key,
                      std::string_view value) = 0;
};

std::unique_ptr<SettingsStore> makeRegistrySettings(Registry& registry);

}  // namespace platform
