// The first windows a user sees are laid out right to left.  With
// TAVRIN_SCREENSHOT_DIR set, the rendered windows are also saved there as PNG.
#include "support/testsupport.h"

#include "app/login_u.h"
#include "app/main_u.h"
#include "app/server_u.h"
#include "app/startup.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

using namespace tavrin;

class TestScreens : public QObject {
    Q_OBJECT

    void save(QWidget& w, const QString& name)
    {
        w.show();
        QTest::qWait(50);
        const QImage img = w.grab().toImage();
        QVERIFY(!img.isNull());
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
    }

    static QLabel* labelWithText(QWidget* root, const QString& text)
    {
        for (QLabel* l : root->findChildren<QLabel*>())
            if (l->text() == text)
                return l;
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }

    void loginWindowReadsRightToLeft()
    {
        Tlogin& w = window<Tlogin>();
        w.us->setText(QStringLiteral("0012345678"));
        save(w, QStringLiteral("Tlogin"));
        QLabel* userLabel = labelWithText(&w, QStringLiteral("نام كاربري"));
        QVERIFY(userLabel);
        // The caption stands to the right of its field.
        const int labelX = userLabel->mapTo(&w, QPoint(0, 0)).x();
        const int fieldX = w.us->mapTo(&w, QPoint(0, 0)).x();
        QVERIFY2(labelX > fieldX, "label must be right of the user-name field");
        auto* ok = test::child<QPushButton>(&w, QStringLiteral("BitBtn1"));
        auto* cancel = test::child<QPushButton>(&w, QStringLiteral("BitBtn2"));
        QVERIFY(ok->mapTo(&w, QPoint(0, 0)).x() > cancel->mapTo(&w, QPoint(0, 0)).x());
    }

    void mainWindowMenuStartsAtTheRight()
    {
        Tmain& m = mainWindow();
        m.resize(1000, 600);
        // Not saved: the main window's picture is the fit test's, maximised on the laptop screen.
        m.show();
        QTest::qWait(50);
        QMenuBar* bar = m.menuBar();
        const QList<QAction*> actions = bar->actions();
        const QRect first = bar->actionGeometry(actions.first());
        const QRect last = bar->actionGeometry(actions.last());
        QVERIFY2(first.x() > last.x(), "the first menu entry must be the rightmost");
    }

    void settingsWindow()
    {
        Tserver& w = window<Tserver>();
        save(w, QStringLiteral("Tserver"));
        QVERIFY(w.SqlServerName1->layoutDirection() == Qt::LeftToRight);
    }
};

TAVRIN_TEST_MAIN(TestScreens)
#include "tst_screens.moc"
