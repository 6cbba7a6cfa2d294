#include "check_u.h"

#include "common/dialogs.h"
#include "maintenance/consistency.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavrin {

Tcheck::Tcheck() : TWindow(QStringLiteral("Tcheck"), QStringLiteral("بررسي سازگاري داده ها"))
{
    auto* note = new QLabel(QStringLiteral("فروش واحدها، انباري ها و پارکينگ ها، جمع پرداخت ها و وام ها، و رديف هايي که "
                                           "پرونده اصلي آنها حذف شده است بررسي مي شوند. اين بررسي چيزي را تغيير نمي دهد."),
                            this);
    note->setWordWrap(true);
    check_btn = new QPushButton(QStringLiteral("بررسي"), this);
    check_btn->setObjectName(QStringLiteral("check_btn"));
    check_btn->setDefault(true);
    cnt = new QLabel(this);
    cnt->setObjectName(QStringLiteral("cnt"));
    findings = new QTableWidget(0, 3, this);
    findings->setObjectName(QStringLiteral("findings"));
    findings->setHorizontalHeaderLabels({QStringLiteral("جدول"), QStringLiteral("شناسه"), QStringLiteral("شرح")});
    findings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    findings->setSelectionBehavior(QAbstractItemView::SelectRows);
    findings->verticalHeader()->setVisible(false);
    findings->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    findings->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    findings->horizontalHeader()->setStretchLastSection(true);
    findings->setWordWrap(false);

    auto* top = new QHBoxLayout;
    top->addWidget(check_btn);
    top->addWidget(cnt, 1);
    auto* l = new QVBoxLayout(this);
    l->addWidget(note);
    l->addLayout(top);
    l->addWidget(findings, 1);
    connect(check_btn, &QPushButton::clicked, this, &Tcheck::check_btnClick);
    resize(900, 560);
}

void Tcheck::prepareToShow()
{
    findings->setRowCount(0);
    cnt->clear();
}

void Tcheck::check_btnClick()
{
    QList<maintenance::Finding> found;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        findings->setRowCount(0);
        cnt->clear();
        try {
            found = maintenance::checkConsistency(dm());
        } catch (const DbError& e) {
            reportFailure(QStringLiteral("خطا! بررسي سازگاري داده ها انجام نشد"), e);
            return;
        }
    }
    findings->setRowCount(int(found.size()));
    for (int r = 0; r < found.size(); ++r) {
        const auto& f = found[r];
        QStringList ids;
        for (qint64 id : f.ids)
            ids << QString::number(id);
        const QString cells[] = {f.table, ids.join(QLatin1Char(',')), f.persian};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(c == 2 ? f.plainLine() : cells[c]);
            findings->setItem(r, c, item);
        }
    }
    cnt->setText(found.isEmpty() ? QStringLiteral("هيچ ناسازگاري يافت نشد")
                                 : QStringLiteral("تعداد موارد ناسازگار: ") + QString::number(found.size()));
}

} // namespace tavrin
