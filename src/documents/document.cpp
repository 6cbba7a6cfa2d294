#include "documents/document.h"

#include "common/dialogs.h"
#include "documents/preview.h"
#include "documents/textlayout.h"

#include <QApplication>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

namespace tavrin::doc {

const QString kTextCutWarning = QStringLiteral("متن زير در جاي خود جا نشد و کوتاه چاپ مي شود:");

QSizeF PageSetup::paperSize() const
{
    const QSizeF portrait = paper == Paper::A5 ? QSizeF(148, 210) : QSizeF(210, 297);
    return orientation == Orientation::Landscape ? portrait.transposed() : portrait;
}

QRectF PageSetup::contentRect() const
{
    return QRectF(QPointF(0, 0), paperSize()).marginsRemoved(margins);
}

QStringList Document::texts(int page) const
{
    QStringList out;
    for (const Element& e : m_pages.at(page).elements)
        if (e.isText())
            out << e.text;
    return out;
}

QStringList Document::texts(int page, Role role) const
{
    QStringList out;
    for (const Element& e : m_pages.at(page).elements)
        if (e.isText() && e.role == role)
            out << e.text;
    return out;
}

QList<Element> Document::elements(int page, Role role) const
{
    QList<Element> out;
    for (const Element& e : m_pages.at(page).elements)
        if (e.role == role)
            out << e;
    return out;
}

QString Document::plainText() const
{
    QStringList pages;
    for (int i = 0; i < pageCount(); ++i)
        pages << texts(i).join(QLatin1Char('\n'));
    return pages.join(QLatin1Char('\f'));
}

QList<Overflow> Document::cutTexts() const
{
    QList<Overflow> out;
    for (const Overflow& o : m_overflows)
        if (o.kind == Overflow::Kind::Cut)
            out << o;
    return out;
}

void Document::append(const Document& other)
{
    for (Overflow o : other.m_overflows) {
        o.page += pageCount();
        m_overflows.append(o);
    }
    if (m_pages.isEmpty())
        m_setup = other.m_setup;
    else if (!(m_setup == other.m_setup))
        qWarning("tavrin.documents: appending pages of another paper size; they print on this document's paper");
    m_pages.append(other.m_pages);
    for (auto it = other.m_fields.cbegin(); it != other.m_fields.cend(); ++it)
        m_fields.insert(it.key(), it.value());
}

Page& Document::addPage()
{
    m_pages.append(Page{});
    return m_pages.last();
}

void Document::configurePrinter(QPrinter& printer) const
{
    const QPageSize size(m_setup.paper == Paper::A5 ? QPageSize::A5 : QPageSize::A4);
    const auto orientation = m_setup.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait;
    printer.setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    // Elements are placed from the paper's corner; the layout's own margins keep them off the edge.
    printer.setFullPage(true);
}

void Document::paintPage(QPainter& painter, int page, const std::function<void(int)>& beforeElement) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QList<Element>& elements = m_pages.at(page).elements;
    for (int i = 0; i < elements.size(); ++i) {
        if (beforeElement)
            beforeElement(i);
        paintElement(painter, elements.at(i));
    }
    painter.restore();
}

void Document::paintElement(QPainter& painter, const Element& e) const
{
    const QPaintDevice* device = painter.device();
    const double kx = device->logicalDpiX() / 25.4;
    const double ky = device->logicalDpiY() / 25.4;
    const auto toDevice = [&](const QRectF& mm) {
        return QRectF(mm.x() * kx, mm.y() * ky, mm.width() * kx, mm.height() * ky);
    };
    switch (e.kind) {
    case Element::Kind::Text:
        if (!e.text.isEmpty())
            detail::layoutText(e.laidText(), e.boldRuns, e.style, device, toDevice(e.rect), &painter,
                               e.isPart() ? e.firstLine : 0, e.isPart() ? e.lineCount : -1);
        break;
    case Element::Kind::Line: {
        QPen pen(e.stroke, e.penWidth * kx);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(e.rect.left() * kx, e.rect.top() * ky),
                         QPointF(e.rect.right() * kx, e.rect.bottom() * ky));
        break;
    }
    case Element::Kind::Box: {
        if (e.penWidth > 0) {
            QPen pen(e.stroke, e.penWidth * kx);
            pen.setJoinStyle(Qt::MiterJoin);
            painter.setPen(pen);
        } else {
            painter.setPen(Qt::NoPen);
        }
        painter.setBrush(e.fill.isValid() ? QBrush(e.fill) : QBrush(Qt::NoBrush));
        painter.drawRect(toDevice(e.rect));
        painter.setBrush(Qt::NoBrush);
        break;
    }
    case Element::Kind::Image:
        if (!e.image.isNull())
            painter.drawImage(toDevice(e.rect), e.image);
        break;
    }
}

bool Document::print(QPrinter* printer) const
{
    // The pages the printer dialog named, else all.
    int first = 0;
    int last = pageCount() - 1;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = printer->fromPage() - 1;
        last = std::min(last, std::max(first, printer->toPage() - 1));
    }
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    // A printer not set up by configurePrinter() paints from its printable
    // area; move the origin back to the paper's corner.
    const QRectF paper = printer->paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer->pageRect(QPrinter::DevicePixel);
    painter.translate(paper.topLeft() - printable.topLeft());
    for (int i = first; i <= last; ++i) {
        if (i > first)
            printer->newPage();
        paintPage(painter, i);
    }
    return painter.end();
}

bool Document::renderToPdf(const QString& path, const QString& title) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setCreator(QStringLiteral("Tavrin"));
    printer.setDocName(title);
    configurePrinter(printer);
    return print(&printer) && QFileInfo(path).size() > 0;
}

QImage Document::toImage(int page, int dpi) const
{
    const QSizeF mm = m_setup.paperSize();
    QImage image(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi), QImage::Format_ARGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page);
    painter.end();
    return image;
}

int Document::showPreview(const QString& title) const
{
    const QList<Overflow> cut = cutTexts();
    if (!cut.isEmpty()) {
        QStringList texts;
        for (const Overflow& o : cut) {
            QString t = o.text.simplified();
            if (t.size() > 60)
                t = t.left(60) + QChar(0x2026);
            if (!texts.contains(t))
                texts << t;
        }
        dialogs().warning(kTextCutWarning + QLatin1Char('\n') + texts.mid(0, 10).join(QLatin1Char('\n')));
    }
    PrintPreview preview(*this, QApplication::activeWindow());
    if (!title.isEmpty())
        preview.setWindowTitle(title);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        preview.resize(available.size() * 0.9);
        preview.move(available.center() - preview.rect().center());
    }
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    return dialogs().exec(&preview);
}

QString persianDigits(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(0x06F0 + (c.unicode() - '0'));
    return out;
}

QString groupThousands(const QString& number)
{
    const QString trimmed = number.trimmed();
    int start = 0;
    if (trimmed.startsWith(QLatin1Char('-')) || trimmed.startsWith(QLatin1Char('+')))
        start = 1;
    const qsizetype point = trimmed.indexOf(QLatin1Char('.'));
    const qsizetype wholeEnd = point < 0 ? trimmed.size() : point;
    if (wholeEnd == start)
        return number;
    for (qsizetype i = start; i < trimmed.size(); ++i)
        if (!trimmed.at(i).isDigit() && i != point)
            return number;
    QString digits = trimmed.mid(start, wholeEnd - start);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    QString fraction = point < 0 ? QString() : trimmed.mid(point + 1);
    bool zeros = true;
    for (const QChar c : fraction)
        zeros = zeros && c == QLatin1Char('0');
    // Whole amounts stored with decimals print whole.
    if (zeros)
        fraction.clear();
    return trimmed.left(start) + digits + (fraction.isEmpty() ? QString() : QLatin1Char('.') + fraction);
}

} // namespace tavrin::doc
