#include "login_u.h"

#include "change_pass_u.h"
#include "connect.h"
#include "main_u.h"
#include "server_u.h"

#include "admin/attachments.h"
#include "admin/commtexts.h"
#include "admin/messages.h"
#include "admin/news.h"
#include "common/activitylog.h"
#include "common/clicklabel.h"
#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/logtexts.h"
#include "common/lookups.h"
#include "common/session.h"
#include "common/xlsxexport.h"
#include "db/connection.h"
#include "db/database.h"
#include "db/password.h"
#include "db/privatefiles.h"
#include "db/schema.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>
#include <QVBoxLayout>

#include <exception>
#include <future>

namespace tavrin {

namespace {
const QString kActive = QStringLiteral("فعال");
} // namespace

Tlogin::Tlogin() : TWindow(QStringLiteral("Tlogin"), QStringLiteral("صفحه ورود"))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    us = makeEdit(this, QStringLiteral("us"), 25);
    ps = makeEdit(this, QStringLiteral("ps"));
    ps->setEchoMode(QLineEdit::Password);
    us->setPlaceholderText(QStringLiteral("(کد ملي)"));
    us->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    ps->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    us->setMinimumWidth(220);
    // Enter in the user name goes on to the password; Enter there logs in.
    enterMovesFocus(us, ps);

    RadioGroup1 = new QGroupBox(this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    internet = new QRadioButton(QStringLiteral("Internet"), RadioGroup1);
    internet->setObjectName(QStringLiteral("RadioGroup1_0"));
    local = new QRadioButton(QStringLiteral("Local"), RadioGroup1);
    local->setObjectName(QStringLiteral("RadioGroup1_1"));
    auto* radios = new QHBoxLayout(RadioGroup1);
    radios->addWidget(internet);
    radios->addWidget(local);
    // The choice the last connection on this desk was made with.
    const connection::Choice remembered = connection::rememberedChoice().value_or(connection::Choice::Internet);
    (remembered == connection::Choice::Local ? local : internet)->setChecked(true);
    setCurrentChoice(remembered);
    internet->setToolTip(QStringLiteral("اتصال پيش فرض برنامه"));
    local->setToolTip(QStringLiteral("تنظيمات اتصال ذخيره شده (تغيير بانك اطلاعاتي)"));
    connect(internet, &QRadioButton::toggled, this, &Tlogin::choiceChanged);

    auto* ok = makeButton(this, QStringLiteral("BitBtn1"), QStringLiteral("ورود"));
    ok->setDefault(true);
    setSaveButtons({ok});
    auto* cancel = makeButton(this, QStringLiteral("BitBtn2"), QStringLiteral("انصراف"));
    connect(ok, &QPushButton::clicked, this, &Tlogin::BitBtn1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* label3 = new ClickLabel(QStringLiteral("تغيير كلمه عبور"), QStringLiteral("Label3"), this);
    auto* label4 = new ClickLabel(QStringLiteral("تغيير بانك اطلاعاتي"), QStringLiteral("Label4"), this);
    auto* label9 = new ClickLabel(QStringLiteral("click here"), QStringLiteral("Label9"), this);
    for (ClickLabel* l : {label3, label4, label9})
        l->setStyleSheet(QStringLiteral("color: #1a5fb4; text-decoration: underline;"));
    connect(label3, &ClickLabel::clicked, this, &Tlogin::Label3Click);
    connect(label4, &ClickLabel::clicked, this, &Tlogin::Label4Click);
    connect(label9, &ClickLabel::clicked, this, &Tlogin::Label9Click);

    auto* title = new QLabel(QStringLiteral("Tavrin"), this);
    title->setAlignment(Qt::AlignCenter);
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 8);
    tf.setBold(true);
    title->setFont(tf);
    title->setStyleSheet(QStringLiteral("color: #1c4e80; padding: 8px;"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("نام كاربري"), this), 0, 0);
    grid->addWidget(us, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("كلمه عبور"), this), 1, 0);
    grid->addWidget(ps, 1, 1);
    grid->addWidget(RadioGroup1, 2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* links = new QHBoxLayout;
    links->addWidget(label3);
    links->addStretch();
    links->addWidget(label4);

    auto* font = new QHBoxLayout;
    auto* fontWidget = new QWidget(this);
    fontWidget->setLayoutDirection(Qt::LeftToRight);
    auto* fontRow = new QHBoxLayout(fontWidget);
    fontRow->setContentsMargins(0, 0, 0, 0);
    fontRow->addWidget(new QLabel(QStringLiteral("If your"), fontWidget));
    fontRow->addWidget(new QLabel(QStringLiteral("Font"), fontWidget));
    fontRow->addWidget(new QLabel(QStringLiteral("is not correct"), fontWidget));
    fontRow->addWidget(label9);
    fontRow->addStretch();
    font->addWidget(fontWidget);

    auto* top = new QVBoxLayout(this);
    top->addWidget(title);
    top->addLayout(grid);
    top->addLayout(buttons);
    top->addLayout(links);
    top->addLayout(font);
}

QString Tlogin::markerFile()
{
    return QDir(programDataFolder()).filePath(QStringLiteral("Tavrin.txt"));
}

void Tlogin::showEvent(QShowEvent* e)
{
    TWindow::showEvent(e);
    FormShow();
}

void Tlogin::done(int r)
{
    TWindow::done(r);
    if (!mainWindowShown())
        dialogs().endProgram();
}

void Tlogin::choiceChanged()
{
    setCurrentChoice(internet->isChecked() ? connection::Choice::Internet : connection::Choice::Local);
}

void Tlogin::FormShow()
{
    QFile f(markerFile());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const QString name = QString::fromUtf8(f.readLine()).trimmed();
    if (name.isEmpty())
        return;
    us->setText(name);
    ps->setFocus();
}

namespace {
// What the login reads besides the user's row (its writes change none of it).
struct LoginReads {
    QString sabtCod;
    int unread = 0;
    bool unseenNews = false;
};

LoginReads readAfterLogin(qint64 prsId)
{
    const QString component = QStringLiteral("کد ثبت");
    LoginReads r;
    try {
        const auto row = dm().firstRow(
            QStringLiteral("select (select cmt from setting where id=(select min(id) from setting where component=?)) as sabt,(") +
                messages::unreadCountQuery() + QStringLiteral(") as unread,(") + news::unseenQuery() +
                QStringLiteral(") as news"),
            {component, prsId, prsId});
        if (row) {
            r.sabtCod = text(row->value(0));
            r.unread = row->value(1).toInt();
            r.unseenNews = row->value(2).toInt() == 1;
            return r;
        }
    } catch (const DbError&) {
        // Read one by one below, so that a failure is the failing read's own
        // (the driver's text is in the program's log).
    }
    r.sabtCod = settingValue(component);
    r.unread = messages::unreadCount(prsId);
    // The login stands even when the news cannot be read.
    try {
        r.unseenNews = news::hasUnseen(prsId);
    } catch (const DbError&) {
    }
    return r;
}

// Times the login's steps one after the other.
class StepClock {
public:
    explicit StepClock(QList<LoginStep>& steps) : m_steps(steps)
    {
        m_steps.clear();
        m_timer.start();
    }
    void done(const char* step)
    {
        m_steps.append({QString::fromLatin1(step), m_timer.nsecsElapsed() / 1e6});
        m_timer.restart();
    }

private:
    QList<LoginStep>& m_steps;
    QElapsedTimer m_timer;
};
} // namespace

bool Tlogin::BitBtn1Click()
{
    const bool ok = login();
    if (ok) {
        QStringList parts;
        double total = 0;
        for (const LoginStep& s : std::as_const(m_steps)) {
            parts << QStringLiteral("%1 %2 ms").arg(s.name).arg(s.ms, 0, 'f', 1);
            total += s.ms;
        }
        qInfo().noquote() << QStringLiteral("login in %1 ms: ").arg(total, 0, 'f', 1) + parts.join(QStringLiteral(", "));
    }
    return ok;
}

bool Tlogin::login()
{
    StepClock clock(m_steps);
    choiceChanged();
    if (!connectProcedure(currentChoice(), false))
        return false;
    clock.done("connect");
    const QString user = us->text();
    const QString pass = ps->text();
    try {
        Database& db = dm();
        // User names compare exactly as stored, on every backend.  Should an
        // older database hold a name twice (the installer reports it), the
        // oldest row is the one that logs in.
        const auto row = db.firstRow(QStringLiteral("select * from users where ") +
                                         db.dialect().exactEquals(QStringLiteral("us")) + QStringLiteral(" order by id"),
                                     {user});
        clock.done("user");
        // The password check (a deliberately slow hash) runs on a thread of its
        // own meanwhile the registration code, the unread messages and the
        // news are read (one statement; the login's writes touch none of
        // them).  A failed read is reported only once the password matched.
        LoginReads reads;
        std::exception_ptr readFailure;
        bool matches = false;
        if (row) {
            const QVariant stored = row->value(QStringLiteral("ps"));
            auto check = std::async(std::launch::async, [pass, stored] { return password::matches(pass, stored); });
            try {
                reads = readAfterLogin(row->value(QStringLiteral("id")).toLongLong());
            } catch (const DbError&) {
                readFailure = std::current_exception();
            }
            matches = check.get();
        }
        clock.done("password; registration code, messages, news");
        if (!matches) {
            dialogs().information(QStringLiteral("کلمه يا رمز عبور اشتباه است"));
            return false;
        }
        if (text(row->value(QStringLiteral("status"))) != kActive) {
            dialogs().information(QStringLiteral("کاربر شما غير فعال شده است"));
            return false;
        }
        if (readFailure)
            std::rethrow_exception(readFailure);
        const qint64 id = row->value(QStringLiteral("id")).toLongLong();
        // The login's writes (password upgrade, version, log row, server date,
        // expiry) succeed or fail together.  On a server they travel in three
        // messages: the writes nobody reads back wait for the next read (the
        // administrator's version, the server's date) or the commit.
        Transaction tx(db);
        // A password kept as plain text by an older installation is replaced by its hash.
        if (!password::isHash(text(row->value(QStringLiteral("ps")))))
            db.execLater(QStringLiteral("update users set ps=? where id=?"), {password::hash(pass), id});

        // The marker file remembers the name for the next login on this computer.
        writeOwnerOnly(markerFile(), text(row->value(QStringLiteral("us"))).toUtf8() + '\n');

        Session& s = session();
        s = Session();
        s.prsId = id;
        s.karbar = text(row->value(QStringLiteral("us")));
        s.level = text(row->value(QStringLiteral("lev")));
        s.ostan = text(row->value(QStringLiteral("ostan")));
        s.nam = text(row->value(QStringLiteral("nam")));

        db.execLater(QStringLiteral("update users set ver=? where id=?"), {QString::number(kProgramVersion), id});
        const QVariant adminVer = db.scalarText(QStringLiteral("select ver from users where us=?"), {QStringLiteral("admin")});
        if (adminVer.isValid() && text(adminVer).trimmed().toInt() > kProgramVersion) {
            writeLog(QString(QString::fromUtf8(logtext::kOldVersion) + text(adminVer).trimmed() + ' ' + s.karbar));
            tx.commit();
            refuseOldVersion(text(adminVer).trimmed());
            return false;
        }

        writeLog(QString(QString::fromUtf8(logtext::kLogin) + s.karbar + ' ' + s.nam));

        // The server's date, read through server_dat's column default.
        db.execLater(QStringLiteral("delete from server_dat where us=?"), {s.karbar});
        db.execLater(QStringLiteral("insert into server_dat (us) values (?)"), {s.karbar});
        const QVariant serverDate = db.scalarText(QStringLiteral("select curr_dat from server_dat where us=?"), {s.karbar});
        db.execLater(QStringLiteral("delete from server_dat where us=?"), {s.karbar});
        const QString today = jalali::fromIsoText(serverDate.toString());  // "yyyy-MM-dd..."

        // Projects whose sale period has ended; an empty expiry date is no date,
        // so such a project never expires.
        if (!today.isEmpty())
            db.execLater(QStringLiteral("update projects set status=? where expire_dat<? and ") +
                        jalali::dateIsSet(QStringLiteral("expire_dat")),
                    {QStringLiteral("انقضا فروش"), today});

        tx.commit();
        clock.done("login writes");
        s.sabtCod = reads.sabtCod;

        Tmain& main = mainWindow();
        main.setUnreadMark(reads.unread != 0);
        main.showConnection(db.params());
        main.showMaximized();
        main.startMessagePoll(reads.unread);
        clock.done("showing the main window");

        // News dated after the user last dismissed it opens over the main window.
        hide();
        const bool unseenNews = reads.unseenNews;
        if (unseenNews)
            main.openNewsAfterLogin();
        return true;
    } catch (const DbError& e) {
        session() = Session();
        reportFailure(QStringLiteral("تنظيمات اتصال به بانک اطلاعاتي اشتباه انجام شده است، لطفا با مدير شبکه تماس حاصل کنيد"), e);
        return false;
    }
}

void Tlogin::refuseOldVersion(const QString& adminVersion)
{
    dialogs().information(QStringLiteral("اين نسخه قديمي است و قابل اجرا نيست. جديدترين نسخه  -  ") + adminVersion +
                          QStringLiteral(" در ادامه نسخه جديد را دانلود و استفاده نماييد "));
    const QString today = jalali::today();
    saveAttachment(commtext::kNewestVersion,
                   QStringLiteral("Tavrin") + today.mid(0, 4) + '_' + today.mid(5, 2) + '_' + today.mid(8, 2));
    session() = Session();
    done(QDialog::Rejected);
}

QString Tlogin::saveAttachment(const QString& description, const QString& proposedName)
{
    const std::optional<attachments::Stored> a = attachments::readFirst(description);
    if (!a)
        return {};
    const QString chosen = dialogs().saveFile(QString(), QString(), proposedName);
    if (chosen.isEmpty())
        return {};
    const attachments::Written w = attachments::saveAs(*a, chosen);
    if (!w.error.isEmpty())
        dialogs().error(w.error);
    return w.path;
}

void Tlogin::Label3Click()
{
    choiceChanged();
    if (!connectProcedure(currentChoice(), true))
        return;
    try {
        const auto row = dm().firstRow(QStringLiteral("select ps from users where ") +
                                           dm().dialect().exactEquals(QStringLiteral("us")),
                                       {us->text()});
        if (!row || !password::matches(ps->text(), row->value(0))) {
            dialogs().information(QStringLiteral("كلمه و رمز عبور را در صفحه فعلي درست وارد نماييد"));
            return;
        }
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("كلمه و رمز عبور را در صفحه فعلي درست وارد نماييد"), e);
        return;
    }
    Tchange_pass& w = tavrin::window<Tchange_pass>();
    w.setLogin(us->text(), ps->text());
    connect(&w, &Tchange_pass::finishedChange, this, &QWidget::show, Qt::UniqueConnection);
    hide();
    w.showModal();
    if (!isVisible() && !mainWindowShown())
        show();
}

void Tlogin::Label4Click()
{
    Tserver& w = tavrin::window<Tserver>();
    const connection::StoredSettings s = connection::readStored();
    if (s.exists) {
        w.SqlServerName1->setText(s.serverName);
        w.DataBase1->setText(s.dataBase);
        w.UserName1->setText(s.userName);
        w.Password1->setText(s.password);
        w.selectAuthentication(s.authentication);
    } else {
        for (QLineEdit* e : {w.SqlServerName1, w.DataBase1, w.UserName1, w.Password1})
            e->clear();
        w.selectAuthentication(QString());
    }
    dialogs().information(QStringLiteral("مسير بانك اطلاعاتي را مي توانيد تغيير دهيد"));
    w.showModal();
}

void Tlogin::Label9Click()
{
    choiceChanged();
    if (!connectProcedure(currentChoice(), true))
        return;
    try {
        const QString file = saveAttachment(commtext::kFontHelp, QStringLiteral("Tavrin_Language_Help"));
        if (!file.isEmpty())
            openExportedFile(file, attachments::kSavedAt);
    } catch (const DbError& e) {
        reportFailure(QStringLiteral("عمليات ثبت با خطا مواجه گرديد، لطفا دوباره سعي نماييد"), e);
    }
}

} // namespace tavrin
