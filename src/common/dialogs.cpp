#include "dialogs.h"

#include "windows.h"

#include "db/database.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QToolTip>
#include <QUrl>

namespace tavrin {

namespace {
DialogService g_real;
DialogService* g_current = nullptr;

QString caption(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

QMessageBox::Icon icon(MsgKind k)
{
    switch (k) {
    case MsgKind::Information: return QMessageBox::Information;
    case MsgKind::Warning: return QMessageBox::Warning;
    case MsgKind::Error: return QMessageBox::Critical;
    case MsgKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Room on a title bar beside its text: the window icon and the buttons.
constexpr int kTitleBarRoom = 140;

// The width a dialog needs for its whole title on the title bar, which window
// managers draw in a bold face.
int titleWidth(const QString& title)
{
    QFont f = QApplication::font("QMdiSubWindowTitleBar");
    f.setBold(true);
    return QFontMetrics(f).horizontalAdvance(title) + kTitleBarRoom;
}

// A message box sizes itself to its text; a short text would cut its title.
void prepareBox(QMessageBox& box)
{
    box.setWindowFlags(modalWindowFlags());
    box.setLayoutDirection(Qt::RightToLeft);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
}

std::optional<QString> askText(const QString& title, const QString& prompt, const QString& preset, QLineEdit::EchoMode echo)
{
    QInputDialog box(QApplication::activeWindow());
    box.setWindowFlags(modalWindowFlags());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextEchoMode(echo);
    box.setTextValue(preset);
    box.setMinimumWidth(titleWidth(title));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}
} // namespace

int messageBoxTitleRoom(const QString& title)
{
    return titleWidth(title);
}

void DialogService::message(MsgKind kind, const QString& text, const QString& title)
{
    QMessageBox box(icon(kind), caption(title), text, QMessageBox::Ok, QApplication::activeWindow());
    prepareBox(box);
    box.exec();
}

Answer DialogService::question(const QString& text, Buttons buttons, MsgKind kind, const QString& title)
{
    QMessageBox::StandardButtons b = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        b = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::YesNoCancel)
        b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(icon(kind), caption(title), text, b, QApplication::activeWindow());
    prepareBox(box);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

std::optional<QString> DialogService::input(const QString& title, const QString& prompt, const QString& preset)
{
    return askText(title, prompt, preset, QLineEdit::Normal);
}

std::optional<QString> DialogService::password(const QString& title, const QString& prompt)
{
    return askText(title, prompt, {}, QLineEdit::Password);
}

QString DialogService::openFile(const QString& title, const QString& filter, const QString& dir)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, dir, filter);
}

QString DialogService::saveFile(const QString& title, const QString& filter, const QString& suggested)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, suggested, filter);
}

int DialogService::exec(QDialog* window)
{
    return window->exec();
}

void DialogService::openWithDesktop(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DialogService::openWithDesktopProgram(const QString& path)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // The desktop's opener starts in the background and reports nothing:
    // ask first whether a program is registered for the file's type.
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return false;
    QProcess p;
    p.start(query, {QStringLiteral("query"), QStringLiteral("default"), QMimeDatabase().mimeTypeForFile(path).name()});
    if (!p.waitForFinished(5000) || p.exitCode() != 0 || p.readAllStandardOutput().trimmed().isEmpty())
        return false;
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DialogService::balloon(QWidget* over, const QString& title, const QString& text)
{
    const QString tip = title.isEmpty() ? text : QStringLiteral("<b>%1</b><br>%2").arg(title.toHtmlEscaped(), text.toHtmlEscaped());
    QToolTip::showText(over->mapToGlobal(QPoint(over->width() / 2, 0)), tip, over);
}

void DialogService::endProgram()
{
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

DialogService& dialogs()
{
    return g_current ? *g_current : g_real;
}

void setDialogs(DialogService* service)
{
    g_current = service;
}

void reportFailure(const QString& fixedMessage, const DbError& e)
{
    qCWarning(lcDb).noquote() << "action failed:" << fixedMessage << "|" << e.driverText << "|" << e.sql;
    dialogs().error(fixedMessage);
}

} // namespace tavrin
