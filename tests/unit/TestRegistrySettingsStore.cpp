// The registry store on Windows: value types the store's own writes never make, and the
// key under HKEY_CURRENT_USER where the machine's key is refused (what every store reads
// back is tested in TestSettingsStore). Uses a key of its own.
#include "core/settings/RegistrySettingsStore.h"

#include <QTest>

using namespace zirpel;

namespace {

const wchar_t* const kKey = L"SOFTWARE\\Quillmark\\ZirpelTest";

void SetRaw(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    QCOMPARE(RegCreateKeyExW(root, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
             LONG(ERROR_SUCCESS));
    QCOMPARE(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size),
             LONG(ERROR_SUCCESS));
    RegCloseKey(key);
}

} // namespace

class TestRegistrySettingsStore : public QObject {
    Q_OBJECT
private slots:
    void init() { cleanup(); }
    void cleanup() {
        RegistrySettingsStore::testRefuseMachineKey = false;
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }

    // A string is read from REG_SZ or REG_EXPAND_SZ unchanged; an integer only from a
    // four-byte REG_DWORD; anything else is a value of another type.
    void valueTypes_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QVariant>("asString"); // invalid: no string
        QTest::addColumn<QVariant>("asInt");    // invalid: no integer
        const QString expand = QStringLiteral("%TEMP%\\Grüße.bin");
        const QByteArray expandData(reinterpret_cast<const char*>(expand.utf16()),
                                    (expand.size() + 1) * 2);
        const qint64 wide = 5;
        QTest::newRow("expandable string unchanged")
            << int(REG_EXPAND_SZ) << expandData << QVariant(expand) << QVariant();
        QTest::newRow("REG_QWORD is no integer")
            << int(REG_QWORD) << QByteArray(reinterpret_cast<const char*>(&wide), 8) << QVariant()
            << QVariant();
    }
    void valueTypes() {
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        QFETCH(QVariant, asString);
        QFETCH(QVariant, asInt);
        SetRaw(HKEY_LOCAL_MACHINE, L"Wert", DWORD(type), data.constData(), DWORD(data.size()));
        RegistrySettingsStore store(kKey);
        QVERIFY(store.open(false));
        QCOMPARE(store.root(), HKEY_LOCAL_MACHINE);
        const std::optional<QString> text = store.readString(QStringLiteral("Wert"));
        QCOMPARE(text.has_value(), asString.isValid());
        if (text)
            QCOMPARE(*text, asString.toString());
        const std::optional<qint32> number = store.readInt(QStringLiteral("Wert"));
        QCOMPARE(number.has_value(), asInt.isValid());
        if (number)
            QCOMPARE(*number, asInt.toInt());
    }

    // A standard user may not open the machine's key for full access: the settings live
    // in the same key under HKEY_CURRENT_USER, written and read back there.
    void refusedMachineKeyUsesCurrentUser() {
        RegistrySettingsStore::testRefuseMachineKey = true;
        RegistrySettingsStore store(kKey);
        QVERIFY(store.open(true));
        QCOMPARE(store.root(), HKEY_CURRENT_USER);
        QVERIFY(store.writeInt(QStringLiteral("Reihen"), 32));
        store.close();
        RegistrySettingsStore again(kKey);
        QVERIFY(again.open(false));
        QCOMPARE(again.root(), HKEY_CURRENT_USER);
        QCOMPARE(again.readInt(QStringLiteral("Reihen")), std::optional<qint32>(32));
        HKEY machine = nullptr;
        QCOMPARE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &machine),
                 LONG(ERROR_FILE_NOT_FOUND));
    }
};

QTEST_GUILESS_MAIN(TestRegistrySettingsStore)
#include "TestRegistrySettingsStore.moc"
