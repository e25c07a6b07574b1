// The program's locale, set before the application object.
#include "core/system/SystemLocale.h"

#include <QDateTime>
#include <QLocale>
#include <QTest>

using namespace zirpel;

class TestSystemLocale : public QObject {
    Q_OBJECT
private slots:
    // Sizes and dates in the open dialog come from the system's locale: German on every
    // system, whatever the user's locale.
    void systemLocaleIsGerman() {
        const QLocale german(QLocale::German, QLocale::Germany);
        const QDateTime when(QDate(2026, 12, 8), QTime(17, 5));
        QCOMPARE(QLocale::system().toString(when, QLocale::ShortFormat),
                 german.toString(when, QLocale::ShortFormat));
        QCOMPARE(QLocale::system().formattedDataSize(1536), german.formattedDataSize(1536));
    }
};

int main(int argc, char** argv) {
    UseGermanSystemLocale(); // as the program does, before the application object
    QCoreApplication app(argc, argv);
    TestSystemLocale test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestSystemLocale.moc"
