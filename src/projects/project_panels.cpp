#include "project_panels.h"

#include "item_rules.h"
#include "project_anbari_u.h"
#include "project_parking_u.h"
#include "project_vahed_u.h"
#include "vahed_vam_u.h"
#include "spaces_logic.h"
#include "units_logic.h"
#include "vahedha_chap.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/history_view.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/xlsxexport.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

const QString kListFailed = QStringLiteral("خطا! ليست خوانده نشد");

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QList<GridColumn> unitColumns()
{
    const ColumnKind money = ColumnKind::Money;
    return {
        {QStringLiteral("karbari"), s("کاربري")},
        {QStringLiteral("bolok"), s("شماره بلوک")},
        {QStringLiteral("tabaghe"), s("طبقه")},
        {QStringLiteral("vahed_no"), s("شماره واحد")},
        {QStringLiteral("shenase"), s("شناسه واحد")},
        {QStringLiteral("jahat"), s("جهت")},
        {QStringLiteral("otagh"), s("اتاق")},
        {QStringLiteral("mablagh1"), s("مبلغ هرمتر مربع"), money},
        {QStringLiteral("metraj"), s("متراژ واحد")},
        {QStringLiteral("teras"), s("تراس غيرمسقف")},
        {QStringLiteral("mablagh"), s("مبلغ واحد"), money},
        {QStringLiteral("status"), s("وضعيت")},
        {QStringLiteral("bana"), s("نوع بنا")},
        {QStringLiteral("ekhtesasi"), s("انشعابات اختصاصي")},
        {QStringLiteral("moshtarak"), s("انشعابات مشترک")},
        {QStringLiteral("vam"), s("تسهيلات/اعتبار"), money},
        {QStringLiteral("vahed_typ"), s("نوع واحد")},
        {QStringLiteral("teras1"), s("مبلغ هر مترمربع تراس"), money},
        {QStringLiteral("hayat"), s("متراژ حياط")},
        {QStringLiteral("hayat1"), s("مبلغ هر مترمربع حياط"), money},
        {QStringLiteral("metraj_z"), s("متراژ زمين")},
    };
}

QList<GridColumn> spaceColumns(const spaces::SpaceKind& k)
{
    QList<GridColumn> c {
        {QStringLiteral("bolok"), s("بلوک")},
        {QStringLiteral("num"), k.numCaption},
        {QStringLiteral("metraj"), s("متراژ")},
        {QStringLiteral("pos"), s("طبقه/موقعيت")},
        {QStringLiteral("mablagh"), s("مبلغ کل"), ColumnKind::Money},
        {QStringLiteral("status"), s("وضعيت")},
        {QStringLiteral("mablagh1"), s("مبلغ هر مترمربع"), ColumnKind::Money},
    };
    if (k.hasSaghf)
        c.append({QStringLiteral("saghf"), s("سقف")});
    return c;
}

ProjectItemsPanel::NewApplicantOpener& newApplicantOpener()
{
    static ProjectItemsPanel::NewApplicantOpener open;
    return open;
}

} // namespace

QList<QPair<QString, QString>> unitColumnCaptions()
{
    QList<QPair<QString, QString>> captions;
    for (const GridColumn& c : unitColumns())
        captions.append({c.field, c.caption});
    return captions;
}

void ProjectItemsPanel::setNewApplicantOpener(NewApplicantOpener open)
{
    newApplicantOpener() = std::move(open);
}

HeaderMap unitExcelHeaders()
{
    return {
        {QStringLiteral("karbari"), s("کاربري")},
        {QStringLiteral("bolok"), s("شماره بلوک")},
        {QStringLiteral("tabaghe"), s("طبقه")},
        {QStringLiteral("vahed_no"), s("شماره واحد")},
        {QStringLiteral("shenase"), s("شناسه واحد")},
        {QStringLiteral("jahat"), s("جهت")},
        {QStringLiteral("metraj"), s("متراژ واحد")},
        {QStringLiteral("metraj_z"), s("متراژ زمين")},
        {QStringLiteral("mablagh"), s("مبلغ واحد")},
        {QStringLiteral("vam"), s("ميزان وام")},
        {QStringLiteral("status"), s("وضعيت")},
        {QStringLiteral("prj_id"), s("شناسه پروژه")},
        {QStringLiteral("teras"), s("متراژ تراس")},
        {QStringLiteral("mablagh1"), s("مبلغ هر متر مربع واحد")},
        {QStringLiteral("ekhtesasi"), s("انشعابات اختصاصي")},
        {QStringLiteral("moshtarak"), s("انشعابات مشترک")},
        {QStringLiteral("otagh"), s("تعدا اتاق")},
        {QStringLiteral("vahed_typ"), s("نوع واحد")},
        {QStringLiteral("teras1"), s("قيمت هر مترمربع تراس")},
        {QStringLiteral("hayat1"), s("قيمت هر مترمربع حياط")},
        {QStringLiteral("hayat"), s("متراز حياط")},
        {QStringLiteral("id"), s("شناسه")},
    };
}

HeaderMap spaceExcelHeaders(bool parking)
{
    HeaderMap h {
        {QStringLiteral("id"), s("شناسه")},
        {QStringLiteral("prj_id"), s("شناسه پروژه")},
        {QStringLiteral("num"), parking ? s("شماره پارکينگ") : s("شماره انباري")},
        {QStringLiteral("pos"), s("موقعيت")},
        {QStringLiteral("mablagh"), s("مبلغ")},
        {QStringLiteral("metraj"), s("متراژ")},
        {QStringLiteral("status"), s("وضعيت")},
        {QStringLiteral("mablagh1"), s("قيمت هر متر مربع")},
        {QStringLiteral("bolok"), s("شماره بلوک")},
    };
    if (parking)
        h.insert(QStringLiteral("saghf"), s("سقف"));
    return h;
}

struct ProjectItemsPanel::Impl {
    DBGrid* grid = nullptr;
    QMenu* popup = nullptr;
    QAction *edit = nullptr, *remove = nullptr, *excel = nullptr;
    QAction *newApplicant = nullptr, *loans = nullptr;  // units only
    QPushButton* filter = nullptr;
    QList<QCheckBox*> boxes;
    // units: bolok, vahed_no, shenase, status; storage / parking: bolok, num
    QList<QWidget*> fields;
    QLabel* counter = nullptr;
    QHBoxLayout* filterRow = nullptr;
    Rights rights;
};

ProjectItemsPanel::ProjectItemsPanel(ProjectItems kind, QWidget* parent) : QWidget(parent), m_kind(kind), d(new Impl)
{
    setLayoutDirection(Qt::RightToLeft);
    d->grid = new DBGrid(this);
    d->grid->sizeColumnsOnFirstRows(200);
    d->popup = new QMenu(this);
    auto* filters = new QHBoxLayout;
    filters->setContentsMargins(0, 0, 0, 0);
    d->filterRow = filters;
    const auto criterion = [&](const char* boxName, const QString& caption, QWidget* field) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(boxName));
        bindCriterion(box, field);
        filters->addWidget(box);
        filters->addWidget(field, 1);
        d->boxes << box;
        d->fields << field;
    };
    const auto action = [this](const char* name, const QString& caption) {
        auto* a = new QAction(caption, d->popup);
        a->setObjectName(QString::fromLatin1(name));
        d->popup->addAction(a);
        return a;
    };
    const auto edit = [this](const char* name) {
        QLineEdit* e = makeEdit(this, QString::fromLatin1(name));
        e->setMinimumWidth(60);
        return e;
    };

    const QString editCaption = s("ويرايش"), deleteCaption = s("حذف"), excelCaption = s("اکسل");
    if (kind == ProjectItems::Units) {
        setObjectName(QStringLiteral("units_panel"));
        d->grid->setObjectName(QStringLiteral("DBGrid4"));
        d->grid->listModel()->setColumns(unitColumns());
        d->popup->setObjectName(QStringLiteral("PopupMenu_vahed"));
        d->edit = action("N12", editCaption);
        d->remove = action("N13", deleteCaption);
        d->excel = action("N14", excelCaption);
        d->newApplicant = action("N23", s("ثبت متقاضي"));
        d->loans = action("N34", s("تخصيص وام"));
        // The applicant entry belongs to the applicant windows (see setNewApplicantOpener).
        d->newApplicant->setEnabled(bool(newApplicantOpener()));
        d->loans->setEnabled(false);
        connect(d->loans, &QAction::triggered, this, &ProjectItemsPanel::N34Click);
        // The current unit's record history.
        history::addWindowEntry(d->popup, [this] {
            const QSqlRecord unit = d->grid->currentRecord();
            return history::RecordRef {QStringLiteral("vahedha"), unit.value(QStringLiteral("id")).toLongLong(),
                                       text(unit.value(QStringLiteral("shenase")))};
        });
        criterion("CheckBox1", s("بلوک"), edit("bolok"));
        criterion("CheckBox3", s("شماره"), edit("vahed_no"));
        criterion("CheckBox4", s("شناسه"), edit("shenase"));
        QComboBox* st = makeCombo(this, QStringLiteral("status"));
        st->setMinimumWidth(90);
        criterion("CheckBox5", s("وضعيت"), st);
        d->filter = makeButton(this, QStringLiteral("BitBtn1"), s("جستجو"));
        connect(d->edit, &QAction::triggered, this, &ProjectItemsPanel::N12Click);
        connect(d->remove, &QAction::triggered, this, &ProjectItemsPanel::N13Click);
        connect(d->excel, &QAction::triggered, this, &ProjectItemsPanel::N14Click);
        connect(d->newApplicant, &QAction::triggered, this, &ProjectItemsPanel::N23Click);
        connect(d->filter, &QPushButton::clicked, this, &ProjectItemsPanel::BitBtn1Click);
    } else {
        const bool parking = kind == ProjectItems::ParkingSpaces;
        setObjectName(parking ? QStringLiteral("parking_panel") : QStringLiteral("anbari_panel"));
        d->grid->setObjectName(parking ? QStringLiteral("DBGrid3") : QStringLiteral("DBGrid2"));
        d->grid->listModel()->setColumns(spaceColumns(parking ? spaces::parking() : spaces::storage()));
        d->popup->setObjectName(parking ? QStringLiteral("PopupMenu_parking") : QStringLiteral("PopupMenu_anbari"));
        d->edit = action(parking ? "N18" : "N17", editCaption);
        d->remove = action(parking ? "N11" : "N10", deleteCaption);
        d->excel = action(parking ? "N16" : "N15", excelCaption);
        criterion(parking ? "CheckBox9" : "CheckBox8", s("بلوک"), edit(parking ? "bolok_p" : "bolok_a"));
        QLineEdit* number = edit(parking ? "num_p" : "num_a");
        installDigitFilter(number);
        criterion(parking ? "CheckBox7" : "CheckBox6", s("شماره"), number);
        d->filter = makeButton(this, QString::fromLatin1(parking ? "BitBtn3" : "BitBtn2"), s("جستجو"));
        connect(d->edit, &QAction::triggered, this, &ProjectItemsPanel::editItem);
        connect(d->remove, &QAction::triggered, this, &ProjectItemsPanel::deleteItem);
        connect(d->excel, &QAction::triggered, this, &ProjectItemsPanel::exportItems);
        connect(d->filter, &QPushButton::clicked, this, &ProjectItemsPanel::search);
    }
    d->edit->setEnabled(false);
    d->remove->setEnabled(false);
    filters->addWidget(d->filter);
    // Enter in a filter runs this list's search, not the project search.
    for (QWidget* f : std::as_const(d->fields))
        enterClicks(f, d->filter);

    d->grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(d->grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = d->grid->indexAt(at);
        if (index.isValid())
            d->grid->setCurrentIndex(index);
        if (d->newApplicant)
            d->newApplicant->setEnabled(bool(newApplicantOpener()));
        d->popup->popup(d->grid->viewport()->mapToGlobal(at));
    });

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->addLayout(filters);
    top->addWidget(d->grid, 1);
}

ProjectItemsPanel::~ProjectItemsPanel()
{
    delete d;
}

DBGrid* ProjectItemsPanel::grid() const
{
    return d->grid;
}

void ProjectItemsPanel::setCounter(QLabel* counter)
{
    d->counter = counter;
    if (counter)
        counter->setText(QString::number(d->grid->listModel()->totalCount()));
}

void ProjectItemsPanel::addToFilterRow(QWidget* w)
{
    d->filterRow->addWidget(w);
}

void ProjectItemsPanel::setProject(const QSqlRecord& project)
{
    m_project = project;
    search();
}

void ProjectItemsPanel::clearFilters()
{
    clearCriteria(d->boxes);
    for (QWidget* f : d->fields)
        setFieldText(f, QString());
    if (m_kind == ProjectItems::Units) {
        // The status filter offers the unit statuses of the settings.
        auto* st = static_cast<QComboBox*>(d->fields.value(3));
        try {
            fillCombo(st, settingList(s("وضعيت واحد")));
        } catch (const DbError& e) {
            reportFailure(kListFailed, e);
        }
    }
}

void ProjectItemsPanel::applyRights(const Rights& vahed)
{
    d->rights = vahed;
    d->edit->setEnabled(vahed.virayesh);
    d->remove->setEnabled(vahed.hazf);
    if (d->loans)
        d->loans->setEnabled(vahed.darj);
}

bool ProjectItemsPanel::canInsert() const
{
    return d->rights.darj;
}

const spaces::SpaceKind& ProjectItemsPanel::spaceKind() const
{
    return m_kind == ProjectItems::ParkingSpaces ? spaces::parking() : spaces::storage();
}

ListQuery ProjectItemsPanel::listQuery() const
{
    const qint64 prjId = items::recordId(m_project);
    if (m_kind == ProjectItems::Units) {
        ListQuery q(QStringLiteral("select *"), QStringLiteral("from vahedha"));
        q.equals(QStringLiteral("prj_id"), prjId);
        static const char* columns[] = {"bolok", "vahed_no", "shenase", "status"};
        for (int i = 0; i < 4; ++i)
            if (d->boxes[i]->isChecked())
                q.like(QString::fromLatin1(columns[i]), fieldText(d->fields[i]));
        return q;
    }
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from ") + spaceKind().table);
    q.equals(QStringLiteral("prj_id"), prjId);
    if (d->boxes[0]->isChecked())
        q.like(QStringLiteral("bolok"), fieldText(d->fields[0]));
    if (d->boxes[1]->isChecked())
        // num is an integer column: its digits are compared as text.
        q.likeUnfolded(spaces::numberAsText(), toAsciiDigits(fieldText(d->fields[1]).trimmed()));
    return q;
}

void ProjectItemsPanel::search()
{
    ListModel* model = d->grid->listModel();
    try {
        if (m_project.isEmpty() || m_project.value(QStringLiteral("id")).isNull())
            model->clear();
        else
            model->setQuery(listQuery());
    } catch (const DbError& e) {
        model->clear();
        reportFailure(kListFailed, e);
    }
    if (d->counter)
        d->counter->setText(QString::number(model->totalCount()));
}

void ProjectItemsPanel::refreshAfterChange()
{
    search();
    Q_EMIT itemsChanged();
}

bool ProjectItemsPanel::hasProject() const
{
    return !m_project.isEmpty() && !m_project.value(QStringLiteral("id")).isNull();
}

void ProjectItemsPanel::newItems()
{
    if (!hasProject() || !d->rights.darj)
        return;
    if (m_kind == ProjectItems::Units) {
        Tproject_vahed& w = tavrin::window<Tproject_vahed>();
        connect(&w, &Tproject_vahed::unitsChanged, this, &ProjectItemsPanel::refreshAfterChange, Qt::UniqueConnection);
        w.prepareNew(m_project);
        w.showModal();
    } else {
        TProjectSpaceWindow& w = spaceWindow();
        connect(&w, &TProjectSpaceWindow::spacesChanged, this, &ProjectItemsPanel::refreshAfterChange, Qt::UniqueConnection);
        w.prepareNew(m_project);
        w.showModal();
    }
}

TProjectSpaceWindow& ProjectItemsPanel::spaceWindow() const
{
    if (m_kind == ProjectItems::ParkingSpaces)
        return tavrin::window<Tproject_parking>();
    return tavrin::window<Tproject_anbari>();
}

void ProjectItemsPanel::editItem()
{
    if (!hasProject() || !d->rights.virayesh)
        return;
    const QSqlRecord row = d->grid->currentRecord();
    if (row.isEmpty())
        return;
    if (m_kind == ProjectItems::Units) {
        Tproject_vahed& w = tavrin::window<Tproject_vahed>();
        connect(&w, &Tproject_vahed::unitsChanged, this, &ProjectItemsPanel::refreshAfterChange, Qt::UniqueConnection);
        w.prepareEdit(m_project, row);
        w.showModal();
    } else {
        TProjectSpaceWindow& w = spaceWindow();
        connect(&w, &TProjectSpaceWindow::spacesChanged, this, &ProjectItemsPanel::refreshAfterChange, Qt::UniqueConnection);
        w.prepareEdit(m_project, row);
        w.showModal();
    }
}

void ProjectItemsPanel::deleteItem()
{
    if (!hasProject() || !d->rights.hazf)
        return;
    const QSqlRecord row = d->grid->currentRecord();
    if (row.isEmpty())
        return;
    if (!items::askDeletePassword())
        return;
    Outcome r;
    const bool units = m_kind == ProjectItems::Units;
    try {
        r = units ? units::deleteUnit(m_project, items::recordId(row))
                  : spaces::deleteSpace(spaceKind(), m_project, items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(units ? units::kUnitDeleteFailed : spaceKind().deleteFailed, e);
        return;
    }
    r.show();
    if (r.done)
        refreshAfterChange();
}

void ProjectItemsPanel::exportItems()
{
    ListModel* model = d->grid->listModel();
    if (model->query().isEmpty())
        return;
    const bool units = m_kind == ProjectItems::Units;
    const QString name = units ? QStringLiteral("vahedha") : spaceKind().table;
    const HeaderMap headers = units ? unitExcelHeaders() : spaceExcelHeaders(m_kind == ProjectItems::ParkingSpaces);
    exportListToExcel(name, *model, headers);
}

void ProjectItemsPanel::printUnits()
{
    if (m_kind != ProjectItems::Units || !hasProject())
        return;
    printUnitList(m_project, *d->grid->listModel());
}

// The names the project window's code has always used for these actions.
void ProjectItemsPanel::N12Click() { editItem(); }
void ProjectItemsPanel::N13Click() { deleteItem(); }
void ProjectItemsPanel::N14Click() { exportItems(); }

void ProjectItemsPanel::N34Click()
{
    if (m_kind != ProjectItems::Units || !hasProject() || !d->rights.darj)
        return;
    const QSqlRecord row = d->grid->currentRecord();
    if (row.isEmpty())
        return;
    Tvahed_vam& w = tavrin::window<Tvahed_vam>();
    w.prepare(m_project, row);
    w.showModal();
    // The unit's loan total is in the list.
    refreshAfterChange();
}

void ProjectItemsPanel::N17Click() { editItem(); }
void ProjectItemsPanel::N18Click() { editItem(); }
void ProjectItemsPanel::N10Click() { deleteItem(); }
void ProjectItemsPanel::N11Click() { deleteItem(); }
void ProjectItemsPanel::N15Click() { exportItems(); }
void ProjectItemsPanel::N16Click() { exportItems(); }
void ProjectItemsPanel::N23Click()
{
    if (m_kind != ProjectItems::Units || !hasProject() || !newApplicantOpener())
        return;
    const QSqlRecord unit = d->grid->currentRecord();
    if (unit.isEmpty())
        return;
    newApplicantOpener()(m_project, unit);
    // The unit sold meanwhile shows its new status.
    refreshAfterChange();
}

void ProjectItemsPanel::BitBtn1Click() { search(); }
void ProjectItemsPanel::BitBtn2Click() { search(); }
void ProjectItemsPanel::BitBtn3Click() { search(); }

} // namespace tavrin
