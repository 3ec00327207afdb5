#include "settings/qsettings_store.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

namespace vortak {

QString QSettingsStore::defaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QString(kSettingsApplication) + "/" + kSettingsApplication +
                                 ".conf");
}

QSettingsStore::QSettingsStore() : QSettingsStore(defaultPath()) {}

QSettingsStore::QSettingsStore(const QString& iniFile)
    : FileSettingsStore(QDir::cleanPath(iniFile).toStdString()) {
    if (loadError()) {
        qWarning("Vortak: the settings file %s could not be read: %s", path().c_str(),
                 loadError()->c_str());
    }
}

QSettingsStore::~QSettingsStore() {
    // The window placement is set as the main window closes; it reaches the disk here. No
    // one is left to show a box to, so a failure goes to the message log (standard error).
    if (const auto error = save()) {
        qWarning("Vortak: the settings could not be saved: %s", error->c_str());
    }
}

}  // namespace vortak
