// The phone book: live search with the kaf written back, folded matching of
// yeh and kaf, insert with its checks, delete from the pop-up, rights and the
// main-menu entry.
#include "support/testsupport.h"

#include "app/main_u.h"
#include "common/listmodel.h"
#include "reference/phone_u.h"
#include "reference/phonebook.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace tavrin;

namespace {
void addEntry(const QString& name, const QString& tel = QStringLiteral("021"), const QString& cmt = QStringLiteral("-"))
{
    dm().exec(QStringLiteral("insert into phone (name,tel,cmt) values (?,?,?)"), {name, tel, cmt});
}

QStringList shownNames(Tphone& w)
{
    QStringList out;
    ListModel* m = w.DBGrid1->listModel();
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->value(r, QStringLiteral("name")).toString();
    return out;
}

int count(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}
} // namespace

class TestPhone : public QObject {
    Q_OBJECT

    Tphone& book(const Rights& r = Rights{true, true, true, true})
    {
        Tphone& w = tavrin::window<Tphone>();
        w.applyRights(r);
        w.prepareToShow();
        return w;
    }

private Q_SLOTS:
    void init()
    {
        destroyMainWindow();
        destroyWindows();
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
    }

    void searchFoldsYehAndKafAndWritesTheKafBack()
    {
        addEntry(QStringLiteral("كريمي"));        // Arabic kaf and yeh
        addEntry(QStringLiteral("کریمی نژاد"));   // Persian kaf and yeh
        addEntry(QStringLiteral("حسيني"), QStringLiteral("0341"), QStringLiteral("اداره كل"));
        addEntry(QStringLiteral(""), QStringLiteral("0999"));   // an entry without a name is never listed
        Tphone& w = book();
        QCOMPARE(w.src->text(), QString());
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
        QCOMPARE(shownNames(w), (QStringList{QStringLiteral("حسيني"), QStringLiteral("كريمي"), QStringLiteral("کریمی نژاد")}));

        test::typeText(w.src, QStringLiteral("ک"));
        QCOMPARE(w.src->text(), QStringLiteral("ك"));
        QCOMPARE(w.cnt->text(), QStringLiteral("2"));
        test::typeText(w.src, QStringLiteral("ریم"));   // Persian yeh
        QCOMPARE(w.src->text(), QStringLiteral("كریم"));
        QCOMPARE(w.cnt->text(), QStringLiteral("2"));
        test::typeText(w.src, QStringLiteral("ی ن"));
        QCOMPARE(shownNames(w), QStringList{QStringLiteral("کریمی نژاد")});
        // The caret stays where the user types.
        w.src->setText(QStringLiteral("کیک"));
        QCOMPARE(w.src->text(), QStringLiteral("كیك"));
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));

        // Arabic letters typed find the Persian forms too.
        w.src->setText(QStringLiteral("كريمي"));
        QCOMPARE(w.cnt->text(), QStringLiteral("2"));
        // The searched column.
        w.RadioGroup1_1->setChecked(true);
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        w.src->setText(QStringLiteral("034"));
        QCOMPARE(shownNames(w), QStringList{QStringLiteral("حسيني")});
        w.RadioGroup1_2->setChecked(true);
        w.src->setText(QStringLiteral("کل"));
        QCOMPARE(w.src->text(), QStringLiteral("كل"));
        QCOMPARE(shownNames(w), QStringList{QStringLiteral("حسيني")});
        // A quote is only text.
        w.src->setText(QStringLiteral("'"));
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        // Opening from the menu again clears the search.
        w.prepareToShow();
        QCOMPARE(w.src->text(), QString());
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
    }

    void insertRefusesEmptyAndDuplicateNames()
    {
        test::DialogRecorder rec;
        Tphone& w = book();
        w.name->setText(QStringLiteral("  "));
        w.tel->setText(QStringLiteral("0341234"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("لطفا نام را وارد نماييد")});
        QCOMPARE(count(QStringLiteral("select count(*) from phone")), 0);

        w.name->setText(QStringLiteral("دفتر فني"));
        w.cmt->setText(QStringLiteral("طبقه 2"));
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("ثبت شد"));
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        QCOMPARE(dm().scalar(QStringLiteral("select tel from phone where name=?"), {QStringLiteral("دفتر فني")}).toString(),
                 QStringLiteral("0341234"));
        rec.clear();
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("نام تکراري است")});
        QCOMPARE(count(QStringLiteral("select count(*) from phone")), 1);
        // The same telephone under another name is accepted; names compare exactly.
        w.name->setText(QStringLiteral("دفتر فنی"));   // Persian yeh: another name
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("ثبت شد"));
        QCOMPARE(count(QStringLiteral("select count(*) from phone where tel='0341234'")), 2);
        // Without the insert right nothing is inserted.
        w.applyRights(Rights{false, true, true, true});
        QVERIFY(!w.ins_btn->isEnabled());
        w.name->setText(QStringLiteral("سوم"));
        w.ins_btnClick();
        QCOMPARE(count(QStringLiteral("select count(*) from phone")), 2);
        QCOMPARE(addPhone(QStringLiteral(""), QStringLiteral("1"), QStringLiteral("")), PhoneInsert::EmptyName);
        // A text longer than its column is refused naming its field, on every backend.
        FieldRefusal tooLong;
        QCOMPARE(addPhone(QStringLiteral("چهارم"), QString(41, QChar('1')), QString(), &tooLong), PhoneInsert::TooLong);
        QCOMPARE(tooLong.message, QStringLiteral("خطا! طول تلفن بيش از حد مجاز است (حداکثر 40 حرف)"));
        QCOMPARE(tooLong.field, QStringLiteral("tel"));
        QCOMPARE(count(QStringLiteral("select count(*) from phone")), 2);
    }

    void deleteFromThePopup()
    {
        test::DialogRecorder rec;
        addEntry(QStringLiteral("الف"), QStringLiteral("111"), QStringLiteral("x"));
        addEntry(QStringLiteral("ب"), QStringLiteral("222"), QStringLiteral("y"));
        Tphone& w = book(Rights{true, true, false, true});
        QVERIFY(!w.N1->isEnabled());
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(1, 0));
        w.N1Click();
        QCOMPARE(count(QStringLiteral("select count(*) from phone")), 2);
        QVERIFY(rec.shown.isEmpty());

        w.applyRights(Rights{false, false, true, true});
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(1, 0));
        w.N1Click();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("حذف شد")});
        QCOMPARE(dm().textColumn(QStringLiteral("select name from phone")), QStringList{QStringLiteral("الف")});
        // The deleted entry is left in the fields, to be entered again if it was a mistake.
        QCOMPARE(w.name->text(), QStringLiteral("ب"));
        QCOMPARE(w.tel->text(), QStringLiteral("222"));
        QCOMPARE(w.cmt->text(), QStringLiteral("y"));
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
    }

    void menuEntryChecksTheRights()
    {
        test::DialogRecorder rec;
        test::addUser(QStringLiteral("p1"), QStringLiteral("city"), {}, {{QStringLiteral("phone"), QStringLiteral("0011")}});
        test::addUser(QStringLiteral("p2"), QStringLiteral("city"));
        addEntry(QStringLiteral("الف"));
        Tmain& m = mainWindow();
        QVERIFY(m.action(QStringLiteral("N11"))->isEnabled());
        test::loginAs(QStringLiteral("p2"));
        m.action(QStringLiteral("N11"))->trigger();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("شما دسترسي به اين صفحه را نداريد")});
        test::loginAs(QStringLiteral("p1"));
        rec.clear();
        m.action(QStringLiteral("N11"))->trigger();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.first().title, QStringLiteral("Tphone"));
        Tphone& w = tavrin::window<Tphone>();
        QVERIFY(!w.ins_btn->isEnabled());
        QVERIFY(w.N1->isEnabled());
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
    }
};

TAVRIN_DB_TEST_MAIN(TestPhone)
#include "tst_phone.moc"
