#include "applicants/customers_src_u.h"

#include "applicants/applicant_texts.h"
#include "applicants/applicant_windows.h"
#include "applicants/customers_chap.h"
#include "applicants/customers_ins_u.h"

#include "common/criteria.h"
#include "common/deletepassword.h"
#include "common/dialogs.h"
#include "common/history_view.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nation_cod_u.h"
#include "common/nationcode.h"
#include "common/session.h"
#include "db/database.h"
#include "db/schema.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

using namespace applicants;

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString menuCaption(const char* name)
{
    for (const auto& [n, caption] : custext::kMenuCaptions)
        if (qstrcmp(n, name) == 0)
            return s(caption);
    return QString::fromLatin1(name);
}

QAction* addEntry(QWidget* menu, const QString& name, const QString& caption, bool enabled = true)
{
    auto* a = new QAction(caption, menu);
    a->setObjectName(name);
    a->setEnabled(enabled);
    menu->addAction(a);
    return a;
}

// The grid: the list's columns with their titles, then the other columns of the
// row under the export's titles; the id hidden.
QList<GridColumn> gridColumns()
{
    const QSet<QString> money {QStringLiteral("mablagh"), QStringLiteral("vam"), QStringLiteral("pardakht_sum"),
                               QStringLiteral("takhfif"), QStringLiteral("mablagh1"), QStringLiteral("jarime"),
                               QStringLiteral("teras1"), QStringLiteral("hayat1"), QStringLiteral("anbari_mablagh"),
                               QStringLiteral("parking_mablagh")};
    const auto kind = [&money](const QString& f) { return money.contains(f) ? ColumnKind::Money : ColumnKind::Auto; };
    QList<GridColumn> out;
    QSet<QString> shown;
    for (const auto& [field, title] : custext::kGridColumns) {
        const QString f = QString::fromLatin1(field);
        out << GridColumn {f, s(title), kind(f)};
        shown << f;
    }
    const HeaderMap titles = excelHeaders();
    for (const ColumnDef& c : schema().table(QStringLiteral("customers"))->columns) {
        if (shown.contains(c.name) || c.name == QLatin1String("id"))
            continue;
        out << GridColumn {c.name, titles.value(c.name, c.name), kind(c.name)};
    }
    out << GridColumn {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true};
    return out;
}

} // namespace

Tcustomers_src::Tcustomers_src() : TWindow(QStringLiteral("Tcustomers_src"), custext::kSrcCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu1"));
    buildMenus();

    // The criteria, four to a row, right to left.
    auto* filters = new QGroupBox(this);
    auto* fl = new QGridLayout(filters);
    fl->setHorizontalSpacing(6);
    fl->setVerticalSpacing(4);
    ostan = makeCombo(filters, QStringLiteral("ostan"));
    shahrestan = makeCombo(filters, QStringLiteral("shahrestan"));
    nation = makeEdit(filters, QStringLiteral("nation"), 10);
    installDigitFilter(nation);
    lname = makeEdit(filters, QStringLiteral("lname"), columnLength(QStringLiteral("customers"), QStringLiteral("lname")));
    prj_name = makeCombo(filters, QStringLiteral("prj_name"));
    bolok = makeEdit(filters, QStringLiteral("bolok"), columnLength(QStringLiteral("customers"), QStringLiteral("bolok")));
    tabaghe = makeCombo(filters, QStringLiteral("tabaghe"));
    karbari = makeCombo(filters, QStringLiteral("karbari"));
    shenase = makeEdit(filters, QStringLiteral("shenase"), columnLength(QStringLiteral("customers"), QStringLiteral("shenase")));
    status = makeCombo(filters, QStringLiteral("status"));
    prot_no = makeEdit(filters, QStringLiteral("prot_no"), columnLength(QStringLiteral("customers"), QStringLiteral("prot_no")));
    sanad_no = makeEdit(filters, QStringLiteral("sanad_no"), columnLength(QStringLiteral("customers"), QStringLiteral("sanad_no")));
    gender = makeCombo(filters, QStringLiteral("gender"));
    transport_dat = makeDateEdit(filters, QStringLiteral("transport_dat"));
    typ = makeCombo(filters, QStringLiteral("typ"));
    reg_user = makeEdit(filters, QStringLiteral("reg_user"), columnLength(QStringLiteral("customers"), QStringLiteral("reg_user")));
    for (QLineEdit* e : {bolok, shenase, prot_no, sanad_no})
        e->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    const auto opCombo = [filters](const char* name) {
        QComboBox* c = makeCombo(filters, QString::fromLatin1(name), false);
        c->addItems({QStringLiteral("="), QStringLiteral("<>")});
        c->setLayoutDirection(Qt::LeftToRight);
        c->setMaximumWidth(56);
        return c;
    };
    prot_no_combo = opCombo("prot_no_combo");
    sanad_no_combo = opCombo("sanad_no_combo");
    transport_dat_combo = opCombo("transport_dat_combo");

    const QList<QList<QWidget*>> fields {{ostan}, {shahrestan}, {nation}, {lname}, {prj_name}, {bolok}, {tabaghe},
                                         {karbari}, {shenase}, {status}, {prot_no_combo, prot_no},
                                         {sanad_no_combo, sanad_no}, {gender}, {transport_dat, transport_dat_combo},
                                         {typ}, {reg_user}};
    int i = 0;
    QWidget* previous = nullptr;
    const auto chain = [&previous](QWidget* w) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    };
    for (const auto& [column, caption] : custext::kCriteria) {
        auto* box = new QCheckBox(s(caption), filters);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        auto* cell = new QHBoxLayout;
        cell->setSpacing(3);
        for (QWidget* w : fields[i]) {
            w->setMinimumWidth(w->maximumWidth() < 100 ? 40 : 110);
            cell->addWidget(w, w->maximumWidth() < 100 ? 0 : 1);
            bindCriterion(box, w);
        }
        // Each box and then its field, right to left and row by row.
        chain(box);
        for (QWidget* w : fields[i])
            chain(w);
        const int row = i / 4, col = (i % 4) * 2;
        fl->addWidget(box, row, col);
        fl->addLayout(cell, row, col + 1);
        fl->setColumnStretch(col + 1, 1);
        m_boxes << box;
        ++i;
        Q_UNUSED(column);
    }
    src_btn = makeButton(filters, QStringLiteral("src_btn"), custext::kSearch);
    src_btn->setMinimumWidth(110);
    src_btn->setDefault(true);
    cnt = makeLabel(filters, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setMinimumWidth(60);
    QFont bold = cnt->font();
    bold.setBold(true);
    cnt->setFont(bold);
    auto* side = new QVBoxLayout;
    side->addWidget(src_btn);
    auto* count = new QHBoxLayout;
    count->addWidget(makeLabel(filters, custext::kCountCaption));
    count->addWidget(cnt);
    side->addLayout(count);
    side->addStretch();
    fl->setColumnMinimumWidth(8, 10);
    fl->addLayout(side, 0, 9, 4, 1);

    chain(src_btn);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    chain(DBGrid1);
    DBGrid1->listModel()->setColumns(gridColumns());
    DBGrid1->horizontalHeader()->setDefaultSectionSize(95);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    N28 = addEntry(popup, QStringLiteral("N28"), menuCaption("N2"), false);
    connect(N28, &QAction::triggered, this, &Tcustomers_src::N2Click);
    // The current applicant's record history, with his payments, partners,
    // dependants and spaces (its window checks its own page right).
    history::addWindowEntry(popup, [this] {
        const QSqlRecord r = DBGrid1->currentRecord();
        return history::RecordRef {QStringLiteral("customers"), r.isEmpty() ? 0 : currentCustomerId(),
                                   text(r.value(QStringLiteral("fname"))) + QLatin1Char(' ') + text(r.value(QStringLiteral("lname")))};
    });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        const QModelIndex index = DBGrid1->indexAt(at);
        if (index.isValid())
            DBGrid1->setCurrentIndex(index);
        popup->popup(DBGrid1->viewport()->mapToGlobal(at));
    });
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, [this] {
        if (N2->isEnabled())
            N2Click();
    });

    auto* top = new QVBoxLayout(this);
    top->setMenuBar(m_menuBar);
    top->setContentsMargins(8, 4, 8, 8);
    top->addWidget(filters);
    top->addWidget(DBGrid1, 1);
    resize(1280, 720);

    connect(src_btn, &QPushButton::clicked, this, &Tcustomers_src::src_btnClick);
    connect(ostan, &QComboBox::currentTextChanged, this, &Tcustomers_src::ostanChange);
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::returnPressed, this, &Tcustomers_src::src_btnClick);
    resetCriteria();
}

void Tcustomers_src::buildMenus()
{
    N1 = addEntry(m_menuBar, QStringLiteral("N1"), menuCaption("N1"), false);
    N2 = addEntry(m_menuBar, QStringLiteral("N2"), menuCaption("N2"), false);
    for (const char* name : {"N4", "N21", "N6", "N3", "N22", "N26"})
        m_entries << addEntry(m_menuBar, QString::fromLatin1(name), menuCaption(name), false);
    N5 = addEntry(m_menuBar, QStringLiteral("N5"), menuCaption("N5"), false);

    QMenu* reports = m_menuBar->addMenu(menuCaption("N7"));
    reports->menuAction()->setObjectName(QStringLiteral("N7"));
    QAction* N8 = addEntry(reports, QStringLiteral("N8"), menuCaption("N8"));
    QAction* N20 = addEntry(reports, QStringLiteral("N20"), menuCaption("N20"));
    QAction* SMS1 = addEntry(reports, QStringLiteral("SMS1"), menuCaption("SMS1"));
    reports->addSeparator();
    for (const char* name : {"N29", "N23", "N24", "N30"})
        m_entries << addEntry(reports, QString::fromLatin1(name), menuCaption(name), false);
    reports->addSeparator();
    QAction* N50 = addEntry(reports, QStringLiteral("N50"), menuCaption("N50"));

    // "فرم ها": every document printed for the current applicant.
    QMenu* forms = m_menuBar->addMenu(custext::kFormsMenu);
    forms->menuAction()->setObjectName(QStringLiteral("N9"));
    QHash<QString, QMenu*> submenus;
    for (const custext::FormEntry& e : custext::kFormEntries) {
        QMenu* menu = forms;
        if (*e.submenu) {
            const QString key = s(e.submenu);
            if (!submenus.contains(key))
                submenus.insert(key, forms->addMenu(key));
            menu = submenus.value(key);
            if (*e.subsubmenu) {
                const QString subKey = key + QLatin1Char('/') + s(e.subsubmenu);
                if (!submenus.contains(subKey))
                    submenus.insert(subKey, menu->addMenu(s(e.subsubmenu)));
                menu = submenus.value(subKey);
            }
        }
        m_entries << addEntry(menu, QString::fromLatin1(e.name), s(e.caption), false);
    }
    QAction* N10 = addEntry(m_menuBar, QStringLiteral("N10"), menuCaption("N10"));

    connect(N1, &QAction::triggered, this, &Tcustomers_src::N1Click);
    connect(N2, &QAction::triggered, this, &Tcustomers_src::N2Click);
    connect(N5, &QAction::triggered, this, &Tcustomers_src::N5Click);
    connect(N8, &QAction::triggered, this, &Tcustomers_src::N8Click);
    connect(N20, &QAction::triggered, this, &Tcustomers_src::N20Click);
    connect(SMS1, &QAction::triggered, this, &Tcustomers_src::SMS1Click);
    connect(N50, &QAction::triggered, this, &Tcustomers_src::N50Click);
    connect(N10, &QAction::triggered, this, &Tcustomers_src::N10Click);
    for (QAction* a : m_entries)
        connect(a, &QAction::triggered, this, [this, a] { openEntry(a->objectName()); });
    enableRegisteredEntries();
}

QAction* Tcustomers_src::menuAction(const QString& name) const
{
    return findChild<QAction*>(name);
}

void Tcustomers_src::enableRegisteredEntries()
{
    for (QAction* a : m_entries)
        a->setEnabled(applicantWindow(a->objectName()) != nullptr);
}

void Tcustomers_src::applyRights(const Rights& r)
{
    m_rights = r;
    N1->setEnabled(r.darj);
    N2->setEnabled(r.virayesh);
    N28->setEnabled(r.virayesh);
    N5->setEnabled(r.hazf);
}

void Tcustomers_src::resetCriteria()
{
    for (QCheckBox* b : m_boxes)
        b->setChecked(false);
    for (QLineEdit* e : {nation, lname, bolok, shenase, prot_no, sanad_no, transport_dat, reg_user})
        e->clear();
    for (QComboBox* c : {ostan, shahrestan, prj_name, tabaghe, karbari, status, gender, typ})
        setFieldText(c, QString());
    for (QComboBox* c : {prot_no_combo, sanad_no_combo, transport_dat_combo})
        c->setCurrentIndex(0);
    reg_user->setText(session().karbar);
    // By default the list shows the applicants who still hold their unit.
    m_boxes[13]->setChecked(true);
}

void Tcustomers_src::fillLists()
{
    try {
        {
            const QSignalBlocker block(ostan);
            fillCombo(ostan, provinces());
        }
        fillCombo(shahrestan, {});
        fillProjectNames();
        fillCombo(tabaghe, settingList(custext::kSetFloors));
        fillCombo(karbari, settingList(custext::kSetKarbari));
        fillCombo(status, settingList(custext::kSetListStatus));
        fillCombo(typ, settingList(custext::kSetTyp));
        fillCombo(gender, {custext::kMale, custext::kFemale});
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
}

void Tcustomers_src::fillProjectNames()
{
    std::optional<QString> o, c;
    if (m_boxes[0]->isChecked())
        o = ostan->currentText();
    if (m_boxes[1]->isChecked())
        c = shahrestan->currentText();
    const QString typed = prj_name->currentText();
    fillCombo(prj_name, projectNames(o, c));
    setFieldText(prj_name, typed);
}

void Tcustomers_src::prepareToShow()
{
    resetCriteria();
    fillLists();
    enableRegisteredEntries();
    src_btnClick();
}

void Tcustomers_src::ostanChange()
{
    try {
        fillCombo(shahrestan, counties(ostan->currentText(), false));
        const QString typed = prj_name->currentText();
        fillCombo(prj_name, projectNames(ostan->currentText(), std::nullopt));
        setFieldText(prj_name, typed);
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
}

applicants::Criteria Tcustomers_src::criteria() const
{
    Criteria c;
    const auto on = [this](int i) { return m_boxes[i]->isChecked(); };
    if (on(0)) c.ostan = ostan->currentText();
    if (on(1)) c.shahrestan = shahrestan->currentText();
    if (on(2)) c.nation = nation->text();
    if (on(3)) c.lname = lname->text();
    if (on(4)) c.prjName = prj_name->currentText();
    if (on(5)) c.bolok = bolok->text();
    if (on(6)) c.tabaghe = tabaghe->currentText();
    if (on(7)) c.karbari = karbari->currentText();
    if (on(8)) c.shenase = shenase->text();
    if (on(9)) c.status = status->currentText();
    if (on(10)) c.protNo = std::make_pair(prot_no_combo->currentText(), prot_no->text());
    if (on(11)) c.sanadNo = std::make_pair(sanad_no_combo->currentText(), sanad_no->text());
    if (on(12)) c.gender = gender->currentText();
    if (on(13)) c.transport = transport_dat_combo->currentText();
    if (on(14)) c.typ = typ->currentText();
    if (on(15)) c.regUser = reg_user->text();
    return c;
}

void Tcustomers_src::src_btnClick()
{
    ListModel* m = DBGrid1->listModel();
    try {
        m->setQuery(searchQuery(criteria()));
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    cnt->setText(QString::number(m->totalCount()));
    if (m->rowCount() > 0)
        DBGrid1->setCurrentIndex(m->index(0, 0));
    if (!m_sized && m->rowCount() > 0) {
        // The titles and the first rows decide the widths once; the user may change them after.
        DBGrid1->resizeColumnsToContents();
        for (int c = 0; c < m->columnCount(); ++c)
            DBGrid1->setColumnWidth(c, std::clamp(DBGrid1->columnWidth(c) + 8, 60, 240));
        m_sized = true;
    }
}

void Tcustomers_src::showProject(const QSqlRecord& project)
{
    resetCriteria();
    fillLists();
    enableRegisteredEntries();
    // The project's place and name are shown in the criteria; the list is the project's.
    m_boxes[13]->setChecked(false);
    setFieldText(ostan, text(project.value(QStringLiteral("ostan"))));
    setFieldText(shahrestan, text(project.value(QStringLiteral("shahrestan"))));
    setFieldText(prj_name, text(project.value(QStringLiteral("prj_name"))));
    setFieldText(typ, QString());
    ListModel* m = DBGrid1->listModel();
    try {
        m->setQuery(projectQuery(project.value(QStringLiteral("id")).toLongLong()));
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    cnt->setText(QString::number(m->totalCount()));
    if (m->rowCount() > 0)
        DBGrid1->setCurrentIndex(m->index(0, 0));
}

qint64 Tcustomers_src::currentCustomerId() const
{
    const QSqlRecord r = DBGrid1->currentRecord();
    return r.isEmpty() ? 0 : r.value(QStringLiteral("id")).toLongLong();
}

QSqlRecord Tcustomers_src::currentCustomer() const
{
    return DBGrid1->currentRecord();
}

void Tcustomers_src::refreshCustomer(qint64 id)
{
    ListModel* m = DBGrid1->listModel();
    const int before = DBGrid1->currentRow();
    try {
        m->refresh();
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    cnt->setText(QString::number(m->totalCount()));
    if (m->rowCount() == 0)
        return;
    int row = -1;
    if (before >= 0 && before < m->rowCount() && m->value(before, QStringLiteral("id")).toLongLong() == id)
        row = before;
    // A new applicant comes last in the default order: look at the end first, then the start.
    for (int r = m->rowCount() - 1; row < 0 && r >= std::max(0, m->rowCount() - ListModel::kPageSize); --r)
        if (m->value(r, QStringLiteral("id")).toLongLong() == id)
            row = r;
    for (int r = 0; row < 0 && r < std::min(m->rowCount(), ListModel::kPageSize); ++r)
        if (m->value(r, QStringLiteral("id")).toLongLong() == id)
            row = r;
    showRow(row, before);
}

// Makes `row` current (or, when the record is not in the list, the row that
// was current before, within the list) and brings it into view.
void Tcustomers_src::showRow(int row, int before)
{
    ListModel* m = DBGrid1->listModel();
    if (row < 0)
        row = std::clamp(before, 0, m->rowCount() - 1);
    DBGrid1->setCurrentIndex(m->index(row, 0));
    DBGrid1->scrollTo(m->index(row, 0));
}

void Tcustomers_src::showAdded(qint64 id)
{
    ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    const int before = DBGrid1->currentRow();
    int row = -1;
    try {
        row = m->refreshAfterInsert(id);
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    cnt->setText(QString::number(m->totalCount()));
    if (m->rowCount() == 0)
        return;
    showRow(row, before);
}

void Tcustomers_src::N1Click()
{
    if (!m_rights.darj)
        return;
    Tcustomers_ins& w = tavrin::window<Tcustomers_ins>();
    connect(&w, &Tcustomers_ins::saved, this, &Tcustomers_src::refreshCustomer, Qt::UniqueConnection);
    connect(&w, &Tcustomers_ins::added, this, &Tcustomers_src::showAdded, Qt::UniqueConnection);
    w.prepareNew();
    w.showModal();
}

void Tcustomers_src::N2Click()
{
    const qint64 id = currentCustomerId();
    if (id == 0 || !m_rights.virayesh)
        return;
    std::optional<QSqlRecord> row;
    try {
        row = customerRow(id);
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    if (!row) {
        dialogs().error(custext::kCustomerGone);
        refreshCustomer(id);
        return;
    }
    if (session().level == QLatin1String("city") && text(row->value(QStringLiteral("status"))) == custext::kCompleted) {
        dialogs().warning(custext::kCompletedFile);
        return;
    }
    Tcustomers_ins& w = tavrin::window<Tcustomers_ins>();
    connect(&w, &Tcustomers_ins::saved, this, &Tcustomers_src::refreshCustomer, Qt::UniqueConnection);
    connect(&w, &Tcustomers_ins::added, this, &Tcustomers_src::showAdded, Qt::UniqueConnection);
    w.prepareEdit(*row);
    w.showModal();
}

void Tcustomers_src::N5Click()
{
    const qint64 id = currentCustomerId();
    if (id == 0 || !m_rights.hazf)
        return;
    if (!askDeletePassword(custext::kDeletePrompt))
        return;
    Outcome r;
    try {
        r = deleteCustomer(id);
    } catch (const DbError& e) {
        reportFailure(custext::kDeleteFailed, e);
        return;
    }
    r.show();
    refreshCustomer(id);
}

void Tcustomers_src::N8Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(QStringLiteral("customers"), *m, excelHeaders());
}

void Tcustomers_src::N20Click()
{
    if (DBGrid1->listModel()->query().isEmpty())
        return;
    printCustomerList(*DBGrid1->listModel());
}

void Tcustomers_src::SMS1Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = folder.isEmpty() ? custext::kMobilesFile : QDir(folder).filePath(custext::kMobilesFile);
    const QString path = dialogs().saveFile(custext::kMobilesSaveTitle, QStringLiteral("Text (*.txt)"), suggested);
    if (path.isEmpty())
        return;
    QString content;
    try {
        // A cancelled read writes no file.
        content = mobilesText([m](const RecordVisitor& visit) {
            if (!m->forEachRow(kReadingList, visit))
                throw ReadCancelled();
        });
    } catch (const ReadCancelled&) {
        return;
    } catch (const DbError& e) {
        reportFailure(custext::kMobilesFailed, e);
        return;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content.toUtf8()) < 0 || !f.commit()) {
        qWarning().noquote() << "mobile numbers not written:" << path << f.errorString();
        dialogs().error(custext::kMobilesFailed);
        return;
    }
    dialogs().openWithDesktop(path);
}

void Tcustomers_src::N50Click()
{
    Tnation_cod& w = tavrin::window<Tnation_cod>();
    if (auto* e = w.findChild<QLineEdit*>(QStringLiteral("nation")))
        e->setText(custext::kNationPreset);
    if (auto* l = w.findChild<QLabel*>(QStringLiteral("result")))
        l->setText(custext::kNationResult);
    dialogs().exec(&w);
}

void Tcustomers_src::N10Click()
{
    reject();
}

void Tcustomers_src::openEntry(const QString& entry)
{
    const ApplicantWindow* w = applicantWindow(entry);
    if (!w)
        return;
    const qint64 id = currentCustomerId();
    if (w->needsRow && id == 0)
        return;
    openApplicantWindow(entry, w->needsRow ? id : 0, this, height(), [this, id] {
        if (id > 0)
            refreshCustomer(id);
    });
}

void newApplicantForUnit(const QSqlRecord& project, const QSqlRecord& unit)
{
    std::optional<QSqlRecord> prj, u;
    std::optional<Rights> rights;
    try {
        prj = dm().firstRow(QStringLiteral("select * from projects where id=?"), {project.value(QStringLiteral("id"))});
        u = dm().firstRow(QStringLiteral("select * from vahedha where id=?"), {unit.value(QStringLiteral("id"))});
        rights = readRights(QStringLiteral("customers"));
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    if (!prj || text(prj->value(QStringLiteral("status"))) != items::freeStatus()) {
        dialogs().error(custext::kProjectNotActive);
        return;
    }
    if (!u || text(u->value(QStringLiteral("status"))) != items::freeStatus()) {
        dialogs().error(custext::kUnitNotActive);
        return;
    }
    // No rights row gives no right: the main menu would not open the page either.
    if (!rights || !rights->darj || !rights->namayesh) {
        dialogs().error(custext::kNoInsertRight);
        return;
    }
    Tcustomers_ins& w = tavrin::window<Tcustomers_ins>();
    w.prepareNewForUnit(*prj, *u);
    w.showModal();
}

void showProjectApplicants(const QSqlRecord& project, const std::function<void(QWidget*)>& fit)
{
    if (!pageRights(QStringLiteral("customers"),
                    [](const Rights& r) { tavrin::window<Tcustomers_src>().applyRights(r); }))
        return;
    Tcustomers_src& w = tavrin::window<Tcustomers_src>();
    if (fit)
        fit(&w);
    w.showProject(project);
    w.showModal();
}

} // namespace tavrin
