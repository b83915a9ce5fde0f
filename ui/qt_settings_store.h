#pragma once
// The settings store over QSettings: on Windows the per-user registry key
// Software\Quillbright GRP File converter\Pixmorph, on Linux the file
// "Quillbright GRP File converter/Pixmorph.conf" under the XDG config folder.

#include "app/settings_store.h"

#include <QSettings>

namespace pixmorph::ui {

class QtSettingsStore : public SettingsStore {
public:
    QtSettingsStore();

    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultValue) override;
    // Failures are not reported; the values reach the disk at the latest when the store ends.
    void setString(const std::string& section, const std::string& name,
                   const std::string& value) override;

    QString fileName() const { return settings_.fileName(); }

private:
    QSettings settings_;
};

} // namespace pixmorph::ui
