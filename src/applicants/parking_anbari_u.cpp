#include "applicants/parking_anbari_u.h"

#include "applicants/child_texts.h"
#include "applicants/customers_logic.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

namespace {

QList<GridColumn> rowColumns(bool parking)
{
    return {{QStringLiteral("num"), parking ? kParkingNum : kStorageNum, ColumnKind::Number},
            {QStringLiteral("metraj"), kMetraj, ColumnKind::Number},
            {QStringLiteral("pos"), kFloor, ColumnKind::Text},
            {QStringLiteral("mablagh"), kTotal, ColumnKind::Money},
            {QStringLiteral("mablagh1"), kPerMetreColumn, ColumnKind::Money},
            {QStringLiteral("bolok"), kBolok, ColumnKind::Text},
            {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true}};
}

QString areaText(double v)
{
    return QString::number(v, 'g', 12);
}

QLineEdit* readOnly(QWidget* parent, const char* name, bool digits)
{
    QLineEdit* e = makeEdit(parent, QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    if (digits) {
        e->setLayoutDirection(Qt::LeftToRight);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return e;
}

} // namespace

Tparking_anbari::Tparking_anbari() : TWindow(QStringLiteral("Tparking_anbari"), kSpacesCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    m_header = child::makeHeader(this);
    m_parking = buildSide(true);
    m_storage = buildSide(false);

    auto* sides = new QHBoxLayout;
    sides->setSpacing(10);
    sides->addWidget(m_parking.box, 1);  // first from the right
    sides->addWidget(m_storage.box, 1);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(m_header.box);
    top->addLayout(sides, 1);
    resize(1250, 640);

    connect(m_parking.bolok, &QComboBox::currentTextChanged, this, &Tparking_anbari::bolok_pChange);
    connect(m_parking.num, &QComboBox::currentTextChanged, this, &Tparking_anbari::numChange);
    connect(m_parking.pos, &QComboBox::currentTextChanged, this, &Tparking_anbari::posChange);
    connect(m_storage.bolok, &QComboBox::currentTextChanged, this, &Tparking_anbari::bolok_aChange);
    connect(m_storage.num, &QComboBox::currentTextChanged, this, &Tparking_anbari::num2Change);
    connect(m_storage.pos, &QComboBox::currentTextChanged, this, &Tparking_anbari::pos2Change);
    connect(m_parking.ins, &QPushButton::clicked, this, &Tparking_anbari::ins_btn1Click);
    connect(m_storage.ins, &QPushButton::clicked, this, &Tparking_anbari::ins_btn2Click);
    connect(m_parking.del, &QAction::triggered, this, &Tparking_anbari::N1Click);
    connect(m_storage.del, &QAction::triggered, this, &Tparking_anbari::N2Click);

    // Right to left, top to bottom: the parking side, then the storage side.
    const QList<QWidget*> order {m_parking.bolok, m_parking.num, m_parking.pos, m_parking.ins, m_parking.grid,
                                 m_storage.bolok, m_storage.num, m_storage.pos, m_storage.ins, m_storage.grid};
    for (int k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

Tparking_anbari::SideWidgets Tparking_anbari::buildSide(bool parking)
{
    SideWidgets s;
    s.logic = parking ? &assignments::parkingSide() : &assignments::storageSide();
    s.box = new QGroupBox(parking ? kParkingSide : kStorageSide, this);
    s.box->setObjectName(parking ? QStringLiteral("parking_box") : QStringLiteral("anbari_box"));
    QWidget* b = s.box;
    s.bolok = makeCombo(b, parking ? QStringLiteral("bolok_p") : QStringLiteral("bolok_a"), false);
    s.num = makeCombo(b, parking ? QStringLiteral("num") : QStringLiteral("num2"), false);
    s.pos = makeCombo(b, parking ? QStringLiteral("pos") : QStringLiteral("pos2"), false);
    for (QComboBox* c : {s.bolok, s.num, s.pos})
        c->setMinimumWidth(110);
    s.metraj = readOnly(b, parking ? "metraj" : "metraj2", true);
    s.mablagh1 = readOnly(b, parking ? "mablagh1_p" : "mablagh1_a", true);
    s.mablagh = readOnly(b, parking ? "mablagh_p" : "mablagh_a", true);
    s.spaceId = makeEdit(b, parking ? QStringLiteral("parking_id") : QStringLiteral("anbari_id"));
    s.spaceId->setVisible(false);
    s.mablagh1Grouped = child::groupedLabel(b, parking ? "mablagh1_p_3harfi" : "mablagh1_a_3harfi");
    s.mablaghGrouped = child::groupedLabel(b, parking ? "mablagh_p_3harfi" : "mablagh_a_3harfi");
    s.ins = makeButton(b, parking ? QStringLiteral("ins_btn1") : QStringLiteral("ins_btn2"), kInsert);
    s.ins->setMinimumSize(110, 30);

    auto* g = new QGridLayout;
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    const auto caption = [b, g](int row, int col, const QString& text) {
        g->addWidget(makeLabel(b, text), row, col, Qt::AlignLeft | Qt::AlignVCenter);
    };
    caption(0, 0, kBolok);
    g->addWidget(s.bolok, 0, 1);
    caption(0, 2, parking ? kParkingNum : kStorageNum);
    g->addWidget(s.num, 0, 3);
    caption(1, 0, kPosition);
    g->addWidget(s.pos, 1, 1);
    caption(1, 2, kMetraj);
    g->addWidget(s.metraj, 1, 3);
    caption(2, 0, kPerMetre);
    g->addWidget(s.mablagh1, 2, 1);
    g->addWidget(s.mablagh1Grouped, 2, 2, 1, 2);
    caption(3, 0, kTotal);
    g->addWidget(s.mablagh, 3, 1);
    g->addWidget(s.mablaghGrouped, 3, 2, 1, 2);
    g->addWidget(s.ins, 4, 1, Qt::AlignRight);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    s.grid = new DBGrid(b);
    s.grid->setObjectName(parking ? QStringLiteral("DBGrid1") : QStringLiteral("DBGrid2"));
    s.grid->listModel()->setColumns(rowColumns(parking));
    s.grid->horizontalHeader()->setDefaultSectionSize(95);
    s.grid->setMinimumHeight(150);
    s.del = child::gridPopup(s.grid, {{parking ? "N1" : "N2", kDelete}}).first();

    // The totals of the applicant's rows.
    s.metrajSum = child::groupedLabel(b, parking ? "metraj_sum" : "metraj2_sum");
    s.mablaghSum = child::groupedLabel(b, parking ? "parking_mablagh" : "anbari_mablagh");
    auto* totals = new QHBoxLayout;
    totals->addWidget(makeLabel(b, kAreaSum));
    totals->addWidget(s.metrajSum);
    totals->addSpacing(20);
    totals->addWidget(makeLabel(b, kAmountSum));
    totals->addWidget(s.mablaghSum);
    totals->addStretch();

    auto* v = new QVBoxLayout(s.box);
    v->addLayout(g);
    v->addWidget(s.grid, 1);
    v->addLayout(totals);
    return s;
}

void Tparking_anbari::open(const applicants::ApplicantContext& c)
{
    m_customerId = c.customerId;
    m_prjId = c.customer.value(QStringLiteral("prj_id")).toLongLong();
    m_changed = c.changed ? c.changed : [] {};
    m_header.show(c.customer);
    const bool canAdd = c.rights.darj && m_customerId > 0;
    for (SideWidgets* s : {&m_parking, &m_storage}) {
        s->ins->setEnabled(canAdd);
        s->del->setEnabled(c.rights.hazf && m_customerId > 0);
        reloadBlocks(*s);
        refresh(*s);
    }
    child::fitHeight(this, c.listHeight - 25);
    m_parking.bolok->setFocus();
}

void Tparking_anbari::reloadBlocks(SideWidgets& s)
{
    m_filling = true;
    s.bolok->clear();
    s.num->clear();
    s.pos->clear();
    try {
        if (m_prjId > 0)
            s.bolok->addItems(assignments::freeBlocks(*s.logic, m_prjId));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    s.bolok->setCurrentIndex(-1);
    m_filling = false;
    clearValues(s);
}

void Tparking_anbari::clearValues(SideWidgets& s)
{
    s.spaceId->setText(QStringLiteral("0"));
    s.metraj->setText(QStringLiteral("0"));
    s.mablagh1->setText(QStringLiteral("0"));
    s.mablagh->setText(QStringLiteral("0"));
    child::showGrouped(s.mablagh1Grouped, QStringLiteral("0"));
    child::showGrouped(s.mablaghGrouped, QStringLiteral("0"));
}

void Tparking_anbari::refresh(SideWidgets& s)
{
    assignments::Totals t;
    try {
        s.grid->listModel()->setQuery(assignments::rowsQuery(*s.logic, m_customerId));
        t = assignments::totals(*s.logic, m_customerId);
    } catch (const DbError& e) {
        s.grid->listModel()->clear();
        reportFailure(kSearchFailed, e);
    }
    s.metrajSum->setText(areaText(t.metraj));
    s.mablaghSum->setText(formatAmount(t.mablagh));
}

void Tparking_anbari::blockChanged(SideWidgets& s)
{
    if (m_filling)
        return;
    m_filling = true;
    s.num->clear();
    s.pos->clear();
    try {
        if (!s.bolok->currentText().isEmpty())
            s.num->addItems(assignments::freeNumbers(*s.logic, m_prjId, s.bolok->currentText()));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    s.num->setCurrentIndex(-1);
    m_filling = false;
    clearValues(s);
}

void Tparking_anbari::numberChanged(SideWidgets& s)
{
    if (m_filling)
        return;
    m_filling = true;
    s.pos->clear();
    try {
        if (!s.num->currentText().isEmpty())
            s.pos->addItems(assignments::freePositions(*s.logic, m_prjId, s.bolok->currentText(), s.num->currentText()));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    s.pos->setCurrentIndex(-1);
    m_filling = false;
    clearValues(s);
}

void Tparking_anbari::positionChanged(SideWidgets& s)
{
    if (m_filling)
        return;
    clearValues(s);
    if (s.pos->currentIndex() < 0)
        return;
    std::optional<QSqlRecord> space;
    try {
        space = assignments::freeSpace(*s.logic, m_prjId, s.bolok->currentText(), s.num->currentText(), s.pos->currentText());
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    if (!space)
        return;
    s.spaceId->setText(QString::number(items::recordId(*space)));
    s.metraj->setText(items::numberValue(*space, "metraj"));
    const QString perMetre = QString::number(toMoney(space->value(QStringLiteral("mablagh1"))));
    const QString total = QString::number(toMoney(space->value(QStringLiteral("mablagh"))));
    s.mablagh1->setText(perMetre);
    s.mablagh->setText(total);
    child::showGrouped(s.mablagh1Grouped, perMetre);
    child::showGrouped(s.mablaghGrouped, total);
}

void Tparking_anbari::select(SideWidgets& s, const QString& bolok, const QString& num, const QString& pos)
{
    s.bolok->setCurrentIndex(s.bolok->findText(bolok));
    s.num->setCurrentIndex(s.num->findText(num));
    s.pos->setCurrentIndex(s.pos->findText(pos));
}

void Tparking_anbari::add(SideWidgets& s)
{
    if (!s.ins->isEnabled())
        return;
    Outcome r;
    try {
        r = assignments::assign(*s.logic, m_customerId, s.spaceId->text().toLongLong());
    } catch (const DbError& e) {
        reportFailure(kSpaceSaveFailed, e);
        return;
    }
    r.show();
    if (!r.done) {
        s.pos->setFocus();
        return;
    }
    reloadBlocks(s);
    refresh(s);
    m_changed();
    s.bolok->setFocus();
}

void Tparking_anbari::remove(SideWidgets& s)
{
    if (!s.del->isEnabled())
        return;
    const QSqlRecord row = s.grid->currentRecord();
    if (row.isEmpty())
        return;
    Outcome r;
    try {
        r = assignments::unassign(*s.logic, m_customerId, items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kSpaceDeleteFailed, e);
        return;
    }
    r.show();
    reloadBlocks(s);
    refresh(s);
    if (r.done) {
        // The freed space is chosen again, so that a row deleted by mistake is added back with "ثبت".
        select(s, items::fieldValue(row, "bolok"), items::numberValue(row, "num"), items::fieldValue(row, "pos"));
        m_changed();
    }
}

void Tparking_anbari::bolok_pChange() { blockChanged(m_parking); }
void Tparking_anbari::numChange() { numberChanged(m_parking); }
void Tparking_anbari::posChange() { positionChanged(m_parking); }
void Tparking_anbari::bolok_aChange() { blockChanged(m_storage); }
void Tparking_anbari::num2Change() { numberChanged(m_storage); }
void Tparking_anbari::pos2Change() { positionChanged(m_storage); }
void Tparking_anbari::ins_btn1Click() { add(m_parking); }
void Tparking_anbari::ins_btn2Click() { add(m_storage); }
void Tparking_anbari::N1Click() { remove(m_parking); }
void Tparking_anbari::N2Click() { remove(m_storage); }

void Tparking_anbari::keyPressEvent(QKeyEvent* e)
{
    // Enter adds the space chosen on the side that has the focus, except in the lists.
    if (child::isEnter(e)) {
        QWidget* f = focusWidget();
        for (SideWidgets* s : {&m_parking, &m_storage})
            if (f && s->box->isAncestorOf(f) && !child::inside(f, s->grid)) {
                add(*s);
                return;
            }
    }
    TWindow::keyPressEvent(e);
}

void Tparking_anbari::done(int r)
{
    // The area totals are written from the rows whenever the window closes.
    if (m_customerId > 0) {
        try {
            if (assignments::writeTotals(m_customerId))
                m_changed();
        } catch (const DbError& e) {
            reportFailure(kAreaTotalsWrong, e);
        }
    }
    TWindow::done(r);
}

} // namespace tavrin
