#include "prereg/pishsabt_src_u.h"

#include "prereg/deposits.h"
#include "prereg/pishpardakht_src_u.h"
#include "prereg/pishsabt_ins_u.h"
#include "prereg/pishsabt_pardakht_u.h"
#include "prereg/prereg_texts.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/history_view.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

using namespace prereg;
using namespace preregtext;

namespace {

const QString kCountCaption = QStringLiteral("تعداد:");
const QString kPrintFailed = QStringLiteral("خطا! چاپ تفاهم نامه انجام نشد");

QAction* addEntry(QWidget* menu, const QString& name, const QString& caption)
{
    auto* a = new QAction(caption, menu);
    a->setObjectName(name);
    menu->addAction(a);
    return a;
}

QMenu* addMenu(QWidget* parent, const QString& name, const QString& caption)
{
    QMenu* m = qobject_cast<QMenuBar*>(parent) ? static_cast<QMenuBar*>(parent)->addMenu(caption)
                                               : static_cast<QMenu*>(parent)->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name + QStringLiteral("_menu"));
    return m;
}

} // namespace

Tpishsabt_src::Tpishsabt_src() : TWindow(QStringLiteral("Tpishsabt_src"), kSrcCaption)
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu1"));
    buildMenus();

    // The filters: three criteria to a row, then the search button and the counter.
    auto* filters = new QGroupBox(this);
    auto* fl = new QGridLayout(filters);
    fl->setHorizontalSpacing(8);
    fl->setVerticalSpacing(4);
    ostan = makeCombo(filters, QStringLiteral("ostan"));
    shahrestan = makeCombo(filters, QStringLiteral("shahrestan"));
    nation = makeEdit(filters, QStringLiteral("nation"), columnLength(QStringLiteral("pishsabt"), QStringLiteral("nation")));
    lname = makeEdit(filters, QStringLiteral("lname"), columnLength(QStringLiteral("pishsabt"), QStringLiteral("lname")));
    gender = makeCombo(filters, QStringLiteral("gender"));
    reg_user = makeEdit(filters, QStringLiteral("reg_user"), columnLength(QStringLiteral("pishsabt"), QStringLiteral("reg_user")));
    fillCombo(gender, kGenders);
    for (QComboBox* c : {ostan, shahrestan, gender})
        c->lineEdit()->setMaxLength(columnLength(QStringLiteral("pishsabt"), c->objectName()));
    int i = 0;
    for (const auto& [name, caption] : kFilters) {
        auto* box = new QCheckBox(caption, filters);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        QWidget* field = filters->findChild<QWidget*>(name);
        field->setMinimumWidth(150);
        fl->addWidget(box, i / 3, (i % 3) * 2);
        fl->addWidget(field, i / 3, (i % 3) * 2 + 1);
        fl->setColumnStretch((i % 3) * 2 + 1, 1);
        bindCriterion(box, field);
        m_boxes << box;
        ++i;
    }
    src_btn = makeButton(filters, QStringLiteral("src_btn"), kSearch);
    src_btn->setMinimumWidth(110);
    src_btn->setDefault(true);
    cnt = makeLabel(filters, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setMinimumWidth(60);
    QFont bold = cnt->font();
    bold.setBold(true);
    cnt->setFont(bold);
    fl->setColumnMinimumWidth(6, 16);
    fl->addWidget(src_btn, 0, 7);
    auto* counter = new QHBoxLayout;
    counter->addWidget(makeLabel(filters, kCountCaption));
    counter->addWidget(cnt);
    counter->addStretch();
    fl->addLayout(counter, 1, 7);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (const auto& [name, caption] : kGridColumns)
        columns << GridColumn {name, caption, ColumnKind::Text};
    columns << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true};
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(100);
    DBGrid1->sizeColumnsOnFirstRows(240);
    DBGrid1->setCounter(cnt);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    N6 = addEntry(popup, QStringLiteral("N6"), kN6);
    N6->setEnabled(false);
    connect(N6, &QAction::triggered, this, &Tpishsabt_src::N2Click);
    // The current pre-registration's record history.
    history::addWindowEntry(popup, [this] {
        const QSqlRecord r = DBGrid1->currentRecord();
        return history::RecordRef {QStringLiteral("pishsabt"), r.value(QStringLiteral("id")).toLongLong(),
                                   text(r.value(QStringLiteral("fname"))) + QLatin1Char(' ') + text(r.value(QStringLiteral("lname")))};
    });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        popup->popup(DBGrid1->viewport()->mapToGlobal(at));
    });

    auto* top = new QVBoxLayout(this);
    top->setMenuBar(m_menuBar);
    top->setContentsMargins(8, 4, 8, 8);
    top->addWidget(filters);
    top->addWidget(DBGrid1, 1);
    resize(1280, 700);

    connect(src_btn, &QPushButton::clicked, this, &Tpishsabt_src::src_btnClick);
    connect(ostan, &QComboBox::currentTextChanged, this, &Tpishsabt_src::ostanChange);
}

void Tpishsabt_src::buildMenus()
{
    N1 = addEntry(m_menuBar, QStringLiteral("N1"), kN1);
    N2 = addEntry(m_menuBar, QStringLiteral("N2"), kN2);
    N3 = addEntry(m_menuBar, QStringLiteral("N3"), kN3);
    N12 = addEntry(m_menuBar, QStringLiteral("N12"), kN12);
    for (QAction* a : {N1, N2, N3})
        a->setEnabled(false);
    QMenu* reports = addMenu(m_menuBar, QStringLiteral("N4"), kReportsMenu);
    N7 = addEntry(reports, QStringLiteral("N7"), kN7);
    N13 = addEntry(reports, QStringLiteral("N13"), kN13);
    QMenu* forms = addMenu(m_menuBar, QStringLiteral("N8"), kFormsMenu);
    QMenu* agreement = addMenu(forms, QStringLiteral("N9"), kAgreementMenu);
    QMenu* province = addMenu(agreement, QStringLiteral("N14"), kProvinceMenu);
    N11 = addEntry(province, QStringLiteral("N11"), kN11);
    N21 = addEntry(province, QStringLiteral("N21"), kN21);
    N31 = addEntry(province, QStringLiteral("N31"), kN31);
    N10 = addEntry(province, QStringLiteral("N10"), kN10);
    QMenu* county = addMenu(agreement, QStringLiteral("N15"), kCountyMenu);
    N16 = addEntry(county, QStringLiteral("N16"), kN16);
    N32 = addEntry(county, QStringLiteral("N32"), kN32);
    N5 = addEntry(m_menuBar, QStringLiteral("N5"), kN5);

    connect(N1, &QAction::triggered, this, &Tpishsabt_src::N1Click);
    connect(N2, &QAction::triggered, this, &Tpishsabt_src::N2Click);
    connect(N3, &QAction::triggered, this, &Tpishsabt_src::N3Click);
    connect(N12, &QAction::triggered, this, &Tpishsabt_src::N12Click);
    connect(N7, &QAction::triggered, this, &Tpishsabt_src::N7Click);
    connect(N13, &QAction::triggered, this, &Tpishsabt_src::N13Click);
    connect(N11, &QAction::triggered, this, &Tpishsabt_src::N11Click);
    connect(N21, &QAction::triggered, this, &Tpishsabt_src::N21Click);
    connect(N31, &QAction::triggered, this, &Tpishsabt_src::N31Click);
    connect(N10, &QAction::triggered, this, &Tpishsabt_src::N10Click);
    connect(N16, &QAction::triggered, this, &Tpishsabt_src::N16Click);
    connect(N32, &QAction::triggered, this, &Tpishsabt_src::N32Click);
    connect(N5, &QAction::triggered, this, &Tpishsabt_src::N5Click);
}

QAction* Tpishsabt_src::menuAction(const QString& name) const
{
    return findChild<QAction*>(name);
}

void Tpishsabt_src::applyRights(const Rights& r)
{
    N1->setEnabled(r.darj);
    N2->setEnabled(r.virayesh);
    N6->setEnabled(r.virayesh);
    N3->setEnabled(r.hazf);
}

void Tpishsabt_src::prepareToShow()
{
    try {
        const QSignalBlocker block(ostan);
        fillCombo(ostan, provinces());
        fillCombo(shahrestan, {});
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
    for (QWidget* f : std::initializer_list<QWidget*> {ostan, shahrestan, nation, lname, gender})
        setFieldText(f, QString());
    reg_user->setText(kInternetPreset);
    src_btnClick();
}

void Tpishsabt_src::ostanChange()
{
    try {
        fillCombo(shahrestan, counties(ostan->currentText(), false));
    } catch (const DbError&) {
    }
}

ListQuery Tpishsabt_src::searchQuery() const
{
    PersonFilter f;
    if (m_boxes[0]->isChecked())
        f.ostan = ostan->currentText();
    if (m_boxes[1]->isChecked())
        f.shahrestan = shahrestan->currentText();
    if (m_boxes[2]->isChecked())
        f.nation = nation->text();
    if (m_boxes[3]->isChecked())
        f.lname = lname->text();
    if (m_boxes[4]->isChecked())
        f.gender = gender->currentText();
    if (m_boxes[5]->isChecked())
        f.regUser = reg_user->text();
    return personQuery(f);
}

void Tpishsabt_src::src_btnClick()
{
    ListModel* m = DBGrid1->listModel();
    try {
        m->setQuery(searchQuery());
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    if (m->rowCount() > 0)
        DBGrid1->setCurrentIndex(m->index(0, 0));
}

void Tpishsabt_src::refreshAfterChange(qint64 id)
{
    try {
        DBGrid1->refreshKeepingRow();
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    // The saved person becomes the current row when he is among the rows at hand.
    if (id)
        DBGrid1->selectId(id);
    if (DBGrid1->listModel()->rowCount() > 0 && DBGrid1->currentRow() < 0)
        DBGrid1->setCurrentIndex(DBGrid1->listModel()->index(0, 0));
}

QSqlRecord Tpishsabt_src::currentPerson()
{
    const QSqlRecord listed = DBGrid1->currentRecord();
    if (listed.isEmpty())
        return listed;
    // The row as stored now, not as the list read it; gone when deleted meanwhile.
    try {
        if (auto stored = dm().firstRow(QStringLiteral("select * from pishsabt where id=?"),
                                        {listed.value(QStringLiteral("id"))}))
            return *stored;
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return {};
    }
    dialogs().error(kPersonGone);
    refreshAfterChange();
    return {};
}

Tpishsabt_ins& Tpishsabt_src::entryWindow()
{
    Tpishsabt_ins& w = tavrin::window<Tpishsabt_ins>();
    if (!m_entryWired) {
        connect(&w, &Tpishsabt_ins::saved, this, &Tpishsabt_src::refreshAfterChange);
        connect(&w, &Tpishsabt_ins::gone, this, [this] { refreshAfterChange(); });
        m_entryWired = true;
    }
    return w;
}

void Tpishsabt_src::N1Click()
{
    if (!N1->isEnabled())
        return;
    Tpishsabt_ins& w = entryWindow();
    w.prepareNew();
    w.showModal();
}

void Tpishsabt_src::N2Click()
{
    if (!N2->isEnabled())
        return;
    const QSqlRecord person = currentPerson();
    if (person.isEmpty())
        return;
    Tpishsabt_ins& w = entryWindow();
    w.prepareEdit(person);
    w.showModal();
}

void Tpishsabt_src::N3Click()
{
    if (!N3->isEnabled())
        return;
    const QSqlRecord person = DBGrid1->currentRecord();
    if (person.isEmpty())
        return;
    switch (deletePerson(person)) {
    case DeleteOutcome::Deleted:
        refreshAfterChange();
        dialogs().information(kDeleted);
        break;
    case DeleteOutcome::Gone:
        refreshAfterChange();
        break;
    case DeleteOutcome::Cancelled:
    case DeleteOutcome::Failed:
        break;
    }
}

void Tpishsabt_src::N12Click()
{
    const QSqlRecord person = currentPerson();
    if (person.isEmpty())
        return;
    if (!pageRights(QStringLiteral("pardakht"),
                    [](const Rights& r) { tavrin::window<Tpishsabt_pardakht>().applyRights(r); }))
        return;
    Tpishsabt_pardakht& w = tavrin::window<Tpishsabt_pardakht>();
    if (!m_depositsWired) {
        connect(&w, &Tpishsabt_pardakht::personGone, this, [this] { refreshAfterChange(); });
        m_depositsWired = true;
    }
    try {
        w.preparePerson(person);
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
    w.showModal();
}

void Tpishsabt_src::N7Click()
{
    const ListModel* m = DBGrid1->listModel();
    exportListToExcel(QStringLiteral("pishsabt"), *m, excelHeaders());
}

void Tpishsabt_src::N13Click()
{
    Tpishpardakht_src& w = tavrin::window<Tpishpardakht_src>();
    w.prepareToShow();
    w.resize(w.width(), std::max(400, height() - 20));
    w.showModal();
}

int Tpishsabt_src::printPage1(AgreementVariant variant)
{
    const QSqlRecord person = currentPerson();
    if (person.isEmpty())
        return -1;
    const QString padash = askPadash();
    QVariantMap values;
    try {
        values = agreementPage1Values(person, variant, padash);
    } catch (const DbError& e) {
        reportFailure(kPrintFailed, e);
        return -1;
    }
    return Tvadiegozari_frm1::build(values).showPreview(kAgreementMenu);
}

int Tpishsabt_src::printPage2()
{
    const QSqlRecord person = currentPerson();
    if (person.isEmpty())
        return -1;
    QList<QVariantMap> rows;
    try {
        for (const Deposit& d : depositsOf(person.value(QStringLiteral("id")).toLongLong()))
            rows << agreementRow(d);
    } catch (const DbError& e) {
        reportFailure(kPrintFailed, e);
        return -1;
    }
    return Tvadiegozari_frm2::build(rows).showPreview(kAgreementMenu);
}

int Tpishsabt_src::printPage3(AgreementVariant variant)
{
    const QSqlRecord person = currentPerson();
    if (person.isEmpty())
        return -1;
    return Tvadiegozari_frm3::build(agreementPage3Values(person, variant)).showPreview(kAgreementMenu);
}

void Tpishsabt_src::N11Click()
{
    printPage1(AgreementVariant::Province);
}

void Tpishsabt_src::N21Click()
{
    printPage2();
}

void Tpishsabt_src::N31Click()
{
    printPage3(AgreementVariant::Province);
}

void Tpishsabt_src::N10Click()
{
    // Each preview is modal: the next page opens when the previous one is closed.
    if (printPage1(AgreementVariant::Province) < 0)
        return;
    if (printPage2() < 0)
        return;
    printPage3(AgreementVariant::Province);
}

void Tpishsabt_src::N16Click()
{
    printPage1(AgreementVariant::County);
}

void Tpishsabt_src::N32Click()
{
    printPage3(AgreementVariant::County);
}

void Tpishsabt_src::N5Click()
{
    reject();
}

} // namespace tavrin

#include "moc_pishsabt_src_u.cpp"
