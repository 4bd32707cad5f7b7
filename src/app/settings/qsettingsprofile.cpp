#include "app/settings/qsettingsprofile.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace tessaly {

namespace {

// An unquoted INI value with commas reads as a list; the settings only know texts, so join it again.
QString ValueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

QString Key(std::string_view section, std::string_view name) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QString QSettingsProfile::DefaultFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Norvane/Tessaly.conf");
}

QSettingsProfile::QSettingsProfile()
    : QSettingsProfile(DefaultFilePath()) {}

QSettingsProfile::QSettingsProfile(const QString& filePath)
    : settings_(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

int QSettingsProfile::GetInt(std::string_view section, std::string_view name, int defaultValue) const {
    const QVariant value = settings_->value(Key(section, name));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = ValueText(value).trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

std::string QSettingsProfile::GetString(std::string_view section, std::string_view name,
                                        std::string_view defaultValue) const {
    const QVariant value = settings_->value(Key(section, name));
    if (!value.isValid())
        return std::string(defaultValue);
    return ValueText(value).toStdString();
}

bool QSettingsProfile::HasValue(std::string_view section, std::string_view name) const {
    return settings_->contains(Key(section, name));
}

bool QSettingsProfile::WriteInt(std::string_view section, std::string_view name, int value) {
    settings_->setValue(Key(section, name), value);
    return settings_->status() == QSettings::NoError;
}

bool QSettingsProfile::WriteString(std::string_view section, std::string_view name, std::string_view value) {
    settings_->setValue(Key(section, name),
                        QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    return settings_->status() == QSettings::NoError;
}

bool QSettingsProfile::IsReadable() const {
    if (settings_->status() != QSettings::NoError)
        return false;
    const QFileInfo file(settings_->fileName());
    return !file.exists() || file.isReadable();
}

QString QSettingsProfile::FilePath() const {
    return settings_->fileName();
}

bool QSettingsProfile::Sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

} // namespace tessaly
