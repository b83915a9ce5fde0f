#pragma once
// The per-user settings: strings under a section and a value name.

#include <string>

namespace pixmorph {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string getString(const std::string& section, const std::string& name,
                                  const std::string& defaultValue) = 0;
    virtual void setString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
};

} // namespace pixmorph
