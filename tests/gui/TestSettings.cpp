// Settings kept between runs: the window started over a settings file made for each
// case in a temporary folder, and the whole file it leaves at close.
#include "WindowHarness.h"
#include "core/settings/JsonSettingsStore.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace zirpel;

namespace {

// The window over a JSON settings file; null content means no file.
struct JsonWindow {
    explicit JsonWindow(const QString& path) : store(path) {
        window = std::make_unique<TFrmHexEditor>(Platform{dialogs, store, help});
    }
    void showAndActivate() {
        window->show();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <typename T> T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    JsonSettingsStore store;
    FakeDialogs dialogs;
    FakeHelpViewer help;
    std::unique_ptr<TFrmHexEditor> window;
};

const QJsonObject Complete{{"Datei1", "/a"},   {"Datei2", "/b"},   {"Datei3", "/c"},
                           {"Datei4", "/d"},   {"frmTop", 90},     {"frmLeft", 120},
                           {"frmWidth", 700},  {"frmHeight", 500}, {"HexReihen", 24},
                           {"HexSpalten", 20}, {"HexOrDez", 1},    {"Gitter", 1}};

// The complete settings with some values changed and some removed.
QByteArray Stored(const QJsonObject& changes, const QStringList& removed = {}) {
    QJsonObject o = Complete;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        o.insert(it.key(), it.value());
    for (const QString& name : removed)
        o.remove(name);
    return QJsonDocument(o).toJson();
}

// Stands for a named pipe at the settings path.
const QByteArray kPipe("<named pipe>");

bool IsCentred(const QWidget& w) {
    const QPoint d = w.frameGeometry().center() - w.screen()->availableGeometry().center();
    return qAbs(d.x()) <= 1 && qAbs(d.y()) <= 1;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
    std::unique_ptr<PipeAtPath> pipe_;

    void writeSettingsFile(const QByteArray& content) {
        if (content.isNull())
            return;
        QVERIFY(QDir().mkpath(QFileInfo(path_).absolutePath()));
        if (content == kPipe)
            pipe_ = std::make_unique<PipeAtPath>(path_);
        else
            WriteWholeFile(path_, content);
    }
    // The settings file is as it was: still a pipe nobody waited on, or the same bytes.
    void compareSettingsFile(const QByteArray& content) {
        if (content == kPipe) {
            QVERIFY(QFileInfo(path_).exists() && !QFileInfo(path_).isFile());
            QVERIFY(!pipe_->readerWaited());
        } else {
            QCOMPARE(ReadWholeFile(path_), content);
        }
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        path_ = dir_->filePath(QStringLiteral("Quillmark/Zirpel.json"));
    }
    void cleanup() { pipe_.reset(); }

    void startFromStoredSettings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("centred"); // else at left 120, top 90
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QList<int>>("shape"); // Rows, Columns, DecimalAddresses, GridLineWidth
        QTest::addColumn<bool>("hexDown");
        QTest::addColumn<bool>("gridDown");
        const QStringList none{"", "", "", ""};
        const QStringList abcd{"/a", "/b", "/c", "/d"};
        const QList<int> defaults{16, 16, 0, 0};
        QTest::newRow("no settings file: centred, defaults")
            << QByteArray() << true << none << defaults << true << false;
        QTest::newRow("all values: placed where stored")
            << Stored({}) << false << abcd << QList<int>{24, 20, 1, 1} << false << true;
        QTest::newRow("HexReihen missing: defaults, reading stops there")
            << Stored({}, {"HexReihen"}) << true << abcd << defaults << true << false;
        QTest::newRow("only Gitter missing: centred, 16 x 16, decimal as stored")
            << Stored({}, {"Gitter"}) << true << abcd << QList<int>{16, 16, 1, 0} << false << false;
        QTest::newRow("HexOrDez 5 is decimal, Gitter 2 is no lines")
            << Stored({{"HexOrDez", 5}, {"Gitter", 2}}) << false << abcd << QList<int>{24, 20, 5, 2}
            << false << false;
        QTest::newRow("Datei2 missing: second slot empty")
            << Stored({}, {"Datei2"}) << false << QStringList{"/a", "", "/c", "/d"}
            << QList<int>{24, 20, 1, 1} << false << true;
        QTest::newRow("recent file stored as a number: empty slot")
            << Stored({{"Datei3", 7}}) << false << QStringList{"/a", "/b", "", "/d"}
            << QList<int>{24, 20, 1, 1} << false << true;
        QTest::newRow("integer stored as a string: fallback")
            << Stored({{"HexSpalten", "20"}}) << true << abcd << defaults << true << false;
        QTest::newRow("top with a fraction: fallback")
            << Stored({{"frmTop", 90.5}}) << true << abcd << defaults << true << false;
        QTest::newRow("rows beyond 32 bits: fallback")
            << Stored({{"HexReihen", 4294967296.0}}) << true << abcd << defaults << true << false;
        QTest::newRow("corrupt file: as no settings")
            << Stored({}).left(60) << true << none << defaults << true << false;
        QTest::newRow("a JSON array: as no settings")
            << QByteArray("[24, 20]") << true << none << defaults << true << false;
#ifndef _WIN32 // Windows has no named pipes in folders
        QTest::newRow("a named pipe: as no settings")
            << kPipe << true << none << defaults << true << false;
#endif
        QTest::newRow("valid but 2 MiB long: as no settings")
            << Stored({}) + QByteArray(2 << 20, ' ') << true << none << defaults << true << false;
        QTest::newRow("place far off every screen: centred")
            << Stored({{"frmTop", -20000}, {"frmLeft", 30000}}) << true << abcd
            << QList<int>{24, 20, 1, 1} << false << true;
    }
    void startFromStoredSettings() {
        QFETCH(QByteArray, file);
        QFETCH(bool, centred);
        QFETCH(QStringList, recent);
        QFETCH(QList<int>, shape);
        QFETCH(bool, hexDown);
        QFETCH(bool, gridDown);
        writeSettingsFile(file);
        JsonWindow j(path_);
        j.showAndActivate();
        if (centred)
            QVERIFY(IsCentred(*j.window));
        else
            QCOMPARE(j.window->frameGeometry().topLeft(), QPoint(120, 90));
        for (int k = 0; k < 4; ++k)
            QCOMPARE(j.find<QAction>(qPrintable(QStringLiteral("MnuObjekt%1").arg(k + 1)))->text(),
                     QStringLiteral("&%1  ").arg(k + 1) + recent[k]);
        // The buttons below show the other two; closeWritesAllTwelveValues their way back.
        QCOMPARE((QList<int>{j.find<SpinEdit>("CSpinEditReihen")->value(),
                             j.find<SpinEdit>("CSpinEditSpalten")->value()}),
                 shape.mid(0, 2));
        QCOMPARE(j.find<QToolButton>("ToolButtonHexDez")->isChecked(), hexDown);
        QCOMPARE(j.find<QToolButton>("ToolButtonGitter")->isChecked(), gridDown);
        QVERIFY(j.dialogs.messages.isEmpty());
        if (!file.isNull())
            compareSettingsFile(file); // starting never writes
    }

    void closeWritesAllTwelveValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("openAFile");
        QTest::addColumn<QJsonObject>("expected"); // without the frame values
        QTest::newRow("no settings file: created with the defaults")
            << QByteArray() << false
            << QJsonObject{{"Datei1", ""},    {"Datei2", ""},     {"Datei3", ""},  {"Datei4", ""},
                           {"HexReihen", 16}, {"HexSpalten", 16}, {"HexOrDez", 0}, {"Gitter", 0}};
        QTest::newRow("HexReihen 100, HexOrDez 5, Gitter 2 without a file shown: unchanged")
            << Stored({{"HexReihen", 100}, {"HexOrDez", 5}, {"Gitter", 2}, {"Extra", 1}}) << false
            << QJsonObject{{"Datei1", "/a"}, {"Datei2", "/b"},   {"Datei3", "/c"},
                           {"Datei4", "/d"}, {"HexReihen", 100}, {"HexSpalten", 20},
                           {"HexOrDez", 5},  {"Gitter", 2},      {"Extra", 1}};
        QTest::newRow("HexReihen 100 after a file was shown: 32")
            << Stored({{"HexReihen", 100}}) << true
            << QJsonObject{{"Datei1", "*"},  {"Datei2", "/a"},  {"Datei3", "/b"},
                           {"Datei4", "/c"}, {"HexReihen", 32}, {"HexSpalten", 20},
                           {"HexOrDez", 1},  {"Gitter", 1}};
        QTest::newRow("corrupt file: replaced as a whole")
            << QByteArray("{\"Datei1\": \"/a\", \"HexRei") << false
            << QJsonObject{{"Datei1", ""},    {"Datei2", ""},     {"Datei3", ""},  {"Datei4", ""},
                           {"HexReihen", 16}, {"HexSpalten", 16}, {"HexOrDez", 0}, {"Gitter", 0}};
        // Nothing expected: the file is not replaced.
#ifndef _WIN32 // Windows has no named pipes in folders
        QTest::newRow("a named pipe: left in place") << kPipe << false << QJsonObject();
#endif
        QTest::newRow("2 MiB file: left as it was")
            << Stored({}) + QByteArray(2 << 20, ' ') << false << QJsonObject();
    }
    void closeWritesAllTwelveValues() {
        QFETCH(QByteArray, file);
        QFETCH(bool, openAFile);
        QFETCH(QJsonObject, expected);
        writeSettingsFile(file);
        JsonWindow j(path_);
        j.showAndActivate();
        const QString data = QDir::toNativeSeparators(dir_->filePath(QStringLiteral("data.bin")));
        if (openAFile) {
            WriteWholeFile(data, QByteArray(3000, 'x'));
            j.dialogs.nextFileNames.append(data);
            j.find<QAction>("MnuOeffnen")->trigger();
            expected.insert(QStringLiteral("Datei1"), data);
        }
        if (expected.isEmpty()) {
            QVERIFY(j.window->close());
            compareSettingsFile(file);
            return;
        }
        const QRect frame = j.window->frameGeometry();
        expected.insert(QStringLiteral("frmTop"), frame.top());
        expected.insert(QStringLiteral("frmLeft"), frame.left());
        expected.insert(QStringLiteral("frmWidth"), frame.width());
        expected.insert(QStringLiteral("frmHeight"), frame.height());
        QVERIFY(j.window->close());
        QCOMPARE(QJsonDocument::fromJson(ReadWholeFile(path_)).object(), expected);
        QVERIFY(j.dialogs.messages.isEmpty());
    }

    void movedWindowReopensAtItsNewPlace() {
        {
            JsonWindow first(path_);
            first.showAndActivate();
            first.window->move(210, 140);
            QTRY_COMPARE(first.window->frameGeometry().topLeft(), QPoint(210, 140));
            QVERIFY(first.window->close());
        }
        JsonWindow second(path_);
        second.showAndActivate();
        QCOMPARE(second.window->frameGeometry().topLeft(), QPoint(210, 140));
        QCOMPARE(second.window->frameGeometry().size(), QSize(250, 200));
    }

    void settingsThatCannotBeSavedAreSilent() {
        const QString blocker = dir_->filePath(QStringLiteral("Quillmark"));
        WriteWholeFile(blocker, "a file where the folder belongs");
        JsonWindow j(path_);
        j.showAndActivate();
        QVERIFY(j.window->close());
        QVERIFY(j.dialogs.messages.isEmpty());
        QCOMPARE(ReadWholeFile(blocker), QByteArray("a file where the folder belongs"));
    }
};

QTEST_MAIN(TestSettings)
#include "TestSettings.moc"
