#include "dialogs.h"

#include "windows.h"

#include "db/database.h"

#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLocale>
#include <QProgressDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>
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

const QString kCancelCaption = QStringLiteral("انصراف");
const QString kReadingList = QStringLiteral("در حال خواندن ليست ...");

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
    box.setLayoutDirection(Qt::RightToLeft);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(preset);
    box.setTextEchoMode(echo);
    // The box's layout sizes it to its contents and ignores a minimum width
    // of its own: the field carries the width the title needs.  A password
    // is never shown nor offered to the input method.
    if (auto* field = box.findChild<QLineEdit*>()) {
        field->setEchoMode(echo);
        if (echo != QLineEdit::Normal)
            field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
        field->setMinimumWidth(titleWidth(title));
    }
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

std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const QString& title, const QString& filter,
                                            const QString& path, bool saving)
{
    auto d = std::make_unique<QFileDialog>(parent, title, QString(), filter);
    d->setObjectName(QStringLiteral("fileDialog"));
    d->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!path.isEmpty()) {
        const QFileInfo info(path);
        if (info.isDir()) {
            d->setDirectory(info.absoluteFilePath());
        } else {
            if (info.absoluteDir().exists())
                d->setDirectory(info.absolutePath());
            d->selectFile(info.fileName());
        }
    }
    // The dialog's own size shows a few columns of the file list only; a
    // window manager then leaves it that narrow.
    QScreen* s = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = s ? s->availableGeometry() : QRect(0, 0, 1366, 768);
    const QSize hint = d->sizeHint();
    const QSize wanted(std::max(hint.width(), std::max(titleWidth(title), 960)), std::max(hint.height(), 560));
    d->resize(wanted.boundedTo(area.size() - QSize(40, 80)));
    // The modified-date column shows whole dates and the places beside the
    // list their whole names.
    if (auto* list = d->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        const int date = list->fontMetrics().horizontalAdvance(QStringLiteral("00 MMM 0000 00:00:00")) + 24;
        list->header()->resizeSection(3, std::max(list->header()->sectionSize(3), date));
    }
    if (auto* split = d->findChild<QSplitter*>(QStringLiteral("splitter")))
        split->setSizes({180, std::max(400, d->width() - 180)});
    return d;
}

QString DialogService::openFile(const QString& title, const QString& filter, const QString& dir)
{
    auto d = makeFileDialog(QApplication::activeWindow(), title, filter, dir, false);
    return d->exec() == QDialog::Accepted ? d->selectedFiles().value(0) : QString();
}

QString DialogService::saveFile(const QString& title, const QString& filter, const QString& suggested)
{
    auto d = makeFileDialog(QApplication::activeWindow(), title, filter, suggested, true);
    return d->exec() == QDialog::Accepted ? d->selectedFiles().value(0) : QString();
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

namespace {

class DialogProgress final : public ProgressView {
public:
    DialogProgress(const QString& label, qint64 total) : m_label(label), m_total(total)
    {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        // The dialog counts in thousandths: totals beyond an int still fit.
        m_dialog = std::make_unique<QProgressDialog>(label, kCancelCaption, 0, total > 0 ? 1000 : 0,
                                                     QApplication::activeWindow());
        m_dialog->setObjectName(QStringLiteral("progress"));
        m_dialog->setWindowTitle(QApplication::applicationDisplayName());
        m_dialog->setLayoutDirection(Qt::RightToLeft);
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(500);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setValue(0);
        m_clock.start();
    }

    bool advance(qint64 done) override
    {
        if (!m_dialog)
            return true;
        // A few updates a second: repainting for every row would cost more than the row.
        if (m_clock.elapsed() < 100 && done != m_total)
            return !m_dialog->wasCanceled();
        m_clock.restart();
        if (m_total > 0) {
            m_dialog->setValue(int(std::min<qint64>(1000, done * 1000 / m_total)));
        } else {
            // Of an unknown total, the rows read so far.
            m_dialog->setLabelText(QStringLiteral("%1\n%2").arg(m_label, QLocale(QLocale::Persian).toString(done)));
            m_dialog->setValue(0);
        }
        QCoreApplication::processEvents();
        return !m_dialog->wasCanceled();
    }

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    QString m_label;
    qint64 m_total;
    QElapsedTimer m_clock;
};

} // namespace

std::unique_ptr<ProgressView> DialogService::progress(const QString& label, qint64 total)
{
    return std::make_unique<DialogProgress>(label, total);
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

Ask askWarning(Buttons buttons)
{
    return [buttons](const QString& question) {
        return dialogs().question(question, buttons, MsgKind::Warning) == Answer::Yes;
    };
}

void reportFailure(const QString& fixedMessage, const DbError& e)
{
    qCWarning(lcDb).noquote() << "action failed:" << fixedMessage << "|" << e.driverText << "|" << e.sql;
    dialogs().error(fixedMessage);
}

} // namespace tavrin
