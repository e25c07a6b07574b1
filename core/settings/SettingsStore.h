// The persistent key that holds the program's settings as named values.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace zirpel {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Opens the key for reading and writing; with create, makes it when missing.
    [[nodiscard]] virtual bool open(bool create) = 0;
    // A missing value reads as an empty string; a value of another type gives nothing.
    [[nodiscard]] virtual std::optional<QString> readString(const QString& name) = 0;
    // A missing value, or one of another type, gives nothing.
    [[nodiscard]] virtual std::optional<qint32> readInt(const QString& name) = 0;
    [[nodiscard]] virtual bool writeString(const QString& name, const QString& value) = 0;
    [[nodiscard]] virtual bool writeInt(const QString& name, qint32 value) = 0;
    // Closes the key; writes what was changed. Safe when not open.
    virtual void close() = 0;
};

} // namespace zirpel
