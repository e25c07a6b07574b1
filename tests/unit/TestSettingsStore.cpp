// What every settings store does, whichever holds the key: the JSON file, the Windows
// registry and the memory store of the window tests. Types, missing values, values of
// another type, and what is written read back at the next open.
#include "MemorySettingsStore.h"
#include "core/settings/JsonSettingsStore.h"
#ifdef _WIN32
#include "core/settings/RegistrySettingsStore.h"
#endif

#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <functional>
#include <memory>

using namespace zirpel;

namespace {

#ifdef _WIN32
const wchar_t* const kKey = L"SOFTWARE\\Quillmark\\ZirpelTest";
#endif

// A store on a key of its own, missing at first, and how a value of another type gets
// into that key beside the store.
struct Subject {
    std::unique_ptr<SettingsStore> store;
    std::function<void(const QString& name)> putForeign;
};

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;

    Subject make(const QString& kind) {
        if (kind == QLatin1String("memory")) {
            auto store = std::make_unique<MemorySettingsStore>();
            MemorySettingsStore* memory = store.get();
            return {std::move(store),
                    [memory](const QString& name) { memory->values.insert(name, true); }};
        }
#ifdef _WIN32
        if (kind == QLatin1String("registry"))
            return {std::make_unique<RegistrySettingsStore>(kKey), [](const QString& name) {
                        HKEY key = nullptr;
                        const char bytes[4] = {};
                        QVERIFY(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key) ==
                                    ERROR_SUCCESS &&
                                RegSetValueExW(key, reinterpret_cast<LPCWSTR>(name.utf16()), 0,
                                               REG_BINARY, reinterpret_cast<const BYTE*>(bytes),
                                               4) == ERROR_SUCCESS);
                        RegCloseKey(key);
                    }};
#endif
        const QString path = dir_->filePath(QStringLiteral("Quillmark/Zirpel.json"));
        return {std::make_unique<JsonSettingsStore>(path), [path](const QString& name) {
                    QJsonObject values = ReadSettingsFile(path).value_or(QJsonObject());
                    values.insert(name, true);
                    QVERIFY(WriteSettingsFile(path, values));
                }};
    }

private slots:
    void init() {
        cleanup();
        dir_ = std::make_unique<QTemporaryDir>();
    }
    void cleanup() {
#ifdef _WIN32
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
#endif
    }

    void contract_data() {
        QTest::addColumn<QString>("store");
        QTest::addColumn<QVariant>("written");  // a text, an integer, true for another type
        QTest::addColumn<QVariant>("asString"); // invalid: no text
        QTest::addColumn<QVariant>("asInt");    // invalid: no integer
        const QString path = QStringLiteral("C:\\Daten\\Grüße \"1\" Ω.bin");
        const struct {
            const char* name;
            QVariant written, asString, asInt;
        } cases[] = {
            {"missing value", {}, QString(), {}},
            {"text", path, path, {}},
            {"empty text", QString(), QString(), {}},
            {"number as a text", QStringLiteral("16"), QStringLiteral("16"), {}},
            {"lowest 32-bit integer", INT_MIN, {}, INT_MIN},
            {"highest 32-bit integer", INT_MAX, {}, INT_MAX},
            {"value of another type", true, {}, {}},
        };
        QStringList stores{QStringLiteral("json"), QStringLiteral("memory")};
#ifdef _WIN32
        stores << QStringLiteral("registry");
#endif
        for (const QString& store : stores) {
            for (const auto& c : cases)
                QTest::addRow("%s: %s", qPrintable(store), c.name)
                    << store << c.written << c.asString << c.asInt;
        }
    }
    void contract() {
        QFETCH(QString, store);
        QFETCH(QVariant, written);
        QFETCH(QVariant, asString);
        QFETCH(QVariant, asInt);
        const QString name = QStringLiteral("Wert");
        Subject s = make(store);
        // Looking makes no key; a store not open takes and gives no value.
        QVERIFY(!s.store->open(false));
        QVERIFY(!s.store->writeInt(name, 1) && !s.store->writeString(name, QString()));
        QVERIFY(s.store->open(true));
        if (written.typeId() == QMetaType::QString)
            QVERIFY(s.store->writeString(name, written.toString()));
        else if (written.typeId() == QMetaType::Int)
            QVERIFY(s.store->writeInt(name, written.toInt()));
        s.store->close();
        if (written.typeId() == QMetaType::Bool)
            s.putForeign(name);
        QCOMPARE(s.store->readString(name), std::nullopt);
        QCOMPARE(s.store->readInt(name), std::nullopt);
        QVERIFY(s.store->open(false));
        const std::optional<QString> text = s.store->readString(name);
        QCOMPARE(text ? QVariant(*text) : QVariant(), asString);
        const std::optional<qint32> number = s.store->readInt(name);
        QCOMPARE(number ? QVariant(*number) : QVariant(), asInt);
        s.store->close();
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "TestSettingsStore.moc"
