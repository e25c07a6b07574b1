// The settings key as a JSON file: value types, damaged files and atomic saving.
#include "FileBytes.h"
#include "core/settings/JsonSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace zirpel;

class TestJsonSettingsStore : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = dir_->filePath(QStringLiteral("Quillmark/Zirpel.json"));
    }

    void defaultPathIsTheConfigLocation() {
        QCOMPARE(DefaultSettingsPath(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/Quillmark/Zirpel.json"));
    }

    // Looking makes no folder; a save leaves no temporary file beside the file. What every
    // store reads back is tested in TestSettingsStore.
    void lookingMakesNothingAndASaveLeavesOnlyTheFile() {
        JsonSettingsStore store(path_);
        QVERIFY(!store.open(false));
        QVERIFY(!QFileInfo::exists(QFileInfo(path_).absolutePath()));
        QVERIFY(store.open(true));
        QVERIFY(store.writeInt(QStringLiteral("frmLeft"), 2147483647));
        store.close();
        QCOMPARE(QDir(QFileInfo(path_).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Zirpel.json")});
    }

    // JSON values the store's own writes never make.
    void valueTypes_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("integer");    // -999 for "not an integer"
        QTest::addColumn<QString>("string"); // "-" for "not a string"
        QTest::newRow("one above the 32-bit range") << QByteArray("2147483648") << -999 << "-";
        QTest::newRow("one below the 32-bit range") << QByteArray("-2147483649") << -999 << "-";
        QTest::newRow("beyond 64 bits") << QByteArray("1e30") << -999 << "-";
        QTest::newRow("fraction") << QByteArray("1.5") << -999 << "-";
        QTest::newRow("null") << QByteArray("null") << -999 << "-";
        QTest::newRow("array") << QByteArray("[16]") << -999 << "-";
        QTest::newRow("object") << QByteArray("{}") << -999 << "-";
    }
    void valueTypes() {
        QFETCH(QByteArray, json);
        QFETCH(int, integer);
        QFETCH(QString, string);
        QDir().mkpath(QFileInfo(path_).absolutePath());
        QVERIFY(WriteWholeFile(path_, "{\"v\": " + json + "}"));
        JsonSettingsStore store(path_);
        QVERIFY(store.open(false));
        const std::optional<qint32> i = store.readInt(QStringLiteral("v"));
        QCOMPARE(i, integer == -999 ? std::nullopt : std::optional<qint32>(integer));
        const std::optional<QString> s = store.readString(QStringLiteral("v"));
        QCOMPARE(s, string == QLatin1String("-") ? std::nullopt : std::optional<QString>(string));
    }

    void damagedFileIsAMissingKey_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("cut off in the middle") << QByteArray("{\"Datei1\": \"/a\", \"frm");
        QTest::newRow("not JSON") << QByteArray("Datei1=/a\n");
        QTest::newRow("an array, not an object") << QByteArray("[1, 2]");
        QTest::newRow("binary junk") << QByteArray("\xff\xfe\x00{", 4);
    }
    void damagedFileIsAMissingKey() {
        QFETCH(QByteArray, content);
        QDir().mkpath(QFileInfo(path_).absolutePath());
        QVERIFY(WriteWholeFile(path_, content));
        JsonSettingsStore store(path_);
        QVERIFY(!store.open(false));
        store.close();
        QCOMPARE(ReadWholeFile(path_), content); // reading never repairs
        // Saving creates the key afresh: the whole file is the new object.
        QVERIFY(store.open(true));
        QVERIFY(store.writeInt(QStringLiteral("Gitter"), 1));
        store.close();
        QCOMPARE(QJsonDocument::fromJson(ReadWholeFile(path_)).object(),
                 QJsonObject({{QStringLiteral("Gitter"), 1}}));
    }

    void directoryInPlaceOfTheFile() {
        QVERIFY(QDir().mkpath(path_));
        JsonSettingsStore store(path_);
        QVERIFY(!store.open(false));
        QVERIFY(store.open(true));
        QVERIFY(store.writeInt(QStringLiteral("Gitter"), 1));
        store.close(); // the save fails quietly
        QVERIFY(QFileInfo(path_).isDir());
    }

    void pathThroughARegularFile() {
        const QString blocker = dir_->filePath(QStringLiteral("Quillmark"));
        QVERIFY(WriteWholeFile(blocker, "not a folder"));
        JsonSettingsStore store(path_);
        QVERIFY(!store.open(false));
        QVERIFY(!store.open(true));
        QVERIFY(!store.writeInt(QStringLiteral("Gitter"), 1));
        store.close();
        QCOMPARE(ReadWholeFile(blocker), QByteArray("not a folder"));
    }

    void readingLeavesTheFileAsItWas() {
        QDir().mkpath(QFileInfo(path_).absolutePath());
        const QByteArray content("{ \"HexReihen\":24,\n\"Extra\": [1] }");
        QVERIFY(WriteWholeFile(path_, content));
        JsonSettingsStore store(path_);
        QVERIFY(store.open(false));
        QCOMPARE(store.readInt(QStringLiteral("HexReihen")), std::optional<qint32>(24));
        store.close();
        QCOMPARE(ReadWholeFile(path_), content);
    }

#ifdef Q_OS_UNIX
    // A writer killed at any moment of a save leaves the old or the new file, whole.
    void killedWhileSavingLeavesAWholeFile() {
        QVERIFY(QDir().mkpath(QFileInfo(path_).absolutePath()));
        // As large as a settings file may be, so a save takes long enough to be hit.
        const QJsonObject a{{QStringLiteral("Datei1"), QString(1000000, QLatin1Char('a'))}};
        const QJsonObject b{{QStringLiteral("Datei1"), QString(1 << 19, QLatin1Char('b'))},
                            {QStringLiteral("HexReihen"), 32}};
        QVERIFY(WriteSettingsFile(path_, a));
        for (int round = 0; round < 6; ++round) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (int i = 0; i < 100000; ++i)
                    (void)WriteSettingsFile(path_, i % 2 ? a : b);
                _exit(0);
            }
            QThread::msleep(10 + 7 * round);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            const std::optional<QJsonObject> left = ReadSettingsFile(path_);
            QVERIFY2(left && (*left == a || *left == b), qPrintable(QString::number(round)));
        }
    }
#endif
};

QTEST_GUILESS_MAIN(TestJsonSettingsStore)
#include "TestJsonSettingsStore.moc"
