// Messages and news: recipients by id, one message per subject and day, what a
// user sees and may delete, the menu's unread mark, the news rights, entry,
// date search and the "do not show again" mark.  With TAVRIN_SCREENSHOT_DIR
// set, the messages window is also saved there as PNG.
#include "support/testsupport.h"

#include "admin/commtexts.h"
#include "admin/messages.h"
#include "admin/news.h"
#include "admin/payam_u.h"
#include "admin/tazeha_ins_u.h"
#include "admin/tazeha_u.h"
#include "app/main_u.h"
#include "common/fieldcheck.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "documents/drawcheck.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tavrin;
using namespace tavrin::commtext;

namespace {
int count(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}

void tick(Tpayam& w, qint64 id)
{
    for (int i = 0; i < w.prs_list->count(); ++i)
        if (w.prs_list->item(i)->data(Qt::UserRole).toLongLong() == id)
            w.prs_list->item(i)->setCheckState(Qt::Checked);
}

qint64 message(qint64 from, qint64 to, const QString& mozo, const QString& shown = QStringLiteral(""))
{
    return dm().insert(QStringLiteral("payamha"),
                       {QStringLiteral("send_prs_id"), QStringLiteral("rec_prs_id"), QStringLiteral("send_dat"),
                        QStringLiteral("show_dat"), QStringLiteral("mozo")},
                       {from, to, QStringLiteral("1403/01/01"), shown, mozo});
}

// Selects the grid rows whose subject is listed.
void select(Tpayam& w, const QStringList& subjects)
{
    ListModel* m = w.DBGrid1->listModel();
    w.DBGrid1->clearSelection();
    for (int r = 0; r < m->rowCount(); ++r)
        if (subjects.contains(text(m->value(r, QStringLiteral("mozo")))))
            w.DBGrid1->selectionModel()->select(m->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}
} // namespace

class TestMessages : public QObject {
    Q_OBJECT
    qint64 m_u1 = 0, m_twinA = 0, m_twinB = 0, m_noRole = 0;

private Q_SLOTS:
    void init()
    {
        destroyMainWindow();
        destroyWindows();
        test::useFreshDatabase();
        m_u1 = test::addUser(QStringLiteral("u1"), QStringLiteral("city"), QStringLiteral("تهران"));
        m_twinA = test::addUser(QStringLiteral("t1"), QStringLiteral("city"), QStringLiteral("قم"));
        m_twinB = test::addUser(QStringLiteral("t2"), QStringLiteral("city"), QStringLiteral("قم"));
        m_noRole = test::addUser(QStringLiteral("n1"), QStringLiteral("ostan"), QStringLiteral("يزد"));
        dm().exec(QStringLiteral("update users set semat=?, nam=? where id in (?,?)"),
                  {QStringLiteral("کارشناس"), QStringLiteral("علي"), m_twinA, m_twinB});
        dm().exec(QStringLiteral("insert into setting (component,cmt) values (?,?)"), {kSubjectsKey, QStringLiteral("جلسه")});
    }

    void recipientsAreChosenById()
    {
        test::DialogRecorder rec;
        test::loginAs(QStringLiteral("u1"));
        Tpayam& w = window<Tpayam>();
        w.prepareToShow();
        QCOMPARE(w.mozo->count(), 1);
        QVERIFY(!w.girande->isEnabled());
        // Twins share one label; the user without a role still has one; levels
        // read in Persian.  The recipient choice above the list is its filter.
        QStringList labels;
        for (int i = 0; i < w.prs_list->count(); ++i)
            labels << w.prs_list->item(i)->text();
        QCOMPARE(labels.count(QStringLiteral("قم*شهرستاني*کارشناس*علي")), 2);
        QVERIFY(labels.contains(QStringLiteral("يزد*استاني**n1 name")));
        QCOMPARE(qobject_cast<QGroupBox*>(w.girande->parentWidget())->title(), kRecipientFilter);

        tick(w, m_twinB);
        tick(w, m_noRole);
        w.mozo->setEditText(QStringLiteral("جلسه"));
        w.cmt->setPlainText(QStringLiteral("متن پيام ۱"));
        w.BitBtn1Click();
        QCOMPARE(rec.lastText(), kSent);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha where rec_prs_id=?"), {m_twinB}), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha where rec_prs_id=?"), {m_twinA}), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha where rec_prs_id=?"), {m_noRole}), 1);
        // The body is stored as UTF-8.
        QCOMPARE(dm().scalar(QStringLiteral("select cmt from payamha where rec_prs_id=?"), {m_twinB}).toByteArray(),
                 QStringLiteral("متن پيام ۱").toUtf8());

        // The same subject to the same recipient on the same day: nothing more.
        rec.clear();
        w.BitBtn1Click();
        QCOMPARE(rec.texts(), QStringList{kNothingSent});
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 2);
        // One new recipient among them: sent to him only.
        tick(w, m_twinA);
        w.BitBtn1Click();
        QCOMPARE(rec.lastText(), kSent);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 3);

        // Refusals send nothing.
        w.CheckBox1->setChecked(false);
        w.CheckBox1Click();
        QVERIFY(w.tickedRecipients().isEmpty());
        w.BitBtn1Click();
        QCOMPARE(rec.lastText(), messages::kNoRecipient);
        w.CheckBox1->setChecked(true);
        w.CheckBox1Click();
        QCOMPARE(w.tickedRecipients().size(), w.prs_list->count());
        w.mozo->setEditText(QString());
        w.cmt->clear();
        w.BitBtn1Click();
        QCOMPARE(rec.lastText(), messages::kEmptyMessage);
        QCOMPARE(messages::send({m_u1}, QString(101, QChar('x')), {}).refusal, tooLongMessage(kMozo, 100));
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 3);
    }

    void oldBodiesStillRead()
    {
        const QString body = QStringLiteral("سلام ABC");
        QCOMPARE(messages::decodeBody(body.toUtf8()), body);
        const QByteArray utf16(reinterpret_cast<const char*>(body.utf16()), body.size() * 2);
        QCOMPARE(messages::decodeBody(utf16), body);
        QCOMPARE(messages::decodeBody(QByteArray("\xd3\xe1\xc7\xe3 ABC")), body);  // Arabic Windows code page
        QCOMPARE(messages::decodeBody(QVariant(body)), body);
        QCOMPARE(messages::decodeBody(QVariant()), QString());
    }

    void aUserSeesHisMailAndCannotDelete()
    {
        test::DialogRecorder rec;
        const qint64 read = message(m_twinA, m_u1, QStringLiteral("a"), QStringLiteral("1403/01/02"));
        message(m_twinA, m_u1, QStringLiteral("b"));
        message(m_u1, m_twinA, QStringLiteral("c"));
        test::loginAs(QStringLiteral("u1"));
        Tpayam& w = window<Tpayam>();
        w.prepareToShow();
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 2);
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        // Details by id, for twins too.
        w.N6Click();
        QCOMPARE(rec.lastText(), QStringLiteral("قم*شهرستاني*کارشناس*علي"));
        w.N2Click();
        QCOMPARE(rec.lastText(), QStringLiteral("تهران*شهرستاني**u1 name"));
        for (auto del : {&Tpayam::N3Click, &Tpayam::N4Click, &Tpayam::N5Click}) {
            (w.*del)();
            QCOMPARE(rec.lastText(), kAdminOnlyDelete);
        }
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 3);
        // Marking read keeps the date a message was first read.
        select(w, {QStringLiteral("a"), QStringLiteral("b")});
        w.N1Click();
        QCOMPARE(text(dm().scalar(QStringLiteral("select show_dat from payamha where id=?"), {read})), QStringLiteral("1403/01/02"));
        QCOMPARE(count(QStringLiteral("select count(*) from payamha where show_dat=?"), {jalali::today()}), 1);
    }

    void administratorDeletes()
    {
        test::DialogRecorder rec;
        message(m_twinA, m_u1, QStringLiteral("r1"), QStringLiteral("1403/01/02"));
        message(m_twinA, m_u1, QStringLiteral("u1"));
        message(m_twinA, m_u1, QStringLiteral("u2"));
        message(m_u1, m_twinB, QStringLiteral("r2"), QStringLiteral("1403/01/03"));
        message(m_u1, m_twinA, QStringLiteral("u3"));
        test::loginAs(QStringLiteral("admin"));
        Tpayam& w = window<Tpayam>();
        w.prepareToShow();
        QVERIFY(w.girande->isEnabled());
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 5);
        w.girande->setCurrentIndex(w.girande->findData(m_u1));
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 3);
        // Unread messages are not deleted by "delete selected", and that is said.
        select(w, {QStringLiteral("u1"), QStringLiteral("u2")});
        w.N5Click();
        QCOMPARE(rec.lastText(), kNothingDeleted);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 5);
        select(w, {QStringLiteral("u1"), QStringLiteral("r1")});
        w.N5Click();
        QCOMPARE(rec.lastText(), kDeleted);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 4);
        w.N4Click();  // every read message, of every recipient
        QCOMPARE(count(QStringLiteral("select count(*) from payamha where show_dat<>''")), 0);
        w.N4Click();
        QCOMPARE(rec.lastText(), kNothingDeleted);
        w.girande->setCurrentIndex(0);
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 3);
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        w.N3Click();
        QCOMPARE(rec.lastText(), kDeleted);
        QCOMPARE(count(QStringLiteral("select count(*) from payamha")), 2);
    }

    void menuMarkFollowsUnreadMessages()
    {
        test::DialogRecorder rec;
        test::loginAs(QStringLiteral("u1"));
        const qint64 id = message(m_twinA, m_u1, QStringLiteral("x"));
        Tmain& m = mainWindow();
        QAction* n9 = m.action(QStringLiteral("N9"));
        QVERIFY(n9->isEnabled());
        n9->trigger();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tpayam"));
        window<Tpayam>().reject();
        QCOMPARE(n9->text(), kPayamMenuUnread);
        messages::markRead({id});
        n9->trigger();
        window<Tpayam>().reject();
        QCOMPARE(n9->text(), kPayamMenu);
        // A message without any show date (older data) is unread too.
        dm().exec(QStringLiteral("update payamha set show_dat=NULL where id=?"), {message(m_twinA, m_u1, QStringLiteral("y"))});
        QCOMPARE(messages::unreadCount(m_u1), 1);
    }

    void newsRightsEntryAndSearch()
    {
        test::DialogRecorder rec;
        test::loginAs(QStringLiteral("u1"));
        Tmain& m = mainWindow();
        Ttazeha& w = window<Ttazeha>();
        // No rights row: reading only.
        QVERIFY(N16Click(m));
        QVERIFY(!w.N1->isEnabled() && !w.N2->isEnabled() && !w.N3->isEnabled());
        w.N1Click();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Ttazeha"));
        // A row without the view right: the news page's own refusal.
        dm().exec(QStringLiteral("insert into dastrasi (prs_id,page_name,darj,virayesh,hazf,namayesh) values (?,'tazeha',?,?,?,?)"),
                  {m_u1, true, true, true, false});
        rec.clear();
        QVERIFY(!N16Click(m));
        QCOMPARE(rec.texts(), QStringList{kNoNewsAccess});
        dm().exec(QStringLiteral("update dastrasi set namayesh=? where prs_id=?"), {true, m_u1});
        QVERIFY(N16Click(m));
        QVERIFY(w.N1->isEnabled() && w.N3->isEnabled());

        // New items: a whole date and a title are needed; the window stays open.
        w.N1Click();
        Ttazeha_ins& e = window<Ttazeha_ins>();
        QVERIFY(e.ins_btn->isVisibleTo(&e) && !e.edit_btn->isVisibleTo(&e));
        QCOMPARE(e.dat->displayText(), jalali::today());
        e.dat->setText(QStringLiteral("1403/13/01"));
        e.mozo->setText(QStringLiteral("بخشنامه"));
        e.ins_btnClick();
        QCOMPARE(rec.lastText(), news::kDateIncomplete);
        e.dat->setText(QStringLiteral("1403/02/10"));
        e.mozo->clear();
        e.ins_btnClick();
        QCOMPARE(rec.lastText(), news::kNeedTitle);
        e.mozo->setText(QStringLiteral("بخشنامه"));
        e.msg->setPlainText(QStringLiteral("متن بخشنامه"));
        QTest::keyClick(e.mozo, Qt::Key_Return);  // Enter saves
        QCOMPARE(rec.lastText(), kSaved);
        e.dat->setText(QStringLiteral("1403/05/01"));
        e.mozo->setText(QStringLiteral("اطلاعيه"));
        e.ins_btnClick();
        QCOMPARE(count(QStringLiteral("select count(*) from tazeha")), 2);
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 2);
        QCOMPARE(text(w.DBGrid1->listModel()->value(0, QStringLiteral("mozo"))), QStringLiteral("اطلاعيه"));

        // Date range.
        w.CheckBox2->setChecked(true);
        w.dat1->setText(QStringLiteral("1403/02/01"));
        w.dat2->setText(QStringLiteral("1403/02/31"));
        w.src_btnClick();
        QCOMPARE(w.DBGrid1->listModel()->totalCount(), 1);
        QCOMPARE(w.DBMemo1->toPlainText(), QStringLiteral("متن بخشنامه"));
        // Edit, then delete.
        w.N2Click();
        QVERIFY(e.edit_btn->isVisibleTo(&e));
        QCOMPARE(e.msg->toPlainText(), QStringLiteral("متن بخشنامه"));
        e.mozo->setText(QStringLiteral("بخشنامه جديد"));
        e.edit_btnClick();
        QCOMPARE(text(dm().scalar(QStringLiteral("select mozo from tazeha where dat='1403/02/10'"))), QStringLiteral("بخشنامه جديد"));
        w.N3Click();
        QCOMPARE(count(QStringLiteral("select count(*) from tazeha")), 1);
    }

    void newsReopensOnlyForANewerDay()
    {
        test::DialogRecorder rec;
        test::loginAs(QStringLiteral("u1"));
        const QString today = jalali::today();
        dm().exec(QStringLiteral("insert into tazeha (dat,mozo) values (?,'x')"), {today});
        QVERIFY(news::hasUnseen(m_u1));
        Ttazeha& w = window<Ttazeha>();
        QVERIFY(N16Click(mainWindow()));
        w.CheckBox1->setChecked(true);
        w.reject();
        w.prepareToShow();
        w.CheckBox1->setChecked(true);
        w.reject();
        QCOMPARE(count(QStringLiteral("select count(*) from tazeha_readed where prs_id=? and dat=?"), {m_u1, today}), 1);
        // An item of the same day does not reopen the news; a later one does.
        QVERIFY(!news::hasUnseen(m_u1));
        QVERIFY(news::hasUnseen(m_twinA));
        dm().exec(QStringLiteral("insert into tazeha (dat,mozo) values ('1499/01/01','y')"));
        QVERIFY(news::hasUnseen(m_u1));
    }

    void windowsFitAndReadRightToLeft()
    {
        test::DialogRecorder rec;
        const qint64 first = message(m_twinA, m_u1, QStringLiteral("جلسه"), QStringLiteral("1403/01/05"));
        message(m_noRole, m_u1, QStringLiteral("گزارش ماهانه"));
        dm().exec(QStringLiteral("update payamha set cmt=? where id=?"),
                  {messages::encodeBody(QStringLiteral("جلسه هماهنگي فروش واحدها شنبه برگزار مي شود.")), first});
        dm().exec(QStringLiteral("update users set nam=?, semat=? where id=?"),
                  {QStringLiteral("مريم احمدي"), QStringLiteral("کارشناس مالي"), m_u1});
        dm().exec(QStringLiteral("update users set nam=? where id=?"), {QStringLiteral("رضا کريمي"), m_noRole});
        test::loginAs(QStringLiteral("admin"));
        Tpayam& w = window<Tpayam>();
        w.prepareToShow();
        w.mozo->setEditText(QStringLiteral("جلسه"));
        w.cmt->setPlainText(QStringLiteral("جلسه فردا ساعت ۱۰ برگزار مي شود."));
        tick(w, m_u1);
        w.DBGrid1->setCurrentIndex(w.DBGrid1->listModel()->index(0, 0));
        save(w, QStringLiteral("Tpayam"));
        // Fits a 1366x768 screen with room for the title bar and the panel.
        QVERIFY(w.width() <= 1366 && w.height() <= 700);
        QVERIFY(w.minimumSizeHint().width() <= 1366 && w.minimumSizeHint().height() <= 700);
        // The list stands at the right, the body beside it.
        QVERIFY(w.DBGrid1->mapTo(&w, QPoint(0, 0)).x() > w.DBMemo1->mapTo(&w, QPoint(0, 0)).x());
        QCOMPARE(w.DBMemo1->toPlainText(), QStringLiteral("جلسه هماهنگي فروش واحدها شنبه برگزار مي شود."));
        // Persian bodies stand against the right edge, a Latin one against the left.
        w.show();
        QVERIFY(againstRightEdge(w.DBMemo1));
        QVERIFY(againstRightEdge(w.cmt));
        w.cmt->setPlainText(QStringLiteral("Meeting at 10.\nجلسه"));
        QVERIFY(!againstRightEdge(w.cmt));
        w.cmt->clear();
        QVERIFY(againstRightEdge(w.cmt, false));   // the cursor of an empty field too
        w.hide();
        dm().exec(QStringLiteral("insert into tazeha (dat,mozo,msg) values ('1403/02/10',?,?)"),
                  {QStringLiteral("بخشنامه فروش"), messages::encodeBody(QStringLiteral("متن بخشنامه"))});
        QVERIFY(N16Click(mainWindow()));
        Ttazeha& news = window<Ttazeha>();
        save(news, QStringLiteral("Ttazeha"));
        news.show();
        QCOMPARE(news.DBMemo1->toPlainText(), QStringLiteral("متن بخشنامه"));
        QVERIFY(againstRightEdge(news.DBMemo1));
        news.hide();
        Ttazeha_ins& entry = window<Ttazeha_ins>();
        entry.msg->setPlainText(QStringLiteral("متن بخشنامه"));
        entry.show();
        QVERIFY(againstRightEdge(entry.msg));
        entry.hide();
    }

private:
    // Whether a text field draws each line of its text (or, empty, its
    // cursor) against the right edge of its page.
    static bool againstRightEdge(QPlainTextEdit* edit, bool hasText = true)
    {
        QWidget* page = edit->viewport();
        if (!hasText)
            return edit->cursorRect().left() > page->width() / 2;
        test::detail::RecordingDevice device(QSizeF(page->width(), page->height()) * (25.4 / 96), 96);
        page->render(&device);
        QList<QRectF> ink;   // px
        for (const test::DrawnItem& item : device.engine().items)
            if (item.kind == test::DrawnItem::Kind::Text && !item.text.trimmed().isEmpty())
                ink << QRectF(item.box.topLeft() * 96 / 25.4, item.box.bottomRight() * 96 / 25.4);
        std::sort(ink.begin(), ink.end(), [](const QRectF& a, const QRectF& b) { return a.center().y() < b.center().y(); });
        // The runs of one line lie within half a line of its first run's middle.
        QList<double> lineEnds;
        double middle = -1e9;
        for (const QRectF& run : ink) {
            if (run.center().y() - middle > 8) {
                middle = run.center().y();
                lineEnds << 0;
            }
            lineEnds.last() = std::max(lineEnds.last(), run.right());
        }
        return !lineEnds.isEmpty() && std::all_of(lineEnds.begin(), lineEnds.end(), [&](double end) {
            return end > page->width() - 12;
        });
    }

    static void save(QWidget& w, const QString& name)
    {
        w.show();
        QTest::qWait(50);
        const QImage img = w.grab().toImage();
        const QString dir = qEnvironmentVariable("TAVRIN_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QVERIFY(img.save(QDir(dir).filePath(name + QStringLiteral(".png"))));
        }
        w.hide();
    }
};

TAVRIN_DB_TEST_MAIN(TestMessages)
#include "tst_messages.moc"
