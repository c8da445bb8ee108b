// The program's style: a button that holds the keyboard focus shows it, however it got it.
#include "programstyle.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

class TestProgramStyle : public QObject
{
    Q_OBJECT
private slots:
    void focusedButtonLooksDifferent()
    {
        QApplication::setStyle(new TProgramStyle);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *other = new QPushButton(QStringLiteral("Прочитать из ККТ"), &window);
        auto *button = new QPushButton(QStringLiteral("Записать в ККТ"), &window);
        layout->addWidget(other);
        layout->addWidget(button);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        other->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(other->hasFocus());
        const QImage plain = button->grab().toImage();
        // Not by the keyboard: the way a list hiding used to hand the focus on.
        button->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(button->hasFocus());
        QVERIFY(!window.testAttribute(Qt::WA_KeyboardFocusChange));
        QVERIFY(button->grab().toImage() != plain);
    }
};

QTEST_MAIN(TestProgramStyle)
#include "tst_programstyle.moc"
