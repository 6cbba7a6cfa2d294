#include "project_tashilat_u.h"

#include "facility_texts.h"
#include "item_rules.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

using namespace factext;

namespace {

const QString kYellow = QStringLiteral("background-color: yellow;");

void highlight(QWidget* w, bool on)
{
    w->setStyleSheet(on ? kYellow : QString());
}

QComboBox* pickList(QWidget* parent, const char* name)
{
    QComboBox* c = makeCombo(parent, QString::fromLatin1(name));
    if (const int len = columnLength(QStringLiteral("tashilat"), QString::fromLatin1(name)))
        c->lineEdit()->setMaxLength(len);
    c->setMinimumWidth(170);
    return c;
}

QLineEdit* amountField(QWidget* parent, const char* name)
{
    QLineEdit* e = makeEdit(parent, QString::fromLatin1(name), 15);
    installDigitFilter(e);
    e->setMinimumWidth(150);
    return e;
}

QString grouped(qint64 v)
{
    return formatAmount(v);
}

} // namespace

Tproject_tashilat::Tproject_tashilat() : TWindow(QStringLiteral("Tproject_tashilat"), kFacilitiesCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);

    // The project
    prj_name = makeEdit(this, QStringLiteral("prj_name"));
    ostan = makeEdit(this, QStringLiteral("ostan"));
    shahrestan = makeEdit(this, QStringLiteral("shahrestan"));
    for (QLineEdit* e : {prj_name, ostan, shahrestan}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setStyleSheet(QStringLiteral("background-color: #f0f0f0;"));
    }
    auto* projectBox = new QGroupBox(this);
    auto* pl = new QHBoxLayout(projectBox);
    pl->setContentsMargins(8, 4, 8, 4);
    pl->addWidget(makeLabel(this, kPrjNameCaption));
    pl->addWidget(prj_name, 3);
    pl->addWidget(makeLabel(this, kOstanCaption));
    pl->addWidget(ostan, 2);
    pl->addWidget(makeLabel(this, QString::fromUtf16(u"شهرستان")));
    pl->addWidget(shahrestan, 2);

    // The facility
    prot_typ = pickList(this, "prot_typ");
    bank = pickList(this, "bank");
    etebar_loc = pickList(this, "etebar_loc");
    mablagh = amountField(this, "mablagh");
    daryafti = amountField(this, "daryafti");
    mablagh_3harfi = makeGroupedLabel(this, "mablagh_3harfi", 130);
    daryafti_3harfi = makeGroupedLabel(this, "daryafti_3harfi", 130);
    takhsis_dat = makeDateEdit(this, QStringLiteral("takhsis_dat"));
    dat1 = makeDateEdit(this, QStringLiteral("dat1"));
    dat2 = makeDateEdit(this, QStringLiteral("dat2"));
    tamdid_dat = makeDateEdit(this, QStringLiteral("tamdid_dat"));
    darsad = new TRealEdit(this);
    darsad->setObjectName(QStringLiteral("darsad"));
    darsad->setMaxLength(10);
    darsad->setFixedWidth(110);
    vahed_cnt = makeEdit(this, QStringLiteral("vahed_cnt"), 6);
    installDigitFilter(vahed_cnt);
    vahed_cnt->setFixedWidth(110);
    cmt = makeEdit(this, QStringLiteral("cmt"), columnLength(QStringLiteral("tashilat"), QStringLiteral("cmt")));
    mablaghCaption = makeLabel(this, kMablaghCaption, QStringLiteral("mablagh_caption"));
    dat1Caption = makeLabel(this, kDat1Caption, QStringLiteral("dat1_caption"));

    auto* formBox = new QGroupBox(this);
    auto* g = new QGridLayout(formBox);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(6);
    const auto caption = [this, g](int row, int col, QWidget* label) {
        g->addWidget(label, row, col, Qt::AlignLeft | Qt::AlignVCenter);
    };
    const auto text = [this](const QString& t) { return makeLabel(this, t); };
    // Row 0: what the facility is.
    caption(0, 0, text(kProtTypCaption));
    g->addWidget(prot_typ, 0, 1);
    caption(0, 2, text(kBankCaption));
    g->addWidget(bank, 0, 3);
    caption(0, 4, text(kEtebarLocCaption));
    g->addWidget(etebar_loc, 0, 5, 1, 3);
    // Row 1: the amounts, each with its digits grouped in threes.
    const auto amount = [this](QLineEdit* field, QLabel* digits) {
        auto* box = new QHBoxLayout;
        box->setSpacing(6);
        box->addWidget(field);
        box->addWidget(digits);
        box->addWidget(makeLabel(this, kRial));
        box->addStretch();
        return box;
    };
    caption(1, 0, mablaghCaption);
    g->addLayout(amount(mablagh, mablagh_3harfi), 1, 1, 1, 3);
    caption(1, 4, text(kDaryaftiCaption.trimmed()));
    g->addLayout(amount(daryafti, daryafti_3harfi), 1, 5, 1, 3);
    // Row 2: the dates.
    caption(2, 0, text(kTakhsisDatCaption));
    g->addWidget(takhsis_dat, 2, 1, Qt::AlignRight);
    caption(2, 2, dat1Caption);
    g->addWidget(dat1, 2, 3, Qt::AlignRight);
    caption(2, 4, text(kDat2Caption));
    g->addWidget(dat2, 2, 5, Qt::AlignRight);
    caption(2, 6, text(kTamdidDatCaption));
    g->addWidget(tamdid_dat, 2, 7, Qt::AlignRight);
    // Row 3: percentage, units, remarks.
    caption(3, 0, text(kDarsadCaption));
    g->addWidget(darsad, 3, 1, Qt::AlignRight);
    caption(3, 2, text(kVahedCntCaption));
    g->addWidget(vahed_cnt, 3, 3, Qt::AlignRight);
    caption(3, 4, text(kCmtCaption));
    g->addWidget(cmt, 3, 5, 1, 3);
    for (int c : {1, 3, 5})
        g->setColumnStretch(c, 1);

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kInsert);
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), kEdit);
    for (QPushButton* b : {ins_btn, edit_btn}) {
        b->setMinimumWidth(120);
        b->setMinimumHeight(30);
    }
    auto* receivedNote = makeLabel(this, kReceivedNote);
    receivedNote->setWordWrap(true);
    receivedNote->setStyleSheet(QStringLiteral("color: #b00000;"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    buttons->addSpacing(12);
    buttons->addWidget(receivedNote, 1);

    // The list
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const ColumnKind money = ColumnKind::Money;
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("prot_typ"), kProtTypCaption},
        {QStringLiteral("bank"), kSettingBank},
        {QStringLiteral("mablagh"), kMablaghCaption, money},
        {QStringLiteral("daryafti"), kColDaryafti, money},
        {QStringLiteral("etebar_loc"), kEtebarLocCaption},
        {QStringLiteral("takhsis_dat"), kColTakhsisDat},
        {QStringLiteral("dat1"), kColDat1},
        {QStringLiteral("vahed_cnt"), kVahedCntCaption},
        {QStringLiteral("darsad"), kColDarsad},
        {QStringLiteral("dat2"), kDat2Caption},
        {QStringLiteral("tamdid_dat"), kColTamdidDat},
        {QStringLiteral("cmt"), kCmtCaption},
        {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true},
        {QStringLiteral("prj_id"), QStringLiteral("prj_id"), ColumnKind::Number, true},
    });
    DBGrid1->horizontalHeader()->setDefaultSectionSize(110);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    const auto entry = [popup](const char* name, const QString& text) {
        auto* a = new QAction(text, popup);
        a->setObjectName(QString::fromLatin1(name));
        popup->addAction(a);
        return a;
    };
    N3 = entry("N3", kEdit);
    N1 = entry("N1", kDelete);
    N2 = entry("N2", kExcel);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        const QModelIndex index = DBGrid1->indexAt(at);
        if (index.isValid()) {
            DBGrid1->setCurrentIndex(index);
            DBGrid1CellClick();
        }
        popup->popup(DBGrid1->viewport()->mapToGlobal(at));
    });

    vahed_tashilat_sum = makeGroupedLabel(this, "vahed_tashilat_sum", 130);
    mande = makeGroupedLabel(this, "mande", 130);
    vahed_tashilat_sum->clear();
    mande->clear();
    auto* usage = new QHBoxLayout;
    usage->addWidget(makeLabel(this, kUsedNote));
    usage->addWidget(vahed_tashilat_sum);
    usage->addSpacing(24);
    usage->addWidget(makeLabel(this, kRemainingCaption));
    usage->addWidget(mande);
    usage->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(projectBox);
    top->addWidget(formBox);
    top->addLayout(buttons);
    top->addWidget(DBGrid1, 1);
    top->addLayout(usage);
    resize(1260, 660);

    connect(prot_typ, &QComboBox::currentTextChanged, this, &Tproject_tashilat::prot_typChange);
    connect(mablagh, &QLineEdit::textChanged, this, [this] {
        // Under civil partnership the whole facility is received at once.
        if (prot_typ->currentText() == kCivilPartnership)
            daryafti->setText(mablagh->text());
        updateGroupedLabels();
    });
    connect(daryafti, &QLineEdit::textChanged, this, &Tproject_tashilat::updateGroupedLabels);
    onFieldExit(mablagh, [this] {
        const QString m = facilities::totalExitMessage(mablagh->text(), daryafti->text());
        if (!m.isEmpty()) {
            dialogs().error(m);
            mablagh->setFocus();
        }
    });
    onFieldExit(daryafti, [this] {
        const QString m = facilities::receivedExitMessage(mablagh->text(), daryafti->text());
        if (!m.isEmpty()) {
            dialogs().error(m);
            daryafti->setFocus();
        }
    });
    connect(ins_btn, &QPushButton::clicked, this, &Tproject_tashilat::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tproject_tashilat::edit_btnClick);
    connect(N3, &QAction::triggered, this, &Tproject_tashilat::N3Click);
    connect(N1, &QAction::triggered, this, &Tproject_tashilat::N1Click);
    connect(N2, &QAction::triggered, this, &Tproject_tashilat::N2Click);
    connect(DBGrid1, &DBGrid::rowClicked, this, &Tproject_tashilat::DBGrid1CellClick);
    // Moving through the list with the keys shows the figures as a click does.
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    DBGrid1CellClick();
            });

    // Right to left, top to bottom.
    const QList<QWidget*> order {prot_typ, bank, etebar_loc, mablagh, daryafti, takhsis_dat, dat1, dat2,
                                 tamdid_dat, darsad, vahed_cnt, cmt, ins_btn, edit_btn, DBGrid1};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setInsertMode(true);
}

void Tproject_tashilat::applyRights(const Rights& tashilat)
{
    m_rights = tashilat;
    ins_btn->setEnabled(tashilat.darj);
    edit_btn->setEnabled(tashilat.virayesh);
    N3->setEnabled(tashilat.virayesh);
    N1->setEnabled(tashilat.hazf);
}

void Tproject_tashilat::fillLists()
{
    const std::pair<QComboBox*, const QString&> lists[] = {
        {prot_typ, kSettingContractType}, {bank, kSettingBank}, {etebar_loc, kSettingCreditSource}};
    for (const auto& [combo, key] : lists) {
        QStringList items;
        try {
            items = settingList(key);
        } catch (const DbError& e) {
            reportFailure(kListFailed, e);
            return;
        }
        const QSignalBlocker block(combo);
        fillCombo(combo, items);
    }
}

void Tproject_tashilat::prepare(const QSqlRecord& project)
{
    m_project = project;
    prj_name->setText(items::fieldValue(project, "prj_name"));
    ostan->setText(items::fieldValue(project, "ostan"));
    shahrestan->setText(items::fieldValue(project, "shahrestan"));
    fillLists();
    clearForm();
    setInsertMode(true);
    refreshList();
    // Titles and the first rows decide the widths on opening; the user may change them after.
    DBGrid1->resizeColumnsToContents();
    for (int c = 0; c < DBGrid1->listModel()->columnCount(); ++c)
        DBGrid1->setColumnWidth(c, std::min(DBGrid1->columnWidth(c) + 8, 260));
    prot_typ->setFocus();
}

void Tproject_tashilat::clearForm()
{
    setComboText(prot_typ, QString());
    for (QComboBox* c : {bank, etebar_loc})
        setComboText(c, QString());
    for (QLineEdit* e : {takhsis_dat, dat1, dat2, tamdid_dat, cmt})
        e->clear();
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{mablagh, daryafti, darsad, vahed_cnt})
        e->setText(QStringLiteral("0"));
    vahed_tashilat_sum->clear();
    mande->clear();
    prot_typChange();
    updateGroupedLabels();
}

void Tproject_tashilat::setInsertMode(bool insert)
{
    if (insert) {
        m_editedId = 0;
        m_read = QSqlRecord();
    }
    ins_btn->setVisible(insert);
    edit_btn->setVisible(!insert);
    // Enter in the form saves as the visible button does.
    ins_btn->setDefault(insert);
    edit_btn->setDefault(!insert);
}

void Tproject_tashilat::refreshList()
{
    try {
        DBGrid1->listModel()->setQuery(facilities::facilityListQuery(items::recordId(m_project)));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        reportFailure(kListFailed, e);
    }
}

void Tproject_tashilat::updateGroupedLabels()
{
    const auto show = [](QLabel* l, const QString& digits) {
        const QString g = groupAmount(digits);
        l->setText(g.isEmpty() ? QStringLiteral("0") : g);
    };
    show(mablagh_3harfi, mablagh->text());
    show(daryafti_3harfi, daryafti->text());
}

void Tproject_tashilat::prot_typChange()
{
    const QString type = prot_typ->currentText();
    const bool supportive = type == kSupportive;
    const bool partnership = type == kCivilPartnership;
    const QList<QWidget*> ruled {etebar_loc, takhsis_dat, daryafti, dat1, vahed_cnt, cmt,
                                 mablagh,    darsad,      bank,     dat2, tamdid_dat};
    if (!supportive && !partnership) {
        // Other contract types: every field open and in its normal colour, the
        // values as they are (a field closed by an earlier choice opens again).
        for (QWidget* w : ruled) {
            w->setEnabled(true);
            highlight(w, false);
        }
        mablaghCaption->setText(kMablaghCaption);
        dat1Caption->setText(kDat1Caption);
        return;
    }
    const auto fill = [](QWidget* w) {
        w->setEnabled(true);
        highlight(w, true);
    };
    const auto close = [](QWidget* w) {
        w->setEnabled(false);
        highlight(w, false);
    };
    if (supportive) {
        for (QWidget* w : std::initializer_list<QWidget*>{etebar_loc, takhsis_dat, daryafti, dat1, vahed_cnt, cmt, mablagh})
            fill(w);
        mablaghCaption->setText(kMablaghCaptionSupportive);
        dat1Caption->setText(kDat1CaptionSupportive);
        darsad->setText(QStringLiteral("0"));
        close(darsad);
        setComboText(bank, kNotApplicable);
        close(bank);
        for (QLineEdit* e : {dat2, tamdid_dat}) {
            e->clear();
            close(e);
        }
    } else {
        setComboText(etebar_loc, kNotApplicable);
        close(etebar_loc);
        mablaghCaption->setText(kMablaghCaptionPartnership);
        takhsis_dat->clear();
        close(takhsis_dat);
        dat1Caption->setText(kDat1CaptionPartnership);
        for (QWidget* w : std::initializer_list<QWidget*>{daryafti, dat1, vahed_cnt, cmt, mablagh, darsad, bank, dat2, tamdid_dat})
            fill(w);
    }
}

facilities::FacilityForm Tproject_tashilat::form() const
{
    facilities::FacilityForm f;
    f.prot_typ = prot_typ->currentText();
    f.bank = bank->currentText();
    f.etebar_loc = etebar_loc->currentText();
    f.mablagh = mablagh->text();
    f.daryafti = daryafti->text();
    // A masked date's display text is the empty date mask when nothing was typed.
    f.takhsis_dat = takhsis_dat->displayText();
    f.dat1 = dat1->displayText();
    f.dat2 = dat2->displayText();
    f.tamdid_dat = tamdid_dat->displayText();
    f.darsad = darsad->text();
    f.vahed_cnt = vahed_cnt->text();
    f.cmt = cmt->text();
    return f;
}

void Tproject_tashilat::showForm(const facilities::FacilityForm& f)
{
    // The contract type first: its rules run, then the stored values take their places.
    prot_typ->setEditText(f.prot_typ);
    setComboText(bank, f.bank);
    setComboText(etebar_loc, f.etebar_loc);
    {
        const QSignalBlocker block(mablagh);  // the partnership copy must not overwrite the stored received amount
        mablagh->setText(f.mablagh);
    }
    daryafti->setText(f.daryafti);
    takhsis_dat->setText(f.takhsis_dat);
    dat1->setText(f.dat1);
    dat2->setText(f.dat2);
    tamdid_dat->setText(f.tamdid_dat);
    darsad->setText(f.darsad);
    vahed_cnt->setText(f.vahed_cnt);
    cmt->setText(f.cmt);
    updateGroupedLabels();
}

void Tproject_tashilat::focusField(const QString& name)
{
    if (name.isEmpty())
        return;
    if (auto* w = findChild<QWidget*>(name))
        w->setFocus();
}

qint64 Tproject_tashilat::currentId() const
{
    const QSqlRecord row = DBGrid1->currentRecord();
    return row.isEmpty() ? 0 : items::recordId(row);
}

void Tproject_tashilat::ins_btnClick()
{
    if (!m_rights.darj || m_project.isEmpty())
        return;
    if (daryafti->text().trimmed().isEmpty())
        daryafti->setText(QStringLiteral("0"));
    Outcome r;
    try {
        r = facilities::insertFacility(items::recordId(m_project), form());
    } catch (const DbError& e) {
        reportFailure(kFacilitySaveFailed, e);
        return;
    }
    r.show();
    if (!r.done) {
        focusField(r.focus);
        return;
    }
    refreshList();
}

void Tproject_tashilat::edit_btnClick()
{
    if (!m_rights.virayesh || m_editedId == 0)
        return;
    if (daryafti->text().trimmed().isEmpty())
        daryafti->setText(QStringLiteral("0"));
    Outcome r;
    try {
        r = facilities::updateFacility(m_editedId, form(), m_read);
    } catch (const DbError& e) {
        reportFailure(kFacilitySaveFailed, e);
        return;
    }
    if (r.changedByOther) {
        askToReload(r);
        return;
    }
    r.show();
    if (!r.done) {
        // The edit stays open, so that the corrected values are saved to this facility.
        focusField(r.focus);
        return;
    }
    const qint64 id = m_editedId;
    setInsertMode(true);
    refreshList();
    // The edited facility stays the current row where it still is in the list.
    ListModel* m = DBGrid1->listModel();
    for (int row = 0; row < m->rowCount(); ++row)
        if (m->value(row, QStringLiteral("id")).toLongLong() == id) {
            DBGrid1->setCurrentIndex(m->index(row, 0));
            break;
        }
}

void Tproject_tashilat::N3Click()
{
    if (!m_rights.virayesh)
        return;
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    showForm(facilities::formOf(row));
    setInsertMode(false);
    m_editedId = items::recordId(row);
    m_read = row;
    prot_typ->setFocus();
}

void Tproject_tashilat::askToReload(const Outcome& r)
{
    if (!offerReload(r.texts().join(QLatin1Char('\n'))))
        return;
    std::optional<QSqlRecord> row;
    try {
        row = dm().firstRow(QStringLiteral("select * from tashilat where id=?"), {m_editedId});
    } catch (const DbError& e) {
        reportFailure(kFacilitySaveFailed, e);
        return;
    }
    if (!row) {
        // Deleted meanwhile: the form is for a new facility again.
        clearForm();
        setInsertMode(true);
        refreshList();
        return;
    }
    showForm(facilities::formOf(*row));
    m_read = *row;
    refreshList();
    prot_typ->setFocus();
}

void Tproject_tashilat::N1Click()
{
    if (!m_rights.hazf)
        return;
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    const qint64 id = items::recordId(row);
    showForm(facilities::formOf(row));
    setInsertMode(true);
    Outcome r;
    try {
        if (facilities::hasLoans(id)) {
            dialogs().error(kDeleteRefused);
            return;
        }
        if (!items::askDeletePassword())
            return;
        r = facilities::deleteFacility(id);
    } catch (const DbError& e) {
        reportFailure(kFacilityDeleteFailed, e);
        return;
    }
    r.show();
    if (!r.done)
        return;
    refreshList();
    vahed_tashilat_sum->clear();
    mande->clear();
    prot_typChange();
}

void Tproject_tashilat::N2Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(QStringLiteral("tashilat"), *m, facilities::facilityExcelHeaders());
}

void Tproject_tashilat::DBGrid1CellClick()
{
    const qint64 id = currentId();
    if (id == 0)
        return;
    std::optional<facilities::Usage> u;
    try {
        u = facilities::usage(id);
    } catch (const DbError& e) {
        reportFailure(kListFailed, e);
        return;
    }
    if (!u) {
        vahed_tashilat_sum->clear();
        mande->clear();
        return;
    }
    vahed_tashilat_sum->setText(grouped(u->used));
    mande->setText(grouped(u->remaining()));
}

} // namespace tavrin
