#include "applicants/savabegh_u.h"

#include "applicants/child_texts.h"
#include "applicants/documents_logic.h"

#include "common/deletepassword.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "db/database.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

Tsavabegh::Tsavabegh() : TWindow(QStringLiteral("Tsavabegh"), kChecklistCaption)
{
    m_header = child::makeHeader(this);
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({{QStringLiteral("cmt"), kDocTitle, ColumnKind::Text},
                                      {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true}});
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    QAction* del = child::gridPopup(DBGrid1, {{"N1", kDelete}}).first();
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    BitBtn1 = makeButton(this, QStringLiteral("BitBtn1"), kRecordTypes);
    BitBtn1->setMinimumHeight(30);

    const auto column = [this](const QString& title, QWidget* list, QWidget* below = nullptr) {
        auto* v = new QVBoxLayout;
        v->addWidget(makeLabel(this, title));
        v->addWidget(list, 1);
        if (below)
            v->addWidget(below);
        return v;
    };
    auto* lists = new QHBoxLayout;
    lists->addLayout(column(kPresent, DBGrid1), 1);
    lists->addLayout(column(kMissing, ListBox1), 1);
    lists->addLayout(column(kAllTypes, CheckListBox1, BitBtn1), 1);
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(m_header.box);
    top->addLayout(lists, 1);
    resize(980, 560);

    connect(BitBtn1, &QPushButton::clicked, this, &Tsavabegh::BitBtn1Click);
    connect(del, &QAction::triggered, this, &Tsavabegh::N1Click);
    setTabOrder(DBGrid1, ListBox1);
    setTabOrder(ListBox1, CheckListBox1);
    setTabOrder(CheckListBox1, BitBtn1);
}

void Tsavabegh::open(const applicants::ApplicantContext& c)
{
    m_customerId = c.customerId;
    m_header.show(c.customer);
    CheckListBox1->clear();
    try {
        for (const QString& type : applicantfiles::documentTypes()) {
            auto* item = new QListWidgetItem(type, CheckListBox1);
            item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setCheckState(Qt::Unchecked);
        }
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    refresh();
    child::fitHeight(this, c.listHeight - 25);
    CheckListBox1->setFocus();
}

void Tsavabegh::refresh()
{
    ListBox1->clear();
    try {
        DBGrid1->listModel()->setQuery(applicantfiles::presentQuery(m_customerId));
        ListBox1->addItems(applicantfiles::missingTypes(m_customerId));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        reportFailure(kSearchFailed, e);
    }
}

void Tsavabegh::BitBtn1Click()
{
    if (m_customerId <= 0)
        return;
    QStringList ticked;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            ticked << CheckListBox1->item(i)->text();
    Outcome r;
    try {
        r = applicantfiles::recordTypes(m_customerId, ticked);
    } catch (const DbError& e) {
        reportFailure(kChecklistSaveFailed, e);
        return;
    }
    r.show();
    if (r.done)
        for (int i = 0; i < CheckListBox1->count(); ++i)
            CheckListBox1->item(i)->setCheckState(Qt::Unchecked);
    refresh();
}

void Tsavabegh::N1Click()
{
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    // A wrong password ends the delete without a word.
    if (!askDeletePassword(kChecklistDeletePrompt))
        return;
    Outcome r;
    try {
        r = applicantfiles::removeType(m_customerId, items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kChecklistDeleteFailed, e);
        return;
    }
    r.show();
    refresh();
}


} // namespace tavrin
