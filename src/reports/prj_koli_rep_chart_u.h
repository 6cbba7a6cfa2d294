#pragma once
// The status chart: the user's project status table (prj_koli_rep) drawn as
// one series, per province for the whole country or per county of one
// province, counting projects, registered units, storage rooms, parking
// spaces, applicants or all of them together.  The kind of chart, colours,
// marks, axes, legend and order are options of the window; the last chart's
// rows export to Excel and the chart prints.
#include "reports/report_build.h"

#include "common/windows.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QGraphicsSimpleTextItem;
class QLabel;
class QPushButton;
class QRadioButton;
class QButtonGroup;
class QToolButton;

class QChart;
class QChartView;
class QAbstractSeries;
class QLineSeries;

namespace tavrin {

class Tprj_koli_rep_chart : public TWindow {
    Q_OBJECT
public:
    Tprj_koli_rep_chart();

    // The six charts, in the order of their buttons BitBtn7, BitBtn1 ... BitBtn5.
    enum class Chart { Overall, Projects, Units, Storage, Parking, Applicants };
    enum class Kind { Bar, Area, Point, Line, Pie };

    struct Point {
        QString label;
        qint64 value = 0;
    };

    // The chart's statement for the user over his status table.
    // national: per province; otherwise per county of the province.
    static reports::Statement chartStatement(Chart chart, bool national, const QString& province, bool sortXY,
                                             qint64 prsId);
    static QString chartTitle(Chart chart);

    // Fills the province list once and sets the user's province.
    void prepareToShow() override;
    // "تاريخ و زمان ساخت گزارش:" and the build's date and time.
    void setStamp(const QString& text);
    // After a rebuild, or on the first opening: the chart on show is drawn
    // again from the rows as they are now (the overall chart when none was
    // drawn yet).
    void refreshAfterBuild();
    bool hasChart() const { return m_shown.has_value(); }

    const QList<Point>& points() const { return m_points; }
    QString title() const;
    const reports::Statement& lastStatement() const { return m_last; }
    Kind kind() const;
    // The point labels as drawn (empty when marks are off).
    QStringList marks() const;
    QChart* chart() const { return m_chart; }
    // The chart as printed.
    QImage chartImage(const QSize& size) const;

public Q_SLOTS:
    void draw(Chart chart);
    void BitBtn7Click() { draw(Chart::Overall); }
    void BitBtn1Click() { draw(Chart::Projects); }
    void BitBtn2Click() { draw(Chart::Units); }
    void BitBtn3Click() { draw(Chart::Storage); }
    void BitBtn4Click() { draw(Chart::Parking); }
    void BitBtn5Click() { draw(Chart::Applicants); }
    void BitBtn6Click();        // print
    void SpeedButton1Click();   // Excel of the last chart's rows
    void rep_typChange();
    void redraw();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void placeMarks();
    QColor pointColour() const;

    QLabel* zaman;
    QComboBox* rep_typ;
    QComboBox* ostan;
    QPushButton *BitBtn7, *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6;
    QToolButton* SpeedButton1;
    QButtonGroup* RadioGroup1;
    QCheckBox *Monochrome, *Axis, *Legend, *View3D, *Gradient, *Marks, *CheckBox1, *sort_check;
    QComboBox *MarksStyle, *chartcolor;
    QChart* m_chart;
    QChartView* m_view;
    QList<QGraphicsSimpleTextItem*> m_marks;
    QAbstractSeries* m_series = nullptr;
    QLineSeries* m_areaLine = nullptr;  // the line bounding an area series, which does not own it
    std::optional<Chart> m_shown;
    QList<Point> m_points;
    reports::Statement m_last;
    bool m_filled = false;
};

} // namespace tavrin
