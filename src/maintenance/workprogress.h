#pragma once
// The progress window of long maintenance work: a bar (or a busy indicator
// while the total is unknown) with a cancel button.  Its Progress callback
// keeps the window responsive and returns false once the user cancelled.
#include "progress.h"

#include <QElapsedTimer>

class QProgressDialog;
class QWidget;

namespace tavrin {

class WorkProgress {
public:
    WorkProgress(QWidget* parent, const QString& title);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    Progress callback();
    QProgressDialog* dialog() const { return m_dialog; }

private:
    bool update(qint64 done, qint64 total, const QString& step);
    QProgressDialog* m_dialog;
    QString m_title;
    QElapsedTimer m_sinceEvents;
};

} // namespace tavrin
