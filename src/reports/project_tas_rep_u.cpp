#include "reports/project_tas_rep_u.h"

#include "reports/report_texts.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "db/database.h"
#include "projects/spaces_logic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tavrin {

namespace {

using Pairs = QList<QPair<QString, QString>>;

struct ListDef {
    QString button;
    QString counter;
    QString menu;        // the grid pop-up's Excel entry
    QString select;
    QString from;
    QString id;
    CountyScope scope;
    QString table;       // of the list's own filters
    Pairs filters;       // field -> caption
};

const QString kProjectColumns = QStringLiteral(
    "projects.id as id_1,projects.ostan,projects.shahrestan,projects.shahr,projects.rosta,projects.prj_cod,"
    "projects.prj_typ,projects.prj_name,projects.status as status_1,projects.zamin_pelak,projects.zamin_adr,"
    "projects.vahed_cnt,projects.anbari_cnt,projects.parking_cnt,projects.cmt,projects.expire_dat,projects.vahed_kol,"
    "projects.st_tavrin,projects.vahed_f,projects.sakht_dat,projects.prot_typ");

const ListDef& def(int list)
{
    static const QList<ListDef> defs {
        {QStringLiteral("src_btn_tas"), QStringLiteral("tashilat_cnt"), QStringLiteral("N1"),
         QStringLiteral("select tashilat.bank,tashilat.mablagh,tashilat.daryafti,tashilat.etebar_loc,tashilat.prot_typ,"
                        "projects.ostan,projects.shahrestan,projects.prj_name"),
         QStringLiteral("from tashilat left join projects on tashilat.prj_id=projects.id"), QStringLiteral("tashilat.id"),
         CountyScope::AllButAdmin, QStringLiteral("tashilat"), reptext::kListFilters0},
        {QStringLiteral("src_btn_vam"), QStringLiteral("vam_cnt"), QStringLiteral("N2"),
         QStringLiteral("select vahed_vam.*,vahedha.shenase,vahedha.bolok,tashilat.bank,tashilat.etebar_loc,"
                        "tashilat.prot_typ,projects.prj_name,projects.ostan,projects.shahrestan"),
         QStringLiteral("from vahed_vam left join vahedha on vahed_vam.vahed_id=vahedha.id left join projects on "
                        "vahed_vam.prj_id=projects.id left join tashilat on vahed_vam.tashilat_id=tashilat.id"),
         QStringLiteral("vahed_vam.id"), CountyScope::ProvincialAndCounty, QStringLiteral("tashilat"),
         reptext::kListFilters1},
        {QStringLiteral("src_btn_vah"), QStringLiteral("vahed_cnt"), QStringLiteral("N3"),
         QStringLiteral("select vahedha.*,") + kProjectColumns,
         QStringLiteral("from vahedha left join projects on projects.id=vahedha.prj_id"), QStringLiteral("vahedha.id"),
         CountyScope::AllButAdmin, QStringLiteral("vahedha"), reptext::kListFilters2},
        {QStringLiteral("src_btn_anb"), QStringLiteral("anbari_cnt"), QStringLiteral("N4"),
         QStringLiteral("select anbariha.*,") + kProjectColumns,
         QStringLiteral("from anbariha left join projects on projects.id=anbariha.prj_id"), QStringLiteral("anbariha.id"),
         CountyScope::AllButAdmin, QStringLiteral("anbariha"), reptext::kListFilters3},
        {QStringLiteral("src_btn_par"), QStringLiteral("parking_cnt"), QStringLiteral("N5"),
         QStringLiteral("select parkingha.*,") + kProjectColumns,
         QStringLiteral("from parkingha left join projects on projects.id=parkingha.prj_id"),
         QStringLiteral("parkingha.id"), CountyScope::AllButAdmin, QStringLiteral("parkingha"), reptext::kListFilters4},
    };
    return defs.at(list);
}

// The filter's column: the drop-downs of storage and parking status and the
// number fields name the table's status and num.
QString filterColumn(const ListDef& d, const QString& field)
{
    if (field == QLatin1String("status_a") || field == QLatin1String("status_p"))
        return d.table + QStringLiteral(".status");
    if (field == QLatin1String("num_a") || field == QLatin1String("num_p"))
        return d.table + QStringLiteral(".num");
    return d.table + '.' + field;
}

QList<GridColumn> gridColumns(int list)
{
    QList<GridColumn> cols;
    static const QStringList amounts {QStringLiteral("mablagh"), QStringLiteral("daryafti"), QStringLiteral("mablagh1"),
                                      QStringLiteral("vam"), QStringLiteral("teras1"), QStringLiteral("hayat1")};
    const auto add = [&](const Pairs& pairs) {
        for (const auto& [field, caption] : pairs)
            cols << GridColumn {field, caption, amounts.contains(field) ? ColumnKind::Money : ColumnKind::Auto};
    };
    const auto projectColumns = [&](const QString& field, const QString& caption) {
        for (auto [f, c] : reptext::kProjectGridColumns)
            cols << GridColumn {f, f == field ? caption : c};
    };
    switch (list) {
    case Tproject_tas_rep::Facilities:
        add(reptext::kFacilityGrid);
        break;
    case Tproject_tas_rep::Loans:
        add(reptext::kLoanGrid);
        break;
    case Tproject_tas_rep::Units:
        add(reptext::kUnitGrid);
        projectColumns({}, {});
        break;
    case Tproject_tas_rep::Storage:
        add(reptext::kStorageGrid);
        projectColumns(QStringLiteral("anbari_cnt"), reptext::kStorageCountCaption);
        break;
    case Tproject_tas_rep::Parking: {
        Pairs own = reptext::kStorageGrid;
        own[0].second = reptext::kParkingOwn.at(0).second;
        own << reptext::kParkingOwn.at(1);
        add(own);
        projectColumns(QStringLiteral("vahed_cnt"), reptext::kParkingUnitCountCaption);
        break;
    }
    }
    return cols;
}

// Shared filters (top of the window), then the facility filters.
const Pairs kSharedFilters {{QStringLiteral("ostan"), reptext::kProvinceCaption},
                            {QStringLiteral("shahrestan"), reptext::kSabtColumns.at(1).second},
                            {QStringLiteral("prj_name"), reptext::kSabtColumns.at(2).second}};

} // namespace

Tproject_tas_rep::Tproject_tas_rep() : TWindow(QStringLiteral("Tproject_tas_rep"), reptext::kTasRepCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    const auto fieldFor = [this](QWidget* parent, const QString& name) -> QWidget* {
        if (name == QLatin1String("prj_name") || name == QLatin1String("num_a") || name == QLatin1String("num_p"))
            return makeEdit(parent, name, name == QLatin1String("prj_name") ? columnLength(QStringLiteral("projects"), name) : 20);
        return makeCombo(parent, name);
    };
    // One row of criteria: check box then field, right to left.
    const auto criteria = [&](QWidget* parent, QGridLayout* grid, const Pairs& pairs) {
        int column = 0;
        for (const auto& [field, caption] : pairs) {
            auto* box = new QCheckBox(caption, parent);
            box->setObjectName(QStringLiteral("chk_") + field);
            QWidget* f = fieldFor(parent, field);
            f->setMinimumWidth(130);
            grid->addWidget(box, 0, column++);
            grid->addWidget(f, 0, column++);
            grid->setColumnStretch(column - 1, 1);
            bindCriterion(box, f);
            m_boxes << box;
        }
        return column;
    };

    auto* shared = new QGroupBox(reptext::kSharedFilters, this);
    auto* sl = new QGridLayout(shared);
    criteria(shared, sl, kSharedFilters);
    auto* facility = new QGroupBox(reptext::kListTitles.at(0), this);
    auto* fl = new QGridLayout(facility);
    criteria(facility, fl, reptext::kListFilters0);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("lists"));
    for (int i = 0; i < kLists; ++i) {
        const ListDef& d = def(i);
        auto* page = new QWidget(m_tabs);
        auto* v = new QVBoxLayout(page);
        auto* head = new QGridLayout;
        QLabel* title = makeLabel(page, reptext::kListTitles.at(i));
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        head->addWidget(title, 0, 0);
        head->addWidget(makeLabel(page, reptext::kCountCaption), 0, 1);
        m_counts[i] = makeLabel(page, QString(), d.counter);
        m_counts[i]->setFont(bold);
        m_counts[i]->setMinimumWidth(60);
        head->addWidget(m_counts[i], 0, 2);
        int column = 3;
        if (i >= Units) {
            auto* own = new QGridLayout;
            column = criteria(page, own, d.filters);
            head->addLayout(own, 0, 3);
        } else {
            head->setColumnStretch(3, 1);
        }
        m_buttons[i] = makeButton(page, d.button, reptext::kSearch);
        m_buttons[i]->setMinimumWidth(100);
        head->addWidget(m_buttons[i], 0, 4);
        v->addLayout(head);
        m_grids[i] = new DBGrid(page);
        m_grids[i]->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
        m_grids[i]->listModel()->setColumns(gridColumns(i));
        m_grids[i]->horizontalHeader()->setDefaultSectionSize(105);
        m_grids[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        auto* popup = new QMenu(m_grids[i]);
        popup->setObjectName(QStringLiteral("PopupMenu%1").arg(i + 1));
        QAction* excel = popup->addAction(reptext::kExcel);
        excel->setObjectName(d.menu);
        connect(excel, &QAction::triggered, this, [this, i] { exportList(i); });
        DBGrid* g = m_grids[i];
        connect(g, &QWidget::customContextMenuRequested, this,
                [g, popup](const QPoint& at) { popup->popup(g->viewport()->mapToGlobal(at)); });
        v->addWidget(m_grids[i], 1);
        m_tabs->addTab(page, reptext::kListTitles.at(i));
        connect(m_buttons[i], &QPushButton::clicked, this, [this, i] { search(i); });
    }

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->addWidget(shared);
    top->addWidget(facility);
    top->addWidget(m_tabs, 1);
    resize(1250, 600);

    connect(static_cast<QComboBox*>(filterField(QStringLiteral("ostan"))), &QComboBox::currentTextChanged, this,
            &Tproject_tas_rep::ostanChange);
    // Enter searches the list on show.
    const auto defaultSearch = [this](int current) {
        for (int i = 0; i < kLists; ++i) {
            m_buttons[i]->setAutoDefault(false);
            m_buttons[i]->setDefault(i == current);
        }
    };
    connect(m_tabs, &QTabWidget::currentChanged, this, defaultSearch);
    defaultSearch(0);
}

QWidget* Tproject_tas_rep::filterField(const QString& name) const
{
    return findChild<QWidget*>(name, Qt::FindChildrenRecursively);
}

bool Tproject_tas_rep::ticked(const QString& field) const
{
    const auto* box = findChild<QCheckBox*>(QStringLiteral("chk_") + field);
    return box && box->isChecked();
}

void Tproject_tas_rep::clearAll()
{
    clearCriteria(m_boxes);
    for (QCheckBox* b : std::as_const(m_boxes))
        setFieldText(filterField(b->objectName().mid(4)), QString());
    for (int i = 0; i < kLists; ++i) {
        m_grids[i]->listModel()->clear();
        m_counts[i]->clear();
    }
    m_tabs->setCurrentIndex(0);
}

void Tproject_tas_rep::prepareToShow()
{
    try {
        if (!m_provincesFilled) {
            auto* province = static_cast<QComboBox*>(filterField(QStringLiteral("ostan")));
            const QSignalBlocker block(province);
            fillCombo(province, provinces());
            m_provincesFilled = true;
        }
        for (const auto& [field, component] : reptext::kBrowserSettings) {
            QStringList items = settingList(component);
            if (items.isEmpty() && field == QLatin1String("vahed_typ"))
                items = reptext::kUnitTypeDefaults;
            if (items.isEmpty() && field == QLatin1String("status"))
                items = reptext::kUnitStatusDefaults;
            if (items.isEmpty() && field == QLatin1String("karbari"))
                items = reptext::kUseDefaults;
            auto* combo = static_cast<QComboBox*>(filterField(field));
            const QString typed = combo->currentText();
            fillCombo(combo, items);
            combo->setEditText(typed);
        }
    } catch (const DbError& e) {
        reportFailure(reptext::kListFailed, e);
    }
}

void Tproject_tas_rep::ostanChange()
{
    try {
        fillCombo(static_cast<QComboBox*>(filterField(QStringLiteral("shahrestan"))),
                  counties(fieldText(filterField(QStringLiteral("ostan"))), false));
    } catch (const DbError&) {
    }
}

ListQuery Tproject_tas_rep::listQuery(List list) const
{
    const ListDef& d = def(list);
    ListQuery q(d.select, d.from, d.id);
    q.countyScope(QStringLiteral("projects.shahrestan"), d.scope);
    for (const auto& [field, caption] : kSharedFilters)
        if (ticked(field))
            q.like(QStringLiteral("projects.") + field, fieldText(filterField(field)));
    for (const auto& [field, caption] : d.filters) {
        if (!ticked(field))
            continue;
        const QString column = filterColumn(d, field);
        if (field.startsWith(QLatin1String("num_")))
            // num is an integer column: its digits are compared as text.
            q.likeUnfolded(spaces::numberAsText(column), toAsciiDigits(fieldText(filterField(field)).trimmed()));
        else
            q.like(column, fieldText(filterField(field)));
    }
    q.orderBy(QStringLiteral("projects.ostan,projects.shahr,projects.prj_name"));
    return q;
}

void Tproject_tas_rep::search(int list)
{
    try {
        m_grids[list]->listModel()->setQuery(listQuery(List(list)));
    } catch (const DbError& e) {
        reportFailure(reptext::kListFailed, e);
        return;
    }
    m_counts[list]->setText(QString::number(m_grids[list]->listModel()->totalCount()));
}

HeaderMap Tproject_tas_rep::excelHeaders(List list)
{
    HeaderMap h;
    for (const auto& [field, heading] : reptext::kApplicantHeadings)
        h.insert(field, heading);
    for (const auto& [field, heading] : reptext::kBrowserExcelExtra) {
        if (list == Loans && field == QLatin1String("daryafti"))
            continue;
        h.insert(field, list == Loans && field == QLatin1String("mablagh") ? reptext::kLoanExcelMablagh : heading);
    }
    return h;
}

void Tproject_tas_rep::exportList(int list)
{
    const ListModel* m = m_grids[list]->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(def(list).table, *m, excelHeaders(List(list)));
}

} // namespace tavrin

#include "moc_project_tas_rep_u.cpp"
