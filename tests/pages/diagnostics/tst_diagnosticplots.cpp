// The two diagnostic plots and their zoom: scene geometry, reference lines
// against the residual scale, point positions and tool tips, and the
// pages' availability.
#include "support/GuiTestSupport.h"

#include "app/PelkWindow.h"
#include "pages/diagnostics/ObservedExpectedModel.h"
#include "pages/diagnostics/ObservedExpectedPlotPage.h"
#include "pages/diagnostics/ObservedExpectedTablePage.h"
#include "pages/diagnostics/PlotForm.h"
#include "pages/diagnostics/ResidualsPlotPage.h"
#include "pages/tables/TableContentForm.h"

#include <QGraphicsEllipseItem>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGraphicsView>
#include <QPen>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTest>

#include <cmath>

namespace {

// Rows whose residuals are given directly: the plots read the residual
// column as it is.
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

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-9 * std::max(1.0, std::abs(b));
}

// The whole scene rectangle is visible and touches two opposite edges of
// the view (fitting leaves a margin of 2 pixels), with no scroll bars.
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

private:
    IsolatedSettings *m_settings = nullptr;
    PelkWindow *m_window = nullptr;
    ResidualsPlotPage *residuals() const { return m_window->residualsPlotPage(); }
    ObservedExpectedPlotPage *observedExpected() const { return m_window->observedExpectedPlotPage(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void pagesAreUnavailableUntilAModelArrivesAndFollowTheLock();
    void residualsSceneHoldsTheAxesInItsRectangle();
    void referenceLinesSitAtTheScaledQuantile_data();
    void referenceLinesSitAtTheScaledQuantile();
    void residualPointsSpreadAlongTheAxis();
    void nonFiniteResidualsHaveNoPointAndNoScale();
    void observedExpectedSceneFitsItsLabels();
    void observedExpectedPointsScaleEachAxisByItsMaximum();
    void everyPointCarriesItsCountsAsToolTip();
    void rebuildingReplacesPointsAndLines();
    void modelWithoutMultinomialRowsDrawsNoPoints();
    void tablePageShowsTheModelAndOwnsIt();
    void zoomSliderAddsToTheBaseScale();
    void activatingAPageFitsTheSceneIntoTheView();
};

void TestDiagnosticPlots::initTestCase()
{
    m_settings = new IsolatedSettings;
}

void TestDiagnosticPlots::init()
{
    m_window = new PelkWindow;
}

void TestDiagnosticPlots::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestDiagnosticPlots::cleanupTestCase()
{
    delete m_settings;
}

void TestDiagnosticPlots::pagesAreUnavailableUntilAModelArrivesAndFollowTheLock()
{
    QVERIFY(!residuals()->isAvailable());
    QVERIFY(!observedExpected()->isAvailable());
    QVERIFY(!m_window->observedExpectedTablePage()->isAvailable());
    QCOMPARE(residuals()->title(), QString("Residuals Plot"));
    QCOMPARE(observedExpected()->title(), QString("Observed vs Expected Plot"));
    QCOMPARE(m_window->observedExpectedTablePage()->title(), QString("Observed vs Expected Table"));
    QCOMPARE(residuals()->helpPageName(), QString("viewResidualsPlot.html"));
    QCOMPARE(observedExpected()->helpPageName(), QString("viewObservedExpectedPlot.html"));
    QCOMPARE(m_window->observedExpectedTablePage()->helpPageName(), QString("viewObservedExpectedTable.html"));

    const ObservedExpectedModel model = residualModel({1.0});
    residuals()->setObservedExpectedModel(&model);
    observedExpected()->setObservedExpectedModel(&model);
    QVERIFY(residuals()->isAvailable());
    QVERIFY(observedExpected()->isAvailable());

    emit m_window->clearEstimates();
    QVERIFY(!residuals()->isAvailable());
    QVERIFY(!observedExpected()->isAvailable());
    emit m_window->lockWorkspace();
    QVERIFY(residuals()->isAvailable());
    QVERIFY(observedExpected()->isAvailable());
}

void TestDiagnosticPlots::residualsSceneHoldsTheAxesInItsRectangle()
{
    QCOMPARE(residuals()->scene()->sceneRect(), QRectF(-30, -330, 1060, 660));
    QList<QLineF> axes;
    for (QGraphicsItem *item : residuals()->scene()->items()) {
        if (auto *line = qgraphicsitem_cast<QGraphicsLineItem *>(item)) {
            QCOMPARE(line->pen().color(), QColor(Qt::black));
            QCOMPARE(line->pen().widthF(), 5.0);
            axes << line->line();
        }
    }
    QCOMPARE(axes.size(), 2);
    QVERIFY(axes.contains(QLineF(0, 0, 1000, 0)));
    QVERIFY(axes.contains(QLineF(0, -300, 0, 300)));
}

void TestDiagnosticPlots::referenceLinesSitAtTheScaledQuantile_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("scale");
    QTest::newRow("all within 2.5") << QList<double>{1.0, -2.0, 0.5} << 2.5;
    QTest::newRow("one residual of 5") << QList<double>{1.0, 5.0, 0.5} << 5.0;
    QTest::newRow("one residual of -5") << QList<double>{-5.0, 2.0} << 5.0;
    QTest::newRow("exactly 2.5") << QList<double>{2.5} << 2.5;
}

void TestDiagnosticPlots::referenceLinesSitAtTheScaledQuantile()
{
    QFETCH(QList<double>, values);
    QFETCH(double, scale);
    const ObservedExpectedModel model = residualModel(values);
    residuals()->setObservedExpectedModel(&model);
    QCOMPARE(residuals()->scale(), scale);
    // 1.96 * 300 / 2.5 = 235.2; a residual of 5 halves it to 117.6.
    const double y = 1.96 * 300 / scale;
    const QList<QGraphicsLineItem *> lines = residuals()->referenceLines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0]->line(), QLineF(0, -y, 1000, -y));
    QCOMPARE(lines[1]->line(), QLineF(0, y, 1000, y));
    for (QGraphicsLineItem *line : lines) {
        QCOMPARE(line->pen().color(), QColor(Qt::red));
        QCOMPARE(line->pen().widthF(), 3.0);
        QCOMPARE(line->pen().style(), Qt::DashLine);
    }
}

void TestDiagnosticPlots::residualPointsSpreadAlongTheAxis()
{
    const ObservedExpectedModel model = residualModel({1.5, -2.0, 5.0});
    residuals()->setObservedExpectedModel(&model);
    const QList<QGraphicsEllipseItem *> points = residuals()->points();
    QCOMPARE(points.size(), 3);
    // s = 5: x = (i + 1) 1000 / 3 - 10, y = -r 300 / 5 - 10.
    const QList<QPointF> expected {{1000.0 / 3 - 10, -90 - 10}, {2000.0 / 3 - 10, 120 - 10}, {1000 - 10, -300 - 10}};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(near(topLeft(points[i]).x(), expected[i].x()), qPrintable(QString::number(i)));
        QVERIFY2(near(topLeft(points[i]).y(), expected[i].y()), qPrintable(QString::number(i)));
        QCOMPARE(points[i]->rect().size(), QSizeF(20, 20));
        QCOMPARE(points[i]->pen().color(), QColor(Qt::blue));
        QCOMPARE(points[i]->brush().color(), QColor(Qt::blue));
        QCOMPARE(points[i]->brush().style(), Qt::SolidPattern);
    }
}

void TestDiagnosticPlots::nonFiniteResidualsHaveNoPointAndNoScale()
{
    QList<pelk::ObservedExpectedRow> rows {{"a", 5.0, 0.0, pelk::anscombeResidual(5.0, 0.0)},
                                           {"b", 10.0, 10.0, 1.0},
                                           {"Captures unobserved", -3.0, 4.0, pelk::anscombeResidual(-3.0, 4.0)}};
    const ObservedExpectedModel model(rows, nullptr);
    residuals()->setObservedExpectedModel(&model);
    QCOMPARE(residuals()->scale(), 2.5);
    QCOMPARE(residuals()->points().size(), 1);
    // The finite row keeps its own place: the second of three.
    QVERIFY(near(topLeft(residuals()->points()[0]).x(), 2000.0 / 3 - 10));
    QVERIFY(near(topLeft(residuals()->points()[0]).y(), -120 - 10));

    // The counts are finite, so the observed-versus-expected plot shows all
    // three; the largest observed value is 10, the largest expected 10.
    observedExpected()->setObservedExpectedModel(&model);
    const QList<QGraphicsEllipseItem *> points = observedExpected()->points();
    QCOMPARE(points.size(), 3);
    QVERIFY(near(topLeft(points[0]).x(), 500 - 10));
    QVERIFY(near(topLeft(points[0]).y(), 1000 - 10));
    QVERIFY(near(topLeft(points[2]).x(), -300 - 10));
}

void TestDiagnosticPlots::observedExpectedSceneFitsItsLabels()
{
    QGraphicsTextItem *observedLabel = observedExpected()->observedLabel();
    QGraphicsTextItem *expectedLabel = observedExpected()->expectedLabel();
    QCOMPARE(observedLabel->toPlainText(), QString("Observed"));
    QCOMPARE(expectedLabel->toPlainText(), QString("Expected"));
    QCOMPARE(observedLabel->font().pointSize(), 36);
    QCOMPARE(expectedLabel->font().pointSize(), 36);
    const QRectF o = observedLabel->boundingRect();
    const QRectF e = expectedLabel->boundingRect();
    QVERIFY(o.height() > 0 && e.height() > 0);

    QCOMPARE(observedLabel->pos(), QPointF((1000 - o.width()) / 2, 1000));
    QCOMPARE(expectedLabel->pos(), QPointF(-e.height(), (1000 + e.width()) / 2));
    QCOMPARE(expectedLabel->rotation(), 270.0);
    // Turned, the label stands in the margin left of the vertical axis,
    // centred on it.
    const QRectF turned = expectedLabel->sceneBoundingRect();
    QVERIFY(near(turned.right(), 0));
    QVERIFY(near(turned.left(), -e.height()));
    QVERIFY(near(turned.center().y(), 500));
    QVERIFY(near(observedLabel->sceneBoundingRect().center().x(), 500));

    QCOMPARE(observedExpected()->scene()->sceneRect(),
             QRectF(-(30 + e.height()), -30, 1000 + 30 + e.height(), 1000 + o.height() + 30));

    QList<QGraphicsLineItem *> lines;
    for (QGraphicsItem *item : observedExpected()->scene()->items())
        if (auto *line = qgraphicsitem_cast<QGraphicsLineItem *>(item))
            lines << line;
    QCOMPARE(lines.size(), 3);
    for (QGraphicsLineItem *line : lines) {
        QCOMPARE(line->pen().widthF(), 3.0);
        if (line->line() == QLineF(0, 1000, 1000, 0))
            QCOMPARE(line->pen().color(), QColor(Qt::blue));
        else
            QVERIFY(line->line() == QLineF(0, 1000, 1000, 1000) || line->line() == QLineF(0, 0, 0, 1000));
    }
}

void TestDiagnosticPlots::observedExpectedPointsScaleEachAxisByItsMaximum()
{
    const ObservedExpectedModel model({{"a", 10, 12, 0}, {"b", 20, 30, 0}, {"c", 40, 15, 0}}, nullptr);
    observedExpected()->setObservedExpectedModel(&model);
    const QList<QGraphicsEllipseItem *> points = observedExpected()->points();
    QCOMPARE(points.size(), 3);
    // maxO = 40, maxE = 30: x = O 1000 / 40 - 10, y = (1 - E / 30) 1000 - 10.
    const QList<QPointF> expected {{250 - 10, 600 - 10}, {500 - 10, 0 - 10}, {1000 - 10, 500 - 10}};
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(near(topLeft(points[i]).x(), expected[i].x()), qPrintable(QString::number(i)));
        QVERIFY2(near(topLeft(points[i]).y(), expected[i].y()), qPrintable(QString::number(i)));
        QCOMPARE(points[i]->rect().size(), QSizeF(20, 20));
        QCOMPARE(points[i]->pen().color(), QColor(Qt::black));
        QCOMPARE(points[i]->brush().color(), QColor(Qt::black));
        QCOMPARE(points[i]->brush().style(), Qt::SolidPattern);
    }
}

void TestDiagnosticPlots::everyPointCarriesItsCountsAsToolTip()
{
    const ObservedExpectedModel model({{"01", 30, 200.0 / 7.0, 0.25}, {"11", 20, 20, 0}}, nullptr);
    residuals()->setObservedExpectedModel(&model);
    observedExpected()->setObservedExpectedModel(&model);
    QCOMPARE(residuals()->points()[0]->toolTip(), QString("01:  Observed: 30, Expected: 28.5714"));
    QCOMPARE(residuals()->points()[1]->toolTip(), QString("11:  Observed: 20, Expected: 20"));
    QCOMPARE(observedExpected()->points()[0]->toolTip(), QString("01:  Observed: 30, Expected: 28.5714"));
    QCOMPARE(observedExpected()->points()[1]->toolTip(), QString("11:  Observed: 20, Expected: 20"));
}

void TestDiagnosticPlots::rebuildingReplacesPointsAndLines()
{
    const int residualItems = residuals()->scene()->items().size();
    const int observedItems = observedExpected()->scene()->items().size();
    const ObservedExpectedModel first = residualModel({1.0, 2.0, 3.0, 4.0});
    const ObservedExpectedModel second = residualModel({0.5, -0.5});
    residuals()->setObservedExpectedModel(&first);
    observedExpected()->setObservedExpectedModel(&first);
    residuals()->setObservedExpectedModel(&second);
    observedExpected()->setObservedExpectedModel(&second);
    QCOMPARE(residuals()->points().size(), 2);
    QCOMPARE(observedExpected()->points().size(), 2);
    QCOMPARE(residuals()->scene()->items().size(), residualItems + 2 + 2);
    QCOMPARE(observedExpected()->scene()->items().size(), observedItems + 2);
}

void TestDiagnosticPlots::modelWithoutMultinomialRowsDrawsNoPoints()
{
    const ObservedExpectedModel model({}, nullptr);
    residuals()->setObservedExpectedModel(&model);
    observedExpected()->setObservedExpectedModel(&model);
    QVERIFY(residuals()->points().isEmpty());
    QVERIFY(observedExpected()->points().isEmpty());
    QCOMPARE(residuals()->scale(), 2.5);
    QCOMPARE(residuals()->referenceLines().size(), 2);
    QVERIFY(residuals()->isAvailable());
}

void TestDiagnosticPlots::tablePageShowsTheModelAndOwnsIt()
{
    ObservedExpectedTablePage *page = m_window->observedExpectedTablePage();
    auto *model = new ObservedExpectedModel({{"01", 30, 30, 0}}, m_window);
    page->setObservedExpectedModel(model);
    QVERIFY(page->isAvailable());
    QCOMPARE(page->tableModel(), model);
    QCOMPARE(model->parent(), page);
    QVERIFY(page->form()->saveToFileButton()->isEnabled());
    QVERIFY(page->form()->copyToClipboardButton()->isEnabled());
    QPointer<ObservedExpectedModel> watched = model;
    page->setObservedExpectedModel(new ObservedExpectedModel({}, m_window));
    QVERIFY(watched.isNull());
}

void TestDiagnosticPlots::zoomSliderAddsToTheBaseScale()
{
    PlotForm *form = residuals()->plotForm();
    QSlider *slider = form->zoomSlider();
    QCOMPARE(slider->objectName(), QString("zoomSlider"));
    QCOMPARE(form->graphicsView()->objectName(), QString("graphicsView"));
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->minimum(), 100);
    QCOMPARE(slider->maximum(), 200);
    QCOMPARE(slider->value(), 100);
    QCOMPARE(slider->tickInterval(), 25);
    QCOMPARE(slider->tickPosition(), QSlider::NoTicks);
    QCOMPARE(slider->toolTip(), QString("Zoom In"));
    QCOMPARE(slider->whatsThis(), QString("Use this slider to zoom in on the graph.  The graph may also be "
                                          "enlarged by enlarging the entire window"));

    const ObservedExpectedModel model = residualModel({1.0});
    residuals()->setObservedExpectedModel(&model);
    m_window->resize(900, 650);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_window->showPage(residuals());
    QCoreApplication::processEvents();
    residuals()->initializeView();
    const QTransform base = form->baseTransform();
    QVERIFY(base.m11() > 0 && base.m11() < 1);
    QCOMPARE(form->graphicsView()->transform(), base);

    slider->setValue(150);
    QTransform zoomed = form->graphicsView()->transform();
    QCOMPARE(zoomed.m11(), base.m11() + 0.5);
    QCOMPARE(zoomed.m22(), base.m22() + 0.5);
    QCOMPARE(zoomed.m12(), base.m12());
    QCOMPARE(zoomed.m21(), base.m21());
    slider->setValue(200);
    zoomed = form->graphicsView()->transform();
    QCOMPARE(zoomed.m11(), base.m11() + 1.0);
    QCOMPARE(zoomed.m22(), base.m22() + 1.0);
    slider->setValue(100);
    QCOMPARE(form->graphicsView()->transform(), base);

    // Resizing fits again: the slider returns to 100 and the fitted
    // transformation is the new base.
    slider->setValue(180);
    QTRY_VERIFY(form->graphicsView()->horizontalScrollBar()->isVisible());
    m_window->resize(1300, 1000);
    QTRY_COMPARE(slider->value(), 100);
    QVERIFY(fillsTheView(form->graphicsView()));
    QCOMPARE(form->graphicsView()->transform(), form->baseTransform());
    QVERIFY(form->baseTransform().m11() > base.m11());
}

void TestDiagnosticPlots::activatingAPageFitsTheSceneIntoTheView()
{
    const ObservedExpectedModel model = residualModel({1.0});
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    residuals()->setObservedExpectedModel(&model);
    QGraphicsView *view = residuals()->plotForm()->graphicsView();
    view->setTransform(QTransform::fromScale(3, 3));
    m_window->showPage(residuals());
    QVERIFY(residuals()->isCurrent());
    // Once the page is shown and laid out, the scene fills the view.
    QTRY_VERIFY(fillsTheView(view));
    QCOMPARE(residuals()->plotForm()->baseTransform(), view->transform());
}

QTEST_MAIN(TestDiagnosticPlots)
#include "tst_diagnosticplots.moc"
