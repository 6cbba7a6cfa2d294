#include "phone_u.h"

#include "reftexts.h"
#include "refmessages.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "db/database.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavrin {

Tphone::Tphone() : TWindow(QStringLiteral("Tphone"), reftext::kPhoneCaption)
{
    name = makeEdit(this, QStringLiteral("name"), columnLength(QStringLiteral("phone"), QStringLiteral("name")));
    tel = makeEdit(this, QStringLiteral("tel"), columnLength(QStringLiteral("phone"), QStringLiteral("tel")));
    cmt = makeEdit(this, QStringLiteral("cmt"), columnLength(QStringLiteral("phone"), QStringLiteral("cmt")));
    tel->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), reftext::kSabt);
    connect(ins_btn, &QPushButton::clicked, this, &Tphone::ins_btnClick);
    setSaveButtons({ins_btn});
    auto* entry = new QGridLayout;
    entry->addWidget(makeLabel(this, reftext::kName), 0, 0);
    entry->addWidget(name, 0, 1);
    entry->addWidget(makeLabel(this, reftext::kTel), 1, 0);
    entry->addWidget(tel, 1, 1);
    entry->addWidget(makeLabel(this, reftext::kSharh), 2, 0);
    entry->addWidget(cmt, 2, 1);
    entry->addWidget(ins_btn, 2, 2);
    entry->setColumnStretch(1, 1);

    RadioGroup1 = new QGroupBox(reftext::kSearchBy, this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1_0 = new QRadioButton(reftext::kName, RadioGroup1);
    RadioGroup1_0->setObjectName(QStringLiteral("RadioGroup1_0"));
    RadioGroup1_1 = new QRadioButton(reftext::kTel, RadioGroup1);
    RadioGroup1_1->setObjectName(QStringLiteral("RadioGroup1_1"));
    RadioGroup1_2 = new QRadioButton(reftext::kSharh, RadioGroup1);
    RadioGroup1_2->setObjectName(QStringLiteral("RadioGroup1_2"));
    RadioGroup1_0->setChecked(true);
    src = makeEdit(this, QStringLiteral("src"));
    cnt = makeLabel(this, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setStyleSheet(QStringLiteral("font-weight: bold; color: #1c4e80;"));
    auto* radios = new QHBoxLayout(RadioGroup1);
    radios->addWidget(RadioGroup1_0);
    radios->addWidget(RadioGroup1_1);
    radios->addWidget(RadioGroup1_2);
    radios->addWidget(src, 1);
    radios->addWidget(cnt);
    connect(src, &QLineEdit::textChanged, this, &Tphone::srcChange);
    for (QRadioButton* r : {RadioGroup1_0, RadioGroup1_1, RadioGroup1_2})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                srcChange();
        });

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({{QStringLiteral("name"), reftext::kName},
                                      {QStringLiteral("tel"), reftext::kTel},
                                      {QStringLiteral("cmt"), reftext::kSharh},
                                      {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true}});
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(reftext::kHazf);
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &Tphone::N1Click);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex i = DBGrid1->indexAt(at);
        if (!i.isValid())
            return;
        DBGrid1->setCurrentIndex(i);
        PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(at));
    });

    // The search runs as the text is typed; Enter there goes on to the list
    // instead of saving the entry fields.
    enterMovesFocus(src, DBGrid1);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(entry);
    outer->addWidget(RadioGroup1);
    outer->addWidget(DBGrid1, 1);
    resize(640, 520);
}

void Tphone::applyRights(const Rights& r)
{
    ins_btn->setEnabled(r.darj);
    N1->setEnabled(r.hazf);
}

void Tphone::prepareToShow()
{
    // "1" and back to empty: the search runs with an empty text.
    src->setText(QStringLiteral("1"));
    src->clear();
    name->clear();
    tel->clear();
    cmt->clear();
}

PhoneColumn Tphone::searchedColumn() const
{
    if (RadioGroup1_1->isChecked())
        return PhoneColumn::Tel;
    if (RadioGroup1_2->isChecked())
        return PhoneColumn::Cmt;
    return PhoneColumn::Name;
}

void Tphone::srcChange()
{
    const QString normal = normalisePhoneSearch(src->text());
    if (normal != src->text()) {
        const QSignalBlocker block(src);
        const int at = src->cursorPosition();
        src->setText(normal);
        src->setCursorPosition(at);
    }
    try {
        DBGrid1->listModel()->setQuery(phoneQuery(searchedColumn(), normal));
        cnt->setText(QString::number(DBGrid1->listModel()->totalCount()));
    } catch (const DbError&) {
        // A failed search leaves the list as it was (the driver text is in the log).
    }
}

void Tphone::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    PhoneInsert r;
    FieldRefusal tooLong;
    try {
        r = addPhone(name->text(), tel->text(), cmt->text(), &tooLong);
    } catch (const DbError& e) {
        reportFailure(refmsg::kSaveFailed, e);
        return;
    }
    if (r == PhoneInsert::EmptyName) {
        dialogs().warning(refmsg::kEmptyName);
        name->setFocus();
        return;
    }
    if (r == PhoneInsert::TooLong) {
        dialogs().warning(tooLong.message);
        if (QWidget* w = findChild<QWidget*>(tooLong.field))
            w->setFocus();
        return;
    }
    if (r == PhoneInsert::Duplicate) {
        dialogs().warning(reftext::kDupName);
        name->setFocus();
        return;
    }
    srcChange();
    dialogs().information(reftext::kSaved);
    name->setFocus();
}

void Tphone::N1Click()
{
    if (!N1->isEnabled())
        return;
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty())
        return;
    name->setText(text(r.value(QStringLiteral("name"))));
    tel->setText(text(r.value(QStringLiteral("tel"))));
    cmt->setText(text(r.value(QStringLiteral("cmt"))));
    try {
        deletePhone(r.value(QStringLiteral("id")).toLongLong());
    } catch (const DbError& e) {
        reportFailure(refmsg::kDeleteFailed, e);
        return;
    }
    dialogs().information(reftext::kDeleted);
    srcChange();
}

} // namespace tavrin
