// The model diagnostics: Anscombe residuals against their closed form; the
// two plots' axes bracketing the data, observed and expected on one scale,
// tool tips, labelled reference lines, zoom, the saved images; availability.
#include "support/WindowFixture.h"

#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/plot/PlotChart.h"
#include "pages/plot/PlotForm.h"

#include <QAction>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolTip>
#include <QValueAxis>
#include <QXmlStreamReader>

#include <cmath>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// Rows whose residuals are given directly: the plots read the column as it is.
ObservedExpectedModel residualModel(const QList<double> &residuals)
{
    QList<pelk::ObservedExpectedRow> rows;
    for (int i = 0; i < residuals.size(); ++i)
        rows.append({QString("c%1").arg(i), 10.0 + i, 10.0, residuals[i]});
    return ObservedExpectedModel(rows, nullptr);
}

template<typename Series>
QList<Series *> seriesOf(const PlotChart *chart)
{
    QList<Series *> found;
    for (QAbstractSeries *series : chart->chart()->series())
        if (auto *s = qobject_cast<Series *>(series))
            found << s;
    return found;
}

QList<double> shown(const QValueAxis *axis)
{
    return {axis->min(), axis->max(), axis->tickInterval()};
}

} // namespace

class TestDiagnosticPlots : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;
    ResidualsPlotPage *residuals() const { return m_f->window.findChild<ResidualsPlotPage *>(); }
    ObservedExpectedPlotPage *observedExpected() const { return m_f->window.findChild<ObservedExpectedPlotPage *>(); }

    QChart *show(DiagnosticPlotPage *page, const ObservedExpectedModel &model)
    {
        page->setObservedExpectedModel(&model);
        m_f->window.resize(900, 650);
        m_f->window.show();
        m_f->window.showPage(page);
        return QTest::qWaitForWindowExposed(&m_f->window) ? page->chart()->chart() : nullptr;
    }

private slots:
    void init() { m_f = std::make_unique<WindowFixture>(); }
    void cleanup() { m_f.reset(); }

    // 1.5 (O^(2/3) - E^(2/3)) / E^(1/6); perfect cubes and sixth powers make
    // the powers exact by hand. Without a finite value the table says so.
    void residualsMatchTheClosedForm_data()
    {
        QTest::addColumn<double>("observed");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("residual");
        QTest::newRow("8 against 1") << 8.0 << 1.0 << 1.5 * (4.0 - 1.0);
        QTest::newRow("27 against 64") << 27.0 << 64.0 << 1.5 * (9.0 - 16.0) / 2.0;
        QTest::newRow("equal") << 125.0 << 125.0 << 0.0;
        QTest::newRow("expected 0, observed 5") << 5.0 << 0.0 << notANumber;
        QTest::newRow("abundance below the observed total") << -4.0 << 12.0 << notANumber;
    }

    void residualsMatchTheClosedForm()
    {
        QFETCH(double, observed);
        QFETCH(double, expected);
        QFETCH(double, residual);
        ObservedExpectedModel model({{"c", observed, expected, pelk::anscombeResidual(observed, expected)}}, nullptr);
        const QVariant shown = model.index(0, 3).data();
        if (std::isnan(residual))
            QCOMPARE(shown, QVariant(QString("--na--")));
        else
            QVERIFY2(std::abs(shown.toDouble() - residual) <= 1e-12 * std::max(1.0, std::abs(residual)),
                     qPrintable(shown.toString()));
    }

    // Points that coincide show every row's tool tip.
    void pointsCarryTheirCountsAsToolTip()
    {
        ObservedExpectedModel model({{"01", 30, 200.0 / 7.0, 0.25}, {"big", 1234567.0, 0.000123456789, 0}, {"twin", 30, 200.0 / 7.0, 0}}, nullptr);
        QCOMPARE(model.pointToolTip(0), QString("01:  Observed: 30, Expected: 28.5714"));
        QCOMPARE(model.pointToolTip(1), QString("big:  Observed: 1.23457e+06, Expected: 0.000123457"));
        QVERIFY(show(observedExpected(), model));
        QScatterSeries *points = seriesOf<QScatterSeries>(observedExpected()->chart()).value(0);
        emit points->hovered(points->at(1), true);
        QCOMPARE(QToolTip::text(), model.pointToolTip(1));
        emit points->hovered(points->at(0), true);
        QCOMPARE(QToolTip::text(), model.pointToolTip(0) + "\n" + model.pointToolTip(2));
    }

    void plotsWaitForAModelAndFollowTheLock()
    {
        QVERIFY(!residuals()->isAvailable());
        QVERIFY(!observedExpected()->isAvailable());
        const ObservedExpectedModel model({}, nullptr);
        residuals()->setObservedExpectedModel(&model);
        observedExpected()->setObservedExpectedModel(&model);
        QVERIFY(residuals()->isAvailable() && observedExpected()->isAvailable());
        emit m_f->window.clearEstimates();
        QVERIFY(!residuals()->isAvailable() && !observedExpected()->isAvailable());
        emit m_f->window.lockWorkspace();
        QVERIFY(residuals()->isAvailable() && observedExpected()->isAvailable());
    }

    // Axes as {first tick, last tick, step}. Observed and expected share the
    // range from 0 (or the lowest count) to the largest count of either
    // kind; residuals reach at least +-2.5, rows run from 0 to n + 1; rows
    // without a finite value have no point.
    void axesBracketTheData_data()
    {
        QTest::addColumn<bool>("residualPlot");
        QTest::addColumn<QList<double>>("observed");
        QTest::addColumn<QList<double>>("expected");
        QTest::addColumn<QList<double>>("residual");
        QTest::addColumn<QList<double>>("x");
        QTest::addColumn<QList<double>>("y");
        const QList<double> none, inside{-3, 3, 1}, fourRows{0, 4, 1};
        QTest::newRow("counts, an unobserved row below 0") << false << QList<double>{10, 20, 40, -4} << QList<double>{12, 30, 15, 0} << none
                                                           << QList<double>{-10, 40, 10} << QList<double>{-10, 40, 10};
        QTest::newRow("expected above every observed") << false << QList<double>{3, 5} << QList<double>{9, 2} << none << QList<double>{0, 10, 2} << QList<double>{0, 10, 2};
        QTest::newRow("small counts, one infinite") << false << QList<double>{0.5, 1, qInf()} << QList<double>{1.2, 0.7, 100} << none
                                                    << QList<double>{0, 1.2, 0.2} << QList<double>{0, 1.2, 0.2};
        QTest::newRow("no rows") << false << none << none << none << QList<double>{0, 1, 0.2} << QList<double>{0, 1, 0.2};
        QTest::newRow("residuals within 2.5") << true << none << none << QList<double>{1, -2, 0.5} << fourRows << inside;
        QTest::newRow("a residual of 5") << true << none << none << QList<double>{1.5, -2, 5} << fourRows << QList<double>{-6, 6, 2};
        QTest::newRow("residuals not finite") << true << none << none << QList<double>{notANumber, 1, -qInf()} << fourRows << inside;
        QTest::newRow("30 rows") << true << none << none << QList<double>(30, 0.0) << QList<double>{0, 35, 5} << inside;
    }

    void axesBracketTheData()
    {
        QFETCH(bool, residualPlot);
        QFETCH(QList<double>, observed);
        QFETCH(QList<double>, expected);
        QFETCH(QList<double>, residual);
        QFETCH(QList<double>, x);
        QFETCH(QList<double>, y);
        QList<pelk::ObservedExpectedRow> rows;
        int finite = 0;
        for (int i = 0; i < observed.size(); ++i) {
            rows.append({"c", observed[i], expected[i], 0});
            finite += std::isfinite(observed[i]);
        }
        for (double r : residual)
            finite += std::isfinite(r);
        DiagnosticPlotPage *page = residualPlot ? static_cast<DiagnosticPlotPage *>(residuals()) : observedExpected();
        const ObservedExpectedModel earlier = residualModel({1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0});
        page->setObservedExpectedModel(&earlier);
        const ObservedExpectedModel model = residualPlot ? residualModel(residual) : ObservedExpectedModel(rows, nullptr);
        page->setObservedExpectedModel(&model);
        QCOMPARE(shown(page->chart()->xAxis()), x);
        QCOMPARE(shown(page->chart()->yAxis()), y);
        QCOMPARE(seriesOf<QScatterSeries>(page->chart()).size(), 1);
        QCOMPARE(seriesOf<QScatterSeries>(page->chart())[0]->count(), finite);
    }

    // A point with observed = expected lies on the line, which runs at 45
    // degrees (one count as long across as up) at every zoom. The slider's
    // right end shows half of each axis; a drag moves the part shown, no
    // further than the ends.
    void observedEqualsExpectedLiesOnTheLineAtEveryZoom()
    {
        const ObservedExpectedModel model({{"a", 20, 20, 0}, {"b", 5, 35, 0}, {"c", 50, 10, 0}}, nullptr);
        QChart *chart = show(observedExpected(), model);
        QVERIFY(chart);
        PlotChart *plot = observedExpected()->chart();
        QLineSeries *line = seriesOf<QLineSeries>(plot).value(0);
        for (int zoom : {100, 200}) {
            observedExpected()->plotForm()->zoomSlider()->setValue(zoom);
            const QPointF a = chart->mapToPosition(line->at(0), line), b = chart->mapToPosition(line->at(1), line);
            const QPointF p = chart->mapToPosition(QPointF(20, 20), line);
            QVERIFY2(std::abs((b.x() - a.x()) + (b.y() - a.y())) < 1.0, qPrintable(QString::number(zoom)));
            QVERIFY(std::abs((b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x())) / QLineF(a, b).length() < 0.5);
            QVERIFY(chart->plotArea().contains(p) && chart->plotArea().height() > plot->height() / 2);
            // The axes are drawn where the points are placed: the vertical
            // axis's line runs up the left edge of the plot area.
            const QImage image = plot->viewport()->grab().toImage();
            const QPoint edge = QPointF(chart->plotArea().left(), chart->plotArea().center().y()).toPoint();
            QVERIFY(std::min({image.pixelColor(edge - QPoint(1, 0)).lightness(), image.pixelColor(edge).lightness(),
                              image.pixelColor(edge + QPoint(1, 0)).lightness()}) < 160);
        }
        QCOMPARE(shown(plot->xAxis()), (QList<double>{12.5, 37.5, 5}));
        QCOMPARE(shown(plot->yAxis()), (QList<double>{12.5, 37.5, 5}));
        const QPoint centre = chart->plotArea().center().toPoint();
        QTest::mousePress(plot->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseMove(plot->viewport(), centre + QPoint(300, 300));
        QTest::mouseRelease(plot->viewport(), Qt::LeftButton, {}, centre + QPoint(300, 300));
        QCOMPARE(shown(plot->xAxis()), (QList<double>{0, 25, 5}));
        QCOMPARE(shown(plot->yAxis()), (QList<double>{25, 50, 5}));
    }

    // Each dashed line has its value written just above its right end.
    void residualReferenceLinesAreLabelled()
    {
        QChart *chart = show(residuals(), residualModel({1.0, -3.0}));
        QVERIFY(chart);
        const QList<QGraphicsSimpleTextItem *> labels = residuals()->chart()->lineLabels();
        QCOMPARE(labels.size(), 2);
        const QList<double> heights{1.96, -1.96};
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(labels[i]->text(), i == 0 ? QString("+1.96") : QString("\u22121.96"));
            const QRectF box = labels[i]->mapRectToParent(labels[i]->boundingRect());
            const QPointF end = chart->mapToPosition(QPointF(residuals()->chart()->xAxis()->max(), heights[i]), chart->series()[0]);
            QVERIFY(labels[i]->isVisible() && chart->plotArea().contains(box));
            QVERIFY(std::abs(box.bottom() - end.y()) < 1.0 && std::abs(box.right() - end.x()) < 10.0);
        }
    }

    // The PNG is the plot's pixels (a point's centre is its colour); the SVG
    // is a drawing with a shape per point. A name ending in .svg is a
    // drawing whatever the filter; a failed write says so.
    void savedPlotsAreImagesOfThePlot()
    {
        QTemporaryDir dir;
        QChart *chart = show(residuals(), residualModel({1.0, -2.0, 0.5}));
        QVERIFY(chart);
        const QString png = "PNG image (*.png)", svg = "SVG drawing (*.svg)";
        m_f->dialogs->names << dir.filePath("plot") << dir.filePath("plot") << dir.filePath("drawing.svg") << dir.filePath("missing/plot");
        m_f->dialogs->selectedFilters << png << svg << png << png;
        m_f->answerer.answer(QMessageBox::Ok);
        for (int k = 0; k < 4; ++k)
            residuals()->plotForm()->saveAction()->trigger();
        QCOMPARE(m_f->dialogs->requests[0].filter, png + ";;" + svg);

        const QImage image(dir.filePath("plot.png"));
        QCOMPARE(image.size(), residuals()->chart()->viewport()->size());
        QScatterSeries *points = seriesOf<QScatterSeries>(residuals()->chart())[0];
        QCOMPARE(image.pixelColor(chart->mapToPosition(points->at(0), points).toPoint()), QColor(Qt::blue));

        for (const char *name : {"plot.svg", "drawing.svg"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            int circles = 0;
            QVERIFY(xml.readNextStartElement() && xml.name() == QLatin1String("svg"));
            while (!xml.atEnd())
                circles += xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("circle");
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QCOMPARE(circles, 3);
        }
        QCOMPARE(m_f->answerer.texts(), QStringList{QString("Unable to write \"%1\".").arg(dir.filePath("missing/plot.png"))});
    }
};

QTEST_MAIN(TestDiagnosticPlots)
#include "tst_diagnosticplots.moc"
