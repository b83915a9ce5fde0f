#include "ui/qt_settings_store.h"

#include "app/startup.h"

#include <QStringList>

namespace pixmorph::ui {

namespace {

QString key(const std::string& section, const std::string& name) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope,
                QString::fromLatin1(kSettingsOrganisation),
                QString::fromLatin1(kSettingsApplication)) {}

std::string QtSettingsStore::getString(const std::string& section, const std::string& name,
                                       const std::string& defaultValue) {
    const QVariant value = settings_.value(key(section, name));
    if (!value.isValid())
        return defaultValue;
    // A hand-written settings file may hold an unquoted text with commas, which reads as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

void QtSettingsStore::setString(const std::string& section, const std::string& name,
                                const std::string& value) {
    settings_.setValue(key(section, name), QString::fromStdString(value));
}

} // namespace pixmorph::ui
