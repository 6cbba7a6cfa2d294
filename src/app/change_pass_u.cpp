#include "change_pass_u.h"

#include "common/dialogs.h"
#include "db/database.h"
#include "db/password.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

Tchange_pass::Tchange_pass() : TWindow(QStringLiteral("Tchange_pass"), QStringLiteral("تغيير کلمه عبور"))
{
    Edit1 = makeEdit(this, QStringLiteral("Edit1"));
    Edit2 = makeEdit(this, QStringLiteral("Edit2"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit2->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("كلمه عبور جديد"), Edit1);
    form->addRow(QStringLiteral("تاييد كلمه عبور"), Edit2);
    auto* ok = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("تغيير"));
    auto* cancel = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("انصراف"));
    connect(ok, &QPushButton::clicked, this, &Tchange_pass::BitBtn1Click);
    setSaveButtons({ok});
    connect(cancel, &QPushButton::clicked, this, &Tchange_pass::BitBtn2Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(buttons);
}

void Tchange_pass::setLogin(const QString& user, const QString& password)
{
    m_user = user;
    m_password = password;
    Edit1->clear();
    Edit2->clear();
}

void Tchange_pass::BitBtn1Click()
{
    if (Edit1->text().isEmpty() && Edit2->text().isEmpty()) {
        dialogs().information(QStringLiteral("كلمه عبور صحيح نيست"));
        return;
    }
    if (Edit1->text() != Edit2->text()) {
        dialogs().information(QStringLiteral("كلمه عبور جديد همخواني ندارد"));
        return;
    }
    try {
        // The stored password is checked again, so a password changed meanwhile
        // elsewhere is not overwritten, and a failed change is not reported as done.
        const auto row = dm().firstRow(QStringLiteral("select id,ps from users where ") +
                                           dm().dialect().exactEquals(QStringLiteral("us")),
                                       {m_user});
        if (!row || !password::matches(m_password, row->value(1))) {
            dialogs().information(QStringLiteral("كلمه و رمز عبور را در صفحه فعلي درست وارد نماييد"));
            return;
        }
        const int changed = dm().execAffected(QStringLiteral("update users set ps=? where id=? and ps=?"),
                                              {password::hash(Edit1->text()), row->value(0), row->value(1)});
        if (changed != 1) {
            dialogs().information(QStringLiteral("كلمه و رمز عبور را در صفحه فعلي درست وارد نماييد"));
            return;
        }
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("عمليات ثبت با خطا مواجه گرديد، لطفا دوباره سعي نماييد"), e);
        return;
    }
    dialogs().information(QStringLiteral("كلمه عبور تغيير يافت"));
    Q_EMIT finishedChange();
    close();
}

void Tchange_pass::BitBtn2Click()
{
    Q_EMIT finishedChange();
    close();
}

} // namespace tavrin
