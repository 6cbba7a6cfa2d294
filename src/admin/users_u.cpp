#include "users_u.h"

#include "useradmin.h"
#include "users_ins_u.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/history_view.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/session.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
const QString kKarbaran = QStringLiteral("karbaran");

QToolButton* plusButton(QWidget* parent, const QString& name)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QStringLiteral("+"));
    b->setMinimumSize(28, 26);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}
} // namespace

const QString Tusers::kSelectUser = QStringLiteral("ابتدا کاربر را از ليست انتخاب نماييد");
const QString Tusers::kSearchFailed = QStringLiteral("خطا در جستجوي کاربران");
const QString Tusers::kLoadFailed = QStringLiteral("خطا در خواندن دسترسي هاي کاربر");
const QString Tusers::kDeleteQuestion = QStringLiteral("آيا از حذف اين کاربر اطمينان داريد؟");

HeaderMap Tusers::exportHeaders()
{
    // The password column is never exported.
    return {
        {QStringLiteral("id"), QStringLiteral("شناسه")},
        {QStringLiteral("ostan"), QStringLiteral("استان")},
        {QStringLiteral("semat"), QStringLiteral("سمت")},
        {QStringLiteral("nam"), QStringLiteral("نام و نام خانوادگي")},
        {QStringLiteral("mobile"), QStringLiteral("موبايل")},
        {QStringLiteral("us"), QStringLiteral("نام کاربري-کد ملي")},
        {QStringLiteral("lev"), QStringLiteral("سطح")},
    };
}

Tusers::Tusers() : TWindow(QStringLiteral("Tusers"), QStringLiteral("کاربران"))
{
    // Menu.
    auto* bar = new QMenuBar(this);
    const auto entry = [bar](const QString& name, const QString& caption) {
        QAction* a = bar->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    N5 = entry(QStringLiteral("N5"), QStringLiteral("ثبت"));
    N6 = entry(QStringLiteral("N6"), QStringLiteral("ويرايش"));
    N7 = entry(QStringLiteral("N7"), QStringLiteral("حذف"));
    N8 = entry(QStringLiteral("N8"), QStringLiteral("اکسل"));
    N9 = entry(QStringLiteral("N9"), QStringLiteral("بستن"));
    connect(N5, &QAction::triggered, this, &Tusers::N5Click);
    connect(N6, &QAction::triggered, this, &Tusers::N6Click);
    connect(N7, &QAction::triggered, this, &Tusers::N7Click);
    connect(N8, &QAction::triggered, this, &Tusers::N8Click);
    connect(N9, &QAction::triggered, this, &QDialog::reject);
    // The logged-in user's name, beside the menu.
    auto* who = new QWidget(bar);
    auto* whoLayout = new QHBoxLayout(who);
    whoLayout->setContentsMargins(8, 0, 8, 0);
    whoLayout->addWidget(makeLabel(who, QStringLiteral("كاربر جاري")));
    karbar = makeLabel(who, QString(), QStringLiteral("karbar"));
    karbar->setStyleSheet(QStringLiteral("font-weight: bold;"));
    whoLayout->addWidget(karbar);
    bar->setCornerWidget(who);

    // Search criteria.
    CheckBox1 = new QCheckBox(QStringLiteral("نام کاربري"), this);
    CheckBox2 = new QCheckBox(QStringLiteral("استان"), this);
    CheckBox3 = new QCheckBox(QStringLiteral("نام و نام خانوادگي"), this);
    CheckBox4 = new QCheckBox(QStringLiteral("سطح"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));
    CheckBox4->setObjectName(QStringLiteral("CheckBox4"));
    us = makeEdit(this, QStringLiteral("us"), 25);
    nam = makeEdit(this, QStringLiteral("nam"), 100);
    ostan2 = makeCombo(this, QStringLiteral("ostan2"));
    // The levels shown in Persian; the search compares the stored value.
    lev2 = makeCombo(this, QStringLiteral("lev2"), false);
    fillLevels(lev2, true);
    bindCriterion(CheckBox1, us);
    bindCriterion(CheckBox2, ostan2);
    bindCriterion(CheckBox3, nam);
    bindCriterion(CheckBox4, lev2);
    src_btn = makeButton(this, QStringLiteral("src_btn"), QStringLiteral("جستجو"));
    src_btn->setMinimumWidth(90);
    connect(src_btn, &QPushButton::clicked, this, &Tusers::src_btnClick);
    for (QWidget* field : std::initializer_list<QWidget*>{us, nam, ostan2, lev2})
        enterClicks(field, src_btn);
    cnt = makeLabel(this, QString(), QStringLiteral("cnt"));
    cnt->setMinimumWidth(60);
    cnt->setAlignment(Qt::AlignCenter);
    cnt->setFrameShape(QFrame::StyledPanel);
    QFont bold = cnt->font();
    bold.setBold(true);
    cnt->setFont(bold);

    auto* criteria = new QGridLayout;
    criteria->setHorizontalSpacing(8);
    criteria->addWidget(CheckBox1, 0, 0);
    criteria->addWidget(us, 0, 1);
    criteria->addWidget(CheckBox3, 0, 2);
    criteria->addWidget(nam, 0, 3);
    criteria->addWidget(CheckBox2, 1, 0);
    criteria->addWidget(ostan2, 1, 1);
    criteria->addWidget(CheckBox4, 1, 2);
    criteria->addWidget(lev2, 1, 3);
    criteria->addWidget(src_btn, 0, 4);
    criteria->addWidget(cnt, 1, 4);
    criteria->setColumnStretch(1, 1);
    criteria->setColumnStretch(3, 1);

    // The list.
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("nam"), QStringLiteral("نام و نام خانوادگي")},
        {QStringLiteral("us"), QStringLiteral("نام كاربري (کد ملي)")},
        {QStringLiteral("ver"), QStringLiteral("نسخه")},
        {QStringLiteral("lev"), QStringLiteral("سطح"), ColumnKind::Text, false, {}, &levelCaption},
        {QStringLiteral("ostan"), QStringLiteral("استان")},
        {QStringLiteral("semat"), QStringLiteral("سمت/شرح")},
        {QStringLiteral("mobile"), QStringLiteral("موبايل")},
        {QStringLiteral("status"), QStringLiteral("وضعيت")},
    });
    DBGrid1->listModel()->setRowColor([](const QSqlRecord& r) {
        return text(r.value(QStringLiteral("status"))) != useradmin::kActiveUser ? QColor(Qt::red) : QColor();
    });
    connect(DBGrid1, &DBGrid::rowClicked, this, &Tusers::DBGrid1CellClick);
    // The current user's record history (level, role, counties, rights, status).
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    history::addWindowEntry(popup, [this] {
        const QSqlRecord r = DBGrid1->currentRecord();
        return history::RecordRef {QStringLiteral("users"), r.value(QStringLiteral("id")).toLongLong(),
                                   text(r.value(QStringLiteral("nam")))};
    });
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this, popup](const QPoint& at) {
        const QModelIndex index = DBGrid1->indexAt(at);
        if (index.isValid())
            DBGrid1->setCurrentIndex(index);
        popup->popup(DBGrid1->viewport()->mapToGlobal(at));
    });
    // The counter follows every search and every refresh after a change.
    DBGrid1->setCounter(cnt);
    const int widths[] = {150, 110, 50, 70, 100, 120, 100, 70};
    for (int c = 0; c < 8; ++c)
        DBGrid1->setColumnWidth(c, widths[c]);

    auto* listSide = new QWidget(this);
    auto* listLayout = new QVBoxLayout(listSide);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addLayout(criteria);
    listLayout->addWidget(DBGrid1, 1);
    listLayout->addWidget(buildCountyEditor());

    auto* editors = new QWidget(this);
    auto* editorsLayout = new QVBoxLayout(editors);
    editorsLayout->setContentsMargins(0, 0, 0, 0);
    sel_user = makeLabel(this, QString(), QStringLiteral("sel_user"));
    sel_user->setAlignment(Qt::AlignCenter);
    sel_user->setStyleSheet(QStringLiteral("background: #eef4fb; border: 1px solid #b8cce0; padding: 4px; font-weight: bold;"));
    editorsLayout->addWidget(sel_user);
    editorsLayout->addWidget(buildRightsEditor());
    editorsLayout->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(editors);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setMinimumWidth(editors->sizeHint().width() + 24);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(listSide);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setChildrenCollapsible(false);

    auto* top = new QVBoxLayout(this);
    top->setMenuBar(bar);
    top->setContentsMargins(8, 4, 8, 8);
    top->addWidget(splitter, 1);
    resize(1240, 720);
    sel_user->setText(kSelectUser);
}

QWidget* Tusers::buildRightsEditor()
{
    auto* box = new QGroupBox(QStringLiteral("تعيين سطوح دسترسي به صفحات مختلف برنامه"), this);
    auto* layout = new QVBoxLayout(box);

    auto* templates = new QGroupBox(QStringLiteral("سطوح پيشفرض دسترسي:"), box);
    lev = makeCombo(templates, QStringLiteral("lev"), false);
    fillLevels(lev);
    semat = makeCombo(templates, QStringLiteral("semat"));
    semat->setMinimumWidth(170);
    connect(lev, &QComboBox::currentIndexChanged, this, &Tusers::levChange);
    connect(semat, &QComboBox::currentTextChanged, this, &Tusers::sematChange);
    auto* tl = new QHBoxLayout(templates);
    tl->addWidget(makeLabel(templates, QStringLiteral("سطح")));
    tl->addWidget(lev);
    tl->addSpacing(10);
    tl->addWidget(makeLabel(templates, QStringLiteral("گروه کاربري:")));
    tl->addWidget(semat, 1);
    layout->addWidget(templates);

    const QStringList captions = {QStringLiteral("ثبت"),
                                  QStringLiteral("ويرايش"),
                                  QStringLiteral("حذف"),
                                  QStringLiteral("مشاهده")};
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(10);
    int row = 0;
    for (const RightsPage& page : rightsPages()) {
        auto* caption = makeLabel(box, page.caption);
        caption->setMinimumWidth(150);
        grid->addWidget(caption, row, 0);
        PageBoxes b{};
        QCheckBox** slots[] = {&b.ins, &b.edit, &b.del, &b.show};
        const char* suffix[] = {"_ins", "_edit", "_del", "_show"};
        for (int i = 0; i < 4; ++i) {
            auto* c = new QCheckBox(captions[i], box);
            c->setObjectName(page.prefix + QLatin1String(suffix[i]));
            *slots[i] = c;
            grid->addWidget(c, row, i + 1);
        }
        boxes.insert(page.key, b);
        if (row % 2 == 1) {
            auto* stripe = new QFrame(box);
            stripe->setStyleSheet(QStringLiteral("background: #f2f6fa;"));
            grid->addWidget(stripe, row, 0, 1, 5);
            stripe->lower();
        }
        ++row;
    }
    layout->addLayout(grid);

    ins_btn2 = makeButton(box, QStringLiteral("ins_btn2"), QStringLiteral("ثبت دسترسي ها"));
    ins_btn2->setMinimumWidth(120);
    connect(ins_btn2, &QPushButton::clicked, this, &Tusers::ins_btn2Click);
    auto* bl = new QHBoxLayout;
    bl->addStretch();
    bl->addWidget(ins_btn2);
    layout->addLayout(bl);
    return box;
}

QWidget* Tusers::buildCountyEditor()
{
    auto* box = new QGroupBox(QStringLiteral("تعيين دسترسي به شهرستان ها"), this);
    ostan = makeCombo(box, QStringLiteral("ostan"));
    shahrestan = makeCombo(box, QStringLiteral("shahrestan"));
    SpeedButton2 = plusButton(box, QStringLiteral("SpeedButton2"));
    SpeedButton3 = plusButton(box, QStringLiteral("SpeedButton3"));
    add_loc = plusButton(box, QStringLiteral("add_loc"));
    SpeedButton2->setToolTip(QStringLiteral("افزودن همه شهرستان هاي استان"));
    SpeedButton3->setToolTip(QStringLiteral("افزودن شهرستان"));
    add_loc->setToolTip(QStringLiteral("افزودن شهرستان"));
    connect(ostan, &QComboBox::currentTextChanged, this, &Tusers::ostanChange);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tusers::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &Tusers::SpeedButton3Click);
    connect(add_loc, &QToolButton::clicked, this, &Tusers::add_locClick);

    list_loc = new QListWidget(box);
    list_loc->setObjectName(QStringLiteral("list_loc"));
    list_loc->setSortingEnabled(true);
    list_loc->setMinimumHeight(110);
    list_loc->setContextMenuPolicy(Qt::CustomContextMenu);
    list_locMenu = new QMenu(list_loc);
    list_locMenu->setObjectName(QStringLiteral("list_locMenu"));
    N3 = list_locMenu->addAction(QStringLiteral("حذف"));
    N3->setObjectName(QStringLiteral("N3"));
    N1 = list_locMenu->addAction(QStringLiteral("حذف همه"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N3, &QAction::triggered, this, &Tusers::N3Click);
    connect(N1, &QAction::triggered, this, &Tusers::N1Click);
    connect(list_loc, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { list_locMenu->popup(list_loc->viewport()->mapToGlobal(p)); });

    ins_btn = makeButton(box, QStringLiteral("ins_btn"), QStringLiteral("ثبت شهرستان ها"));
    ins_btn->setMinimumWidth(120);
    connect(ins_btn, &QPushButton::clicked, this, &Tusers::ins_btnClick);

    list_loc->setMaximumHeight(150);
    auto* grid = new QGridLayout(box);
    grid->addWidget(makeLabel(box, QStringLiteral("استان")), 0, 0);
    grid->addWidget(ostan, 0, 1);
    grid->addWidget(SpeedButton2, 0, 2);
    grid->addWidget(makeLabel(box, QStringLiteral("شهرستان")), 1, 0);
    grid->addWidget(shahrestan, 1, 1);
    grid->addWidget(SpeedButton3, 1, 2);
    auto* multi = makeLabel(box, QStringLiteral("دسترسي به چندين شهرستان"));
    multi->setStyleSheet(QStringLiteral("font-weight: bold;"));
    grid->addWidget(multi, 2, 0, 1, 2);
    grid->addWidget(add_loc, 2, 2);
    grid->addWidget(ins_btn, 3, 0, 1, 3, Qt::AlignLeading);
    grid->addWidget(list_loc, 0, 3, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(3, 1);
    return box;
}

void Tusers::applyRights(const Rights& r)
{
    for (QAction* a : {N5})
        a->setEnabled(r.darj);
    for (QWidget* w : std::initializer_list<QWidget*>{ins_btn2, ins_btn, SpeedButton2, SpeedButton3})
        w->setEnabled(r.darj);
    N6->setEnabled(r.virayesh);
    N7->setEnabled(r.hazf);
}

void Tusers::prepareToShow()
{
    for (QLineEdit* e : {us, nam})
        e->clear();
    for (QComboBox* c : {ostan, shahrestan, ostan2, semat}) {
        const QSignalBlocker block(c);
        c->setEditText(QString());
    }
    {
        const QSignalBlocker block(lev2);
        lev2->setCurrentIndex(0);
    }
    {
        const QSignalBlocker block(lev);
        lev->setCurrentIndex(-1);
    }
    cnt->clear();
    karbar->setText(session().karbar);
    FormShow();
}

void Tusers::FormShow()
{
    try {
        const QStringList provinceList = provinces();
        for (QComboBox* c : {ostan, ostan2}) {
            const QSignalBlocker block(c);
            fillCombo(c, provinceList);
        }
        const QSignalBlocker block(semat);
        fillCombo(semat, settingList(useradmin::kRolesKey));
    } catch (const DbError&) {
        // The lists stay empty; every field can still be typed.
    }
}

void Tusers::src_btnClick()
{
    ListQuery q(QStringLiteral("select id,us,ver,lev,ostan,semat,mobile,nam,status"), QStringLiteral("from users"));
    if (CheckBox1->isChecked())
        q.like(QStringLiteral("us"), us->text());
    if (CheckBox2->isChecked())
        q.like(QStringLiteral("ostan"), ostan2->currentText());
    if (CheckBox3->isChecked())
        q.like(QStringLiteral("nam"), nam->text());
    if (CheckBox4->isChecked())
        q.like(QStringLiteral("lev"), lev2->currentData().toString());
    try {
        DBGrid1->listModel()->setQuery(q);
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
}

void Tusers::DBGrid1CellClick(int row)
{
    const QSqlRecord r = DBGrid1->listModel()->record(row);
    if (r.isEmpty())
        return;
    const qint64 id = r.value(QStringLiteral("id")).toLongLong();
    // The tip names the user; the password is kept as a hash and never shown.
    dialogs().balloon(DBGrid1, QString(),
                      text(r.value(QStringLiteral("nam"))) + QStringLiteral(" - ") +
                          levelCaption(text(r.value(QStringLiteral("lev")))));
    try {
        const RightsMap rights = loadRights(id);
        const QStringList counties =
            dm().textColumn(QStringLiteral("select cmt from dastrasi2 where user_id=?"), {id});
        m_selectedId = id;
        m_selectedUs = text(r.value(QStringLiteral("us")));
        m_storedKarbaran = rights.value(kKarbaran);
        setBoxRights(rights);
        for (QComboBox* c : {ostan, shahrestan}) {
            const QSignalBlocker block(c);
            c->setEditText(QString());
        }
        shahrestan->clear();
        list_loc->clear();
        list_loc->addItems(counties);
        sel_user->setText(text(r.value(QStringLiteral("nam"))) + QStringLiteral(" (") + m_selectedUs + QLatin1Char(')'));
    } catch (const DbError& e) {
        reportFailure(kLoadFailed, e);
    }
}

RightsMap Tusers::boxRights() const
{
    RightsMap m;
    for (auto it = boxes.begin(); it != boxes.end(); ++it) {
        Rights r;
        r.darj = it->ins->isChecked();
        r.virayesh = it->edit->isChecked();
        r.hazf = it->del->isChecked();
        r.namayesh = it->show->isChecked();
        m.insert(it.key(), r);
    }
    return m;
}

void Tusers::setBoxRights(const RightsMap& rights)
{
    for (auto it = boxes.begin(); it != boxes.end(); ++it) {
        const Rights r = rights.value(it.key());
        it->ins->setChecked(r.darj);
        it->edit->setChecked(r.virayesh);
        it->del->setChecked(r.hazf);
        it->show->setChecked(r.namayesh);
    }
}

void Tusers::clearBoxes()
{
    setBoxRights(emptyRights());
}

void Tusers::keepKarbaranBoxes()
{
    if (m_selectedId == 0 || (useradmin::isSystemAdmin() && !useradmin::isAdminName(m_selectedUs)))
        return;
    const PageBoxes& b = boxes[kKarbaran];
    b.ins->setChecked(m_storedKarbaran.darj);
    b.edit->setChecked(m_storedKarbaran.virayesh);
    b.del->setChecked(m_storedKarbaran.hazf);
    b.show->setChecked(m_storedKarbaran.namayesh);
}

void Tusers::levChange()
{
    {
        const QSignalBlocker block(semat);
        semat->setEditText(QString());
    }
    clearBoxes();
    keepKarbaranBoxes();
}

void Tusers::sematChange()
{
    setBoxRights(roleTemplate(lev->currentData().toString(), semat->currentText()));
    keepKarbaranBoxes();
}

void Tusers::ins_btn2Click()
{
    if (m_selectedId == 0) {
        dialogs().warning(kSelectUser);
        return;
    }
    try {
        const QString refusal = useradmin::saveRights(m_selectedId, boxRights());
        if (!refusal.isEmpty()) {
            dialogs().warning(refusal);
            return;
        }
    } catch (const DbError& e) {
        reportFailure(useradmin::kRightsFailed, e);
        return;
    }
    dialogs().information(useradmin::kSaved);
}

void Tusers::ostanChange()
{
    try {
        fillCombo(shahrestan, counties(ostan->currentText()));
    } catch (const DbError&) {
        shahrestan->clear();
    }
}

void Tusers::addCounty(const QString& county)
{
    if (!county.trimmed().isEmpty())
        list_loc->addItem(county);
}

void Tusers::SpeedButton2Click()
{
    for (int i = 0; i < shahrestan->count(); ++i)
        addCounty(shahrestan->itemText(i));
}

void Tusers::SpeedButton3Click()
{
    addCounty(shahrestan->currentText());
}

void Tusers::add_locClick()
{
    addCounty(shahrestan->currentText());
}

void Tusers::N3Click()
{
    delete list_loc->currentItem();
}

void Tusers::N1Click()
{
    list_loc->clear();
}

QStringList Tusers::countyList() const
{
    QStringList out;
    for (int i = 0; i < list_loc->count(); ++i)
        out << list_loc->item(i)->text();
    return out;
}

void Tusers::ins_btnClick()
{
    if (m_selectedId == 0) {
        dialogs().warning(kSelectUser);
        return;
    }
    try {
        const QString refusal = useradmin::saveCounties(m_selectedId, countyList());
        if (!refusal.isEmpty()) {
            dialogs().warning(refusal);
            return;
        }
    } catch (const DbError& e) {
        reportFailure(useradmin::kCountiesFailed, e);
        return;
    }
    dialogs().information(useradmin::kCountiesSaved);
}

void Tusers::N5Click()
{
    Tusers_ins& w = tavrin::window<Tusers_ins>();
    w.onSaved = [this] { DBGrid1->listModel()->query().isEmpty() ? src_btnClick() : DBGrid1->listModel()->refresh(); };
    w.startNew();
    w.showModal();
}

void Tusers::N6Click()
{
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty()) {
        dialogs().warning(kSelectUser);
        return;
    }
    QString refusal;
    QSqlRecord user;
    try {
        refusal = useradmin::refuseEdit(r.value(QStringLiteral("id")).toLongLong());
        if (refusal.isEmpty()) {
            // The row may have been deleted by another user since the list was read.
            const auto row = dm().firstRow(QStringLiteral("select id,us,lev,nam,semat,mobile,ostan,status from users where id=?"),
                                           {r.value(QStringLiteral("id"))});
            if (!row) {
                DBGrid1->listModel()->refresh();
                return;
            }
            user = *row;
        }
    } catch (const DbError& e) {
        reportFailure(kLoadFailed, e);
        return;
    }
    if (!refusal.isEmpty()) {
        dialogs().warning(refusal);
        return;
    }
    const qint64 id = user.value(QStringLiteral("id")).toLongLong();
    Tusers_ins& w = tavrin::window<Tusers_ins>();
    w.onSaved = [this, id] {
        // The edited user stays the current row (and, when his rights are being
        // edited, the panel's caption follows his new name).
        DBGrid1->listModel()->refresh();
        DBGrid1->selectId(id);
        if (id == m_selectedId) {
            const QSqlRecord r = DBGrid1->currentRecord();
            if (!r.isEmpty()) {
                m_selectedUs = text(r.value(QStringLiteral("us")));
                sel_user->setText(text(r.value(QStringLiteral("nam"))) + QStringLiteral(" (") + m_selectedUs + QLatin1Char(')'));
            }
        }
    };
    w.startEdit(user);
    w.showModal();
}

void Tusers::N7Click()
{
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty()) {
        dialogs().warning(kSelectUser);
        return;
    }
    const qint64 id = r.value(QStringLiteral("id")).toLongLong();
    if (useradmin::isAdminName(text(r.value(QStringLiteral("us"))))) {
        dialogs().error(useradmin::kCannotDeleteAdmin);
        return;
    }
    const QString question = kDeleteQuestion + text(r.value(QStringLiteral("us"))) + QLatin1Char(' ') +
                             text(r.value(QStringLiteral("nam"))) + QLatin1Char(' ') + text(r.value(QStringLiteral("ostan")));
    if (dialogs().question(question, Buttons::YesNoCancel) != Answer::Yes)
        return;
    try {
        const QString refusal = useradmin::deleteUser(id);
        if (!refusal.isEmpty()) {
            dialogs().error(refusal);
            return;
        }
    } catch (const DbError& e) {
        reportFailure(useradmin::kDeleteFailed, e);
        return;
    }
    if (id == m_selectedId) {
        m_selectedId = 0;
        m_selectedUs.clear();
        clearBoxes();
        list_loc->clear();
        sel_user->setText(kSelectUser);
    }
    dialogs().information(useradmin::kDeleted);
    DBGrid1->listModel()->refresh();
}

void Tusers::N8Click()
{
    if (DBGrid1->listModel()->query().isEmpty())
        src_btnClick();
    ListModel* m = DBGrid1->listModel();
    exportListToExcel(QStringLiteral("users"), *m, exportHeaders());
}

} // namespace tavrin
