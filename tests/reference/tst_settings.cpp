// The settings tables and their three windows: keys, insert with its checks,
// duplicates, the default mark, delete, the registration code, the masked
// deletion password, the rights and the province fixed for provincial users.
#include "support/testsupport.h"

#include "app/main_u.h"
#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/session.h"
#include "reference/reftexts.h"
#include "reference/setting_city_u.h"
#include "reference/setting_ost_u.h"
#include "reference/setting_u.h"
#include "reference/settings.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace tavrin;

namespace {
const QString kOstanA = QStringLiteral("كرمان");
const QString kOstanB = QStringLiteral("تهران");

void addDivision(const QString& ostan, const QString& shahrestan)
{
    dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr,bakhsh,dehestan,rosta,cod) values (?,?,?,'','','',?)"),
              {ostan, shahrestan, shahrestan, QString(ostan + shahrestan)});
}

int count(const QString& sql, const QVariantList& values = {})
{
    return dm().scalar(sql, values).toInt();
}

// Chooses a key in a settings window the way the user does.
void chooseKey(SettingsWindow& w, const QString& key)
{
    w.component->setCurrentIndex(w.component->findText(key));
    QCOMPARE(w.component->currentText(), key);
}

Rights allRights()
{
    return Rights{true, true, true, true};
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        destroyMainWindow();
        destroyWindows();
        test::useFreshDatabase();
        test::loginAs(QStringLiteral("admin"));
    }

    void keyListsInTheirOrder()
    {
        const QStringList general = settingKeys(SettingTable::General);
        QCOMPARE(general.size(), 40);
        QCOMPARE(general.first(), QStringLiteral("ادارات"));
        QCOMPARE(general.last(), QStringLiteral("وضعيت واحد"));
        QVERIFY(general.contains(reftext::kDeletePasswordKey));
        QVERIFY(general.contains(reftext::kSabtCodKey));
        QCOMPARE(general.indexOf(QStringLiteral("کد ثبت")) + 1, general.indexOf(QStringLiteral("گروه کاربري")));
        QCOMPARE(settingKeys(SettingTable::Province).size(), 11);
        QCOMPARE(settingKeys(SettingTable::County).size(), 9);
        QVERIFY(settingKeys(SettingTable::County).contains(QStringLiteral("مدير شهرستان")));
        Tsetting& w = tavrin::window<Tsetting>();
        QCOMPARE(w.windowTitle(), QStringLiteral("تنظيمات عمومي"));
        QVERIFY(!w.component->isEditable());
        QCOMPARE(w.component->count(), 40);
        QCOMPARE(w.component->itemText(0), general.first());
    }

    void generalInsertChecksAndDuplicates()
    {
        test::DialogRecorder rec;
        Tsetting& w = tavrin::window<Tsetting>();
        w.applyRights(allRights());
        w.prepareToShow();
        chooseKey(w, QStringLiteral("بانک"));
        w.cmt->setText(QStringLiteral("   "));
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("لطفا مقدار مناسب را وارد نماييد"));
        QCOMPARE(count(QStringLiteral("select count(*) from setting")), 0);

        w.cmt->setText(QStringLiteral("ملت"));
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("ثبت شد"));
        QCOMPARE(w.rows().size(), 1);
        QCOMPARE(w.cellText(0, 0), QStringLiteral("بانک"));
        QCOMPARE(w.cellText(0, 1), QStringLiteral("ملت"));
        QCOMPARE(settingList(QStringLiteral("بانک")), QStringList{QStringLiteral("ملت")});

        // The same value again under the same key is refused ...
        rec.clear();
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("تكراري است")});
        QCOMPARE(count(QStringLiteral("select count(*) from setting")), 1);
        // ... under another key it is accepted.
        chooseKey(w, QStringLiteral("معرف"));
        QCOMPARE(w.rows().size(), 0);
        w.cmt->setText(QStringLiteral("ملت"));
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("ثبت شد"));
        QCOMPARE(count(QStringLiteral("select count(*) from setting where cmt=?"), {QStringLiteral("ملت")}), 2);
        // A value with a quote is stored as typed.
        w.cmt->setText(QStringLiteral("o'neil"));
        w.ins_btnClick();
        QCOMPARE(settingList(QStringLiteral("معرف")).last(), QStringLiteral("o'neil"));
        // Without the insert right nothing is inserted.
        w.applyRights(Rights{false, true, true, true});
        QVERIFY(!w.ins_btn->isEnabled());
        w.cmt->setText(QStringLiteral("ديگر"));
        w.ins_btnClick();
        QCOMPARE(count(QStringLiteral("select count(*) from setting")), 3);
        // A value longer than its column is refused naming its field, on every backend.
        FieldRefusal tooLong;
        QCOMPARE(addSetting(SettingPlace{SettingTable::County, QStringLiteral("كرمان"), QString(151, QChar(0x0628))},
                            QStringLiteral("بانک"), QStringLiteral("x"), &tooLong),
                 SettingInsert::TooLong);
        QCOMPARE(tooLong.message, QStringLiteral("خطا! طول شهرستان بيش از حد مجاز است (حداکثر 150 حرف)"));
        QCOMPARE(count(QStringLiteral("select count(*) from setting_city")), 0);
    }

    void defaultMarkStaysWithinItsKeyAndPlace()
    {
        test::DialogRecorder rec;
        // Two provinces with the same key and values, and another key.
        for (const QString& o : {kOstanA, kOstanB}) {
            const SettingPlace p{SettingTable::Province, o, {}};
            for (const char* v : {"a", "b", "c"})
                QCOMPARE(addSetting(p, QStringLiteral("مدير کل"), QString::fromLatin1(v)), SettingInsert::Inserted);
            QCOMPARE(addSetting(p, QStringLiteral("شماره حساب"), QStringLiteral("a")), SettingInsert::Inserted);
        }
        const SettingPlace a{SettingTable::Province, kOstanA, {}};
        const SettingPlace b{SettingTable::Province, kOstanB, {}};
        markDefaultSetting(b, QStringLiteral("مدير کل"), QStringLiteral("c"));
        markDefaultSetting(a, QStringLiteral("شماره حساب"), QStringLiteral("a"));
        QCOMPARE(markDefaultSetting(a, QStringLiteral("مدير کل"), QStringLiteral("a")), 1);
        QCOMPARE(markDefaultSetting(a, QStringLiteral("مدير کل"), QStringLiteral("b")), 1);
        const auto defs = [](const SettingPlace& p, const QString& key) {
            QStringList out;
            for (const SettingRow& r : settingRows(p, key))
                if (r.def == QLatin1String("1"))
                    out << r.cmt;
            return out;
        };
        QCOMPARE(defs(a, QStringLiteral("مدير کل")), QStringList{QStringLiteral("b")});
        QCOMPARE(defs(b, QStringLiteral("مدير کل")), QStringList{QStringLiteral("c")});
        QCOMPARE(defs(a, QStringLiteral("شماره حساب")), QStringList{QStringLiteral("a")});

        // The same through the provincial window's pop-up: the current row becomes the default.
        Tsetting_ost& w = tavrin::window<Tsetting_ost>();
        w.applyRights(Rights{false, false, false, true});
        w.prepareToShow();
        w.ostan->setCurrentIndex(w.ostan->findText(kOstanA));
        if (w.ostan->currentText() != kOstanA) {   // no divisions: the province is not offered
            w.ostan->addItem(kOstanA);
            w.ostan->setCurrentIndex(w.ostan->findText(kOstanA));
        }
        chooseKey(w, QStringLiteral("مدير کل"));
        QCOMPARE(w.rows().size(), 3);
        QVERIFY(w.N2->isEnabled());   // "پيش فرض" needs no right
        w.selectRow(2);
        w.N2Click();
        QCOMPARE(defs(a, QStringLiteral("مدير کل")), QStringList{QStringLiteral("c")});
        QCOMPARE(defs(b, QStringLiteral("مدير کل")), QStringList{QStringLiteral("c")});
        QCOMPARE(w.cmt->text(), QStringLiteral("c"));
        QCOMPARE(w.cellText(2, 3), QStringLiteral("1"));
        QCOMPARE(w.cellText(1, 3), QString());
        QVERIFY(rec.texts().isEmpty());
    }

    void defaultMarkIsOneTransaction()
    {
        test::DialogRecorder rec;
        const SettingPlace g{SettingTable::General, {}, {}};
        addSetting(g, QStringLiteral("بانک"), QStringLiteral("ملي"));
        addSetting(g, QStringLiteral("بانک"), QStringLiteral("ملت"));
        markDefaultSetting(g, QStringLiteral("بانک"), QStringLiteral("ملي"));
        // Setting a new mark fails after the old one was cleared: the clear is undone.
        if (dm().backend() == Backend::SQLite) {
            dm().exec(QStringLiteral("create trigger no_mark before update on setting when new.def='1' "
                                     "begin select raise(abort,'refused'); end"));
        } else {
            dm().exec(QStringLiteral("create function no_mark() returns trigger as $$ begin "
                                     "if new.def = '1' then raise exception 'refused'; end if; return new; end $$ "
                                     "language plpgsql"));
            dm().exec(QStringLiteral("create trigger no_mark before update on setting for each row execute function no_mark()"));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, markDefaultSetting(g, QStringLiteral("بانک"), QStringLiteral("ملت")));
        QCOMPARE(dm().scalar(QStringLiteral("select cmt from setting where def='1'")).toString(), QStringLiteral("ملي"));
        QCOMPARE(dm().transactionDepth(), 0);

        Tsetting& w = tavrin::window<Tsetting>();
        w.applyRights(allRights());
        chooseKey(w, QStringLiteral("بانک"));
        w.selectRow(1);
        w.N2Click();
        QCOMPARE(rec.shown.size(), 1);
        QCOMPARE(rec.shown.first().kind, QStringLiteral("error"));
        QCOMPARE(dm().scalar(QStringLiteral("select cmt from setting where def='1'")).toString(), QStringLiteral("ملي"));
    }

    void deleteRemovesEveryRowOfKeyAndValueInItsPlace()
    {
        test::DialogRecorder rec;
        addDivision(kOstanA, QStringLiteral("بم"));
        addDivision(kOstanA, QStringLiteral("راور"));
        const QString key = QStringLiteral("مدير شهرستان");
        for (const QString& county : {QStringLiteral("بم"), QStringLiteral("راور")}) {
            const SettingPlace p{SettingTable::County, kOstanA, county};
            addSetting(p, key, QStringLiteral("x"));
            addSetting(p, key, QStringLiteral("y"));
            addSetting(p, QStringLiteral("شماره حساب"), QStringLiteral("x"));
        }
        // A copy of the row that the duplicate check would have refused (older data).
        dm().exec(QStringLiteral("insert into setting_city (ostan,shahrestan,component,cmt,def) values (?,?,?,?,'')"),
                  {kOstanA, QStringLiteral("بم"), key, QStringLiteral("x")});

        Tsetting_city& w = tavrin::window<Tsetting_city>();
        w.applyRights(allRights());
        w.prepareToShow();
        w.ostan->setCurrentIndex(w.ostan->findText(kOstanA));
        QCOMPARE(w.shahrestan->count(), 2);
        w.shahrestan->setCurrentIndex(w.shahrestan->findText(QStringLiteral("بم")));
        QCOMPARE(w.rows().size(), 4);   // every key of the county
        chooseKey(w, key);
        QCOMPARE(w.rows().size(), 3);
        QCOMPARE(w.cellText(0, 0), kOstanA);
        QCOMPARE(w.cellText(0, 1), QStringLiteral("بم"));
        w.selectRow(0);
        w.N1Click();
        QCOMPARE(count(QStringLiteral("select count(*) from setting_city where shahrestan=? and component=? and cmt='x'"),
                       {QStringLiteral("بم"), key}),
                 0);
        QCOMPARE(count(QStringLiteral("select count(*) from setting_city where shahrestan=? and cmt='x'"),
                       {QStringLiteral("راور")}),
                 2);
        QCOMPARE(count(QStringLiteral("select count(*) from setting_city where shahrestan=? and component=?"),
                       {QStringLiteral("بم"), QStringLiteral("شماره حساب")}),
                 1);
        QCOMPARE(w.rows().size(), 1);
        // Without the delete right the pop-up entry is off and does nothing.
        w.applyRights(Rights{true, true, false, true});
        QVERIFY(!w.N1->isEnabled());
        w.selectRow(0);
        w.N1Click();
        QCOMPARE(w.rows().size(), 1);
        QVERIFY(rec.texts().isEmpty());
    }

    void countyInsertChecksEachField()
    {
        test::DialogRecorder rec;
        Tsetting_city& w = tavrin::window<Tsetting_city>();
        w.applyRights(allRights());
        w.prepareToShow();
        chooseKey(w, QStringLiteral("تلفن نورواد"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), (QStringList{QStringLiteral("لطفا توضيحات مناسب را وارد نماييد"),
                                           QStringLiteral("لطفا استان مناسب را وارد نماييد"),
                                           QStringLiteral("لطفا شهرستان مناسب را وارد نماييد")}));
        QCOMPARE(count(QStringLiteral("select count(*) from setting_city")), 0);

        addDivision(kOstanA, QStringLiteral("بم"));
        w.prepareToShow();
        w.ostan->setCurrentIndex(w.ostan->findText(kOstanA));
        w.shahrestan->setCurrentIndex(0);
        chooseKey(w, QStringLiteral("تلفن نورواد"));
        w.cmt->setText(QStringLiteral("034-1"));
        rec.clear();
        w.ins_btnClick();
        QVERIFY(rec.texts().isEmpty());   // no success message in this window
        QCOMPARE(settingValueCity(kOstanA, QStringLiteral("بم"), QStringLiteral("تلفن نورواد")), QStringLiteral("034-1"));
        w.ins_btnClick();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("تكراري است")});
        QCOMPARE(w.rows().size(), 1);
    }

    void provinceInsertAndProvinceChange()
    {
        test::DialogRecorder rec;
        addDivision(kOstanA, QStringLiteral("بم"));
        addDivision(kOstanB, QStringLiteral("ري"));
        Tsetting_ost& w = tavrin::window<Tsetting_ost>();
        w.applyRights(allRights());
        w.prepareToShow();
        QVERIFY(w.ostan->isEnabled());
        QCOMPARE(w.ostan->count(), 2);
        chooseKey(w, QStringLiteral("مدير کل"));
        w.cmt->setText(QStringLiteral("z"));
        w.ins_btnClick();   // no province chosen yet
        QCOMPARE(rec.lastText(), QStringLiteral("لطفا استان مناسب را وارد نماييد"));
        w.ostan->setCurrentIndex(w.ostan->findText(kOstanB));
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("ثبت شد"));
        QCOMPARE(settingValueOst(kOstanB, QStringLiteral("مدير کل")), QStringLiteral("z"));
        QCOMPARE(w.rows().size(), 1);
        w.ostan->setCurrentIndex(w.ostan->findText(kOstanA));
        QCOMPARE(w.rows().size(), 0);
        w.ins_btnClick();
        QCOMPARE(rec.lastText(), QStringLiteral("ثبت شد"));   // the same value in another province
        QCOMPARE(count(QStringLiteral("select count(*) from setting_ost where cmt='z'")), 2);
    }

    void registrationCodeRefreshesLabelAndSession()
    {
        test::DialogRecorder rec;
        Tsetting& w = tavrin::window<Tsetting>();
        w.applyRights(allRights());
        w.prepareToShow();
        QCOMPARE(w.sabt_cod->objectName(), QStringLiteral("sabt_cod"));
        QCOMPARE(w.sabt_cod->text(), QString());
        chooseKey(w, QStringLiteral("کد ثبت"));
        w.cmt->setText(QStringLiteral("4521"));
        w.ins_btnClick();
        QCOMPARE(w.sabt_cod->text(), QStringLiteral("4521"));
        QCOMPARE(session().sabtCod, QStringLiteral("4521"));
        // Another key does not touch it.
        chooseKey(w, QStringLiteral("بانک"));
        w.cmt->setText(QStringLiteral("9999"));
        w.ins_btnClick();
        QCOMPARE(session().sabtCod, QStringLiteral("4521"));
        // Deleting the code empties it.
        chooseKey(w, QStringLiteral("کد ثبت"));
        w.selectRow(0);
        w.N1Click();
        QCOMPARE(w.sabt_cod->text(), QString());
        QCOMPARE(session().sabtCod, QString());
    }

    void deletionPasswordIsMaskedForAllButAdmin()
    {
        test::DialogRecorder rec;
        addDivision(kOstanA, QStringLiteral("بم"));
        const SettingPlace g{SettingTable::General, {}, {}};
        addSetting(g, reftext::kDeletePasswordKey, QStringLiteral("s3cret"));
        addSetting(SettingPlace{SettingTable::Province, kOstanA, {}}, reftext::kDeletePasswordKey, QStringLiteral("p4ss"));
        addSetting(SettingPlace{SettingTable::County, kOstanA, QStringLiteral("بم")}, reftext::kDeletePasswordKey,
                   QStringLiteral("c0de"));
        addSetting(g, QStringLiteral("بانک"), QStringLiteral("ملي"));

        Tsetting& w = tavrin::window<Tsetting>();
        w.applyRights(allRights());
        chooseKey(w, reftext::kDeletePasswordKey);
        QCOMPARE(w.cellText(0, 1), QStringLiteral("s3cret"));   // admin sees it

        test::addUser(QStringLiteral("k1"), QStringLiteral("keshvar"), kOstanA);
        test::loginAs(QStringLiteral("k1"));
        chooseKey(w, QStringLiteral("بانک"));
        chooseKey(w, reftext::kDeletePasswordKey);
        QCOMPARE(w.cellText(0, 1), QStringLiteral("****"));
        // Marking it as default does not copy it into the value field.
        w.selectRow(0);
        w.N2Click();
        QCOMPARE(w.cmt->text(), QString());
        QCOMPARE(w.cellText(0, 1), QStringLiteral("****"));
        QCOMPARE(w.cellText(0, 2), QStringLiteral("1"));
        chooseKey(w, QStringLiteral("بانک"));
        QCOMPARE(w.cellText(0, 1), QStringLiteral("ملي"));

        Tsetting_ost& o = tavrin::window<Tsetting_ost>();
        o.applyRights(allRights());
        o.prepareToShow();
        o.ostan->setCurrentIndex(o.ostan->findText(kOstanA));
        chooseKey(o, reftext::kDeletePasswordKey);
        QCOMPARE(o.cellText(0, 2), QStringLiteral("****"));
        Tsetting_city& c = tavrin::window<Tsetting_city>();
        c.applyRights(allRights());
        c.prepareToShow();
        c.ostan->setCurrentIndex(c.ostan->findText(kOstanA));
        c.shahrestan->setCurrentIndex(0);
        QCOMPARE(c.rows().size(), 1);
        QCOMPARE(c.cellText(0, 3), QStringLiteral("****"));
        // Deleting a masked row still deletes the real value.
        c.selectRow(0);
        c.N1Click();
        QCOMPARE(count(QStringLiteral("select count(*) from setting_city")), 0);

        test::loginAs(QStringLiteral("admin"));
        chooseKey(o, QStringLiteral("مدير کل"));
        chooseKey(o, reftext::kDeletePasswordKey);
        QCOMPARE(o.cellText(0, 2), QStringLiteral("p4ss"));
    }

    void deletionPasswordQuestion()
    {
        test::DialogRecorder rec;
        addSetting(SettingPlace{}, reftext::kDeletePasswordKey, QStringLiteral("s3cret"));
        rec.inputs.push_back(QStringLiteral("s3cret"));
        QVERIFY(askDeletePassword());
        QCOMPARE(rec.shown.last().title, QStringLiteral("Delete Password"));
        QCOMPARE(rec.shown.last().text, QStringLiteral("رمز حذف"));
        rec.inputs.push_back(QStringLiteral("S3CRET"));
        QVERIFY(!askDeletePassword());
        rec.inputs.push_back(std::nullopt);
        QVERIFY(!askDeletePassword());
        QVERIFY(rec.texts().isEmpty());

        // The real box masks what is typed and is as wide as its title needs.
        QString shown;
        int width = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            QVERIFY(box);
            auto* field = box->findChild<QLineEdit*>();
            QTest::keyClicks(field, "s3cret");
            shown = field->displayText();
            width = box->width();
            box->accept();
        });
        QCOMPARE(DialogService().password(reftext::kDeletePasswordTitle, reftext::kDeletePasswordKey),
                 std::optional<QString>(QStringLiteral("s3cret")));
        QVERIFY2(!shown.isEmpty() && !shown.contains(QLatin1Char('s')), qPrintable(shown));
        QVERIFY(width >= messageBoxTitleRoom(reftext::kDeletePasswordTitle));
    }

    void reopeningClearsTheKeyAndOnlyTheCountyWindowClearsTheValue()
    {
        test::DialogRecorder rec;
        addDivision(kOstanA, QStringLiteral("بم"));
        Tsetting& gen = tavrin::window<Tsetting>();
        gen.applyRights(allRights());
        gen.prepareToShow();
        chooseKey(gen, QStringLiteral("بانک"));
        gen.cmt->setText(QStringLiteral("typed"));
        gen.prepareToShow();
        QCOMPARE(gen.component->currentIndex(), -1);
        QCOMPARE(gen.cmt->text(), QStringLiteral("typed"));

        Tsetting_ost& ost = tavrin::window<Tsetting_ost>();
        ost.applyRights(allRights());
        ost.prepareToShow();
        chooseKey(ost, QStringLiteral("مدير کل"));
        ost.cmt->setText(QStringLiteral("typed"));
        ost.prepareToShow();
        QCOMPARE(ost.component->currentIndex(), -1);
        QCOMPARE(ost.cmt->text(), QStringLiteral("typed"));

        Tsetting_city& city = tavrin::window<Tsetting_city>();
        city.applyRights(allRights());
        city.prepareToShow();
        chooseKey(city, QStringLiteral("مدير شهرستان"));
        city.cmt->setText(QStringLiteral("typed"));
        city.prepareToShow();
        QCOMPARE(city.component->currentIndex(), -1);
        QCOMPARE(city.cmt->text(), QString());
    }

    void menuOpensWithRightsAndFixesTheProvince()
    {
        test::DialogRecorder rec;
        addDivision(kOstanA, QStringLiteral("بم"));
        addDivision(kOstanA, QStringLiteral("راور"));
        addDivision(kOstanB, QStringLiteral("ري"));
        test::addUser(QStringLiteral("c1"), QStringLiteral("city"), kOstanA,
                      {{QStringLiteral("setting_ost"), QStringLiteral("1001")}, {QStringLiteral("seting"), QStringLiteral("0001")}},
                      {QStringLiteral("بم")});
        test::addUser(QStringLiteral("k1"), QStringLiteral("keshvar"), kOstanB,
                      {{QStringLiteral("setting_ost"), QStringLiteral("1111")}});
        test::loginAs(QStringLiteral("c1"));
        Tmain& m = mainWindow();
        for (const char* entry : {"N31", "N20", "N21"})
            QVERIFY(m.action(QString::fromLatin1(entry))->isEnabled());

        m.action(QStringLiteral("N31"))->trigger();
        Tsetting_city& city = tavrin::window<Tsetting_city>();
        QCOMPARE(rec.shown.last().kind, QStringLiteral("window"));
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tsetting_city"));
        QCOMPARE(city.ostan->currentText(), kOstanA);
        QVERIFY(!city.ostan->isEnabled());
        QCOMPARE(city.shahrestan->count(), 2);
        QVERIFY(city.ins_btn->isEnabled());
        QVERIFY(!city.N1->isEnabled());
        QVERIFY(city.N2->isEnabled());

        m.action(QStringLiteral("N20"))->trigger();
        Tsetting_ost& ost = tavrin::window<Tsetting_ost>();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tsetting_ost"));
        QCOMPARE(ost.ostan->currentText(), kOstanA);
        QVERIFY(!ost.ostan->isEnabled());

        m.action(QStringLiteral("N21"))->trigger();
        Tsetting& gen = tavrin::window<Tsetting>();
        QCOMPARE(rec.shown.last().title, QStringLiteral("Tsetting"));
        QVERIFY(!gen.ins_btn->isEnabled());
        QVERIFY(!gen.N1->isEnabled());

        // A country-level user chooses the province; no rights row refuses the page.
        test::loginAs(QStringLiteral("k1"));
        m.action(QStringLiteral("N31"))->trigger();
        QVERIFY(city.ostan->isEnabled());
        QCOMPARE(city.ostan->currentIndex(), -1);
        QCOMPARE(city.shahrestan->count(), 0);
        rec.clear();
        m.action(QStringLiteral("N21"))->trigger();
        QCOMPARE(rec.texts(), QStringList{QStringLiteral("شما دسترسي به اين صفحه را نداريد")});
    }
};

TAVRIN_DB_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
