#include "applicants/shoraka_src_u.h"

#include "applicants/child_texts.h"
#include "applicants/child_widgets.h"
#include "applicants/partners_logic.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/nationcode.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

Tshoraka_src::Tshoraka_src() : TWindow(QStringLiteral("Tshoraka_src"), kPartnersCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    auto* filters = new QGroupBox(this);
    auto* fl = new QGridLayout(filters);
    lname = child::textField(filters, "lname", QStringLiteral("shoraka"));
    nation = makeEdit(filters, QStringLiteral("nation"), 10);
    installDigitFilter(nation);
    m_boxes = child::layoutCriteria(filters, fl,
                                    {{partners::partnerCaption(QStringLiteral("lname")), {lname}},
                                     {partners::partnerCaption(QStringLiteral("nation")), {nation}}},
                                    2);
    src_btn = makeButton(filters, QStringLiteral("src_btn"), kSearch);
    src_btn->setMinimumSize(110, 30);
    cnt = makeLabel(filters, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setStyleSheet(QStringLiteral("font-weight: bold;"));
    fl->addWidget(src_btn, 0, 4);
    fl->addWidget(makeLabel(filters, kCountCaption), 0, 5);
    fl->addWidget(cnt, 0, 6);
    QWidget::setTabOrder(nation, src_btn);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    QList<GridColumn> columns {{QStringLiteral("ostan_asli"), kProvince},
                               {QStringLiteral("shahrestan_asli"), kCounty},
                               {QStringLiteral("fname_asli"), kApplicantFname},
                               {QStringLiteral("lname_asli"), kApplicantLname},
                               {QStringLiteral("nation_asli"), kApplicantNation}};
    columns << child::personColumns(partners::partnerColumns(), &partners::partnerCaption);
    for (int i = 0; i < 5; ++i)
        columns[i].titleColor = QColor(0x1a, 0x4f, 0x9c);
    DBGrid1->listModel()->setColumns(columns);
    DBGrid1->horizontalHeader()->setDefaultSectionSize(100);
    const QList<QAction*> popup = child::gridPopup(DBGrid1, {{"N1", kExcel}});

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 6, 8, 8);
    top->addWidget(filters);
    top->addWidget(DBGrid1, 1);
    resize(1200, 620);

    connect(src_btn, &QPushButton::clicked, this, &Tshoraka_src::src_btnClick);
    connect(popup[0], &QAction::triggered, this, &Tshoraka_src::N1Click);
    for (QLineEdit* e : {lname, nation})
        connect(e, &QLineEdit::returnPressed, this, &Tshoraka_src::src_btnClick);
}

void Tshoraka_src::open(const applicants::ApplicantContext& c)
{
    clearCriteria(m_boxes);
    lname->clear();
    nation->clear();
    cnt->setText(QStringLiteral("0"));
    DBGrid1->listModel()->clear();
    child::fitHeight(this, c.listHeight - 20);
}

void Tshoraka_src::src_btnClick()
{
    partners::PartnerCriteria c;
    c.lname = child::ticked(m_boxes[0], lname);
    c.nation = child::ticked(m_boxes[1], nation);
    child::showList(DBGrid1, partners::partnerSearch(c), cnt);
}

void Tshoraka_src::N1Click()
{
    const ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        return;
    exportListToExcel(QStringLiteral("shoraka"), *m, partners::searchExcelHeaders());
}


} // namespace tavrin
