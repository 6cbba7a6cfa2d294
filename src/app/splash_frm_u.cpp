#include "splash_frm_u.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace tavrin {

Tsplash_frm::Tsplash_frm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Tsplash_frm"));
    setLayoutDirection(Qt::RightToLeft);
    setStyleSheet(QStringLiteral("QWidget#Tsplash_frm { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                 "stop:0 #1c4e80, stop:1 #0b2a47); } QLabel { color: white; }"));
    auto* name = new QLabel(QStringLiteral("Tavrin"), this);
    QFont f = name->font();
    f.setPointSize(28);
    f.setBold(true);
    name->setFont(f);
    name->setAlignment(Qt::AlignCenter);
    auto* wait = new QLabel(QStringLiteral("لطفا منتظر بمانيد..."), this);
    wait->setObjectName(QStringLiteral("Label1"));
    wait->setAlignment(Qt::AlignCenter);
    auto* line2 = new QLabel(QStringLiteral("Housing projects · units · applicants"), this);
    line2->setAlignment(Qt::AlignCenter);
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setMaximumHeight(8);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(30, 30, 30, 20);
    l->addWidget(name);
    l->addWidget(wait);
    l->addWidget(line2);
    l->addStretch();
    l->addWidget(bar);
    resize(460, 260);
}

} // namespace tavrin
