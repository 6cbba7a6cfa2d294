#pragma once
// The project entry window: a new project or an edit of the project selected
// in the project list.
#include "common/lookups.h"
#include "common/windows.h"
#include "projects/projects_logic.h"

#include <QSqlRecord>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class Tproject_ins : public TWindow {
    Q_OBJECT
public:
    Tproject_ins();

    // Empties the window for a new project (the list's "پروژه جديد").
    void prepareNew();
    // Fills the window from a stored project (the list's "ويرايش").
    void prepareEdit(const QSqlRecord& project);

    // The fields as the save reads them, by column name.
    projects::ProjectValues values() const;
    void setValues(const projects::ProjectValues& values);
    // A field by its column name.
    QWidget* field(const QString& column) const;
    // The project being edited (0 for a new one).
    qint64 editedId() const { return m_id; }

public Q_SLOTS:
    void ins_btnClick();
    void edit_btnClick();
    // Pick lists that follow the province, county and city.
    void ostanChange();
    void shahrestanChange();
    void shahrChange();
    // Leaving vahed_kol or vahed_cnt.
    void countExit(QLineEdit* left);

Q_SIGNALS:
    // A project was saved (the list shows it).
    void saved(qint64 id);

private:
    // The province list and the four pick lists, added to a batch and filled
    // from it once read (with the rest of the cascade when opening a record).
    struct Lists {
        int provinces, contractTypes, projectTypes, statuses, saleStates;
    };
    static Lists addLists(ListBatch& b);
    void fillLists(const ListBatch& b, const Lists& n);
    void showRefusal(const Outcome& r);
    // A save another user overtook: offers to show the project as stored now.
    void askToReload(const QString& message);

    QComboBox *ostan, *shahrestan, *shahr, *rosta, *prj_name, *prj_typ, *prot_typ, *status, *st_tavrin;
    QLineEdit *prj_cod, *zamin_pelak, *zamin_adr, *cmt;
    QLineEdit *vahed_kol, *vahed_cnt, *vahed_f, *anbari_cnt, *parking_cnt;
    QLineEdit *expire_dat, *sakht_dat;
    QPushButton *ins_btn, *edit_btn;
    qint64 m_id = 0;
    projects::ProjectValues m_before;
};

} // namespace tavrin
