#include "nation_cod_u.h"

#include "dialogs.h"
#include "nationcode.h"

#include "db/database.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace tavrin {

namespace {
const QString kFoundApplicant = QStringLiteral(" کد ملي وارد شده در اين استان وجود دارد ");
const QString kFoundPartner = QStringLiteral(" کد ملي وارد شده در بخش شرکا اين استان وجود دارد ");
const QString kFoundDependant = QStringLiteral(" کد ملي وارد شده در بخش افراد تحت تکفل اين استان وجود دارد ");
const QString kNotFound = QStringLiteral(" کد ملي وارد شده در سامانه وجود ندارد ");
const QString kEnquiryFailed = QStringLiteral("استعلام با خطا مواجه گرديد، لطفا دوباره سعي نماييد");

// The province of the applicant a partner or dependant row belongs to; empty
// when that applicant is no longer there.
QString applicantProvince(const QVariant& customerId)
{
    return text(dm().scalar(QStringLiteral("select ostan from customers where id=?"), {customerId}));
}
} // namespace

const QString Tnation_cod::kInitialResult = QStringLiteral("نتيجه استعلام");

QString nationEnquiry(const QString& code)
{
    Database& db = dm();
    if (auto row = db.firstRow(QStringLiteral("select ostan from customers where nation=? order by id"), {code}))
        return kFoundApplicant + text(row->value(0));
    if (auto row = db.firstRow(QStringLiteral("select customer_id from shoraka where nation=? order by id"), {code}))
        return kFoundPartner + applicantProvince(row->value(0));
    if (auto row = db.firstRow(QStringLiteral("select customer_id from takafol where nation=? order by id"), {code}))
        return kFoundDependant + applicantProvince(row->value(0));
    return kNotFound;
}

Tnation_cod::Tnation_cod(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tnation_cod"));
    setWindowTitle(QStringLiteral("استعلام کد ملي"));
    setLayoutDirection(Qt::RightToLeft);

    auto* prompt = new QLabel(QStringLiteral("کد ملي مورد نظر جهت استعلام از سامانه تاورين در کل کشور"), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    prompt->setWordWrap(true);

    m_nation = new QLineEdit(this);
    m_nation->setObjectName(QStringLiteral("nation"));
    m_nation->setMaxLength(10);
    installDigitFilter(m_nation);
    QFont big = m_nation->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    m_nation->setFont(big);
    m_nation->setMinimumWidth(m_nation->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 24);
    onFieldExit(m_nation, [this] { nationExit(); });

    // A tool button takes no focus on a click, so clicking it does not count
    // as leaving the code field.
    m_search = new QToolButton(this);
    m_search->setObjectName(QStringLiteral("SpeedButton1"));
    m_search->setText(QStringLiteral("جستجو"));
    m_search->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"), style()->standardIcon(QStyle::SP_FileDialogContentsView)));
    m_search->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_search->setMinimumHeight(m_nation->sizeHint().height());
    connect(m_search, &QToolButton::clicked, this, &Tnation_cod::SpeedButton1Click);

    m_result = new QLabel(kInitialResult, this);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setWordWrap(true);
    m_result->setAlignment(Qt::AlignCenter);
    m_result->setFrameShape(QFrame::StyledPanel);
    m_result->setMinimumHeight(m_nation->sizeHint().height() * 2);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = m_result->font();
    bold.setBold(true);
    m_result->setFont(bold);

    auto* row = new QHBoxLayout;
    row->addWidget(m_nation, 1);
    row->addWidget(m_search);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);
    layout->addWidget(prompt);
    layout->addLayout(row);
    layout->addWidget(m_result);
    setMinimumWidth(420);
}

void Tnation_cod::nationExit()
{
    resetFieldColour(m_nation);
    const QString message = nationCodeMessage(m_nation->text());
    if (!message.isEmpty()) {
        m_result->setText(message);
        if (message == kNationCodeLength)
            m_nation->setFocus(Qt::OtherFocusReason);
    } else if (m_result->text() == kNationCodeWrong || m_result->text() == kNationCodeLength) {
        // The code has been corrected: an earlier complaint no longer applies.
        m_result->setText(kInitialResult);
    }
}

void Tnation_cod::SpeedButton1Click()
{
    m_result->clear();
    try {
        m_result->setText(nationEnquiry(toAsciiDigits(m_nation->text())));
    } catch (const DbError& e) {
        reportFailure(kEnquiryFailed, e);
    }
}

} // namespace tavrin
