#pragma once
// A settings store in memory that remembers the order of its writes.

#include "app/settings_store.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace pixmorph::testing {

class MemorySettingsStore : public SettingsStore {
public:
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) override {
        const auto found = values.find({section, name});
        return found == values.end() ? defaultValue : found->second;
    }
    void setString(const std::string& section, const std::string& name,
                   const std::string& value) override {
        values[{section, name}] = value;
        writes.emplace_back(section, name);
    }

    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes; // (section, name) in order
};

} // namespace pixmorph::testing
