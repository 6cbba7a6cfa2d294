#include "documents/preview.h"

#include "common/dialogs.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <functional>

namespace tavrin::doc {

const QString PrintPreview::kPrintFailed = QStringLiteral("خطا! چاپ انجام نشد");
const QString PrintPreview::kPageTotal = QStringLiteral(" از %1 ");
const QString PrintPreview::kPageTotalSoFar = QStringLiteral(" از بيش از %1 ");

namespace {

constexpr int kGap = 14;              // pixels around and between the pages
constexpr double kZoomStep = 1.25;
constexpr double kLeastZoom = 0.2;
constexpr double kMostZoom = 5;
constexpr int kCachedPages = 6;       // page images kept while scrolling

} // namespace

// The pages one below the other, each drawn from an image of the page at the
// resolution shown.
class PreviewPages : public QAbstractScrollArea {
public:
    enum class Fit { None, Width, Page };

    PreviewPages(const Document& document, QWidget* parent, DocumentFilling* filling)
        : QAbstractScrollArea(parent), m_document(document), m_filling(filling)
    {
        setObjectName(QStringLiteral("pages"));
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        viewport()->setAutoFillBackground(false);
        setFocusPolicy(Qt::StrongFocus);
    }

    std::function<void()> scrolled;

    int pageCount() const { return m_filling ? m_filling->pagesDone() : m_document.pageCount(); }

    // More pages are done, or all of them (their numbers now known: the
    // images drawn before show "…" for the count).
    void pagesGrew(DocumentFilling* filling)
    {
        if (!filling && m_filling)
            m_cache.clear();
        m_filling = filling;
        layoutPages();
    }

    int dpi() const { return std::max(10, int(std::lround(screenDpi() * m_zoom))); }
    double zoom() const { return m_zoom; }

    void setZoom(double zoom, Fit fit = Fit::None)
    {
        const int keep = currentPage();
        m_fit = fit;
        m_zoom = std::clamp(zoom, kLeastZoom, kMostZoom);
        layoutPages();
        showPage(keep);
    }

    void fit(Fit how)
    {
        const QSizeF mm = m_document.setup().paperSize();
        const double w = mm.width() / 25.4 * screenDpi();
        const double h = mm.height() / 25.4 * screenDpi();
        const QSize room = viewport()->size() - QSize(2 * kGap, 2 * kGap);
        if (w <= 0 || h <= 0 || room.width() <= 0 || room.height() <= 0) {
            m_fit = how;
            return;
        }
        const double byWidth = room.width() / w;
        setZoom(how == Fit::Width ? byWidth : std::min(byWidth, room.height() / h), how);
    }

    QSize pageSize() const
    {
        const QSizeF mm = m_document.setup().paperSize();
        return QSize(int(std::lround(mm.width() / 25.4 * dpi())), int(std::lround(mm.height() / 25.4 * dpi())));
    }

    QSize contentSize() const
    {
        const QSize page = pageSize();
        return QSize(page.width() + 2 * kGap, pageCount() * (page.height() + kGap) + kGap);
    }

    // Where a page lies in the viewport.
    QRect pageRect(int page) const
    {
        const QSize size = pageSize();
        const int contentWidth = std::max(contentSize().width(), viewport()->width());
        const int x = (contentWidth - size.width()) / 2 - horizontalOffset();
        const int y = kGap + page * (size.height() + kGap) - verticalScrollBar()->value();
        return QRect(QPoint(x, y), size);
    }

    int currentPage() const
    {
        if (pageCount() == 0)
            return 0;
        const int step = pageSize().height() + kGap;
        const int at = verticalScrollBar()->value() + viewport()->height() / 3;
        return std::clamp(at / std::max(1, step), 0, pageCount() - 1);
    }

    void showPage(int page)
    {
        if (pageCount() == 0)
            return;
        page = std::clamp(page, 0, pageCount() - 1);
        verticalScrollBar()->setValue(page * (pageSize().height() + kGap));
    }

    // The page as the view shows it: the document's own drawing of it at the
    // resolution shown.
    QImage pageImage(int page)
    {
        const qreal ratio = devicePixelRatioF();
        const int dpi = int(std::lround(this->dpi() * ratio));
        if (dpi != m_cachedDpi) {
            m_cache.clear();
            m_cachedDpi = dpi;
        }
        const auto found = m_cache.constFind(page);
        if (found != m_cache.cend())
            return *found;
        QImage image = m_document.toImage(page, dpi);
        image.setDevicePixelRatio(ratio);
        if (m_cache.size() >= kCachedPages) {
            // Forget the page farthest from this one.
            int far = m_cache.cbegin().key();
            for (auto it = m_cache.cbegin(); it != m_cache.cend(); ++it)
                if (std::abs(it.key() - page) > std::abs(far - page))
                    far = it.key();
            m_cache.remove(far);
        }
        m_cache.insert(page, image);
        return image;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(viewport());
        p.fillRect(viewport()->rect(), palette().color(QPalette::Mid));
        for (int i = 0; i < pageCount(); ++i) {
            const QRect r = pageRect(i);
            if (!r.intersects(viewport()->rect()))
                continue;
            p.fillRect(r.translated(3, 3), palette().color(QPalette::Shadow));
            p.drawImage(r.topLeft(), pageImage(i));
            p.setPen(palette().color(QPalette::Dark));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }

    void resizeEvent(QResizeEvent* e) override
    {
        QAbstractScrollArea::resizeEvent(e);
        if (m_fit != Fit::None)
            fit(m_fit);
        else
            layoutPages();
    }

    void scrollContentsBy(int, int) override
    {
        viewport()->update();
        if (scrolled)
            scrolled();
    }

    void wheelEvent(QWheelEvent* e) override
    {
        if (e->modifiers() & Qt::ControlModifier) {
            const int steps = e->angleDelta().y() / 120;
            if (steps != 0)
                setZoom(m_zoom * std::pow(kZoomStep, steps));
            e->accept();
            return;
        }
        QAbstractScrollArea::wheelEvent(e);
    }

private:
    double screenDpi() const { return logicalDpiX() > 0 ? logicalDpiX() : 96; }

    // Right to left, a page wider than the view shows its right edge first.
    int horizontalOffset() const
    {
        const QScrollBar* h = horizontalScrollBar();
        return isRightToLeft() ? h->maximum() - h->value() : h->value();
    }

    void layoutPages()
    {
        const QSize content = contentSize();
        const QSize room = viewport()->size();
        const QSize page = pageSize();
        horizontalScrollBar()->setRange(0, std::max(0, content.width() - room.width()));
        horizontalScrollBar()->setPageStep(room.width());
        horizontalScrollBar()->setSingleStep(std::max(1, room.width() / 20));
        verticalScrollBar()->setRange(0, std::max(0, content.height() - room.height()));
        verticalScrollBar()->setPageStep(std::max(1, std::min(room.height(), page.height() + kGap)));
        verticalScrollBar()->setSingleStep(std::max(1, room.height() / 20));
        viewport()->update();
        if (scrolled)
            scrolled();
    }

    const Document& m_document;
    DocumentFilling* m_filling;
    double m_zoom = 1;
    Fit m_fit = Fit::Width;
    QHash<int, QImage> m_cache;
    int m_cachedDpi = 0;
};

PrintPreview::PrintPreview(const Document& document, QWidget* parent, DocumentFilling* filling)
    : QDialog(parent), m_document(document), m_filling(filling)
{
    setObjectName(QStringLiteral("preview"));
    setLayoutDirection(Qt::RightToLeft);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    m_pages = new PreviewPages(document, this, filling);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto action = [&](const char* name, const QString& caption, const QKeySequence& key,
                            const std::function<void()>& run) {
        QAction* a = bar->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    action("print", QStringLiteral("چاپ"), QKeySequence::Print, [this] { print(); });
    bar->addSeparator();
    action("zoomIn", QStringLiteral("بزرگ نمايي"), QKeySequence::ZoomIn,
           [this] { setZoom(zoom() * kZoomStep); });
    action("zoomOut", QStringLiteral("کوچک نمايي"), QKeySequence::ZoomOut,
           [this] { setZoom(zoom() / kZoomStep); });
    action("fitWidth", QStringLiteral("تمام عرض"), {}, [this] { fitWidth(); });
    action("fitPage", QStringLiteral("تمام صفحه"), {}, [this] { fitPage(); });
    bar->addSeparator();
    action("firstPage", QStringLiteral("صفحه اول"), QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(0); });
    action("previousPage", QStringLiteral("صفحه قبل"), {}, [this] { showPage(currentPage() - 1); });
    m_page = new QSpinBox(this);
    m_page->setObjectName(QStringLiteral("page"));
    m_page->setRange(1, std::max(1, pageCount()));
    m_page->setAlignment(Qt::AlignCenter);
    m_page->setKeyboardTracking(false);
    bar->addWidget(m_page);
    m_pageTotal = new QLabel(this);
    m_pageTotal->setObjectName(QStringLiteral("pageTotal"));
    bar->addWidget(m_pageTotal);
    action("nextPage", QStringLiteral("صفحه بعد"), {}, [this] { showPage(currentPage() + 1); });
    action("lastPage", QStringLiteral("صفحه آخر"), QKeySequence(Qt::CTRL | Qt::Key_End),
           [this] { showPage(pageCount() - 1); });
    bar->addSeparator();
    action("close", QStringLiteral("بستن"), {}, [this] { accept(); });
    connect(m_page, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != currentPage())
            showPage(page - 1);
    });
    m_pages->scrolled = [this] { updatePageNumber(); };
    if (m_filling) {
        // A slice at a time, whenever the events waiting are handled.
        m_fillTimer = new QTimer(this);
        m_fillTimer->setInterval(0);
        connect(m_fillTimer, &QTimer::timeout, this, [this] { fillSome(); });
        m_fillTimer->start();
    }
    pagesChanged();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_pages, 1);
    m_pages->setFocus();
}

PrintPreview::~PrintPreview() = default;

int PrintPreview::pageCount() const
{
    return m_pages->pageCount();
}

int PrintPreview::currentPage() const
{
    return m_pages->currentPage();
}

void PrintPreview::showPage(int page)
{
    m_pages->showPage(page);
}

double PrintPreview::zoom() const
{
    return m_pages->zoom();
}

void PrintPreview::setZoom(double zoom)
{
    m_pages->setZoom(zoom);
}

void PrintPreview::fitWidth()
{
    m_pages->fit(PreviewPages::Fit::Width);
}

void PrintPreview::fitPage()
{
    m_pages->fit(PreviewPages::Fit::Page);
}

double PrintPreview::shownDpi() const
{
    return m_pages->dpi();
}

QRect PrintPreview::pageRect(int page) const
{
    return m_pages->pageRect(page);
}

void PrintPreview::fillSome()
{
    if (!m_filling)
        return;
    const int before = pageCount();
    bool more = false;
    try {
        more = m_filling->fillMore();
    } catch (...) {
        failed();
        return;
    }
    if (!more) {
        m_filling = nullptr;
        m_fillTimer->stop();
    } else if (pageCount() == before) {
        return;
    }
    pagesChanged();
}

void PrintPreview::completeFilling()
{
    if (!m_filling)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        while (m_filling->fillMore()) {
        }
    } catch (...) {
        QApplication::restoreOverrideCursor();
        failed();
        return;
    }
    QApplication::restoreOverrideCursor();
    if (m_fillTimer)
        m_fillTimer->stop();
    m_filling = nullptr;
    pagesChanged();
}

void PrintPreview::failed()
{
    m_failure = std::current_exception();
    m_filling = nullptr;
    m_fillTimer->stop();
    reject();
}

void PrintPreview::pagesChanged()
{
    m_pages->pagesGrew(m_filling);
    {
        const QSignalBlocker block(m_page);
        m_page->setRange(1, std::max(1, pageCount()));
    }
    m_pageTotal->setText((m_filling ? kPageTotalSoFar : kPageTotal).arg(pageCount()));
    updatePageNumber();
}

void PrintPreview::updatePageNumber()
{
    const QSignalBlocker block(m_page);
    m_page->setValue(currentPage() + 1);
}

void PrintPreview::print()
{
    // The printer dialog offers the whole document's pages.
    completeFilling();
    if (m_failure)
        return;
    QPrinter printer(QPrinter::HighResolution);
    m_document.configurePrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max(1, pageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialogs().exec(&dialog) != QDialog::Accepted)
        return;
    if (!m_document.print(&printer))
        dialogs().error(kPrintFailed);
}

} // namespace tavrin::doc
