#include "reports/prj_koli_rep_chart_u.h"

#include "reports/report_texts.h"

#include "common/dialogs.h"
#include "common/lookups.h"
#include "common/session.h"
#include "common/xlsxexport.h"
#include "db/database.h"
#include "documents/layout.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QButtonGroup>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsDropShadowEffect>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPushButton>
#include <QRadioButton>
#include <QScatterSeries>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace tavrin {

using reports::Statement;

namespace {

const QStringList kCheckNames {QStringLiteral("Monochrome"), QStringLiteral("Axis"), QStringLiteral("Legend"),
                               QStringLiteral("View3D"), QStringLiteral("Gradient"), QStringLiteral("Marks")};

QColor namedColour(int index)
{
    static const QList<QColor> colours {Qt::black, Qt::yellow, Qt::red, QColor(0, 160, 0)};
    return colours.value(index, Qt::red);
}

QBrush fill(const QColor& c, bool gradient)
{
    if (!gradient)
        return QBrush(c);
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectMode);
    g.setColorAt(0, c.lighter(170));
    g.setColorAt(1, c.darker(130));
    return QBrush(g);
}

} // namespace

Statement Tprj_koli_rep_chart::chartStatement(Chart chart, bool national, const QString& province, bool sortXY,
                                              qint64 prsId)
{
    // Projects are the rows that carry a project's counts (its first row), so a
    // project with several facilities counts once.
    QString value;
    QString column = QStringLiteral("c");
    switch (chart) {
    case Chart::Overall:
        value = QStringLiteral("count(vahed_sabt)+coalesce(sum(coalesce(vahed_sabt,0)+coalesce(vahed_f,0)+"
                               "coalesce(anbari_sabt,0)+coalesce(parking_sabt,0)),0) as c");
        break;
    case Chart::Projects:
        value = QStringLiteral("count(vahed_sabt) as c");
        break;
    case Chart::Units:
        column = QStringLiteral("vahed_sabt");
        break;
    case Chart::Storage:
        column = QStringLiteral("anbari_sabt");
        break;
    case Chart::Parking:
        column = QStringLiteral("parking_sabt");
        break;
    case Chart::Applicants:
        column = QStringLiteral("vahed_f");
        break;
    }
    if (value.isEmpty())
        value = QStringLiteral("coalesce(sum(") + column + QStringLiteral("),0) as ") + column;
    Statement s;
    s.sql = (national ? QStringLiteral("select ostan,") : QStringLiteral("select ostan,shahrestan,")) + value +
            QStringLiteral(" from prj_koli_rep where ostan<>'' and prs_id=?");
    s.values << prsId;
    if (national) {
        s.sql += QStringLiteral(" group by ostan order by ");
        s.sql += chart == Chart::Overall && sortXY ? QStringLiteral("ostan,c") : column + QStringLiteral(",ostan");
    } else {
        s.sql += QStringLiteral(" group by ostan,shahrestan having ostan=? order by ");
        s.values << province;
        s.sql += chart == Chart::Overall && !sortXY ? QStringLiteral("c,shahrestan")
                                                    : QStringLiteral("ostan,shahrestan,") + column;
    }
    return s;
}

QString Tprj_koli_rep_chart::chartTitle(Chart chart)
{
    return reptext::kChartTitles.value(int(chart));
}

Tprj_koli_rep_chart::Tprj_koli_rep_chart() : TWindow(QStringLiteral("Tprj_koli_rep_chart"), reptext::kChartCaption)
{
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

    // The chart buttons and the scope (right).
    auto* controls = new QWidget(this);
    auto* cl = new QVBoxLayout(controls);
    cl->setContentsMargins(0, 0, 0, 0);
    auto* stampRow = new QHBoxLayout;
    stampRow->addWidget(makeLabel(controls, reptext::kChartStampCaption));
    cl->addLayout(stampRow);
    zaman = makeLabel(controls, QString(), QStringLiteral("zaman"));
    zaman->setLayoutDirection(Qt::LeftToRight);
    zaman->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cl->addWidget(zaman);
    auto* scope = new QGridLayout;
    scope->addWidget(makeLabel(controls, reptext::kRepTyp), 0, 0);
    rep_typ = makeCombo(controls, QStringLiteral("rep_typ"), false);
    rep_typ->addItems({reptext::kNational, reptext::kProvincial});
    scope->addWidget(rep_typ, 0, 1);
    scope->addWidget(makeLabel(controls, reptext::kProvinceCaption), 1, 0);
    ostan = makeCombo(controls, QStringLiteral("ostan"));
    ostan->setEnabled(false);
    scope->addWidget(ostan, 1, 1);
    cl->addLayout(scope);
    const auto button = [&](const QString& name, const QString& caption) {
        QPushButton* b = makeButton(controls, name, caption);
        b->setMinimumHeight(30);
        cl->addWidget(b);
        return b;
    };
    BitBtn7 = button(QStringLiteral("BitBtn7"), reptext::kBitBtn7);
    BitBtn1 = button(QStringLiteral("BitBtn1"), reptext::kBitBtn1);
    BitBtn2 = button(QStringLiteral("BitBtn2"), reptext::kBitBtn2);
    BitBtn3 = button(QStringLiteral("BitBtn3"), reptext::kBitBtn3);
    BitBtn4 = button(QStringLiteral("BitBtn4"), reptext::kBitBtn4);
    BitBtn5 = button(QStringLiteral("BitBtn5"), reptext::kBitBtn5);
    cl->addSpacing(12);
    BitBtn6 = button(QStringLiteral("BitBtn6"), reptext::kBitBtn6);
    SpeedButton1 = new QToolButton(controls);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(reptext::kExcel);
    SpeedButton1->setToolTip(reptext::kExcel);
    SpeedButton1->setMinimumHeight(30);
    SpeedButton1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    cl->addWidget(SpeedButton1);
    cl->addStretch();
    controls->setFixedWidth(230);

    // The chart (middle).
    m_chart = new QChart;
    m_chart->setTitle(reptext::kChartTitle);
    m_chart->setLocalizeNumbers(false);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("Chart1"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setLayoutDirection(Qt::LeftToRight);

    // The display options (left).
    auto* options = new QWidget(this);
    auto* ol = new QVBoxLayout(options);
    ol->setContentsMargins(0, 0, 0, 0);
    auto* kinds = new QGroupBox(reptext::kChartKind, options);
    kinds->setObjectName(QStringLiteral("RadioGroup1"));
    // Two columns of kinds and of check boxes: the options fit a laptop screen.
    auto* kl = new QGridLayout(kinds);
    RadioGroup1 = new QButtonGroup(this);
    for (int i = 0; i < reptext::kChartKinds.size(); ++i) {
        auto* r = new QRadioButton(reptext::kChartKinds.at(i), kinds);
        r->setObjectName(QStringLiteral("RadioGroup1_%1").arg(i));
        RadioGroup1->addButton(r, i);
        kl->addWidget(r, i / 2, i % 2);
    }
    RadioGroup1->button(0)->setChecked(true);
    ol->addWidget(kinds);
    QList<QCheckBox*> checks;
    auto* checkGrid = new QGridLayout;
    for (int i = 0; i < kCheckNames.size(); ++i) {
        auto* c = new QCheckBox(reptext::kChartOptions.at(i), options);
        c->setObjectName(kCheckNames.at(i));
        checkGrid->addWidget(c, int(checks.size()) / 2, int(checks.size()) % 2);
        checks << c;
    }
    ol->addLayout(checkGrid);
    Monochrome = checks[0];
    Axis = checks[1];
    Legend = checks[2];
    View3D = checks[3];
    Gradient = checks[4];
    Marks = checks[5];
    Axis->setChecked(true);
    Legend->setChecked(true);
    Marks->setChecked(true);
    const auto optionCombo = [&](const QString& name, const QString& caption, const QStringList& items, int current) {
        auto* box = new QGroupBox(caption, options);
        auto* l = new QVBoxLayout(box);
        QComboBox* c = makeCombo(box, name, false);
        c->addItems(items);
        c->setCurrentIndex(current);
        l->addWidget(c);
        ol->addWidget(box);
        return c;
    };
    MarksStyle = optionCombo(QStringLiteral("MarksStyle"), reptext::kMarksStyle, reptext::kMarksStyles, 0);
    chartcolor = optionCombo(QStringLiteral("chartcolor"), reptext::kColor, reptext::kColors, 2);
    CheckBox1 = new QCheckBox(reptext::kSortAscDes, options);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    ol->addWidget(CheckBox1);
    sort_check = new QCheckBox(reptext::kSortXY, options);
    sort_check->setObjectName(QStringLiteral("sort_check"));
    ol->addWidget(sort_check);
    ol->addStretch();
    options->setFixedWidth(240);

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->addWidget(controls);
    top->addWidget(m_view, 1);
    top->addWidget(options);
    resize(1200, 640);

    connect(BitBtn7, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn7Click);
    connect(BitBtn1, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &Tprj_koli_rep_chart::BitBtn6Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &Tprj_koli_rep_chart::SpeedButton1Click);
    connect(rep_typ, &QComboBox::currentIndexChanged, this, &Tprj_koli_rep_chart::rep_typChange);
    connect(RadioGroup1, &QButtonGroup::idClicked, this, &Tprj_koli_rep_chart::redraw);
    for (QCheckBox* c : checks + QList<QCheckBox*> {CheckBox1})
        connect(c, &QCheckBox::toggled, this, &Tprj_koli_rep_chart::redraw);
    connect(MarksStyle, &QComboBox::currentIndexChanged, this, &Tprj_koli_rep_chart::redraw);
    connect(chartcolor, &QComboBox::currentIndexChanged, this, &Tprj_koli_rep_chart::redraw);
    connect(m_chart, &QChart::plotAreaChanged, this, &Tprj_koli_rep_chart::placeMarks);
}

void Tprj_koli_rep_chart::prepareToShow()
{
    if (m_filled)
        return;
    try {
        const QSignalBlocker block(ostan);
        fillCombo(ostan, provinces());
        ostan->setEditText(session().ostan);
        ostan->setCurrentText(session().ostan);
        m_filled = true;
    } catch (const DbError& e) {
        reportFailure(reptext::kReadFailed, e);
    }
}

void Tprj_koli_rep_chart::setStamp(const QString& text)
{
    zaman->setText(text);
}

void Tprj_koli_rep_chart::rep_typChange()
{
    const bool provincial = rep_typ->currentIndex() == 1;
    ostan->setEnabled(provincial);
    ostan->setStyleSheet(provincial ? QStringLiteral("background-color: yellow;") : QString());
    if (provincial && isVisible())
        ostan->setFocus();
}

QString Tprj_koli_rep_chart::title() const
{
    return m_chart->title();
}

Tprj_koli_rep_chart::Kind Tprj_koli_rep_chart::kind() const
{
    return Kind(std::max(0, RadioGroup1->checkedId()));
}

void Tprj_koli_rep_chart::draw(Chart chart)
{
    const bool national = rep_typ->currentIndex() == 0;
    const Statement s = chartStatement(chart, national, ostan->currentText(), sort_check->isChecked(), session().prsId);
    QList<Point> points;
    try {
        QSqlQuery q = dm().exec(s.sql, s.values);
        const int valueColumn = national ? 1 : 2;
        while (q.next())
            points << Point {text(q.value(national ? 0 : 1)), reports::wholeNumber(q.value(valueColumn)).value_or(0)};
    } catch (const DbError& e) {
        reportFailure(reptext::kReadFailed, e);
        return;
    }
    m_chart->setTitle(chartTitle(chart));
    m_last = s;
    m_shown = chart;
    m_points = points;
    redraw();
}

void Tprj_koli_rep_chart::refreshAfterBuild()
{
    // A window opened for the first time shows the overall chart rather than
    // an empty frame.
    draw(m_shown.value_or(Chart::Overall));
}

QColor Tprj_koli_rep_chart::pointColour() const
{
    const QColor c = namedColour(chartcolor->currentIndex());
    if (!Monochrome->isChecked())
        return c;
    const int g = qGray(c.rgb());
    return QColor(g / 2, g / 2, g / 2);
}

void Tprj_koli_rep_chart::redraw()
{
    qDeleteAll(m_marks);
    m_marks.clear();
    m_chart->removeAllSeries();
    m_series = nullptr;
    // An area series does not own the line that bounds it.
    delete m_areaLine;
    m_areaLine = nullptr;
    for (QAbstractAxis* a : m_chart->axes()) {
        m_chart->removeAxis(a);
        delete a;
    }
    // Sort Asc/Des: the points in the reverse order of the statement's.
    QList<Point> pts = m_points;
    if (CheckBox1->isChecked())
        std::reverse(pts.begin(), pts.end());
    const QColor colour = pointColour();
    const bool gradient = Gradient->isChecked();
    const QString name = m_shown ? reptext::kChartTitles.value(int(*m_shown)).section(QStringLiteral(" - "), -1)
                                 : reptext::kChartTitle;
    qint64 top = 1;
    for (const Point& p : pts)
        top = std::max(top, p.value);

    if (kind() == Kind::Pie) {
        auto* pie = new QPieSeries;
        for (const Point& p : pts) {
            QPieSlice* slice = pie->append(p.label, double(p.value));
            slice->setBrush(fill(colour, gradient));
            slice->setPen(QPen(Qt::white, 1));
        }
        m_series = pie;
        m_chart->addSeries(pie);
    } else {
        QStringList labels;
        for (const Point& p : pts)
            labels << p.label;
        QAbstractAxis* x = nullptr;
        if (kind() == Kind::Bar) {
            auto* set = new QBarSet(name);
            for (const Point& p : pts)
                *set << double(p.value);
            set->setBrush(fill(colour, gradient));
            set->setPen(QPen(colour.darker(140)));
            auto* bars = new QBarSeries;
            bars->append(set);
            m_series = bars;
            auto* cat = new QBarCategoryAxis;
            cat->append(labels.isEmpty() ? QStringList {QString()} : labels);
            x = cat;
        } else {
            auto* line = kind() == Kind::Point ? static_cast<QXYSeries*>(new QScatterSeries) : new QLineSeries;
            for (int i = 0; i < pts.size(); ++i)
                line->append(i, double(pts.at(i).value));
            line->setName(name);
            line->setColor(colour);
            if (kind() == Kind::Line)
                line->setPointsVisible(true);
            if (kind() == Kind::Point)
                static_cast<QScatterSeries*>(line)->setBrush(fill(colour, gradient));
            if (kind() == Kind::Area) {
                m_areaLine = static_cast<QLineSeries*>(line);
                m_areaLine->setParent(this);
                auto* area = new QAreaSeries(m_areaLine);
                area->setName(name);
                area->setBrush(fill(colour, gradient));
                area->setPen(QPen(colour.darker(140), 2));
                m_series = area;
            } else {
                m_series = line;
            }
            auto* cat = new QCategoryAxis;
            cat->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
            for (int i = 0; i < labels.size(); ++i)
                cat->append(labels.at(i), i);
            cat->setRange(-0.5, std::max<qsizetype>(1, labels.size()) - 0.5);
            x = cat;
        }
        m_chart->addSeries(m_series);
        // Counts: the value axis is marked at whole steps of 1, 2 or 5 times a
        // power of ten (about five of them), so no two marks read the same.
        const qint64 wanted = std::max<qint64>(1, (top + 4) / 5);
        qint64 step = 1;
        while (step * 10 <= wanted)
            step *= 10;
        if (step < wanted)
            step *= wanted <= 2 * step ? 2 : wanted <= 5 * step ? 5 : 10;
        auto* y = new QValueAxis;
        y->setRange(0, double((top + top / 10) / step + 1) * double(step));
        y->setTickType(QValueAxis::TicksDynamic);
        y->setTickAnchor(0);
        y->setTickInterval(double(step));
        y->setLabelFormat(QStringLiteral("%d"));
        m_chart->addAxis(x, Qt::AlignBottom);
        m_chart->addAxis(y, Qt::AlignLeft);
        m_series->attachAxis(x);
        m_series->attachAxis(y);
        x->setVisible(Axis->isChecked());
        y->setVisible(Axis->isChecked());
        x->setLabelsAngle(labels.size() > 12 ? -90 : 0);
        // Slanted names take the room below the chart rather than being cut to "…".
        x->setTruncateLabels(false);
    }
    m_chart->legend()->setVisible(Legend->isChecked());
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->setTheme(Monochrome->isChecked() ? QChart::ChartThemeHighContrast : QChart::ChartThemeLight);
    // The theme resets the series' colours; apply them again.
    if (auto* pie = qobject_cast<QPieSeries*>(m_series)) {
        for (QPieSlice* s : pie->slices()) {
            s->setBrush(fill(colour, gradient));
            s->setPen(QPen(Qt::white, 1));
        }
    } else if (auto* bars = qobject_cast<QBarSeries*>(m_series)) {
        for (QBarSet* set : bars->barSets()) {
            set->setBrush(fill(colour, gradient));
            set->setPen(QPen(colour.darker(140)));
        }
    } else if (auto* area = qobject_cast<QAreaSeries*>(m_series)) {
        area->setBrush(fill(colour, gradient));
        area->setPen(QPen(colour.darker(140), 2));
    } else if (auto* xy = qobject_cast<QXYSeries*>(m_series)) {
        xy->setColor(colour);
        if (auto* scatter = qobject_cast<QScatterSeries*>(xy))
            scatter->setBrush(fill(colour, gradient));
    }
    m_chart->setBackgroundVisible(!View3D->isChecked());
    if (View3D->isChecked()) {
        auto* depth = new QGraphicsDropShadowEffect;
        depth->setOffset(5, 5);
        depth->setBlurRadius(6);
        depth->setColor(QColor(0, 0, 0, 110));
        m_chart->setGraphicsEffect(depth);
    } else {
        m_chart->setGraphicsEffect(nullptr);
    }

    // Point labels: the value, the label and value, or the X value.
    const int style = MarksStyle->currentIndex();
    const auto markText = [&](int i) -> QString {
        const Point& p = pts.at(i);
        switch (style) {
        case 1: return p.label + QLatin1Char(' ') + QString::number(p.value);
        case 2: return QString::number(i);
        default: return QString::number(p.value);
        }
    };
    if (auto* pie = qobject_cast<QPieSeries*>(m_series)) {
        for (int i = 0; i < pie->slices().size(); ++i) {
            QPieSlice* s = pie->slices().at(i);
            s->setLabel(Marks->isChecked() ? markText(i) : pts.at(i).label);
            s->setLabelVisible(Marks->isChecked());
        }
    } else if (Marks->isChecked()) {
        for (int i = 0; i < pts.size(); ++i) {
            auto* item = new QGraphicsSimpleTextItem(markText(i), m_chart);
            item->setBrush(Monochrome->isChecked() ? QBrush(Qt::black) : QBrush(colour.darker(170)));
            item->setData(0, i);
            m_marks << item;
        }
    }
    placeMarks();
}

void Tprj_koli_rep_chart::placeMarks()
{
    if (!m_series || m_marks.isEmpty())
        return;
    const int n = int(m_marks.size());
    for (QGraphicsSimpleTextItem* item : std::as_const(m_marks)) {
        const int i = item->data(0).toInt();
        QList<Point> pts = m_points;
        if (CheckBox1->isChecked())
            std::reverse(pts.begin(), pts.end());
        if (i >= pts.size())
            continue;
        // Bars stand on their category (index i); the other series on x = i.
        const QPointF at = m_chart->mapToPosition(QPointF(i, double(pts.at(i).value)), m_series);
        const QRectF r = item->boundingRect();
        item->setPos(at.x() - r.width() / 2, at.y() - r.height() - 3);
        item->setVisible(n > 0);
    }
}

QStringList Tprj_koli_rep_chart::marks() const
{
    QStringList out;
    if (auto* pie = qobject_cast<QPieSeries*>(m_series)) {
        for (QPieSlice* s : pie->slices())
            if (s->isLabelVisible())
                out << s->label();
        return out;
    }
    for (const QGraphicsSimpleTextItem* item : m_marks)
        out << item->text();
    return out;
}

void Tprj_koli_rep_chart::resizeEvent(QResizeEvent* e)
{
    TWindow::resizeEvent(e);
    placeMarks();
}

QImage Tprj_koli_rep_chart::chartImage(const QSize& size) const
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    m_view->render(&p, QRectF(QPointF(0, 0), QSizeF(size)), m_view->viewport()->rect(), Qt::KeepAspectRatio);
    return img;
}

void Tprj_koli_rep_chart::BitBtn6Click()
{
    // A landscape page with the window's caption, the build stamp and the chart.
    const doc::PageSetup setup {doc::Paper::A4, doc::Orientation::Landscape, QMarginsF(10, 10, 10, 10)};
    const QRectF content = setup.contentRect();
    const QSize pixels(m_view->viewport()->width() * 2, m_view->viewport()->height() * 2);
    const double height = std::min(content.height() - 14, content.width() * pixels.height() / std::max(1, pixels.width()));
    doc::PageLayout page(setup);
    page.text(QRectF(content.left(), content.top(), content.width(), 8), reptext::kChartCaption,
              doc::TextStyle().pt(13).bold().centre())
        .text(QRectF(content.left(), content.top() + 8, content.width(), 6),
              reptext::kChartStampCaption + QLatin1Char(' ') + zaman->text(), doc::TextStyle().pt(9).centre())
        .image(QRectF(content.left(), content.top() + 14, content.width(), height), chartImage(pixels));
    page.fill(QVariantMap()).showPreview(reptext::kChartCaption);
}

void Tprj_koli_rep_chart::SpeedButton1Click()
{
    if (m_last.sql.isEmpty())
        return;
    HeaderMap headers {{QStringLiteral("c"), m_chart->title()},
                       {QStringLiteral("ostan"), reptext::kSabtColumns.at(0).second},
                       {QStringLiteral("shahrestan"), reptext::kSabtColumns.at(1).second}};
    exportListToExcel(QStringLiteral("chart"), m_last.sql, m_last.values, headers);
}

} // namespace tavrin

#include "moc_prj_koli_rep_chart_u.cpp"
