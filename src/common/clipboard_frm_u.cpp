#include "clipboard_frm_u.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

namespace tavrin {

TClipBoard_frm::TClipBoard_frm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TClipBoard_frm"));
    setWindowTitle(QStringLiteral("حافظه موقت"));
    setLayoutDirection(Qt::RightToLeft);

    auto* label = new QLabel(QStringLiteral("حافظه موقت"), this);
    label->setObjectName(QStringLiteral("Label1"));

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    // The texts are Persian: every paragraph reads right to left from the right edge.
    QTextOption option = m_memo->document()->defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    option.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    m_memo->document()->setDefaultTextOption(option);

    m_copy = new QPushButton(QStringLiteral("Copy and Exit"), this);
    m_copy->setObjectName(QStringLiteral("Button1"));
    m_copy->setAutoDefault(false);
    connect(m_copy, &QPushButton::clicked, this, &TClipBoard_frm::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_memo, 1);
    layout->addWidget(m_copy, 0, Qt::AlignTrailing);
    resize(460, 360);
}

void TClipBoard_frm::setText(const QString& text)
{
    m_memo->setPlainText(text);
}

QString TClipBoard_frm::text() const
{
    return m_memo->toPlainText();
}

void TClipBoard_frm::Button1Click()
{
    m_memo->selectAll();
    m_memo->copy();
}

} // namespace tavrin
