#include "project_vahed_u.h"

#include "vahed_vam_u.h"

#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {

using items::fieldValue;
using items::numberValue;

QString amountValue(const QSqlRecord& r, const char* name)
{
    return QString::number(toMoney(r.value(QString::fromLatin1(name))));
}

QComboBox* unitCombo(QWidget* parent, const char* name)
{
    QComboBox* c = makeCombo(parent, QString::fromLatin1(name));
    const int len = columnLength(QStringLiteral("vahedha"), QString::fromLatin1(name));
    if (len > 0 && c->lineEdit())
        c->lineEdit()->setMaxLength(len);
    // Digits and words alike start at the field's right edge.
    if (c->lineEdit())
        c->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    c->setMinimumWidth(130);
    return c;
}

QLabel* rialLabel(QWidget* parent)
{
    return makeLabel(parent, QStringLiteral("(بريال)"));
}

} // namespace

Tproject_vahed::Tproject_vahed() : TWindow(QStringLiteral("Tproject_vahed"), QStringLiteral("واحدهاي پروژه"))
{
    Label1 = new ClickLabel(QStringLiteral("واحدهاي پروژه"), QStringLiteral("Label1"), this);
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    connect(Label1, &ClickLabel::clicked, this, &Tproject_vahed::Label1Click);

    // The project
    prj_name = makeEdit(this, QStringLiteral("prj_name"));
    ostan = makeEdit(this, QStringLiteral("ostan"));
    shahrestan = makeEdit(this, QStringLiteral("shahrestan"));
    for (QLineEdit* e : {prj_name, ostan, shahrestan}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    cnt = makeLabel(this, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    auto* projectBox = new QGroupBox(this);
    auto* pl = new QHBoxLayout(projectBox);
    pl->addWidget(makeLabel(this, QStringLiteral("نام پروژه")));
    pl->addWidget(prj_name, 3);
    pl->addWidget(makeLabel(this, QStringLiteral("مربوط به استان")));
    pl->addWidget(ostan, 2);
    pl->addWidget(makeLabel(this, QStringLiteral("شهرستان")));
    pl->addWidget(shahrestan, 2);
    pl->addSpacing(12);
    pl->addWidget(makeLabel(this, QStringLiteral("تعداد واحدها")));
    pl->addWidget(cnt);

    // The unit
    karbari = unitCombo(this, "karbari");
    bolok = unitCombo(this, "bolok");
    tabaghe = unitCombo(this, "tabaghe");
    vahed_no = unitCombo(this, "vahed_no");
    jahat = unitCombo(this, "jahat");
    bana = unitCombo(this, "bana");
    ekhtesasi = unitCombo(this, "ekhtesasi");
    moshtarak = unitCombo(this, "moshtarak");
    status = unitCombo(this, "status");
    vahed_typ = unitCombo(this, "vahed_typ");
    shenase = makeEdit(this, QStringLiteral("shenase"), columnLength(QStringLiteral("vahedha"), QStringLiteral("shenase")));
    shenase->setReadOnly(true);
    shenase->setStyleSheet(QStringLiteral("background-color: #f0f0f0;"));
    otagh = makeEdit(this, QStringLiteral("otagh"), 4);
    installDigitFilter(otagh);

    const auto realEdit = [this](const char* name) {
        auto* e = new TRealEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(15);
        return e;
    };
    metraj = realEdit("metraj");
    metraj_z = realEdit("metraj_z");
    teras = realEdit("teras");
    hayat = realEdit("hayat");
    const auto digitEdit = [this](const char* name) {
        QLineEdit* e = makeEdit(this, QString::fromLatin1(name), kAmountFieldLength);
        installDigitFilter(e);
        return e;
    };
    mablagh1 = digitEdit("mablagh1");
    teras1 = digitEdit("teras1");
    hayat1 = digitEdit("hayat1");
    mablagh = digitEdit("mablagh");
    vam = new TMonEdit(this);
    vam->setObjectName(QStringLiteral("vam"));
    vam->setReadOnly(true);
    vam->setFocusPolicy(Qt::NoFocus);
    vam->setStyleSheet(QStringLiteral("background-color: #f0f0f0;"));

    mablagh_3harfi = makeGroupedLabel(this, "mablagh_3harfi", 110);
    mablagh1_3harfi = makeGroupedLabel(this, "mablagh1_3harfi", 110);
    teras1_3harfi = makeGroupedLabel(this, "teras1_3harfi", 110);
    hayat1_3harfi = makeGroupedLabel(this, "hayat1_3harfi", 110);
    mablagh1Caption = makeLabel(this, QString(), QStringLiteral("mablagh1_caption"));
    mablaghCaption = makeLabel(this, QString(), QStringLiteral("mablagh_caption"));
    vahed_typCaption = makeLabel(this, QString(), QStringLiteral("vahed_typ_caption"));

    auto* unitBox = new QGroupBox(this);
    auto* g = new QGridLayout(unitBox);
    g->setHorizontalSpacing(10);
    int row = 0;
    const auto pair = [g](int r, int col, const QString& caption, QWidget* w) {
        g->addWidget(new QLabel(caption), r, col * 2);
        g->addWidget(w, r, col * 2 + 1);
    };
    pair(row, 0, QStringLiteral("بلوک"), bolok);
    pair(row++, 1, QStringLiteral("کاربري"), karbari);
    pair(row, 0, QStringLiteral("طبقه"), tabaghe);
    pair(row++, 1, QStringLiteral("نوع بنا"), bana);
    pair(row, 0, QStringLiteral("شماره واحد"), vahed_no);
    g->addWidget(vahed_typCaption, row, 2);
    g->addWidget(vahed_typ, row++, 3);
    pair(row, 0, QStringLiteral("شناسه واحد"), shenase);
    pair(row++, 1, QStringLiteral("جهت"), jahat);
    pair(row, 0, QStringLiteral("متراژ واحد"), metraj);
    pair(row++, 1, QStringLiteral("تعداد اتاق"), otagh);
    pair(row, 0, QStringLiteral("متراژ زمين"), metraj_z);
    pair(row++, 1, QStringLiteral("وضعيت"), status);
    pair(row, 0, QStringLiteral("جمع متراژ تراس غيرمسقف"), teras);
    pair(row++, 1, QStringLiteral("انشعابات اختصاصي"), ekhtesasi);
    pair(row, 0, QStringLiteral("متراژ حياط"), hayat);
    pair(row++, 1, QStringLiteral("انشعابات مشترک"), moshtarak);

    auto* priceBox = new QGroupBox(this);
    auto* pg = new QGridLayout(priceBox);
    const auto priceRow = [this, pg](int r, QWidget* caption, QLineEdit* field, QLabel* groupedDigits) {
        pg->addWidget(caption, r, 0);
        pg->addWidget(field, r, 1);
        pg->addWidget(groupedDigits, r, 2);
        if (groupedDigits)
            pg->addWidget(rialLabel(this), r, 3);
    };
    priceRow(0, mablagh1Caption, mablagh1, mablagh1_3harfi);
    priceRow(1, new QLabel(QStringLiteral("قيمت هر مترمربع تراس غيرمسقف")), teras1, teras1_3harfi);
    priceRow(2, new QLabel(QStringLiteral("قيمت هر مترمربع حياط")), hayat1, hayat1_3harfi);
    priceRow(3, mablaghCaption, mablagh, mablagh_3harfi);
    pg->addWidget(new QLabel(QStringLiteral("ميزان وام")), 4, 0);
    pg->addWidget(vam, 4, 1);
    pg->setColumnStretch(4, 1);
    mablaghCaption->setStyleSheet(QStringLiteral("font-weight: bold;"));

    auto* note = makeLabel(this, QStringLiteral("* توجه: مبلغ واحد/زمين با احتساب مبلغ وام (در صورت داشتن وام) منظور شود"));
    note->setStyleSheet(QStringLiteral("color: #b00000;"));
    note->setWordWrap(true);
    vam_check = new QCheckBox(QStringLiteral("با انتخاب اين گزينه پس از ثبت واحد، پنجره تسهيلات باز مي شود"), this);
    vam_check->setObjectName(QStringLiteral("vam_check"));

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), QStringLiteral("ثبت"));
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), QStringLiteral("ويرايش"));
    for (QPushButton* b : {ins_btn, edit_btn}) {
        b->setMinimumWidth(110);
        b->setMinimumHeight(30);
    }
    connect(ins_btn, &QPushButton::clicked, this, &Tproject_vahed::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tproject_vahed::edit_btnClick);
    setSaveButtons({ins_btn, edit_btn});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);

    // The unit on the right, its prices, the note and the loan box beside it:
    // the whole window fits on a laptop screen.
    auto* prices = new QVBoxLayout;
    prices->addWidget(priceBox);
    prices->addWidget(note);
    prices->addWidget(vam_check);
    prices->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(unitBox, 1);
    middle->addLayout(prices, 1);

    auto* top = new QVBoxLayout(this);
    top->addWidget(Label1);
    top->addWidget(projectBox);
    top->addLayout(middle);
    top->addLayout(buttons);

    // The identifier follows block, floor and number.
    for (QComboBox* c : {bolok, tabaghe, vahed_no})
        connect(c, &QComboBox::editTextChanged, this, &Tproject_vahed::updateShenase);
    // The price follows the areas, the prices and the building type.
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{metraj, metraj_z, teras, hayat, mablagh1, teras1, hayat1})
        connect(e, &QLineEdit::textChanged, this, &Tproject_vahed::computePrice);
    connect(bana, &QComboBox::editTextChanged, this, [this] {
        updateCaptions();
        computePrice();
    });
    connect(mablagh, &QLineEdit::textChanged, this, &Tproject_vahed::updateGroupedLabels);
    // Leaving a price or a terrace or yard area empty puts 0 in it.
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{mablagh1, teras1, teras, hayat1, hayat})
        onFieldExit(e, [e] {
            if (e->text().isEmpty())
                e->setText(QStringLiteral("0"));
        });
    for (QWidget* w : std::initializer_list<QWidget*>{shenase, metraj_z, mablagh})
        w->installEventFilter(this);

    // Keyed block by block: the unit's place first, then its particulars and prices.
    const QList<QWidget*> order {bolok, tabaghe, vahed_no, karbari, bana, vahed_typ, jahat, metraj, otagh,
                                 metraj_z, status, teras, ekhtesasi, hayat, moshtarak, mablagh1, teras1,
                                 hayat1, mablagh, ins_btn, edit_btn};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    updateCaptions();
}

bool Tproject_vahed::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == shenase) {
            updateShenase();
            dialogs().balloon(shenase, QStringLiteral("شناسه واحد"), QStringLiteral("ترکيبي از بلوک+طبقه+شماره واحد"));
        } else if (watched == metraj_z) {
            dialogs().balloon(metraj_z, QStringLiteral("متراژ زمين واحد"), QStringLiteral("جهت واحدهاي ويلايي"));
        } else if (watched == mablagh) {
            computePrice();
        }
    }
    return TWindow::eventFilter(watched, event);
}

void Tproject_vahed::fillLists()
{
    const std::pair<QComboBox*, const char*> lists[] = {
        {bana, "بنا"},
        {bolok, "بلوک"},
        {vahed_typ, "نوع واحد"},
        {jahat, "جهت واحد"},
        {karbari, "کاربري"},
        {status, "وضعيت واحد"},
        {ekhtesasi, "انشعابات اختصاصي"},
        {moshtarak, "انشعابات مشترک"},
    };
    for (const auto& [combo, key] : lists) {
        QStringList items;
        try {
            items = settingList(QString::fromUtf8(key));
        } catch (const DbError& e) {
            reportFailure(QStringLiteral("خطا! فهرست هاي انتخاب خوانده نشد"), e);
            return;
        }
        combo->blockSignals(true);
        fillCombo(combo, items);
        combo->blockSignals(false);
    }
    QStringList floors, numbers;
    for (int i = 0; i <= 9; ++i)
        floors << QString::number(i);
    for (int i = 1; i <= 8; ++i)
        numbers << QString::number(i);
    tabaghe->blockSignals(true);
    vahed_no->blockSignals(true);
    fillCombo(tabaghe, floors);
    fillCombo(vahed_no, numbers);
    tabaghe->blockSignals(false);
    vahed_no->blockSignals(false);
}

void Tproject_vahed::showProject(const QSqlRecord& project)
{
    m_project = project;
    prj_name->setText(fieldValue(project, "prj_name"));
    ostan->setText(fieldValue(project, "ostan"));
    shahrestan->setText(fieldValue(project, "shahrestan"));
    refreshCount();
}

void Tproject_vahed::refreshCount()
{
    try {
        cnt->setText(QString::number(units::unitCount(items::recordId(m_project))));
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! تعداد واحدها خوانده نشد"), e);
    }
}

void Tproject_vahed::prepareNew(const QSqlRecord& project)
{
    m_unitId = 0;
    m_read = QSqlRecord();
    fillLists();
    showProject(project);
    for (QComboBox* c : {karbari, bolok, tabaghe, vahed_no, jahat, bana, ekhtesasi, moshtarak})
        c->setEditText(QString());
    otagh->clear();
    for (QLineEdit* e : std::initializer_list<QLineEdit*>{metraj, metraj_z, mablagh, hayat1, hayat, teras1, teras, mablagh1})
        e->setText(QStringLiteral("0"));
    vam->setText(QStringLiteral("0"));
    status->setEditText(items::freeStatus());
    vahed_typ->setEditText(fieldValue(project, "prj_typ"));
    vam_check->setChecked(false);
    updateCaptions();
    computePrice();
    shenase->clear();
    ins_btn->setVisible(true);
    edit_btn->setVisible(false);
    bolok->setFocus();
}

void Tproject_vahed::prepareEdit(const QSqlRecord& project, const QSqlRecord& unit)
{
    m_unitId = items::recordId(unit);
    m_read = unit;
    fillLists();
    showProject(project);
    // The texts first, the price fields last, so that the shown price is the stored one.
    const std::pair<QComboBox*, const char*> texts[] = {
        {karbari, "karbari"}, {bolok, "bolok"},     {tabaghe, "tabaghe"},     {vahed_no, "vahed_no"},
        {jahat, "jahat"},     {bana, "bana"},       {ekhtesasi, "ekhtesasi"}, {moshtarak, "moshtarak"},
        {status, "status"},   {vahed_typ, "vahed_typ"}};
    for (const auto& [combo, name] : texts)
        combo->setEditText(fieldValue(unit, name));
    const QVariant rooms = unit.value(QStringLiteral("otagh"));
    otagh->setText(rooms.isNull() ? QString() : rooms.toString());
    metraj->setText(numberValue(unit, "metraj"));
    metraj_z->setText(numberValue(unit, "metraj_z"));
    teras->setText(numberValue(unit, "teras"));
    hayat->setText(numberValue(unit, "hayat"));
    mablagh1->setText(amountValue(unit, "mablagh1"));
    teras1->setText(amountValue(unit, "teras1"));
    hayat1->setText(amountValue(unit, "hayat1"));
    vam->setText(amountValue(unit, "vam"));
    mablagh->setText(amountValue(unit, "mablagh"));
    // The stored identifier is shown as it is; it is rebuilt when a part changes.
    shenase->setText(fieldValue(unit, "shenase"));
    updateCaptions();
    updateGroupedLabels();
    ins_btn->setVisible(false);
    edit_btn->setVisible(true);
    bolok->setFocus();
}

units::UnitForm Tproject_vahed::form() const
{
    units::UnitForm f;
    f.karbari = karbari->currentText();
    f.bolok = bolok->currentText();
    f.tabaghe = tabaghe->currentText();
    f.vahed_no = vahed_no->currentText();
    f.jahat = jahat->currentText();
    f.otagh = otagh->text();
    f.metraj = metraj->text();
    f.metraj_z = metraj_z->text();
    f.teras = teras->text();
    f.hayat = hayat->text();
    f.mablagh1 = mablagh1->text();
    f.teras1 = teras1->text();
    f.hayat1 = hayat1->text();
    f.mablagh = mablagh->text();
    f.ekhtesasi = ekhtesasi->currentText();
    f.moshtarak = moshtarak->currentText();
    f.status = status->currentText();
    f.vahed_typ = vahed_typ->currentText();
    f.bana = bana->currentText();
    return f;
}

void Tproject_vahed::updateShenase()
{
    shenase->setText(units::shenaseOf(bolok->currentText(), tabaghe->currentText(), vahed_no->currentText()));
}

void Tproject_vahed::computePrice()
{
    mablagh->setText(units::priceText(form()));
    updateGroupedLabels();
}

void Tproject_vahed::updateGroupedLabels()
{
    const auto show = [](QLabel* l, const QString& digits) {
        const QString g = units::grouped(digits);
        l->setText(g.isEmpty() ? QStringLiteral("0") : g);
    };
    show(mablagh_3harfi, mablagh->text());
    show(mablagh1_3harfi, mablagh1->text());
    show(teras1_3harfi, teras1->text());
    show(hayat1_3harfi, hayat1->text());
}

void Tproject_vahed::updateCaptions()
{
    const QString word = QLatin1Char(' ') + units::areaWord(bana->currentText());
    mablagh1Caption->setText(QStringLiteral("قيمت هر مترمربع") + word);
    mablaghCaption->setText(QStringLiteral("مبلغ") + word);
    vahed_typCaption->setText(QStringLiteral("نوع") + word);
}

void Tproject_vahed::focusField(const QString& name)
{
    if (name.isEmpty())
        return;
    if (auto* w = findChild<QWidget*>(name))
        w->setFocus();
}

void Tproject_vahed::ins_btnClick()
{
    updateShenase();
    Outcome r;
    try {
        r = units::insertUnit(m_project, form());
    } catch (const DbError& e) {
        reportFailure(units::kUnitSaveFailed, e);
        refreshCount();
        return;
    }
    r.show();
    focusField(r.focus);
    refreshCount();
    if (!r.done)
        return;
    Q_EMIT unitsChanged();
    if (vam_check->isChecked())
        openLoans(r.id);
}

void Tproject_vahed::openLoans(qint64 unitId)
{
    std::optional<QSqlRecord> unit;
    try {
        unit = dm().firstRow(QStringLiteral("select * from vahedha where id=?"), {unitId});
    } catch (const DbError& e) {
        reportFailure(units::kUnitSaveFailed, e);
        return;
    }
    if (!unit)
        return;
    Tvahed_vam& w = tavrin::window<Tvahed_vam>();
    w.prepare(m_project, *unit);
    w.showModal();
    Q_EMIT unitsChanged();
}

void Tproject_vahed::edit_btnClick()
{
    Outcome r;
    try {
        r = units::updateUnit(m_project, m_unitId, form(), m_read);
    } catch (const DbError& e) {
        reportFailure(units::kUnitSaveFailed, e);
        return;
    }
    if (r.changedByOther) {
        askToReload(r);
        return;
    }
    r.show();
    if (!r.done) {
        focusField(r.focus);
        return;
    }
    status->setEditText(r.status);
    Q_EMIT unitsChanged();
    accept();
}

void Tproject_vahed::askToReload(const Outcome& r)
{
    if (!tavrin::offerReload(r.texts().join(QLatin1Char('\n'))))
        return;
    std::optional<QSqlRecord> unit;
    try {
        unit = dm().firstRow(QStringLiteral("select * from vahedha where id=?"), {m_unitId});
    } catch (const DbError& e) {
        reportFailure(units::kUnitSaveFailed, e);
        return;
    }
    if (!unit) {
        // Deleted meanwhile: the list shows it is gone.
        Q_EMIT unitsChanged();
        reject();
        return;
    }
    prepareEdit(m_project, *unit);
    // The list shows the record as stored too.
    Q_EMIT unitsChanged();
}

void Tproject_vahed::Label1Click()
{
    try {
        if (units::repairUnitStatuses() > 0)
            Q_EMIT unitsChanged();
    } catch (const DbError& e) {
        reportFailure(units::kUnitSaveFailed, e);
    }
}

} // namespace tavrin
