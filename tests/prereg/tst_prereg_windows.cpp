// The pre-registration windows driven through their controls: the main-menu
// entry with its rights, new and edit through the entry window (Enter saves),
// an empty list whose row actions do nothing, the deposits window, the
// agreement's menu, and every window on a 1366x768 screen.  With
// TAVRIN_SCREENSHOT_DIR set, the windows and an agreement page are saved there.
#include "prereg_fixtures.h"

#include "prereg/pishpardakht_src_u.h"
#include "prereg/pishsabt_ins_u.h"
#include "prereg/pishsabt_pardakht_u.h"
#include "prereg/pishsabt_src_u.h"
#include "prereg/prereg_texts.h"
#include "prereg/vadiegozari_frm.h"

#include "app/main_u.h"
#include "app/startup.h"
#include "common/listmodel.h"
#include "common/spreadsheetreader.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;
using namespace tavrin::prereg;
using namespace tavrin::test;

namespace {

QString label(QWidget* w, const char* name)
{
    return child<QLabel>(w, QString::fromLatin1(name))->text();
}

void setCombo(QWidget* w, const char* name, const QString& text)
{
    child<QComboBox>(w, QString::fromLatin1(name))->setEditText(text);
}

void setEdit(QWidget* w, const char* name, const QString& text)
{
    child<QLineEdit>(w, QString::fromLatin1(name))->setText(text);
}

void saveScreen(const QImage& img, const QString& name)
{
    QVERIFY(!img.isNull());
    const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
    }
}

} // namespace

class TestPreregWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { setUpApplication(); }

    void init()
    {
        destroyWindows();
        useFreshDatabase();
        addPlaces();
        addUser(QStringLiteral("u1"), QStringLiteral("city"), kTehran,
                {{QStringLiteral("pishsabt"), QStringLiteral("1101")}, {QStringLiteral("pardakht"), QStringLiteral("1011")}},
                {kShemiranat, kRey});
        loginAs(QStringLiteral("u1"));
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?),(?,?)"),
                  {preregtext::kSettingPaymentWay, QStringLiteral("نقدي"), preregtext::kSettingJob, QStringLiteral("کارمند")});
    }

    void mainMenuOpensTheListWithItsRights()
    {
        QVERIFY(savedPerson(person(QStringLiteral("1111111111"))));
        QVERIFY(savedPerson(person(QStringLiteral("2222222222"), QStringLiteral("زارع"), kFars, kShiraz)));
        DialogRecorder rec;
        Tmain& m = mainWindow();
        m.resize(1366, 740);
        QAction* n15 = m.action(QStringLiteral("N15"));
        QVERIFY(n15->isEnabled());
        n15->trigger();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tpishsabt_src"));
        Tpishsabt_src& w = window<Tpishsabt_src>();
        QCOMPARE(w.size(), QSize(1366 - 17, 740 - 60));
        QVERIFY(w.menuAction(QStringLiteral("N1"))->isEnabled() && w.menuAction(QStringLiteral("N2"))->isEnabled());
        QVERIFY(w.menuAction(QStringLiteral("N6"))->isEnabled() && !w.menuAction(QStringLiteral("N3"))->isEnabled());
        // The preset is typed, not ticked: the user's one visible county's row shows.
        QCOMPARE(child<QLineEdit>(&w, QStringLiteral("reg_user"))->text(), preregtext::kInternetPreset);
        QVERIFY(!child<QCheckBox>(&w, QStringLiteral("CheckBox6"))->isChecked());
        QCOMPARE(label(&w, "cnt"), QStringLiteral("1"));
        rec.clear();
        dm().exec(QStringLiteral("update dastrasi set namayesh=? where page_name=?"), {false, QStringLiteral("pishsabt")});
        n15->trigger();
        QCOMPARE(rec.texts(), QStringList {noAccessMessage()});
        destroyMainWindow();
    }

    void newAndEditThroughTheEntryWindow()
    {
        DialogRecorder rec;
        Tpishsabt_src& w = window<Tpishsabt_src>();
        w.applyRights({true, true, true, true});
        w.prepareToShow();
        Tpishsabt_ins& ins = window<Tpishsabt_ins>();
        rec.onExec = [&](QDialog* d) {
            if (d != &ins)
                return int(QDialog::Accepted);
            d->show();
            setCombo(&ins, "ostan", kTehran);
            setCombo(&ins, "shahrestan", kRey);
            setEdit(&ins, "nation", QStringLiteral("0012345679"));
            setEdit(&ins, "lname", QStringLiteral("صالحي"));
            // Enter in a field saves, as the visible button does; the window stays.
            QTest::keyClick(child<QLineEdit>(&ins, QStringLiteral("lname")), Qt::Key_Return);
            QTest::keyClick(child<QComboBox>(&ins, QStringLiteral("ostan")), Qt::Key_Return);
            return ins.result();
        };
        w.menuAction(QStringLiteral("N1"))->trigger();
        QCOMPARE(rec.texts(), (QStringList {preregtext::kSaved, preregtext::kDuplicateNation}));
        QCOMPARE(ins.result(), int(QDialog::Rejected));
        QCOMPARE(label(&w, "cnt"), QStringLiteral("1"));
        QCOMPARE(w.grid()->currentRecord().value(QStringLiteral("reg_user")).toString(), QStringLiteral("u1"));
        QCOMPARE(child<QLineEdit>(&ins, QStringLiteral("reg_dat"))->text().size(), 10);

        // The edit closes the window on Enter in a pick list.
        rec.clear();
        QStringList seen;
        rec.onExec = [&](QDialog* d) {
            if (d != &ins)
                return int(QDialog::Accepted);
            d->show();
            seen << QString::number(child<QPushButton>(&ins, QStringLiteral("ins_btn"))->isVisibleTo(&ins))
                 << child<QComboBox>(&ins, QStringLiteral("shahrestan"))->currentText();
            setCombo(&ins, "gender", QStringLiteral("زن"));
            QTest::keyClick(child<QComboBox>(&ins, QStringLiteral("gender")), Qt::Key_Return);
            return ins.result();
        };
        w.menuAction(QStringLiteral("N2"))->trigger();
        QCOMPARE(seen, (QStringList {QStringLiteral("0"), kRey}));
        QCOMPARE(ins.result(), int(QDialog::Accepted));
        QVERIFY(rec.texts().isEmpty());
        QCOMPARE(w.grid()->currentRecord().value(QStringLiteral("gender")).toString(), QStringLiteral("زن"));

        // Deleted by someone else while the window was open: said so, the list refreshed.
        rec.onExec = [&](QDialog* d) {
            if (d != &ins)
                return int(QDialog::Accepted);
            d->show();
            dm().exec(QStringLiteral("delete from pishsabt"));
            QTest::keyClick(child<QLineEdit>(&ins, QStringLiteral("fname")), Qt::Key_Return);
            return ins.result();
        };
        w.menuAction(QStringLiteral("N2"))->trigger();
        QCOMPARE(rec.texts(), QStringList {kPersonGone});
        QCOMPARE(label(&w, "cnt"), QStringLiteral("0"));
    }

    void emptyListRowActionsDoNothing()
    {
        DialogRecorder rec;
        Tpishsabt_src& w = window<Tpishsabt_src>();
        w.applyRights({true, true, true, true});
        w.prepareToShow();
        QCOMPARE(label(&w, "cnt"), QStringLiteral("0"));
        for (const char* n : {"N2", "N6", "N3", "N12", "N11", "N21", "N31", "N10", "N16", "N32"})
            w.menuAction(QString::fromLatin1(n))->trigger();
        QVERIFY(rec.shown.isEmpty());
    }

    void depositsWindowAndAgreementMenu()
    {
        QVERIFY(savedPerson(person(QStringLiteral("1111111111"))));
        DialogRecorder rec;
        Tpishsabt_src& w = window<Tpishsabt_src>();
        w.prepareToShow();
        Tpishsabt_pardakht& p = window<Tpishsabt_pardakht>();
        QStringList seen;
        rec.onExec = [&](QDialog* d) {
            if (d != &p)
                return int(QDialog::Accepted);
            d->show();
            seen << label(&p, "flname") << child<QLineEdit>(&p, QStringLiteral("mablagh"))->text();
            setCombo(&p, "pardakht_typ", QStringLiteral("نقدي"));
            setEdit(&p, "mablagh", QStringLiteral("30000000"));
            setEdit(&p, "vosol", QStringLiteral("29500000"));
            seen << label(&p, "mablagh_3harfi");
            QTest::keyClick(child<QLineEdit>(&p, QStringLiteral("num")), Qt::Key_Return);
            seen << label(&p, "mablagh_sum") << label(&p, "mande");
            // The delete puts the deposit back into the fields; the sums go empty.
            p.grid()->setCurrentIndex(p.grid()->listModel()->index(0, 0));
            p.findChild<QAction*>(QStringLiteral("N1"))->trigger();
            seen << label(&p, "mande") << child<QLineEdit>(&p, QStringLiteral("vosol"))->text();
            return 0;
        };
        w.menuAction(QStringLiteral("N12"))->trigger();
        QCOMPARE(seen, (QStringList {QStringLiteral("علي رضايي"), QStringLiteral("0"), QStringLiteral("30,000,000"),
                                     QStringLiteral("30,000,000"), QStringLiteral("500,000"), QString(),
                                     QStringLiteral("29500000")}));
        QCOMPARE(countOf(QStringLiteral("select count(*) from pishpardakht")), 0);
        QVERIFY(rec.texts().isEmpty());

        // All pages: the reward box, then the three previews in order.
        rec.clear();
        rec.onExec = {};
        w.menuAction(QStringLiteral("N10"))->trigger();
        QStringList kinds;
        for (const auto& s : rec.shown)
            kinds << s.kind + ':' + s.title;
        QCOMPARE(kinds, (QStringList {QStringLiteral("input:Padash"), QStringLiteral("window:preview"),
                                      QStringLiteral("window:preview"), QStringLiteral("window:preview")}));
        // Without a "pardakht" row the deposits do not open.
        rec.clear();
        dm().exec(QStringLiteral("delete from dastrasi where page_name=?"), {QStringLiteral("pardakht")});
        w.menuAction(QStringLiteral("N12"))->trigger();
        QCOMPARE(rec.texts(), QStringList {noAccessMessage()});
    }

    void exportsHeadTheirColumns()
    {
        const qint64 id = savedPerson(person(QStringLiteral("1111111111")));
        DepositValues d = deposit(QStringLiteral("30,000,000"), QStringLiteral("0"));
        QVERIFY(insertDeposit(id, d).done);
        DialogRecorder rec;
        QTemporaryDir dir;
        const auto headOf = [&](const std::function<void()>& exportIt) {
            const QString book = dir.filePath(QString::number(rec.shown.size()) + QStringLiteral(".xlsx"));
            rec.files.push_back(book);
            exportIt();
            const auto sheet = readSpreadsheet(book);
            return sheet && sheet->rows.size() == 2 ? sheet->rows[0] : QStringList();
        };
        Tpishsabt_src& w = window<Tpishsabt_src>();
        w.prepareToShow();
        const QStringList people = headOf([&] { w.N7Click(); });
        QCOMPARE(people.first(), QStringLiteral("شناسه"));
        for (const char* h : {"شماره شناسنامه", "نام کاربر", "ثبت نام ثنا", "شماره حساب", "بانک"})
            QVERIFY2(people.contains(QString::fromUtf8(h)), h);
        Tpishsabt_pardakht& p = window<Tpishsabt_pardakht>();
        p.preparePerson(w.grid()->currentRecord());
        const QStringList own = headOf([&] { p.N2Click(); });
        QCOMPARE(own.mid(0, 4), (QStringList {QStringLiteral("شناسه پرداخت"), QStringLiteral("شناسه متقاضي"),
                                              QStringLiteral("نحوه پرداخت"), QStringLiteral("مبلغ")}));
        Tpishpardakht_src& all = window<Tpishpardakht_src>();
        all.src_btnClick();
        const QStringList every = headOf([&] { all.N1Click(); });
        QVERIFY(every.contains(QStringLiteral("pishsabt_id")) && every.contains(QStringLiteral("شماره فيش يا چک")));
        QCOMPARE(every.last(), QStringLiteral("شهرستان"));
    }

    void windowsFitTheCommonScreen()
    {
        // A few people as a user would record them.
        const QStringList people {QStringLiteral("مريم|رضايي|محمد|0012345679|1365/04/12|09121234567|تهران، خيابان دولت"),
                                  QStringLiteral("حسين|کريمي|علي|0045678912|1358/11/02|09123334455|تجريش، کوچه نسترن"),
                                  QStringLiteral("زهرا|صالحي|رضا|0067891234|1370/01/25|09355556677|ري، خيابان فدائيان اسلام")};
        for (const QString& line : people) {
            const QStringList f = line.split('|');
            PersonValues v = person(f[3], f[1], kTehran, f[6].startsWith(QStringLiteral("ري")) ? kRey : kShemiranat);
            v[QStringLiteral("fname")] = f[0];
            v[QStringLiteral("father")] = f[2];
            v[QStringLiteral("birthday")] = f[4];
            v[QStringLiteral("mobile")] = f[5];
            v[QStringLiteral("adr")] = f[6];
            v[QStringLiteral("gender")] = f[0] == QStringLiteral("حسين") ? QStringLiteral("مرد") : QStringLiteral("زن");
            v[QStringLiteral("job")] = QStringLiteral("کارمند");
            v[QStringLiteral("sana")] = QStringLiteral("دارد");
            QVERIFY(savedPerson(v));
        }
        const QRect screen(0, 0, 1366, 768);
        Tpishsabt_src& src = window<Tpishsabt_src>();
        src.resize(1366 - 17, 740 - 60);
        src.applyRights({true, true, true, true});
        src.prepareToShow();
        Tpishsabt_ins& ins = window<Tpishsabt_ins>();
        ins.prepareEdit(src.grid()->currentRecord());
        Tpishsabt_pardakht& pay = window<Tpishsabt_pardakht>();
        pay.applyRights({true, true, true, true});
        pay.preparePerson(src.grid()->currentRecord());
        DepositValues d = deposit(QStringLiteral("30,000,000"), QStringLiteral("20,000,000"));
        QVERIFY(insertDeposit(pay.personId(), d).done);
        pay.refreshTotals();
        pay.grid()->listModel()->refresh();
        Tpishpardakht_src& all = window<Tpishpardakht_src>();
        all.src_btnClick();
        // The lists keep the size the main window gives them; the entry window its own.
        ins.adjustSize();
        for (QWidget* w : std::initializer_list<QWidget*> {&src, &ins, &pay, &all}) {
            w->show();
            QTest::qWait(30);
            QVERIFY2(w->minimumSizeHint().width() <= screen.width() && w->minimumSizeHint().height() <= screen.height() - 60,
                     qPrintable(w->objectName()));
            QVERIFY2(w->width() <= screen.width() && w->height() <= screen.height() - 60, qPrintable(w->objectName()));
            saveScreen(w->grab().toImage(), w->objectName());
            w->hide();
        }
        saveScreen(Tvadiegozari_frm1::build(agreementPage1Values(src.grid()->currentRecord(), AgreementVariant::Province,
                                                                 QStringLiteral("18%")))
                       .toImage(0, 90),
                   QStringLiteral("Tvadiegozari_frm1"));
        saveScreen(Tvadiegozari_frm2::build({agreementRow(depositsOf(pay.personId()).first())}).toImage(0, 90),
                   QStringLiteral("Tvadiegozari_frm2"));
    }
};

TAVRIN_DB_TEST_MAIN(TestPreregWindows)
#include "tst_prereg_windows.moc"
