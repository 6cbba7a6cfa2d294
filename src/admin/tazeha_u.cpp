#include "tazeha_u.h"

#include "tazeha_ins_u.h"
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
