#include "windows.h"

#include "dialogs.h"
#include "session.h"

#include "db/schema.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QSignalBlocker>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStyleFactory>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <QFontMetrics>
#include <functional>
#include <map>

namespace tavrin {

namespace {
std::map<std::type_index, QPointer<QDialog>>& registry()
{
    static std::map<std::type_index, QPointer<QDialog>> r;
    return r;
}

std::map<std::type_index, QDialog* (*)()>& windowClasses()
{
    static std::map<std::type_index, QDialog* (*)()> c;
    return c;
}

// Room kept for the window manager's frame while the real frame is not yet
// known (before the window is first mapped): borders and a title bar.
const QMargins kFrameAllowance(4, 30, 4, 4);

QMargins frameMarginsOf(const QWidget* w)
{
    QMargins m = kFrameAllowance;
    if (const QWindow* h = w->windowHandle()) {
        const QMargins real = h->frameMargins();
        m = QMargins(std::max(m.left(), real.left()), std::max(m.top(), real.top()),
                     std::max(m.right(), real.right()), std::max(m.bottom(), real.bottom()));
    }
    return m;
}

QRect availableArea(const QWidget* w)
{
    QScreen* s = w->screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1366, 768);
}

bool isEnter(const QKeyEvent* e)
{
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
           (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier);
}

bool isPressable(const QWidget* w)
{
    return qobject_cast<const QPushButton*>(w) || qobject_cast<const QToolButton*>(w);
}

// A button pressed from the keyboard acts as a click on it: the focus moves to
// it first (so that the field being left runs its exit checks), then it is
// clicked; when the window stays open, the typing goes on in the field.
void pressLikeAClick(QAbstractButton* button, QWidget* field)
{
    if (!button->isEnabled())
        return;
    QPointer<QWidget> back = field;
    button->setFocus(Qt::OtherFocusReason);
    button->click();
    QWidget* win = button->window();
    if (back && back != button && win->isVisible() && win->focusWidget() == button && back->isEnabled() &&
        back->isVisibleTo(win))
        back->setFocus(Qt::OtherFocusReason);
}

// Enter in one field does that field's own action and goes no further.
class EnterAction : public QObject {
public:
    EnterAction(QWidget* field, std::function<void()> action) : QObject(field), m_action(std::move(action))
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent*>(e)))
            return false;
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

// The content of a window that did not fit on its screen: it asks for the
// room of its content (a plain scroll area caps its wish at a small size) and
// may be made as small as a few lines.
class FitScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override
    {
        const int f = 2 * frameWidth();
        QSize s(f, f);
        if (const QWidget* w = widget())
            s += w->sizeHint().expandedTo(w->minimumSize());
        s.rwidth() += verticalScrollBar()->sizeHint().width();
        return s;
    }
    QSize minimumSizeHint() const override { return {160, 120}; }
};

// Keeps every menu and pop-up inside the screen it opens on.  Qt places a
// right-to-left menu that does not fit left of its anchor to the right of it,
// where a wide one runs off the screen's edge.
class PopupGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        const QEvent::Type t = e->type();
        if ((t == QEvent::Show || t == QEvent::Move || t == QEvent::Resize) && o->isWidgetType())
            if (auto* menu = qobject_cast<QMenu*>(o); menu && (t == QEvent::Show || menu->isVisible()))
                fit(menu);
        return false;
    }

private:
    static void fit(QWidget* popup)
    {
        QScreen* s = QGuiApplication::screenAt(popup->geometry().center());
        if (!s)
            s = popup->screen();
        if (!s)
            return;
        const QRect area = s->availableGeometry();
        QRect g = popup->geometry();
        if (g.width() > area.width()) {
            popup->setMaximumWidth(area.width());
            g.setWidth(area.width());
        }
        if (g.height() > area.height())
            g.setHeight(area.height());
        g.moveLeft(std::clamp(g.left(), area.left(), area.right() - g.width() + 1));
        g.moveTop(std::clamp(g.top(), area.top(), area.bottom() - g.height() + 1));
        if (g != popup->geometry())
            popup->setGeometry(g);
    }
};


// The program's style: a caption with Latin letters and no right-to-left
// letters is laid out left to right (the painter of a widget takes the
// application's direction, so setting a widget's direction would not do it);
// a menu taller than the screen scrolls instead of spreading into columns
// wider than the screen.
class ProgramStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        // Underlining a shortcut letter draws that letter apart from its
        // neighbours and breaks the joining of Persian captions ("&بله");
        // the shortcuts still work with Alt.
        if (hint == SH_UnderlineShortcut)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole role) const override
    {
        if (!(flags & (Qt::TextForceLeftToRight | Qt::TextForceRightToLeft)) && isLatinCaption(text))
            flags |= Qt::TextForceLeftToRight;
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
    }
};

// Moves the items of a box or grid layout into a new layout of the same kind
// on `to`; false for other kinds of layout.
bool moveLayoutItems(QLayout* from, QWidget* to)
{
    if (auto* box = qobject_cast<QBoxLayout*>(from)) {
        auto* l = new QBoxLayout(box->direction(), to);
        l->setSpacing(box->spacing());
        l->setContentsMargins(box->contentsMargins());
        while (box->count() > 0) {
            const int stretch = box->stretch(0);
            QLayoutItem* item = box->takeAt(0);
            if (QLayout* sub = item->layout()) {
                l->addLayout(sub, stretch);
            } else if (QWidget* w = item->widget()) {
                const Qt::Alignment a = item->alignment();
                delete item;
                w->setParent(to);
                l->addWidget(w, stretch, a);
            } else {
                l->addItem(item);
                l->setStretch(l->count() - 1, stretch);
            }
        }
        return true;
    }
    if (auto* grid = qobject_cast<QGridLayout*>(from)) {
        auto* l = new QGridLayout(to);
        l->setHorizontalSpacing(grid->horizontalSpacing());
        l->setVerticalSpacing(grid->verticalSpacing());
        l->setContentsMargins(grid->contentsMargins());
        for (int r = 0; r < grid->rowCount(); ++r) {
            l->setRowStretch(r, grid->rowStretch(r));
            l->setRowMinimumHeight(r, grid->rowMinimumHeight(r));
        }
        for (int c = 0; c < grid->columnCount(); ++c) {
            l->setColumnStretch(c, grid->columnStretch(c));
            l->setColumnMinimumWidth(c, grid->columnMinimumWidth(c));
        }
        while (grid->count() > 0) {
            int row = 0, column = 0, rows = 1, columns = 1;
            grid->getItemPosition(0, &row, &column, &rows, &columns);
            QLayoutItem* item = grid->takeAt(0);
            const Qt::Alignment a = item->alignment();
            if (QLayout* sub = item->layout()) {
                l->addLayout(sub, row, column, rows, columns, a);
            } else if (QWidget* w = item->widget()) {
                delete item;
                w->setParent(to);
                l->addWidget(w, row, column, rows, columns, a);
            } else {
                l->addItem(item, row, column, rows, columns, a);
            }
        }
        return true;
    }
    return false;
}
} // namespace

bool isLatinCaption(const QString& text)
{
    bool latin = false;
    for (const QChar c : text) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL)
            return false;
        if (c.isLetter() && c.script() == QChar::Script_Latin)
            latin = true;
    }
    return latin;
}

Qt::WindowFlags modalWindowFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

TWindow::TWindow(const QString& name, const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(modalWindowFlags());
    installWindowConventions();
}

int TWindow::showModal()
{
    return dialogs().exec(this);
}

void TWindow::setSaveButtons(const QList<QAbstractButton*>& buttons)
{
    m_saveButtons = buttons;
}

QSize TWindow::availableClientSize() const
{
    const QMargins m = frameMarginsOf(this);
    return availableArea(this).size() - QSize(m.left() + m.right(), m.top() + m.bottom());
}

void TWindow::setVisible(bool visible)
{
    const bool wasVisible = isVisible();
    if (visible && !wasVisible) {
        // A modal window is never minimised or maximised on its own.
        const Qt::WindowFlags f = windowFlags();
        const Qt::WindowFlags extra = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
        if (f & extra)
            setWindowFlags((f & ~extra) | Qt::CustomizeWindowHint);
        restoreSplitters();
        fitToScreen();
    }
    if (!visible && wasVisible)
        saveSplitters();
    QDialog::setVisible(visible);
}

void TWindow::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    placeOnScreen();
    // The window was sized and placed for a guessed frame; once the window
    // manager has framed it, a frame taller or wider than guessed would push
    // its bottom or side beyond the screen: fit and place it again.
    QTimer::singleShot(150, this, [this] {
        if (isVisible() && !availableArea(this).contains(frameGeometry())) {
            fitToScreen();
            placeOnScreen();
        }
    });
}

void TWindow::fitToScreen()
{
    ensurePolished();
    if (QLayout* l = layout())
        l->activate();
    const QSize room = availableClientSize();
    const QSize least = minimumSize().expandedTo(minimumSizeHint());
    if (least.width() > room.width() || least.height() > room.height())
        wrapContentInScrollArea();
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    // Wide enough for the whole title (as the window manager draws it: bold,
    // with the program's name, beside the icon and the buttons).
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const QString title = windowTitle() + QStringLiteral(" — ") + QGuiApplication::applicationDisplayName();
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title) + 140;
    const QSize target = size().expandedTo(minimumSize()).expandedTo(QSize(titleWidth, 0)).boundedTo(room);
    if (target != size())
        resize(target);
}

void TWindow::placeOnScreen()
{
    // The frame (title bar included) is centred on the screen's free area;
    // a window at least as large as that area starts at its corner.
    const QRect area = availableArea(this);
    const QMargins m = frameMarginsOf(this);
    const QSize frame = size() + QSize(m.left() + m.right(), m.top() + m.bottom());
    const int x = std::max(area.left(), area.left() + (area.width() - frame.width()) / 2);
    const int y = std::max(area.top(), area.top() + (area.height() - frame.height()) / 2);
    // The client area is placed inside the frame: move() would take the point
    // as the frame's corner on the first showing and as the client's on later
    // ones (once the frame is known), so a window shown again crept down by
    // its title bar each time until its bottom left the screen.
    setGeometry(QRect(QPoint(x + m.left(), y + m.top()), size()));
}

void TWindow::wrapContentInScrollArea()
{
    QLayout* old = layout();
    if (m_scroll || !old)
        return;
    QWidget* bar = old->menuBar();
    const int barHeight = bar ? bar->sizeHint().height() : 0;
    const QSize needed = minimumSize().expandedTo(old->totalMinimumSize()) - QSize(0, barHeight);
    auto* body = new QWidget;
    body->setObjectName(QStringLiteral("windowBody"));
    if (!moveLayoutItems(old, body)) {
        delete body;
        return;
    }
    old->setMenuBar(nullptr);
    delete old;
    setMinimumSize(0, 0);
    body->setMinimumSize(needed);
    m_scroll = new FitScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("windowScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(body);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    if (bar)
        outer->setMenuBar(bar);
    outer->addWidget(m_scroll);
    outer->activate();
}

namespace {
QString splitterKey(const QWidget* window, const QSplitter* s)
{
    return QStringLiteral("windows/%1/%2").arg(window->objectName(), s->objectName());
}
} // namespace

void TWindow::restoreSplitters()
{
    if (m_splittersRestored)
        return;
    m_splittersRestored = true;
    QSettings settings;
    for (QSplitter* s : findChildren<QSplitter*>()) {
        if (s->objectName().isEmpty())
            continue;
        const QByteArray state = settings.value(splitterKey(this, s)).toByteArray();
        if (!state.isEmpty())
            s->restoreState(state);
    }
}

void TWindow::saveSplitters()
{
    QSettings settings;
    for (const QSplitter* s : findChildren<QSplitter*>())
        if (!s->objectName().isEmpty())
            settings.setValue(splitterKey(this, s), s->saveState());
}

void TWindow::keyPressEvent(QKeyEvent* e)
{
    if (isEnter(e)) {
        QWidget* focus = focusWidget();
        if (isPressable(focus)) {
            auto* b = static_cast<QAbstractButton*>(focus);
            if (b->isEnabled())
                b->click();
            e->accept();
            return;
        }
        for (QAbstractButton* b : std::as_const(m_saveButtons)) {
            if (b && b->isVisibleTo(this)) {
                pressLikeAClick(b, focus);
                e->accept();
                return;
            }
        }
        // Else the default button, as a dialog does (also before the window is
        // shown, which is how tests drive it).
        for (QPushButton* b : findChildren<QPushButton*>()) {
            if (b->isDefault() && b->isVisibleTo(this)) {
                pressLikeAClick(b, focus);
                e->accept();
                return;
            }
        }
        e->ignore();
        return;
    }
    QDialog::keyPressEvent(e);
}

void enterMovesFocus(QWidget* from, QWidget* to)
{
    QPointer<QWidget> target = to;
    new EnterAction(from, [target] {
        if (target)
            target->setFocus(Qt::TabFocusReason);
    });
}

void enterClicks(QWidget* field, QAbstractButton* button)
{
    QPointer<QAbstractButton> b = button;
    QPointer<QWidget> f = field;
    new EnterAction(field, [b, f] {
        if (b && b->isEnabled() && b->isVisibleTo(b->window()))
            pressLikeAClick(b, f);
    });
}

void installWindowConventions()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    qApp->installEventFilter(new PopupGuard(qApp));
    if (!dynamic_cast<ProgramStyle*>(QApplication::style()))
        QApplication::setStyle(new ProgramStyle(QStyleFactory::create(QApplication::style()->name())));
}

namespace detail {
QDialog* findWindow(std::type_index type)
{
    auto it = registry().find(type);
    return it == registry().end() ? nullptr : it->second.data();
}

void keepWindow(std::type_index type, QDialog* w)
{
    registry()[type] = w;
}

bool registerWindowClass(std::type_index type, QDialog* (*create)())
{
    windowClasses()[type] = create;
    return true;
}
} // namespace detail

QList<QDialog*> everyWindow()
{
    QList<QDialog*> out;
    for (const auto& [type, create] : windowClasses())
        out << create();
    return out;
}

void destroyWindows()
{
    auto windows = std::move(registry());
    registry().clear();
    for (auto& [type, w] : windows)
        delete w.data();
}

QLineEdit* makeEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

TDateEdit* makeDateEdit(QWidget* parent, const QString& name)
{
    auto* e = new TDateEdit(parent);
    e->setObjectName(name);
    return e;
}

void fillLevels(QComboBox* c, bool withEmpty)
{
    const QSignalBlocker block(c);
    c->clear();
    if (withEmpty)
        c->addItem(QString(), QString());
    for (const QString& level : userLevels())
        c->addItem(levelCaption(level), level);
    c->setCurrentIndex(-1);
}

void setComboText(QComboBox* c, const QString& text)
{
    const QSignalBlocker block(c);
    if (c->isEditable()) {
        c->setEditText(text);
        return;
    }
    int at = c->findText(text);
    if (at < 0 && !text.isEmpty()) {
        c->addItem(text);
        at = c->count() - 1;
    }
    c->setCurrentIndex(at);
}

int groupedLabelWidth(const QFont& f)
{
    QFont bold = f;
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(QStringLiteral("-999,999,999,999,999")) + 4;
}

QLabel* makeGroupedLabel(QWidget* parent, const char* name, int minimumWidth)
{
    QLabel* l = makeLabel(parent, QStringLiteral("0"), QString::fromLatin1(name));
    l->setMinimumWidth(std::max(minimumWidth, groupedLabelWidth(l->font())));
    l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    l->setStyleSheet(QStringLiteral("color: #1a4f9c; font-weight: bold;"));
    return l;
}

QComboBox* makeCombo(QWidget* parent, const QString& name, bool editable)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(20);
    return c;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* makeLabel(QWidget* parent, const QString& text, const QString& name)
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

int columnLength(const QString& table, const QString& column)
{
    const TableDef* t = schema().table(table);
    const ColumnDef* c = t ? t->column(column) : nullptr;
    return c && c->type == ColType::Text ? c->length : 0;
}

} // namespace tavrin
