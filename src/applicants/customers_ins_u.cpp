#include "applicants/customers_ins_u.h"

#include "applicants/applicant_texts.h"
#include "applicants/applicant_windows.h"
#include "common/stale.h"
#include "applicants/prereg_choice.h"

#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "db/database.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace applicants;

namespace {

QString s(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Fields the window fills from the project and the unit and never lets the user type.
const QStringList& readOnlyColumns()
{
    static const QStringList c {
        QStringLiteral("shahr"),    QStringLiteral("rosta"),     QStringLiteral("prj_name"),  QStringLiteral("prj_typ"),
        QStringLiteral("zamin_pelak"), QStringLiteral("zamin_adr"), QStringLiteral("karbari"), QStringLiteral("bolok"),
        QStringLiteral("tabaghe"),  QStringLiteral("vahed_no"),  QStringLiteral("jahat"),     QStringLiteral("metraj"),
        QStringLiteral("teras"),    QStringLiteral("teras1"),    QStringLiteral("hayat"),     QStringLiteral("hayat1"),
        QStringLiteral("vahed_typ"), QStringLiteral("mablagh1"), QStringLiteral("vam"),       QStringLiteral("mablagh"),
        QStringLiteral("ekhtesasi"), QStringLiteral("moshtarak"), QStringLiteral("otagh"),    QStringLiteral("parking"),
        QStringLiteral("anbari"),   QStringLiteral("pardakht_sum"), QStringLiteral("metraj_z")};
    return c;
}

// The amounts shown again beside their field, grouped in threes.
const QStringList& groupedColumns()
{
    static const QStringList c {QStringLiteral("mablagh1"), QStringLiteral("vam"), QStringLiteral("takhfif"),
                                QStringLiteral("mablagh"), QStringLiteral("pardakht_sum")};
    return c;
}

// How a field is edited where its column decides it; the other fields follow
// their kind (a real number, a date, a text).
enum class RecordEditor { ByKind, Selector, PickList, Amount, Digits };

const QHash<QString, RecordEditor>& recordEditors()
{
    static const QHash<QString, RecordEditor> editors = [] {
        QHash<QString, RecordEditor> out;
        // The cascade's selectors and the applicant's type: chosen from the list only.
        for (const char* c : {"ostan", "shahrestan", "prj_cod", "shenase", "typ"})
            out.insert(QString::fromLatin1(c), RecordEditor::Selector);
        // Lists that also take a typed value.
        for (const char* c : {"taahol", "gender", "sana", "job", "tahsilat", "nesbat", "moaref", "vajed", "taeed", "status"})
            out.insert(QString::fromLatin1(c), RecordEditor::PickList);
        for (const char* c : {"takhfif", "jarime"})
            out.insert(QString::fromLatin1(c), RecordEditor::Amount);
        // Digits only (a national code, a postal code, the number of rooms).
        for (const char* c : {"nation", "zipcode", "otagh"})
            out.insert(QString::fromLatin1(c), RecordEditor::Digits);
        return out;
    }();
    return editors;
}

// The caption labels that clear the date beside them.
const QList<std::pair<const char*, const char*>>& dateLabels()
{
    static const QList<std::pair<const char*, const char*>> l {
        {"birthday", "Label5"},    {"reg_dat", "Label17"},    {"prot_dat", "Label21"},   {"sanad_dat", "Label31"},
        {"mali_dat", "Label47"},   {"norvad_dat", "Label51"}, {"bank_dat", "Label53"},   {"tahvil_dat", "Label18"},
        {"daftar_dat", "Label19"}, {"tahvil_time", "Label62"}, {"transport_dat", "Label77"}, {"comp_dat", "Label86"},
        {"sanad_enteghal_dat", "Label87"}};
    return l;
}

// The five company fields.
const QStringList& companyColumns()
{
    static const QStringList c {QStringLiteral("comp_name"), QStringLiteral("comp_no"), QStringLiteral("comp_shenase"),
                                QStringLiteral("eghtesadi_cod"), QStringLiteral("comp_dat")};
    return c;
}

// Rows of four fields, right to left; "" leaves a cell empty and "*" before a
// column gives the field the whole row.
using Rows = QList<QStringList>;

const Rows kProjectRows {{"ostan", "shahrestan", "prj_cod", "prj_name"}, {"prj_typ", "shahr", "rosta", "zamin_adr"},
                         {"*zamin_pelak"}};
const Rows kUnitRows {{"shenase", "karbari", "bolok", "tabaghe"},   {"vahed_no", "jahat", "vahed_typ", "otagh"},
                      {"metraj", "teras", "teras1", "hayat"},       {"hayat1", "ekhtesasi", "moshtarak", "sahm"},
                      {"mablagh1", "vam", "takhfif", "takhir"},     {"mablagh", "pardakht_sum", "jarime", "tashvigh"},
                      {"parking", "anbari", "", ""}};
const Rows kCompanyRows {{"typ", "comp_name", "comp_no", "comp_shenase"}, {"eghtesadi_cod", "comp_dat", "", ""}};
const Rows kPersonRows {{"fname", "lname", "father", "nation"},   {"sh_no", "birthday", "sodor", "tavalod_loc"},
                        {"gender", "taahol", "mobile", "phone"},  {"zipcode", "tahsilat", "job", "job_adr"},
                        {"sabeghe", "nesbat", "moaref", "sana"},  {"reg_no", "reg_dat", "", ""},
                        {"*adr"},                                  {"*cmt"}};
const Rows kContractRows {{"vajed", "emtiyaz", "taeed", "status"},
                          {"mojavez_no", "metraj_payankar", "tahvil_time", "transport_dat"},
                          {"prot_no", "prot_dat", "norvad_no", "norvad_dat"},
                          {"bank_no", "bank_dat", "mali_no", "mali_dat"},
                          {"tahvil_no", "tahvil_dat", "daftar_no", "daftar_dat"},
                          {"sanad_no", "sanad_dat", "sanad_enteghal_dat", ""}};

QString formText(const QWidget* w)
{
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    if (auto* d = qobject_cast<const TDateEdit*>(w))
        return d->dateText();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    return {};
}

} // namespace

Tcustomers_ins::Tcustomers_ins() : TWindow(QStringLiteral("Tcustomers_ins"), custext::kInsCaption)
{
    build();
    prepareNew();
}

void Tcustomers_ins::build()
{
    // Every field, named after its column.
    for (const Field& f : recordFields())
        m_fields.insert(f.column, makeField(f));
    ostan = static_cast<QComboBox*>(m_fields.value(QStringLiteral("ostan")));
    shahrestan = static_cast<QComboBox*>(m_fields.value(QStringLiteral("shahrestan")));
    prj_cod = static_cast<QComboBox*>(m_fields.value(QStringLiteral("prj_cod")));
    shenase = static_cast<QComboBox*>(m_fields.value(QStringLiteral("shenase")));
    typ = static_cast<QComboBox*>(m_fields.value(QStringLiteral("typ")));
    // The lists whose items are fixed.
    const std::pair<const char*, QStringList> fixedItems[] {
        {"typ", {custext::kPerson, custext::kCompany}},
        {"taahol", {custext::kSingle, custext::kMarried, custext::kHead}},
        {"gender", {custext::kMale, custext::kFemale}},
        {"sana", {custext::kHas, custext::kHasNot}}};
    for (const auto& [column, items] : fixedItems)
        static_cast<QComboBox*>(m_fields.value(QString::fromLatin1(column)))->addItems(items);
    // Kept in the form but not shown: the ids of the project and the unit, the unit's land area.
    for (const char* hidden : {"metraj_z", "prj_id", "vahed_id"})
        m_fields.value(QString::fromLatin1(hidden))->setVisible(false);

    for (const QString& c : groupedColumns()) {
        QLabel* l = makeLabel(this, QStringLiteral("0"), c + QStringLiteral("_3harfi"));
        l->setStyleSheet(QStringLiteral("color: #1a4f9c; font-weight: bold;"));
        l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        // As wide as the widest amount from the start: a stored amount shown
        // in edit mode neither widens the form beyond the screen nor is cut.
        l->setMinimumWidth(groupedLabelWidth(l->font()));
        m_grouped.insert(c, l);
    }

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("…"));
    SpeedButton1->setToolTip(s("جستجو در پيش ثبت نام با کد ملي"));
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("…"));
    SpeedButton2->setToolTip(s("جستجو در پيش ثبت نام با نام و نام خانوادگي"));
    ins_btn2 = new QToolButton(this);
    ins_btn2->setObjectName(QStringLiteral("ins_btn2"));
    ins_btn2->setText(s("انباري و پارکينگ"));
    for (QToolButton* b : {SpeedButton1, SpeedButton2, ins_btn2})
        b->setFocusPolicy(Qt::TabFocus);

    buildPages();
    buildTabOrder();
    connectFields();
    resize(1300, 680);
}

void Tcustomers_ins::buildPages()
{
    // The project and its unit on the first page, the buyer on the second,
    // the contract and its documents on the third.
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    auto* unitPage = new QWidget;
    auto* uv = new QVBoxLayout(unitPage);
    uv->setContentsMargins(6, 4, 6, 4);
    uv->setSpacing(2);
    auto* projectBox = new QGroupBox(s("مشخصات پروژه"), unitPage);
    layRows(projectBox, kProjectRows)->setContentsMargins(8, 4, 8, 4);
    uv->addWidget(projectBox);
    QLabel* projectsNote = makeLabel(unitPage, custext::kActiveProjectsNote);
    projectsNote->setStyleSheet(QStringLiteral("color: #b00000;"));
    uv->addWidget(projectsNote);
    auto* unitBox = new QGroupBox(s("مشخصات واحد"), unitPage);
    QGridLayout* unitGrid = layRows(unitBox, kUnitRows);
    unitGrid->setContentsMargins(8, 4, 8, 4);
    uv->addWidget(unitBox, 1);
    // The note on units in the last row's free cells, beyond the storage and
    // parking button: with the grouped amounts under their fields the page
    // still fits a laptop's screen.
    QLabel* unitsNote = makeLabel(unitBox, custext::kActiveUnitsNote);
    unitsNote->setStyleSheet(QStringLiteral("color: #b00000;"));
    unitGrid->addWidget(unitsNote, int(kUnitRows.size()) - 1, 6, 1, 2, Qt::AlignLeading | Qt::AlignVCenter);
    m_pages->addTab(unitPage, s("پروژه و واحد"));

    auto* personPage = new QWidget;
    auto* ppv = new QVBoxLayout(personPage);
    auto* companyBox = new QWidget(personPage);
    layRows(companyBox, kCompanyRows);
    ppv->addWidget(companyBox);
    m_personBox = new QGroupBox(custext::kPersonHeading, personPage);
    m_personBox->setObjectName(QStringLiteral("person_box"));
    layRows(m_personBox, kPersonRows);
    ppv->addWidget(m_personBox, 1);
    m_pages->addTab(personPage, custext::kPersonHeading);

    auto* contractPage = new QWidget;
    layRows(contractPage, kContractRows);
    m_pages->addTab(contractPage, s("قرارداد و مدارک"));

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), custext::kInsert);
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), custext::kEdit);
    for (QPushButton* b : {ins_btn, edit_btn}) {
        b->setMinimumWidth(140);
        b->setMinimumHeight(30);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    buttons->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 6, 8, 6);
    top->setSpacing(4);
    top->addWidget(m_pages, 1);
    top->addLayout(buttons);
}

QWidget* Tcustomers_ins::makeField(const Field& f)
{
    const QString& c = f.column;
    const RecordEditor editor = recordEditors().value(c, RecordEditor::ByKind);
    QWidget* w = nullptr;
    if (editor == RecordEditor::Selector || editor == RecordEditor::PickList) {
        QComboBox* combo = makeCombo(this, c, editor == RecordEditor::PickList);
        if (editor == RecordEditor::PickList)
            combo->lineEdit()->setMaxLength(columnLength(QStringLiteral("customers"), c));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(8);
        w = combo;
    } else if (editor == RecordEditor::Amount) {
        auto* e = new TMonEdit(this);
        e->setObjectName(c);
        e->setMaxLength(19);
        alignDigitField(e);
        w = e;
    } else if (f.kind == FieldKind::Real && !readOnlyColumns().contains(c)) {
        auto* e = new TRealEdit(this);
        e->setObjectName(c);
        e->setMaxLength(12);
        alignDigitField(e);
        w = e;
    } else if (f.kind == FieldKind::Date) {
        w = makeDateEdit(this, c);
    } else {
        QLineEdit* e = makeEdit(this, c, columnLength(QStringLiteral("customers"), c));
        if (editor == RecordEditor::Digits) {
            installDigitFilter(e);
            e->setMaxLength(c == QLatin1String("otagh") ? 4 : 10);
        }
        if (f.kind != FieldKind::Text)
            alignDigitField(e);
        w = e;
    }
    // Words and numbers alike start at the field's right edge.
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
        combo->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    if (readOnlyColumns().contains(c)) {
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->setReadOnly(true);
            e->setStyleSheet(QStringLiteral("background-color: #eef1f4;"));
        }
        w->setFocusPolicy(Qt::NoFocus);
    }
    return w;
}

// Lays rows of fields out in a grid, caption and field, right to left.
QGridLayout* Tcustomers_ins::layRows(QWidget* parent, const QList<QStringList>& rows)
{
    auto* g = new QGridLayout(parent);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(5);
    int r = 0;
    for (const QStringList& row : rows) {
        int col = 0;
        for (const QString& cell : row) {
            if (cell.isEmpty()) {
                col += 2;
                continue;
            }
            const bool wide = cell.startsWith(QLatin1Char('*'));
            const QString c = wide ? cell.mid(1) : cell;
            QLabel* caption = nullptr;
            const auto dl = std::find_if(dateLabels().begin(), dateLabels().end(),
                                         [&c](const auto& p) { return c == QLatin1String(p.first); });
            if (dl != dateLabels().end()) {
                auto* cl = new ClickLabel(captionOf(c), QString::fromLatin1(dl->second), parent);
                QWidget* f = m_fields.value(c);
                connect(cl, &ClickLabel::clicked, this, [f] { static_cast<QLineEdit*>(f)->clear(); });
                caption = cl;
            } else if (c == QLatin1String("sh_no")) {
                auto* cl = new ClickLabel(captionOf(c), QStringLiteral("Label4"), parent);
                connect(cl, &ClickLabel::clicked, this, &Tcustomers_ins::Label4Click);
                caption = cl;
            } else {
                caption = makeLabel(parent, captionOf(c));
            }
            // The caption stands right beside its field.
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            g->addWidget(caption, r, col);
            QWidget* f = m_fields.value(c);
            auto* cellBox = new QHBoxLayout;
            cellBox->setSpacing(4);
            if (QLabel* l = m_grouped.value(c)) {
                // The grouped amount under its field: a whole amount
                // takes the field's width, not a column of its own.
                auto* stack = new QVBoxLayout;
                stack->setSpacing(0);
                stack->addWidget(f);
                stack->addWidget(l);
                cellBox->addLayout(stack, 1);
            } else {
                cellBox->addWidget(f, 1);
            }
            if (c == QLatin1String("nation"))
                cellBox->addWidget(SpeedButton1);
            if (c == QLatin1String("lname"))
                cellBox->addWidget(SpeedButton2);
            g->addLayout(cellBox, r, col + 1, 1, wide ? 7 : 1);
            // Beside the storage and parking totals, in the free cells
            // after them: the button that edit mode shows takes no room
            // from the fields' columns.
            if (c == QLatin1String("anbari"))
                g->addWidget(ins_btn2, r, col + 2, 1, 2, Qt::AlignLeading | Qt::AlignVCenter);
            col += 2;
        }
        ++r;
    }
    for (int c = 1; c < 8; c += 2)
        g->setColumnStretch(c, 1);
    g->setRowStretch(r, 1);
    return g;
}

void Tcustomers_ins::buildTabOrder()
{
    // The tab order: the project block, then each page right to left and top to bottom.
    const auto addOrder = [this](const Rows& rows) {
        for (const QStringList& row : rows)
            for (const QString& cell : row) {
                const QString c = cell.startsWith(QLatin1Char('*')) ? cell.mid(1) : cell;
                QWidget* w = m_fields.value(c);
                if (w && w->focusPolicy() != Qt::NoFocus)
                    m_order << w;
                if (c == QLatin1String("nation"))
                    m_order << SpeedButton1;
                if (c == QLatin1String("lname"))
                    m_order << SpeedButton2;
                if (c == QLatin1String("anbari"))
                    m_order << ins_btn2;
            }
    };
    addOrder(kProjectRows);
    addOrder(kUnitRows);
    addOrder(kCompanyRows);
    addOrder(kPersonRows);
    addOrder(kContractRows);
    m_order << ins_btn << edit_btn;
    for (QWidget* w : m_order)
        w->installEventFilter(this);
    for (QComboBox* c : findChildren<QComboBox*>())
        if (c->lineEdit())
            c->lineEdit()->installEventFilter(this);

}

void Tcustomers_ins::connectFields()
{
    connect(ins_btn, &QPushButton::clicked, this, &Tcustomers_ins::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tcustomers_ins::edit_btnClick);
    connect(ins_btn2, &QToolButton::clicked, this, &Tcustomers_ins::ins_btn2Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tcustomers_ins::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &Tcustomers_ins::SpeedButton2Click);
    connect(ostan, &QComboBox::currentIndexChanged, this, &Tcustomers_ins::ostanChange);
    connect(shahrestan, &QComboBox::currentIndexChanged, this, &Tcustomers_ins::shahrestanChange);
    connect(prj_cod, &QComboBox::currentIndexChanged, this, &Tcustomers_ins::prj_codChange);
    connect(shenase, &QComboBox::currentIndexChanged, this, &Tcustomers_ins::shenaseChange);
    connect(typ, &QComboBox::currentIndexChanged, this, &Tcustomers_ins::typClick);
    for (const QString& c : groupedColumns())
        connect(static_cast<QLineEdit*>(m_fields.value(c)), &QLineEdit::textChanged, this, &Tcustomers_ins::showGrouped);
    checkNationCodeOnExit(static_cast<QLineEdit*>(m_fields.value(QStringLiteral("nation"))));
    onFieldExit(static_cast<QLineEdit*>(m_fields.value(QStringLiteral("mobile"))), [this] { mobileExit(); });
    onFieldExit(static_cast<QLineEdit*>(m_fields.value(QStringLiteral("sahm"))), [this] { sahmExit(); });
    onFieldExit(static_cast<QLineEdit*>(m_fields.value(QStringLiteral("takhfif"))), [this] { takhfifExit(); });

}

QWidget* Tcustomers_ins::field(const QString& column) const
{
    return m_fields.value(column);
}

int Tcustomers_ins::pageOf(QWidget* w) const
{
    for (int i = 0; i < m_pages->count(); ++i)
        if (m_pages->widget(i)->isAncestorOf(w))
            return i;
    return -1;
}

void Tcustomers_ins::focusField(const QString& column)
{
    QWidget* w = m_fields.value(column);
    if (!w)
        return;
    const int page = pageOf(w);
    if (page >= 0)
        m_pages->setCurrentIndex(page);
    w->setFocus(Qt::OtherFocusReason);
}

void Tcustomers_ins::moveFocus(bool forward)
{
    QWidget* current = focusWidget();
    int at = -1;
    for (int i = 0; i < m_order.size(); ++i)
        if (m_order[i] == current || m_order[i]->isAncestorOf(current))
            at = i;
    for (int step = 1; step <= m_order.size(); ++step) {
        const int i = ((at < 0 ? (forward ? -1 : 0) : at) + (forward ? step : -step) + int(m_order.size())) % int(m_order.size());
        QWidget* w = m_order[i];
        if (!w->isEnabled() || w->isHidden() || (w->parentWidget() && !w->isVisibleTo(this)))
            continue;
        const int page = pageOf(w);
        if (page >= 0)
            m_pages->setCurrentIndex(page);
        w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
}

bool Tcustomers_ins::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_Tab && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) ||
            k->key() == Qt::Key_Backtab) {
            moveFocus(k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            auto* w = qobject_cast<QWidget*>(watched);
            // An open pick list takes Enter as its choice.
            auto* c = qobject_cast<QComboBox*>(w ? w->parentWidget() : nullptr);
            if (!c)
                c = qobject_cast<QComboBox*>(w);
            if (c && c->view() && c->view()->isVisible())
                return false;
            enterPressed(c ? static_cast<QWidget*>(c) : w);
            return true;
        }
    }
    return TWindow::eventFilter(watched, e);
}

void Tcustomers_ins::enterPressed(QWidget* in)
{
    // Enter in the company fields moves on, as it always has; elsewhere it saves.
    static const QList<std::pair<const char*, const char*>> next {
        {"comp_name", "comp_no"}, {"comp_no", "comp_shenase"}, {"eghtesadi_cod", "comp_dat"}, {"comp_dat", "fname"}};
    for (const auto& [from, to] : next)
        if (in && in == m_fields.value(QString::fromLatin1(from))) {
            focusField(QString::fromLatin1(to));
            return;
        }
    if (auto* b = qobject_cast<QAbstractButton*>(in); b && b != ins_btn && b != edit_btn) {
        b->click();
        return;
    }
    if (ins_btn->isVisibleTo(this))
        ins_btnClick();
    else if (edit_btn->isVisibleTo(this))
        edit_btnClick();
}

void Tcustomers_ins::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        enterPressed(focusWidget());
        return;
    }
    TWindow::keyPressEvent(e);
}

void Tcustomers_ins::closeEvent(QCloseEvent* e)
{
    // Closing forgets the pre-registration chosen for this entry: it stays as it was.
    m_prereg = 0;
    TWindow::closeEvent(e);
}

void Tcustomers_ins::reject()
{
    m_prereg = 0;
    TWindow::reject();
}

// ---------------------------------------------------------------- lists and values

namespace {

// The record's seven pick lists: the field and its setting key.
const std::pair<const char*, const QString*> kSettingPickLists[] = {
    {"nesbat", &custext::kSetNesbat}, {"tahsilat", &custext::kSetTahsilat}, {"vajed", &custext::kSetVajed},
    {"taeed", &custext::kSetTaeed},   {"job", &custext::kSetJob},           {"moaref", &custext::kSetMoaref},
    {"status", &custext::kSetStatus}};

} // namespace

void Tcustomers_ins::fillSettingLists()
{
    try {
        // The seven lists in one statement.
        ListBatch b;
        const QList<int> numbers = addSettingLists(b);
        b.read();
        fillSettingLists(b, numbers);
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
}

QList<int> Tcustomers_ins::addSettingLists(ListBatch& b)
{
    QList<int> numbers;
    for (const auto& [column, key] : kSettingPickLists)
        numbers << b.setting(*key);
    return numbers;
}

void Tcustomers_ins::fillSettingLists(const ListBatch& b, const QList<int>& numbers)
{
    int i = 0;
    for (const auto& [column, key] : kSettingPickLists) {
        auto* c = static_cast<QComboBox*>(m_fields.value(QString::fromLatin1(column)));
        const QString typed = c->currentText();
        fillCombo(c, b.list(numbers.value(i++)));
        setComboText(c, typed);
    }
}

void Tcustomers_ins::fillProvinces()
{
    try {
        const QSignalBlocker block(ostan);
        fillCombo(ostan, activeProvinces());
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
}

void Tcustomers_ins::setCombo(QComboBox* c, const QString& text, const QStringList& items)
{
    const QSignalBlocker block(c);
    fillCombo(c, items);
    setComboText(c, text);
}

applicants::CustomerValues Tcustomers_ins::values() const
{
    CustomerValues v;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        v.insert(it.key(), formText(it.value()));
    return v;
}

void Tcustomers_ins::setValues(const applicants::CustomerValues& values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        QWidget* w = m_fields.value(it.key());
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            setComboText(c, it.value());
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            const QSignalBlocker block(e);
            e->setText(it.value());
        }
    }
    showGrouped();
    typClick();
}

void Tcustomers_ins::showGrouped()
{
    for (auto it = m_grouped.cbegin(); it != m_grouped.cend(); ++it) {
        const QString g = groupAmount(formText(m_fields.value(it.key())));
        it.value()->setText(g.isEmpty() ? QStringLiteral("0") : g);
    }
}

// Empties the fields below a selector: texts, amounts and areas "0", the hidden ids.
void Tcustomers_ins::clearBelow(const QStringList& keep)
{
    CustomerValues empty = newValues();
    CustomerValues cleared;
    for (const QString& c : projectColumns() + unitColumns())
        if (!keep.contains(c))
            cleared.insert(c, empty.value(c));
    cleared[QStringLiteral("prj_id")] = QString();
    cleared[QStringLiteral("vahed_id")] = QString();
    for (const QString& c : keep)
        cleared.remove(c);
    setValues(cleared);
    m_basePrice = 0;
}

void Tcustomers_ins::prepareNew(bool keepLists)
{
    m_editId = 0;
    m_prereg = 0;
    m_basePrice = 0;
    if (!keepLists)
        fillSettingLists();
    setValues(newValues());
    for (QComboBox* c : {shahrestan, prj_cod, shenase})
        setCombo(c, QString(), {});
    if (!keepLists)
        fillProvinces();
    setComboText(ostan, QString());
    ins_btn->setVisible(true);
    edit_btn->setVisible(false);
    ins_btn2->setVisible(false);
    m_pages->setCurrentIndex(0);
    ostan->setFocus();
}

void Tcustomers_ins::prepareNewForUnit(const QSqlRecord& project, const QSqlRecord& unit)
{
    prepareNew(true);
    const CustomerValues p = projectValues(project);
    const qint64 prjId = project.value(QStringLiteral("id")).toLongLong();
    try {
        // The pick lists and the whole cascade in one statement.
        ListBatch b;
        const QList<int> pickLists = addSettingLists(b);
        const int provinceList = activeProvinces(b);
        const int countyList = activeCounties(b, p.value(QStringLiteral("ostan")));
        const int codes = activeProjectCodes(b, p.value(QStringLiteral("ostan")), p.value(QStringLiteral("shahrestan")));
        const int free = freeUnits(b, prjId);
        b.read();
        fillSettingLists(b, pickLists);
        setCombo(ostan, p.value(QStringLiteral("ostan")), b.list(provinceList));
        setCombo(shahrestan, p.value(QStringLiteral("shahrestan")), b.list(countyList));
        setCombo(prj_cod, p.value(QStringLiteral("prj_cod")), b.list(codes));
        setCombo(shenase, text(unit.value(QStringLiteral("shenase"))), b.list(free));
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
    setComboText(ostan, p.value(QStringLiteral("ostan")));
    setValues(p);
    setValues(unitValues(unit));
    m_basePrice = toMoney(unit.value(QStringLiteral("mablagh")));
    m_pages->setCurrentIndex(1);
    focusField(QStringLiteral("fname"));
}

void Tcustomers_ins::prepareEdit(const QSqlRecord& customer)
{
    m_editId = customer.value(QStringLiteral("id")).toLongLong();
    m_read = customer;
    m_prereg = 0;
    const CustomerValues v = valuesOf(customer);
    try {
        // The pick lists and the whole cascade in one statement.
        ListBatch b;
        const QList<int> pickLists = addSettingLists(b);
        const int provinceList = activeProvinces(b);
        const int countyList = activeCounties(b, v.value(QStringLiteral("ostan")));
        const int codes = activeProjectCodes(b, v.value(QStringLiteral("ostan")), v.value(QStringLiteral("shahrestan")));
        const int free = freeUnits(b, customer.value(QStringLiteral("prj_id")).toLongLong());
        b.read();
        fillSettingLists(b, pickLists);
        setCombo(ostan, v.value(QStringLiteral("ostan")), b.list(provinceList));
        setCombo(shahrestan, v.value(QStringLiteral("shahrestan")), b.list(countyList));
        setCombo(prj_cod, v.value(QStringLiteral("prj_cod")), b.list(codes));
        // The applicant's own unit is among the choices, with the free units of the project.
        QStringList units {v.value(QStringLiteral("shenase"))};
        units << b.list(free);
        units.removeDuplicates();
        setCombo(shenase, v.value(QStringLiteral("shenase")), units);
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
    setValues(v);
    m_basePrice = toMoney(customer.value(QStringLiteral("mablagh"))) + toMoney(customer.value(QStringLiteral("takhfif")));
    ins_btn->setVisible(false);
    edit_btn->setVisible(true);
    ins_btn2->setVisible(true);
    ins_btn2->setEnabled(applicantWindow(QStringLiteral("ins_btn2")) != nullptr);
    m_pages->setCurrentIndex(0);
    ostan->setFocus();
}

// ---------------------------------------------------------------- the cascade

void Tcustomers_ins::ostanChange()
{
    clearBelow({QStringLiteral("ostan")});
    try {
        setCombo(shahrestan, QString(), activeCounties(ostan->currentText()));
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
    setCombo(prj_cod, QString(), {});
    setCombo(shenase, QString(), {});
}

void Tcustomers_ins::shahrestanChange()
{
    clearBelow({QStringLiteral("ostan"), QStringLiteral("shahrestan")});
    try {
        setCombo(prj_cod, QString(), activeProjectCodes(ostan->currentText(), shahrestan->currentText()));
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
    setCombo(shenase, QString(), {});
}

void Tcustomers_ins::prj_codChange()
{
    clearBelow({QStringLiteral("ostan"), QStringLiteral("shahrestan"), QStringLiteral("prj_cod")});
    setCombo(shenase, QString(), {});
    try {
        const auto project = activeProject(ostan->currentText(), shahrestan->currentText(), prj_cod->currentText());
        if (!project)
            return;
        CustomerValues p = projectValues(*project);
        p.remove(QStringLiteral("ostan"));
        p.remove(QStringLiteral("shahrestan"));
        p.remove(QStringLiteral("prj_cod"));
        setValues(p);
        setCombo(shenase, QString(), freeUnits(project->value(QStringLiteral("id")).toLongLong()));
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
}

void Tcustomers_ins::shenaseChange()
{
    QStringList keep = projectColumns();
    keep << QStringLiteral("shenase");
    clearBelow(keep);
    try {
        const qint64 prjId = values().value(QStringLiteral("prj_id")).toLongLong();
        if (m_editId > 0) {
            // The edited applicant's own unit is sold to him, so it is not among the
            // free units: choosing it again brings back its block as stored.
            const auto stored = customerRow(m_editId);
            if (stored && stored->value(QStringLiteral("prj_id")).toLongLong() == prjId &&
                text(stored->value(QStringLiteral("shenase"))) == shenase->currentText()) {
                CustomerValues u = valuesOf(*stored);
                CustomerValues back;
                for (const QString& c : unitColumns())
                    if (c != QLatin1String("shenase") && u.contains(c))
                        back.insert(c, u.value(c));
                back.insert(QStringLiteral("vahed_id"), u.value(QStringLiteral("vahed_id")));
                setValues(back);
                m_basePrice = toMoney(stored->value(QStringLiteral("mablagh"))) +
                              toMoney(stored->value(QStringLiteral("takhfif")));
                takhfifExit();
                return;
            }
        }
        const auto unit = freeUnit(prjId, shenase->currentText());
        if (!unit)
            return;
        const qint64 takhfif = tryParseAmount(formText(m_fields.value(QStringLiteral("takhfif")))).value_or(0);
        CustomerValues u = unitValues(*unit, takhfif);
        u.remove(QStringLiteral("shenase"));
        setValues(u);
        m_basePrice = toMoney(unit->value(QStringLiteral("mablagh")));
    } catch (const DbError& e) {
        reportFailure(custext::kListsFailed, e);
    }
}

// ---------------------------------------------------------------- field handlers

void Tcustomers_ins::typClick()
{
    const bool company = typ->currentText() == custext::kCompany;
    m_personBox->setTitle(company ? custext::kCompanyHeading : custext::kPersonHeading);
    for (const QString& c : companyColumns()) {
        QWidget* w = m_fields.value(c);
        w->setStyleSheet(company ? QStringLiteral("background-color: yellow;") : QString());
    }
}

void Tcustomers_ins::takhfifExit()
{
    // The price is the unit's price less the discount, however often the field is left.
    const auto takhfif = tryParseAmount(formText(m_fields.value(QStringLiteral("takhfif"))));
    if (!takhfif || formText(m_fields.value(QStringLiteral("vahed_id"))).isEmpty())
        return;
    static_cast<QLineEdit*>(m_fields.value(QStringLiteral("mablagh")))
        ->setText(QString::number(discountedPrice(m_basePrice, *takhfif)));
}

void Tcustomers_ins::mobileExit()
{
    auto* e = static_cast<QLineEdit*>(m_fields.value(QStringLiteral("mobile")));
    const QString m = mobileMessage(e->text());
    if (m.isEmpty())
        return;
    dialogs().error(m);
    focusField(QStringLiteral("mobile"));
}

void Tcustomers_ins::sahmExit()
{
    const QString m = sahmMessage(formText(m_fields.value(QStringLiteral("sahm"))));
    if (m.isEmpty())
        return;
    dialogs().error(m);
    focusField(QStringLiteral("sahm"));
}

void Tcustomers_ins::Label4Click()
{
    auto* sh = static_cast<QLineEdit*>(m_fields.value(QStringLiteral("sh_no")));
    if (sh->text().isEmpty())
        sh->setText(formText(m_fields.value(QStringLiteral("nation"))));
}

// ---------------------------------------------------------------- pre-registration

void Tcustomers_ins::copyPrereg(const QSqlRecord& pishsabt)
{
    // The person now in the form is the one a save may move in; an earlier choice is dropped.
    m_prereg = 0;
    setValues(preregValues(pishsabt));
    const Answer a = dialogs().question(custext::kAskRemovePrereg, Buttons::YesNoCancel, MsgKind::Warning);
    // Only remembered: the save moves the pre-registration in, in its own transaction.
    if (a == Answer::Yes)
        m_prereg = pishsabt.value(QStringLiteral("id")).toLongLong();
}

void Tcustomers_ins::SpeedButton1Click()
{
    const QString nation = formText(m_fields.value(QStringLiteral("nation")));
    if (nation.isEmpty())
        return;
    QList<QSqlRecord> rows;
    try {
        rows = preregByNation(nation);
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    if (rows.isEmpty()) {
        dialogs().information(custext::kNotPreregistered);
        return;
    }
    copyPrereg(rows.first());
}

void Tcustomers_ins::SpeedButton2Click()
{
    const QString lname = formText(m_fields.value(QStringLiteral("lname")));
    if (lname.isEmpty())
        return;
    QList<QSqlRecord> rows;
    try {
        rows = preregByName(formText(m_fields.value(QStringLiteral("fname"))), lname);
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
        return;
    }
    if (rows.isEmpty()) {
        dialogs().information(custext::kNotPreregistered);
        return;
    }
    int chosen = 0;
    if (rows.size() > 1) {
        // Several people match: the user chooses one, never the first silently.
        const auto c = TPreregChoice::choose(rows, this);
        if (!c)
            return;
        chosen = *c;
    }
    copyPrereg(rows.at(chosen));
}

// ---------------------------------------------------------------- save

void Tcustomers_ins::showResult(const Outcome& r)
{
    r.show();
    if (!r.done)
        focusField(r.focus);
}

void Tcustomers_ins::ins_btnClick()
{
    CustomerValues v = values();
    Outcome r;
    try {
        r = insertCustomer(v, askWarning(), m_prereg);
    } catch (const DbError& e) {
        reportFailure(custext::kSaveFailed, e);
        return;
    }
    setComboText(static_cast<QComboBox*>(m_fields.value(QStringLiteral("status"))), v.value(QStringLiteral("status")));
    static_cast<QLineEdit*>(m_fields.value(QStringLiteral("takhfif")))->setText(v.value(QStringLiteral("takhfif")));
    showResult(r);
    if (!r.done)
        return;
    Q_EMIT added(r.id);
    // Ready for the next buyer, with the lists already read.
    prepareNew(true);
}

void Tcustomers_ins::edit_btnClick()
{
    CustomerValues v = values();
    Outcome r;
    try {
        r = updateCustomer(m_editId, v, m_prereg, m_read);
    } catch (const DbError& e) {
        reportFailure(custext::kSaveFailed, e);
        return;
    }
    if (r.changedByOther) {
        // Another user saved this applicant since the window was filled: his
        // change is shown only when the user asks for it.
        if (offerReload(r.texts().join(QLatin1Char('\n')))) {
            try {
                if (const auto row = customerRow(m_editId))
                    prepareEdit(*row);
            } catch (const DbError& e) {
                reportFailure(custext::kSearchFailed, e);
            }
        }
        return;
    }
    static_cast<QLineEdit*>(m_fields.value(QStringLiteral("takhfif")))->setText(v.value(QStringLiteral("takhfif")));
    showResult(r);
    if (!r.done)
        return;
    m_prereg = 0;
    Q_EMIT saved(r.id);
    accept();
}

void Tcustomers_ins::refreshTotals()
{
    if (m_editId <= 0)
        return;
    try {
        const auto row = customerRow(m_editId);
        if (!row)
            return;
        const CustomerValues v = valuesOf(*row);
        setValues({{QStringLiteral("parking"), v.value(QStringLiteral("parking"))},
                   {QStringLiteral("anbari"), v.value(QStringLiteral("anbari"))},
                   {QStringLiteral("pardakht_sum"), v.value(QStringLiteral("pardakht_sum"))}});
    } catch (const DbError& e) {
        reportFailure(custext::kSearchFailed, e);
    }
}

void Tcustomers_ins::ins_btn2Click()
{
    if (m_editId <= 0)
        return;
    openApplicantWindow(QStringLiteral("ins_btn2"), m_editId, this, height(), [this] {
        refreshTotals();
        Q_EMIT saved(m_editId);
    });
}

} // namespace tavrin
