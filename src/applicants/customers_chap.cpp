#include "applicants/customers_chap.h"

#include "applicants/applicant_texts.h"
#include "applicants/customers_logic.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "db/database.h"

namespace tavrin {

using namespace doc;

TableReport Tcustomers_chap::layout()
{
    const PageSetup setup {Paper::A4, Orientation::Landscape, QMarginsF(10, 10, 10, 8)};
    const QRectF content = setup.contentRect();
    Band header(12);
    header.text(QRectF(content.left(), 0, content.width(), 9), custext::kPrintTitle, TextStyle().pt(14).bold().centre());
    const auto c = [](int i) { return QString::fromUtf8(custext::kPrintColumns[i]); };
    const auto right = Qt::AlignRight;
    TableReport report(setup);
    report.pageHeader(header)
        .pageFooter(TableReport::pageNumberFooter(setup, 6))
        .rowNumber(c(0), 14)
        .column(Column(c(1), QStringLiteral("prj_name"), 62, right).wrapped())
        .column(Column(c(2), QStringLiteral("lname"), 42, right))
        .column(Column(c(3), QStringLiteral("fname"), 32, right))
        .column(Column(c(4), QStringLiteral("mobile"), 28))
        .column(Column(c(5), QStringLiteral("shenase"), 27))
        .column(Column(c(6), QStringLiteral("mablagh"), 36).grouped())
        .column(Column(c(7), QStringLiteral("pardakht_sum"), 36).grouped());
    return report;
}

Document Tcustomers_chap::build(const QList<QVariantMap>& rows)
{
    return layout().fill({}, rows);
}

int printCustomerList(const ListModel& list)
{
    // The preview opens on the first page; the rows are read as the rest is
    // laid out while it shows, each placed on its page and not kept.
    // Closing the preview ends the read.
    try {
        const std::unique_ptr<Database::RowReader> reader = list.rowReader();
        if (!reader)
            return 0;
        TableReport::Filler pages(Tcustomers_chap::layout(), {}, [&reader]() -> std::optional<QVariantMap> {
            const QSqlRecord* r = reader->next();
            return r ? std::optional<QVariantMap>(applicants::printRow(*r)) : std::nullopt;
        });
        return pages.showPreview(custext::kPrintTitle);
    } catch (const DbError& e) {
        reportFailure(custext::kPrintFailed, e);
        return 0;
    }
}

} // namespace tavrin
