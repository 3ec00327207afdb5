#include "settings/qsettings_store.h"

namespace vortak {

namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            kSettingsApplication, kSettingsApplication)) {}

QSettingsStore::QSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QString QSettingsStore::storedKey(const QString& section, const QString& key) const {
    // Groups are matched without regard to case as well.
    QString group;
    for (const QString& candidate : settings_->childGroups()) {
        if (candidate.compare(section, Qt::CaseInsensitive) == 0) group = candidate;
    }
    if (group.isEmpty()) return {};
    settings_->beginGroup(group);
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    for (const QString& candidate : keys) {
        if (candidate.compare(key, Qt::CaseInsensitive) == 0) return group + '/' + candidate;
    }
    return {};
}

std::optional<std::string> QSettingsStore::value(std::string_view section,
                                                 std::string_view key) const {
    const QString stored = storedKey(qt(section), qt(key));
    if (stored.isEmpty()) return std::nullopt;
    return settings_->value(stored).toString().toStdString();
}

void QSettingsStore::setValue(std::string_view section, std::string_view key,
                              std::string_view value) {
    QString stored = storedKey(qt(section), qt(key));
    if (stored.isEmpty()) stored = qt(section) + '/' + qt(key);
    settings_->setValue(stored, qt(value));
}

}  // namespace vortak
