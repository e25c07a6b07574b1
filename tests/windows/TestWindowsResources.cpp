// What Windows reads from zirpel.exe itself, read back from the built program: the
// manifest, the icon's sizes and the copyright in the version information.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <algorithm>
#include <windows.h>

class TestWindowsResources : public QObject {
    Q_OBJECT

    HMODULE program_ = nullptr;

    QString programPath() const {
        return QDir::toNativeSeparators(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                        QStringLiteral("/" ZIRPEL_EXE)));
    }
    QByteArray resource(const wchar_t* name, const wchar_t* type) const {
        const HRSRC found = FindResourceW(program_, name, type);
        const HGLOBAL loaded = found ? LoadResource(program_, found) : nullptr;
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        return bytes ? QByteArray(static_cast<const char*>(bytes),
                                  qsizetype(SizeofResource(program_, found)))
                     : QByteArray();
    }

private slots:
    void initTestCase() {
        program_ = LoadLibraryExW(reinterpret_cast<const wchar_t*>(programPath().utf16()), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        QVERIFY2(program_, qPrintable(programPath()));
    }
    void cleanupTestCase() {
        if (program_)
            FreeLibrary(program_);
    }

    // The manifest Windows reads before it starts the program (resource 1 of its type).
    void manifest_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::newRow("Windows 7") << QByteArray("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}");
        QTest::newRow("Windows 8") << QByteArray("{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}");
        QTest::newRow("Windows 8.1") << QByteArray("{1f676c76-80e1-4239-95bb-83d0f6d0da78}");
        QTest::newRow("Windows 10 and 11") << QByteArray("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}");
        QTest::newRow("long paths") << QByteArray(">true</longPathAware>");
        QTest::newRow("DPI per monitor") << QByteArray(">PerMonitorV2</dpiAwareness>");
        QTest::newRow("DPI per monitor before Windows 10") << QByteArray(">true/pm</dpiAware>");
        QTest::newRow("common controls 6")
            << QByteArray("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"");
        QTest::newRow("no administrator rights") << QByteArray("level=\"asInvoker\"");
    }
    void manifest() {
        QFETCH(QByteArray, entry);
        const QByteArray manifest =
            resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)).simplified().replace("> <", "><");
        QVERIFY2(manifest.contains(entry), manifest.constData());
    }

    // The icon group lists one picture per size; 256 is written as 0.
    void iconSizes() {
        const QByteArray group = resource(L"IDI_ICON1", MAKEINTRESOURCEW(14));
        QVERIFY(group.size() >= 6);
        const int count = quint8(group[4]) | quint8(group[5]) << 8;
        QCOMPARE(group.size(), 6 + 14 * count);
        QList<int> sizes;
        for (int i = 0; i < count; ++i) {
            const int width = quint8(group[6 + 14 * i]);
            QCOMPARE(quint8(group[6 + 14 * i + 1]), quint8(width));
            sizes << (width == 0 ? 256 : width);
        }
        std::sort(sizes.begin(), sizes.end());
        QCOMPARE(sizes, (QList<int>{16, 24, 32, 48, 256}));
    }

    void copyrightInVersionInformation() {
        const QString program = programPath();
        const auto* path = reinterpret_cast<const wchar_t*>(program.utf16());
        QByteArray info(int(GetFileVersionInfoSizeW(path, nullptr)), '\0');
        QVERIFY(!info.isEmpty() && GetFileVersionInfoW(path, 0, DWORD(info.size()), info.data()));
        const QString key = QStringLiteral("\\StringFileInfo\\040704B0\\LegalCopyright");
        void* text = nullptr;
        UINT length = 0;
        QVERIFY(VerQueryValueW(info.constData(), reinterpret_cast<const wchar_t*>(key.utf16()),
                               &text, &length));
        QCOMPARE(QString::fromWCharArray(static_cast<const wchar_t*>(text)),
                 QStringLiteral("Copyright (C) 2026 Quillmark Software"));
    }
};

QTEST_GUILESS_MAIN(TestWindowsResources)
#include "TestWindowsResources.moc"
