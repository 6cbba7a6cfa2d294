#include "applicants/customers_pic_u.h"

#include "applicants/child_texts.h"
#include "applicants/documents_logic.h"

#include "admin/attachments.h"

#include "common/deletepassword.h"
#include "common/dialogs.h"
#include "common/listmodel.h"
#include "common/lookups.h"
#include "common/xlsxexport.h"
#include "db/database.h"
#include "db/privatefiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

using namespace childtext;

Tcustomers_pic::Tcustomers_pic() : TWindow(QStringLiteral("Tcustomers_pic"), kPicCaption)
{
    m_header = child::makeHeader(this);
    cmt = child::pickList(this, "cmt", QStringLiteral("customers_pic"));
    cmt->setMinimumWidth(260);
    ins_btn = makeButton(this, QStringLiteral("ins_btn"), kUpload);
    ins_btn->setMinimumSize(130, 30);
    CheckBox1 = new QCheckBox(kOpenAfterSave, this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    Shape1 = new QLabel(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFixedSize(18, 18);
    auto* note = makeLabel(this, kPicNote);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #b00000;"));

    auto* entry = new QHBoxLayout;
    entry->addWidget(makeLabel(this, kDescription));
    entry->addWidget(cmt, 1);
    entry->addWidget(ins_btn);
    entry->addWidget(Shape1);
    entry->addSpacing(12);
    entry->addWidget(CheckBox1);

    DBGrid1 = new DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->listModel()->setColumns({{QStringLiteral("cmt"), kDocTitle, ColumnKind::Text},
                                      {QStringLiteral("pictyp"), kFormatTitle, ColumnKind::Text},
                                      {QStringLiteral("id"), QStringLiteral("id"), ColumnKind::Number, true}});
    DBGrid1->horizontalHeader()->setDefaultSectionSize(220);
    DBGrid1->setMinimumHeight(220);
    N1 = child::gridPopup(DBGrid1, {{"N1", kDelete}}).first();

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(10, 8, 10, 8);
    top->addWidget(m_header.box);
    top->addLayout(entry);
    top->addWidget(note);
    top->addWidget(DBGrid1, 1);
    resize(820, 560);

    connect(ins_btn, &QPushButton::clicked, this, &Tcustomers_pic::ins_btnClick);
    connect(DBGrid1, &DBGrid::rowClicked, this, &Tcustomers_pic::DBGrid1CellClick);
    connect(N1, &QAction::triggered, this, &Tcustomers_pic::N1Click);
    setTabOrder(cmt, ins_btn);
    setTabOrder(ins_btn, CheckBox1);
    setTabOrder(CheckBox1, DBGrid1);
}

void Tcustomers_pic::applyRights(const Rights& r)
{
    m_rights = r;
    ins_btn->setEnabled(r.darj);
    N1->setEnabled(r.hazf);
}

void Tcustomers_pic::open(const applicants::ApplicantContext& c)
{
    m_customerId = c.customerId;
    applyRights(c.rights);
    m_header.show(c.customer);
    try {
        child::fillKeepingText(cmt, settingList(kSetPicDescriptions));
    } catch (const DbError& e) {
        reportFailure(kListsFailed, e);
    }
    setComboText(cmt, QString());
    setLight(false);
    refresh();
    child::fitHeight(this, c.listHeight - 25);
    cmt->setFocus();
}

void Tcustomers_pic::setLight(bool green)
{
    Shape1->setProperty("green", green);
    Shape1->setStyleSheet(QStringLiteral("background: %1; border-radius: 9px;").arg(green ? QStringLiteral("#20a020")
                                                                                           : QStringLiteral("#d02020")));
}

void Tcustomers_pic::refresh()
{
    child::showList(DBGrid1, applicantfiles::picturesQuery(m_customerId));
}

void Tcustomers_pic::ins_btnClick()
{
    if (!m_rights.darj || m_customerId <= 0)
        return;
    const QString description = cmt->currentText();
    if (description.trimmed().isEmpty()) {
        dialogs().error(kNoDescription);
        cmt->setFocus();
        return;
    }
    // A map is a bitmap picture; any other document may be any file.
    const QString filter = description == kMapPicture ? QStringLiteral("Bitmap Files (*.bmp)") : QString();
    const QString file = dialogs().openFile(kChooseFile, filter);
    if (file.isEmpty())
        return;
    Outcome r;
    try {
        r = applicantfiles::addPicture(m_customerId, description, file);
    } catch (const DbError& e) {
        reportFailure(kUploadFailed, e);
        return;
    }
    r.show();
    if (!r.done)
        return;
    refresh();
    setLight(true);
}

void Tcustomers_pic::DBGrid1CellClick()
{
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    const QString chosen = dialogs().saveFile(kSaveFileTitle, QString(), items::fieldValue(row, "cmt"));
    if (chosen.isEmpty())
        return;
    std::optional<applicantfiles::StoredFile> stored;
    try {
        stored = applicantfiles::pictureFile(items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kPicSaveFailed, e);
        return;
    }
    if (!stored) {
        dialogs().error(kRowGone);
        refresh();
        return;
    }
    const QString path = applicantfiles::savedName(chosen, stored->pictyp);
    // A scanned document (an identity card, a deed) is readable by its owner alone.
    QString why;
    if (!writeOwnerOnly(path, stored->bytes, &why)) {
        qWarning().noquote() << "scanned document not written:" << path << why;
        dialogs().error(kPicSaveFailed);
        return;
    }
    // Without a desktop program for its type the user is told where the file
    // is, as the attachments window tells him.
    if (CheckBox1->isChecked())
        openExportedFile(path, attachments::kSavedAt);
}

void Tcustomers_pic::N1Click()
{
    if (!m_rights.hazf)
        return;
    const QSqlRecord row = DBGrid1->currentRecord();
    if (row.isEmpty())
        return;
    if (!askDeletePassword(kPicDeletePrompt)) {
        dialogs().error(kWrongPassword);
        return;
    }
    Outcome r;
    try {
        r = applicantfiles::deletePicture(items::recordId(row));
    } catch (const DbError& e) {
        reportFailure(kPicDeleteFailed, e);
        return;
    }
    r.show();
    refresh();
}

} // namespace tavrin
