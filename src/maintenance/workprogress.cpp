#include "workprogress.h"

#include "maintenance_texts.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace tavrin {

WorkProgress::WorkProgress(QWidget* parent, const QString& title) : m_dialog(new QProgressDialog(parent)), m_title(title)
{
    m_dialog->setObjectName(QStringLiteral("progress"));
    m_dialog->setWindowTitle(title);
    m_dialog->setLabelText(title);
    m_dialog->setCancelButtonText(maintext::kCancel);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setLayoutDirection(Qt::RightToLeft);
    m_dialog->setMinimumWidth(420);
    m_dialog->setRange(0, 0);
    m_dialog->setValue(0);
    m_dialog->show();
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

WorkProgress::~WorkProgress()
{
    m_dialog->hide();
    m_dialog->deleteLater();
}

Progress WorkProgress::callback()
{
    return [this](qint64 done, qint64 total, const QString& step) { return update(done, total, step); };
}

bool WorkProgress::update(qint64 done, qint64 total, const QString& step)
{
    // Per mille, so that totals beyond an int still fit the bar.
    if (total > 0) {
        if (m_dialog->maximum() != 1000)
            m_dialog->setRange(0, 1000);
        m_dialog->setValue(int(std::min<qint64>(1000, done * 1000 / total)));
    } else if (m_dialog->maximum() != 0) {
        m_dialog->setRange(0, 0);
    }
    const QString label = step.isEmpty() ? m_title : m_title + '\n' + step;
    if (m_dialog->labelText() != label)
        m_dialog->setLabelText(label);
    if (m_sinceEvents.elapsed() >= 50) {
        QCoreApplication::processEvents();
        m_sinceEvents.restart();
    }
    return !m_dialog->wasCanceled();
}

} // namespace tavrin
