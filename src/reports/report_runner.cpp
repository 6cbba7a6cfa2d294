#include "reports/report_runner.h"

#include "reports/report_layouts.h"
#include "reports/report_texts.h"

#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "db/database.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTime>

namespace tavrin::reports {

namespace {

// A modal progress dialog while a build runs; it advances between the
// build's statements.
class BuildProgress {
public:
    BuildProgress()
    {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        m_dialog = std::make_unique<QProgressDialog>(reptext::kBuilding, QString(), 0, 1, QApplication::activeWindow());
        m_dialog->setObjectName(QStringLiteral("progress"));
        m_dialog->setWindowTitle(QApplication::applicationDisplayName());
        m_dialog->setLayoutDirection(Qt::RightToLeft);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setValue(0);
    }
    void step(int i, int n)
    {
        if (!m_dialog)
            return;
        m_dialog->setMaximum(n);
        m_dialog->setValue(i);
    }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};


} // namespace

std::optional<Prepared> prepareReport(ReportKind kind, const ProjectSet& projects)
{
    Prepared out;
    const qint64 user = session().prsId;
    try {
        if (const auto stamp = readStamp(dm(), user, kind))
            out.stamp = *stamp;
    } catch (const DbError& e) {
        reportFailure(reptext::kReadFailed, e);
        return std::nullopt;
    }
    if (dialogs().question(reptext::kRebuildQuestion, Buttons::YesNoCancel, MsgKind::Warning) != Answer::Yes)
        return out;
    BuildRequest r;
    r.kind = kind;
    r.projects = projects;
    r.prsId = user;
    r.grantedCountiesOnly = session().isProvincialOrCounty();
    r.stamp = {jalali::today(), QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))};
    try {
        BuildProgress progress;
        build(dm(), r, [&progress](int i, int n) { progress.step(i, n); });
    } catch (const DbError& e) {
        reportFailure(reptext::kBuildFailed, e);
        return std::nullopt;
    }
    out.stamp = r.stamp;
    out.rebuilt = true;
    return out;
}

std::optional<doc::Document> printReport(ReportKind kind, Grouping grouping, const ReportScope& scope)
{
    const auto prepared = prepareReport(kind, scope.projects);
    if (!prepared)
        return std::nullopt;
    ReadingFilter filter = scope.filter;
    filter.exactProvince = kind == ReportKind::Status;
    QVariantMap values;
    QList<QVariantMap> rows;
    try {
        values = readTotals(dm(), kind, filter, session().prsId);
        // The detail rows behind a cancellable progress dialog: a cancel shows no preview.
        const Statement detail = detailStatement(dm(), kind, grouping, filter, session().prsId);
        if (!tavrin::readRows(kReadingList, detail.sql, detail.values,
                      [&rows, kind](const QSqlRecord& r) { rows << rowValues(kind, r); }))
            return std::nullopt;
    } catch (const DbError& e) {
        reportFailure(reptext::kReadFailed, e);
        return std::nullopt;
    }
    values.insert(QStringLiteral("dat"), prepared->stamp.dat);
    values.insert(QStringLiteral("tim"), prepared->stamp.zaman);
    doc::Document d = reportDocument(kind, grouping, values, rows);
    d.showPreview(reportTitle(kind));
    return d;
}

HeaderMap statusExcelHeadings()
{
    HeaderMap h;
    for (const auto& [field, heading] : reptext::kStatusExcelHeadings)
        h.insert(field, heading);
    return h;
}

bool exportStatusReport(const ReportScope& scope)
{
    if (!prepareReport(ReportKind::Status, scope.projects))
        return false;
    ReadingFilter filter = scope.filter;
    filter.exactProvince = false;
    Statement s;
    try {
        s = detailStatement(dm(), ReportKind::Status, Grouping::Project, filter, session().prsId);
    } catch (const DbError& e) {
        reportFailure(reptext::kReadFailed, e);
        return false;
    }
    return exportListToExcel(workTable(ReportKind::Status), s.sql, s.values, statusExcelHeadings());
}

} // namespace tavrin::reports
