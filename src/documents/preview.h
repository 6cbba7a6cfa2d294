#pragma once
// The print preview of a document (object name "preview").  Its pages are
// images painted by Document::paintPage, the very drawing the printer and the
// PDF file get: the same text layout (laid out at printer resolution), the
// same fonts and the same direction, only at the screen's resolution.
// (Qt's own preview records a page as a QPicture and lays every piece of
// text out again on its own when it replays it, which scatters the letters of
// justified Persian lines, drops the blanks between fixed words and values
// and moves a paragraph's final period to its start.)
//
// The tool bar prints (through the printer dialog), zooms, fits the page or
// its width to the window and moves between the pages, which lie one below
// the other.  Only the pages in view are painted, and the images of a few
// are kept.
//
// A preview given a DocumentFilling opens on the pages laid out so far: it
// lays the rest out in slices between the events it handles, shows the pages
// that are done as they come and their count as "از بيش از N" until the
// last one is known; printing waits for the whole document.  Closing it
// stops the filling.
#include "documents/document.h"

#include <QDialog>
#include <QHash>

#include <exception>

class QAbstractScrollArea;
class QLabel;
class QTimer;
class QSpinBox;

namespace tavrin::doc {

class PreviewPages;

class PrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreview(const Document& document, QWidget* parent = nullptr, DocumentFilling* filling = nullptr);
    ~PrintPreview() override;

    // The pages shown (while filling: those done so far).
    int pageCount() const;
    // Whether pages are still being laid out.
    bool isFilling() const { return m_filling != nullptr; }
    // Lays out the rest now (printing does).
    void completeFilling();
    // What stopped the filling (the rows could not be read): the preview
    // closes, and Document::showPreview throws it again to its caller.
    std::exception_ptr failure() const { return m_failure; }
    // The page at the top of the view (from 0).
    int currentPage() const;
    void showPage(int page);

    // 1 shows the paper at its real size on the screen.
    double zoom() const;
    void setZoom(double zoom);
    void fitWidth();
    void fitPage();
    // Dots per inch of the pages as shown (the screen's resolution times the zoom).
    double shownDpi() const;
    // Where a page lies in the view's viewport, in its pixels.
    QRect pageRect(int page) const;

    // Asks for a printer and prints the pages it names; a failure is shown.
    void print();

    static const QString kPrintFailed;
    // " از %1 " once the count is known, else the pages done so far.
    static const QString kPageTotal;
    static const QString kPageTotalSoFar;

private:
    void updatePageNumber();
    void fillSome();
    void failed();
    void pagesChanged();

    const Document& m_document;
    DocumentFilling* m_filling = nullptr;
    QTimer* m_fillTimer = nullptr;
    std::exception_ptr m_failure;
    PreviewPages* m_pages = nullptr;
    QSpinBox* m_page = nullptr;
    QLabel* m_pageTotal = nullptr;
};

} // namespace tavrin::doc
