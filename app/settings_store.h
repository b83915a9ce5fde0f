#pragma once
// The per-user settings: strings under a section and a value name.

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string getString(const std::string& section, const std::string& name,
                                  const std::string& defaultValue) = 0;
    virtual void setString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
};

// For tests and the command line: remembers values and the order of writes.
class MemorySettingsStore : public SettingsStore {
public:
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) override;
    void setString(const std::string& section, const std::string& name,
                   const std::string& value) override;

    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes; // (section, name) in order
};

} // namespace pixmorph
