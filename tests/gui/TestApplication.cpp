// An exception escaping an event handler is shown in a box titled "Zirpel" with its
// text, and the program goes on.
#include "platform/Application.h"

#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <stdexcept>

using namespace zirpel;

namespace {

class Throwing : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) {
            ++handled;
            throw std::runtime_error("Etwas ging schief");
        }
        return QObject::event(e);
    }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void reportedAndGoesOn() {
        Throwing target;
        QString title;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        QEvent event(QEvent::User);
        QApplication::sendEvent(&target, &event);
        QCOMPARE(target.handled, 1);
        QCOMPARE(title, QStringLiteral("Zirpel"));
        QCOMPARE(text, QStringLiteral("Etwas ging schief"));
        // The application still delivers events afterwards.
        bool ran = false;
        QTimer::singleShot(0, [&] { ran = true; });
        QTRY_VERIFY(ran);
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "TestApplication.moc"
