#pragma once
// Conventions of the program's windows.  Every window is a TWindow: created
// once on first use (window<T>()), kept for the rest of the run and shown
// modally through the dialog service.  The main menu reads the user's rights
// row for the window's page, hands it to applyRights() and, with the view
// right, calls prepareToShow() and shows the window.
#include "rights.h"

#include <QDialog>

#include <typeindex>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class TWindow : public QDialog {
    Q_OBJECT
public:
    // name: the window's class name ("Tphone"), also its object name.
    TWindow(const QString& name, const QString& caption, QWidget* parent = nullptr);

    // Enables or disables the window's insert, edit and delete controls.
    virtual void applyRights(const Rights&) {}
    // What the main menu does before showing the window (clear filters, search ...).
    virtual void prepareToShow() {}
    // Shows the window modally through the dialog service.
    int showModal();
};

namespace detail {
QDialog* findWindow(std::type_index type);
void keepWindow(std::type_index type, QDialog* w);
} // namespace detail

// The one instance of a window class, created on first use.
template <class T>
T& window()
{
    if (QDialog* w = detail::findWindow(typeid(T)))
        return *static_cast<T*>(w);
    T* w = new T();
    detail::keepWindow(typeid(T), w);
    return *w;
}

// Destroys every window created by window<T>() (at the end of the run, and
// between tests).
void destroyWindows();

// Small builders that give controls their object names.
QLineEdit* makeEdit(QWidget* parent, const QString& name, int maxLength = 0);
QComboBox* makeCombo(QWidget* parent, const QString& name, bool editable = true);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text);
QLabel* makeLabel(QWidget* parent, const QString& text, const QString& name = {});
// The declared length of a text column, for the maximum length of its field.
int columnLength(const QString& table, const QString& column);

} // namespace tavrin
