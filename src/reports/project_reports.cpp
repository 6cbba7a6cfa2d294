#include "reports/project_reports.h"

#include "reports/central_reports.h"
#include "reports/conversion_exports.h"
#include "reports/prj_koli_rep_chart_u.h"
#include "reports/project_tas_rep_u.h"
#include "reports/report_texts.h"

#include "common/criteria.h"
#include "common/listmodel.h"
#include "projects/project_src_u.h"
#include "projects/project_texts.h"
#include "projects/projects_logic.h"

#include <QAction>
#include <QChart>
#include <QApplication>
#include <QCheckBox>
#include <QScreen>

namespace tavrin::reports {

namespace {

// A window sized to another's size less the margins, kept on the screen.
void fit(QWidget& w, const QSize& around, int heightMargin, int widthMargin)
{
    QSize s(around.width() - widthMargin, around.height() - heightMargin);
    if (const QScreen* screen = QApplication::primaryScreen())
        s = s.boundedTo(screen->availableGeometry().size() - QSize(16, 40));
    w.resize(s.expandedTo(QSize(760, 480)));
}

struct Printed {
    const char* entry;
    ReportKind kind;
    Grouping grouping;
};

const Printed kPrinted[] = {
    {"N35", ReportKind::Status, Grouping::Project},          {"N47", ReportKind::Status, Grouping::County},
    {"N48", ReportKind::Status, Grouping::Province},         {"N27", ReportKind::FacilitiesUsed, Grouping::Project},
    {"N28", ReportKind::FacilitiesUsed, Grouping::County},   {"N29", ReportKind::FacilitiesUsed, Grouping::Province},
    {"N24", ReportKind::UnitProgress, Grouping::Project},    {"N25", ReportKind::UnitProgress, Grouping::County},
    {"N26", ReportKind::UnitProgress, Grouping::Province},   {"N31", ReportKind::Activity, Grouping::Project},
    {"N32", ReportKind::Activity, Grouping::County},         {"N33", ReportKind::Activity, Grouping::Province},
    {"N39", ReportKind::Comprehensive, Grouping::Project},   {"N41", ReportKind::Comprehensive, Grouping::County},
    {"N42", ReportKind::Comprehensive, Grouping::Province},
};

void connectEntry(Tproject_src& list, const QString& name, const std::function<void()>& run)
{
    QAction* a = list.menuAction(name);
    if (!a)
        return;
    a->setEnabled(true);
    QObject::connect(a, &QAction::triggered, &list, run);
}

} // namespace

ReportScope scopeOf(const Tproject_src& list)
{
    ReportScope scope;
    const ListQuery& q = list.grid()->listModel()->query();
    // No search yet: no projects.
    scope.projects = q.isEmpty() ? ProjectSet {QStringLiteral(" where 1=0"), {}} : projectSetOf(q);
    const auto field = [&](const char* box, const char* name) -> std::optional<QString> {
        const auto* b = list.findChild<QCheckBox*>(QString::fromLatin1(box));
        if (!b || !b->isChecked())
            return std::nullopt;
        return fieldText(list.findChild<QWidget*>(QString::fromLatin1(name)));
    };
    scope.filter.ostan = field("CheckBox10", "ostan");
    scope.filter.shahrestan = field("CheckBox11", "shahrestan");
    scope.filter.prjName = field("CheckBox2", "prj_name");
    return scope;
}

void attachProjectReports(Tproject_src& list)
{
    if (list.property("reportsAttached").toBool())
        return;
    list.setProperty("reportsAttached", true);
    Tproject_src* l = &list;
    for (const Printed& p : kPrinted)
        connectEntry(list, QString::fromLatin1(p.entry),
                     [l, p] { printReport(p.kind, p.grouping, scopeOf(*l)); });
    connectEntry(list, QStringLiteral("N46"), [l] { exportStatusReport(scopeOf(*l)); });
    connectEntry(list, QStringLiteral("N49"), [l] { openStatusChart(scopeOf(*l).projects, l->size()); });
    connectEntry(list, QStringLiteral("N22"), [l] { openFacilitiesBrowser(l->size()); });
    // The central office: the cover sheet, the province tables and the listings.
    connectEntry(list, QStringLiteral("N52"), [l] { printCoverSheet(*l); });
    const std::pair<const char*, ProvinceTable> tables[] = {{"N53", ProvinceTable::Deeds},
                                                            {"N54", ProvinceTable::Facilities},
                                                            {"N55", ProvinceTable::Delivered},
                                                            {"N56", ProvinceTable::UnitTypes}};
    for (const auto& [name, table] : tables)
        connectEntry(list, QString::fromLatin1(name), [l, table = table] { writeProvinceTable(*l, table); });
    connectEntry(list, QStringLiteral("N57"), [l] { writeListingPage(*l, Listing::ProjectsApplicants); });
    connectEntry(list, QStringLiteral("N58"), [l] { writeListingPage(*l, Listing::ApplicantsProjects); });
    // The conversion exports, each as a web page and as a spreadsheet.
    for (const Conversion c : kAllConversions) {
        const prjtext::ConvertEntry& e = prjtext::kConvertEntries.at(int(c));
        connectEntry(list, e.htmlName, [l, c] { exportConversion(c, ConversionFile::Web, exportScopeOf(*l)); });
        connectEntry(list, e.xlsName, [l, c] { exportConversion(c, ConversionFile::Sheet, exportScopeOf(*l)); });
    }
}

void openStatusChart(const ProjectSet& projects, const QSize& around)
{
    Tprj_koli_rep_chart& chart = tavrin::window<Tprj_koli_rep_chart>();
    const auto prepared = prepareReport(ReportKind::Status, projects);
    if (!prepared)
        return;
    chart.setStamp(prepared->stamp.dat.isEmpty() && prepared->stamp.zaman.isEmpty()
                       ? QString()
                       : prepared->stamp.dat + QLatin1Char(' ') + prepared->stamp.zaman);
    chart.chart()->setTitle(reptext::kChartTitle);
    fit(chart, around, 60, 17);
    chart.prepareToShow();
    if (prepared->rebuilt || !chart.hasChart())
        chart.refreshAfterBuild();
    chart.showModal();
}

void openStatusChartForAll(const QSize& mainWindowSize)
{
    // The project list's size is the main window's less 60 and 17; the chart's that less 60 and 17.
    openStatusChart(projectSetOf(projects::projectQuery({})), mainWindowSize - QSize(17, 60));
}

void openFacilitiesBrowser(const QSize& listSize)
{
    Tproject_tas_rep& w = tavrin::window<Tproject_tas_rep>();
    w.clearAll();
    fit(w, listSize, 150, 50);
    w.prepareToShow();
    w.showModal();
}

} // namespace tavrin::reports
