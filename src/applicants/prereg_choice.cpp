#include "applicants/prereg_choice.h"

#include "applicants/applicant_texts.h"

#include "common/dialogs.h"
#include "db/database.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

TPreregChoice::TPreregChoice(const QList<QSqlRecord>& people, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TPreregChoice"));
    setWindowTitle(custext::kChoosePreregTitle);
    setLayoutDirection(Qt::RightToLeft);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list"));
    for (const QSqlRecord& p : people) {
        const QString name = text(p.value(QStringLiteral("fname"))) + QLatin1Char(' ') + text(p.value(QStringLiteral("lname")));
        const QString father = text(p.value(QStringLiteral("father")));
        m_list->addItem(name + (father.isEmpty() ? QString() : QStringLiteral(" (") + father + QLatin1Char(')')) +
                        QStringLiteral("  —  ") + text(p.value(QStringLiteral("nation"))) + QStringLiteral("  —  ") +
                        text(p.value(QStringLiteral("shahrestan"))));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(custext::kChoose);
    buttons->button(QDialogButtonBox::Cancel)->setText(custext::kCancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* l = new QVBoxLayout(this);
    l->addWidget(new QLabel(custext::kChoosePreregPrompt, this));
    l->addWidget(m_list, 1);
    l->addWidget(buttons);
    resize(560, 360);
}

std::optional<int> TPreregChoice::choose(const QList<QSqlRecord>& people, QWidget* parent)
{
    TPreregChoice dlg(people, parent);
    if (dialogs().exec(&dlg) != QDialog::Accepted || dlg.m_list->currentRow() < 0)
        return std::nullopt;
    return dlg.m_list->currentRow();
}

} // namespace tavrin
