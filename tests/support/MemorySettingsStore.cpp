#include "MemorySettingsStore.h"

bool MemorySettingsStore::open(bool create) {
    if (!keyExists && create)
        keyExists = true;
    isOpen = keyExists;
    return isOpen;
}

std::optional<QString> MemorySettingsStore::readString(const QString& name) {
    if (!isOpen)
        return std::nullopt;
    if (!values.contains(name))
        return QString();
    const QVariant v = values.value(name);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<qint32> MemorySettingsStore::readInt(const QString& name) {
    const QVariant v = values.value(name);
    if (!isOpen || v.typeId() != QMetaType::Int)
        return std::nullopt;
    return v.toInt();
}

bool MemorySettingsStore::writeString(const QString& name, const QString& value) {
    if (!isOpen)
        return false;
    values.insert(name, value);
    return true;
}

bool MemorySettingsStore::writeInt(const QString& name, qint32 value) {
    if (!isOpen)
        return false;
    values.insert(name, value);
    return true;
}
