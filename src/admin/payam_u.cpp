#include "payam_u.h"

#include "bodyedit.h"
#include "commtexts.h"
#include "messages.h"
#include "useradmin.h"

#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/session.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace tavrin {

using namespace commtext;

Tpayam::Tpayam() : TWindow(QStringLiteral("Tpayam"), kPayamCaption)
{

    girande = makeCombo(this, QStringLiteral("girande"), false);
    girande->setMinimumWidth(360);
    connect(girande, &QComboBox::currentIndexChanged, this, &Tpayam::girandeChange);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    DBGrid1->setToolTip(QStringLiteral("Press Ctrl Key for MultiSelect"));
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("ferestande"), kFerestande},
        {QStringLiteral("send_dat"), kSendDat},
        {QStringLiteral("show_dat"), kShowDat},
        {QStringLiteral("mozo"), kMozo},
    });
    // Unread messages stand out.
    DBGrid1->listModel()->setRowColor([](const QSqlRecord& r) {
        return jalali::isEmptyDate(text(r.value(QStringLiteral("show_dat")))) ? QColor(0x1a, 0x4f, 0xa0) : QColor();
    });
    DBGrid1->setColumnWidth(0, 120);
    DBGrid1->setColumnWidth(1, 95);
    DBGrid1->setColumnWidth(2, 95);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Tpayam::showBody);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const QString& name, const QString& caption, void (Tpayam::*slot)()) {
        QAction* a = PopupMenu1->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    N1 = item(QStringLiteral("N1"), kMarkRead, &Tpayam::N1Click);
    N3 = item(QStringLiteral("N3"), kHazf, &Tpayam::N3Click);
    PopupMenu1->addSeparator();
    N6 = item(QStringLiteral("N6"), kSenderDetails, &Tpayam::N6Click);
    N2 = item(QStringLiteral("N2"), kRecipientDetails, &Tpayam::N2Click);
    PopupMenu1->addSeparator();
    N4 = item(QStringLiteral("N4"), kDeleteAllRead, &Tpayam::N4Click);
    N5 = item(QStringLiteral("N5"), kDeleteSelected, &Tpayam::N5Click);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The menu key opens it for the current row.
        const bool onRow = DBGrid1->indexAt(at).isValid();
        const QModelIndex i = onRow ? DBGrid1->indexAt(at) : DBGrid1->currentIndex();
        if (!i.isValid())
            return;
        // A right click on a row outside the selection selects that row alone.
        if (!DBGrid1->selectionModel()->isRowSelected(i.row(), {}))
            DBGrid1->setCurrentIndex(i);
        PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(onRow ? at : DBGrid1->visualRect(i).center()));
    });

    DBMemo1 = new BodyEdit(this, QStringLiteral("DBMemo1"));
    DBMemo1->setReadOnly(true);

    auto* note = makeLabel(this, kPayamNote);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #a01010; font-weight: bold;"));

    mozo = makeCombo(this, QStringLiteral("mozo"));
    mozo->lineEdit()->setMaxLength(columnLength(QStringLiteral("payamha"), QStringLiteral("mozo")));
    mozo->setMinimumWidth(260);
    connect(mozo->lineEdit(), &QLineEdit::returnPressed, this, &Tpayam::BitBtn1Click);
    cmt = new BodyEdit(this, QStringLiteral("cmt"));
    cmt->setTabChangesFocus(true);
    cmt->setToolTip(QStringLiteral("Ctrl+Enter: ") + kSend);
    cmt->installEventFilter(this);
    prs_list = new QListWidget(this);
    prs_list->setObjectName(QStringLiteral("prs_list"));
    CheckBox1 = new QCheckBox(kAllRecipients, this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    connect(CheckBox1, &QCheckBox::clicked, this, &Tpayam::CheckBox1Click);
    BitBtn1 = makeButton(this, QStringLiteral("BitBtn1"), kSend);
    BitBtn1->setMinimumWidth(110);
    connect(BitBtn1, &QPushButton::clicked, this, &Tpayam::BitBtn1Click);

    // Upper half: the filter, the list and the body.  The recipient choice
    // narrows the list (it sends nothing: the recipients are ticked below), so
    // it stands in a box that says so.
    auto* filterBox = new QGroupBox(kRecipientFilter, this);
    filterBox->setObjectName(QStringLiteral("girande_filter"));
    auto* filterRow = new QHBoxLayout(filterBox);
    filterRow->setContentsMargins(8, 2, 8, 4);
    filterRow->addWidget(makeLabel(filterBox, kGirande));
    girande->setParent(filterBox);
    filterRow->addWidget(girande);
    filterRow->addStretch();
    auto* filter = new QHBoxLayout;
    filter->addWidget(filterBox, 1);
    auto* listSplit = new QSplitter(Qt::Horizontal, this);
    listSplit->addWidget(DBGrid1);
    listSplit->addWidget(DBMemo1);
    listSplit->setStretchFactor(0, 3);
    listSplit->setStretchFactor(1, 2);
    listSplit->setChildrenCollapsible(false);

    // Lower half: the message to send and its recipients.
    auto* compose = new QGridLayout;
    compose->addWidget(makeLabel(this, kMozo), 0, 0);
    compose->addWidget(mozo, 0, 1);
    compose->addWidget(makeLabel(this, kCmtLabel), 1, 0, Qt::AlignTop);
    compose->addWidget(cmt, 1, 1);
    compose->addWidget(BitBtn1, 2, 1, Qt::AlignLeading);
    compose->setColumnStretch(1, 1);
    auto* people = new QVBoxLayout;
    people->addWidget(CheckBox1);
    people->addWidget(prs_list, 1);
    auto* lower = new QHBoxLayout;
    lower->addLayout(compose, 3);
    lower->addLayout(people, 2);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->addLayout(filter);
    top->addWidget(listSplit, 3);
    top->addWidget(note);
    top->addLayout(lower, 2);
    // Right to left, top to bottom: the list, then the message and its recipients.
    QWidget* order[] = {girande, DBGrid1, DBMemo1, mozo, cmt, CheckBox1, prs_list, BitBtn1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    resize(1100, 660);
}

void Tpayam::prepareToShow()
{
    cmt->clear();
    {
        const QSignalBlocker block(mozo);
        mozo->setEditText(QString());
    }
    girande->setEnabled(useradmin::isSystemAdmin());
    CheckBox1->setChecked(false);
    FormShow();
    {
        const QSignalBlocker block(girande);
        girande->setCurrentIndex(0);
    }
    search();
}

void Tpayam::FormShow()
{
    try {
        const QString typed = mozo->currentText();
        {
            const QSignalBlocker block(mozo);
            fillCombo(mozo, settingList(kSubjectsKey));
            mozo->setEditText(typed);
        }
        const QList<messages::Recipient> users = messages::recipients();
        const QSignalBlocker block(girande);
        girande->clear();
        girande->addItem(QString());  // every recipient
        prs_list->clear();
        for (const messages::Recipient& u : users) {
            girande->addItem(u.label, u.id);
            auto* it = new QListWidgetItem(u.label, prs_list);
            it->setData(Qt::UserRole, u.id);
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(Qt::Unchecked);
        }
    } catch (const DbError& e) {
        reportFailure(messages::kReadFailed, e);
    }
}

void Tpayam::search()
{
    std::optional<qint64> recipient;
    if (girande->isEnabled() && girande->currentIndex() > 0)
        recipient = girande->currentData().toLongLong();
    try {
        DBGrid1->listModel()->setQuery(messages::listQuery(recipient));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        reportFailure(messages::kReadFailed, e);
    }
    DBMemo1->clear();
}

void Tpayam::girandeChange()
{
    search();
}

void Tpayam::showBody()
{
    const qint64 id = currentId();
    if (id == 0) {
        DBMemo1->clear();
        return;
    }
    try {
        DBMemo1->setPlainText(messages::body(id));
    } catch (const DbError&) {
        DBMemo1->clear();  // the driver's text is in the log
    }
}

qint64 Tpayam::currentId() const
{
    const QSqlRecord r = DBGrid1->currentRecord();
    return r.isEmpty() ? 0 : r.value(QStringLiteral("id")).toLongLong();
}

QList<qint64> Tpayam::selectedIds() const
{
    QList<qint64> ids;
    QModelIndexList rows = DBGrid1->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& i : rows) {
        const QSqlRecord r = DBGrid1->listModel()->record(i.row());
        if (!r.isEmpty())
            ids << r.value(QStringLiteral("id")).toLongLong();
    }
    if (ids.isEmpty() && currentId() != 0)
        ids << currentId();
    return ids;
}

QList<qint64> Tpayam::tickedRecipients() const
{
    QList<qint64> ids;
    for (int i = 0; i < prs_list->count(); ++i)
        if (prs_list->item(i)->checkState() == Qt::Checked)
            ids << prs_list->item(i)->data(Qt::UserRole).toLongLong();
    return ids;
}

void Tpayam::CheckBox1Click()
{
    const Qt::CheckState state = CheckBox1->isChecked() ? Qt::Checked : Qt::Unchecked;
    for (int i = 0; i < prs_list->count(); ++i)
        prs_list->item(i)->setCheckState(state);
}

void Tpayam::BitBtn1Click()
{
    messages::SendResult r;
    try {
        r = messages::send(tickedRecipients(), mozo->currentText(), cmt->toPlainText());
    } catch (const DbError& e) {
        reportFailure(messages::kSendFailed, e);
        return;
    }
    if (!r.refusal.isEmpty()) {
        dialogs().warning(r.refusal);
        if (r.refusal == messages::kNoRecipient)
            prs_list->setFocus();
        else
            mozo->setFocus();
        return;
    }
    search();
    dialogs().information(r.message());
}

void Tpayam::N1Click()
{
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty())
        return;
    try {
        messages::markRead(ids);
    } catch (const DbError& e) {
        reportFailure(messages::kReadFailed, e);
        return;
    }
    search();
}

void Tpayam::afterDelete(const QString& message)
{
    if (message == kAdminOnlyDelete) {
        dialogs().warning(message);
        return;
    }
    search();
    dialogs().information(message);
}

void Tpayam::N3Click()
{
    const qint64 id = currentId();
    if (id == 0 && useradmin::isSystemAdmin())
        return;
    try {
        afterDelete(messages::deleteMessage(id));
    } catch (const DbError& e) {
        reportFailure(messages::kDeleteFailed, e);
    }
}

void Tpayam::N4Click()
{
    try {
        afterDelete(messages::deleteAllRead());
    } catch (const DbError& e) {
        reportFailure(messages::kDeleteFailed, e);
    }
}

void Tpayam::N5Click()
{
    try {
        afterDelete(messages::deleteSelectedRead(selectedIds()));
    } catch (const DbError& e) {
        reportFailure(messages::kDeleteFailed, e);
    }
}

void Tpayam::showDetails(bool sender)
{
    const qint64 id = currentId();
    if (id == 0)
        return;
    std::optional<QString> label;
    try {
        label = sender ? messages::senderLabel(id) : messages::recipientLabelOf(id);
    } catch (const DbError& e) {
        reportFailure(messages::kReadFailed, e);
        return;
    }
    dialogs().information(label.value_or(messages::kUserMissing));
}

void Tpayam::N6Click()
{
    showDetails(true);
}

void Tpayam::N2Click()
{
    showDetails(false);
}

void Tpayam::done(int r)
{
    TWindow::done(r);
    try {
        Q_EMIT unreadChanged(messages::unreadCount(session().prsId) != 0);
    } catch (const DbError&) {
        // The mark keeps its state; the driver's text is in the log.
    }
}

bool Tpayam::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cmt && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && (k->modifiers() & Qt::ControlModifier)) {
            BitBtn1Click();
            return true;
        }
    }
    return TWindow::eventFilter(watched, event);
}

} // namespace tavrin
