// The registry store on Windows: value types as the program reads them, and the key under
// HKEY_CURRENT_USER where the machine's key is refused. Uses a key of its own.
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
        const qint32 minus = -2;
        const qint64 wide = 5;
        QTest::newRow("expandable string unchanged")
            << int(REG_EXPAND_SZ) << expandData << QVariant(expand) << QVariant();
        QTest::newRow("negative REG_DWORD")
            << int(REG_DWORD) << QByteArray(reinterpret_cast<const char*>(&minus), 4) << QVariant()
            << QVariant(-2);
        QTest::newRow("REG_QWORD is no integer")
            << int(REG_QWORD) << QByteArray(reinterpret_cast<const char*>(&wide), 8) << QVariant()
            << QVariant();
        QTest::newRow("four binary bytes are no integer")
            << int(REG_BINARY) << QByteArray(4, '\1') << QVariant() << QVariant();
    }
    void valueTypes() {
        QFETCH(int, type);
        QFETCH(QByteArray, data);
        QFETCH(QVariant, asString);
        QFETCH(QVariant, asInt);
        SetRaw(HKEY_LOCAL_MACHINE, L"Wert", DWORD(type), data.constData(), DWORD(data.size()));
        RegistrySettingsStore store(kKey);
        QVERIFY(store.open(false));
        const std::optional<QString> text = store.readString(QStringLiteral("Wert"));
        QCOMPARE(text.has_value(), asString.isValid());
        if (text)
            QCOMPARE(*text, asString.toString());
        const std::optional<qint32> number = store.readInt(QStringLiteral("Wert"));
        QCOMPARE(number.has_value(), asInt.isValid());
        if (number)
            QCOMPARE(*number, asInt.toInt());
        QCOMPARE(store.readString(QStringLiteral("fehlt")), std::optional<QString>(QString()));
        QCOMPARE(store.readInt(QStringLiteral("fehlt")), std::optional<qint32>());
    }

    // Written values come back as the types the program reads, at the next start too.
    void writtenValuesReadBack() {
        RegistrySettingsStore store(kKey);
        QVERIFY(!store.open(false));
        QVERIFY(store.open(true));
        QCOMPARE(store.root(), HKEY_LOCAL_MACHINE);
        QVERIFY(
            store.writeString(QStringLiteral("Datei1"), QStringLiteral("C:\\Daten\\Grüße Ω.bin")));
        QVERIFY(store.writeInt(QStringLiteral("frmLeft"), -8));
        store.close();
        RegistrySettingsStore again(kKey);
        QVERIFY(again.open(false));
        QCOMPARE(again.readString(QStringLiteral("Datei1")),
                 std::optional<QString>(QStringLiteral("C:\\Daten\\Grüße Ω.bin")));
        QCOMPARE(again.readInt(QStringLiteral("frmLeft")), std::optional<qint32>(-8));
        QCOMPARE(again.readInt(QStringLiteral("Datei1")), std::optional<qint32>());
        QCOMPARE(again.readString(QStringLiteral("frmLeft")), std::optional<QString>());
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
