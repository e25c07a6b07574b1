// Settings key kept in a JSON file, read whole at open and saved whole at close.
#include "core/settings/JsonSettingsStore.h"

#include "core/file/BinaryFile.h"

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

namespace {

// Settings take a few hundred bytes; anything far larger is not a settings file.
constexpr qint64 kMaxSettingsFileSize = 1024 * 1024;

// A pipe, a device or a huge file at the settings path is nothing of ours: it is neither
// read nor replaced. (A directory cannot be replaced anyway; the save fails quietly.)
bool ForeignFileAt(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir() && (!info.isFile() || info.size() > kMaxSettingsFileSize);
}

} // namespace

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quillmark/Zirpel.json");
}

std::optional<QJsonObject> ReadSettingsFile(const QString& path) {
    // Opened without waiting on a pipe, and read only up to the size settings can have.
    BinaryFile file;
    if (!file.open(path, BinaryFile::Mode::Read))
        return std::nullopt;
    const qint64 size = file.size();
    if (size < 0 || size > kMaxSettingsFileSize || !file.seek(0))
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    if (file.read(bytes.data(), std::size_t(size)) != std::size_t(size))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
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

JsonSettingsStore::JsonSettingsStore(QString path) : path_(std::move(path)) {}

bool JsonSettingsStore::open(bool create) {
    close();
    if (std::optional<QJsonObject> stored = ReadSettingsFile(path_)) {
        values_ = *stored;
        open_ = true;
        return true;
    }
    // A missing, unreadable or damaged file is a missing key; creating it starts afresh.
    if (!create || ForeignFileAt(path_) || !QDir().mkpath(QFileInfo(path_).absolutePath()))
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
        (void)WriteSettingsFile(path_, values_);
    open_ = false;
    changed_ = false;
    values_ = QJsonObject();
}

} // namespace zirpel
