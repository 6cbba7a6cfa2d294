#include "project_space_u.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/monedit.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"

#include <QComboBox>
#include <QEvent>
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

} // namespace

TProjectSpaceWindow::TProjectSpaceWindow(const spaces::SpaceKind& kind, const QString& name, const QString& caption,
                                         const QString& countCaption)
    : TWindow(name, caption), m_kind(kind)
{
    auto* title = makeLabel(this, caption, QStringLiteral("Label1"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

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
    auto* pg = new QGridLayout(projectBox);
    pg->addWidget(makeLabel(this, QStringLiteral("نام پروژه")), 0, 0);
    pg->addWidget(prj_name, 0, 1, 1, 3);
    pg->addWidget(makeLabel(this, QStringLiteral("مربوط به استان")), 1, 0);
    pg->addWidget(ostan, 1, 1);
    pg->addWidget(makeLabel(this, QStringLiteral("شهرستان")), 1, 2);
    pg->addWidget(shahrestan, 1, 3);

    const QString table = m_kind.table;
    const auto combo = [this, &table](const char* n) {
        QComboBox* c = makeCombo(this, QString::fromLatin1(n));
        const int len = columnLength(table, QString::fromLatin1(n));
        if (len > 0 && c->lineEdit())
            c->lineEdit()->setMaxLength(len);
        if (c->lineEdit())
            c->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        c->setMinimumWidth(160);
        return c;
    };
    bolok = combo("bolok");
    pos = combo("pos");
    status = combo("status");
    num = makeEdit(this, QStringLiteral("num"), 9);
    installDigitFilter(num);
    metraj = new TRealEdit(this);
    metraj->setObjectName(QStringLiteral("metraj"));
    metraj->setMaxLength(15);
    mablagh1 = makeEdit(this, QStringLiteral("mablagh1"), kAmountFieldLength);
    mablagh = makeEdit(this, QStringLiteral("mablagh"), kAmountFieldLength);
    installDigitFilter(mablagh1);
    installDigitFilter(mablagh);
    mablagh1_3harfi = makeGroupedLabel(this, "mablagh1_3harfi", 100);
    mablagh_3harfi = makeGroupedLabel(this, "mablagh_3harfi", 100);

    auto* box = new QGroupBox(this);
    auto* g = new QGridLayout(box);
    int row = 0;
    const auto add = [g, &row](const QString& caption, QWidget* w, QWidget* extra = nullptr, QWidget* extra2 = nullptr) {
        g->addWidget(new QLabel(caption), row, 0);
        g->addWidget(w, row, 1);
        if (extra)
            g->addWidget(extra, row, 2);
        if (extra2)
            g->addWidget(extra2, row, 3);
        ++row;
    };
    add(QStringLiteral("بلوک"), bolok);
    add(m_kind.numCaption, num);
    add(QStringLiteral("طبقه/موقعيت"), pos);
    add(QStringLiteral("متراژ"), metraj);
    add(QStringLiteral("قيمت هر مترمربع"), mablagh1, mablagh1_3harfi, makeLabel(this, QStringLiteral("(بريال)")));
    add(QStringLiteral("مبلغ کل"), mablagh, mablagh_3harfi, makeLabel(this, QStringLiteral("(بريال)")));
    add(QStringLiteral("وضعيت"), status);
    if (m_kind.hasSaghf) {
        saghf = combo("saghf");
        add(QStringLiteral("سقف"), saghf);
    }
    g->setColumnStretch(4, 1);

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), QStringLiteral("ثبت"));
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), QStringLiteral("ويرايش"));
    for (QPushButton* b : {ins_btn, edit_btn}) {
        b->setMinimumWidth(110);
        b->setMinimumHeight(30);
    }
    connect(ins_btn, &QPushButton::clicked, this, &TProjectSpaceWindow::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &TProjectSpaceWindow::edit_btnClick);
    setSaveButtons({ins_btn, edit_btn});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(makeLabel(this, countCaption));
    buttons->addWidget(cnt);
    buttons->addStretch(1);
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);

    auto* top = new QVBoxLayout(this);
    top->addWidget(title);
    top->addWidget(projectBox);
    top->addWidget(box);
    top->addLayout(buttons);

    connect(metraj, &QLineEdit::textChanged, this, &TProjectSpaceWindow::computePrice);
    connect(mablagh1, &QLineEdit::textChanged, this, &TProjectSpaceWindow::computePrice);
    connect(mablagh, &QLineEdit::textChanged, this, &TProjectSpaceWindow::updateGroupedLabels);
    mablagh->installEventFilter(this);
    QList<QWidget*> order {bolok, num, pos, metraj, mablagh1, mablagh, status};
    if (saghf)
        order << saghf;
    order << ins_btn << edit_btn;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setMinimumWidth(520);
}

bool TProjectSpaceWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mablagh && event->type() == QEvent::FocusIn)
        computePrice();
    return TWindow::eventFilter(watched, event);
}

void TProjectSpaceWindow::fillLists()
{
    try {
        fillCombo(bolok, settingList(QStringLiteral("بلوک")));
        fillCombo(pos, settingList(m_kind.posSetting));
        fillCombo(status, settingList(m_kind.statusSetting));
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! فهرست هاي انتخاب خوانده نشد"), e);
    }
    if (saghf)
        fillCombo(saghf, {QStringLiteral("مسقف"), QStringLiteral("غير مسقف")});
}

void TProjectSpaceWindow::showProject(const QSqlRecord& project)
{
    m_project = project;
    prj_name->setText(fieldValue(project, "prj_name"));
    ostan->setText(fieldValue(project, "ostan"));
    shahrestan->setText(fieldValue(project, "shahrestan"));
    refreshCount();
}

void TProjectSpaceWindow::refreshCount()
{
    try {
        cnt->setText(QString::number(spaces::spaceCount(m_kind, items::recordId(m_project))));
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("خطا! تعداد خوانده نشد"), e);
    }
}

void TProjectSpaceWindow::prepareNew(const QSqlRecord& project)
{
    m_id = 0;
    m_read = QSqlRecord();
    fillLists();
    showProject(project);
    bolok->setEditText(QString());
    pos->setEditText(QString());
    num->clear();
    metraj->clear();
    status->setEditText(items::freeStatus());
    mablagh1->setText(QStringLiteral("0"));
    mablagh->setText(QStringLiteral("0"));
    if (saghf)
        saghf->setEditText(QStringLiteral("مسقف"));
    updateGroupedLabels();
    ins_btn->setVisible(true);
    edit_btn->setVisible(false);
    bolok->setFocus();
}

void TProjectSpaceWindow::prepareEdit(const QSqlRecord& project, const QSqlRecord& row)
{
    m_id = items::recordId(row);
    m_read = row;
    fillLists();
    showProject(project);
    bolok->setEditText(fieldValue(row, "bolok"));
    pos->setEditText(fieldValue(row, "pos"));
    num->setText(fieldValue(row, "num"));
    status->setEditText(fieldValue(row, "status"));
    if (saghf)
        saghf->setEditText(fieldValue(row, "saghf"));
    metraj->setText(numberValue(row, "metraj"));
    mablagh1->setText(QString::number(toMoney(row.value(QStringLiteral("mablagh1")))));
    mablagh->setText(QString::number(toMoney(row.value(QStringLiteral("mablagh")))));
    updateGroupedLabels();
    ins_btn->setVisible(false);
    edit_btn->setVisible(true);
    bolok->setFocus();
}

spaces::SpaceForm TProjectSpaceWindow::form() const
{
    spaces::SpaceForm f;
    f.bolok = bolok->currentText();
    f.num = num->text();
    f.metraj = metraj->text();
    f.pos = pos->currentText();
    f.mablagh1 = mablagh1->text();
    f.mablagh = mablagh->text();
    f.status = status->currentText();
    if (saghf)
        f.saghf = saghf->currentText();
    return f;
}

void TProjectSpaceWindow::computePrice()
{
    mablagh->setText(spaces::priceText(metraj->text(), mablagh1->text()));
    updateGroupedLabels();
}

void TProjectSpaceWindow::updateGroupedLabels()
{
    const QString a = groupAmount(mablagh1->text()), b = groupAmount(mablagh->text());
    mablagh1_3harfi->setText(a.isEmpty() ? QStringLiteral("0") : a);
    mablagh_3harfi->setText(b.isEmpty() ? QStringLiteral("0") : b);
}

void TProjectSpaceWindow::ins_btnClick()
{
    Outcome r;
    try {
        r = spaces::insertSpace(m_kind, m_project, form());
    } catch (const DbError& e) {
        reportFailure(m_kind.saveFailed, e);
        refreshCount();
        return;
    }
    r.show();
    if (!r.focus.isEmpty())
        if (auto* w = findChild<QWidget*>(r.focus))
            w->setFocus();
    refreshCount();
    if (r.done)
        Q_EMIT spacesChanged();
}

void TProjectSpaceWindow::edit_btnClick()
{
    Outcome r;
    try {
        r = spaces::updateSpace(m_kind, m_project, m_id, form(), m_read);
    } catch (const DbError& e) {
        reportFailure(m_kind.saveFailed, e);
        return;
    }
    if (r.changedByOther) {
        askToReload(r);
        return;
    }
    r.show();
    if (!r.done) {
        if (!r.focus.isEmpty())
            if (auto* w = findChild<QWidget*>(r.focus))
                w->setFocus();
        return;
    }
    Q_EMIT spacesChanged();
    accept();
}

void TProjectSpaceWindow::askToReload(const Outcome& r)
{
    if (!offerReload(r.texts().join(QLatin1Char('\n'))))
        return;
    std::optional<QSqlRecord> row;
    try {
        row = dm().firstRow(QStringLiteral("select * from %1 where id=?").arg(m_kind.table), {m_id});
    } catch (const DbError& e) {
        reportFailure(m_kind.saveFailed, e);
        return;
    }
    if (!row) {
        // Deleted meanwhile: the list shows it is gone.
        Q_EMIT spacesChanged();
        reject();
        return;
    }
    prepareEdit(m_project, *row);
    // The list shows the record as stored too.
    Q_EMIT spacesChanged();
}

} // namespace tavrin
