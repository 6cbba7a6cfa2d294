#pragma once
// The choice among several pre-registered people found by a name: each line
// shows the person's name and national code.
#include <QDialog>
#include <QSqlRecord>

#include <optional>

class QListWidget;

namespace tavrin {

class TPreregChoice : public QDialog {
    Q_OBJECT
public:
    explicit TPreregChoice(const QList<QSqlRecord>& people, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }

    // Shows the choice through the dialog service; the chosen row's index, or
    // nothing when the user cancels.
    static std::optional<int> choose(const QList<QSqlRecord>& people, QWidget* parent = nullptr);

private:
    QListWidget* m_list;
};

} // namespace tavrin
