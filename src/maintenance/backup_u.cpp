#include "backup_u.h"

#include "backup.h"
#include "maintenance_texts.h"
#include "workprogress.h"

#include "common/dialogs.h"
#include "common/jalali.h"
#include "db/database.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tavrin {

namespace {
// A field holding a path or a command: read left to right, selectable.
void latinField(QWidget* w)
{
    w->setLayoutDirection(Qt::LeftToRight);
}
} // namespace

Tbackup::Tbackup() : TWindow(QStringLiteral("Tbackup"), maintext::kBackupCaption)
{
    database = makeEdit(this, QStringLiteral("database"));
    database->setReadOnly(true);
    latinField(database);
    Label2 = makeLabel(this, maintext::kDataFileLabel, QStringLiteral("Label2"));
    path = makeEdit(this, QStringLiteral("path"));
    path->setReadOnly(true);
    latinField(path);
    Label3 = makeLabel(this, maintext::kCopyThisFile, QStringLiteral("Label3"));
    Label3->setStyleSheet(QStringLiteral("font-weight: bold; color: #1c4e80;"));
    Label5 = makeLabel(this, maintext::kWhileOpen, QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    Label4 = makeLabel(this, maintext::kCommandLabel, QStringLiteral("Label4"));
    command = new QPlainTextEdit(this);
    command->setObjectName(QStringLiteral("command"));
    command->setReadOnly(true);
    command->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    command->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    command->setFixedHeight(command->fontMetrics().lineSpacing() * 5 + 16);
    latinField(command);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), maintext::kBackupButton);
    Button2 = makeButton(this, QStringLiteral("Button2"), maintext::kClose);
    // Enter starts the backup, as the button does.
    ins_btn->setDefault(true);
    connect(ins_btn, &QPushButton::clicked, this, &Tbackup::ins_btnClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(this, maintext::kDatabaseLabel), 0, 0);
    grid->addWidget(database, 0, 1);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(path, 1, 1);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(Label5, 3, 1);
    grid->addWidget(Label4, 4, 0, Qt::AlignTop);
    grid->addWidget(command, 4, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ins_btn);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addStretch(1);
    outer->addLayout(buttons);
    resize(640, 240);
}

QString Tbackup::suggestedFile() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString stamp = QString(jalali::today()).replace('/', '-');
    const bool embedded = dm().backend() == Backend::SQLite;
    return QDir(folder).filePath(QStringLiteral("tavrin-%1.%2").arg(stamp, embedded ? QStringLiteral("db") : QStringLiteral("dump")));
}

void Tbackup::prepareToShow()
{
    const ConnectionParams& p = dm().params();
    database->setText(p.describe());
    const bool embedded = p.backend == Backend::SQLite;
    path->setText(embedded ? QFileInfo(p.server).absoluteFilePath() : QString());
    for (QWidget* w : std::initializer_list<QWidget*> {Label2, path, Label3, Label5})
        w->setVisible(embedded);
    pgDump = p.backend == Backend::PostgreSQL ? findPgDump() : QString();
    // The servers' command, for a file of the suggested name, to copy by hand.
    command->setPlainText(backupCommand(p, suggestedFile()));
    Label4->setVisible(!embedded);
    command->setVisible(!embedded);
}

void Tbackup::ins_btnClick()
{
    const ConnectionParams p = dm().params();
    const bool embedded = p.backend == Backend::SQLite;
    const QString file = dialogs().saveFile(maintext::kBackupFileTitle,
                                            embedded ? QStringLiteral("SQLite (*.db)") : QStringLiteral("pg_dump (*.dump)"),
                                            suggestedFile());
    if (file.isEmpty())
        return;
    BackupResult r;
    {
        WorkProgress progress(this, maintext::kBackingUp);
        r = backupDatabase(p, file, pgDump, progress.callback());
    }
    switch (r.status) {
    case BackupResult::Status::Done:
        dialogs().information(maintext::kBackupDone + '\n' + QDir::toNativeSeparators(file));
        return;
    case BackupResult::Status::Manual:
        command->setPlainText(r.command);
        dialogs().warning((p.backend == Backend::PostgreSQL ? maintext::kNoPgDump : maintext::kManualCommand) + '\n' +
                          r.command);
        return;
    case BackupResult::Status::Cancelled:
        dialogs().information(maintext::kBackupCancelled);
        return;
    case BackupResult::Status::SameFile:
        dialogs().warning(maintext::kBackupSameFile);
        return;
    case BackupResult::Status::Failed:
        qCWarning(lcDb).noquote() << "backup failed:" << r.detail;
        dialogs().error(maintext::kBackupFailed);
        return;
    }
}

} // namespace tavrin
