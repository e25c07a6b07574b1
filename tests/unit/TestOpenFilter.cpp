// The open dialog's filter list made from the program's bar-separated filter text.
#include "core/system/OpenFilter.h"

#include <QTest>

using namespace zirpel;

class TestOpenFilter : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("all files: every name, also without a dot")
            << "Alle Dateien (*.*)|*.*|" << QStringList{"Alle Dateien (*.*) (*)"};
        QTest::newRow("*.* beside other patterns")
            << "Alles|*.TXT; *.*|" << QStringList{"Alles (*.TXT *)"};
        QTest::newRow("patterns split on semicolon and comma")
            << "C++ Files (*.c; *.cpp, *.cxx, *.h)|*.C;*.CPP;*.CXX, *.H|"
            << QStringList{"C++ Files (*.c; *.cpp, *.cxx, *.h) (*.C *.CPP *.CXX *.H)"};
        QTest::newRow("two entries keep their order")
            << "Textdateien (*.txt)|*.TXT|Pascal Unit (*.pas)|*.PAS|"
            << QStringList{"Textdateien (*.txt) (*.TXT)", "Pascal Unit (*.pas) (*.PAS)"};
    }
    void nameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, names);
        QCOMPARE(NameFiltersFromBarList(filter), names);
    }

    // With its filter details hidden the dialog hands back an entry's text alone.
    void fullNameFilter_data() {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("full");
        QTest::newRow("text without its patterns") << "Textdateien (*.txt)"
                                                   << "Textdateien (*.txt) (*.TXT)";
        QTest::newRow("whole entry") << "Alle Dateien (*.*) (*)"
                                     << "Alle Dateien (*.*) (*)";
        QTest::newRow("text with its own parentheses") << "Alle Dateien (*.*)"
                                                       << "Alle Dateien (*.*) (*)";
        QTest::newRow("no such entry") << "Bilder"
                                       << "";
    }
    void fullNameFilter() {
        QFETCH(QString, shown);
        QFETCH(QString, full);
        const QStringList filters = NameFiltersFromBarList(
            QStringLiteral("Alle Dateien (*.*)|*.*|Textdateien (*.txt)|*.TXT|"));
        QCOMPARE(FullNameFilter(filters, shown), full);
    }
};

QTEST_APPLESS_MAIN(TestOpenFilter)
#include "TestOpenFilter.moc"
