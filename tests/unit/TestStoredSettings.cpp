// Reading and writing the twelve settings values over a store that records its use.
#include "MemorySettingsStore.h"
#include "core/settings/StoredSettings.h"

#include <QSet>
#include <QTest>

using namespace zirpel;

namespace {

// Records every name read; writes of the names in failWrites fail.
class RecordingStore : public MemorySettingsStore {
public:
    std::optional<QString> readString(const QString& name) override {
        reads << name;
        return MemorySettingsStore::readString(name);
    }
    std::optional<qint32> readInt(const QString& name) override {
        reads << name;
        return MemorySettingsStore::readInt(name);
    }
    bool writeString(const QString& name, const QString& value) override {
        return !failWrites.contains(name) && MemorySettingsStore::writeString(name, value);
    }
    bool writeInt(const QString& name, qint32 value) override {
        return !failWrites.contains(name) && MemorySettingsStore::writeInt(name, value);
    }
    QStringList reads;
    QSet<QString> failWrites;
};

const QStringList AllNames = {"Datei1",  "Datei2",    "Datei3",     "Datei4",   "frmTop",
                              "frmLeft", "HexReihen", "HexSpalten", "HexOrDez", "Gitter"};

} // namespace

class TestStoredSettings : public QObject {
    Q_OBJECT
private slots:
    void integersStopAtTheFirstFailure_data() {
        QTest::addColumn<QString>("missing");
        QTest::addColumn<int>("readCount");
        QTest::newRow("nothing missing: all ten read") << "" << 10;
        QTest::newRow("frmTop missing: frmLeft not read") << "frmTop" << 5;
        QTest::newRow("frmLeft missing") << "frmLeft" << 6;
        QTest::newRow("HexReihen missing") << "HexReihen" << 7;
        QTest::newRow("Gitter missing: read last") << "Gitter" << 10;
        QTest::newRow("a recent file missing: the rest is read") << "Datei2" << 10;
    }
    void integersStopAtTheFirstFailure() {
        QFETCH(QString, missing);
        QFETCH(int, readCount);
        RecordingStore store;
        store.keyExists = true;
        for (const QString& name : AllNames)
            store.values.insert(name, name.startsWith(QLatin1String("Datei")) ? QVariant(name)
                                                                              : QVariant(24));
        store.values.remove(missing);
        const LoadedSettings loaded = LoadStoredSettings(store, {});
        QCOMPARE(store.reads, AllNames.mid(0, readCount));
        QCOMPARE(loaded.centre, !missing.isEmpty() && !missing.startsWith(QLatin1String("Datei")));
        QVERIFY(!store.isOpen);
    }

    void aFailedValueDoesNotStopTheOthers() {
        RecordingStore store;
        store.failWrites = {QStringLiteral("Datei2"), QStringLiteral("frmTop")};
        StoredSettings values;
        values.recentFiles = {QStringLiteral("/a"), QStringLiteral("/b"), QString(), QString()};
        values.rows = 20;
        values.columns = 24;
        values.decimalAddresses = 1;
        QVERIFY(!SaveStoredSettings(store, values, QRect(10, 20, 250, 200)));
        const QMap<QString, QVariant> expected = {{"Datei1", QStringLiteral("/a")},
                                                  {"Datei3", QString()},
                                                  {"Datei4", QString()},
                                                  {"frmLeft", 10},
                                                  {"frmWidth", 250},
                                                  {"frmHeight", 200},
                                                  {"HexReihen", 20},
                                                  {"HexSpalten", 24},
                                                  {"HexOrDez", 1},
                                                  {"Gitter", 0}};
        QCOMPARE(store.values, expected);
        QVERIFY(!store.isOpen);
    }

    void keyThatCannotBeCreatedGetsNothing() {
        struct Refusing : MemorySettingsStore {
            bool open(bool) override { return false; }
        } store;
        QVERIFY(!SaveStoredSettings(store, {}, QRect(0, 0, 250, 200)));
        QVERIFY(store.values.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStoredSettings)
#include "TestStoredSettings.moc"
