#include "users_ins_u.h"
#include "useradmin.h"

#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "common/stale.h"
#include "db/database.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
const QString kStatusKey = QStringLiteral("وضعيت کاربر");
} // namespace

const QString Tusers_ins::kMobileLength = QStringLiteral("هشدار! طول موبايل بايد 11 رقم باشد");

Tusers_ins::Tusers_ins()
    : TWindow(QStringLiteral("Tusers_ins"), QStringLiteral("ثبت/ويرايش کاربران"))
{
    us = makeEdit(this, QStringLiteral("us"), columnLength(QStringLiteral("users"), QStringLiteral("us")));
    ps = makeEdit(this, QStringLiteral("ps"));
    nam = makeEdit(this, QStringLiteral("nam"), columnLength(QStringLiteral("users"), QStringLiteral("nam")));
    mobile = makeEdit(this, QStringLiteral("mobile"), columnLength(QStringLiteral("users"), QStringLiteral("mobile")));
    ostan = makeCombo(this, QStringLiteral("ostan"));
    lev = makeCombo(this, QStringLiteral("lev"), false);
    fillLevels(lev);  // shown in Persian, stored as they are
    semat = makeCombo(this, QStringLiteral("semat"));
    status = makeCombo(this, QStringLiteral("status"));
    for (QLineEdit* e : {us, ps, mobile})
        e->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    for (QComboBox* c : {ostan, lev, semat, status})
        c->setMinimumWidth(220);
    us->setMinimumWidth(220);

    ins_btn = makeButton(this, QStringLiteral("ins_btn"), QStringLiteral("ثبت"));
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), QStringLiteral("ويرايش"));
    ins_btn->setMinimumWidth(110);
    edit_btn->setMinimumWidth(110);
    connect(ins_btn, &QPushButton::clicked, this, &Tusers_ins::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Tusers_ins::edit_btnClick);
    setSaveButtons({ins_btn, edit_btn});

    Label2 = new ClickLabel(QStringLiteral("رمز"), QStringLiteral("Label2"), this);
    Label4 = new ClickLabel(QStringLiteral("موبايل"), QStringLiteral("Label4"), this);
    for (ClickLabel* l : {Label2, Label4}) {
        l->setStyleSheet(QStringLiteral("color: #1a5fb4; text-decoration: underline;"));
        l->setCursor(Qt::PointingHandCursor);
    }
    Label2->setToolTip(QStringLiteral("موبايل به عنوان رمز"));
    Label4->setToolTip(QStringLiteral("رمز به عنوان موبايل"));
    connect(Label2, &ClickLabel::clicked, this, &Tusers_ins::Label2Click);
    connect(Label4, &ClickLabel::clicked, this, &Tusers_ins::Label4Click);

    onFieldExit(us, [this] { usExit(); });
    onFieldExit(mobile, [this] { mobileExit(); });

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    form->setHorizontalSpacing(14);
    form->setVerticalSpacing(8);
    form->addRow(makeLabel(this, QStringLiteral("نام كاربري (کد ملي)")), us);
    form->addRow(Label2, ps);
    form->addRow(makeLabel(this, QStringLiteral("نام و نام خانوادگي")), nam);
    form->addRow(Label4, mobile);
    form->addRow(makeLabel(this, QStringLiteral("استان")), ostan);
    form->addRow(makeLabel(this, QStringLiteral("سطح")), lev);
    form->addRow(makeLabel(this, QStringLiteral("گروه کاربري")), semat);
    form->addRow(makeLabel(this, QStringLiteral("وضعيت")), status);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    buttons->addStretch();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(18, 18, 18, 14);
    top->addLayout(form);
    top->addSpacing(8);
    top->addLayout(buttons);
}

void Tusers_ins::FormShow()
{
    try {
        fillCombo(ostan, provinces());
        fillCombo(semat, settingList(useradmin::kRolesKey));
        fillCombo(status, settingList(kStatusKey));
    } catch (const DbError&) {
        // The lists stay empty; the fields can still be typed.
    }
}

void Tusers_ins::startNew()
{
    FormShow();
    m_editId = 0;
    m_read = QSqlRecord();
    for (QLineEdit* e : {us, ps, mobile, nam})
        e->clear();
    ps->setPlaceholderText(QString());
    lev->setCurrentIndex(-1);
    ostan->setEditText(QString());
    semat->setEditText(QString());
    status->setEditText(useradmin::kActiveUser);
    ins_btn->setVisible(true);
    edit_btn->setVisible(false);
}

void Tusers_ins::startEdit(const QSqlRecord& user)
{
    FormShow();
    m_editId = user.value(QStringLiteral("id")).toLongLong();
    m_read = user;
    us->setText(text(user.value(QStringLiteral("us"))));
    ps->clear();  // the stored value is a hash, never shown
    ps->setPlaceholderText(QStringLiteral("خالي: رمز فعلي حفظ مي شود"));
    nam->setText(text(user.value(QStringLiteral("nam"))));
    mobile->setText(text(user.value(QStringLiteral("mobile"))));
    lev->setCurrentIndex(lev->findData(text(user.value(QStringLiteral("lev")))));
    ostan->setEditText(text(user.value(QStringLiteral("ostan"))));
    semat->setEditText(text(user.value(QStringLiteral("semat"))));
    status->setEditText(text(user.value(QStringLiteral("status"))));
    ins_btn->setVisible(false);
    edit_btn->setVisible(true);
}

useradmin::UserFields Tusers_ins::fields() const
{
    useradmin::UserFields f;
    f.us = us->text().trimmed();
    f.ps = ps->text();
    f.nam = nam->text();
    f.mobile = mobile->text();
    f.ostan = ostan->currentText();
    f.lev = lev->currentData().toString();
    f.semat = semat->currentText();
    f.status = status->currentText();
    return f;
}

void Tusers_ins::usExit()
{
    checkNationCodeField(us);
}

void Tusers_ins::mobileExit()
{
    if (mobile->text().size() != 11)
        dialogs().warning(kMobileLength);
}

void Tusers_ins::Label2Click()
{
    ps->setText(mobile->text());
}

void Tusers_ins::Label4Click()
{
    mobile->setText(ps->text());
}

bool Tusers_ins::ins_btnClick()
{
    try {
        const QString refusal = useradmin::insertUser(fields());
        if (!refusal.isEmpty()) {
            dialogs().warning(refusal);
            return false;
        }
    } catch (const DbError& e) {
        reportFailure(useradmin::kInsertFailed, e);
        return false;
    }
    dialogs().information(useradmin::kSaved);
    if (onSaved)
        onSaved();
    return true;
}

bool Tusers_ins::edit_btnClick()
{
    try {
        const QString refusal = useradmin::updateUser(m_editId, fields(), m_read);
        if (refusal == useradmin::kChangedByOther) {
            askToReload(refusal);
            return false;
        }
        if (!refusal.isEmpty()) {
            dialogs().warning(refusal);
            return false;
        }
    } catch (const DbError& e) {
        reportFailure(useradmin::kUpdateFailed, e);
        return false;
    }
    if (onSaved)
        onSaved();
    accept();
    return true;
}

void Tusers_ins::askToReload(const QString& message)
{
    if (!offerReload(message))
        return;
    std::optional<QSqlRecord> user;
    try {
        user = dm().firstRow(QStringLiteral("select id,us,lev,nam,semat,mobile,ostan,status from users where id=?"),
                             {m_editId});
    } catch (const DbError& e) {
        reportFailure(useradmin::kUpdateFailed, e);
        return;
    }
    if (!user) {
        dialogs().warning(useradmin::kUserMissing);
        reject();
        return;
    }
    startEdit(*user);
}

} // namespace tavrin
