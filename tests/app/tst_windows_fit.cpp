// The windows on a 1366×768 screen (the common office laptop; the test screen
// has that size) and with the keyboard: every window the program can open fits,
// lists keep their titles and get their room, menus open on screen, Enter saves
// and presses buttons.  With TAVRIN_SCREENSHOT_DIR set, every window is also
// saved there as PNG (the README's screenshots).
#include "support/testsupport.h"

#include "admin/log_u.h"
#include "admin/tazeha_ins_u.h"
#include "admin/tazeha_u.h"
#include "admin/users_ins_u.h"
#include "admin/users_u.h"
#include "app/connect.h"
#include "maintenance/install.h"
#include "app/login_u.h"
#include "app/main_u.h"
#include "app/startup.h"
#include "applicants/customers_ins_u.h"
#include "common/listmodel.h"
#include "common/monedit.h"
#include "maintenance/demodata.h"
#include "projects/project_ins_u.h"
#include "projects/project_panels.h"
#include "projects/project_space_u.h"
#include "projects/project_src_u.h"
#include "projects/project_tashilat_u.h"
#include "projects/project_vahed_u.h"
#include "prereg/pishsabt_ins_u.h"
#include "reference/abadiha_ins_u.h"
#include "reference/abadiha_u.h"
#include "reference/divisions.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

using namespace tavrin;

namespace {
// The screen of a laptop less a 40-pixel taskbar, and a window's frame on it.
const QSize kLaptop(1366, 768 - 40);
const QSize kFrame(8, 34);

int visibleRows(const QTableView* grid)
{
    return grid->viewport()->height() / grid->rowHeight(0);
}

bool onScreen(const QWidget* w)
{
    return w->screen()->availableGeometry().contains(w->geometry());
}

QSqlRecord firstRow(const char* table)
{
    return *dm().firstRow(QStringLiteral("select * from %1 order by id").arg(QString::fromLatin1(table)));
}

// Opens a page from the main menu, maximised on the laptop, and runs `look`
// while the page is shown.
void openFromMenu(const QString& entry, const std::function<void(QDialog*)>& look)
{
    Tmain& main = mainWindow();
    main.setGeometry(QRect(QPoint(4, 30), kLaptop - kFrame));
    main.show();
    test::DialogRecorder rec;
    bool shown = false;
    rec.onExec = [&](QDialog* w) {
        w->show();
        QCoreApplication::processEvents();
        shown = true;
        look(w);
        w->hide();
        return int(QDialog::Rejected);
    };
    main.action(entry)->trigger();
    QVERIFY2(shown, qPrintable(entry));
}

void checkTitles(const QWidget* window)
{
    for (const DBGrid* g : window->findChildren<DBGrid*>())
        for (int c = 0; c < g->listModel()->columnCount(); ++c)
            if (!g->isColumnHidden(c))
                QVERIFY2(g->columnWidth(c) >= g->horizontalHeader()->sectionSizeHint(c),
                         qPrintable(g->objectName() + g->listModel()->columns()[c].caption));
}

// The controls of a shown window that a user cannot read whole, named: a
// caption, button or box narrower or lower than its text, or a control
// reaching beyond what its parents show (inside a scroll area's viewport only
// its height may go beyond; what an item view draws inside itself is its own).
// Every page of a tab widget is looked at.
QStringList cutControls(QWidget* window)
{
    const auto name = [](const QWidget* w) {
        QString n = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        if (auto* l = qobject_cast<const QLabel*>(w))
            n += QLatin1Char(' ') + l->text();
        else if (auto* b = qobject_cast<const QAbstractButton*>(w))
            n += QLatin1Char(' ') + b->text();
        else if (auto* g = qobject_cast<const QGroupBox*>(w))
            n += QLatin1Char(' ') + g->title();
        return n;
    };
    QStringList out;
    const auto look = [&] {
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow())
                continue;
            bool drawnByView = false;
            for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
                drawnByView = drawnByView || qobject_cast<QAbstractItemView*>(p);
            if (drawnByView)
                continue;
            const auto* label = qobject_cast<const QLabel*>(w);
            QSize least;
            if (label && !label->wordWrap() && !label->text().isEmpty()) {
                least = w->minimumSizeHint();
            } else if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w)) {
                least = w->minimumSizeHint();
            } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
                // A button's text with a little room on each side (its size
                // hint adds the style's generous padding).
                least = QSize(b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) + 8,
                              b->fontMetrics().height());
            }
            if (w->width() < least.width() || w->height() < least.height())
                out << name(w) + QStringLiteral(": narrower than its text");
            QRect r = w->rect();
            const QWidget* c = w;
            for (QWidget* p = w->parentWidget(); p; c = p, p = p->parentWidget()) {
                r.translate(c->pos());
                QRect shown = p->rect();
                const auto* scroll = qobject_cast<const QScrollArea*>(p->parentWidget());
                if (scroll && scroll->viewport() == p)
                    shown.setTop(std::min(shown.top(), r.top())), shown.setBottom(std::max(shown.bottom(), r.bottom()));
                // (A right-to-left splitter places its last child one pixel
                // beyond its edge: Qt's own rounding, not the window's.)
                if (qobject_cast<QSplitter*>(p))
                    shown.adjust(-1, 0, 1, 0);
                if (!shown.contains(r)) {
                    out << name(w) + QStringLiteral(": beyond ") + name(p) +
                               QStringLiteral(" (%1,%2 %3×%4 in %5×%6)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                                   .arg(shown.width()).arg(shown.height());
                    break;
                }
                if (p == window)
                    break;
                r &= p->rect();  // what shows of it further up
                if (r.isEmpty())
                    break;       // scrolled out of sight
            }
            if (auto* scroll = qobject_cast<QScrollArea*>(w); scroll && scroll->horizontalScrollBar()->isVisible())
                out << name(w) + QStringLiteral(": scrolls sideways");
        }
    };
    look();
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        if (!tabs->isVisible())
            continue;
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == current)
                continue;
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            look();
        }
        tabs->setCurrentIndex(current);
    }
    out.removeDuplicates();
    return out;
}

// Shows a window as the program would and checks that it fits: on the screen,
// in a laptop's room with a taskbar, without scrolling and with nothing cut.
void verifyFits(QDialog* w, const QString& what)
{
    w->show();
    QCoreApplication::processEvents();
    QVERIFY2(w->screen()->availableGeometry().contains(w->frameGeometry()), qPrintable(what));
    const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint()) + kFrame;
    const QString room = QStringLiteral(" (needs %1×%2)").arg(least.width()).arg(least.height());
    QVERIFY2(least.width() <= kLaptop.width() && least.height() <= kLaptop.height(), qPrintable(what + room));
    if (auto* t = qobject_cast<TWindow*>(w)) {
        const QWidget* body = t->contentScrollArea() ? t->contentScrollArea()->widget() : nullptr;
        QVERIFY2(!body, qPrintable(what + QStringLiteral(" scrolls (its content needs %1×%2)")
                                              .arg(body ? body->minimumWidth() : 0).arg(body ? body->minimumHeight() : 0)));
    }
    const QStringList cut = cutControls(w);
    QVERIFY2(cut.isEmpty(), qPrintable(what + QStringLiteral(": ") + cut.join(QStringLiteral("; "))));
}

// The modes of the windows that show either a new record or a stored one
// (those with an edit button), each as a user meets it: a new record, a stored
// one with the widest values, and a new one again after it.
using ModeList = QList<std::pair<QString, std::function<void(QDialog*)>>>;
QMap<QString, ModeList> entryModes()
{
    const auto mode = [](const char* n, auto f) { return std::pair<QString, std::function<void(QDialog*)>>(QString::fromLatin1(n), f); };
    QMap<QString, ModeList> m;
    m[QStringLiteral("Tcustomers_ins")] = {
        mode("new", [](QDialog* w) { static_cast<Tcustomers_ins*>(w)->prepareNew(); }),
        mode("edit", [](QDialog* w) { static_cast<Tcustomers_ins*>(w)->prepareEdit(firstRow("customers")); }),
        mode("new again", [](QDialog* w) { static_cast<Tcustomers_ins*>(w)->prepareNew(); }),
        mode("new for a unit", [](QDialog* w) {
            static_cast<Tcustomers_ins*>(w)->prepareNewForUnit(firstRow("projects"), firstRow("vahedha"));
        })};
    m[QStringLiteral("Tproject_vahed")] = {
        mode("new", [](QDialog* w) { static_cast<Tproject_vahed*>(w)->prepareNew(firstRow("projects")); }),
        mode("edit", [](QDialog* w) { static_cast<Tproject_vahed*>(w)->prepareEdit(firstRow("projects"), firstRow("vahedha")); })};
    m[QStringLiteral("Tproject_ins")] = {mode("new", [](QDialog* w) { static_cast<Tproject_ins*>(w)->prepareNew(); }),
                                         mode("edit", [](QDialog* w) { static_cast<Tproject_ins*>(w)->prepareEdit(firstRow("projects")); })};
    for (const char* space : {"anbari", "parking"}) {
        const char* table = space == std::string_view("anbari") ? "anbariha" : "parkingha";
        m[QStringLiteral("Tproject_") + QString::fromLatin1(space)] = {
            mode("new", [](QDialog* w) { static_cast<TProjectSpaceWindow*>(w)->prepareNew(firstRow("projects")); }),
            mode("edit", [table](QDialog* w) { static_cast<TProjectSpaceWindow*>(w)->prepareEdit(firstRow("projects"), firstRow(table)); })};
    }
    m[QStringLiteral("Tusers_ins")] = {mode("new", [](QDialog* w) { static_cast<Tusers_ins*>(w)->startNew(); }),
                                       mode("edit", [](QDialog* w) { static_cast<Tusers_ins*>(w)->startEdit(firstRow("users")); })};
    m[QStringLiteral("Tpishsabt_ins")] = {mode("new", [](QDialog* w) { static_cast<Tpishsabt_ins*>(w)->prepareNew(); }),
                                          mode("edit", [](QDialog* w) { static_cast<Tpishsabt_ins*>(w)->prepareEdit(firstRow("pishsabt")); })};
    m[QStringLiteral("Ttazeha_ins")] = {
        mode("new", [](QDialog* w) { static_cast<Ttazeha_ins*>(w)->startNew(); }),
        mode("edit", [](QDialog* w) {
            static_cast<Ttazeha_ins*>(w)->startEdit(1, QStringLiteral("1404/01/01"), QString(100, QChar(0x0645)), QString(2000, QChar(0x0645)));
        })};
    m[QStringLiteral("Tabadiha_ins")] = {
        mode("new", [](QDialog* w) { static_cast<Tabadiha_ins*>(w)->startInsert(); }),
        mode("edit", [](QDialog* w) {
            const QSqlRecord r = firstRow("abadiha");
            QStringList v;
            for (const QString& c : divisionColumns())
                v << r.value(c).toString();
            Division d = Division::fromValues(v);
            d.id = r.value(QStringLiteral("id")).toLongLong();
            static_cast<Tabadiha_ins*>(w)->startEdit(d);
        })};
    m[QStringLiteral("Tproject_tashilat")] = {
        mode("new", [](QDialog* w) {
            auto* t = static_cast<Tproject_tashilat*>(w);
            t->applyRights(Rights {true, true, true, true});
            t->prepare(firstRow("projects"));
        }),
        mode("edit", [](QDialog* w) {
            auto* t = static_cast<Tproject_tashilat*>(w);
            t->DBGrid1->setCurrentIndex(t->DBGrid1->listModel()->index(0, 0));
            t->N3Click();
        })};
    return m;
}

// Some windows filled as a user would see them (for the fit check and the pictures).
void fill(QDialog* w)
{
    if (auto* u = qobject_cast<Tusers*>(w)) {
        u->src_btnClick();
        u->DBGrid1->setCurrentIndex(u->DBGrid1->listModel()->index(0, 0));
        u->DBGrid1CellClick(0);
    } else if (auto* l = qobject_cast<Tlog*>(w)) {
        l->src_btnClick();
    } else if (auto* a = qobject_cast<Tabadiha*>(w)) {
        a->BitBtn1Click();
    } else if (auto* v = qobject_cast<Tproject_vahed*>(w)) {
        v->prepareEdit(firstRow("projects"), firstRow("vahedha"));
    } else if (auto* p = qobject_cast<Tproject_ins*>(w)) {
        p->prepareEdit(firstRow("projects"));
    } else if (auto* s = qobject_cast<TProjectSpaceWindow*>(w)) {
        s->prepareEdit(firstRow("projects"), firstRow(w->objectName().endsWith(QLatin1String("parking")) ? "parkingha" : "anbariha"));
    } else if (auto* e = qobject_cast<Tusers_ins*>(w)) {
        e->startEdit(firstRow("users"));
    } else if (auto* login = qobject_cast<Tlogin*>(w)) {
        login->us->setText(QStringLiteral("0012345678"));
    }
}

// Shows a window as the program would, checks that it fits, saves its picture.
void check(QDialog* w, QStringList& checked)
{
    const QString name = w->objectName();
    fill(w);
    verifyFits(w, name);
    if (QTest::currentTestFailed())
        return;
    // Its title is Persian, never an internal name.
    const QString title = w->windowTitle();
    QVERIFY2(std::any_of(title.begin(), title.end(), [](QChar c) { return c.script() == QChar::Script_Arabic; }),
             qPrintable(name + QLatin1Char(' ') + title));
    // A modal window offers only its close button.
    QVERIFY2(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)), qPrintable(name));
    // Windows whose picture their own test renders with content (the messages
    // with a conversation, an applicant's payments, the consistency check with
    // findings ...) keep that picture.
    static const QStringList renderedElsewhere = {
        QStringLiteral("Tpayam"), QStringLiteral("Ttazeha"), QStringLiteral("Tzamaem"), QStringLiteral("Tcheck"),
        QStringLiteral("Tbackup"), QStringLiteral("Ttransfer"), QStringLiteral("Tvahed_vam"),
        QStringLiteral("Tproject_tashilat"), QStringLiteral("Tproject_anbari"), QStringLiteral("Tproject_parking"),
        QStringLiteral("Tcustomers_src"), QStringLiteral("Tcustomers_ins"), QStringLiteral("Tcustomers_pic"),
        QStringLiteral("Tpardakht_frm"), QStringLiteral("Tpardakht_src"), QStringLiteral("Tshoraka"),
        QStringLiteral("Ttakafol_frm"), QStringLiteral("Tparking_anbari"), QStringLiteral("Tparking_src"),
        QStringLiteral("Tsavabegh"), QStringLiteral("Tpishsabt_src"), QStringLiteral("Tpishsabt_ins"),
        QStringLiteral("Tpishsabt_pardakht"), QStringLiteral("Tpishpardakht_src"), QStringLiteral("Tedarat"),
        QStringLiteral("Tprj_koli_rep_chart"), QStringLiteral("Tproject_tas_rep"),
        QStringLiteral("Ttaghirat")};
    const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty() && !renderedElsewhere.contains(name))
        QVERIFY(QDir().mkpath(dir) && w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))));
    checked << name;
    w->hide();
}
} // namespace

class TestWindowsFit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        setUpApplication();
        QSettings().remove(QStringLiteral("windows"));  // the splitters start at their first places
        test::useFreshDatabase(false);
        QVERIFY(installDatabase(dm()).ok);
        test::loginAs(QStringLiteral("admin"));
    }

    void cleanup()
    {
        destroyWindows();
        destroyMainWindow();
    }

    void listsOpenedEmptyShowWholeTitles()
    {
        for (const char* entry : {"N10", "N7"})
            openFromMenu(QString::fromLatin1(entry), [](QDialog* w) {
                QCOMPARE(w->findChild<DBGrid*>(QStringLiteral("DBGrid1"))->listModel()->rowCount(), 0);
                checkTitles(w);
            });
    }

    void everyWindowFitsTheScreen()
    {
        demo::Options o;
        o.projects = 6;
        o.unitsPerProject = 12;
        demo::generate(dm(), o);
        QStringList checked;
        {
            test::DialogRecorder rec;
            rec.onExec = [&](QDialog* w) {
                check(w, checked);
                return int(QDialog::Rejected);
            };
            // Every window the main menu opens, as it opens it ...
            Tmain& main = mainWindow();
            main.setGeometry(QRect(QPoint(4, 30), kLaptop - kFrame));
            main.show();
            for (QAction* a : main.findChildren<QAction*>())
                if (!a->objectName().isEmpty() && a->isEnabled() && !a->menu() && a->objectName() != QLatin1String("N3"))
                    a->trigger();
            // ... and every other window of the program.
            for (QDialog* w : everyWindow())
                if (!checked.contains(w->objectName()))
                    check(w, checked);
            const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
            if (!dir.isEmpty()) {
                main.showConnection(dm().params()); // as the login does
                QVERIFY(main.grab().save(QDir(dir).filePath(QStringLiteral("Tmain.png"))));
            }
        }
        for (const char* name : {"Tproject_src", "Tusers", "Tproject_vahed", "Tlogin", "Tusers_ins", "Tserver"})
            QVERIFY2(checked.contains(QString::fromLatin1(name)), name);
    }

    void entryWindowsFitInEachOfTheirModes()
    {
        if (dm().scalar(QStringLiteral("select count(*) from customers")).toInt() == 0) {
            demo::Options o;
            o.projects = 3;
            o.unitsPerProject = 12;
            demo::generate(dm(), o);
        }
        // The widest values a record holds: amounts of fifteen digits.
        const qint64 most = kMaxAmount;
        dm().exec(QStringLiteral("update customers set mablagh=?,mablagh1=?,vam=?,takhfif=?,pardakht_sum=?,jarime=?"),
                  {most, most, most, most, most, most});
        dm().exec(QStringLiteral("update vahedha set mablagh=?,mablagh1=?,vam=?"), {most, most, most});
        dm().insert(QStringLiteral("pishsabt"), {QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("fname"), QStringLiteral("lname")},
                    {firstRow("projects").value(QStringLiteral("ostan")), firstRow("projects").value(QStringLiteral("shahrestan")),
                     QStringLiteral("علي"), QStringLiteral("محمدي")});
        dm().insert(QStringLiteral("tashilat"), {QStringLiteral("prj_id"), QStringLiteral("bank"), QStringLiteral("mablagh"), QStringLiteral("daryafti"), QStringLiteral("vahed_cnt")},
                    {firstRow("projects").value(QStringLiteral("id")), QStringLiteral("ملي"), most, most, 12});
        test::DialogRecorder rec;
        const QMap<QString, ModeList> modes = entryModes();
        QStringList checked;
        for (QDialog* w : everyWindow()) {
            const QString name = w->objectName();
            if (!w->findChild<QAbstractButton*>(QStringLiteral("edit_btn")))
                continue;
            QVERIFY2(modes.contains(name), qPrintable(name + QStringLiteral(": its modes are not in entryModes()")));
            for (const auto& [mode, enter] : modes.value(name)) {
                enter(w);
                verifyFits(w, name + QLatin1Char(' ') + mode);
                w->hide();
                if (QTest::currentTestFailed())
                    return;
            }
            checked << name;
        }
        QCOMPARE(QSet<QString>(checked.begin(), checked.end()), QSet<QString>(modes.keyBegin(), modes.keyEnd()));
        QCOMPARE(rec.texts(), QStringList());
    }

    void fileDialogsAreWideAndOnScreen()
    {
        QTemporaryDir tmp;
        const QString suggested = tmp.filePath(QStringLiteral("ليست پروژه ها.xlsx"));
        for (bool saving : {true, false}) {
            auto d = makeFileDialog(nullptr, QStringLiteral("ذخيره فايل اکسل"), QStringLiteral("Excel (*.xlsx)"),
                                    saving ? suggested : tmp.path(), saving);
            QCOMPARE(d->acceptMode(), saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            QCOMPARE(d->directory().absolutePath(), QDir(tmp.path()).absolutePath());
            d->show();
            QCoreApplication::processEvents();
            QVERIFY(d->width() >= 900);
            auto* list = d->findChild<QTreeView*>(QStringLiteral("treeView"));
            QVERIFY(list->header()->sectionSize(3) >= list->fontMetrics().horizontalAdvance(QStringLiteral("00 MMM 0000 00:00:00")));
            QVERIFY(d->screen()->availableGeometry().contains(d->frameGeometry()));
            if (saving)
                QCOMPARE(QFileInfo(d->selectedFiles().value(0)).fileName(), QStringLiteral("ليست پروژه ها.xlsx"));
        }
    }

    void aSmallWindowShowsItsTitleAndKeepsItsPlaceWhenShownAgain()
    {
        TWindow w(QStringLiteral("Tsmall"), QStringLiteral("تغيير كلمه عبور کاربر جاري برنامه"));
        auto* top = new QVBoxLayout(&w);
        top->addWidget(makeEdit(&w, QStringLiteral("e")));
        w.show();
        QCoreApplication::processEvents();
        QFont bold = QApplication::font("QMdiSubWindowTitleBar");
        bold.setBold(true);
        QVERIFY(w.width() > QFontMetrics(bold).horizontalAdvance(w.windowTitle()));
        const QRect first = w.geometry();
        for (int i = 0; i < 3; ++i) {
            w.hide();
            w.show();
            QCoreApplication::processEvents();
            QCOMPARE(w.geometry(), first);
        }
        QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));
    }

    void aWindowTooLargeForTheScreenScrolls()
    {
        TWindow w(QStringLiteral("Ttall"), QStringLiteral("tall"));
        auto* bar = new QMenuBar(&w);
        auto* save = makeButton(&w, QStringLiteral("ins_btn"), QStringLiteral("ثبت"));
        auto* grid = new QGridLayout;
        for (int r = 0; r < 40; ++r) {
            grid->addWidget(makeLabel(&w, QString::number(r)), r, 0);
            grid->addWidget(makeEdit(&w, QStringLiteral("e%1").arg(r)), r, 1);
        }
        auto* top = new QVBoxLayout(&w);
        top->setMenuBar(bar);
        top->addLayout(grid);
        top->addWidget(save);
        w.setMinimumWidth(1500);
        int saved = 0;
        connect(save, &QPushButton::clicked, [&] { ++saved; });
        w.setSaveButtons({save});
        w.show();
        QCoreApplication::processEvents();
        QVERIFY(w.contentScrollArea() && w.contentScrollArea()->isAncestorOf(save));
        QVERIFY(!w.contentScrollArea()->isAncestorOf(bar));
        QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));
        QTest::keyClick(w.findChild<QLineEdit*>(QStringLiteral("e39")), Qt::Key_Return);
        QCOMPARE(saved, 1);
    }

    void projectWindowGivesItsListsRoomAndItsMenusOpenOnScreen()
    {
        QList<int> moved;
        openFromMenu(QStringLiteral("N10"), [&](QDialog* w) {
            auto* p = static_cast<Tproject_src*>(w);
            QVERIFY(visibleRows(p->grid()) >= 6);
            auto* tabs = p->findChild<QTabWidget*>(QStringLiteral("spaces"));
            for (int k = 0; k < 3; ++k) {
                tabs->setCurrentIndex(std::max(0, k - 1));
                QCoreApplication::processEvents();
                QVERIFY2(visibleRows(p->panel(k)->grid()) >= 5, qPrintable(p->panel(k)->objectName()));
            }
            checkTitles(w);
            // The report menu, opened from the menu bar, fits on the screen.
            QAction* reports = w->findChild<QAction*>(QStringLiteral("N4"));
            w->findChild<QMenuBar*>(QStringLiteral("MainMenu1"))->setActiveAction(reports);
            QCoreApplication::processEvents();
            QVERIFY(reports->menu()->isVisible() && onScreen(reports->menu()));
            reports->menu()->hide();
            // The user gives the project list more room ...
            auto* body = p->findChild<QSplitter*>(QStringLiteral("body"));
            moved = body->sizes();
            body->setSizes({moved[0] + 60, moved[1] - 60});
            moved = body->sizes();
        });
        // ... and finds it so the next time.
        destroyWindows();
        openFromMenu(QStringLiteral("N10"), [&](QDialog* w) {
            QCOMPARE(w->findChild<QSplitter*>(QStringLiteral("body"))->sizes(), moved);
        });
    }

    void everyMenuOpensOnScreen()
    {
        // Every menu and pop-up, opened at the screen's middle and at its corner,
        // and a right-to-left menu wider than the room left of where it opens.
        QMenu wide;
        wide.setLayoutDirection(Qt::RightToLeft);
        wide.addAction(QString(140, QChar(0x0645)));
        QList<QMenu*> menus = mainWindow().findChildren<QMenu*>() << &wide;
        for (QDialog* w : everyWindow())
            menus += w->findChildren<QMenu*>();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (QMenu* m : std::as_const(menus)) {
            for (const QPoint at : {screen.center(), screen.bottomRight() - QPoint(2, 2)}) {
                m->popup(at);
                QCoreApplication::processEvents();
                QVERIFY2(m->isEmpty() || onScreen(m), qPrintable(m->objectName() + m->title()));
                m->hide();
            }
        }
    }

    void enterSavesAndPressesTheFocusedButton()
    {
        test::DialogRecorder rec;
        const auto count = [](const char* sql) { return dm().scalar(QString::fromUtf8(sql)).toInt(); };
        // Enter in a field of an entry window saves as its button does.
        dm().exec(QStringLiteral("update projects set vahed_kol=vahed_kol+1,vahed_cnt=vahed_cnt+1"));
        Tproject_vahed& units = window<Tproject_vahed>();
        const int before = count("select count(*) from vahedha");
        units.prepareNew(firstRow("projects"));
        units.bolok->setEditText(QStringLiteral("9"));
        units.tabaghe->setEditText(QStringLiteral("1"));
        units.vahed_no->setEditText(QStringLiteral("1"));
        units.metraj->setText(QStringLiteral("80"));
        units.mablagh1->setText(QStringLiteral("1000000"));
        QTest::keyClick(units.metraj, Qt::Key_Return);
        QCOMPARE(count("select count(*) from vahedha"), before + 1);
        QCOMPARE(rec.texts(), QStringList());

        // Enter on a focused button presses it.
        Tusers& users = window<Tusers>();
        users.prepareToShow();
        users.show();
        QVERIFY(QTest::qWaitForWindowActive(&users));
        users.src_btn->setFocus();
        QTest::keyClick(users.src_btn, Qt::Key_Return);
        QCOMPARE(users.cnt->text(), QString::number(count("select count(*) from users")));
        users.hide();

        // Enter in a lower list's filter runs that list's search, not the project search.
        Tproject_src& list = window<Tproject_src>();
        list.prepareToShow();
        list.grid()->setCurrentIndex(list.grid()->listModel()->index(2, 0));
        list.DBGrid1CellClick();
        ProjectItemsPanel* panel = list.panel(int(ProjectItems::Units));
        panel->findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->setChecked(true);
        auto* bolok = panel->findChild<QLineEdit*>(QStringLiteral("bolok"));
        bolok->setText(QStringLiteral("1"));
        QTest::keyClick(bolok, Qt::Key_Return);
        QCOMPARE(list.grid()->currentRow(), 2);
        QCOMPARE(panel->grid()->listModel()->totalCount(),
                 dm().scalar(QStringLiteral("select count(*) from vahedha where prj_id=? and bolok like '%1%'"),
                             {list.currentProject().value(QStringLiteral("id"))})
                     .toInt());
    }

    void latinCaptionsReadLeftToRightAndBoxesShowTheirTitle()
    {
        // A Latin caption is drawn as the same text fenced by left-to-right marks.
        QWidget form;
        form.setLayoutDirection(Qt::RightToLeft);
        QPushButton plain(QStringLiteral("Browse Excel..."), &form);
        QPushButton fenced(QStringLiteral("\u200EBrowse Excel...\u200E"), &form);
        for (QPushButton* b : {&plain, &fenced})
            b->resize(160, 30);
        QCOMPARE(plain.grab().toImage(), fenced.grab().toImage());
        // A Persian caption with a shortcut letter ("&بله" of the standard
        // buttons) keeps its letters joined: it is drawn as the caption itself.
        QPushButton joined(QStringLiteral("بله"), &form);
        QPushButton shortcut(QStringLiteral("&بله"), &form);
        for (QPushButton* b : {&joined, &shortcut})
            b->resize(100, 30);
        QCOMPARE(shortcut.grab().toImage(), joined.grab().toImage());

        // A message box with a short text is as wide as its title needs, and
        // offers no minimise or maximise button.
        int width = 0;
        Qt::WindowFlags flags;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            width = box->width();
            flags = box->windowFlags();
            box->accept();
        });
        const QString title = QStringLiteral("ثبت اطلاعات پايه تقسيمات کشوري");
        DialogService().message(MsgKind::Information, QStringLiteral("ثبت شد"), title);
        QVERIFY(width >= messageBoxTitleRoom(title));
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }
};

TAVRIN_DB_TEST_MAIN(TestWindowsFit)
#include "tst_windows_fit.moc"
