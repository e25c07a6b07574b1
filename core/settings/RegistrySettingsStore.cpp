// Registry access with the wide-character API. Reading and writing both ask for full
// access; a user who may not have it under HKEY_LOCAL_MACHINE keeps the settings under
// HKEY_CURRENT_USER instead, so a standard user still keeps them.
#include "core/settings/RegistrySettingsStore.h"

#include <vector>

namespace zirpel {

namespace {

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

} // namespace

RegistrySettingsStore::~RegistrySettingsStore() {
    close();
}

bool RegistrySettingsStore::open(bool create) {
    close();
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        if (root == HKEY_LOCAL_MACHINE && testRefuseMachineKey)
            continue;
        const LONG result =
            create ? RegCreateKeyExW(root, keyPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key_, nullptr)
                   : RegOpenKeyExW(root, keyPath_.c_str(), 0, KEY_ALL_ACCESS, &key_);
        if (result == ERROR_SUCCESS) {
            root_ = root;
            return true;
        }
        key_ = nullptr;
    }
    return false;
}

std::optional<QString> RegistrySettingsStore::readString(const QString& name) {
    if (!key_)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key_, Wide(name), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return QString();
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    // The stored text need not end with a zero; room for one more is kept.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    result = RegQueryValueExW(key_, Wide(name), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    size_t length = size / sizeof(wchar_t);
    while (length > 0 && buffer[length - 1] == L'\0')
        --length;
    return QString::fromWCharArray(buffer.data(), static_cast<qsizetype>(length));
}

std::optional<qint32> RegistrySettingsStore::readInt(const QString& name) {
    if (!key_)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    const LONG result =
        RegQueryValueExW(key_, Wide(name), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return static_cast<qint32>(value);
}

bool RegistrySettingsStore::writeString(const QString& name, const QString& value) {
    if (!key_)
        return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_, Wide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(Wide(value)),
                          bytes) == ERROR_SUCCESS;
}

bool RegistrySettingsStore::writeInt(const QString& name, qint32 value) {
    if (!key_)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(key_, Wide(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof(data)) == ERROR_SUCCESS;
}

void RegistrySettingsStore::close() {
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
    root_ = nullptr;
}

} // namespace zirpel
