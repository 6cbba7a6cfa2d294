#include "zamaem_u.h"

#include "attachments.h"
#include "commtexts.h"

#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/xlsxexport.h"
#include "db/database.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace tavrin {

using namespace commtext;

namespace {
// Extensions are Latin: shown left to right (".png", not "png.").
class LatinDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // A left-to-right mark before the text keeps its leading dot at the left.
    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        const QString t = QStyledItemDelegate::displayText(value, locale);
        return t.isEmpty() ? t : QChar(0x200E) + t;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};
} // namespace

Tzamaem::Tzamaem() : TWindow(QStringLiteral("Tzamaem"), kZamaemCaption)
{
    Combo_type = makeCombo(this, QStringLiteral("Combo_type"));
    Combo_type->lineEdit()->setMaxLength(columnLength(QStringLiteral("zamaem"), QStringLiteral("cmt")));
    Combo_type->setMinimumWidth(320);
    connect(Combo_type, &QComboBox::currentTextChanged, this, &Tzamaem::Combo_typeChange);
    ramz = makeEdit(this, QStringLiteral("ramz"), columnLength(QStringLiteral("zamaem"), QStringLiteral("ramz")));
    ramz->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kZamaemBrowse);
    ins_btn->setMinimumWidth(ins_btn->fontMetrics().horizontalAdvance(kZamaemBrowse) + 32);
    connect(ins_btn, &QPushButton::clicked, this, &Tzamaem::ins_btnClick);
    // Enter in either field stores, as the button does.
    connect(Combo_type->lineEdit(), &QLineEdit::returnPressed, this, &Tzamaem::ins_btnClick);
    connect(ramz, &QLineEdit::returnPressed, this, &Tzamaem::ins_btnClick);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({
        {QStringLiteral("cmt"), kZamaemCmt},
        {QStringLiteral("pictype"), kZamaemType},
    });
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DBGrid1->setColumnWidth(1, 110);
    DBGrid1->setItemDelegateForColumn(1, new LatinDelegate(DBGrid1));
    connect(DBGrid1, &DBGrid::rowClicked, this, &Tzamaem::DBGrid1CellClick);
    DBGrid1->installEventFilter(this);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(kHazf);
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &Tzamaem::N1Click);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // The menu key opens it for the current row.
        const bool onRow = DBGrid1->indexAt(at).isValid();
        const QModelIndex i = onRow ? DBGrid1->indexAt(at) : DBGrid1->currentIndex();
        if (!i.isValid())
            return;
        DBGrid1->setCurrentIndex(i);
        PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(onRow ? at : DBGrid1->visualRect(i).center()));
    });

    auto* form = new QGridLayout;
    form->addWidget(makeLabel(this, kZamaemCmt), 0, 0);
    form->addWidget(Combo_type, 0, 1);
    form->addWidget(makeLabel(this, kZamaemRamz), 1, 0);
    form->addWidget(ramz, 1, 1);
    form->addWidget(ins_btn, 2, 1, Qt::AlignLeading);
    form->setColumnStretch(1, 1);
    auto* saveNote = makeLabel(this, kClickToSave);
    auto* deleteNote = makeLabel(this, kRightClickToDelete);
    for (QLabel* l : {saveNote, deleteNote})
        l->setStyleSheet(QStringLiteral("color: #a01010;"));

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 10, 10, 10);
    top->addLayout(form);
    top->addWidget(DBGrid1, 1);
    top->addWidget(saveNote);
    top->addWidget(deleteNote);
    resize(640, 560);
}

void Tzamaem::applyRights(const Rights& r)
{
    ins_btn->setEnabled(r.darj);
    N1->setEnabled(r.hazf);
}

void Tzamaem::prepareToShow()
{
    ramz->clear();
    FormShow();
    {
        const QSignalBlocker block(Combo_type);
        Combo_type->setEditText(QString());
    }
    DBGrid1->listModel()->clear();
}

void Tzamaem::FormShow()
{
    fillDescriptions();
}

void Tzamaem::fillDescriptions()
{
    const QString typed = Combo_type->currentText();
    const QSignalBlocker block(Combo_type);
    try {
        fillCombo(Combo_type, attachments::descriptions());
    } catch (const DbError&) {
        Combo_type->clear();  // the description can still be typed
    }
    Combo_type->setEditText(typed);
}

void Tzamaem::Combo_typeChange()
{
    ListQuery q(QStringLiteral("select id,cmt,pictype"), QStringLiteral("from zamaem"));
    q.where(dm().dialect().exactEquals(QStringLiteral("cmt")), {Combo_type->currentText()});
    try {
        DBGrid1->listModel()->setQuery(q);
    } catch (const DbError& e) {
        DBGrid1->listModel()->clear();
        reportFailure(attachments::kOpenFailed, e);
    }
}

void Tzamaem::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    const QString description = Combo_type->currentText();
    QString refusal;
    try {
        refusal = attachments::refuseBeforeChoosing(description, ramz->text());
    } catch (const DbError& e) {
        reportFailure(attachments::kSaveFailed, e);
        return;
    }
    if (!refusal.isEmpty()) {
        dialogs().warning(refusal);
        Combo_type->setFocus();
        return;
    }
    const QString file = dialogs().openFile(kZamaemBrowse, QString());
    if (file.isEmpty())
        return;
    Outcome r;
    try {
        r = attachments::store(description, ramz->text(), file);
    } catch (const DbError& e) {
        reportFailure(attachments::kSaveFailed, e);
        return;
    }
    if (!r.done) {
        dialogs().warning(r.message());
        return;
    }
    fillDescriptions();
    Combo_typeChange();
    dialogs().information(kSaved);
}

void Tzamaem::DBGrid1CellClick(int row)
{
    const QSqlRecord rec = DBGrid1->listModel()->record(row);
    if (rec.isEmpty())
        return;
    std::optional<attachments::Stored> a;
    try {
        a = attachments::read(rec.value(QStringLiteral("id")).toLongLong());
    } catch (const DbError& e) {
        reportFailure(attachments::kOpenFailed, e);
        return;
    }
    if (!a) {
        Combo_typeChange();
        return;
    }
    // An attachment stored with a password opens only with it.
    if (!a->ramz.isEmpty()) {
        const std::optional<QString> typed = dialogs().password(kZamaemRamz, kZamaemRamz);
        if (!typed)
            return;
        if (*typed != a->ramz) {
            dialogs().warning(attachments::kWrongRamz);
            return;
        }
    }
    const attachments::Written w = attachments::saveToFolder(*a);
    if (!w.error.isEmpty()) {
        dialogs().error(w.error);
        return;
    }
    openExportedFile(w.path, attachments::kSavedAt);
}

bool Tzamaem::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a row opens it, as a click does.
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && DBGrid1->currentRow() >= 0) {
            DBGrid1CellClick(DBGrid1->currentRow());
            return true;
        }
    }
    return TWindow::eventFilter(watched, event);
}

void Tzamaem::N1Click()
{
    if (!N1->isEnabled())
        return;
    const QSqlRecord rec = DBGrid1->currentRecord();
    if (rec.isEmpty())
        return;
    bool removed = false;
    try {
        removed = attachments::remove(rec.value(QStringLiteral("id")).toLongLong());
    } catch (const DbError& e) {
        reportFailure(attachments::kDeleteFailed, e);
        return;
    }
    {
        const QSignalBlocker block(Combo_type);
        Combo_type->setEditText(text(rec.value(QStringLiteral("cmt"))));
    }
    fillDescriptions();
    // The list shows what is left of the description.
    Combo_typeChange();
    dialogs().information(removed ? kDeleted : kNothingDeleted);
}

} // namespace tavrin
