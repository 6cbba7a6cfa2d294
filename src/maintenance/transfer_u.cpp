#include "transfer_u.h"

#include "dbcopy.h"
#include "maintenance_texts.h"
#include "transfer.h"
#include "workprogress.h"

#include "common/dialogs.h"
#include "common/session.h"
#include "db/database.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tavrin {

namespace {
// Where a choice of sabt_cod keeps its code (its text names an empty code).
constexpr int kCodeRole = Qt::UserRole + 1;
} // namespace

Ttransfer::Ttransfer() : TWindow(QStringLiteral("Ttransfer"), maintext::kTransferCaption)
{
    GroupBox1 = new QGroupBox(maintext::kSourceGroup, this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    backend = makeCombo(GroupBox1, QStringLiteral("backend"), false);
    backend->addItems({QStringLiteral("SQLite"), QStringLiteral("PostgreSQL")});
    backend->setLayoutDirection(Qt::LeftToRight);
    server = makeEdit(GroupBox1, QStringLiteral("server"));
    browse_btn = makeButton(GroupBox1, QStringLiteral("browse_btn"), QStringLiteral("..."));
    browse_btn->setFixedWidth(40);
    database = makeEdit(GroupBox1, QStringLiteral("database"));
    user = makeEdit(GroupBox1, QStringLiteral("user"));
    password = makeEdit(GroupBox1, QStringLiteral("password"));
    password->setEchoMode(QLineEdit::Password);
    for (QLineEdit* e : {server, database, user, password})
        e->setLayoutDirection(Qt::LeftToRight);
    connect_btn = makeButton(GroupBox1, QStringLiteral("connect_btn"), maintext::kConnect);
    connect_btn->setMinimumWidth(120);
    auto* src = new QGridLayout(GroupBox1);
    src->addWidget(makeLabel(GroupBox1, maintext::kBackendLabel), 0, 0);
    src->addWidget(backend, 0, 1);
    src->addWidget(makeLabel(GroupBox1, maintext::kServerLabel), 1, 0);
    src->addWidget(server, 1, 1, 1, 3);
    src->addWidget(browse_btn, 1, 4);
    src->addWidget(makeLabel(GroupBox1, maintext::kDatabaseNameLabel), 2, 0);
    src->addWidget(database, 2, 1);
    src->addWidget(makeLabel(GroupBox1, maintext::kUserLabel), 2, 2);
    src->addWidget(user, 2, 3, 1, 2);
    src->addWidget(makeLabel(GroupBox1, maintext::kPasswordLabel), 3, 0);
    src->addWidget(password, 3, 1);
    src->addWidget(connect_btn, 3, 3, 1, 2, Qt::AlignLeft | Qt::AlignAbsolute);
    src->setColumnStretch(1, 1);
    src->setColumnStretch(3, 1);

    sabt_cod = makeCombo(this, QStringLiteral("sabt_cod"), false);
    sabt_cod->setMinimumWidth(220);
    cnt = makeLabel(this, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setStyleSheet(QStringLiteral("font-weight: bold; color: #1c4e80;"));
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), maintext::kTransferButton);
    auto* code = new QHBoxLayout;
    code->addWidget(makeLabel(this, maintext::kSabtCodLabel));
    code->addWidget(sabt_cod);
    code->addWidget(makeLabel(this, maintext::kApplicantsOfCode));
    code->addWidget(cnt);
    code->addStretch(1);
    code->addWidget(ins_btn);

    result = makeLabel(this, QString(), QStringLiteral("result"));
    result->setWordWrap(true);
    refused = new QTableWidget(0, 5, this);
    refused->setObjectName(QStringLiteral("refused"));
    refused->setHorizontalHeaderLabels({maintext::kColName, maintext::kColNation, maintext::kColProject,
                                        maintext::kColUnit, maintext::kColReason});
    refused->setEditTriggers(QAbstractItemView::NoEditTriggers);
    refused->setSelectionBehavior(QAbstractItemView::SelectRows);
    refused->verticalHeader()->hide();
    refused->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    refused->horizontalHeader()->setStretchLastSection(true);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(GroupBox1);
    outer->addLayout(code);
    outer->addWidget(result);
    outer->addWidget(makeLabel(this, maintext::kRefusedLabel));
    outer->addWidget(refused, 1);

    connect(backend, &QComboBox::currentIndexChanged, this, [this] { backendChange(); });
    connect(browse_btn, &QPushButton::clicked, this, &Ttransfer::browse_btnClick);
    connect(connect_btn, &QPushButton::clicked, this, &Ttransfer::connect_btnClick);
    // Enter in a field of the source connects, as the button does.
    for (QLineEdit* e : {server, database, user, password})
        connect(e, &QLineEdit::returnPressed, this, &Ttransfer::connect_btnClick);
    connect(sabt_cod, &QComboBox::currentIndexChanged, this, &Ttransfer::sabt_codChange);
    connect(ins_btn, &QPushButton::clicked, this, &Ttransfer::ins_btnClick);
    backendChange();
    resize(860, 600);
}

Ttransfer::~Ttransfer() = default;

void Ttransfer::applyRights(const Rights& r)
{
    ins_btn->setEnabled(r.darj);
}

void Ttransfer::prepareToShow()
{
    m_source.reset();
    sabt_cod->clear();
    cnt->setText(QStringLiteral("0"));
    result->clear();
    refused->setRowCount(0);
    password->clear();
}

void Ttransfer::done(int r)
{
    // The other database is not kept open once the window closes.
    m_source.reset();
    TWindow::done(r);
}

void Ttransfer::backendChange()
{
    const bool file = backend->currentIndex() == 0;
    browse_btn->setEnabled(file);
    for (QLineEdit* e : {database, user, password})
        e->setEnabled(!file);
}

void Ttransfer::browse_btnClick()
{
    const QString f = dialogs().openFile(maintext::kChooseFile, QStringLiteral("SQLite (*.db *.sqlite);;* (*)"));
    if (!f.isEmpty())
        server->setText(f);
}

void Ttransfer::connect_btnClick()
{
    m_source.reset();
    sabt_cod->clear();
    cnt->setText(QStringLiteral("0"));
    if (server->text().trimmed().isEmpty()) {
        dialogs().warning(maintext::kNoServer);
        server->setFocus();
        return;
    }
    ConnectionParams p;
    p.backend = backend->currentIndex() == 0 ? Backend::SQLite : Backend::PostgreSQL;
    p.server = server->text().trimmed();
    p.database = database->text().trimmed();
    p.user = user->text().trimmed();
    p.password = password->text();
    p.createIfMissing = false;
    if (hasDm() && sameDatabase(p, dm().params())) {
        dialogs().warning(maintext::kSourceIsCurrent);
        return;
    }
    auto db = std::make_unique<Database>(p);
    QString why;
    if (!db->open(&why)) {
        qCWarning(lcDb).noquote() << "transfer source:" << p.describe() << why;
        dialogs().warning(maintext::kSourceFailed);
        return;
    }
    if (!db->tableExists(QStringLiteral("customers"))) {
        dialogs().warning(maintext::kSourceHasNoApplicants);
        return;
    }
    m_source = std::move(db);
    fillCodes();
    sabt_cod->setFocus();
}

void Ttransfer::fillCodes()
{
    const QSignalBlocker block(sabt_cod);
    sabt_cod->clear();
    try {
        for (const auto& [code, n] : registrationCodes(*m_source)) {
            sabt_cod->addItem(code.isEmpty() ? maintext::kNoCode : code, n);
            sabt_cod->setItemData(sabt_cod->count() - 1, code, kCodeRole);
        }
    } catch (const DbError& e) {
        m_source.reset();
        reportFailure(maintext::kSourceFailed, e);
        return;
    }
    sabt_cod->setCurrentIndex(-1);
    cnt->setText(QStringLiteral("0"));
}

void Ttransfer::sabt_codChange()
{
    cnt->setText(sabt_cod->currentIndex() < 0 ? QStringLiteral("0") : QString::number(sabt_cod->currentData().toLongLong()));
}

void Ttransfer::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    if (!m_source) {
        dialogs().warning(maintext::kConnectFirst);
        connect_btn->setFocus();
        return;
    }
    if (sabt_cod->currentIndex() < 0) {
        dialogs().warning(maintext::kChooseCode);
        sabt_cod->setFocus();
        return;
    }
    if (sabt_cod->currentData().toLongLong() == 0) {
        dialogs().warning(maintext::kNoApplicantsOfCode);
        return;
    }
    const QString code = sabt_cod->currentData(kCodeRole).toString();
    if (dialogs().question(maintext::kTransferAsk + code, Buttons::YesNo) != Answer::Yes)
        return;
    TransferReport r;
    {
        WorkProgress progress(this, maintext::kTransferring);
        r = transferApplicants(*m_source, dm(), code, session().karbar, progress.callback());
    }
    switch (r.outcome) {
    case TransferReport::Outcome::Done:
        showReport(r);
        dialogs().information(result->text());
        return;
    case TransferReport::Outcome::Cancelled:
        dialogs().information(maintext::kTransferCancelled);
        return;
    case TransferReport::Outcome::Failed:
        qCWarning(lcDb).noquote() << "transfer failed:" << r.detail;
        dialogs().error(maintext::kTransferFailed);
        return;
    }
}

void Ttransfer::showReport(const TransferReport& r)
{
    QString text = QString::number(r.applicants) + maintext::kCopiedApplicants + QString::number(r.dependentRows()) +
                   maintext::kCopiedRows;
    if (!r.refused.isEmpty())
        text += '\n' + QString::number(r.refused.size()) + maintext::kRefusedApplicants;
    result->setText(text);
    refused->setRowCount(0);
    for (const Refusal& f : r.refused) {
        const int row = refused->rowCount();
        refused->insertRow(row);
        // A unit identifier ("A-2-1") reads left to right inside the right-to-left row.
        const QString unit = f.unit.isEmpty() ? QString() : QChar(0x2066) + f.unit + QChar(0x2069);
        const QStringList cells {f.name, f.nation, f.project, unit, f.reason};
        for (int c = 0; c < cells.size(); ++c)
            refused->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
}

} // namespace tavrin
