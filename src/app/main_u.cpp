#include "main_u.h"

#include "about_u.h"
#include "connect.h"

#include "admin/commtexts.h"
#include "admin/messages.h"
#include "common/session.h"
#include "db/database.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

namespace tavrin {

namespace {
Tmain* g_main = nullptr;

// The stretched background of the main window.
class Background : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0xe8, 0xf0, 0xf8));
        g.setColorAt(1, QColor(0xb8, 0xcc, 0xe0));
        p.fillRect(rect(), g);
        QFont f = font();
        f.setPointSize(std::max(24, height() / 14));
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x1c, 0x4e, 0x80, 90));
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Tavrin"));
    }
};
} // namespace

Tmain::Tmain()
{
    setObjectName(QStringLiteral("Tmain"));
    setWindowTitle(QStringLiteral("صفحه اصلي"));
    setLayoutDirection(Qt::RightToLeft);
    installWindowConventions();
    setCentralWidget(new Background(this));
    QMenuBar* bar = menuBar();

    // Top-level entries in order; an entry whose window is not part of this
    // version yet stays disabled.
    entry(nullptr, QStringLiteral("N15"), QStringLiteral("پيش ثبت نام"))->setEnabled(false);
    entry(nullptr, QStringLiteral("N10"), QStringLiteral("پروژه ها"))->setEnabled(false);
    entry(nullptr, QStringLiteral("N1"), QStringLiteral("متقاضيان"))->setEnabled(false);
    QMenu* reports = bar->addMenu(QStringLiteral("گزارشات"));
    reports->setObjectName(QStringLiteral("N35"));
    entry(reports, QStringLiteral("N36"), QStringLiteral("وضعيت پروژه ها - نموداري"))->setEnabled(false);
    m_messages = entry(nullptr, QStringLiteral("N9"), QStringLiteral("پيام"));
    m_messages->setEnabled(false);
    entry(nullptr, QStringLiteral("N12"), QStringLiteral("ضمائم"))->setEnabled(false);

    QMenu* base = bar->addMenu(QStringLiteral("اطلاعات پايه"));
    base->setObjectName(QStringLiteral("N4"));
    QMenu* settings = base->addMenu(QStringLiteral("تنظيمات"));
    settings->setObjectName(QStringLiteral("N19"));
    entry(settings, QStringLiteral("N31"), QStringLiteral("شهرستان"))->setEnabled(false);
    entry(settings, QStringLiteral("N20"), QStringLiteral("استاني"))->setEnabled(false);
    entry(settings, QStringLiteral("N21"), QStringLiteral("عمومي"))->setEnabled(false);
    entry(base, QStringLiteral("N14"), QStringLiteral("تقسيمات کشوري"))->setEnabled(false);
    entry(base, QStringLiteral("N11"), QStringLiteral("دفترچه تلفن"))->setEnabled(false);
    entry(base, QStringLiteral("N6"), QStringLiteral("کاربران"))->setEnabled(false);
    entry(base, QStringLiteral("N7"), QStringLiteral("لاگ"))->setEnabled(false);
    entry(base, QStringLiteral("check_mnu"), QStringLiteral("بررسي سازگاري داده ها"))->setEnabled(false);
    entry(base, QStringLiteral("N16"), QStringLiteral("تازه ها"))->setEnabled(false);
    entry(base, QStringLiteral("N17"), QStringLiteral("تهيه پشتيبان"))->setEnabled(false);
    entry(base, QStringLiteral("N18"), QStringLiteral("انتقال اطلاعات"))->setEnabled(false);
    connect(entry(base, QStringLiteral("N5"), QStringLiteral("درباره")), &QAction::triggered, this, &Tmain::N5Click);
    connect(entry(nullptr, QStringLiteral("N3"), QStringLiteral("خروج")), &QAction::triggered, this, &Tmain::N3Click);
    m_connection = new QLabel(this);
    m_connection->setObjectName(QStringLiteral("connection_lbl"));
    statusBar()->addWidget(m_connection, 1);
    statusBar()->setSizeGripEnabled(false);
    resize(1024, 700);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tmain::Timer1Timer);
    wireReferenceMenu(*this);
    wireAdminMenu(*this);
    wireProjectsMenu(*this);
    wirePreregMenu(*this);
    wireApplicantsMenu(*this);
    wireReportsMenu(*this);
    wireMessagesMenu(*this);
    wireMaintenanceMenu(*this);
}

QAction* Tmain::action(const QString& name) const
{
    return findChild<QAction*>(name);
}

QAction* Tmain::entry(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* a = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    a->setObjectName(name);
    return a;
}

void Tmain::fitWindow(QWidget* w, int heightMargin, int widthMargin)
{
    const QSize s = size();
    const int h = heightMargin > 0 ? std::max(400, s.height() - heightMargin) : w->height();
    const int wd = widthMargin > 0 ? std::max(600, s.width() - widthMargin) : w->width();
    w->resize(wd, h);
}

void Tmain::setUnreadMark(bool unread)
{
    m_messages->setText(unread ? QStringLiteral("پيام*") : QStringLiteral("پيام"));
}

void Tmain::showConnection(const ConnectionParams& p)
{
    m_connection->setText(QStringLiteral("بانک اطلاعاتي: ") + connectionCaption(p));
}

void Tmain::startMessagePoll(int unreadAtLogin)
{
    m_announcedUnread = unreadAtLogin;
    Timer1->start();
}

void Tmain::Timer1Timer()
{
    if (m_polling || !isVisible() || QApplication::activeModalWidget())
        return;
    m_polling = true;
    int unread = 0;
    try {
        unread = messages::unreadCount(session().prsId);
    } catch (const DbError& e) {
        // A poll that cannot reach the database stays silent; the next one tries again.
        qWarning("message poll: %s", qPrintable(e.driverText));
        m_polling = false;
        return;
    }
    setUnreadMark(unread != 0);
    const bool grown = unread > m_announcedUnread;
    m_announcedUnread = unread;
    if (grown) {
        QApplication::beep();
        dialogs().information(commtext::kUnreadNotice + QString::number(unread));
    }
    m_polling = false;
}

void Tmain::openNewsAfterLogin()
{
    m_newsRequested = true;
    N16Click(*this);
}

void Tmain::N5Click()
{
    Tabout about(this);
    dialogs().exec(&about);
}

void Tmain::N3Click()
{
    close();
}

void Tmain::closeEvent(QCloseEvent* e)
{
    if (m_leaving) {
        e->accept();
        return;
    }
    if (dialogs().question(QStringLiteral("آيا مي خواهيد از برنامه خارج شويد"), Buttons::YesNoCancel,
                           MsgKind::Warning) != Answer::Yes) {
        e->ignore();
        return;
    }
    m_leaving = true;
    e->accept();
    dialogs().endProgram();
}

Tmain& mainWindow()
{
    if (!g_main)
        g_main = new Tmain();
    return *g_main;
}

bool mainWindowShown()
{
    return g_main && g_main->isVisible();
}

void destroyMainWindow()
{
    delete g_main;
    g_main = nullptr;
}

} // namespace tavrin
