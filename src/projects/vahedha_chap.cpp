#include "vahedha_chap.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "db/database.h"

namespace tavrin {

using namespace doc;

const QStringList& Tvahedha_chap::rowFields()
{
    static const QStringList fields {
        QStringLiteral("bolok"),    QStringLiteral("tabaghe"), QStringLiteral("vahed_no"),  QStringLiteral("shenase"),
        QStringLiteral("jahat"),    QStringLiteral("karbari"), QStringLiteral("metraj"),    QStringLiteral("otagh"),
        QStringLiteral("teras"),    QStringLiteral("mablagh1"), QStringLiteral("mablagh"),  QStringLiteral("vam"),
        QStringLiteral("vahed_typ"), QStringLiteral("ekhtesasi"), QStringLiteral("moshtarak"), QStringLiteral("status")};
    return fields;
}

const QStringList& Tvahedha_chap::headingFields()
{
    static const QStringList fields {QStringLiteral("prj_name"), QStringLiteral("ostan"), QStringLiteral("shahrestan"),
                                     QStringLiteral("vahed_cnt")};
    return fields;
}

QString Tvahedha_chap::heading()
{
    return QStringLiteral("گزارش ليست واحد ها");
}

TableReport Tvahedha_chap::layout()
{
    const PageSetup setup {Paper::A4, Orientation::Landscape, QMarginsF(10, 10, 10, 8)};
    const QRectF content = setup.contentRect();
    const auto right = Qt::AlignRight;

    // The heading, and below it four caption/value pairs from the right edge.
    Band header(20);
    header.text(QRectF(content.left(), 0, content.width(), 9), heading(), TextStyle().pt(14).bold().centre());
    const QStringList captions {QStringLiteral("نام پروژه"), QStringLiteral("استان"),
                                QStringLiteral("شهرستان"), QStringLiteral("تعداد واحد")};
    const double widths[] = {95, 60, 60, 50};  // each pair, right to left
    double x = content.right();
    for (int i = 0; i < 4; ++i) {
        const double w = widths[i];
        const double captionWidth = 22;
        header.text(QRectF(x - captionWidth, 11, captionWidth, 7), captions[i],
                    TextStyle().pt(10).bold().right());
        header.field(headingFields()[i], QRectF(x - w, 11, w - captionWidth - 2, 7), TextStyle().pt(10).right().fit());
        x -= w;
    }

    TableReport report(setup);
    report.pageHeader(header)
        .pageFooter(TableReport::pageNumberFooter(setup, 6))
        .rowNumber(QStringLiteral("رديف"), 9)
        .column(Column(QStringLiteral("بلوک"), QStringLiteral("bolok"), 13))
        .column(Column(QStringLiteral("طبقه"), QStringLiteral("tabaghe"), 10))
        .column(Column(QStringLiteral("شماره واحد"), QStringLiteral("vahed_no"), 13))
        .column(Column(QStringLiteral("شناسه واحد"), QStringLiteral("shenase"), 20))
        .column(Column(QStringLiteral("جهت"), QStringLiteral("jahat"), 16, right))
        .column(Column(QStringLiteral("کاربري"), QStringLiteral("karbari"), 16, right))
        .column(Column(QStringLiteral("متراژ"), QStringLiteral("metraj"), 13))
        .column(Column(QStringLiteral("اتاق"), QStringLiteral("otagh"), 9))
        .column(Column(QStringLiteral("تراس"), QStringLiteral("teras"), 11))
        .column(Column(QStringLiteral("مبلغ هر مترمربع"), QStringLiteral("mablagh1"), 20).grouped())
        .column(Column(QStringLiteral("مبلغ کل"), QStringLiteral("mablagh"), 24).grouped())
        .column(Column(QStringLiteral("ميزان وام"), QStringLiteral("vam"), 20).grouped())
        .column(Column(QStringLiteral("نوع واحد"), QStringLiteral("vahed_typ"), 17, right))
        .column(Column(QStringLiteral("انشعابات اختصاصي"), QStringLiteral("ekhtesasi"), 22, right).wrapped())
        .column(Column(QStringLiteral("مشترک"), QStringLiteral("moshtarak"), 18, right).wrapped())
        .column(Column(QStringLiteral("وضعيت"), QStringLiteral("status"), 26, right));
    return report;
}

QVariantMap Tvahedha_chap::rowValues(const QSqlRecord& unit)
{
    static const QSet<QString> amounts {QStringLiteral("mablagh1"), QStringLiteral("mablagh"), QStringLiteral("vam")};
    static const QSet<QString> numbers {QStringLiteral("metraj"), QStringLiteral("teras"), QStringLiteral("otagh")};
    QVariantMap row;
    for (const QString& f : rowFields()) {
        const QVariant v = unit.value(f);
        if (amounts.contains(f))
            row.insert(f, v.isNull() ? QVariant(QString()) : QVariant(QString::number(toMoney(v))));
        else if (numbers.contains(f))
            row.insert(f, ListModel::display(v, ColumnKind::Number));
        else
            row.insert(f, text(v).trimmed());
    }
    return row;
}

QVariantMap Tvahedha_chap::headingValues(const QSqlRecord& project)
{
    QVariantMap values;
    for (const QString& f : headingFields())
        values.insert(f, text(project.value(f)));
    return values;
}

Document Tvahedha_chap::build(const QSqlRecord& project, const QList<QVariantMap>& rows)
{
    return layout().fill(headingValues(project), rows);
}

int printUnitList(const QSqlRecord& project, const ListModel& units)
{
    QList<QVariantMap> rows;
    try {
        // A cancelled read shows no preview.
        if (!units.forEachRow(kReadingList, [&rows](const QSqlRecord& r) { rows << Tvahedha_chap::rowValues(r); }))
            return 0;
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! ليست واحدها خوانده نشد"), e);
        return 0;
    }
    return Tvahedha_chap::build(project, rows).showPreview(Tvahedha_chap::heading());
}

int printUnitList(const QSqlRecord& project)
{
    QList<QVariantMap> rows;
    try {
        if (!readRows(kReadingList, QStringLiteral("select * from vahedha where prj_id=? order by id"),
                      {project.value(QStringLiteral("id"))},
                      [&rows](const QSqlRecord& r) { rows << Tvahedha_chap::rowValues(r); }))
            return 0;
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! ليست واحدها خوانده نشد"), e);
        return 0;
    }
    return Tvahedha_chap::build(project, rows).showPreview(Tvahedha_chap::heading());
}

} // namespace tavrin
