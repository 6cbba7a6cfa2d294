// The list mechanics every list window uses: the search statement with its
// bound criteria and county scope, yeh/kaf folding, paging, and title sorting.
#include "support/testsupport.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/xlsxexport.h"
#include "common/listmodel.h"
#include "common/listquery.h"
#include "common/lookups.h"
#include "common/session.h"
#include "db/schema.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

using namespace tavrin;

class TestListMechanics : public QObject {
    Q_OBJECT

    void addPhone(const QString& name, const QString& tel = QStringLiteral("1"))
    {
        dm().exec(QStringLiteral("insert into phone (name,tel,cmt) values (?,?,?)"), {name, tel, QStringLiteral("c")});
    }

    QStringList names(const ListModel& m)
    {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.value(r, QStringLiteral("name")).toString();
        return out;
    }

private Q_SLOTS:
    void init() { test::useFreshDatabase(); }

    void searchStatementBindsItsCriteria()
    {
        addPhone(QStringLiteral("o'brien"));
        addPhone(QStringLiteral("smith"));
        ListQuery q(QStringLiteral("select *"), QStringLiteral("from phone"));
        q.like(QStringLiteral("name"), QStringLiteral("o'b"));
        QVERIFY(q.listSql().startsWith(QStringLiteral("select * from phone where id<>-1 and ")));
        QVERIFY(!q.listSql().contains(QStringLiteral("o'b")));
        ListModel m;
        m.setColumns({{QStringLiteral("name"), QStringLiteral("نام")}});
        m.setQuery(q);
        QCOMPARE(names(m), QStringList{QStringLiteral("o'brien")});
        QCOMPARE(m.totalCount(), 1);
        // An empty criterion matches every non-null value; no criterion matches everything.
        m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")).like(QStringLiteral("name"), QString()));
        QCOMPARE(m.totalCount(), 2);
    }

    // A typed text matches itself byte for byte on every backend; only "%" and "_" are wildcards.
    void searchesCompareByteWise()
    {
        for (const char* n : {"ABC", "abc", "a\\b", "ab", "O'Hara", "50%", "x_y", "xzy"})
            addPhone(QString::fromLatin1(n));
        const auto found = [this](const QString& typed) {
            ListModel m;
            m.setColumns({{QStringLiteral("name"), QStringLiteral("نام")}});
            m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone"))
                           .like(QStringLiteral("name"), typed)
                           .orderBy(QStringLiteral("id")));
            return names(m);
        };
        QCOMPARE(found(QStringLiteral("abc")), QStringList{QStringLiteral("abc")});
        QCOMPARE(found(QStringLiteral("a\\b")), QStringList{QStringLiteral("a\\b")});
        QCOMPARE(found(QStringLiteral("\\")), QStringList{QStringLiteral("a\\b")});
        QCOMPARE(found(QStringLiteral("O'H")), QStringList{QStringLiteral("O'Hara")});
        QCOMPARE(found(QStringLiteral("o'h")), QStringList());
        QCOMPARE(found(QStringLiteral("x_y")), (QStringList{QStringLiteral("x_y"), QStringLiteral("xzy")}));
        QCOMPARE(found(QStringLiteral("A%C")), QStringList{QStringLiteral("ABC")});
        QCOMPARE(found(QStringLiteral("0%")), QStringList{QStringLiteral("50%")});
    }

    void yehAndKafFoldOnBothSides()
    {
        addPhone(QStringLiteral("علي كريمي"));   // Arabic yeh and kaf
        addPhone(QStringLiteral("علی کریمی"));   // Persian forms
        addPhone(QStringLiteral("مصطفى"));       // alef maksura
        addPhone(QStringLiteral("حسن"));
        for (const QString& typed : {QStringLiteral("کریمی"), QStringLiteral("كريمي"), QStringLiteral("ي ك")}) {
            ListModel m;
            m.setColumns({{QStringLiteral("name"), QStringLiteral("نام")}});
            m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")).like(QStringLiteral("name"), typed));
            QCOMPARE(m.totalCount(), 2);
        }
        ListModel m;
        m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")).like(QStringLiteral("name"), QStringLiteral("مصطفی")));
        QCOMPARE(m.totalCount(), 1);
    }

    // A search a key narrows (a part of a surname) gives the rows, count,
    // totals and pages of the same search without the key, in every filter
    // and sort; on PostgreSQL its conditions are read once for its count and
    // first page (the rows kept are found once for both), not once for each.
    void aSearchNarrowedByTheKeyMatchesTheSearchWithoutIt()
    {
        const QStringList lnames {QStringLiteral("کريمي"), QStringLiteral("کریمی زاده"), QStringLiteral("كريمي"),
                                  QStringLiteral("احمدی"), QStringLiteral("کریم")};
        {
            Transaction tx(dm());
            for (int i = 0; i < 1200; ++i)
                dm().insert(QStringLiteral("customers"),
                            {QStringLiteral("lname"), QStringLiteral("transport_dat"), QStringLiteral("mablagh")},
                            {QString(lnames[i % 5] + (i % 7 ? QString() : QStringLiteral("پور"))),
                             i % 2 ? QString::fromLatin1(kEmptyDateMask) : QStringLiteral("1402/01/0%1").arg(1 + i % 9), i});
            tx.commit();
        }
        const bool pg = test::backendUnderTest() == Backend::PostgreSQL;
        const auto ids = [](ListModel& m) {
            QList<qint64> out;
            for (int r = 0; r < m.rowCount(); ++r)
                out << m.value(r, QStringLiteral("id")).toLongLong();
            return out;
        };
        for (const QString& transport : {QString(), QStringLiteral("="), QStringLiteral("<>")})
            for (const bool withTotal : {false, true})
                for (const auto& [field, order] : {std::pair {QString(), Qt::AscendingOrder},
                                                   {QStringLiteral("lname"), Qt::AscendingOrder},
                                                   {QStringLiteral("lname"), Qt::DescendingOrder},
                                                   {QStringLiteral("id"), Qt::DescendingOrder}}) {
                    const auto query = [&](bool keyed) {
                        ListQuery q(QStringLiteral("select *"), QStringLiteral("from customers"));
                        if (!transport.isEmpty())
                            q.where(QStringLiteral("transport_dat") + transport + QStringLiteral("?"), {QString::fromLatin1(kEmptyDateMask)});
                        if (keyed)
                            q.contains(QStringLiteral("customers"), QStringLiteral("lname"), QStringLiteral("کریمی"));
                        else
                            q.like(QStringLiteral("customers.lname"), QStringLiteral("کریمی"));
                        if (withTotal)
                            q.total(QStringLiteral("sum"), QStringLiteral("sum(mablagh)"));
                        return q;
                    };
                    const QByteArray what = (transport + ' ' + field + ' ' + QString::number(order) + ' ' + QString::number(withTotal)).toUtf8();
                    ListModel keyed, plain;
                    for (ListModel* m : {&keyed, &plain}) {
                        m->setQuery(query(m == &keyed));
                        if (!field.isEmpty())
                            m->sortByField(field, order);
                    }
                    QVERIFY2(query(true).narrowedByKey() && !query(false).narrowedByKey(), what.constData());
                    QString sent;
                    dm().setStatementHook([&](const QString& sql) { sent = sql; });
                    keyed.refresh();
                    dm().setStatementHook({});
                    if (pg) {
                        // The search's conditions appear once in the plan: one
                        // reading of the rows serves the count and the page.
                        QVariantList values;
                        while (values.size() < sent.count(QLatin1Char('?')) - 2)
                            values += query(true).values();
                        values << ListModel::kPageSize << 0;
                        QString plan;
                        QSqlQuery e = dm().exec(QStringLiteral("explain ") + sent, values);
                        while (e.next())
                            plan += e.value(0).toString() + '\n';
                        QVERIFY2(plan.count(QStringLiteral("%کریمی%")) == 1, qPrintable(plan));
                    }
                    plain.refresh();
                    QVERIFY2(keyed.totalCount() > ListModel::kPageSize, what.constData());
                    QCOMPARE(keyed.totalCount(), plain.totalCount());
                    QCOMPARE(keyed.totals(), plain.totals());
                    QVERIFY2(ids(keyed) == ids(plain), what.constData());
                }
    }

    void countyScopeByLevel()
    {
        const qint64 cityUser = test::addUser(QStringLiteral("c1"), QStringLiteral("city"), {}, {}, {QStringLiteral("A")});
        test::addUser(QStringLiteral("k1"), QStringLiteral("keshvar"));
        for (const char* county : {"A", "B", "B"})
            dm().exec(QStringLiteral("insert into projects (shahrestan,prj_name) values (?,'p')"), {QString::fromLatin1(county)});
        const auto count = [](CountyScope rule) {
            ListModel m;
            m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from projects"))
                           .countyScope(QStringLiteral("shahrestan"), rule));
            return m.totalCount();
        };
        test::loginAs(QStringLiteral("c1"));
        QCOMPARE(session().prsId, cityUser);
        QCOMPARE(count(CountyScope::AllButAdmin), 1);
        QCOMPARE(count(CountyScope::ProvincialAndCounty), 1);
        test::loginAs(QStringLiteral("k1"));  // no granted county
        QCOMPARE(count(CountyScope::AllButAdmin), 0);
        QCOMPARE(count(CountyScope::ProvincialAndCounty), 3);
        test::loginAs(QStringLiteral("admin"));
        QCOMPARE(count(CountyScope::AllButAdmin), 3);
    }

    void pagesAreFetchedAsNeededAndSortingCycles()
    {
        Transaction tx(dm());
        for (int i = 0; i < 1000; ++i)
            addPhone(QStringLiteral("n%1").arg(i, 4, 10, QChar('0')), QString::number(i % 7));
        tx.commit();
        DBGrid grid;
        ListModel& m = *grid.listModel();
        m.setColumns({{QStringLiteral("name"), QStringLiteral("نام")}, {QStringLiteral("tel"), QStringLiteral("تلفن")}});
        m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")));
        QCOMPARE(m.rowCount(), 1000);
        QCOMPARE(m.value(999, QStringLiteral("name")).toString(), QStringLiteral("n0999"));
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0000"));
        // Title clicks: ascending, descending, ascending; the sorted title is bold.
        grid.titleClick(0);
        QCOMPARE(m.sortOrder(), Qt::AscendingOrder);
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0000"));
        QVERIFY(m.headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        QVERIFY(!m.headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
        grid.titleClick(0);
        QCOMPARE(m.sortOrder(), Qt::DescendingOrder);
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0999"));
        QCOMPARE(m.value(500, QStringLiteral("name")).toString(), QStringLiteral("n0499"));
        grid.titleClick(0);
        QCOMPARE(m.sortOrder(), Qt::AscendingOrder);
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0000"));
        // Another column starts ascending; ties keep the id order.
        grid.titleClick(1);
        QCOMPARE(m.sortField(), QStringLiteral("tel"));
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0000"));
        QCOMPARE(m.value(1, QStringLiteral("name")).toString(), QStringLiteral("n0007"));
        // Streaming every row in the grid's order.
        int n = 0;
        QString first;
        m.forEachRow([&](const QSqlRecord& r) {
            if (n++ == 0)
                first = r.value(QStringLiteral("name")).toString();
        });
        QCOMPARE(n, 1000);
        QCOMPARE(first, QStringLiteral("n0000"));
    }

    // A read pulled a row at a time gives what forEachRow gives, in order,
    // with statements run between its rows; one dropped part way (alone or
    // in the caller's transaction) or failing leaves no transaction or cursor
    // behind, and the connection works on.
    void aReadPulledRowByRowIsTheWholeReadInOrder()
    {
        {
            Transaction tx(dm());
            for (int i = 0; i < 1300; ++i)
                addPhone(QStringLiteral("n%1").arg(i, 4, 10, QChar('0')), QString::number(i % 7));
            tx.commit();
        }
        const bool pg = dm().backend() == Backend::PostgreSQL;
        const auto cursors = [pg] { return pg ? dm().scalar(QStringLiteral("select count(*) from pg_cursors")).toInt() : 0; };
        ListModel m;
        QVERIFY(!m.rowReader());
        m.setQuery(ListQuery(QStringLiteral("select name, tel"), QStringLiteral("from phone")));
        m.sortByField(QStringLiteral("tel"), Qt::DescendingOrder);
        QStringList pushed;
        m.forEachRow([&](const QSqlRecord& r) { pushed << r.value(QStringLiteral("name")).toString(); });
        QCOMPARE(pushed.size(), 1300);
        QStringList pulled;
        const qint64 before = dm().statementCount();
        int between = 0;
        {
            const auto reader = m.rowReader();
            QVERIFY(reader->fields().contains(QStringLiteral("tel")));
            while (const QSqlRecord* r = reader->next()) {
                pulled << r->value(QStringLiteral("name")).toString();
                if (pulled.size() % 400 == 0) {
                    QCOMPARE(dm().scalar(QStringLiteral("select count(*) from phone")).toInt(), 1300);
                    ++between;
                }
            }
            QVERIFY(!reader->next());
        }
        QCOMPARE(pulled, pushed);
        // PostgreSQL: the cursor's declaration and batches of 500 and 1,000 rows.
        QCOMPARE(dm().statementCount() - before - between, pg ? 3 : 1);
        QCOMPARE(dm().transactionDepth(), 0);
        for (const bool inTransaction : {false, true}) {
            Transaction tx(dm());
            if (!inTransaction)
                tx.commit();
            for (const int stopAt : {1, 700}) {
                {
                    const auto reader = m.rowReader();
                    for (int i = 0; i < stopAt; ++i)
                        QCOMPARE(reader->next()->value(QStringLiteral("name")).toString(), pushed.at(i));
                }
                QCOMPARE(dm().transactionDepth(), inTransaction ? 1 : 0);
                QCOMPARE(cursors(), 0);
            }
            if (inTransaction)
                tx.commit();
        }
        // A batch or the statement itself that fails.
        int fetches = 0;
        dm().setStatementHook([&](const QString& sql) {
            if (pg ? sql.startsWith(QStringLiteral("fetch")) && ++fetches == 2 : sql.contains(QStringLiteral("phone")))
                throw DbError(QStringLiteral("injected"), sql);
        });
        int got = 0;
        QVERIFY_THROWS_EXCEPTION(DbError, {
            const auto reader = m.rowReader();
            while (reader->next())
                ++got;
        });
        dm().setStatementHook({});
        QCOMPARE(got, pg ? 500 : 0);
        QCOMPARE(dm().transactionDepth(), 0);
        QCOMPARE(cursors(), 0);
        QCOMPARE(dm().scalar(QStringLiteral("select count(*) from phone")).toInt(), 1300);
    }

    void aSearchIsOneStatementAndLongReadsCanBeCancelled()
    {
        {
            Transaction tx(dm());
            for (int i = 0; i < 700; ++i)
                addPhone(QStringLiteral("n%1").arg(i, 4, 10, QChar('0')), QString::number(i % 7));
            tx.commit();
        }
        test::DialogRecorder rec;
        ListModel m;
        ListQuery q(QStringLiteral("select name, tel"), QStringLiteral("from phone"));
        q.total(QStringLiteral("tels"), QStringLiteral("count(distinct tel)")).total(QStringLiteral("last"), QStringLiteral("max(name)"));
        m.setQuery(ListQuery(QStringLiteral("select name, tel"), QStringLiteral("from phone")));
        m.sortByField(QStringLiteral("name"), Qt::DescendingOrder);
        const qint64 before = dm().statementCount();
        m.setQuery(q);
        // The count, the totals and the first page (in the kept order) come in
        // one statement.
        QCOMPARE(dm().statementCount() - before, 1);
        QCOMPARE(m.totalCount(), 700);
        QCOMPARE(m.totals().value(QStringLiteral("tels")).toInt(), 7);
        QCOMPARE(m.totals().value(QStringLiteral("last")).toString(), QStringLiteral("n0699"));
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0699"));
        QCOMPARE(m.fieldNames(), (QStringList {QStringLiteral("name"), QStringLiteral("tel")}));
        ListQuery none = q;
        none.where(QStringLiteral("tel=?"), {QStringLiteral("x")});
        m.setQuery(none);
        QCOMPARE(m.totalCount(), 0);
        QVERIFY(m.totals().value(QStringLiteral("last")).isNull());
        QCOMPARE(m.fieldNames(), (QStringList {QStringLiteral("name"), QStringLiteral("tel")}));
        m.setQuery(q);

        // A long read behind the progress dialog, cancelled part way.
        rec.cancelProgressAt = 300;
        int seen = 0;
        QVERIFY(!m.forEachRow(kReadingList, [&](const QSqlRecord&) { ++seen; }));
        QCOMPARE(seen, 300);
        QCOMPARE(rec.progressTotal, 700);
        QCOMPARE(dm().transactionDepth(), 0);
        seen = 0;
        QVERIFY(!readRows(kReadingList, QStringLiteral("select name from phone where name<>? order by name"), {QStringLiteral("")},
                          [&](const QSqlRecord&) { ++seen; }));
        QCOMPARE(seen, 300);
        QCOMPARE(dm().transactionDepth(), 0);
        // An export cancelled leaves no file; one carried through has every
        // row, and its progress window is closed before the result is shown.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("phones.xlsx"));
        rec.desktopOpens = false;
        for (const bool cancel : {true, false}) {
            rec.clear();
            rec.cancelProgressAt = cancel ? std::optional<qint64>(500) : std::nullopt;
            rec.files.push_back(path);
            const bool written = exportListToExcel(QStringLiteral("phones"), QStringLiteral("select name from phone order by name"),
                                                   {}, {});
            QCOMPARE(written, !cancel);
            QCOMPARE(QFile::exists(path), !cancel);
            QCOMPARE(rec.progressDone, cancel ? 500 : 700);
            rec.files.push_back(dir.filePath(QStringLiteral("list.xlsx")));
            QCOMPARE(exportListToExcel(QStringLiteral("list"), m.fieldNames(), {},
                                       [&](const RecordVisitor& visit) { m.forEachRow(visit); }),
                     !cancel);
            QCOMPARE(rec.progressDone, cancel ? 500 : 700);
            QCOMPARE(rec.texts().size(), cancel ? 0 : 2);
            QCOMPARE(rec.shownOverProgress, 0);
        }
        QCOMPARE(dm().transactionDepth(), 0);
    }

    // After an insert the list is shown again in one statement: the end of
    // the list, and the count read at the search plus the rows added beyond
    // it since (by anyone, and only those the search keeps), never counted
    // again; a list under a page long is counted exactly; a sorted list or one
    // with totals is searched again.
    void aRefreshAfterAnInsertCountsOnlyTheNewRows()
    {
        {
            Transaction tx(dm());
            for (int i = 0; i < 450; ++i)
                addPhone(QStringLiteral("n%1").arg(i, 4, 10, QChar('0')), QString::number(i % 2));
            tx.commit();
        }
        ListModel m;
        m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")).where(QStringLiteral("tel=?"), {QStringLiteral("1")}));
        QCOMPARE(m.totalCount(), 225);
        const auto add = [&](const QString& name, const QString& tel) {
            return dm().insert(QStringLiteral("phone"), {QStringLiteral("name"), QStringLiteral("tel")}, {name, tel});
        };
        add(QStringLiteral("other user's"), QStringLiteral("1"));
        add(QStringLiteral("not listed"), QStringLiteral("0"));
        const qint64 mine = add(QStringLiteral("mine"), QStringLiteral("1"));
        qint64 before = dm().statementCount();
        QCOMPARE(m.refreshAfterInsert(mine), 226);
        QCOMPARE(dm().statementCount() - before, 1);
        QCOMPARE(m.totalCount(), 227);
        QCOMPARE(m.value(225, QStringLiteral("name")).toString(), QStringLiteral("other user's"));
        QCOMPARE(m.value(0, QStringLiteral("name")).toString(), QStringLiteral("n0001"));
        QCOMPARE(m.value(224, QStringLiteral("name")).toString(), QStringLiteral("n0449"));
        // Nothing new, and a row the search does not keep.
        const qint64 hidden = add(QStringLiteral("hidden"), QStringLiteral("0"));
        QCOMPARE(m.refreshAfterInsert(hidden), -1);
        QCOMPARE(m.totalCount(), 227);
        QCOMPARE(m.refreshAfterInsert(mine), 226);
        QCOMPARE(m.totalCount(), 227);
        // A short list is counted from its rows: a row deleted meanwhile is not shown.
        m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")).where(QStringLiteral("tel=?"), {QStringLiteral("1")}).where(QStringLiteral("name like ?"), {QStringLiteral("n00%")}));
        QCOMPARE(m.totalCount(), 50);
        dm().exec(QStringLiteral("delete from phone where name=?"), {QStringLiteral("n0003")});
        const qint64 short1 = add(QStringLiteral("n00x"), QStringLiteral("1"));
        QCOMPARE(m.refreshAfterInsert(short1), 49);
        QCOMPARE(m.totalCount(), 50);
        // Sorted by a column: searched again, the row found by its place.
        m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from phone")).where(QStringLiteral("tel=?"), {QStringLiteral("1")}));
        m.sortByField(QStringLiteral("name"), Qt::AscendingOrder);
        const qint64 early = add(QStringLiteral("a first"), QStringLiteral("1"));
        QCOMPARE(m.refreshAfterInsert(early), 0);
        QCOMPARE(m.totalCount(), 228);
    }

    // Pages read forward from the previous page's last row, backward from the
    // next page's first row, or from the end in the opposite order, give the
    // rows of one ordered statement, NULLs and ties included, in either direction;
    // so do a search's first page (read with the count) and the pages after it,
    // and the whole result streamed.
    void pagesFromAnyDirectionFollowOneOrder()
    {
        // Over two thousand rows, so that streaming them takes more than one batch.
        Transaction tx(dm());
        for (int chunk = 0; chunk < 23; ++chunk) {
            QStringList rows;
            QVariantList values;
            for (int i = chunk * 100; i < chunk * 100 + 100; ++i) {
                rows << QStringLiteral("(1,?,?,?)");
                values << (i % 5 == 0 ? QVariant(QMetaType::fromType<QString>()) : QVariant(QStringLiteral("s%1").arg(i % 37)))
                       << (i % 7 == 0 ? QVariant(QMetaType::fromType<qint64>()) : QVariant(qint64(i % 11) * 1000000))
                       << (i % 9 == 0 ? QVariant(QMetaType::fromType<double>()) : QVariant(0.5 * (i % 13)));
            }
            dm().exec(QStringLiteral("insert into vahedha (prj_id,shenase,mablagh,metraj) values ") + rows.join(','), values);
        }
        tx.commit();
        for (const char* field : {"shenase", "mablagh", "metraj"})
            for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                const QString dir = order == Qt::AscendingOrder ? QStringLiteral("asc") : QStringLiteral("desc");
                const QStringList expected = dm().textColumn(
                    QStringLiteral("select id from vahedha order by %1 %2, id %2").arg(QLatin1String(field), dir));
                ListModel m;
                m.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from vahedha")));
                m.sortByField(QString::fromLatin1(field), order);
                const auto id = [&m](int r) { return m.value(r, QStringLiteral("id")).toString(); };
                QStringList forward, backward, searched, streamed;
                for (int r = 0; r < m.rowCount(); ++r)
                    forward << id(r);
                m.sortByField(QString::fromLatin1(field), order);
                for (int r = m.rowCount() - 1; r >= 0; --r)
                    backward.prepend(id(r));
                m.refresh();
                for (int r = 0; r < m.rowCount(); ++r)
                    searched << id(r);
                m.forEachRow([&streamed](const QSqlRecord& rec) { streamed << rec.value(QStringLiteral("id")).toString(); });
                QCOMPARE(forward, expected);
                QCOMPARE(backward, expected);
                QCOMPARE(searched, expected);
                QCOMPARE(streamed, expected);
                // A row found by its id, beyond the pages read, is where the grid shows it
                // (every fifth row has no value, so NULLs are among these).
                ListModel fresh;
                fresh.setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from vahedha")));
                fresh.sortByField(QString::fromLatin1(field), order);
                for (const int at : {0, 5, 199, 200, 1234, 1820, int(expected.size()) - 1})
                    QCOMPARE(fresh.rowOfId(expected.at(at).toLongLong()), at);
                QCOMPARE(fresh.rowOfId(qint64(999999)), -1);
            }
    }

    // Several choice lists read in one statement come back each as read alone:
    // distinct values sorted byte-wise, setting values in the order of their
    // ids, NULL as "", an empty list empty, lists of one table not mixed.
    void listsReadTogetherAsAlone()
    {
        for (const auto& [ostan, shahrestan] : {std::pair {"ب", "ي"}, {"ب", "ك"}, {"الف", "ی"}, {"ب", "ي"}})
            dm().exec(QStringLiteral("insert into abadiha (ostan,shahrestan,shahr) values (?,?,NULL)"),
                      {QString::fromUtf8(ostan), QString::fromUtf8(shahrestan)});
        for (const char* v : {"ج", "الف", "ب"})
            dm().exec(QStringLiteral("insert into setting (component,cmt) values ('k',?)"), {QString::fromUtf8(v)});
        ListBatch b;
        const int provinces = b.provinces();
        const int values = b.setting(QStringLiteral("k"));
        const int counties = b.grantedCounties(QStringLiteral("ب"));
        const int none = b.setting(QStringLiteral("nothing"));
        const int cities = b.cities(QStringLiteral("ب"), QStringLiteral("ي"));
        b.read();
        QCOMPARE(b.list(provinces), tavrin::provinces());
        QCOMPARE(b.list(provinces), (QStringList {QStringLiteral("الف"), QStringLiteral("ب")}));
        QCOMPARE(b.list(values), (QStringList {QStringLiteral("ج"), QStringLiteral("الف"), QStringLiteral("ب")}));
        QCOMPARE(b.list(counties), tavrin::counties(QStringLiteral("ب")));
        QCOMPARE(b.list(counties), (QStringList {QStringLiteral("ك"), QStringLiteral("ي")}));  // U+0643 before U+064A
        QVERIFY(b.list(none).isEmpty());
        QCOMPARE(b.list(cities), QStringList {QString()});
    }

    void criterionBoxEnablesItsField()
    {
        QWidget w;
        auto* box = new QCheckBox(&w);
        auto* field = new QLineEdit(&w);
        bindCriterion(box, field);
        QVERIFY(!field->isEnabled());
        box->setChecked(true);
        QVERIFY(field->isEnabled());
        QVERIFY(field->styleSheet().contains(QStringLiteral("yellow")));
        box->setChecked(false);
        QVERIFY(!field->isEnabled());
        QVERIFY(field->styleSheet().isEmpty());
    }

    // A money column, marked or known from the schema, shows whole grouped
    // amounts and is never narrower than its widest one: after a search, after
    // a save adds a wider one, when a later page brings one, when the user
    // drags its edge.  A Latin-only text (an extension) reads left to right.
    void moneyColumnsShowWholeAmounts()
    {
        for (int i = 0; i < 250; ++i)
            dm().exec(QStringLiteral("insert into pardakht (customer_id,mablagh,num) values (1,?,?)"),
                      {i == 249 ? qint64(999'999'999'999'999) : qint64(1000), QStringLiteral(".jpg")});
        DBGrid grid;
        grid.listModel()->setColumns({{QStringLiteral("mablagh"), QStringLiteral("مبلغ")},
                                      {QStringLiteral("num"), QStringLiteral("شماره")}});
        grid.resize(500, 300);
        grid.show();
        ListModel* m = grid.listModel();
        m->setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from pardakht")).orderBy(QStringLiteral("id")));
        QVERIFY(m->isMoney(0) && !m->isMoney(1));
        QCOMPARE(m->data(m->index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("1,000"));
        const auto whole = [&](int row) {
            const QModelIndex i = m->index(row, 0);
            return grid.columnWidth(0) >= grid.sizeHintForIndex(i).width();
        };
        // Dragged narrower than its widest amount, it keeps that width.
        grid.horizontalHeader()->resizeSection(0, 10);
        QVERIFY(whole(0) && grid.columnWidth(0) < 60);
        // The last row's page, read as the grid scrolls to it.
        grid.scrollToBottom();
        QTRY_VERIFY(whole(249));
        grid.horizontalHeader()->resizeSection(0, 10);
        QVERIFY(whole(249));
        // A save of a wider amount, shown by the list's refresh.
        m->setQuery(ListQuery(QStringLiteral("select *"), QStringLiteral("from pardakht")).where(QStringLiteral("id<?"), {200}));
        grid.horizontalHeader()->resizeSection(0, 10);
        QVERIFY(grid.columnWidth(0) < 60);
        dm().exec(QStringLiteral("update pardakht set mablagh=? where id=2"), {qint64(30'000'000'000)});
        grid.refreshKeepingRow();
        QCOMPARE(m->data(m->index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("30,000,000,000"));
        QVERIFY(whole(1));
        // ".jpg", not "jpg.": the text starts with a left-to-right mark.
        const auto* d = qobject_cast<QStyledItemDelegate*>(grid.itemDelegateForIndex(m->index(0, 1)));
        QCOMPARE(d->displayText(m->data(m->index(0, 1), Qt::DisplayRole), QLocale()), QStringLiteral("\u200E.jpg"));
        QCOMPARE(d->displayText(QStringLiteral("شماره 12"), QLocale()), QStringLiteral("شماره 12"));
    }

    void moneyAndNumbersDisplay()
    {
        QCOMPARE(ListModel::display(QVariant(9876543.0), ColumnKind::Money), QStringLiteral("9,876,543"));
        QCOMPARE(ListModel::display(QVariant(QStringLiteral("-500000.0000")), ColumnKind::Money), QStringLiteral("-500,000"));
        QCOMPARE(ListModel::display(QVariant(12.5), ColumnKind::Auto), QStringLiteral("12.5"));
        QCOMPARE(ListModel::display(QVariant(100.0), ColumnKind::Auto), QStringLiteral("100"));
        QCOMPARE(ListModel::display(QVariant(), ColumnKind::Money), QString());
    }
};

TAVRIN_DB_TEST_MAIN(TestListMechanics)
#include "tst_listmechanics.moc"
