// The spin edit: stepping by 4 within 16 to 32, clamping, and no typing.
#include "widgets/SpinEdit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace zirpel;

class TestSpinEdit : public QObject {
    Q_OBJECT
private slots:
    void startsAt32WithRange() {
        SpinEdit spin;
        QCOMPARE(spin.value(), 32);
        QCOMPARE(spin.minimum(), 16);
        QCOMPARE(spin.maximum(), 32);
        QCOMPARE(spin.singleStep(), 4);
    }

    void setValueClamps_data() {
        QTest::addColumn<int>("input");
        QTest::addColumn<int>("shown");
        QTest::newRow("inside") << 24 << 24;
        QTest::newRow("stored 100 goes to 32") << 100 << 32;
        QTest::newRow("below range goes to 16") << 3 << 16;
        QTest::newRow("negative goes to 16") << -7 << 16;
        QTest::newRow("odd value kept") << 18 << 18;
    }
    void setValueClamps() {
        QFETCH(int, input);
        QFETCH(int, shown);
        SpinEdit spin;
        spin.setValue(input);
        QCOMPARE(spin.value(), shown);
    }

    void arrowKeysStepByFour_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("result");
        QTest::newRow("up from 16") << 16 << int(Qt::Key_Up) << 1 << 20;
        QTest::newRow("down from 32") << 32 << int(Qt::Key_Down) << 1 << 28;
        QTest::newRow("up stops at 32") << 28 << int(Qt::Key_Up) << 3 << 32;
        QTest::newRow("down stops at 16") << 20 << int(Qt::Key_Down) << 5 << 16;
        QTest::newRow("page up does nothing") << 16 << int(Qt::Key_PageUp) << 1 << 16;
    }
    void arrowKeysStepByFour() {
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, presses);
        QFETCH(int, result);
        SpinEdit spin;
        spin.setValue(start);
        for (int i = 0; i < presses; ++i)
            QTest::keyClick(&spin, Qt::Key(key));
        QCOMPARE(spin.value(), result);
    }

    void typingIsRefused() {
        SpinEdit spin;
        spin.setValue(20);
        QTest::keyClicks(&spin, QStringLiteral("24"));
        QTest::keyClick(&spin, Qt::Key_Backspace);
        QTest::keyClick(&spin, Qt::Key_Return);
        QCOMPARE(spin.value(), 20);
        QCOMPARE(spin.findChild<QLineEdit*>()->text(), QStringLiteral("20"));
    }

    void changeSignalOnlyWhenNumberChanges() {
        SpinEdit spin;
        spin.setValue(16);
        QSignalSpy spy(&spin, &QSpinBox::valueChanged);
        spin.setValue(16);
        QCOMPARE(spy.count(), 0);
        spin.setValue(100);
        spin.setValue(33);
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(TestSpinEdit)
#include "TestSpinEdit.moc"
