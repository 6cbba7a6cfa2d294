#include "applicants/parking_src_u.h"

#include "applicants/child_texts.h"
#include "applicants/customers_logic.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

Tparking_src::Tparking_src() : TWindow(QStringLiteral("Tparking_src"), kSpaceSearchCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    auto* filters = new QGroupBox(this);
    auto* fl = new QGridLayout(filters);
    fl->setHorizontalSpacing(6);
    fl->setVerticalSpacing(4);
    const QString customers = QStringLiteral("customers");
    shahrestan = child::pickList(filters, "shahrestan", customers);
    prj_name = child::pickList(filters, "prj_name", customers);
    num_p = makeEdit(filters, QStringLiteral("num_p"), 9);
    num_a = makeEdit(filters, QStringLiteral("num_a"), 9);
    for (QLineEdit* e : {num_p, num_a}) {
        installDigitFilter(e);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_boxes = child::layoutCriteria(filters, fl,
                                    {{kCounty, {shahrestan}},
                                     {kProjectName, {prj_name}},
                                     {kParkingNum, {num_p}},
                                     {kStorageNum, {num_a}}},
                                    4);
    src_btn = makeButton(filters, QStringLiteral("src_btn"), kSearch);
    src_btn->setMinimumSize(110, 30);
    fl->addWidget(src_btn, 1, 7);
    QWidget::setTabOrder(num_a, src_btn);

    const auto list = [this](bool parking) {
        auto* g = new DBGrid(this);
        g->setObjectName(parking ? QStringLiteral("DBGrid1") : QStringLiteral("DBGrid2"));
        const HeaderMap h = assignments::searchHeaders(parking ? assignments::parkingSide() : assignments::storageSide());
        QList<GridColumn> columns;
        for (const char* f : {"ostan", "shahrestan", "prj_name", "bolok_1", "fname", "lname", "shenase", "bolok", "num",
                              "metraj", "pos", "id"}) {
            const QString field = QString::fromLatin1(f);
            const bool number = field == QLatin1String("num") || field == QLatin1String("metraj") || field == QLatin1String("id");
            columns << GridColumn {field, h.value(field), number ? ColumnKind::Number : ColumnKind::Text};
        }
        g->listModel()->setColumns(columns);
        g->horizontalHeader()->setDefaultSectionSize(90);
        return g;
    };
    DBGrid1 = list(true);
    DBGrid2 = list(false);
    cnt1 = makeLabel(this, QStringLiteral("0"), QStringLiteral("cnt1"));
    cnt2 = makeLabel(this, QStringLiteral("0"), QStringLiteral("cnt2"));
    const auto column = [this](const QString& title, QLabel* count, DBGrid* grid) {
        auto* v = new QVBoxLayout;
        auto* h = new QHBoxLayout;
        h->addWidget(makeLabel(this, title));
        h->addStretch();
        h->addWidget(makeLabel(this, kCountCaption));
        h->addWidget(count);
        v->addLayout(h);
        v->addWidget(grid, 1);
        return v;
    };
    auto* grids = new QHBoxLayout;
    grids->addLayout(column(kParkingSide, cnt1, DBGrid1), 1);
    grids->addLayout(column(kStorageSide, cnt2, DBGrid2), 1);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 6, 8, 8);
    top->addWidget(filters);
    top->addLayout(grids, 1);
    resize(1300, 660);

    QAction* excel1 = child::gridPopup(DBGrid1, {{"N1", kExcel}}).first();
    QAction* excel2 = child::gridPopup(DBGrid2, {{"N2", kExcel}}).first();
    connect(src_btn, &QPushButton::clicked, this, &Tparking_src::src_btnClick);
    connect(excel1, &QAction::triggered, this, &Tparking_src::N1Click);
    connect(excel2, &QAction::triggered, this, &Tparking_src::N2Click);
    for (QLineEdit* e : filters->findChildren<QLineEdit*>())
        connect(e, &QLineEdit::returnPressed, this, &Tparking_src::src_btnClick);
}

void Tparking_src::open(const applicants::ApplicantContext& c)
{
    clearCriteria(m_boxes);
    for (QLineEdit* e : {num_p, num_a})
        e->clear();
    cnt1->setText(QStringLiteral("0"));
    cnt2->setText(QStringLiteral("0"));
    DBGrid1->listModel()->clear();
    DBGrid2->listModel()->clear();
    try {
        child::fillKeepingText(shahrestan, grantedCounties(session().ostan));
        child::fillKeepingText(prj_name, applicants::projectNames(std::nullopt, std::nullopt));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    for (QComboBox* combo : {shahrestan, prj_name})
        setComboText(combo, QString());
    child::fitHeight(this, c.listHeight - 20);
}

assignments::SearchCriteria Tparking_src::criteria() const
{
    assignments::SearchCriteria c;
    c.shahrestan = child::ticked(m_boxes[0], shahrestan);
    c.prjName = child::ticked(m_boxes[1], prj_name);
    c.parkingNum = child::ticked(m_boxes[2], num_p);
    c.anbariNum = child::ticked(m_boxes[3], num_a);
    return c;
}

void Tparking_src::src_btnClick()
{
    const assignments::SearchCriteria c = criteria();
    try {
        DBGrid1->listModel()->setQuery(assignments::searchQuery(assignments::parkingSide(), c));
        DBGrid2->listModel()->setQuery(assignments::searchQuery(assignments::storageSide(), c));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        DBGrid2->listModel()->clear();
        reportFailure(kSearchFailed, e);
    }
    cnt1->setText(QString::number(DBGrid1->listModel()->totalCount()));
    cnt2->setText(QString::number(DBGrid2->listModel()->totalCount()));
}

namespace {
void exportGrid(DBGrid* grid, const assignments::Side& s)
{
    const ListModel* m = grid->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(s.rows(), *m, assignments::searchHeaders(s));
}
} // namespace

void Tparking_src::N1Click()
{
    exportGrid(DBGrid1, assignments::parkingSide());
}

void Tparking_src::N2Click()
{
    exportGrid(DBGrid2, assignments::storageSide());
}


} // namespace tavrin
