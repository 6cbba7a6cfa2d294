#include "tazeha_u.h"

#include "bodyedit.h"
#include "commtexts.h"
#include "messages.h"
#include "news.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/jalali.h"
#include "common/listmodel.h"
#include "common/session.h"
#include "db/database.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace tavrin {

using namespace commtext;

namespace {
bool isEnter(QEvent* event, bool withControl)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* k = static_cast<QKeyEvent*>(event);
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (!withControl || (k->modifiers() & Qt::ControlModifier));
}
} // namespace

// ---------------------------------------------------------------- entry window

Ttazeha_ins::Ttazeha_ins() : TWindow(QStringLiteral("Ttazeha_ins"), kTazehaInsCaption)
{
    dat = makeDateEdit(this, QStringLiteral("dat"));
    mozo = makeEdit(this, QStringLiteral("mozo"), columnLength(QStringLiteral("tazeha"), QStringLiteral("mozo")));
    msg = new BodyEdit(this, QStringLiteral("msg"));
    msg->setTabChangesFocus(true);
    msg->setToolTip(QStringLiteral("Ctrl+Enter: ") + kSabt);
    msg->installEventFilter(this);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kSabt);
    edit_btn = makeButton(this, QStringLiteral("edit_btn"), kVirayesh);
    for (QPushButton* b : {ins_btn, edit_btn})
        b->setMinimumWidth(100);
    connect(ins_btn, &QPushButton::clicked, this, &Ttazeha_ins::ins_btnClick);
    connect(edit_btn, &QPushButton::clicked, this, &Ttazeha_ins::edit_btnClick);
    // Enter in a one-line field saves as the visible button does (also with an
    // incomplete date, which then gets its message).
    for (QLineEdit* e : {dat, mozo})
        e->installEventFilter(this);

    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(this, kDat), 0, 0);
    grid->addWidget(dat, 0, 1, Qt::AlignLeading);
    grid->addWidget(makeLabel(this, kMozo), 1, 0);
    grid->addWidget(mozo, 1, 1);
    grid->addWidget(makeLabel(this, kNewsText), 2, 0, Qt::AlignTop);
    grid->addWidget(msg, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ins_btn);
    buttons->addWidget(edit_btn);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid, 1);
    top->addLayout(buttons);
    resize(620, 440);
}

void Ttazeha_ins::startNew()
{
    m_id = 0;
    dat->setText(jalali::today());
    mozo->clear();
    msg->clear();
    ins_btn->show();
    edit_btn->hide();
    mozo->setFocus();
}

void Ttazeha_ins::startEdit(qint64 id, const QString& d, const QString& m, const QString& body)
{
    m_id = id;
    dat->setText(d);
    mozo->setText(m);
    msg->setPlainText(body);
    ins_btn->hide();
    edit_btn->show();
    mozo->setFocus();
}

void Ttazeha_ins::save()
{
    if (m_id == 0)
        ins_btnClick();
    else
        edit_btnClick();
}

bool Ttazeha_ins::checked()
{
    QString field;
    const QString refusal = news::refuse({dat->displayText(), mozo->text(), msg->toPlainText()}, &field);
    if (refusal.isEmpty())
        return true;
    dialogs().warning(refusal);
    (field == QLatin1String("dat") ? static_cast<QWidget*>(dat) : mozo)->setFocus();
    return false;
}

void Ttazeha_ins::ins_btnClick()
{
    if (m_id != 0 || !checked())
        return;
    try {
        news::insertItem({dat->displayText(), mozo->text(), msg->toPlainText()});
    } catch (const DbError& e) {
        reportFailure(news::kSaveFailed, e);
        return;
    }
    if (onSaved)
        onSaved();
    dialogs().information(kSaved);
    // The window stays open for the next item.
    mozo->clear();
    msg->clear();
    mozo->setFocus();
}

void Ttazeha_ins::edit_btnClick()
{
    if (m_id == 0 || !checked())
        return;
    bool found = false;
    try {
        found = news::updateItem(m_id, {dat->displayText(), mozo->text(), msg->toPlainText()});
    } catch (const DbError& e) {
        reportFailure(news::kSaveFailed, e);
        return;
    }
    if (onSaved)
        onSaved();
    if (!found) {
        dialogs().warning(news::kItemMissing);
        return;
    }
    accept();
}

bool Ttazeha_ins::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == msg && isEnter(event, true)) || ((watched == dat || watched == mozo) && isEnter(event, false))) {
        save();
        return true;
    }
    return TWindow::eventFilter(watched, event);
}

// ----------------------------------------------------------------- news window

Ttazeha::Ttazeha() : TWindow(QStringLiteral("Ttazeha"), kTazehaCaption)
{
    auto* bar = new QMenuBar(this);
    const auto entry = [bar](const QString& name, const QString& caption) {
        QAction* a = bar->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    N1 = entry(QStringLiteral("N1"), kSabt);
    N2 = entry(QStringLiteral("N2"), kVirayesh);
    N3 = entry(QStringLiteral("N3"), kHazf);
    N4 = entry(QStringLiteral("N4"), kBastan);
    connect(N1, &QAction::triggered, this, &Ttazeha::N1Click);
    connect(N2, &QAction::triggered, this, &Ttazeha::N2Click);
    connect(N3, &QAction::triggered, this, &Ttazeha::N3Click);
    connect(N4, &QAction::triggered, this, &QDialog::reject);

    CheckBox2 = new QCheckBox(kNewsDates, this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    dat1 = makeDateEdit(this, QStringLiteral("dat1"));
    dat2 = makeDateEdit(this, QStringLiteral("dat2"));
    bindCriterion(CheckBox2, dat2);
    bindCriterion(CheckBox2, dat1);
    src_btn = makeButton(this, QStringLiteral("src_btn"), kSearch);
    src_btn->setMinimumWidth(90);
    connect(src_btn, &QPushButton::clicked, this, &Ttazeha::src_btnClick);
    for (QLineEdit* e : {dat1, dat2})
        e->installEventFilter(this);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("dat"), kDat},
        {QStringLiteral("mozo"), kMozo},
    });
    DBGrid1->setColumnWidth(0, 95);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &Ttazeha::showBody);
    DBMemo1 = new BodyEdit(this, QStringLiteral("DBMemo1"));
    DBMemo1->setReadOnly(true);
    CheckBox1 = new QCheckBox(kDoNotShowAgain, this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));

    auto* filter = new QHBoxLayout;
    filter->addWidget(CheckBox2);
    filter->addWidget(dat1);
    filter->addWidget(makeLabel(this, kTa));
    filter->addWidget(dat2);
    filter->addWidget(src_btn);
    filter->addStretch();
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(DBGrid1);
    split->addWidget(DBMemo1);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    auto* top = new QVBoxLayout(this);
    top->setMenuBar(bar);
    top->setContentsMargins(10, 4, 10, 10);
    top->addLayout(filter);
    top->addWidget(split, 1);
    top->addWidget(CheckBox1);
    resize(760, 600);
}

void Ttazeha::applyRights(const Rights& r)
{
    N1->setEnabled(r.darj);
    N2->setEnabled(r.virayesh);
    N3->setEnabled(r.hazf);
}

void Ttazeha::setReadOnly()
{
    applyRights(Rights{});
}

void Ttazeha::prepareToShow()
{
    CheckBox1->setChecked(false);
    src_btnClick();
}

void Ttazeha::src_btnClick()
{
    std::optional<std::pair<QString, QString>> dates;
    if (CheckBox2->isChecked()) {
        for (QLineEdit* e : {dat1, dat2}) {
            if (!jalali::wholeDate(e->displayText())) {
                dialogs().warning(news::kDateIncomplete);
                e->setFocus();
                return;
            }
        }
        dates = std::make_pair(*jalali::wholeDate(dat1->displayText()), *jalali::wholeDate(dat2->displayText()));
    }
    try {
        DBGrid1->listModel()->setQuery(news::listQuery(dates));
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        reportFailure(news::kSearchFailed, e);
    }
    DBMemo1->clear();
    if (DBGrid1->listModel()->totalCount() > 0)
        DBGrid1->setCurrentIndex(DBGrid1->listModel()->index(0, 0));
}

void Ttazeha::reload()
{
    const int row = DBGrid1->currentRow();
    try {
        DBGrid1->listModel()->refresh();
    } catch (const DbError& e) {
        reportFailure(news::kSearchFailed, e);
        return;
    }
    const int rows = DBGrid1->listModel()->totalCount();
    if (rows > 0)
        DBGrid1->setCurrentIndex(DBGrid1->listModel()->index(std::clamp(row, 0, rows - 1), 0));
    else
        DBMemo1->clear();
}

void Ttazeha::showBody()
{
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty()) {
        DBMemo1->clear();
        return;
    }
    try {
        const auto item = news::readItem(r.value(QStringLiteral("id")).toLongLong());
        DBMemo1->setPlainText(item ? item->msg : QString());
    } catch (const DbError&) {
        DBMemo1->clear();  // the driver's text is in the log
    }
}

void Ttazeha::N1Click()
{
    if (!N1->isEnabled())
        return;
    Ttazeha_ins& w = tavrin::window<Ttazeha_ins>();
    w.onSaved = [this] { reload(); };
    w.startNew();
    w.showModal();
}

void Ttazeha::N2Click()
{
    if (!N2->isEnabled())
        return;
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty())
        return;
    const qint64 id = r.value(QStringLiteral("id")).toLongLong();
    std::optional<news::Item> item;
    try {
        item = news::readItem(id);
    } catch (const DbError& e) {
        reportFailure(news::kSearchFailed, e);
        return;
    }
    if (!item) {
        reload();
        return;
    }
    Ttazeha_ins& w = tavrin::window<Ttazeha_ins>();
    w.onSaved = [this] { reload(); };
    w.startEdit(id, item->dat, item->mozo, item->msg);
    w.showModal();
}

void Ttazeha::N3Click()
{
    if (!N3->isEnabled())
        return;
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty())
        return;
    bool removed = false;
    try {
        removed = news::deleteItem(r.value(QStringLiteral("id")).toLongLong());
    } catch (const DbError& e) {
        reportFailure(news::kDeleteFailed, e);
        return;
    }
    reload();
    if (!removed)
        dialogs().warning(kNothingDeleted);
}

bool Ttazeha::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in a date searches.
    if ((watched == dat1 || watched == dat2) && isEnter(event, false)) {
        src_btnClick();
        return true;
    }
    return TWindow::eventFilter(watched, event);
}

void Ttazeha::done(int r)
{
    TWindow::done(r);
    if (!CheckBox1->isChecked())
        return;
    try {
        news::dismiss(session().prsId, jalali::today());
    } catch (const DbError& e) {
        reportFailure(news::kSaveFailed, e);
    }
}

} // namespace tavrin
