#include "about_u.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tavrin {

Tabout::Tabout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Tabout"));
    setWindowTitle(QStringLiteral("درباره ما"));
    setLayoutDirection(Qt::RightToLeft);
    auto* text = new QLabel(
        QStringLiteral("<h3>Tavrin %1</h3>"
                       "<p>سامانه فروش واحدهاي طرح هاي مسکن: پروژه ها، واحدها، انباري ها و پارکينگ ها، "
                       "متقاضيان و پرداخت هاي آنان، پيش ثبت نام، اسناد و گزارش هاي استاني و شهرستاني.</p>")
            .arg(33),
        this);
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* l = new QVBoxLayout(this);
    l->addWidget(text);
    l->addWidget(buttons);
    resize(420, 200);
}

}   // namespace tavrin
