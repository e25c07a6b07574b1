// A settings key held in memory: strings and 32-bit integers by name; any other
// QVariant stands for a value of another type.
#pragma once

#include "core/settings/SettingsStore.h"

#include <QMap>
#include <QVariant>

class MemorySettingsStore : public zirpel::SettingsStore {
public:
    bool open(bool create) override;
    std::optional<QString> readString(const QString& name) override;
    std::optional<qint32> readInt(const QString& name) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInt(const QString& name, qint32 value) override;
    void close() override { isOpen = false; }

    bool keyExists = false;
    bool isOpen = false;
    QMap<QString, QVariant> values;
};
