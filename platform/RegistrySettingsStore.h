// The settings key in the Windows registry: HKEY_LOCAL_MACHINE\SOFTWARE\Quillmark\Zirpel.
// Compiled only on Windows.
#pragma once

#include "platform/SettingsStore.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

class RegistrySettingsStore : public SettingsStore {
public:
    RegistrySettingsStore() = default;
    ~RegistrySettingsStore() override;
    RegistrySettingsStore(const RegistrySettingsStore&) = delete;
    RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

    bool open(bool create) override;
    std::optional<QString> readString(const QString& name) override;
    std::optional<qint32> readInt(const QString& name) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInt(const QString& name, qint32 value) override;
    void close() override;

private:
    HKEY key_ = nullptr;
};
