#include "abadiha_u.h"

#include "abadiha_ins_u.h"
#include "reftexts.h"
#include "refmessages.h"
#include "settings.h"

#include "common/criteria.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/xlsxexport.h"
#include "db/database.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QSplitter>
#include <QVBoxLayout>

namespace tavrin {

// The rows of a spreadsheet the import takes (no header, no empty row), for
// the second grid; each row is titled with its row number in the sheet.
class SheetModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setSheet(const SheetData* sheet)
    {
        beginResetModel();
        m_sheet = sheet;
        m_rows = sheet ? divisionDataRows(*sheet) : QList<int>();
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_sheet ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_sheet ? 0 : m_sheet->columnCount;
    }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (role != Qt::DisplayRole || !m_sheet || !i.isValid())
            return {};
        return m_sheet->rows[m_rows[i.row()]].value(i.column());
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (o == Qt::Vertical)
            return m_rows.value(section) + 1;
        // The columns of the table when the sheet has the expected seven, else letters.
        static const QStringList titles = {reftext::kOstan,    reftext::kShahrestan, reftext::kShahr, reftext::kBakhsh,
                                           reftext::kDehestan, reftext::kRosta,      reftext::kCodAbadi};
        if (m_sheet && m_sheet->columnCount == titles.size())
            return titles.value(section);
        return section < 26 ? QString(QChar('A' + section)) : QString::number(section + 1);
    }

private:
    const SheetData* m_sheet = nullptr;
    QList<int> m_rows;   // indexes into m_sheet->rows
};

Tabadiha::Tabadiha() : TWindow(QStringLiteral("Tabadiha"), reftext::kAbadihaCaption)
{
    // Criteria.
    auto* criteriaBox = new QGroupBox(this);
    auto* cg = new QGridLayout(criteriaBox);
    const QStringList fieldNames = {QStringLiteral("ostan"),    QStringLiteral("shahrestan"), QStringLiteral("bakhsh"),
                                    QStringLiteral("dehestan"), QStringLiteral("rosta"),      QStringLiteral("cod")};
    const QStringList captions = {reftext::kOstan,    reftext::kShahrestan, reftext::kBakhsh,
                                  reftext::kDehestan, reftext::kRosta,      reftext::kCodAbadi};
    QList<QCheckBox*> boxes;
    QList<QLineEdit*> edits;
    for (int i = 0; i < fieldNames.size(); ++i) {
        auto* box = new QCheckBox(captions[i], criteriaBox);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        QLineEdit* e = makeEdit(criteriaBox, fieldNames[i], columnLength(QStringLiteral("abadiha"), fieldNames[i]));
        bindCriterion(box, e);
        cg->addWidget(box, i / 3, (i % 3) * 2);
        cg->addWidget(e, i / 3, (i % 3) * 2 + 1);
        boxes << box;
        edits << e;
    }
    CheckBox1 = boxes[0], CheckBox2 = boxes[1], CheckBox3 = boxes[2];
    CheckBox4 = boxes[3], CheckBox5 = boxes[4], CheckBox6 = boxes[5];
    ostan = edits[0], shahrestan = edits[1], bakhsh = edits[2];
    dehestan = edits[3], rosta = edits[4], cod = edits[5];
    cod->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);

    BitBtn1 = makeButton(this, QStringLiteral("BitBtn1"), reftext::kSearch);
    BitBtn1->setDefault(true);
    BitBtn3 = makeButton(this, QStringLiteral("BitBtn3"), reftext::kExcel);
    cnt = makeLabel(this, QStringLiteral("0"), QStringLiteral("cnt"));
    cnt->setMinimumWidth(60);
    cnt->setStyleSheet(QStringLiteral("font-weight: bold; color: #1c4e80;"));
    connect(BitBtn1, &QPushButton::clicked, this, &Tabadiha::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tabadiha::BitBtn3Click);
    auto* actions = new QVBoxLayout;
    actions->addWidget(BitBtn1);
    actions->addWidget(BitBtn3);
    actions->addWidget(cnt, 0, Qt::AlignHCenter);
    actions->addStretch(1);
    auto* topRow = new QHBoxLayout;
    topRow->addWidget(criteriaBox, 1);
    topRow->addLayout(actions);

    // The list and its pop-up menu.
    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({{QStringLiteral("cod"), reftext::kCodAbadi},
                                      {QStringLiteral("ostan"), reftext::kOstan},
                                      {QStringLiteral("shahrestan"), reftext::kShahrestan},
                                      {QStringLiteral("shahr"), reftext::kShahr},
                                      {QStringLiteral("bakhsh"), reftext::kBakhsh},
                                      {QStringLiteral("dehestan"), reftext::kDehestan},
                                      {QStringLiteral("rosta"), reftext::kRosta}});
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto add = [](QMenu* m, const QString& name, const QString& caption) {
        QAction* a = m->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    N1 = add(PopupMenu1, QStringLiteral("N1"), reftext::kSabt);
    N2 = add(PopupMenu1, QStringLiteral("N2"), reftext::kVirayesh);
    N3 = add(PopupMenu1, QStringLiteral("N3"), reftext::kHazf);
    PopupMenu1->addSeparator();
    N4 = PopupMenu1->addMenu(reftext::kRenameSingleMenu);
    N4->setObjectName(QStringLiteral("N4"));
    N5 = add(N4, QStringLiteral("N5"), reftext::kRenameOstan);
    N7 = add(N4, QStringLiteral("N7"), reftext::kRenameShahrestan);
    N8 = add(N4, QStringLiteral("N8"), reftext::kRenameShahr);
    N10 = add(N4, QStringLiteral("N10"), reftext::kRenameBakhshMisspelt);
    N9 = add(N4, QStringLiteral("N9"), reftext::kRenameDehestan);
    N11 = add(N4, QStringLiteral("N11"), reftext::kRenameRosta);
    // The single renames of a province and of a city have no action: a
    // province or city is renamed for all its rows with the bulk rename.
    N5->setEnabled(false);
    N8->setEnabled(false);
    N6 = PopupMenu1->addMenu(reftext::kRenameBulkMenu);
    N6->setObjectName(QStringLiteral("N6"));
    N12 = add(N6, QStringLiteral("N12"), reftext::kRenameOstan);
    N13 = add(N6, QStringLiteral("N13"), reftext::kRenameShahrestan);
    N14 = add(N6, QStringLiteral("N14"), reftext::kRenameShahr);
    // "تغيير نام بخش": the caption of the rural district with the district's name.
    N15 = add(N6, QStringLiteral("N15"), QString(reftext::kRenameDehestan).replace(reftext::kDehestan, reftext::kBakhsh));
    N16 = add(N6, QStringLiteral("N16"), reftext::kRenameDehestan);
    N17 = add(N6, QStringLiteral("N17"), reftext::kRenameRosta);
    connect(N1, &QAction::triggered, this, &Tabadiha::N1Click);
    connect(N2, &QAction::triggered, this, &Tabadiha::N2Click);
    connect(N3, &QAction::triggered, this, &Tabadiha::N3Click);
    connect(N7, &QAction::triggered, this, &Tabadiha::N7Click);
    connect(N10, &QAction::triggered, this, &Tabadiha::N10Click);
    connect(N9, &QAction::triggered, this, &Tabadiha::N9Click);
    connect(N11, &QAction::triggered, this, &Tabadiha::N11Click);
    connect(N12, &QAction::triggered, this, &Tabadiha::N12Click);
    connect(N13, &QAction::triggered, this, &Tabadiha::N13Click);
    connect(N14, &QAction::triggered, this, &Tabadiha::N14Click);
    connect(N15, &QAction::triggered, this, &Tabadiha::N15Click);
    connect(N16, &QAction::triggered, this, &Tabadiha::N16Click);
    connect(N17, &QAction::triggered, this, &Tabadiha::N17Click);
    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex i = DBGrid1->indexAt(at);
        if (i.isValid())
            DBGrid1->setCurrentIndex(i);
        PopupMenu1->exec(DBGrid1->viewport()->mapToGlobal(at));
    });
    connect(DBGrid1, &QTableView::doubleClicked, this, [this] {
        if (N2->isEnabled())
            N2Click();
    });

    // The Excel replacement panel.
    auto* panel = new QGroupBox(this);
    panel->setObjectName(QStringLiteral("GroupBox2"));
    BitBtn2 = makeButton(panel, QStringLiteral("BitBtn2"), reftext::kBrowseExcel);
    BitBtn2->setLayoutDirection(Qt::LeftToRight);   // a Latin caption
    ins_btn = makeButton(panel, QStringLiteral("ins_btn"), reftext::kReplaceExcel);
    cnt2 = makeLabel(panel, QStringLiteral("0"), QStringLiteral("cnt2"));
    cnt2->setStyleSheet(QStringLiteral("font-weight: bold; color: #1c4e80;"));
    auto* note = makeLabel(panel, reftext::kExcelNote, QStringLiteral("Label7"));
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #a51d2d;"));
    DBGrid2 = new QTableView(panel);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    m_sheetModel = new SheetModel(this);
    DBGrid2->setModel(m_sheetModel);
    DBGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid2->verticalHeader()->setDefaultSectionSize(22);
    connect(BitBtn2, &QPushButton::clicked, this, &Tabadiha::BitBtn2Click);
    connect(ins_btn, &QPushButton::clicked, this, &Tabadiha::ins_btnClick);
    auto* pl = new QVBoxLayout(panel);
    auto* pbuttons = new QHBoxLayout;
    pbuttons->addWidget(BitBtn2);
    pbuttons->addWidget(ins_btn);
    pbuttons->addWidget(cnt2);
    pbuttons->addStretch(1);
    pl->addLayout(pbuttons);
    pl->addWidget(note);
    pl->addWidget(DBGrid2, 1);

    // The list above the spreadsheet import; the user may move the border,
    // and the window keeps it.
    auto* body = new QSplitter(Qt::Vertical, this);
    body->setObjectName(QStringLiteral("body"));
    body->setChildrenCollapsible(false);
    body->addWidget(DBGrid1);
    body->addWidget(panel);
    body->setStretchFactor(0, 3);
    body->setStretchFactor(1, 2);
    body->setSizes({360, 240});

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(topRow);
    outer->addWidget(body, 1);
    resize(980, 640);
}

void Tabadiha::applyRights(const Rights& r)
{
    N1->setEnabled(r.darj);
    N2->setEnabled(r.virayesh);
    N3->setEnabled(r.hazf);
    // Renames change rows: they need the edit right.
    N4->menuAction()->setEnabled(r.virayesh);
    N6->menuAction()->setEnabled(r.virayesh);
    for (QAction* a : {N7, N9, N10, N11, N12, N13, N14, N15, N16, N17})
        a->setEnabled(r.virayesh);
    // Replacing the table deletes and inserts: both rights.
    ins_btn->setEnabled(r.darj && r.hazf);
}

void Tabadiha::prepareToShow()
{
    clearCriteria({CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6});
    for (QLineEdit* e : {ostan, shahrestan, bakhsh, dehestan, rosta, cod})
        e->clear();
    DBGrid1->listModel()->clear();
    cnt->setText(QStringLiteral("0"));
    cnt2->setText(QStringLiteral("0"));
}

DivisionCriteria Tabadiha::criteria() const
{
    DivisionCriteria c;
    const auto take = [](QCheckBox* box, QLineEdit* e) {
        return box->isChecked() ? std::optional<QString>(e->text()) : std::nullopt;
    };
    c.ostan = take(CheckBox1, ostan);
    c.shahrestan = take(CheckBox2, shahrestan);
    c.bakhsh = take(CheckBox3, bakhsh);
    c.dehestan = take(CheckBox4, dehestan);
    c.rosta = take(CheckBox5, rosta);
    c.cod = take(CheckBox6, cod);
    return c;
}

void Tabadiha::BitBtn1Click()
{
    try {
        DBGrid1->listModel()->setQuery(divisionsQuery(criteria()));
    } catch (const DbError& e) {
        reportFailure(refmsg::kReadFailed, e);
        return;
    }
    cnt->setText(QString::number(DBGrid1->listModel()->totalCount()));
}

bool Tabadiha::selectId(qint64 id)
{
    return DBGrid1->selectId(id);
}

void Tabadiha::N1Click()
{
    if (!N1->isEnabled())
        return;
    Tabadiha_ins& w = tavrin::window<Tabadiha_ins>();
    w.startInsert();
    w.showModal();
    if (!DBGrid1->listModel()->query().isEmpty())
        BitBtn1Click();
}

void Tabadiha::N2Click()
{
    if (!N2->isEnabled())
        return;
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty())
        return;
    Division d;
    d.id = r.value(QStringLiteral("id")).toLongLong();
    QStringList v;
    for (const QString& c : divisionColumns())
        v << text(r.value(c));
    const qint64 id = d.id;
    d = Division::fromValues(v);
    d.id = id;
    Tabadiha_ins& w = tavrin::window<Tabadiha_ins>();
    w.startEdit(d);
    w.showModal();
    BitBtn1Click();
    selectId(id);
}

void Tabadiha::N3Click()
{
    if (!N3->isEnabled())
        return;
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty())
        return;
    try {
        if (askDeletePassword() &&
            deleteDivision(r.value(QStringLiteral("id")).toLongLong(), text(r.value(QStringLiteral("cod")))))
            dialogs().information(reftext::kDeleted);
    } catch (const DbError& e) {
        reportFailure(refmsg::kDeleteFailed, e);
    }
    BitBtn1Click();
}

bool Tabadiha::mayEdit() const
{
    return N2->isEnabled();
}

void Tabadiha::renameSingle(const RenameTexts& t)
{
    if (!mayEdit())
        return;
    const QSqlRecord r = DBGrid1->currentRecord();
    if (r.isEmpty())
        return;
    const qint64 id = r.value(QStringLiteral("id")).toLongLong();
    const auto name = dialogs().input(t.title, t.prompt, reftext::kInputPreset);
    if (!name)
        return;
    if (!isUsableNewName(*name)) {
        dialogs().warning(refmsg::kEmptyNewName);
        return;
    }
    FieldRefusal tooLong;
    try {
        if (renameDivisions(t.column, name->trimmed(), {id}, &tooLong) < 0) {
            dialogs().warning(tooLong.message);
            return;
        }
    } catch (const DbError& e) {
        reportFailure(refmsg::kEditFailed, e);
        return;
    }
    BitBtn1Click();
    selectId(id);
    dialogs().information(reftext::kChanged);
}

void Tabadiha::renameBulk(const RenameTexts& t)
{
    if (!mayEdit())
        return;
    ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty() || m->totalCount() == 0)
        return;
    if (dialogs().question(cnt->text() + t.question, Buttons::YesNoCancel, MsgKind::Warning) != Answer::Yes)
        return;
    const auto name = dialogs().input(t.title, t.prompt, reftext::kInputPreset);
    if (!name)
        return;
    if (!isUsableNewName(*name)) {
        dialogs().warning(refmsg::kEmptyNewName);
        return;
    }
    int changed = 0;
    try {
        // Exactly the rows the list shows, by id.
        QList<qint64> ids;
        m->forEachRow([&](const QSqlRecord& r) { ids << r.value(QStringLiteral("id")).toLongLong(); });
        FieldRefusal tooLong;
        changed = renameDivisions(t.column, name->trimmed(), ids, &tooLong);
        if (changed < 0) {
            dialogs().warning(tooLong.message);
            return;
        }
    } catch (const DbError& e) {
        reportFailure(refmsg::kEditFailed, e);
        return;
    }
    BitBtn1Click();
    dialogs().information(reftext::kBulkDone + QString::number(changed));
}

void Tabadiha::N7Click()
{
    renameSingle({QStringLiteral("shahrestan"), reftext::kTitleShahrestan, reftext::kPromptShahrestan, {}});
}

void Tabadiha::N10Click()
{
    renameSingle({QStringLiteral("bakhsh"), reftext::kTitleBakhsh, reftext::kPromptBakhsh, {}});
}

void Tabadiha::N9Click()
{
    renameSingle({QStringLiteral("dehestan"), reftext::kTitleDehestan, reftext::kPromptDehestan, {}});
}

void Tabadiha::N11Click()
{
    renameSingle({QStringLiteral("rosta"), reftext::kTitleRosta, reftext::kPromptRosta, {}});
}

void Tabadiha::N12Click()
{
    renameBulk({QStringLiteral("ostan"), reftext::kTitleOstan, reftext::kPromptOstan, reftext::kAskOstan});
}

void Tabadiha::N13Click()
{
    renameBulk({QStringLiteral("shahrestan"), reftext::kTitleShahrestan, reftext::kPromptShahrestan, reftext::kAskShahrestan});
}

void Tabadiha::N14Click()
{
    renameBulk({QStringLiteral("shahr"), reftext::kTitleShahr, reftext::kPromptShahr, reftext::kAskShahr});
}

void Tabadiha::N15Click()
{
    renameBulk({QStringLiteral("bakhsh"), reftext::kTitleBakhsh, reftext::kPromptBakhsh, reftext::kAskBakhsh});
}

void Tabadiha::N16Click()
{
    renameBulk({QStringLiteral("dehestan"), reftext::kTitleDehestan, reftext::kPromptDehestan, reftext::kAskDehestan});
}

void Tabadiha::N17Click()
{
    renameBulk({QStringLiteral("rosta"), reftext::kTitleRosta, reftext::kPromptRosta, reftext::kAskRosta});
}

void Tabadiha::BitBtn3Click()
{
    ListModel* m = DBGrid1->listModel();
    if (m->query().isEmpty())
        BitBtn1Click();
    if (m->query().isEmpty())
        return;
    const HeaderMap headers = {{QStringLiteral("id"), reftext::kShenase},
                               {QStringLiteral("bakhsh"), reftext::kBakhsh},
                               {QStringLiteral("dehestan"), reftext::kDehestan},
                               {QStringLiteral("rosta"), reftext::kRosta},
                               {QStringLiteral("cod"), reftext::kCodAbadi}};
    exportListToExcel(QStringLiteral("abadiha"), *m, headers);
}

void Tabadiha::BitBtn2Click()
{
    const QString path = dialogs().openFile(reftext::kBrowseExcel, QStringLiteral("Excel (*.xlsx *.xls)"));
    if (path.isEmpty())
        return;
    QString why;
    auto sheet = readSpreadsheet(path, &why);
    m_sheetModel->setSheet(nullptr);
    m_sheet.reset();
    cnt2->setText(QStringLiteral("0"));
    if (!sheet) {
        qWarning("cannot read %s: %s", qPrintable(path), qPrintable(why));
        dialogs().error(reftext::kExcelReadFailed);
        return;
    }
    m_sheet = std::move(sheet);
    m_sheetModel->setSheet(&*m_sheet);
    // The rows the import takes, as the grid lists them.
    cnt2->setText(QString::number(m_sheetModel->rowCount()));
}

QProgressDialog* Tabadiha::progressDialog()
{
    if (!m_progress) {
        m_progress = new QProgressDialog(this);
        m_progress->setObjectName(QStringLiteral("progress"));
        m_progress->setWindowTitle(reftext::kReplaceExcel);
        m_progress->setLabelText(reftext::kReplaceExcel);
        m_progress->setCancelButton(nullptr);
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setLayoutDirection(Qt::RightToLeft);
    }
    return m_progress;
}

void Tabadiha::ins_btnClick()
{
    if (!ins_btn->isEnabled())
        return;
    if (!m_sheet) {
        dialogs().warning(refmsg::kNoFile);
        return;
    }
    if (dialogs().question(reftext::kReplaceWarning, Buttons::YesNo, MsgKind::Warning) != Answer::Yes)
        return;
    // The whole sheet is checked before anything is written.
    const DivisionSheet checked = checkDivisionSheet(*m_sheet);
    if (checked.problem != SheetProblem::None) {
        dialogs().error(sheetProblemMessage(checked));
        return;
    }
    QProgressDialog* p = progressDialog();
    p->setRange(0, int(checked.rows.size()));
    p->setValue(0);
    p->show();
    try {
        replaceDivisions(dm(), checked.rows, [p](int done, int total) {
            p->setMaximum(total);
            p->setValue(done);
        });
    } catch (const DbError& e) {
        p->hide();
        reportFailure(refmsg::kImportFailed, e);
        return;
    }
    p->hide();
    dialogs().information(reftext::kTransferDone);
    if (!DBGrid1->listModel()->query().isEmpty())
        BitBtn1Click();
}

} // namespace tavrin
