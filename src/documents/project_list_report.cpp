#include "documents/project_list_report.h"

#include "common/jalali.h"

namespace tavrin {

using namespace doc;

const QStringList& Tproject_chap::rowFields()
{
    static const QStringList fields {
        QStringLiteral("ostan"),      QStringLiteral("shahrestan"), QStringLiteral("prj_name"),
        QStringLiteral("prj_typ"),    QStringLiteral("prj_cod"),    QStringLiteral("vahed_kol"),
        QStringLiteral("vahed_cnt"),  QStringLiteral("vahed_f"),    QStringLiteral("mande"),
        QStringLiteral("anbari_cnt"), QStringLiteral("parking_cnt"), QStringLiteral("st_tavrin"),
        QStringLiteral("expire_dat")};
    return fields;
}

const QStringList& Tproject_chap::totalFields()
{
    static const QStringList fields {QStringLiteral("vk"), QStringLiteral("vc"), QStringLiteral("vf"),
                                     QStringLiteral("m"),  QStringLiteral("ac"), QStringLiteral("pc")};
    return fields;
}

QString Tproject_chap::heading()
{
    return QStringLiteral("گزارش ليست پروژه ها");
}

TableReport Tproject_chap::layout()
{
    const PageSetup setup {Paper::A4, Orientation::Landscape, QMarginsF(10, 10, 10, 8)};
    const QRectF content = setup.contentRect();
    const auto right = Qt::AlignRight;

    Band header(14);
    header.text(QRectF(content.left(), 0, content.width(), 9), heading(), TextStyle().pt(14).bold().centre())
        .text(QRectF(content.left() + 26, 1, 14, 7), QStringLiteral("تاريخ:"), TextStyle().pt(10).bold().right())
        .field(QStringLiteral("dat"), QRectF(content.left(), 1, 25, 7), TextStyle().pt(10).right());

    TableReport report(setup);
    report.pageHeader(header)
        .pageFooter(TableReport::pageNumberFooter(setup, 6))
        .rowNumber(QStringLiteral("رديف"), 10)
        .column(Column(QStringLiteral("استان"), QStringLiteral("ostan"), 22, right))
        .column(Column(QStringLiteral("شهرستان"), QStringLiteral("shahrestan"), 24, right))
        .column(Column(QStringLiteral("نام پروژه"), QStringLiteral("prj_name"), 40, right).wrapped())
        .column(Column(QStringLiteral("نوع پروژه"), QStringLiteral("prj_typ"), 22, right))
        .column(Column(QStringLiteral("کد پروژه"), QStringLiteral("prj_cod"), 18))
        .column(Column(QStringLiteral("تعداد واحد کل"), QStringLiteral("vahed_kol"), 16).totalFrom(QStringLiteral("vk")))
        .column(Column(QStringLiteral("قابل واگذاري"), QStringLiteral("vahed_cnt"), 16).totalFrom(QStringLiteral("vc")))
        .column(Column(QStringLiteral("فروخته شده"), QStringLiteral("vahed_f"), 16).totalFrom(QStringLiteral("vf")))
        .column(Column(QStringLiteral("باقيمانده"), QStringLiteral("mande"), 16).totalFrom(QStringLiteral("m")))
        .column(Column(QStringLiteral("تعداد انباري"), QStringLiteral("anbari_cnt"), 15).totalFrom(QStringLiteral("ac")))
        .column(Column(QStringLiteral("تعداد پارکينگ"), QStringLiteral("parking_cnt"), 15).totalFrom(QStringLiteral("pc")))
        .column(Column(QStringLiteral("وضعيت فروش"), QStringLiteral("st_tavrin"), 20))
        .column(Column(QStringLiteral("تاريخ انقضا فروش"), QStringLiteral("expire_dat"), 20))
        .span(QStringLiteral("تعداد واحـــــــــد"), QStringLiteral("vahed_kol"), QStringLiteral("mande"))
        .totals(QStringLiteral("جـــــمع"));
    return report;
}

Document Tproject_chap::build(const doc::RowSource& rows, const QVariantMap& totals, const QString& dat)
{
    QVariantMap values;
    for (const QString& name : totalFields())
        values.insert(name, totals.value(name));
    values.insert(QStringLiteral("dat"), dat);
    return layout().fill(values, rows);
}

Document Tproject_chap::build(const QList<QVariantMap>& rows, const QVariantMap& totals, const QString& dat)
{
    return build(rowsOf(rows), totals, dat);
}

int Tproject_chap::preview(const doc::RowSource& rows, const QVariantMap& totals)
{
    return build(rows, totals, jalali::today()).showPreview(heading());
}

} // namespace tavrin
