#include "log_u.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "db/database.h"
#include "documents/html_page.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
const QString kTitleText = QStringLiteral("آخرين تراکش کاربران سامانه تاورين");
const QString kCaptionText = QStringLiteral(" آخرين تراکش کاربران سامانه تاورين ");
const QString kWebFile = QStringLiteral("users.htm");
const QString kExcelFile = QStringLiteral("users.xls");
} // namespace

const QString Tlog::kDateIncomplete = QStringLiteral("تاريخ را کامل وارد نماييد");
const QString Tlog::kSearchFailed = QStringLiteral("خطا در جستجوي لاگ");
const QString Tlog::kReportFailed = QStringLiteral("خطا در تهيه گزارش آخرين تراکنش کاربران");
const QString Tlog::kWriteFailed = QStringLiteral("خطا در ساخت فايل گزارش");

QString lastActionReportHtml(const QString& today)
{
    // Each user's own latest row: the newest by server time, and of rows with
    // the same time the last written.
    QSqlQuery q = dm().exec(QStringLiteral(
        "select l.karbar,u.ostan,u.lev,u.nam,l.cmt,l.tarikh,l.saat_sys from "
        "(select karbar,cmt,tarikh,saat_sys,"
        "row_number() over (partition by karbar order by saat_sys desc,id desc) as rn from log) l "
        "left join users u on l.karbar=u.us "
        "where l.rn=1 order by coalesce(u.ostan,''),l.karbar"));
    const HtmlFrame frame {kTitleText, today + kCaptionText,
                           {headingRow({QStringLiteral("رديف"), QStringLiteral("استان"), QStringLiteral("سطح دسترسي"),
                                        QStringLiteral("نام و نام خانوادگي"), QStringLiteral("کد ملي"),
                                        QStringLiteral("شرح عمليات"), QStringLiteral("تاريخ سيستم"),
                                        QStringLiteral("تاريخ سرور")})}};
    QList<QStringList> rows;
    while (q.next())
        rows << QStringList {QString::number(rows.size() + 1), text(q.value(1)), levelCaption(text(q.value(2))),
                             text(q.value(3)), text(q.value(0)), text(q.value(4)), text(q.value(5)),
                             exportCellText(q.value(6))};
    return QString::fromUtf8(htmlPage(frame, rows));
}

HeaderMap Tlog::exportHeaders()
{
    return {
        {QStringLiteral("id"), QStringLiteral("شناسه")},
        {QStringLiteral("karbar"), QStringLiteral("نام کاربري")},
        {QStringLiteral("ip"), QStringLiteral("آي پي")},
        {QStringLiteral("computer_name"), QStringLiteral("نام کامپيوتر")},
        {QStringLiteral("saat"), QStringLiteral("ساعت")},
        {QStringLiteral("tarikh"), QStringLiteral("تاريخ")},
        {QStringLiteral("cmt"), QStringLiteral("شرح عمليات")},
        {QStringLiteral("saat_sys"), QStringLiteral("ساعت سرور")},
    };
}

Tlog::Tlog() : TWindow(QStringLiteral("Tlog"), QStringLiteral("گزارش عمليات کاربران"))
{
    const auto box = [this](const QString& name, const QString& caption) {
        auto* c = new QCheckBox(caption, this);
        c->setObjectName(name);
        return c;
    };
    CheckBox1 = box(QStringLiteral("CheckBox1"), QStringLiteral("نام کاربر"));
    CheckBox2 = box(QStringLiteral("CheckBox2"), QStringLiteral("تاريخ"));
    CheckBox3 = box(QStringLiteral("CheckBox3"), QStringLiteral("نام كامپيوتر"));
    CheckBox4 = box(QStringLiteral("CheckBox4"), QStringLiteral("شرح عمليات"));
    CheckBox5 = box(QStringLiteral("CheckBox5"), QStringLiteral("IP"));
    karbar = makeEdit(this, QStringLiteral("karbar"), 150);
    dat1 = makeDateEdit(this, QStringLiteral("dat1"));
    dat2 = makeDateEdit(this, QStringLiteral("dat2"));
    computer_name = makeEdit(this, QStringLiteral("computer_name"), 50);
    cmt = makeEdit(this, QStringLiteral("cmt"), 200);
    ip = makeEdit(this, QStringLiteral("ip"), 20);
    ip->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    bindCriterion(CheckBox1, karbar);
    bindCriterion(CheckBox2, dat2);
    bindCriterion(CheckBox2, dat1);
    bindCriterion(CheckBox3, computer_name);
    bindCriterion(CheckBox4, cmt);
    bindCriterion(CheckBox5, ip);

    src_btn = makeButton(this, QStringLiteral("src_btn"), QStringLiteral("جستجو"));
    src_btn->setMinimumWidth(90);
    connect(src_btn, &QPushButton::clicked, this, &Tlog::src_btnClick);
    for (QWidget* field : std::initializer_list<QWidget*>{karbar, dat1, dat2, computer_name, cmt, ip})
        enterClicks(field, src_btn);
    cnt = makeLabel(this, QString(), QStringLiteral("cnt"));
    cnt->setMinimumWidth(70);
    cnt->setAlignment(Qt::AlignCenter);
    cnt->setFrameShape(QFrame::StyledPanel);
    QFont bold = cnt->font();
    bold.setBold(true);
    cnt->setFont(bold);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("اکسل"));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tlog::SpeedButton1Click);

    RadioGroup1 = new QGroupBox(QStringLiteral("نوع خروجي"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1_0 = new QRadioButton(QStringLiteral("وب"), RadioGroup1);
    RadioGroup1_0->setObjectName(QStringLiteral("RadioGroup1_0"));
    RadioGroup1_1 = new QRadioButton(QStringLiteral("اکسل"), RadioGroup1);
    RadioGroup1_1->setObjectName(QStringLiteral("RadioGroup1_1"));
    RadioGroup1_0->setChecked(true);
    auto* radios = new QHBoxLayout(RadioGroup1);
    radios->addWidget(RadioGroup1_0);
    radios->addWidget(RadioGroup1_1);
    BitBtn1 = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("گزارش آخرين تراکنش هر کاربر"));
    BitBtn1->setMinimumWidth(BitBtn1->fontMetrics().horizontalAdvance(BitBtn1->text()) + 32);
    connect(BitBtn1, &QPushButton::clicked, this, &Tlog::BitBtn1Click);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("karbar"), QStringLiteral("نام کاربر")},
        {QStringLiteral("ip"), QStringLiteral("IP")},
        {QStringLiteral("computer_name"), QStringLiteral("نام کامپيوتر")},
        {QStringLiteral("saat"), QStringLiteral("ساعت")},
        {QStringLiteral("tarikh"), QStringLiteral("تاريخ")},
        {QStringLiteral("cmt"), QStringLiteral("شرح عمليات")},
        {QStringLiteral("saat_sys"), QStringLiteral("تاريخ و ساعت سرور")},
    });
    connect(DBGrid1, &DBGrid::rowClicked, this, &Tlog::DBGrid1CellClick);
    const int widths[] = {110, 110, 120, 70, 85, 380, 150};
    for (int c = 0; c < 7; ++c)
        DBGrid1->setColumnWidth(c, widths[c]);

    auto* dates = new QHBoxLayout;
    dates->setSpacing(6);
    dates->addWidget(dat1);
    dates->addWidget(makeLabel(this, QStringLiteral("تـــــــــــــا")));
    dates->addWidget(dat2);
    dates->addStretch();

    auto* criteria = new QGridLayout;
    criteria->setHorizontalSpacing(8);
    criteria->addWidget(CheckBox1, 0, 0);
    criteria->addWidget(karbar, 0, 1);
    criteria->addWidget(CheckBox2, 0, 2);
    criteria->addLayout(dates, 0, 3);
    criteria->addWidget(CheckBox3, 1, 0);
    criteria->addWidget(computer_name, 1, 1);
    criteria->addWidget(CheckBox5, 1, 2);
    criteria->addWidget(ip, 1, 3);
    criteria->addWidget(CheckBox4, 2, 0);
    criteria->addWidget(cmt, 2, 1, 1, 3);
    criteria->addWidget(src_btn, 0, 4);
    criteria->addWidget(cnt, 1, 4);
    criteria->setColumnStretch(1, 1);
    criteria->setColumnStretch(3, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(SpeedButton1);
    actions->addStretch();
    actions->addWidget(RadioGroup1);
    actions->addWidget(BitBtn1);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->addLayout(criteria);
    top->addWidget(DBGrid1, 1);
    top->addLayout(actions);
    resize(1100, 640);
}

void Tlog::prepareToShow()
{
    const QString today = jalali::today();
    dat1->setText(today);
    dat2->setText(today);
    for (QLineEdit* e : {karbar, computer_name, cmt, ip})
        e->clear();
    DBGrid1->listModel()->clear();
    cnt->clear();
}

void Tlog::src_btnClick()
{
    ListQuery q(QStringLiteral("select *"), QStringLiteral("from log"));
    q.where(QStringLiteral("karbar<>?"), {QStringLiteral("")});
    if (CheckBox1->isChecked())
        q.like(QStringLiteral("karbar"), karbar->text());
    if (CheckBox2->isChecked()) {
        for (QLineEdit* e : {dat1, dat2}) {
            if (!jalali::wholeDate(e->displayText())) {
                dialogs().warning(kDateIncomplete);
                e->setFocus();
                return;
            }
        }
        q.where(QStringLiteral("tarikh>=? and tarikh<=?"),
                {*jalali::wholeDate(dat1->displayText()), *jalali::wholeDate(dat2->displayText())});
    }
    if (CheckBox4->isChecked())
        q.like(QStringLiteral("cmt"), cmt->text());
    if (CheckBox3->isChecked())
        q.like(QStringLiteral("computer_name"), computer_name->text());
    if (CheckBox5->isChecked())
        q.like(QStringLiteral("ip"), ip->text());
    q.orderBy(QStringLiteral("saat_sys desc,id desc"));
    try {
        DBGrid1->listModel()->setQuery(q);
        cnt->setText(QString::number(DBGrid1->listModel()->totalCount()));
    } catch (const DbError& e) {
        reportFailure(kSearchFailed, e);
    }
}

void Tlog::DBGrid1CellClick(int row)
{
    const QSqlRecord r = DBGrid1->listModel()->record(row);
    if (r.isEmpty())
        return;
    try {
        Database& db = dm();
        const auto user = db.firstRow(QStringLiteral("select nam,ostan,lev,semat from users where ") +
                                          db.dialect().exactEquals(QStringLiteral("us")),
                                      {r.value(QStringLiteral("karbar"))});
        if (!user)
            return;
        const QString star = QStringLiteral("*");
        dialogs().balloon(DBGrid1, QStringLiteral("مشخصات کاربر"),
                          text(user->value(0)) + star + text(user->value(1)) + star +
                              levelCaption(text(user->value(2))) + star +
                              text(user->value(3)));
    } catch (const DbError&) {
        // Only a tip: nothing to report.
    }
}

void Tlog::SpeedButton1Click()
{
    ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        src_btnClick();
    if (m->query().isEmpty())
        return;
    exportListToExcel(QStringLiteral("log"), *m, exportHeaders());
}

void Tlog::BitBtn1Click()
{
    const bool excel = RadioGroup1_1->isChecked();
    const QString name = excel ? kExcelFile : kWebFile;
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = dialogs().saveFile(BitBtn1->text(),
                                            excel ? QStringLiteral("Excel (*.xls)") : QStringLiteral("Web (*.htm *.html)"),
                                            dir.isEmpty() ? name : QDir(dir).filePath(name));
    if (path.isEmpty())
        return;
    QString html;
    try {
        html = lastActionReportHtml(jalali::today());
    } catch (const DbError& e) {
        reportFailure(kReportFailed, e);
        return;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(html.toUtf8()) < 0 || !f.commit()) {
        dialogs().error(kWriteFailed);
        return;
    }
    if (excel)
        openExportedFile(path, kExcelSavedAt);
    else
        dialogs().openWithDesktop(path);
}

} // namespace tavrin
