#pragma once
// Conventions of the program's windows.  Every window is a TWindow: created
// once on first use (window<T>()), kept for the rest of the run and shown
// modally through the dialog service.  The main menu reads the user's rights
// row for the window's page, hands it to applyRights() and, with the view
// right, calls prepareToShow() and shows the window.
//
// What a TWindow does for every window, each time it is shown:
// - it fits on its screen: a window larger than the screen's free area (less
//   the window frame) is made smaller, and when its content cannot shrink that
//   far, the content is put in a scroll area; it opens centred on the screen;
// - only the close button is offered in its title bar (no minimise, no maximise);
// - splitters with an object name take back the place the user left them in;
// - Enter on a focused button presses it; Enter elsewhere presses the first
//   shown and enabled button given to setSaveButtons(), otherwise the default
//   button, if any.
// Every menu and pop-up of the program opens inside the screen, and captions
// written in Latin letters only are drawn left to right, in every window.
#include "datefield.h"
#include "rights.h"

#include <QDialog>
#include <QList>

#include <typeindex>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

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

    // An entry window's save buttons (ins_btn, edit_btn): Enter pressed in the
    // window presses the first of them that is shown and enabled, as a click
    // would (a disabled or hidden button is not pressed).
    void setSaveButtons(const QList<QAbstractButton*>& buttons);
    const QList<QAbstractButton*>& saveButtons() const { return m_saveButtons; }

    // The largest client area the window may take on its screen: the screen's
    // free area less the window frame.
    QSize availableClientSize() const;
    // The scroll area holding the window's content when it did not fit on the
    // screen (nullptr while it fits).
    QScrollArea* contentScrollArea() const { return m_scroll; }

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void fitToScreen();
    void placeOnScreen();
    void wrapContentInScrollArea();
    void restoreSplitters();
    void saveSplitters();

    QList<QAbstractButton*> m_saveButtons;
    QScrollArea* m_scroll = nullptr;
    bool m_splittersRestored = false;
};

// Enter in `from` moves the focus to `to` instead of acting on the window.
void enterMovesFocus(QWidget* from, QWidget* to);
// Enter in `field` presses `button` (when shown and enabled) instead of the
// window's save button: a search field and its search button.
void enterClicks(QWidget* field, QAbstractButton* button);

// Installs, once, what every window shares beyond TWindow: the guard that
// keeps menus and pop-ups inside their screen, and the program's style, which
// draws a caption with Latin letters and no right-to-left letters from left to
// right ("Browse Excel..." would otherwise read "...Browse Excel" in the
// right-to-left interface), wherever it stands.  TWindow, the main window and
// the start-up call it; calling it again does nothing.
void installWindowConventions();

// Whether a text has Latin letters and no right-to-left letters ("Browse
// Excel...", ".jpg"): such a text is drawn left to right.
bool isLatinCaption(const QString& text);

// The title-bar buttons of a modal window or message box: the title and the
// close button.
Qt::WindowFlags modalWindowFlags();

namespace detail {
QDialog* findWindow(std::type_index type);
void keepWindow(std::type_index type, QDialog* w);
bool registerWindowClass(std::type_index type, QDialog* (*create)());
template <class T>
QDialog* createWindowOf();
// Every class used with window<T>() registers itself here when the program
// starts, so that checks over "every window" need no list to keep up to date.
template <class T>
struct WindowClass {
    static inline const bool registered = registerWindowClass(typeid(T), &createWindowOf<T>);
};
} // namespace detail

// The one instance of a window class, created on first use.
template <class T>
T& window()
{
    (void)detail::WindowClass<T>::registered;
    if (QDialog* w = detail::findWindow(typeid(T)))
        return *static_cast<T*>(w);
    T* w = new T();
    detail::keepWindow(typeid(T), w);
    return *w;
}

namespace detail {
template <class T>
QDialog* createWindowOf()
{
    return &window<T>();
}
} // namespace detail

// Every window class the program opens with window<T>(), each created (once)
// if it was not yet; for checks that must cover every window.
QList<QDialog*> everyWindow();

// Destroys every window created by window<T>() (at the end of the run, and
// between tests).
void destroyWindows();

// Small builders that give controls their object names.
QLineEdit* makeEdit(QWidget* parent, const QString& name, int maxLength = 0);
// A Jalali date field (TDateEdit, datefield.h): every date field of the
// program is made here.
TDateEdit* makeDateEdit(QWidget* parent, const QString& name);
QComboBox* makeCombo(QWidget* parent, const QString& name, bool editable = true);
// Fills a fixed pick list with the user levels shown in Persian, each item's
// data the level as stored (read it with currentData(), choose with findData()).
// withEmpty: an empty first item (a search criterion's "any level").
void fillLevels(QComboBox* c, bool withEmpty = false);
// Sets a pick list's text without starting its change handlers; a fixed list
// selects the item with that text (added when a stored text is not among them).
void setComboText(QComboBox* c, const QString& text);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text);
QLabel* makeLabel(QWidget* parent, const QString& text, const QString& name = {});
// The label beside an amount field that shows the amount grouped in threes.
// It is never narrower than the widest amount it can show (groupedLabelWidth),
// so that a stored amount is never cut and never widens its window.
QLabel* makeGroupedLabel(QWidget* parent, const char* name, int minimumWidth);
// The width a grouped-amount label in the font f needs for the widest amount
// (fifteen digits and a sign, grouped, in bold).
int groupedLabelWidth(const QFont& f);
// The declared length of a text column, for the maximum length of its field.
int columnLength(const QString& table, const QString& column);

} // namespace tavrin
