#include "server_u.h"

#include "connect.h"

#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "db/connection.h"
#include "db/installer.h"
#include "maintenance/install.h"

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
    // The fields start empty: a sample value left in place would be stored as
    // if it were the office's server.
    SqlServerName1 = makeEdit(this, QStringLiteral("SqlServerName1"));
    DataBase1 = makeEdit(this, QStringLiteral("DataBase1"));
    UserName1 = makeEdit(this, QStringLiteral("UserName1"));
    Password1 = makeEdit(this, QStringLiteral("Password1"));
    Password1->setEchoMode(QLineEdit::Password);
    for (QLineEdit* e : {SqlServerName1, DataBase1, UserName1, Password1}) {
        e->setLayoutDirection(Qt::LeftToRight);
        e->setMinimumWidth(260);
    }

    m_serverLabel = new ClickLabel(QStringLiteral("نام سرور SQL :"), QStringLiteral("Label3"), this);
    m_dataBaseLabel = new ClickLabel(QStringLiteral("نام ديتابيس :"), QStringLiteral("Label8"), this);
    m_userLabel = new ClickLabel(QStringLiteral("کلمه کاربري SQL Server :"), QStringLiteral("Label9"), this);
    m_passwordLabel = new ClickLabel(QStringLiteral("رمز عبور SQL Server :"), QStringLiteral("Label10"), this);
    connect(m_serverLabel, &ClickLabel::clicked, this, [this] { SqlServerName1->setText(QStringLiteral("localhost")); });
    connect(m_dataBaseLabel, &ClickLabel::clicked, this, [this] { DataBase1->setText(QStringLiteral("Tavrin")); });
    connect(m_userLabel, &ClickLabel::clicked, this, [this] { UserName1->setText(QStringLiteral("sa")); });
    connect(m_passwordLabel, &ClickLabel::clicked, this, [this] { Password1->setText(QStringLiteral("Tormek#!&")); });

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
    connect(m_auth, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            backendChanged();
    });

    auto* form = new QFormLayout;
    form->addRow(m_serverLabel, SqlServerName1);
    form->addRow(m_dataBaseLabel, DataBase1);
    form->addRow(m_userLabel, UserName1);
    form->addRow(m_passwordLabel, Password1);

    auto* connectBtn = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("اتصال"));
    auto* endBtn = makeButton(this, QStringLiteral("Button2"), QStringLiteral("خاتمه"));
    auto* install = new ClickLabel(QStringLiteral(". . ."), QStringLiteral("Label7"), this);
    install->setToolTip(QStringLiteral("ساختن يا به روز کردن جداول بانک اطلاعاتي"));
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
    backendChanged();
}

void Tserver::backendChanged()
{
    const int id = m_auth->checkedId();
    QString server = QStringLiteral("نام سرور SQL :");
    QString user = QStringLiteral("کلمه کاربري SQL Server :");
    QString pass = QStringLiteral("رمز عبور SQL Server :");
    if (id == Postgres) {
        server = QStringLiteral("نام سرور PostgreSQL :");
        user = QStringLiteral("کلمه کاربري PostgreSQL :");
        pass = QStringLiteral("رمز عبور PostgreSQL :");
    } else if (id == Access) {
        server = QStringLiteral("مسير فايل بانک اطلاعاتي :");
    }
    m_serverLabel->setText(server);
    m_userLabel->setText(user);
    m_passwordLabel->setText(pass);
    // A data file has no database name, user or password.
    for (QWidget* w : std::initializer_list<QWidget*> {DataBase1, UserName1, Password1, m_dataBaseLabel, m_userLabel,
                                                       m_passwordLabel})
        w->setEnabled(id != Access);
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
    backendChanged();
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
    if (!connection::writeStored(s)) {
        dialogs().warning(QStringLiteral("عمليات ثبت با خطا مواجه گرديد، لطفا دوباره سعي نماييد"));
        return;
    }
    // The stored settings are tried on a connection of their own (the
    // program's connection stays as it is); the driver's text goes to the log.
    const connection::Resolved r = connection::fromStored(s);
    bool connected = false, installed = false;
    if (r.params) {
        Database probe(*r.params);
        connected = probe.open();
        try {
            installed = connected && probe.tableExists(QStringLiteral("users"));
        } catch (const DbError&) {
        }
    }
    if (connected && installed)
        dialogs().information(QStringLiteral("اتصال به بانک اطلاعاتي برقرار شد و تنظيمات ذخيره شد"));
    else if (connected)
        dialogs().information(QStringLiteral("اتصال به بانک اطلاعاتي برقرار شد و تنظيمات ذخيره شد، ولي جداول برنامه در "
                                             "آن ساخته نشده است؛ براي ساختن آنها روي \". . .\" کليک نماييد"));
    else if (m_auth->checkedId() == Access)
        dialogs().warning(QStringLiteral("تنظيمات ذخيره شد، ولي فايل بانک اطلاعاتي يافت نشد؛ براي ساختن فايل جديد روي "
                                         "\". . .\" کليک نماييد"));
    else
        dialogs().warning(QStringLiteral("تنظيمات ذخيره شد، ولي اتصال به بانک اطلاعاتي برقرار نشد؛ نام سرور، نام "
                                         "ديتابيس، کلمه کاربري و رمز عبور را بررسي نماييد"));
}

void Tserver::Button2Click()
{
    reject();
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
