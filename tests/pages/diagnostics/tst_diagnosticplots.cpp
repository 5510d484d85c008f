// The model diagnostics: Anscombe residuals against their closed form, the
// points' tool tips; the two plots placing the rows (scale, reference
// lines, points) in place of earlier ones, zooming and fitting the view;
// availability.
#include "support/WindowFixture.h"

#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/PlotForm.h"
#include "pages/diagnostics/ResidualsPlotPage.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QScrollBar>
#include <QSlider>

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

QPointF topLeft(const QGraphicsEllipseItem *point)
{
    return point->mapRectToScene(point->rect()).topLeft();
}

bool near(QPointF a, QPointF b)
{
    return std::abs(a.x() - b.x()) < 1e-9 * std::max(1.0, std::abs(b.x()))
        && std::abs(a.y() - b.y()) < 1e-9 * std::max(1.0, std::abs(b.y()));
}

// The whole scene is visible and touches two opposite edges of the view
// (fitting leaves a margin of 2 pixels), with no scroll bars.
bool fillsTheView(const QGraphicsView *view)
{
    const QRect shown = view->mapFromScene(view->scene()->sceneRect()).boundingRect();
    const QRect viewport = view->viewport()->rect();
    return viewport.adjusted(-1, -1, 1, 1).contains(shown)
        && (shown.width() >= viewport.width() - 6 || shown.height() >= viewport.height() - 6)
        && !view->horizontalScrollBar()->isVisible() && !view->verticalScrollBar()->isVisible();
}

} // namespace

class TestDiagnosticPlots : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;
    ResidualsPlotPage *residuals() const { return m_f->window.findChild<ResidualsPlotPage *>(); }
    ObservedExpectedPlotPage *observedExpected() const { return m_f->window.findChild<ObservedExpectedPlotPage *>(); }

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

    void pointsCarryTheirCountsAsToolTip()
    {
        ObservedExpectedModel model({{"01", 30, 200.0 / 7.0, 0.25}, {"big", 1234567.0, 0.000123456789, 0}}, nullptr);
        QCOMPARE(model.pointToolTip(0), QString("01:  Observed: 30, Expected: 28.5714"));
        QCOMPARE(model.pointToolTip(1), QString("big:  Observed: 1.23457e+06, Expected: 0.000123457"));
        observedExpected()->setObservedExpectedModel(&model);
        QCOMPARE(observedExpected()->points()[1]->toolTip(), model.pointToolTip(1));
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

    // The scale s is the largest finite |r|, at least 2.5; reference lines
    // at +-1.96 * 300 / s; row i of n at x = (i + 1) 1000 / n, residual r at
    // y = -r 300 / s (top-left corner: 10 less each); no point where r is
    // not finite, but the row keeps its place.
    void residualsAreScaledToTheLargest_data()
    {
        QTest::addColumn<QList<double>>("values");
        QTest::addColumn<double>("scale");
        QTest::newRow("no rows") << QList<double>{} << 2.5;
        QTest::newRow("all within 2.5") << QList<double>{1.0, -2.0, 0.5} << 2.5;
        QTest::newRow("one residual of 5") << QList<double>{1.5, -2.0, 5.0} << 5.0;
        QTest::newRow("one residual of -5") << QList<double>{-5.0, 2.0} << 5.0;
        QTest::newRow("not finite") << QList<double>{notANumber, 1.0, -std::numeric_limits<double>::infinity()} << 2.5;
    }

    void residualsAreScaledToTheLargest()
    {
        QFETCH(QList<double>, values);
        QFETCH(double, scale);
        const int items = residuals()->scene()->items().size();
        const ObservedExpectedModel earlier = residualModel({1.0, 2.0, 3.0, 4.0});
        residuals()->setObservedExpectedModel(&earlier);
        const ObservedExpectedModel model = residualModel(values);
        residuals()->setObservedExpectedModel(&model);
        QCOMPARE(residuals()->scale(), scale);
        const double y = 1.96 * 300 / scale;
        QCOMPARE(residuals()->referenceLines().size(), 2);
        QCOMPARE(residuals()->referenceLines()[0]->line(), QLineF(0, -y, 1000, -y));
        QCOMPARE(residuals()->referenceLines()[1]->line(), QLineF(0, y, 1000, y));
        QList<QPointF> expected;
        for (int i = 0; i < values.size(); ++i)
            if (std::isfinite(values[i]))
                expected << QPointF((i + 1) * 1000.0 / values.size() - 10, -values[i] * 300 / scale - 10);
        QCOMPARE(residuals()->points().size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(near(topLeft(residuals()->points()[i]), expected[i]), qPrintable(QString::number(i)));
        // The earlier model's points and lines are gone.
        QCOMPARE(residuals()->scene()->items().size(), items + 2 + expected.size());
    }

    // maxO = 40, maxE = 30: x = O 1000 / 40, y = (1 - E / 30) 1000; a
    // negative observed value (the unobserved row) still has its point.
    void observedAgainstExpectedScalesEachAxisByItsMaximum()
    {
        const int items = observedExpected()->scene()->items().size();
        const ObservedExpectedModel earlier = residualModel({1.0, 2.0});
        observedExpected()->setObservedExpectedModel(&earlier);
        const ObservedExpectedModel model({{"a", 10, 12, 0}, {"b", 20, 30, 0}, {"c", 40, 15, 0}, {"d", -4, 0, notANumber}}, nullptr);
        observedExpected()->setObservedExpectedModel(&model);
        QCOMPARE(observedExpected()->scene()->items().size(), items + 4);
        const QList<QPointF> expected{{250, 600}, {500, 0}, {1000, 500}, {-100, 1000}};
        QCOMPARE(observedExpected()->points().size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY(near(topLeft(observedExpected()->points()[i]), expected[i] - QPointF(10, 10)));
    }

    // Showing the page fits the scene; the slider adds to that base scale;
    // resizing fits again and puts the slider back.
    void viewFitsTheSceneAndTheSliderZooms()
    {
        const ObservedExpectedModel model = residualModel({1.0});
        residuals()->setObservedExpectedModel(&model);
        m_f->window.resize(900, 650);
        m_f->window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_f->window));
        PlotForm *form = residuals()->plotForm();
        QGraphicsView *view = form->graphicsView();
        view->setTransform(QTransform::fromScale(3, 3));
        m_f->window.showPage(residuals());
        QTRY_VERIFY(fillsTheView(view));
        const QTransform base = form->baseTransform();
        QCOMPARE(view->transform(), base);

        form->zoomSlider()->setValue(150);
        QCOMPARE(view->transform(), QTransform(base.m11() + 0.5, base.m12(), base.m21(), base.m22() + 0.5, base.dx(), base.dy()));
        form->zoomSlider()->setValue(100);
        QCOMPARE(view->transform(), base);

        form->zoomSlider()->setValue(180);
        QTRY_VERIFY(view->horizontalScrollBar()->isVisible());
        m_f->window.resize(1300, 1000);
        QTRY_COMPARE(form->zoomSlider()->value(), 100);
        QVERIFY(fillsTheView(view));
        QCOMPARE(view->transform(), form->baseTransform());
        QVERIFY(form->baseTransform().m11() > base.m11());
    }
};

QTEST_MAIN(TestDiagnosticPlots)
#include "tst_diagnosticplots.moc"
