#pragma once
// The entry window of a project's storage rooms and, with a roof field more,
// of its parking spaces: new ones are keyed in one after another (the window
// stays open), an existing one is edited and the window closes.
// Tproject_anbari and Tproject_parking are this window for each kind.
#include "common/windows.h"
#include "spaces_logic.h"

#include <QSqlRecord>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class TRealEdit;

class TProjectSpaceWindow : public TWindow {
    Q_OBJECT
public:
    TProjectSpaceWindow(const spaces::SpaceKind& kind, const QString& name, const QString& caption,
                        const QString& countCaption);

    const spaces::SpaceKind& kind() const { return m_kind; }
    void prepareNew(const QSqlRecord& project);
    // row: an anbariha / parkingha row of the project, kept: the save refuses
    // it when another user changed it since.
    void prepareEdit(const QSqlRecord& project, const QSqlRecord& row);
    spaces::SpaceForm form() const;
    qint64 rowId() const { return m_id; }

    QLineEdit *prj_name, *ostan, *shahrestan;
    QLabel* cnt;
    QComboBox *bolok, *pos, *status;
    QComboBox* saghf = nullptr;  // parking only
    QLineEdit* num;
    TRealEdit* metraj;
    QLineEdit *mablagh1, *mablagh;
    QLabel *mablagh1_3harfi, *mablagh_3harfi;
    QPushButton *ins_btn, *edit_btn;

public Q_SLOTS:
    void ins_btnClick();
    void edit_btnClick();
    void computePrice();

Q_SIGNALS:
    void spacesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillLists();
    void showProject(const QSqlRecord& project);
    void refreshCount();
    void updateGroupedLabels();

    // A save another user overtook: offers to show the row as stored now.
    void askToReload(const Outcome& r);

    const spaces::SpaceKind& m_kind;
    QSqlRecord m_project;
    qint64 m_id = 0;
    QSqlRecord m_read;  // the row as the window showed it
};

} // namespace tavrin
