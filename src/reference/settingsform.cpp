#include "settingsform.h"

#include "reftexts.h"
#include "refmessages.h"

#include "common/dialogs.h"
#include "db/database.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace tavrin {

SettingsWindow::SettingsWindow(const QString& name, const QString& caption, SettingTable table)
    : TWindow(name, caption), m_table(table)
{
}

void SettingsWindow::build(QGridLayout* top)
{
    const QString table = settingTableName(m_table);
    component = makeCombo(this, QStringLiteral("component"), false);
    component->addItems(settingKeys(m_table));
    component->setCurrentIndex(-1);
    component->setMinimumWidth(260);
    cmt = makeEdit(this, QStringLiteral("cmt"), columnLength(table, QStringLiteral("cmt")));
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), reftext::kSabt);
    connect(component, &QComboBox::currentIndexChanged, this, &SettingsWindow::componentChange);
    connect(ins_btn, &QPushButton::clicked, this, &SettingsWindow::ins_btnClick);
    // Enter saves as the button does (and not without the insert right).
    setSaveButtons({ins_btn});

    const int r = top->rowCount();
    top->addWidget(makeLabel(this, reftext::kComponentCaption), r, 0);
    top->addWidget(component, r, 1);
    top->addWidget(makeLabel(this, reftext::kCmtCaption), r + 1, 0);
    top->addWidget(cmt, r + 1, 1);
    top->addWidget(ins_btn, r + 1, 2);
    top->setColumnStretch(1, 1);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new QStandardItemModel(this);
    QStringList headers;
    if (m_table != SettingTable::General)
        headers << reftext::kOstan;
    if (m_table == SettingTable::County)
        headers << reftext::kShahrestan;
    headers << reftext::kComponentCaption << reftext::kCmtCaption << reftext::kDefColumn;
    m_model->setHorizontalHeaderLabels(headers);
    DBGrid1->setModel(m_model);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setAlternatingRowColors(true);
    DBGrid1->verticalHeader()->setVisible(false);
    DBGrid1->verticalHeader()->setDefaultSectionSize(24);
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (int c = 0; c < headers.size(); ++c)
        DBGrid1->setColumnWidth(c, headers[c] == reftext::kDefColumn ? 70 : 150);
    DBGrid1->horizontalHeader()->setSectionResizeMode(int(headers.indexOf(reftext::kCmtCaption)), QHeaderView::Stretch);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N2 = PopupMenu1->addAction(reftext::kDefault);
    N2->setObjectName(QStringLiteral("N2"));
    N1 = PopupMenu1->addAction(reftext::kHazf);
    N1->setObjectName(QStringLiteral("N1"));
    connect(N2, &QAction::triggered, this, &SettingsWindow::N2Click);
    connect(N1, &QAction::triggered, this, &SettingsWindow::N1Click);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex i = DBGrid1->indexAt(at);
        if (!i.isValid())
            return;
        selectRow(i.row());
        PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(at));
    });

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(DBGrid1, 1);
    resize(720, 480);
}

void SettingsWindow::applyRights(const Rights& r)
{
    ins_btn->setEnabled(r.darj);
    N1->setEnabled(r.hazf);
    N2->setEnabled(true);
}

SettingPlace SettingsWindow::place() const
{
    return SettingPlace{m_table, {}, {}};
}

QString SettingsWindow::cellText(int row, int column) const
{
    const QStandardItem* item = m_model->item(row, column);
    return item ? item->text() : QString();
}

void SettingsWindow::selectRow(int row)
{
    if (row >= 0 && row < m_model->rowCount())
        DBGrid1->setCurrentIndex(m_model->index(row, 0));
}

void SettingsWindow::showRows(const QString& key)
{
    m_shownKey = key;
    m_model->removeRows(0, m_model->rowCount());
    m_rows.clear();
    try {
        m_rows = settingRows(place(), key);
    } catch (const DbError& e) {
        failed(refmsg::kReadFailed, e);
        return;
    }
    for (const SettingRow& row : m_rows) {
        QList<QStandardItem*> items;
        if (m_table != SettingTable::General)
            items << new QStandardItem(row.ostan);
        if (m_table == SettingTable::County)
            items << new QStandardItem(row.shahrestan);
        items << new QStandardItem(row.component) << new QStandardItem(settingDisplayValue(row))
              << new QStandardItem(row.def);
        m_model->appendRow(items);
    }
}

void SettingsWindow::reload()
{
    showRows(m_shownKey);
}

void SettingsWindow::componentChange()
{
    if (component->currentIndex() < 0) {
        m_model->removeRows(0, m_model->rowCount());
        m_rows.clear();
        return;
    }
    showRows(component->currentText());
}

const SettingRow* SettingsWindow::currentSetting() const
{
    const QModelIndex i = DBGrid1->currentIndex();
    if (!i.isValid() || i.row() >= m_rows.size())
        return nullptr;
    return &m_rows[i.row()];
}

void SettingsWindow::failed(const QString& message, const DbError& e)
{
    reportFailure(message, e);
}

bool SettingsWindow::insertFromFields()
{
    try {
        FieldRefusal tooLong;
        const SettingInsert r = addSetting(place(), component->currentText(), cmt->text(), &tooLong);
        if (r == SettingInsert::TooLong) {
            dialogs().warning(tooLong.message);
            if (QWidget* w = findChild<QWidget*>(tooLong.field))
                w->setFocus();
            return false;
        }
        if (r == SettingInsert::Duplicate) {
            dialogs().warning(reftext::kDuplicate);
            cmt->setFocus();
            return false;
        }
    } catch (const DbError& e) {
        failed(refmsg::kSaveFailed, e);
        return false;
    }
    showRows(component->currentText());
    if (m_table == SettingTable::General && component->currentText() == reftext::kSabtCodKey)
        registrationCodeChanged();
    return true;
}

void SettingsWindow::N2Click()
{
    const SettingRow* current = currentSetting();
    if (!current)
        return;
    const SettingRow row = *current;
    // The fields show the row; a masked value is not copied into them.
    component->blockSignals(true);
    component->setCurrentIndex(component->findText(row.component));
    component->blockSignals(false);
    cmt->setText(settingValueMasked(row.component) ? QString() : row.cmt);
    SettingPlace p = place();
    p.ostan = row.ostan;
    p.shahrestan = row.shahrestan;
    try {
        markDefaultSetting(p, row.component, row.cmt);
    } catch (const DbError& e) {
        failed(refmsg::kEditFailed, e);
        return;
    }
    reload();
}

void SettingsWindow::N1Click()
{
    if (!N1->isEnabled())
        return;
    const SettingRow* current = currentSetting();
    if (!current)
        return;
    const SettingRow row = *current;
    component->blockSignals(true);
    component->setCurrentIndex(component->findText(row.component));
    component->blockSignals(false);
    cmt->setText(settingValueMasked(row.component) ? QString() : row.cmt);
    SettingPlace p = place();
    p.ostan = row.ostan;
    p.shahrestan = row.shahrestan;
    try {
        deleteSetting(p, row.component, row.cmt);
    } catch (const DbError& e) {
        failed(refmsg::kDeleteFailed, e);
        return;
    }
    reload();
    if (m_table == SettingTable::General && row.component == reftext::kSabtCodKey)
        registrationCodeChanged();
}

} // namespace tavrin
