#include "tazeha_ins_u.h"

#include "bodyedit.h"
#include "commtexts.h"
#include "news.h"

#include "common/dialogs.h"
#include "common/jalali.h"
#include "db/database.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace commtext;

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


} // namespace tavrin
