#include "projects/project_src_u.h"

#include "projects/project_ins_u.h"
#include "projects/project_panels.h"
#include "projects/project_tashilat_u.h"
#include "projects/project_texts.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/history_view.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "db/database.h"
#include "documents/project_list_report.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

using namespace projects;

namespace {

const QString kSearchFailed = QStringLiteral("خطا! جستجوي پروژه ها انجام نشد");
const QString kCountCaption = QStringLiteral("تعداد:");
const QString kWebFilter = QStringLiteral("Web page (*.htm *.html)");

QAction* addEntry(QWidget* menu, const QString& name, const QString& caption, bool enabled = true)
{
    auto* a = new QAction(caption, menu);
    a->setObjectName(name);
    a->setEnabled(enabled);
    menu->addAction(a);
    return a;
}

QLabel* counterLabel(QWidget* parent, const QString& name)
{
    QLabel* l = makeLabel(parent, QStringLiteral("0"), name);
    l->setMinimumWidth(50);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

Tproject_src::ApplicantsOpener& applicantsOpener()
{
    static Tproject_src::ApplicantsOpener open;
    return open;
}

} // namespace

void Tproject_src::setApplicantsOpener(ApplicantsOpener open)
{
    applicantsOpener() = std::move(open);
}

Tproject_src::Tproject_src() : TWindow(QStringLiteral("Tproject_src"), prjtext::kSrcCaption)
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu1"));
    buildMenus();

    // Search filters, one row.
    auto* filters = new QWidget(this);
    filters->setObjectName(QStringLiteral("filters"));
    auto* fl = new QGridLayout(filters);
    fl->setContentsMargins(0, 0, 0, 0);
    fl->setHorizontalSpacing(8);
    ostan = makeCombo(filters, QStringLiteral("ostan"));
    shahrestan = makeCombo(filters, QStringLiteral("shahrestan"));
    prj_typ = makeCombo(filters, QStringLiteral("prj_typ"));
    prj_name = makeEdit(filters, QStringLiteral("prj_name"), columnLength(QStringLiteral("projects"), QStringLiteral("prj_name")));
    st_tavrin = makeCombo(filters, QStringLiteral("st_tavrin"));
    QList<QCheckBox*> boxes;
    int column = 0;
    for (const prjtext::Filter& f : prjtext::kFilters) {
        auto* box = new QCheckBox(f.caption, filters);
        box->setObjectName(f.box);
        QWidget* field = filters->findChild<QWidget*>(f.field);
        field->setMinimumWidth(115);
        fl->addWidget(box, 0, column++);
        fl->addWidget(field, 0, column++);
        fl->setColumnStretch(column - 1, 1);
        bindCriterion(box, field);
        boxes << box;
    }
    CheckBox10 = boxes[0];
    CheckBox11 = boxes[1];
    CheckBox12 = boxes[2];
    CheckBox2 = boxes[3];
    CheckBox13 = boxes[4];
    src_btn = makeButton(filters, QStringLiteral("src_btn"), prjtext::kSearch);
    src_btn->setMinimumWidth(110);
    src_btn->setDefault(true);
    fl->setColumnMinimumWidth(column++, 12);
    fl->addWidget(src_btn, 0, column++);
    fl->setColumnMinimumWidth(column++, 12);
    cnt = counterLabel(filters, QStringLiteral("cnt"));
    fl->addWidget(makeLabel(filters, kCountCaption), 0, column++, Qt::AlignLeft | Qt::AlignVCenter);
    fl->addWidget(cnt, 0, column++);

    // The project grid.
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (const auto& [field, caption] : prjtext::kGridColumns) {
        GridColumn c {field, caption};
        if (field == QLatin1String("mande"))
            c.titleColor = Qt::red;
        columns << c;
    }
    columns << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true};
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(95);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    // The applicant list of a project belongs to the applicant windows (see setApplicantsOpener).
    N30 = addEntry(popup, QStringLiteral("N30"), prjtext::kN30, bool(applicantsOpener()));
    connect(N30, &QAction::triggered, this, &Tproject_src::N30Click);
    // The current project's record history, with its units, facilities and loans.
    history::addWindowEntry(popup, [this] {
        const QSqlRecord p = currentProject();
        return history::RecordRef {QStringLiteral("projects"), p.value(QStringLiteral("id")).toLongLong(),
                                   text(p.value(QStringLiteral("prj_name")))};
    });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        const QModelIndex index = DBGrid1->indexAt(at);
        if (index.isValid()) {
            DBGrid1->setCurrentIndex(index);
            loadPanels(currentProject());
        }
        N30->setEnabled(bool(applicantsOpener()));
        popup->popup(DBGrid1->viewport()->mapToGlobal(at));
    });

    // The selected project's units (right) and, beside them, its storage rooms
    // and parking spaces on two tabs: each list gets the lower part's whole
    // height, so that several rows show on a laptop screen.  The splitters
    // keep the place the user leaves them in.
    vahed_cnt = counterLabel(this, QStringLiteral("vahed_cnt"));
    anbari_cnt = counterLabel(this, QStringLiteral("anbari_cnt"));
    parking_cnt = counterLabel(this, QStringLiteral("parking_cnt"));
    m_units = new ProjectItemsPanel(ProjectItems::Units, this);
    m_storage = new ProjectItemsPanel(ProjectItems::StorageRooms, this);
    m_parking = new ProjectItemsPanel(ProjectItems::ParkingSpaces, this);
    for (auto [panel, counter] : {std::pair{m_units, vahed_cnt}, std::pair{m_storage, anbari_cnt},
                                  std::pair{m_parking, parking_cnt}}) {
        panel->addToFilterRow(makeLabel(panel, kCountCaption));
        panel->addToFilterRow(counter);
        panel->setCounter(counter);
        connect(panel, &ProjectItemsPanel::itemsChanged, this, &Tproject_src::refreshTotals);
    }
    auto* unitsBox = new QGroupBox(prjtext::kN7, this);
    unitsBox->setObjectName(QStringLiteral("units_box"));
    auto* ul = new QVBoxLayout(unitsBox);
    ul->setContentsMargins(6, 4, 6, 6);
    ul->addWidget(m_units);
    auto* spaces = new QTabWidget(this);
    spaces->setObjectName(QStringLiteral("spaces"));
    spaces->addTab(m_storage, prjtext::kN8);
    spaces->addTab(m_parking, prjtext::kN9);
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->setObjectName(QStringLiteral("lower"));
    lower->setChildrenCollapsible(false);
    lower->addWidget(unitsBox);
    lower->addWidget(spaces);
    lower->setStretchFactor(0, 1);
    lower->setStretchFactor(1, 1);
    lower->setSizes({600, 600});

    auto* body = new QSplitter(Qt::Vertical, this);
    body->setObjectName(QStringLiteral("body"));
    body->setChildrenCollapsible(false);
    body->addWidget(DBGrid1);
    body->addWidget(lower);
    body->setStretchFactor(0, 1);
    body->setStretchFactor(1, 1);
    body->setSizes({270, 330});

    auto* top = new QVBoxLayout(this);
    top->setMenuBar(m_menuBar);
    top->setContentsMargins(8, 4, 8, 8);
    top->setSpacing(6);
    top->addWidget(filters);
    top->addWidget(body, 1);
    resize(1280, 640);

    connect(src_btn, &QPushButton::clicked, this, &Tproject_src::src_btnClick);
    connect(DBGrid1, &DBGrid::rowClicked, this, &Tproject_src::DBGrid1CellClick);
    connect(ostan, &QComboBox::currentTextChanged, this, &Tproject_src::ostanChange);
    connect(N7, &QAction::triggered, m_units, &ProjectItemsPanel::newItems);
    connect(N8, &QAction::triggered, m_storage, &ProjectItemsPanel::newItems);
    connect(N9, &QAction::triggered, m_parking, &ProjectItemsPanel::newItems);
}

void Tproject_src::buildMenus()
{
    N1 = addEntry(m_menuBar, QStringLiteral("N1"), prjtext::kN1, false);
    N2 = addEntry(m_menuBar, QStringLiteral("N2"), prjtext::kN2, false);
    N3 = addEntry(m_menuBar, QStringLiteral("N3"), prjtext::kN3, false);
    N21 = addEntry(m_menuBar, QStringLiteral("N21"), prjtext::kN21, false);
    N7 = addEntry(m_menuBar, QStringLiteral("N7"), prjtext::kN7, false);
    N8 = addEntry(m_menuBar, QStringLiteral("N8"), prjtext::kN8, false);
    N9 = addEntry(m_menuBar, QStringLiteral("N9"), prjtext::kN9, false);

    QMenu* reports = m_menuBar->addMenu(prjtext::kN4);
    reports->menuAction()->setObjectName(QStringLiteral("N4"));
    N5 = addEntry(reports, QStringLiteral("N5"), prjtext::kN5);
    reports->addSeparator();
    // The reports over the listed projects belong to the report windows, not written yet.
    for (const auto& [name, caption] : prjtext::kReportEntries)
        addEntry(reports, name, caption, false);
    QMenu* central = reports->addMenu(prjtext::kCentralOffice);
    for (const auto& [name, caption] : prjtext::kCentralOfficeEntries)
        addEntry(central, name, caption, false);
    for (const auto& [name, caption] : prjtext::kListingEntries)
        addEntry(reports, name, caption, false);
    for (int web = 1; web >= 0; --web) {
        QMenu* convert = reports->addMenu(prjtext::kConvertMenu);
        QMenu* sub = nullptr;
        for (const prjtext::ConvertEntry& e : prjtext::kConvertEntries) {
            const QString name = web ? e.htmlName : e.xlsName;
            if (e.subCaption.isEmpty()) {
                addEntry(convert, name, e.caption, false);
                sub = nullptr;
                continue;
            }
            if (!sub || sub->title() != e.caption)
                sub = convert->addMenu(e.caption);
            addEntry(sub, name, e.subCaption, false);
        }
    }

    QMenu* print = m_menuBar->addMenu(prjtext::kN19);
    print->menuAction()->setObjectName(QStringLiteral("N19"));
    N20 = addEntry(print, QStringLiteral("N20"), prjtext::kN20);
    N43 = addEntry(print, QStringLiteral("N43"), prjtext::kN43);
    N44 = addEntry(print, QStringLiteral("N44"), prjtext::kN44);
    N6 = addEntry(m_menuBar, QStringLiteral("N6"), prjtext::kN6);

    connect(N1, &QAction::triggered, this, &Tproject_src::N1Click);
    connect(N2, &QAction::triggered, this, &Tproject_src::N2Click);
    connect(N3, &QAction::triggered, this, &Tproject_src::N3Click);
    connect(N5, &QAction::triggered, this, &Tproject_src::N5Click);
    connect(N20, &QAction::triggered, this, &Tproject_src::N20Click);
    connect(N43, &QAction::triggered, this, &Tproject_src::N43Click);
    connect(N44, &QAction::triggered, this, &Tproject_src::N44Click);
    connect(N6, &QAction::triggered, this, &Tproject_src::N6Click);
    connect(N21, &QAction::triggered, this, &Tproject_src::N21Click);
}

QAction* Tproject_src::menuAction(const QString& name) const
{
    return findChild<QAction*>(name);
}

ProjectItemsPanel* Tproject_src::panel(int kind) const
{
    switch (ProjectItems(kind)) {
    case ProjectItems::Units:
        return m_units;
    case ProjectItems::StorageRooms:
        return m_storage;
    case ProjectItems::ParkingSpaces:
        return m_parking;
    }
    return nullptr;
}

void Tproject_src::applyRights(const Rights& prj)
{
    N1->setEnabled(prj.darj);
    N2->setEnabled(prj.virayesh);
    N3->setEnabled(prj.hazf);
}

void Tproject_src::applyItemRights(const Rights& vahed)
{
    for (QAction* a : {N7, N8, N9})
        a->setEnabled(vahed.darj);
    for (ProjectItemsPanel* p : {m_units, m_storage, m_parking})
        p->applyRights(vahed);
}

void Tproject_src::applyFacilityRights(const Rights& tashilat)
{
    m_facilityRights = tashilat;
    N21->setEnabled(tashilat.namayesh);
}

void Tproject_src::prepareToShow()
{
    clearCriteria({CheckBox10, CheckBox11, CheckBox12, CheckBox2, CheckBox13});
    prj_name->clear();
    try {
        const QSignalBlocker block(ostan);
        fillCombo(ostan, provinces());
        fillCombo(shahrestan, {});
        fillCombo(prj_typ, settingList(prjtext::kSettingProjectType));
        fillCombo(st_tavrin, settingList(prjtext::kSettingSaleState));
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
    for (ProjectItemsPanel* p : {m_units, m_storage, m_parking})
        p->clearFilters();
    src_btnClick();
}

void Tproject_src::ostanChange()
{
    try {
        fillCombo(shahrestan, grantedCounties(ostan->currentText(), false));
    } catch (const DbError&) {
    }
}

ListQuery Tproject_src::searchQuery() const
{
    ProjectFilter f;
    if (CheckBox10->isChecked())
        f.ostan = ostan->currentText();
    if (CheckBox11->isChecked())
        f.shahrestan = shahrestan->currentText();
    if (CheckBox12->isChecked())
        f.prjTyp = prj_typ->currentText();
    if (CheckBox2->isChecked())
        f.prjName = prj_name->text();
    if (CheckBox13->isChecked())
        f.stTavrin = st_tavrin->currentText();
    return projectQuery(f);
}

void Tproject_src::src_btnClick()
{
    const ListQuery q = searchQuery();
    try {
        // One statement: the count, the summary's sums and the first page.
        DBGrid1->listModel()->setQuery(q);
        m_totals = projectTotals(*DBGrid1->listModel());
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    cnt->setText(m_totals.value(QStringLiteral("c")).toString());
    if (DBGrid1->listModel()->rowCount() > 0)
        DBGrid1->setCurrentIndex(DBGrid1->listModel()->index(0, 0));
    if (!m_sized && DBGrid1->listModel()->rowCount() > 0) {
        // Titles and the first rows decide the widths once; the user may change them after.
        DBGrid1->resizeColumnsToContents();
        for (int c = 0; c < DBGrid1->listModel()->columnCount(); ++c)
            DBGrid1->setColumnWidth(c, std::min(DBGrid1->columnWidth(c) + 8, 260));
        m_sized = true;
    }
    loadPanels(currentProject());
}

void Tproject_src::refreshTotals()
{
    try {
        m_totals = projectTotals(DBGrid1->listModel()->query());
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    cnt->setText(m_totals.value(QStringLiteral("c")).toString());
}

QSqlRecord Tproject_src::currentProject() const
{
    return DBGrid1->currentRecord();
}

void Tproject_src::loadPanels(const QSqlRecord& project)
{
    for (ProjectItemsPanel* p : {m_units, m_storage, m_parking})
        p->setProject(project);
}

void Tproject_src::DBGrid1CellClick()
{
    loadPanels(currentProject());
}

void Tproject_src::refreshAfterSave(qint64 id)
{
    ListModel* m = DBGrid1->listModel();
    try {
        m->refresh();  // reads the totals too
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    m_totals = projectTotals(*m);
    cnt->setText(m_totals.value(QStringLiteral("c")).toString());
    // Show the saved project as the current one when it is among the first pages.
    const int limit = std::min(m->rowCount(), 10 * ListModel::kPageSize);
    for (int r = 0; r < limit; ++r) {
        if (m->value(r, QStringLiteral("id")).toLongLong() == id) {
            DBGrid1->setCurrentIndex(m->index(r, 0));
            DBGrid1->scrollTo(m->index(r, 0));
            break;
        }
    }
    // Saving a project changes none of its units, storage rooms or parking
    // spaces: when it is still the project shown, its lists are not read again.
    const QSqlRecord current = currentProject();
    if (!current.isEmpty() && m_units->project().value(QStringLiteral("id")) == current.value(QStringLiteral("id"))) {
        for (ProjectItemsPanel* p : {m_units, m_storage, m_parking})
            p->setProjectKeepingList(current);
        return;
    }
    loadPanels(current);
}

void Tproject_src::N1Click()
{
    Tproject_ins& w = tavrin::window<Tproject_ins>();
    connect(&w, &Tproject_ins::saved, this, &Tproject_src::refreshAfterSave, Qt::UniqueConnection);
    w.prepareNew();
    w.showModal();
}

void Tproject_src::N2Click()
{
    QSqlRecord project = currentProject();
    if (project.isEmpty())
        return;
    // The row as stored now, not as the list read it.
    try {
        if (auto fresh = dm().firstRow(QStringLiteral("select *,vahed_kol-vahed_f as mande from projects where id=?"),
                                       {project.value(QStringLiteral("id"))}))
            project = *fresh;
    } catch (const DbError&) {
    }
    Tproject_ins& w = tavrin::window<Tproject_ins>();
    connect(&w, &Tproject_ins::saved, this, &Tproject_src::refreshAfterSave, Qt::UniqueConnection);
    w.prepareEdit(project);
    w.showModal();
}

void Tproject_src::N3Click()
{
    Outcome r;
    try {
        r = deleteProject(currentProject(), projects::askDeletePassword, askWarning());
    } catch (const DbError& e) {
        reportFailure(kDeleteFailed, e);
        return;
    }
    if (!r.done) {
        if (r.refused())
            dialogs().error(r.message());
        return;
    }
    try {
        DBGrid1->listModel()->refresh();
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    m_totals = projectTotals(*DBGrid1->listModel());
    cnt->setText(m_totals.value(QStringLiteral("c")).toString());
    if (DBGrid1->listModel()->rowCount() > 0)
        DBGrid1->setCurrentIndex(DBGrid1->listModel()->index(0, 0));
    loadPanels(currentProject());
}

void Tproject_src::N5Click()
{
    const ListModel* m = DBGrid1->listModel();
    exportListToExcel(QStringLiteral("projects"), *m, excelHeaders());
}

void Tproject_src::N20Click()
{
    m_units->printUnits();
}

QList<QVariantMap> Tproject_src::printRows() const
{
    QList<QVariantMap> rows;
    DBGrid1->listModel()->forEachRow([&](const QSqlRecord& r) { rows << printRow(r); });
    return rows;
}

void Tproject_src::N43Click()
{
    QList<QVariantMap> rows;
    try {
        // Read once behind a progress dialog; a cancelled read prints nothing.
        if (!DBGrid1->listModel()->forEachRow(kReadingList, [&](const QSqlRecord& r) { rows << printRow(r); }))
            return;
    } catch (const DbError& e) {
        reportFailure(kPrintFailed, e);
        return;
    }
    Tproject_chap::preview(doc::rowsOf(rows), m_totals);
}

void Tproject_src::N44Click()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = folder.isEmpty() ? QStringLiteral("projects.htm")
                                               : QDir(folder).filePath(QStringLiteral("projects.htm"));
    const QString path = dialogs().saveFile(kWebSaveTitle, kWebFilter, suggested);
    if (path.isEmpty())
        return;
    const ListModel* m = DBGrid1->listModel();
    QString error;
    bool ok = false;
    try {
        // A cancelled read ends the page before its file is written.
        ok = writeWebPage(path, m->fieldNames(), [m](const RecordVisitor& visit) {
            if (!m->forEachRow(kReadingList, visit))
                throw ReadCancelled();
        }, &error);
    } catch (const ReadCancelled&) {
        return;
    } catch (const DbError& e) {
        reportFailure(kWebWriteFailed, e);
        return;
    }
    if (!ok) {
        qWarning().noquote() << "projects web page not written:" << path << error;
        dialogs().error(kWebWriteFailed);
        return;
    }
    dialogs().openWithDesktop(path);
}

void Tproject_src::N6Click()
{
    reject();
}

void Tproject_src::N30Click()
{
    const QSqlRecord project = currentProject();
    if (project.isEmpty() || !applicantsOpener())
        return;
    applicantsOpener()(project);
}

void Tproject_src::N21Click()
{
    const QSqlRecord project = currentProject();
    if (project.isEmpty() || !m_facilityRights.namayesh)
        return;
    Tproject_tashilat& w = tavrin::window<Tproject_tashilat>();
    w.applyRights(m_facilityRights);
    w.prepare(project);
    w.showModal();
}

} // namespace tavrin

#include "moc_project_src_u.cpp"
