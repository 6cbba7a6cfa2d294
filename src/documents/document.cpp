#include "documents/document.h"

#include "common/dialogs.h"
#include "db/privatefiles.h"
#include "documents/preview.h"
#include "documents/textlayout.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryFile>

#include <optional>

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

// Finished pages of a long document in a temporary file.  Each page is one
// record; the styles and column names its elements repeat are written once
// in tables kept in memory (a list has a handful of each), so a page of a
// list costs a few bytes per cell on disk and nothing in memory.
class PageSpool {
public:
    bool open()
    {
        m_file.setFileTemplate(QDir(programDataFolder()).filePath(QStringLiteral("pages-XXXXXX")));
        return m_file.open();
    }

    int size() const { return int(m_offsets.size()) - 1; }

    bool write(const Page& page)
    {
        m_buffer.clear();
        {
            QDataStream out(&m_buffer, QIODevice::WriteOnly);
            out.setVersion(QDataStream::Qt_6_4);
            out << qint32(page.elements.size());
            for (const Element& e : page.elements)
                writeElement(out, e);
        }
        if (!m_file.seek(m_offsets.last()) || m_file.write(m_buffer) != m_buffer.size())
            return false;
        m_offsets.append(m_offsets.last() + m_buffer.size());
        return true;
    }

    std::optional<Page> read(int index)
    {
        const qint64 from = m_offsets.at(index);
        const qint64 length = m_offsets.at(index + 1) - from;
        if (!m_file.seek(from))
            return std::nullopt;
        const QByteArray bytes = m_file.read(length);
        if (bytes.size() != length)
            return std::nullopt;
        QDataStream in(bytes);
        in.setVersion(QDataStream::Qt_6_4);
        qint32 count = 0;
        in >> count;
        Page page;
        page.elements.reserve(count);
        for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i)
            page.elements.append(readElement(in));
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        return page;
    }

private:
    // What an element looks like: its text style and its pen and fill.
    struct Look {
        TextStyle style;
        double penWidth = 0;
        QColor stroke;
        QColor fill;
        friend bool operator==(const Look&, const Look&) = default;
    };
    enum Flag : quint8 { BoldRuns = 1, Fields = 2, Image = 4, Flowing = 8, Part = 16 };

    friend size_t qHash(const Look& l, size_t seed = 0)
    {
        return qHashMulti(seed, l.style.family, l.style.pointSize, l.style.isBold, int(l.style.alignment),
                          l.style.color.rgba(), l.penWidth, l.stroke.rgba(), l.fill.rgba());
    }

    // Shrunk texts give a style of their own to every size they take, so a
    // long list may hold many.
    template <typename T>
    static quint32 indexIn(QList<T>& table, QHash<T, quint32>& index, const T& value)
    {
        const auto found = index.constFind(value);
        if (found != index.cend())
            return found.value();
        table.append(value);
        index.insert(value, quint32(table.size() - 1));
        return quint32(table.size() - 1);
    }

    void writeElement(QDataStream& out, const Element& e)
    {
        quint8 flags = 0;
        if (!e.boldRuns.isEmpty())
            flags |= BoldRuns;
        if (!e.fields.isEmpty())
            flags |= Fields;
        if (!e.image.isNull())
            flags |= Image;
        if (e.flowing)
            flags |= Flowing;
        if (e.isPart())
            flags |= Part;
        out << quint8(e.kind) << quint8(e.role) << flags << e.rect << e.text
            << indexIn(m_looks, m_lookIndex, Look {e.style, e.penWidth, e.stroke, e.fill})
            << indexIn(m_columns, m_columnIndex, e.column)
            << qint32(e.row);
        if (flags & BoldRuns)
            out << e.boldRuns;
        if (flags & Fields)
            out << e.fields;
        if (flags & Image)
            out << e.image;
        if (flags & Part)
            out << e.source << qint32(e.firstLine) << qint32(e.lineCount);
    }

    Element readElement(QDataStream& in) const
    {
        Element e;
        quint8 kind = 0, role = 0, flags = 0;
        quint32 look = 0, column = 0;
        qint32 row = -1;
        in >> kind >> role >> flags >> e.rect >> e.text >> look >> column >> row;
        e.kind = Element::Kind(kind);
        e.role = Role(role);
        if (look < m_looks.size()) {
            const Look& l = m_looks.at(look);
            e.style = l.style;
            e.penWidth = l.penWidth;
            e.stroke = l.stroke;
            e.fill = l.fill;
        }
        e.column = m_columns.value(column);
        e.row = row;
        e.flowing = flags & Flowing;
        if (flags & BoldRuns)
            in >> e.boldRuns;
        if (flags & Fields)
            in >> e.fields;
        if (flags & Image)
            in >> e.image;
        if (flags & Part) {
            qint32 first = 0, count = -1;
            in >> e.source >> first >> count;
            e.firstLine = first;
            e.lineCount = count;
        }
        return e;
    }

    QTemporaryFile m_file;
    QList<qint64> m_offsets {0};
    QByteArray m_buffer;
    QList<Look> m_looks;
    QHash<Look, quint32> m_lookIndex;
    QList<QString> m_columns;
    QHash<QString, quint32> m_columnIndex;
};

namespace {

// Pages read back and kept for the next calls of Document::page().
constexpr int kPagesReadBack = 4;

// {page} and {pages} in the texts of one page that show them (a total below
// 0: not known yet, "…").
void numberPage(Page& page, int number, int total, bool persian)
{
    const QString tokens[2] = {QStringLiteral("{page}"), QStringLiteral("{pages}")};
    const QString n = QString::number(number);
    const QString t = total < 0 ? QString(QChar(0x2026)) : QString::number(total);
    const QString values[2] = {persian ? persianDigits(n) : n, persian ? persianDigits(t) : t};
    const auto replace = [&](QString& text, QList<QPair<int, int>>* runs) {
        for (int k = 0; k < 2; ++k) {
            for (qsizetype at = text.indexOf(tokens[k]); at >= 0; at = text.indexOf(tokens[k], at)) {
                const int delta = int(values[k].size() - tokens[k].size());
                text.replace(at, tokens[k].size(), values[k]);
                if (runs)
                    for (auto& run : *runs)
                        if (run.first > at)
                            run.first += delta;
                at += values[k].size();
            }
        }
    };
    for (Element& e : page.elements) {
        if (!e.isText() || !(e.fields.contains(QLatin1String("page")) || e.fields.contains(QLatin1String("pages"))))
            continue;
        if (e.isPart()) {
            replace(e.source, &e.boldRuns);
            replace(e.text, nullptr);
        } else {
            replace(e.text, &e.boldRuns);
        }
    }
}

} // namespace

const Page& Document::page(int index) const
{
    if (index >= m_spilled)
        return m_pages.at(index - m_spilled);
    const qsizetype held = m_readBackIndex.indexOf(index);
    if (held >= 0)
        return *m_readBack.at(held);
    auto read = std::make_shared<Page>();
    if (std::optional<Page> p = m_spool->read(index)) {
        *read = std::move(*p);
        if (m_numbering >= 0)
            numberPage(*read, index + 1, pageCount(), m_numbering == 1);
    } else {
        qWarning("tavrin.documents: page %d could not be read back from its temporary file", index + 1);
    }
    if (m_readBack.size() >= kPagesReadBack) {
        m_readBack.removeLast();
        m_readBackIndex.removeLast();
    }
    m_readBack.prepend(read);
    m_readBackIndex.prepend(index);
    return *read;
}

void Document::spillPagesBefore(int page)
{
    page = std::min(page, pageCount());
    if (page <= m_spilled)
        return;
    if (!m_spool) {
        auto spool = std::make_shared<PageSpool>();
        if (!spool->open()) {
            qWarning("tavrin.documents: no temporary file for the pages; they stay in memory");
            return;
        }
        m_spool = std::move(spool);
    }
    // Copies share the file: one that wrote fewer pages than it holds would
    // find another's pages at its next index.
    if (m_spool->size() != m_spilled)
        return;
    while (m_spilled < page) {
        if (!m_spool->write(m_pages.first())) {
            qWarning("tavrin.documents: the temporary file of the pages could not be written; they stay in memory");
            return;
        }
        m_pages.removeFirst();
        ++m_spilled;
    }
}

void Document::numberPages(bool persianDigits)
{
    m_numbering = persianDigits ? 1 : 0;
    for (int i = m_spilled; i < pageCount(); ++i)
        numberPage(mutablePage(i), i + 1, pageCount(), persianDigits);
    m_readBack.clear();
    m_readBackIndex.clear();
}

QStringList Document::texts(int page) const
{
    QStringList out;
    for (const Element& e : this->page(page).elements)
        if (e.isText())
            out << e.text;
    return out;
}

QStringList Document::texts(int page, Role role) const
{
    QStringList out;
    for (const Element& e : this->page(page).elements)
        if (e.isText() && e.role == role)
            out << e.text;
    return out;
}

QList<Element> Document::elements(int page, Role role) const
{
    QList<Element> out;
    for (const Element& e : this->page(page).elements)
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
    for (int i = 0; i < other.pageCount(); ++i)
        m_pages.append(other.page(i));
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
    const Page& stored = this->page(page);
    std::optional<Page> numbered;
    if (m_numbering < 0 && m_numberingWhileFilling >= 0) {
        numbered = stored;
        numberPage(*numbered, page + 1, -1, m_numberingWhileFilling == 1);
    }
    const QList<Element>& elements = numbered ? numbered->elements : stored.elements;
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

int Document::showPreview(const QString& title, DocumentFilling* filling) const
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
    PrintPreview preview(*this, QApplication::activeWindow(), filling);
    if (!title.isEmpty())
        preview.setWindowTitle(title);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        preview.resize(available.size() * 0.9);
        preview.move(available.center() - preview.rect().center());
    }
    preview.setWindowState(preview.windowState() | Qt::WindowMaximized);
    const int result = dialogs().exec(&preview);
    if (preview.failure())
        std::rethrow_exception(preview.failure());
    return result;
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
