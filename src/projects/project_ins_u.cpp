#include "projects/project_ins_u.h"

#include "projects/project_texts.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace projects;

namespace {

QString captionOf(const QString& column)
{
    for (const auto& [c, caption] : prjtext::kFieldCaptions)
        if (c == column)
            return caption;
    return column;
}

QComboBox* pickList(QWidget* parent, const QString& name)
{
    QComboBox* c = makeCombo(parent, name);
    c->setMinimumWidth(220);
    if (const int length = columnLength(QStringLiteral("projects"), name))
        c->lineEdit()->setMaxLength(length);
    return c;
}

QLineEdit* textField(QWidget* parent, const QString& name)
{
    QLineEdit* e = makeEdit(parent, name, columnLength(QStringLiteral("projects"), name));
    // A code or a plot number of digits stays on the right like the Persian texts.
    e->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    return e;
}

QLineEdit* countField(QWidget* parent, const QString& name)
{
    QLineEdit* e = makeEdit(parent, name, 9);
    installDigitFilter(e);
    e->setMaximumWidth(120);
    return e;
}

// Sets an editable pick list's text without starting its change handlers.
// Refills a pick list and keeps what is typed in it.
void refill(QComboBox* c, const QStringList& items)
{
    const QString typed = c->currentText();
    fillCombo(c, items);
    setComboText(c, typed);
}

} // namespace

Tproject_ins::Tproject_ins() : TWindow(QStringLiteral("Tproject_ins"), prjtext::kInsCaption)
{
    ostan = pickList(this, QStringLiteral("ostan"));
    shahrestan = pickList(this, QStringLiteral("shahrestan"));
    shahr = pickList(this, QStringLiteral("shahr"));
    rosta = pickList(this, QStringLiteral("rosta"));
    prj_cod = textField(this, QStringLiteral("prj_cod"));
    prj_name = pickList(this, QStringLiteral("prj_name"));
    prj_typ = pickList(this, QStringLiteral("prj_typ"));
    prot_typ = pickList(this, QStringLiteral("prot_typ"));
    status = pickList(this, QStringLiteral("status"));
    st_tavrin = pickList(this, QStringLiteral("st_tavrin"));
    zamin_pelak = textField(this, QStringLiteral("zamin_pelak"));
    zamin_adr = textField(this, QStringLiteral("zamin_adr"));
    cmt = textField(this, QStringLiteral("cmt"));
    vahed_kol = countField(this, QStringLiteral("vahed_kol"));
    vahed_cnt = countField(this, QStringLiteral("vahed_cnt"));
    vahed_f = countField(this, QStringLiteral("vahed_f"));
    anbari_cnt = countField(this, QStringLiteral("anbari_cnt"));
    parking_cnt = countField(this, QStringLiteral("parking_cnt"));
    expire_dat = makeDateEdit(this, QStringLiteral("expire_dat"));
    sakht_dat = makeDateEdit(this, QStringLiteral("sakht_dat"));
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), prjtext::kInsert);
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), prjtext::kEdit);
    for (QPushButton* b : {ins_btn, edit_btn})
        b->setMinimumWidth(140);

    // The place and identity on the right, the counts and dates on the left.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    const auto addRow = [&](int row, int side, const QString& column, QWidget* w, QWidget* note = nullptr) {
        grid->addWidget(makeLabel(this, captionOf(column)), row, side * 2, Qt::AlignLeft | Qt::AlignVCenter);
        if (note) {
            auto* box = new QHBoxLayout;
            box->addWidget(w);
            box->addWidget(note);
            box->addStretch();
            grid->addLayout(box, row, side * 2 + 1);
        } else if (qobject_cast<QLineEdit*>(w) && w->maximumWidth() < 1000) {
            auto* box = new QHBoxLayout;
            box->addWidget(w);
            box->addStretch();
            grid->addLayout(box, row, side * 2 + 1);
        } else {
            grid->addWidget(w, row, side * 2 + 1);
        }
    };
    int r = 0;
    for (const auto& [column, w] : std::initializer_list<std::pair<QString, QWidget*>> {
             {QStringLiteral("ostan"), ostan}, {QStringLiteral("shahrestan"), shahrestan}, {QStringLiteral("shahr"), shahr},
             {QStringLiteral("rosta"), rosta}, {QStringLiteral("prj_cod"), prj_cod}, {QStringLiteral("prj_name"), prj_name},
             {QStringLiteral("prj_typ"), prj_typ}, {QStringLiteral("prot_typ"), prot_typ}, {QStringLiteral("status"), status},
             {QStringLiteral("st_tavrin"), st_tavrin}})
        addRow(r++, 0, column, w);
    r = 0;
    for (const auto& [column, w] : std::initializer_list<std::pair<QString, QWidget*>> {
             {QStringLiteral("vahed_kol"), vahed_kol}, {QStringLiteral("vahed_cnt"), vahed_cnt},
             {QStringLiteral("vahed_f"), vahed_f}, {QStringLiteral("anbari_cnt"), anbari_cnt},
             {QStringLiteral("parking_cnt"), parking_cnt}, {QStringLiteral("expire_dat"), expire_dat},
             {QStringLiteral("sakht_dat"), sakht_dat}})
        addRow(r++, 1, column, w, column == QLatin1String("vahed_cnt") ? makeLabel(this, prjtext::kLicensedNote) : nullptr);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    grid->setColumnMinimumWidth(2, 20);

    auto* land = new QGridLayout;
    land->setVerticalSpacing(6);
    int lr = 0;
    for (const auto& [column, w] : std::initializer_list<std::pair<QString, QWidget*>> {
             {QStringLiteral("zamin_pelak"), zamin_pelak}, {QStringLiteral("zamin_adr"), zamin_adr}, {QStringLiteral("cmt"), cmt}}) {
        land->addWidget(makeLabel(this, captionOf(column)), lr, 0, Qt::AlignLeft | Qt::AlignVCenter);
        land->addWidget(w, lr++, 1);
    }
    land->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    buttons->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(16, 14, 16, 14);
    top->setSpacing(12);
    top->addLayout(grid);
    top->addLayout(land);
    top->addLayout(buttons);
    setMinimumWidth(860);

    connect(ostan, &QComboBox::currentTextChanged, this, &Tproject_ins::ostanChange);
    connect(shahrestan, &QComboBox::currentTextChanged, this, &Tproject_ins::shahrestanChange);
    connect(shahr, &QComboBox::currentTextChanged, this, &Tproject_ins::shahrChange);
    connect(ins_btn, &QPushButton::clicked, this, &Tproject_ins::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tproject_ins::edit_btnClick);
    setSaveButtons({ins_btn, edit_btn});
    onFieldExit(vahed_kol, [this] { countExit(vahed_kol); });
    onFieldExit(vahed_cnt, [this] { countExit(vahed_cnt); });
}

QWidget* Tproject_ins::field(const QString& column) const
{
    return findChild<QWidget*>(column);
}

projects::ProjectValues Tproject_ins::values() const
{
    ProjectValues v;
    for (const QString& c : projectColumns()) {
        QWidget* w = field(c);
        if (auto* date = qobject_cast<TDateEdit*>(w))
            v.insert(c, date->dateText());
        else if (auto* combo = qobject_cast<QComboBox*>(w))
            v.insert(c, combo->currentText());
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            v.insert(c, edit->text());
    }
    return v;
}

void Tproject_ins::setValues(const projects::ProjectValues& v)
{
    for (const QString& c : projectColumns()) {
        QWidget* w = field(c);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            setComboText(combo, v.value(c));
        else if (auto* edit = qobject_cast<QLineEdit*>(w))
            edit->setText(v.value(c));
    }
}

Tproject_ins::Lists Tproject_ins::addLists(ListBatch& b)
{
    Lists n;
    n.provinces = b.provinces();
    n.contractTypes = b.setting(prjtext::kSettingContractType);
    n.projectTypes = b.setting(prjtext::kSettingProjectType);
    n.statuses = b.setting(prjtext::kSettingProjectStatus);
    n.saleStates = b.setting(prjtext::kSettingSaleState);
    return n;
}

void Tproject_ins::fillLists(const ListBatch& b, const Lists& n)
{
    {
        // The typed province stays (the list is filled again under it).
        const QString typed = ostan->currentText();
        const QSignalBlocker block(ostan);
        fillCombo(ostan, b.list(n.provinces));
        ostan->setEditText(typed);
    }
    fillCombo(prot_typ, b.list(n.contractTypes));
    fillCombo(prj_typ, b.list(n.projectTypes));
    fillCombo(status, b.list(n.statuses));
    fillCombo(st_tavrin, b.list(n.saleStates));
}

void Tproject_ins::prepareNew()
{
    m_id = 0;
    m_before.clear();
    try {
        ListBatch b;
        const Lists n = addLists(b);
        b.read();
        fillLists(b, n);
    } catch (const DbError&) {
        // The lists stay as they were; the fields can still be typed.
    }
    ProjectValues v;
    for (const QString& c : projectColumns())
        v.insert(c, QString());
    v[QStringLiteral("status")] = prjtext::kActive;
    for (const QString& c : countColumns())
        v[c] = QStringLiteral("0");
    setValues(v);
    for (QComboBox* c : {shahrestan, shahr, rosta, prj_name})
        fillCombo(c, {});
    ins_btn->setVisible(true);
    edit_btn->setVisible(false);
    ostan->setFocus();
}

void Tproject_ins::prepareEdit(const QSqlRecord& project)
{
    m_id = project.value(QStringLiteral("id")).toLongLong();
    m_before = valuesOf(project);
    try {
        // The whole cascade in one statement.
        const QString o = m_before.value(QStringLiteral("ostan"));
        const QString sh = m_before.value(QStringLiteral("shahrestan"));
        ListBatch b;
        const Lists n = addLists(b);
        const int countyList = b.grantedCounties(o);
        const int names = b.settingOst(o, prjtext::kSettingProjectName);
        const int cityList = b.cities(o, sh);
        const int villages = b.distinct(QStringLiteral("rosta"), QStringLiteral("from abadiha where ostan=? and shahrestan=? and shahr=?"),
                                        {o, sh, m_before.value(QStringLiteral("shahr"))});
        b.read();
        fillLists(b, n);
        fillCombo(shahrestan, b.list(countyList));
        fillCombo(prj_name, b.list(names));
        fillCombo(shahr, b.list(cityList));
        fillCombo(rosta, b.list(villages));
    } catch (const DbError&) {
        // The lists stay as they were; the fields can still be typed.
    }
    setValues(m_before);
    ins_btn->setVisible(false);
    edit_btn->setVisible(true);
    ostan->setFocus();
}

void Tproject_ins::ostanChange()
{
    try {
        fillCombo(shahrestan, grantedCounties(ostan->currentText()));
        refill(prj_name, settingListOst(ostan->currentText(), prjtext::kSettingProjectName));
    } catch (const DbError&) {
    }
    shahrestanChange();
}

void Tproject_ins::shahrestanChange()
{
    try {
        fillCombo(shahr, cities(ostan->currentText(), shahrestan->currentText()));
    } catch (const DbError&) {
    }
    shahrChange();
}

void Tproject_ins::shahrChange()
{
    try {
        fillCombo(rosta, dm().textColumn(QStringLiteral("select distinct rosta from abadiha where ostan=? and shahrestan=? and shahr=?"),
                                         {ostan->currentText(), shahrestan->currentText(), shahr->currentText()}));
    } catch (const DbError&) {
    }
}

void Tproject_ins::countExit(QLineEdit* left)
{
    QString kol = vahed_kol->text();
    QString cnt = vahed_cnt->text();
    const bool exceeds = licensedExceedsTotal(kol, cnt);
    vahed_kol->setText(kol);
    vahed_cnt->setText(cnt);
    if (exceeds) {
        dialogs().error(prjtext::kUnitsOverTotal);
        left->setFocus(Qt::OtherFocusReason);
    }
}

void Tproject_ins::showRefusal(const Outcome& r)
{
    dialogs().error(r.message());
    if (QWidget* w = field(r.focus))
        w->setFocus(Qt::OtherFocusReason);
}

void Tproject_ins::ins_btnClick()
{
    ProjectValues v = values();
    Outcome r;
    try {
        r = insertProject(v);
    } catch (const DbError& e) {
        reportFailure(kSaveFailed, e);
        return;
    }
    // The save fills in the sale state, city and village-town as it stored them.
    setComboText(st_tavrin, v.value(QStringLiteral("st_tavrin")));
    setComboText(shahr, v.value(QStringLiteral("shahr")));
    setComboText(rosta, v.value(QStringLiteral("rosta")));
    if (!r.done) {
        showRefusal(r);
        return;
    }
    dialogs().information(prjtext::kSaved);
    Q_EMIT saved(r.id);
}

void Tproject_ins::edit_btnClick()
{
    ProjectValues v = values();
    Outcome r;
    try {
        r = updateProject(m_id, m_before, v);
    } catch (const DbError& e) {
        reportFailure(kSaveFailed, e);
        return;
    }
    if (r.changedByOther) {
        askToReload(r.message());
        return;
    }
    setComboText(st_tavrin, v.value(QStringLiteral("st_tavrin")));
    setComboText(shahr, v.value(QStringLiteral("shahr")));
    setComboText(rosta, v.value(QStringLiteral("rosta")));
    if (!r.done) {
        showRefusal(r);
        return;
    }
    m_before = v;
    Q_EMIT saved(r.id);
    accept();
}

void Tproject_ins::askToReload(const QString& message)
{
    if (!offerReload(message))
        return;
    std::optional<QSqlRecord> project;
    try {
        project = dm().firstRow(QStringLiteral("select *,vahed_kol-vahed_f as mande from projects where id=?"), {m_id});
    } catch (const DbError& e) {
        reportFailure(kSaveFailed, e);
        return;
    }
    if (!project) {
        dialogs().error(kProjectGone);
        reject();
        return;
    }
    prepareEdit(*project);
}

} // namespace tavrin

#include "moc_project_ins_u.cpp"
