// Country divisions: the starter set, the search, the entry window's checks and
// log rows, the delete password, single and bulk renames by id, the rights,
// the export, and the replacement of the table from spreadsheets written by
// other programs (in the window and with tavrin-cli).
#include "support/testsupport.h"

#include "app/main_u.h"
#include "common/listmodel.h"
#include "common/logtexts.h"
#include "common/lookups.h"
#include "common/session.h"
#include "common/spreadsheetreader.h"
#include "reference/abadiha_ins_u.h"
#include "reference/abadiha_u.h"
#include "reference/divisions.h"
#include "reference/refmessages.h"
#include "reference/reftexts.h"
#include "reference/settings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;

namespace {
QString data(const QString& name)
{
    return QStringLiteral(TAVRIN_TEST_DATA "/") + name;
}

qint64 addRow(const QStringList& v)
{
    return dm().insert(QStringLiteral("abadiha"), divisionColumns(),
                       {v.value(0), v.value(1), v.value(2), v.value(3), v.value(4), v.value(5), v.value(6)});
}

int count(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}

// Every row of abadiha as "ostan/shahrestan/.../cod", by id.
QStringList table()
{
    QStringList out;
    QSqlQuery q = dm().exec(QStringLiteral("select * from abadiha order by id"));
    while (q.next()) {
        QStringList v;
        for (const QString& c : divisionColumns())
            v << text(q.value(c));
        out << v.join('/');
    }
    return out;
}

QStringList logComments()
{
    return dm().textColumn(QStringLiteral("select cmt from log order by id"));
}

Rights rights(const char* f)
{
    return Rights{f[0] == '1', f[1] == '1', f[2] == '1', f[3] == '1'};
}

// Failing statements on the backend under test: a trigger that refuses to insert
// a row whose column holds the value, or to update a row that holds it.
void refuseUpdates(const QString& column, const QString& value, bool onInsert)
{
    const QString event = onInsert ? QStringLiteral("insert") : QStringLiteral("update");
    const QString row = onInsert ? QStringLiteral("new") : QStringLiteral("old");
    if (dm().backend() == Backend::SQLite) {
        dm().exec(QStringLiteral("create trigger refuse_%1 before %1 on abadiha when %4.%2='%3' "
                                 "begin select raise(abort,'refused'); end")
                      .arg(event, column, value, row));
    } else {
        dm().exec(QStringLiteral("create function refuse_%1() returns trigger as $$ begin "
                                 "if %4.%2 = '%3' then raise exception 'refused'; end if; return new; end $$ "
                                 "language plpgsql")
                      .arg(event, column, value, row));
        dm().exec(QStringLiteral("create trigger refuse_%1 before %1 on abadiha for each row execute function refuse_%1()")
                      .arg(event));
    }
}

void allowUpdates()
{
    if (dm().backend() == Backend::SQLite)
        dm().exec(QStringLiteral("drop trigger refuse_update"));
    else
        dm().exec(QStringLiteral("drop trigger refuse_update on abadiha"));
}

const QStringList kImported = {
    QStringLiteral("كرمان/كرمان/كرمان/مركزي/اختيارآباد/باغين/1234567890"),
    QStringLiteral("کرمان/راین/راین/مرکزی/راین/دهنو/0012"),
    QStringLiteral("تهران/ري/ري/كهريزك/قلعه نو/قلعه نو/2301"),
    QStringLiteral("تهران/ري/ري/كهريزك/قلعه نو/قلعه نو/2302"),
    QStringLiteral("اصفهان/كاشان/كاشان////1001"),
};
} // namespace

class TestAbadiha : public QObject {
    Q_OBJECT

    Tabadiha& list(const char* r = "1111")
    {
        Tabadiha& w = tavrin::window<Tabadiha>();
        w.applyRights(rights(r));
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

    void starterSetOfANewDatabase()
    {
        QCOMPARE(seedStarterDivisions(dm()), 31);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 31);
        QCOMPARE(provinces().size(), 31);
        const QStringList rows = table();
        for (const char* expected : {"تهران/تهران/تهران////", "اصفهان/اصفهان/اصفهان////", "خراسان رضوي/مشهد/مشهد////",
                                     "كهگيلويه و بويراحمد/بويراحمد/ياسوج////", "البرز/كرج/كرج////"})
            QVERIFY2(rows.contains(QString::fromUtf8(expected)), expected);
        // Stored with the Arabic yeh and kaf, as the rest of the stored lists.
        for (const QString& r : rows) {
            QVERIFY2(!r.contains(QChar(0x06CC)) && !r.contains(QChar(0x06A9)), qPrintable(r));
            QCOMPARE(counties(r.section('/', 0, 0)).size(), 1);
        }
        // Only an empty table is seeded.
        QCOMPARE(seedStarterDivisions(dm()), 0);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 31);
        // Empty, not NULL, so that a ticked empty criterion still matches them.
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where cod is null or rosta is null")), 0);
    }

    void searchWithCriteriaAndCount()
    {
        addRow({QStringLiteral("كرمان"), QStringLiteral("بم"), QStringLiteral("بم"), QStringLiteral("مركزي"),
                QStringLiteral("ده1"), QStringLiteral("كريم آباد"), QStringLiteral("501")});
        addRow({QStringLiteral("كرمان"), QStringLiteral("بم"), QStringLiteral("بم"), QStringLiteral("مركزي"),
                QStringLiteral("ده1"), QStringLiteral("آب بر"), QStringLiteral("502")});
        addRow({QStringLiteral("كرمان"), QStringLiteral("راور"), QStringLiteral("راور"), QStringLiteral("مركزي"),
                QStringLiteral("ده2"), QStringLiteral("o'hara"), QStringLiteral("601")});
        addRow({QStringLiteral("تهران"), QStringLiteral("ري"), QStringLiteral("ري"), QStringLiteral("كهريزك"),
                QStringLiteral("ده3"), QStringLiteral("قلعه"), QStringLiteral("701")});
        Tabadiha& w = list();
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("4"));
        ListModel* m = w.DBGrid1->listModel();
        QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("کد آبادي"));
        QCOMPARE(m->columnCount(), 7);
        // Ordered by county, district, rural district, village.
        QCOMPARE(m->value(0, QStringLiteral("shahrestan")).toString(), QStringLiteral("بم"));
        QCOMPARE(m->value(0, QStringLiteral("rosta")).toString(), QStringLiteral("آب بر"));
        QCOMPARE(m->value(3, QStringLiteral("shahrestan")).toString(), QStringLiteral("ري"));

        // Persian kaf and yeh typed find the Arabic forms stored.
        w.CheckBox1->setChecked(true);
        QVERIFY(w.ostan->isEnabled());
        w.ostan->setText(QStringLiteral("کرمان"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
        w.CheckBox5->setChecked(true);
        w.rosta->setText(QStringLiteral("کریم"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        QCOMPARE(m->value(0, QStringLiteral("cod")).toString(), QStringLiteral("501"));
        w.rosta->setText(QStringLiteral("o'h"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        // A ticked empty criterion matches every row.
        w.rosta->clear();
        w.CheckBox6->setChecked(true);
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));
        w.cod->setText(QStringLiteral("60"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        // Opening again clears the filters and the counters.
        w.prepareToShow();
        QVERIFY(!w.CheckBox1->isChecked() && !w.CheckBox6->isChecked());
        QCOMPARE(w.ostan->text(), QString());
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));
        QCOMPARE(w.cnt2->text(), QStringLiteral("0"));
        QCOMPARE(m->rowCount(), 0);
    }

    void entryWindowChecksAndLogs()
    {
        test::DialogRecorder rec;
        addRow({QStringLiteral("كرمان"), QStringLiteral("بم"), QStringLiteral("بم"), QStringLiteral("مركزي"),
                QStringLiteral("ده1"), QStringLiteral("روستا1"), QStringLiteral("501")});
        Tabadiha& w = list();
        w.BitBtn1Click();
        Tabadiha_ins& ins = tavrin::window<Tabadiha_ins>();
        int runs = 0;
        const auto insertScript = [&] {
            ++runs;
            QVERIFY2(ins.ins_btn->isVisibleTo(&ins) && !ins.edit_btn->isVisibleTo(&ins), "insert mode");
            QCOMPARE(ins.cod->currentText(), QString());
            // Cascading lists.
            QCOMPARE(ins.ostan->count(), 1);
            ins.ostan->setEditText(QStringLiteral("كرمان"));
            QCOMPARE(ins.shahrestan->count(), 1);
            ins.shahrestan->setEditText(QStringLiteral("بم"));
            QCOMPARE(ins.shahr->itemText(0), QStringLiteral("بم"));
            ins.shahr->setEditText(QStringLiteral("بم"));
            ins.bakhsh->setEditText(QStringLiteral("مركزي"));
            ins.dehestan->setEditText(QStringLiteral("ده1"));
            QCOMPARE(ins.rosta->itemText(0), QStringLiteral("روستا1"));
            // Same county, village, province and code.
            ins.rosta->setEditText(QStringLiteral("روستا1"));
            QCOMPARE(ins.cod->itemText(0), QStringLiteral("501"));
            ins.cod->setEditText(QStringLiteral("501"));
            ins.ins_btnClick();
            // Another village with an existing code.
            ins.rosta->setEditText(QStringLiteral("روستا2"));
            ins.ins_btnClick();
            // No code.
            ins.cod->setEditText(QStringLiteral(" "));
            ins.ins_btnClick();
            // Another code: saved.
            ins.cod->setEditText(QStringLiteral("502"));
            ins.ins_btnClick();
            // Every name alike, another code: saved too.
            ins.cod->setEditText(QStringLiteral("503"));
            ins.ins_btnClick();
        };
        rec.onExec = [&](QDialog* d) {
            if (d == &ins)
                insertScript();
            return int(QDialog::Accepted);
        };
        w.N1Click();
        QCOMPARE(runs, 1);
        QCOMPARE(rec.texts(), (QStringList{reftext::kDupAll, reftext::kDupCod, QStringLiteral("لطفا کد آبادي را وارد نماييد"),
                                           QStringLiteral("ثبت شد"), QStringLiteral("ثبت شد")}));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 3);
        QCOMPARE(w.cnt->text(), QStringLiteral("3"));   // the list was searched again
        const QStringList log = logComments();
        QCOMPARE(log.size(), 2);
        QCOMPARE(log[0], QStringLiteral(" ثبت کدآبادي جديد  502 admin"));
        QVERIFY(log[0].startsWith(QString::fromUtf8(logtext::kNewAbadi)));
        QCOMPARE(dm().scalar(QStringLiteral("select karbar from log")).toString(), QStringLiteral("admin"));

        // Edit: a changed code that another row holds is refused; otherwise saved and logged.
        rec.clear();
        QVERIFY(w.selectId(dm().scalar(QStringLiteral("select id from abadiha where cod='502'")).toLongLong()));
        const auto editScript = [&] {
            QVERIFY(ins.edit_btn->isVisibleTo(&ins) && !ins.ins_btn->isVisibleTo(&ins));
            QCOMPARE(ins.cod->currentText(), QStringLiteral("502"));
            QCOMPARE(ins.rosta->currentText(), QStringLiteral("روستا2"));
            ins.cod->setEditText(QStringLiteral("501"));
            ins.edit_btnClick();
            ins.cod->setEditText(QStringLiteral("502"));
            ins.rosta->setEditText(QStringLiteral("روستا 2"));
            ins.edit_btnClick();
        };
        rec.onExec = [&](QDialog* d) {
            if (d == &ins)
                editScript();
            return int(QDialog::Accepted);
        };
        w.N2Click();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("خطا! کد آبادي تکراري است")});
        QCOMPARE(dm().scalar(QStringLiteral("select rosta from abadiha where cod='502'")).toString(), QStringLiteral("روستا 2"));
        QCOMPARE(logComments().last(), QStringLiteral(" ويرايش آبادي  502 admin"));
        QCOMPARE(w.DBGrid1->currentRecord().value(QStringLiteral("cod")).toString(), QStringLiteral("502"));

        // Another user saves the same code at the same moment: the check waits for his commit.
        std::optional<DivisionSave> saved;
        test::whileAnotherUserHolds(
            [](Database& db) {
                db.lockTable(QStringLiteral("abadiha"));
                db.exec(QStringLiteral("insert into abadiha (ostan,shahrestan,cod) values ('x','y','777')"));
            },
            [&] { saved = insertDivision(Division::fromValues({QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}, {},
                                                               QStringLiteral("777")})); });
        QCOMPARE(int(saved.value_or(DivisionSave::Saved)), int(DivisionSave::DuplicateCode));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where cod='777'")), 1);

        // A name longer than its column is refused naming its field, on every backend, also by a rename.
        FieldRefusal tooLong;
        Division d = Division::fromValues({QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}, QString(151, QChar('r')),
                                           QStringLiteral("778")});
        QCOMPARE(int(insertDivision(d, &tooLong)), int(DivisionSave::TooLong));
        QCOMPARE(tooLong.message, QStringLiteral("خطا! طول روستا بيش از حد مجاز است (حداکثر 150 حرف)"));
        QCOMPARE(tooLong.field, QStringLiteral("rosta"));
        const qint64 id = dm().scalar(QStringLiteral("select id from abadiha where cod='502'")).toLongLong();
        QCOMPARE(renameDivisions(QStringLiteral("ostan"), QString(256, QChar('o')), {id}, &tooLong), -1);
        QCOMPARE(tooLong.message, QStringLiteral("خطا! طول استان بيش از حد مجاز است (حداکثر 255 حرف)"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where cod='778' or length(ostan)>100")), 0);
    }

    void deleteNeedsThePassword()
    {
        test::DialogRecorder rec;
        addSetting(SettingPlace{}, reftext::kDeletePasswordKey, QStringLiteral("s3cret"));
        addRow({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), {}, {}, {}, QStringLiteral("901")});
        addRow({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), {}, {}, {}, QStringLiteral("902")});
        Tabadiha& w = list();
        w.BitBtn1Click();
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
        const QString cod = w.DBGrid1->currentRecord().value(QStringLiteral("cod")).toString();
        rec.inputs.push_back(QStringLiteral("wrong"));
        w.N3Click();
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
        rec.inputs.push_back(std::nullopt);
        w.N3Click();
        QVERIFY(rec.inputs.empty());
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 2);
        QVERIFY(logComments().isEmpty());
        QVERIFY(rec.texts().isEmpty());
        QCOMPARE(rec.shown.first().kind, QStringLiteral("password"));
        QCOMPARE(rec.shown.first().title, QStringLiteral("Delete Password"));
        QCOMPARE(rec.shown.first().text, QStringLiteral("رمز حذف"));

        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
        rec.inputs.push_back(QStringLiteral("s3cret"));
        w.N3Click();
        QCOMPARE(rec.lastText(), QStringLiteral("حذف شد"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where cod=?"), {cod}), 0);
        QCOMPARE(logComments(), QStringList{QStringLiteral(" حذف آبادي  ") + cod + QStringLiteral(" admin")});
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        // Without the delete right nothing is asked.
        w.applyRights(rights("1101"));
        rec.clear();
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
        w.N3Click();
        QVERIFY(rec.shown.isEmpty());
    }

    void singleRenameChangesOnlyTheRow()
    {
        test::DialogRecorder rec;
        // Two rows sharing a code (older data): a rename by code would change both.
        const qint64 first = addRow({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
                                     QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("77")});
        const qint64 second = addRow({QStringLiteral("a"), QStringLiteral("b2"), QStringLiteral("c"), QStringLiteral("d"),
                                      QStringLiteral("e"), QStringLiteral("f"), QStringLiteral("77")});
        Tabadiha& w = list();
        w.BitBtn1Click();
        QVERIFY(w.selectId(first));
        rec.inputs.push_back(QStringLiteral("نو"));
        w.N7Click();
        QCOMPARE(rec.shown.first().title, QStringLiteral("Shahrestan Name:"));
        QCOMPARE(rec.shown.first().text, QStringLiteral("نام جديد شهرستان را وارد نماييد"));
        QCOMPARE(rec.lastText(), QStringLiteral("تغيير يافت"));
        QCOMPARE(dm().scalar(QStringLiteral("select shahrestan from abadiha where id=?"), {first}).toString(), QStringLiteral("نو"));
        QCOMPARE(dm().scalar(QStringLiteral("select shahrestan from abadiha where id=?"), {second}).toString(), QStringLiteral("b2"));
        QCOMPARE(w.DBGrid1->currentRecord().value(QStringLiteral("id")).toLongLong(), first);

        // The other columns.
        rec.inputs = {QStringLiteral("بخش نو"), QStringLiteral("دهستان نو"), QStringLiteral("روستا نو")};
        w.N10Click();
        w.N9Click();
        w.N11Click();
        QCOMPARE(table().first(), QStringLiteral("a/نو/c/بخش نو/دهستان نو/روستا نو/77"));
        QCOMPARE(table().last(), QStringLiteral("a/b2/c/d/e/f/77"));

        // Cancelled, empty and "?" names change nothing.
        rec.clear();
        rec.inputs = {std::nullopt, QStringLiteral("  "), QStringLiteral("?")};
        w.N7Click();
        w.N7Click();
        w.N7Click();
        QCOMPARE(table().first(), QStringLiteral("a/نو/c/بخش نو/دهستان نو/روستا نو/77"));
        QCOMPARE(rec.texts(), (QStringList{QStringLiteral("نام جديد وارد نشده است، تغييري انجام نشد"),
                                           QStringLiteral("نام جديد وارد نشده است، تغييري انجام نشد")}));
        // The single renames of province and city have no action.
        QVERIFY(!w.N5->isEnabled());
        QVERIFY(!w.N8->isEnabled());
    }

    void bulkRenameTouchesOnlyTheListedRows()
    {
        test::DialogRecorder rec;
        for (int i = 0; i < 450; ++i)
            addRow({QStringLiteral("كرمان"), i % 3 ? QStringLiteral("بم") : QStringLiteral("راور"), QStringLiteral("c"),
                    QStringLiteral("d"), QStringLiteral("e"), QStringLiteral("r%1").arg(i), QString::number(1000 + i)});
        // Another province's county of the same name, and a row sharing a listed code.
        addRow({QStringLiteral("تهران"), QStringLiteral("بم"), QStringLiteral("c"), {}, {}, {}, QStringLiteral("5000")});
        addRow({QStringLiteral("تهران"), QStringLiteral("ري"), QStringLiteral("c"), {}, {}, {}, QStringLiteral("1001")});
        Tabadiha& w = list();
        w.CheckBox1->setChecked(true);
        w.ostan->setText(QStringLiteral("كرمان"));
        w.CheckBox2->setChecked(true);
        w.shahrestan->setText(QStringLiteral("بم"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("300"));
        // No: nothing happens.
        rec.answers.push_back(Answer::No);
        w.N13Click();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.first().text, QStringLiteral("300") + reftext::kAskShahrestan);
        // Yes and a name.
        rec.clear();
        rec.answers.push_back(Answer::Yes);
        rec.inputs.push_back(QStringLiteral("زرند"));
        w.N13Click();
        QCOMPARE(rec.shown[1].title, QStringLiteral("Shahrestan Name:"));
        QCOMPARE(rec.lastText(), QStringLiteral(" اين تعداد تغيير يافتند 300"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where shahrestan=?"), {QStringLiteral("زرند")}), 300);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where shahrestan=?"), {QStringLiteral("بم")}), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where shahrestan=?"), {QStringLiteral("ري")}), 1);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where shahrestan=?"), {QStringLiteral("راور")}), 150);
        QCOMPARE(w.cnt->text(), QStringLiteral("0"));   // the search filters on the old name

        // A failure on one row leaves every row as it was.
        w.shahrestan->setText(QStringLiteral("راور"));
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("150"));
        refuseUpdates(QStringLiteral("rosta"), QStringLiteral("r447"), false);
        rec.clear();
        rec.inputs.push_back(QStringLiteral("روستاي يكسان"));
        w.N17Click();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("error"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where rosta=?"), {QStringLiteral("روستاي يكسان")}), 0);
        QCOMPARE(dm().transactionDepth(), 0);
        allowUpdates();
        // The province bulk rename with its own texts.
        rec.clear();
        rec.inputs.push_back(QStringLiteral("كرمان2"));
        w.N12Click();
        QCOMPARE(rec.shown.first().text, QStringLiteral("150") + reftext::kAskOstan);
        QCOMPARE(rec.shown[1].title, QStringLiteral("Ostan Name:"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where ostan=?"), {QStringLiteral("كرمان2")}), 150);
        // An empty name is refused.
        w.ostan->setText(QStringLiteral("كرمان2"));
        w.BitBtn1Click();
        rec.clear();
        rec.inputs.push_back(QStringLiteral("?"));
        w.N14Click();
        QCOMPARE(rec.lastText(), QStringLiteral("نام جديد وارد نشده است، تغييري انجام نشد"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha where shahr='?'")), 0);
    }

    void viewOnlyUserCannotRenameOrChange()
    {
        test::DialogRecorder rec;
        addRow({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e"),
                QStringLiteral("f"), QStringLiteral("1")});
        test::addUser(QStringLiteral("v1"), QStringLiteral("keshvar"), {}, {{QStringLiteral("abadiha"), QStringLiteral("0001")}});
        test::loginAs(QStringLiteral("v1"));
        Tmain& m = mainWindow();
        QVERIFY(m.action(QStringLiteral("N14"))->isEnabled());
        m.action(QStringLiteral("N14"))->trigger();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tabadiha"));
        Tabadiha& w = tavrin::window<Tabadiha>();
        for (QAction* a : {w.N1, w.N2, w.N3, w.N7, w.N9, w.N10, w.N11, w.N12, w.N13, w.N14, w.N15, w.N16, w.N17})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        QVERIFY(!w.N4->menuAction()->isEnabled());
        QVERIFY(!w.N6->menuAction()->isEnabled());
        QVERIFY(!w.ins_btn->isEnabled());
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        w.DBGrid1->setCurrentIndex(w.DBGrid1->model()->index(0, 0));
        rec.clear();
        rec.inputs = {QStringLiteral("x"), QStringLiteral("x")};
        w.N7Click();
        w.N13Click();
        w.N1Click();
        w.N2Click();
        QVERIFY(rec.shown.isEmpty());
        QCOMPARE(table(), QStringList{QStringLiteral("a/b/c/d/e/f/1")});
        // With the edit right the renames are on.
        w.applyRights(rights("0101"));
        QVERIFY(w.N7->isEnabled() && w.N13->isEnabled() && w.N4->menuAction()->isEnabled());
        QVERIFY(!w.N5->isEnabled());
        // The replacement needs both the insert and the delete right.
        w.applyRights(rights("1001"));
        QVERIFY(!w.ins_btn->isEnabled());
        w.applyRights(rights("0011"));
        QVERIFY(!w.ins_btn->isEnabled());
        w.applyRights(rights("1011"));
        QVERIFY(w.ins_btn->isEnabled());
    }

    void sheetChecksAndMapping()
    {
        QString why;
        auto s = readSpreadsheet(data(QStringLiteral("divisions_openpyxl.xlsx")), &why);
        QVERIFY2(s, qPrintable(why));
        DivisionSheet c = checkDivisionSheet(*s);
        QCOMPARE(c.problem, SheetProblem::None);
        QVERIFY(c.headerSkipped);
        QCOMPARE(c.rows.size(), 5);
        QCOMPARE(c.rows[1].values().join('/'), kImported[1]);
        // A hand-made sheet: an empty row is skipped, "ostan" is a header too.
        SheetData d;
        d.columnCount = 7;
        d.rows = {{QStringLiteral("OSTAN"), QStringLiteral("shahrestan"), {}, {}, {}, {}, QStringLiteral("cod")},
                  {QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}, {}, QStringLiteral("1")},
                  {{}, {}, {}, {}, {}, {}, {}},
                  {QStringLiteral("a"), QStringLiteral("b"), {}, {}, {}, {}, QStringLiteral("2")}};
        c = checkDivisionSheet(d);
        QCOMPARE(c.problem, SheetProblem::None);
        QVERIFY(c.headerSkipped);
        QCOMPARE(c.rows.size(), 2);
        // A header row is recognised only in the first row.
        d.rows.append(d.rows.first());
        c = checkDivisionSheet(d);
        QCOMPARE(c.problem, SheetProblem::None);
        QCOMPARE(c.rows.size(), 3);
        d.rows = {{QStringLiteral("a"), {}, {}, {}, {}, {}, QStringLiteral("1")}};
        c = checkDivisionSheet(d);
        QCOMPARE(c.problem, SheetProblem::EmptyPlace);
        QCOMPARE(c.badRow, 1);
        QVERIFY(c.rows.isEmpty());
        d.rows = {};
        QCOMPARE(checkDivisionSheet(d).problem, SheetProblem::NoRows);
        QCOMPARE((SheetCell{10, 26}).name(), QStringLiteral("AA10"));
        d.columnCount = 6;
        QCOMPARE(checkDivisionSheet(d).problem, SheetProblem::ColumnCount);
        QCOMPARE(sheetProblemMessage(checkDivisionSheet(d)), QStringLiteral("خطا! تعداد ستون ها برابر نيست"));
    }

    void importFromSpreadsheetsOfOtherWriters_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("firstRow");   // the sheet row of the first settlement
        QTest::newRow("openpyxl xlsx") << QStringLiteral("divisions_openpyxl.xlsx") << 2;
        QTest::newRow("libreoffice xls") << QStringLiteral("divisions_libreoffice.xls") << 2;
        QTest::newRow("xlwt xls without header") << QStringLiteral("divisions_xlwt_noheader.xls") << 1;
        // A code and a city written as formulas give the results stored with them.
        QTest::newRow("formulas") << QStringLiteral("divisions_formulas.xlsx") << 2;
        // The header is the first row holding a value, not the first row.
        QTest::newRow("header on the second row") << QStringLiteral("divisions_header_second_row.xlsx") << 3;
    }

    void importFromSpreadsheetsOfOtherWriters()
    {
        QFETCH(QString, file);
        QFETCH(int, firstRow);
        test::DialogRecorder rec;
        seedStarterDivisions(dm());
        Tabadiha& w = list();
        w.BitBtn1Click();
        QCOMPARE(w.cnt->text(), QStringLiteral("31"));
        rec.files.push_back(data(file));
        w.BitBtn2Click();
        QCOMPARE(w.cnt2->text(), QStringLiteral("5"));
        QVERIFY(w.sheet().has_value());
        // The preview lists the rows the counter counts, titled with their sheet rows.
        QCOMPARE(w.DBGrid2->model()->rowCount(), 5);
        QCOMPARE(w.DBGrid2->model()->headerData(0, Qt::Vertical).toInt(), firstRow);
        QCOMPARE(w.DBGrid2->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("کد آبادي"));
        rec.clear();
        w.ins_btnClick();
        QCOMPARE(rec.texts(), (QStringList{reftext::kReplaceWarning, QStringLiteral("انتقال انجام شد")}));
        QCOMPARE(table(), kImported);
        QCOMPARE(w.cnt->text(), QStringLiteral("5"));
        auto* progress = w.findChild<QProgressDialog*>(QStringLiteral("progress"));
        QVERIFY(progress);
        QCOMPARE(progress->maximum(), 5);
        QCOMPARE(progress->value(), 5);
        QVERIFY(!progress->isVisible());
    }

    void importIsRefusedOrUndoneAsAWhole_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty county") << QStringLiteral("divisions_bad_last_row.xlsx")
                                      << QStringLiteral("خطا! استان يا شهرستان خالي است، رديف 7");
        QTest::newRow("too long") << QStringLiteral("divisions_long_last_row.xlsx")
                                  << QStringLiteral("خطا! طول متن بيش از حد مجاز است، رديف 7");
        QTest::newRow("eighth cell") << QStringLiteral("divisions_eight_columns.xlsx") << QStringLiteral("خطا! تعداد ستون ها برابر نيست");
        QTest::newRow("six columns") << QStringLiteral("divisions_six_columns.xlsx") << QStringLiteral("خطا! تعداد ستون ها برابر نيست");
        // A cell that cannot be read refuses the file, naming the first such cell.
        QTest::newRow("error values") << QStringLiteral("divisions_error_cells.xlsx")
                                      << QStringLiteral("خطا! مقدار خانه B7 فايل اکسل خوانده نشد (خطا يا فرمول بدون مقدار)، هيچ رديفي منتقل نشد");
        QTest::newRow("formula without its result") << QStringLiteral("divisions_formula_no_result.xlsx")
                                                    << refmsg::kBadCell.arg(QStringLiteral("G4"));
        QTest::newRow("database refuses a row") << QStringLiteral("divisions_openpyxl.xlsx") << QStringLiteral("خطا در انتقال اطلاعات، اطلاعات قبلي بدون تغيير باقي ماند");
    }

    void importIsRefusedOrUndoneAsAWhole()
    {
        QFETCH(QString, file);
        QFETCH(QString, message);
        test::DialogRecorder rec;
        seedStarterDivisions(dm());
        const QStringList before = table();
        if (QByteArray(QTest::currentDataTag()) == "database refuses a row")
            refuseUpdates(QStringLiteral("cod"), QStringLiteral("1001"), true);
        Tabadiha& w = list();
        rec.files.push_back(data(file));
        w.BitBtn2Click();
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), message);
        QCOMPARE(table(), before);
        QCOMPARE(dm().transactionDepth(), 0);
        // The question answered No changes nothing either.
        rec.clear();
        rec.answers.push_back(Answer::No);
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{reftext::kReplaceWarning});
    }

    void unreadableSpreadsheet()
    {
        test::DialogRecorder rec;
        Tabadiha& w = list();
        rec.files.push_back(data(QStringLiteral("spreadsheet_broken.xlsx")));
        w.BitBtn2Click();
        QCOMPARE(rec.lastText(), reftext::kExcelReadFailed);
        QVERIFY(!w.sheet());
        QCOMPARE(w.cnt2->text(), QStringLiteral("0"));
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("لطفا ابتدا فايل اکسل را انتخاب نماييد"));
    }

    void manyRowsInBatches()
    {
        int calls = 0, last = 0;
        const DivisionImport r = importDivisionsFile(dm(), data(QStringLiteral("divisions_many.xlsx")), [&](int done, int total) {
            QCOMPARE(total, 1234);
            QVERIFY(done >= last);
            last = done;
            ++calls;
        });
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.rows, 1234);
        QVERIFY(r.headerSkipped);
        QCOMPARE(last, 1234);
        QVERIFY(calls > 10);
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 1234);
        QCOMPARE(count(QStringLiteral("select count(distinct cod) from abadiha")), 1234);
        QCOMPARE(dm().scalar(QStringLiteral("select rosta from abadiha where cod='101233'")).toString(), QStringLiteral("روستا 1233"));
    }

    void exportWithItsHeaderMap()
    {
        test::DialogRecorder rec;
        addRow({QStringLiteral("كرمان"), QStringLiteral("بم"), QStringLiteral("بم"), QStringLiteral("مركزي"),
                QStringLiteral("ده1"), QStringLiteral(" روستا "), QStringLiteral("501")});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("abadiha.xlsx"));
        Tabadiha& w = list();
        rec.files.push_back(path);
        w.BitBtn3Click();   // searches first when nothing was searched
        QCOMPARE(w.cnt->text(), QStringLiteral("1"));
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(rec.shown.last().kind, QStringLiteral("desktop"));
        QString why;
        const auto s = readSpreadsheet(path, &why);
        QVERIFY2(s, qPrintable(why));
        QCOMPARE(s->rows.size(), 2);
        QCOMPARE(s->rows[0], (QStringList{QStringLiteral("شناسه"), QStringLiteral("ostan"), QStringLiteral("shahrestan"),
                                          QStringLiteral("shahr"), QStringLiteral("بخش"), QStringLiteral("دهستان"),
                                          QStringLiteral("روستا"), QStringLiteral("کد آبادي")}));
        QCOMPARE(s->rows[1].mid(1), (QStringList{QStringLiteral("كرمان"), QStringLiteral("بم"), QStringLiteral("بم"),
                                                 QStringLiteral("مركزي"), QStringLiteral("ده1"), QStringLiteral("روستا"),
                                                 QStringLiteral("501")}));
    }

    void commandLineImport()
    {
        const QString cli = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../src/tavrin-cli"));
        if (!QFileInfo::exists(cli))
            QSKIP("tavrin-cli is not built");
        seedStarterDivisions(dm());
        const ConnectionParams p = dm().params();
        QStringList conn{QStringLiteral("--backend"), p.backend == Backend::SQLite ? QStringLiteral("sqlite") : QStringLiteral("pg"),
                         QStringLiteral("--server"), p.server};
        if (p.backend != Backend::SQLite)
            conn << QStringLiteral("--database") << p.database << QStringLiteral("--user") << p.user;
        QProcess run;
        // A bad file changes nothing and fails.
        run.start(cli, QStringList{QStringLiteral("import-divisions"), data(QStringLiteral("divisions_bad_last_row.xlsx"))} + conn);
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 1);
        QVERIFY(run.readAllStandardError().contains("row 7"));
        QCOMPARE(count(QStringLiteral("select count(*) from abadiha")), 31);
        run.start(cli, QStringList{QStringLiteral("import-divisions"), data(QStringLiteral("divisions_libreoffice.xls"))} + conn);
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).trimmed(),
                 QStringLiteral("imported 5 rows into abadiha (header row skipped)"));
        QCOMPARE(table(), kImported);
        run.start(cli, {QStringLiteral("import-divisions")});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 2);
    }
};

TAVRIN_DB_TEST_MAIN(TestAbadiha)
#include "tst_abadiha.moc"
