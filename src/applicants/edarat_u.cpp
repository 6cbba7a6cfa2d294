#include "applicants/edarat_u.h"

#include "applicants/form_texts.h"
#include "applicants/letters_chap.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "db/database.h"

#include <QComboBox>
#include <QLabel>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

namespace ft = formtext;

Tedarat::Tedarat() : TWindow(QStringLiteral("Tedarat"), ft::kEdaratCaption)
{
    sazeman = makeCombo(this, QStringLiteral("sazeman"), true);
    emza = makeEdit(this, QStringLiteral("emza"));
    emtiyaz = makeEdit(this, QStringLiteral("emtiyaz"));
    emtiyaz->setText(ft::kEmtiyazInitial);
    BitBtn1 = makeButton(this, QStringLiteral("BitBtn1"), ft::kShowLetter);
    setSaveButtons({BitBtn1});   // Enter shows the letter
    auto* form = new QFormLayout;
    form->addRow(makeLabel(this, ft::kSazemanLabel), sazeman);
    form->addRow(makeLabel(this, ft::kEmzaLabel), emza);
    form->addRow(makeLabel(this, ft::kEmtiyazLabel), emtiyaz);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(BitBtn1, 0, Qt::AlignLeft);
    setMinimumWidth(460);
    setTabOrder(sazeman, emza);
    setTabOrder(emza, emtiyaz);
    setTabOrder(emtiyaz, BitBtn1);
    connect(BitBtn1, &QPushButton::clicked, this, &Tedarat::BitBtn1Click);
}

void Tedarat::open(const QSqlRecord& customer, const QString& signer)
{
    m_customer = customer;
    FormShow();
    sazeman->setEditText(QString());
    emza->setText(signer);
}

void Tedarat::prepareToShow()
{
    FormShow();
}

void Tedarat::FormShow()
{
    QStringList offices;
    try {
        offices = settingList(ft::kOffices);
    } catch (const DbError& e) {
        reportFailure(ft::kReadFailed, e);
    }
    const QString typed = sazeman->currentText();
    sazeman->clear();
    sazeman->addItems(offices);
    sazeman->setEditText(typed);
}

void Tedarat::BitBtn1Click()
{
    try {
        forms::enquiryLetter(m_customer, sazeman->currentText(), emza->text(), emtiyaz->text())
            .showPreview(forms::formTemplate(QStringLiteral("letter2")).title());
    } catch (const DbError& e) {
        reportFailure(ft::kReadFailed, e);
    }
}

} // namespace tavrin
