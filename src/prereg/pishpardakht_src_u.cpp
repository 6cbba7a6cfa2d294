#include "prereg/pishpardakht_src_u.h"

#include "prereg/deposits.h"
#include "prereg/pishsabt_logic.h"
#include "prereg/prereg_texts.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavrin {

using namespace prereg;
using namespace preregtext;

Tpishpardakht_src::Tpishpardakht_src() : TWindow(QStringLiteral("Tpishpardakht_src"), kPardakhtSrcCaption)
{
    auto* filters = new QGroupBox(this);
    auto* fl = new QHBoxLayout(filters);
    shahrestan = makeCombo(filters, QStringLiteral("shahrestan"));
    lname = makeCombo(filters, QStringLiteral("lname"));
    shahrestan->lineEdit()->setMaxLength(columnLength(QStringLiteral("pishsabt"), QStringLiteral("shahrestan")));
    lname->lineEdit()->setMaxLength(columnLength(QStringLiteral("pishsabt"), QStringLiteral("lname")));
    CheckBox1 = new QCheckBox(kFilterCounty, filters);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(kFilterLname, filters);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    for (const auto& [box, field] : {std::pair<QCheckBox*, QComboBox*> {CheckBox1, shahrestan}, {CheckBox2, lname}}) {
        field->setMinimumWidth(160);
        fl->addWidget(box);
        fl->addWidget(field);
        fl->addSpacing(12);
        bindCriterion(box, field);
    }
    src_btn = makeButton(filters, QStringLiteral("src_btn"), kSearch);
    src_btn->setMinimumWidth(110);
    src_btn->setDefault(true);
    fl->addWidget(src_btn);
    fl->addStretch();

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns;
    for (int i = 0; i < kAllDepositColumns.size(); ++i) {
        const auto& [name, caption] = kAllDepositColumns[i];
        const bool money = name == QLatin1String("mablagh") || name == QLatin1String("vosol");
        GridColumn c {name, caption, money ? ColumnKind::Money : ColumnKind::Text};
        // The person's columns are tinted apart from the deposit's.
        if (i < 5)
            c.titleColor = QColor(0, 0, 160);
        columns << c;
    }
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(110);
    DBGrid1->sizeColumnsOnFirstRows(240);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* popup = new QMenu(DBGrid1);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = popup->addAction(kAllDepositN1);
    N1->setObjectName(QStringLiteral("N1"));
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->popup(DBGrid1->viewport()->mapToGlobal(at)); });

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 6, 8, 8);
    top->addWidget(filters);
    top->addWidget(DBGrid1, 1);
    resize(1100, 600);

    connect(src_btn, &QPushButton::clicked, this, &Tpishpardakht_src::src_btnClick);
    connect(N1, &QAction::triggered, this, &Tpishpardakht_src::N1Click);
}

void Tpishpardakht_src::prepareToShow()
{
    shahrestan->setEditText(QString());
    lname->setEditText(QString());
}

ListQuery Tpishpardakht_src::searchQuery() const
{
    AllDepositsFilter f;
    if (CheckBox1->isChecked())
        f.shahrestan = shahrestan->currentText();
    if (CheckBox2->isChecked())
        f.lname = lname->currentText();
    return allDepositsQuery(f);
}

void Tpishpardakht_src::src_btnClick()
{
    try {
        DBGrid1->listModel()->setQuery(searchQuery());
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
        return;
    }
}

void Tpishpardakht_src::N1Click()
{
    const ListModel* m = DBGrid1->listModel();
    exportListToExcel(QStringLiteral("pishpardakht"), *m, allDepositsExcelHeaders());
}

} // namespace tavrin

#include "moc_pishpardakht_src_u.cpp"
