// The settings key as one JSON file: an object whose members are the key's values by
// name. A string member is a string value, an integral number in the 32-bit range a
// 32-bit value, anything else a value of another type.
#pragma once

#include "core/settings/SettingsStore.h"

#include <QJsonObject>
#include <QString>
#include <optional>

namespace zirpel {

// Where the program keeps its settings outside Windows:
// <GenericConfigLocation>/Quillmark/Zirpel.json.
[[nodiscard]] QString DefaultSettingsPath();

// The object held in the file; nothing when the file is missing, unreadable, not a
// regular file, larger than 1 MiB, or not a JSON object.
[[nodiscard]] std::optional<QJsonObject> ReadSettingsFile(const QString& path);

// Replaces the file as a whole: the old file stays untouched until the new one is
// complete on disk, so a crash never leaves half a file behind.
[[nodiscard]] bool WriteSettingsFile(const QString& path, const QJsonObject& values);

class JsonSettingsStore : public SettingsStore {
public:
    explicit JsonSettingsStore(QString path);

    // A pipe, a device or a file over 1 MiB at the path is a missing key that is never
    // replaced: open fails even when creating.
    bool open(bool create) override;
    std::optional<QString> readString(const QString& name) override;
    std::optional<qint32> readInt(const QString& name) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInt(const QString& name, qint32 value) override;
    // Saves what was written since open; a failed save leaves the old file as it was.
    void close() override;

    [[nodiscard]] const QString& path() const { return path_; }

private:
    QString path_;
    QJsonObject values_;
    bool open_ = false;
    bool changed_ = false;
};

} // namespace zirpel
