#include "server_u.h"

#include "connect.h"

#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "db/connection.h"
#include "db/installer.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
// Entry ids of RadioGroup1 (the stored value of id 1, "Windows", is not offered).
enum Entry { SqlServer = 0, Access = 2, Postgres = 3 };
} // namespace

Tserver::Tserver() : TWindow(QStringLiteral("Tserver"), QStringLiteral("تنظيمات اتصال به بانک اطلاعاتي"))
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    SqlServerName1 = makeEdit(this, QStringLiteral("SqlServerName1"));
    SqlServerName1->setText(QStringLiteral("192.168.1.10,1433"));
    DataBase1 = makeEdit(this, QStringLiteral("DataBase1"));
    DataBase1->setText(QStringLiteral("Tavrin"));
    UserName1 = makeEdit(this, QStringLiteral("UserName1"));
    UserName1->setText(QStringLiteral("sa"));
    Password1 = makeEdit(this, QStringLiteral("Password1"));
    Password1->setEchoMode(QLineEdit::Password);
    Password1->setText(QStringLiteral("Tormek&&&"));
    for (QLineEdit* e : {SqlServerName1, DataBase1, UserName1, Password1}) {
        e->setLayoutDirection(Qt::LeftToRight);
        e->setMinimumWidth(260);
    }

    auto* label3 = new ClickLabel(QStringLiteral("نام سرور SQL :"), QStringLiteral("Label3"), this);
    auto* label8 = new ClickLabel(QStringLiteral("نام ديتابيس :"), QStringLiteral("Label8"), this);
    auto* label9 = new ClickLabel(QStringLiteral("کلمه کاربري SQL Server :"), QStringLiteral("Label9"), this);
    auto* label10 = new ClickLabel(QStringLiteral("رمز عبور SQL Server :"), QStringLiteral("Label10"), this);
    connect(label3, &ClickLabel::clicked, this, [this] { SqlServerName1->setText(QStringLiteral("localhost")); });
    connect(label8, &ClickLabel::clicked, this, [this] { DataBase1->setText(QStringLiteral("Tavrin")); });
    connect(label9, &ClickLabel::clicked, this, [this] { UserName1->setText(QStringLiteral("sa")); });
    connect(label10, &ClickLabel::clicked, this, [this] { Password1->setText(QStringLiteral("Tormek#!&")); });

    RadioGroup1 = new QGroupBox(QStringLiteral("نحوه اتصال به سرور: "), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    m_auth = new QButtonGroup(this);
    auto* radios = new QVBoxLayout(RadioGroup1);
    const std::pair<int, QString> entries[] = {
        {SqlServer, QStringLiteral("SQL Server Authentication")},
        {Access, QStringLiteral("SQLite data file (Access)")},
        {Postgres, QStringLiteral("PostgreSQL")}};
    for (const auto& [id, text] : entries) {
        auto* r = new QRadioButton(text, RadioGroup1);
        r->setObjectName(QStringLiteral("RadioGroup1_%1").arg(id));
        r->setLayoutDirection(Qt::LeftToRight);
        m_auth->addButton(r, id);
        radios->addWidget(r);
    }
    m_auth->button(SqlServer)->setChecked(true);

    auto* form = new QFormLayout;
    form->addRow(label3, SqlServerName1);
    form->addRow(label8, DataBase1);
    form->addRow(label9, UserName1);
    form->addRow(label10, Password1);

    auto* connectBtn = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("اتصال"));
    auto* endBtn = makeButton(this, QStringLiteral("Button2"), QStringLiteral("خاتمه"));
    auto* install = new ClickLabel(QStringLiteral(". . ."), QStringLiteral("Label7"), this);
    install->setToolTip(QStringLiteral("Install / upgrade tables"));
    connect(connectBtn, &QPushButton::clicked, this, &Tserver::BitBtn1Click);
    setSaveButtons({connectBtn});
    connect(endBtn, &QPushButton::clicked, this, &Tserver::Button2Click);
    connect(install, &ClickLabel::clicked, this, &Tserver::Label7Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(connectBtn);
    buttons->addWidget(endBtn);
    buttons->addStretch();
    buttons->addWidget(install);

    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(RadioGroup1);
    top->addLayout(buttons);
}

QString Tserver::authentication() const
{
    switch (m_auth->checkedId()) {
    case SqlServer: return QString::fromLatin1(connection::kAuthSqlServer);
    case Access: return QString::fromLatin1(connection::kAuthAccess);
    case Postgres: return QString::fromLatin1(connection::kAuthPostgres);
    default: return {};
    }
}

void Tserver::selectAuthentication(const QString& value)
{
    int id = -1;
    if (value == QLatin1String(connection::kAuthSqlServer))
        id = SqlServer;
    else if (value == QLatin1String(connection::kAuthAccess))
        id = Access;
    else if (value == QLatin1String(connection::kAuthPostgres))
        id = Postgres;
    m_auth->setExclusive(false);
    for (QAbstractButton* b : m_auth->buttons())
        b->setChecked(m_auth->id(b) == id);
    m_auth->setExclusive(true);
}

void Tserver::BitBtn1Click()
{
    const auto refuse = [](const QString& text, QLineEdit* field) {
        dialogs().question(text, Buttons::Ok);
        field->setFocus();
    };
    if (SqlServerName1->text().isEmpty())
        return refuse(QStringLiteral("نام سرور را وارد نمائيد"), SqlServerName1);
    // A data file needs only its path.
    if (m_auth->checkedId() != Access) {
        if (DataBase1->text().isEmpty())
            return refuse(QStringLiteral("نام ديتابيس را وارد نمائيد"), DataBase1);
        if (UserName1->text().isEmpty())
            return refuse(QStringLiteral("کلمه کاربري را وارد نمائيد"), UserName1);
        if (Password1->text().isEmpty())
            return refuse(QStringLiteral("رمز عبور را وارد نمائيد"), Password1);
    }
    connection::StoredSettings s;
    s.serverName = SqlServerName1->text();
    s.dataBase = DataBase1->text();
    s.authentication = authentication();
    s.userName = UserName1->text();
    s.password = Password1->text();
    if (!connection::writeStored(s))
        dialogs().warning(QStringLiteral("عمليات ثبت با خطا مواجه گرديد، لطفا دوباره سعي نماييد"));
}

void Tserver::Button2Click()
{
    dialogs().endProgram();
}

void Tserver::Label7Click()
{
    if (!connectProcedure(currentChoice(), true, true))
        return;
    const InstallReport r = installDatabase(dm());
    for (const QString& a : r.actions)
        qCInfo(lcDb).noquote() << "installer:" << a;
    if (!r.ok) {
        qCWarning(lcDb).noquote() << "installer failed at" << r.failedStep << ":" << r.error;
        dialogs().error(QStringLiteral("تنظيمات بانک اطلاعاتي انجام نشد؛ جزئيات خطا در فايل گزارش برنامه ثبت شده است"));
        return;
    }
    dialogs().information(QStringLiteral("همه تنظيمات انجام شد"));
    for (const QString& w : r.warnings)
        qCWarning(lcDb).noquote() << "installer:" << w;
    if (!r.duplicateUserNames.isEmpty())
        dialogs().warning(QStringLiteral("هشدار! اين نام هاي كاربري در بانک اطلاعاتي تكراري است و با هر نام تنها "
                                         "قديمي ترين کاربر آن وارد مي شود؛ ديگران را در صفحه کاربران تغيير نام "
                                         "دهيد يا حذف نماييد: ") +
                          r.duplicateUserNames.join(QStringLiteral("، ")));
}

} // namespace tavrin
