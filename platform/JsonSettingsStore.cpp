// Settings key kept in a JSON file, read whole at open and saved whole at close.
#include "platform/JsonSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonValue>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVariant>
#include <limits>
#include <utility>

namespace zirpel {

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quillmark/Zirpel.json");
}

std::optional<QJsonObject> ReadSettingsFile(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

bool WriteSettingsFile(const QString& path, const QJsonObject& values) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = QJsonDocument(values).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace zirpel

JsonSettingsStore::JsonSettingsStore(QString path) : path_(std::move(path)) {}

bool JsonSettingsStore::open(bool create) {
    close();
    if (std::optional<QJsonObject> stored = zirpel::ReadSettingsFile(path_)) {
        values_ = *stored;
        open_ = true;
        return true;
    }
    // A missing, unreadable or damaged file is a missing key; creating it starts afresh.
    if (!create || !QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    values_ = QJsonObject();
    open_ = true;
    changed_ = true;
    return true;
}

std::optional<QString> JsonSettingsStore::readString(const QString& name) {
    if (!open_)
        return std::nullopt;
    const QJsonValue value = values_.value(name);
    if (value.isUndefined())
        return QString();
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<qint32> JsonSettingsStore::readInt(const QString& name) {
    if (!open_)
        return std::nullopt;
    const QJsonValue value = values_.value(name);
    // The parser keeps integral numbers as 64-bit integers; fractions and numbers too
    // large for that come back as doubles.
    if (!value.isDouble() || value.toVariant().typeId() != QMetaType::LongLong)
        return std::nullopt;
    const qint64 number = value.toInteger();
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(number);
}

bool JsonSettingsStore::writeString(const QString& name, const QString& value) {
    if (!open_)
        return false;
    values_.insert(name, value);
    changed_ = true;
    return true;
}

bool JsonSettingsStore::writeInt(const QString& name, qint32 value) {
    if (!open_)
        return false;
    values_.insert(name, static_cast<qint64>(value));
    changed_ = true;
    return true;
}

void JsonSettingsStore::close() {
    if (open_ && changed_)
        (void)zirpel::WriteSettingsFile(path_, values_);
    open_ = false;
    changed_ = false;
    values_ = QJsonObject();
}
