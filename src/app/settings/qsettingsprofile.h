#pragma once

#include "engine/profile.h"

#include <QSettings>
#include <QString>

#include <memory>

namespace tessaly {

// The settings in INI format, by default in $XDG_CONFIG_HOME/Norvane/Tessaly.conf, one INI section a
// settings section, value names unchanged.
class QSettingsProfile final : public Profile {
public:
    // The user's own settings file.
    QSettingsProfile();
    // A settings file of the caller's choice (tests, or another profile).
    explicit QSettingsProfile(const QString& filePath);

    int GetInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string GetString(std::string_view section, std::string_view name,
                          std::string_view defaultValue) const override;
    bool HasValue(std::string_view section, std::string_view name) const override;
    bool WriteInt(std::string_view section, std::string_view name, int value) override;
    bool WriteString(std::string_view section, std::string_view name, std::string_view value) override;

    // False when the file exists but could not be read or parsed; nothing should then be written
    // over it, or the user's settings would be lost.
    bool IsReadable() const;
    QString FilePath() const;
    // Writes pending changes to disk; reports success.
    bool Sync();

    static QString DefaultFilePath();

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace tessaly
