#include "app/settings_store.h"

namespace pixmorph {

std::string MemorySettingsStore::getString(const std::string& section, const std::string& name,
                                           const std::string& defaultValue) {
    auto found = values.find({section, name});
    return found == values.end() ? defaultValue : found->second;
}

void MemorySettingsStore::setString(const std::string& section, const std::string& name,
                                    const std::string& value) {
    values[{section, name}] = value;
    writes.emplace_back(section, name);
}

} // namespace pixmorph
