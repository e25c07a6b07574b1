// The settings file: any bytes as the file, then what the store holds saved and read again.
#include "FuzzInput.h"
#include "core/settings/JsonSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

using namespace zirpel;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    fuzz::Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(bytes) == bytes.size(),
                "writing the input file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    fuzz::Check(dir.isValid(), "temporary folder");
    const QString path = dir.filePath(QStringLiteral("Zirpel.json"));

    fuzz::Input in(data, size);
    const quint8 mode = in.Byte();
    const qint32 number = qint32(in.Word());
    const QByteArray bytes = in.Rest();
    WriteFile(path, bytes);

    // Reading: the store opens exactly when the file holds an object, and every value
    // reads back as the file has it.
    const std::optional<QJsonObject> stored = ReadSettingsFile(path);
    JsonSettingsStore store(path);
    fuzz::Check(store.open(false) == stored.has_value(), "open(false) on an existing file");
    if (stored) {
        for (auto it = stored->begin(); it != stored->end(); ++it) {
            const std::optional<QString> text = store.readString(it.key());
            fuzz::Check(text.has_value() == it.value().isString() &&
                            (!text || *text == it.value().toString()),
                        "readString");
            const std::optional<qint32> value = store.readInt(it.key());
            fuzz::Check(!value || (it.value().isDouble() && *value == it.value().toInteger()),
                        "readInt");
        }
    }
    store.close();
    // Not changed, not saved.
    QFile file(path);
    fuzz::Check(file.open(QIODevice::ReadOnly) && file.readAll() == bytes,
                "a store closed without changes leaves the file alone");
    file.close();

    // Saving and reading again: the values written come back, and so does everything
    // the file held before.
    const QString name =
        (mode & 1) ? QString::fromLatin1(bytes.left(12)) : QStringLiteral("Spalten");
    const QString text = QString::fromUtf8(bytes.right(20));
    fuzz::Check(store.open(true), "open(true)");
    fuzz::Check(store.writeInt(name, number), "writeInt");
    fuzz::Check(store.writeString(name + QLatin1Char('s'), text), "writeString");
    store.close();
    const std::optional<QJsonObject> saved = ReadSettingsFile(path);
    fuzz::Check(saved.has_value(), "the saved file reads as an object");
    QJsonObject expected = stored.value_or(QJsonObject());
    expected.insert(name, qint64(number));
    expected.insert(name + QLatin1Char('s'), text);
    fuzz::Check(*saved == expected, "save-and-reload round trip");
    fuzz::Check(store.open(false), "reopening");
    fuzz::Check(store.readInt(name) == number, "the number written reads back");
    fuzz::Check(store.readString(name + QLatin1Char('s')) == text, "the text written reads back");
    store.close();
    return 0;
}
