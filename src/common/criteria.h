#pragma once
// A search criterion: a check box and its field.  The field is enabled only
// while the box is ticked; a ticked field turns yellow and takes the focus.
#include <QList>
#include <QString>

class QCheckBox;
class QWidget;

namespace tavrin {

void bindCriterion(QCheckBox* box, QWidget* field);
// The text of a line edit or of a combo box's edit line.
QString fieldText(const QWidget* field);
void setFieldText(QWidget* field, const QString& text);
// Unticks every box (the windows' "clear the filters" on opening).
void clearCriteria(const QList<QCheckBox*>& boxes);

} // namespace tavrin
