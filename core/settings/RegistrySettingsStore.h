// The settings key in the Windows registry: HKEY_LOCAL_MACHINE\SOFTWARE\Quillmark\Zirpel,
// or the same key under HKEY_CURRENT_USER where the machine's key may not be opened for
// full access (a standard user since Vista). Compiled only on Windows.
#pragma once

#include "core/settings/SettingsStore.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace zirpel {

class RegistrySettingsStore : public SettingsStore {
public:
    // Test seam, never set by the program: refuses the key under HKEY_LOCAL_MACHINE as
    // the system refuses it to a standard user.
    static inline bool testRefuseMachineKey = false;

    // The program's key: SOFTWARE\Quillmark\Zirpel; tests use a key of their own.
    explicit RegistrySettingsStore(std::wstring keyPath = L"SOFTWARE\\Quillmark\\Zirpel")
        : keyPath_(std::move(keyPath)) {}
    ~RegistrySettingsStore() override;
    RegistrySettingsStore(const RegistrySettingsStore&) = delete;
    RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

    bool open(bool create) override;
    std::optional<QString> readString(const QString& name) override;
    std::optional<qint32> readInt(const QString& name) override;
    bool writeString(const QString& name, const QString& value) override;
    bool writeInt(const QString& name, qint32 value) override;
    void close() override;

    // The root the open key lies under, or nullptr when none is open.
    [[nodiscard]] HKEY root() const { return root_; }

private:
    std::wstring keyPath_;
    HKEY root_ = nullptr;
    HKEY key_ = nullptr;
};

} // namespace zirpel
