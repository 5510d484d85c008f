// The "Optimizer" page in a real window: the method list drives the
// optimizer factory, the fields mirror the settings records while the page
// is current and are written back when the analyst leaves it, the switches
// follow the window's flags, the workspace lock freezes the method and its
// settings, and the custom profile precision reaches the window.
#include "app/PelkWindow.h"
#include "optim/FletchSettings.h"
#include "optim/OptimizerFactory.h"
#include "optim/SimplexSettings.h"
#include "pages/options/OptimizerPage.h"
#include "pages/options/OptimizerSetupForm.h"
#include "pages/symbols/ParameterDefinitionsPage.h"
#include "support/GuiTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/TempFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>
#include <QtTest>

using Factory = zav::OptimizerFactory;

namespace {

// A small workspace whose optimizer section is given.
QString workspaceText(const QString &optimizerSection)
{
    return QStringLiteral("parameters\ns, p;\n\nvariables\nq = 1 - p;\n\nlikelihood \"Likelihood 1\"\n"
                          "seen twice, s*p*p,\nseen once, 2*s*p*q,\n, 1-s*p*p-2*s*p*q, s;\n\n")
         + optimizerSection
         + QStringLiteral("\n\nparameterSeeds\ns = 0.5,\np = 0.5;\n\nprofileLikelihoodRequests;\n\n"
                          "seen once : 12\nseen twice : 7\n");
}

} // namespace

class TestOptimizerPage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedSettings> m_settings;
    std::unique_ptr<PelkWindow> m_window;
    support::TempFiles m_files;

    OptimizerPage *page() const { return m_window->optimizerPage(); }
    template<typename T>
    T *widget(const char *name) const
    {
        T *found = page()->findChild<T *>(name);
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QComboBox *combo() const { return widget<QComboBox>("optimizerComboBox"); }
    QStackedWidget *stack() const { return widget<QStackedWidget>("stackedWidget"); }
    QLineEdit *field(const char *name) const { return widget<QLineEdit>(name); }

    void showOptimizerPage() { m_window->showPage(page()); }
    void leaveOptimizerPage() { m_window->showPage(m_window->parameterDefinitionsPage()); }

    // A workspace just loaded: nothing unsaved.
    void loadWorkspace(const QString &optimizerSection)
    {
        const QString file = m_files.write("workspace.txt", workspaceText(optimizerSection));
        QVERIFY(m_window->loadWorkspace(file));
        QVERIFY(!m_window->isChanged());
    }

private slots:
    void initTestCase()
    {
        m_settings = std::make_unique<IsolatedSettings>();
        m_window = std::make_unique<PelkWindow>();
    }

    void cleanupTestCase() { m_window.reset(); }

    void init()
    {
        leaveOptimizerPage();
        zav::FletchSettings::instance() = zav::FletchSettings();
        zav::SimplexSettings::instance() = zav::SimplexSettings();
    }

    void pageAndFormStartAsDescribed()
    {
        QCOMPARE(page()->title(), QString("Optimizer"));
        QCOMPARE(page()->helpPageName(), QString("setOptimizer.html"));

        QCOMPARE(combo()->count(), 3);
        QCOMPARE(combo()->itemText(0), QString("Powell's Direction Set"));
        QCOMPARE(combo()->itemText(1), QString("Fletch Quasi-Newton "));
        QCOMPARE(combo()->itemText(2), QString("Downhill Simplex"));
        QCOMPARE(combo()->minimumWidth(), 160);
        QCOMPARE(combo()->currentIndex(), 0);
        QCOMPARE(stack()->currentIndex(), 0);
        QCOMPARE(stack()->widget(0)->objectName(), QString("Powell"));
        QCOMPARE(stack()->widget(1)->objectName(), QString("Fletch"));
        QCOMPARE(stack()->widget(2)->objectName(), QString("Simplex"));
        QCOMPARE(Factory::instance().optimizerType(), Factory::Powell);

        QStringList labels;
        for (const QLabel *label : stack()->widget(1)->findChildren<QLabel *>())
            labels << label->text();
        QCOMPARE(labels, QStringList({"Maximum iterations:", "Precision:", "Proportional step size:"}));
        labels.clear();
        for (const QLabel *label : stack()->widget(2)->findChildren<QLabel *>())
            labels << label->text();
        QCOMPARE(labels, QStringList({"Maximum function evaluations:", "Fractional convergence tolerance:",
                                      "Proportional step size:"}));
        for (const char *name : {"fletchResetButton", "simplexResetButton"})
            QCOMPARE(widget<QPushButton>(name)->text(), QString("Reset"));
        for (const char *name : {"fletchDefaultsButton", "simplexDefaultsButton"})
            QCOMPARE(widget<QPushButton>(name)->text(), QString("Defaults"));

        QCOMPARE(widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox")->text(),
                 QString("Use previous estimates as new seeds"));
        QCOMPARE(widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox")->whatsThis(),
                 QString("If checked, the \"Clear current estimates\" action will cause the current parameter "
                         "estimates to be used as the parameter seeds the next time the parameters are "
                         "estimated."));
        QCOMPARE(widget<QCheckBox>("calculateCovarianceCheckbox")->text(), QString("Calculate covariance matrix"));
        QCOMPARE(widget<QCheckBox>("calculateCovarianceCheckbox")->whatsThis(),
                 QString("If checked, PELK will estimate the covariance matrix after successful estimation of "
                         "the parameters.  Leaving it unchecked allows for obtaining point estimates when it is "
                         "not possible to estimate the covariance matrix"));
        // The settings store is empty: both switches start checked.
        QVERIFY(widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox")->isChecked());
        QVERIFY(widget<QCheckBox>("calculateCovarianceCheckbox")->isChecked());
        QVERIFY(widget<QGroupBox>("groupBox_2"));

        QCOMPARE(widget<QGroupBox>("groupBox")->title(), QString("Profile Likelihood Estimation Precision"));
        QCOMPARE(widget<QRadioButton>("defaultProfileRadioButton")->text(), QString("Use the default"));
        QVERIFY(widget<QRadioButton>("defaultProfileRadioButton")->isChecked());
        QCOMPARE(widget<QRadioButton>("customProfileRadioButton")->text(), QString("Use a custom value"));
        QCOMPARE(field("customProfileLineEdit")->text(), QString("0.1"));
        QVERIFY(!field("customProfileLineEdit")->isEnabled());
        QVERIFY(!m_window->profilePrecision());
    }

    void choosingAMethodSetsTheFactoryType_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<Factory::OptimizerType>("type");
        QTest::addColumn<QString>("page");
        QTest::newRow("Downhill Simplex") << 2 << Factory::Simplex << "Simplex";
        QTest::newRow("Fletch Quasi-Newton") << 1 << Factory::Fletch << "Fletch";
        QTest::newRow("Powell's Direction Set") << 0 << Factory::Powell << "Powell";
    }

    void choosingAMethodSetsTheFactoryType()
    {
        QFETCH(int, index);
        QFETCH(Factory::OptimizerType, type);
        QFETCH(QString, page);
        showOptimizerPage();
        // As the analyst does it: the list opens, an entry is picked.
        combo()->setFocus();
        QTest::keyClick(combo(), Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo(), Qt::Key_Down);
        QCOMPARE(combo()->currentIndex(), index);
        QCOMPARE(stack()->currentWidget()->objectName(), page);
        QCOMPARE(Factory::instance().optimizerType(), type);
        QVERIFY(Factory::instance().currentOptimizer());
    }

    void showOptimizerTypeSelectsTheMatchingEntry_data()
    {
        QTest::addColumn<Factory::OptimizerType>("type");
        QTest::addColumn<int>("index");
        QTest::addColumn<Factory::OptimizerType>("factoryType");
        QTest::newRow("Fletch") << Factory::Fletch << 1 << Factory::Fletch;
        QTest::newRow("Simplex") << Factory::Simplex << 2 << Factory::Simplex;
        QTest::newRow("Powell") << Factory::Powell << 0 << Factory::Powell;
        QTest::newRow("anything else is the simplex") << Factory::NoOptimizer << 2 << Factory::Simplex;
    }

    void showOptimizerTypeSelectsTheMatchingEntry()
    {
        QFETCH(Factory::OptimizerType, type);
        QFETCH(int, index);
        QFETCH(Factory::OptimizerType, factoryType);
        page()->showOptimizerType(Factory::Powell);
        page()->showOptimizerType(type);
        QCOMPARE(combo()->currentIndex(), index);
        QCOMPARE(stack()->currentIndex(), index);
        QCOMPARE(Factory::instance().optimizerType(), factoryType);
    }

    void loadingAWorkspaceThatNamesFletchSelectsFletch()
    {
        page()->showOptimizerType(Factory::Simplex);
        QVERIFY(m_window->loadWorkspace(QStringLiteral(PELK_TEST_DATA_DIR "/workspace.txt")));
        QCOMPARE(combo()->currentText(), QString("Fletch Quasi-Newton "));
        QCOMPARE(stack()->currentWidget()->objectName(), QString("Fletch"));
        QCOMPARE(Factory::instance().optimizerType(), Factory::Fletch);
    }

    void activationShowsTheRecordsInTheGeneralFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("one millionth has a two-digit exponent") << 1e-6 << "1e-06";
        QTest::newRow("3e-8") << 3e-8 << "3e-08";
        QTest::newRow("six significant digits") << 0.000123456789 << "0.000123457";
        QTest::newRow("large") << 1234567.0 << "1.23457e+06";
        QTest::newRow("plain") << 0.25 << "0.25";
    }

    void activationShowsTheRecordsInTheGeneralFormat()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        zav::FletchSettings::instance().precision = value;
        zav::FletchSettings::instance().maxIterations = 321;
        zav::SimplexSettings::instance().stepSize = value;
        zav::SimplexSettings::instance().maxFuncEvaluations = 4321;
        showOptimizerPage();
        QCOMPARE(field("fletchPrecisionLineEdit")->text(), text);
        QCOMPARE(field("fletchMaxIterationsLineEdit")->text(), QString("321"));
        QCOMPARE(field("fletchStepSizeLineEdit")->text(), QString("1e-06"));
        QCOMPARE(field("simplexStepSizeLineEdit")->text(), text);
        QCOMPARE(field("simplexMaxFuncLineEdit")->text(), QString("4321"));
        QCOMPARE(field("simplexToleranceLineEdit")->text(), QString("3e-08"));
    }

    void defaultsShowTheBuiltInValuesAndResetTheRecord()
    {
        zav::SimplexSettings &simplex = zav::SimplexSettings::instance();
        simplex.maxFuncEvaluations = 1234;
        simplex.fractionalTolerance = 1e-5;
        simplex.stepSize = 0.25;
        zav::FletchSettings &fletch = zav::FletchSettings::instance();
        fletch.maxIterations = 17;
        fletch.precision = 0.5;
        fletch.stepSize = 0.125;
        showOptimizerPage();

        widget<QPushButton>("simplexDefaultsButton")->click();
        QCOMPARE(field("simplexMaxFuncLineEdit")->text(), QString("5000"));
        QCOMPARE(field("simplexToleranceLineEdit")->text(), QString("3e-08"));
        QCOMPARE(field("simplexStepSizeLineEdit")->text(), QString("0.1"));
        // The record keeps its values until the page is left.
        QCOMPARE(simplex.maxFuncEvaluations, 1234);
        widget<QPushButton>("simplexResetButton")->click();
        QCOMPARE(field("simplexMaxFuncLineEdit")->text(), QString("1234"));
        QCOMPARE(field("simplexToleranceLineEdit")->text(), QString("1e-05"));
        QCOMPARE(field("simplexStepSizeLineEdit")->text(), QString("0.25"));

        widget<QPushButton>("fletchDefaultsButton")->click();
        QCOMPARE(field("fletchMaxIterationsLineEdit")->text(), QString("200"));
        QCOMPARE(field("fletchPrecisionLineEdit")->text(), QString("1e-06"));
        QCOMPARE(field("fletchStepSizeLineEdit")->text(), QString("1e-06"));
        QCOMPARE(fletch.maxIterations, 17);
        widget<QPushButton>("fletchResetButton")->click();
        QCOMPARE(field("fletchMaxIterationsLineEdit")->text(), QString("17"));
        QCOMPARE(field("fletchPrecisionLineEdit")->text(), QString("0.5"));
        QCOMPARE(field("fletchStepSizeLineEdit")->text(), QString("0.125"));

        // Defaults, then leaving the page, puts the defaults into the records.
        widget<QPushButton>("simplexDefaultsButton")->click();
        widget<QPushButton>("fletchDefaultsButton")->click();
        leaveOptimizerPage();
        QCOMPARE(simplex.maxFuncEvaluations, 5000);
        QCOMPARE(simplex.fractionalTolerance, 3e-8);
        QCOMPARE(simplex.stepSize, 0.1);
        QCOMPARE(fletch.maxIterations, 200);
        QCOMPARE(fletch.precision, 1e-6);
        QCOMPARE(fletch.stepSize, 1e-6);
    }

    void leavingThePageStoresTheFields_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        QTest::newRow("emptied maximum iterations") << "fletchMaxIterationsLineEdit" << "" << 0.0;
        QTest::newRow("maximum iterations") << "fletchMaxIterationsLineEdit" << "350" << 350.0;
        QTest::newRow("emptied precision") << "fletchPrecisionLineEdit" << "" << 0.0;
        QTest::newRow("precision in exponent notation") << "fletchPrecisionLineEdit" << "2.5e-3" << 0.0025;
        QTest::newRow("Fletch step size") << "fletchStepSizeLineEdit" << "0.001" << 0.001;
        QTest::newRow("emptied evaluations") << "simplexMaxFuncLineEdit" << "" << 0.0;
        QTest::newRow("evaluations") << "simplexMaxFuncLineEdit" << "10000" << 10000.0;
        QTest::newRow("tolerance") << "simplexToleranceLineEdit" << "1e-10" << 1e-10;
        QTest::newRow("incomplete exponent stores 0") << "simplexToleranceLineEdit" << "1e" << 0.0;
        QTest::newRow("simplex step size") << "simplexStepSizeLineEdit" << "0.5" << 0.5;
    }

    void leavingThePageStoresTheFields()
    {
        QFETCH(QString, fieldName);
        QFETCH(QString, text);
        QFETCH(double, stored);
        const QMap<QString, std::function<double()>> records = {
            {"fletchMaxIterationsLineEdit", [] { return double(zav::FletchSettings::instance().maxIterations); }},
            {"fletchPrecisionLineEdit", [] { return zav::FletchSettings::instance().precision; }},
            {"fletchStepSizeLineEdit", [] { return zav::FletchSettings::instance().stepSize; }},
            {"simplexMaxFuncLineEdit",
             [] { return double(zav::SimplexSettings::instance().maxFuncEvaluations); }},
            {"simplexToleranceLineEdit", [] { return zav::SimplexSettings::instance().fractionalTolerance; }},
            {"simplexStepSizeLineEdit", [] { return zav::SimplexSettings::instance().stepSize; }},
        };
        showOptimizerPage();
        QLineEdit *edit = field(qPrintable(fieldName));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->text(), text);
        const double before = records.value(fieldName)();
        QVERIFY(before != stored);
        leaveOptimizerPage();
        QCOMPARE(records.value(fieldName)(), stored);
    }

    void theValidatorsRefuseWhatCannotBeASetting_data()
    {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("no sign on a count") << "fletchMaxIterationsLineEdit" << "-5" << "5" << true;
        QTest::newRow("no fraction in a count") << "simplexMaxFuncLineEdit" << "12.5" << "125" << true;
        QTest::newRow("a count of 0 is not acceptable") << "simplexMaxFuncLineEdit" << "0" << "0" << false;
        QTest::newRow("no negative precision") << "fletchPrecisionLineEdit" << "-1e-3" << "1e-3" << true;
        QTest::newRow("no letters in a tolerance") << "simplexToleranceLineEdit" << "x0.5" << "0.5" << true;
        QTest::newRow("0 is a valid step") << "simplexStepSizeLineEdit" << "0" << "0" << true;
        QTest::newRow("no negative custom precision") << "customProfileLineEdit" << "-0.2" << "0.2" << true;
    }

    void theValidatorsRefuseWhatCannotBeASetting()
    {
        QFETCH(QString, fieldName);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, acceptable);
        showOptimizerPage();
        widget<QRadioButton>("customProfileRadioButton")->setChecked(true);
        QLineEdit *edit = field(qPrintable(fieldName));
        edit->clear();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->hasAcceptableInput(), acceptable);
        widget<QRadioButton>("defaultProfileRadioButton")->setChecked(true);
    }

    void visitingThePageChangesNothing()
    {
        loadWorkspace(QStringLiteral("optimizer\nsimplex, usePreviousEstimatesAsSeeds = no,\n"
                                     "calculateCovariance = no, maxFuncEvaluations = 800;"));
        QSignalSpy setupChanged(page(), &OptimizerPage::optimizerSetupChanged);
        QSignalSpy covarianceChanged(page(), &OptimizerPage::calculateCovarianceStateChanged);
        QSignalSpy seedsChanged(page(), &OptimizerPage::usePreviousEstimatesSeedsStateChanged);
        showOptimizerPage();
        // The switches show the flags the workspace file set.
        QVERIFY(!widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox")->isChecked());
        QVERIFY(!widget<QCheckBox>("calculateCovarianceCheckbox")->isChecked());
        QCOMPARE(field("simplexMaxFuncLineEdit")->text(), QString("800"));
        QCOMPARE(combo()->currentIndex(), 2);
        leaveOptimizerPage();
        QCOMPARE(setupChanged.count(), 0);
        QCOMPARE(covarianceChanged.count(), 0);
        QCOMPARE(seedsChanged.count(), 0);
        QVERIFY(!m_window->isChanged());
        QCOMPARE(zav::SimplexSettings::instance().maxFuncEvaluations, 800);
    }

    void typingASettingMarksTheWorkspaceChanged()
    {
        loadWorkspace(QStringLiteral("optimizer\nfletch, usePreviousEstimatesAsSeeds = yes,\n"
                                     "calculateCovariance = yes;"));
        showOptimizerPage();
        QTest::keyClicks(field("fletchMaxIterationsLineEdit"), "0");
        QVERIFY(m_window->isChanged());
    }

    void uncheckingCovarianceTellsTheWindow()
    {
        loadWorkspace(QStringLiteral("optimizer\npowell, usePreviousEstimatesAsSeeds = yes,\n"
                                     "calculateCovariance = yes;"));
        showOptimizerPage();
        QSignalSpy spy(page(), &OptimizerPage::calculateCovarianceStateChanged);
        QCheckBox *box = widget<QCheckBox>("calculateCovarianceCheckbox");
        QVERIFY(box->isChecked());
        box->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QVERIFY(!m_window->workspace().calculateCovariance);
        QVERIFY(m_window->isChanged());
        QCOMPARE(QSettings().value("calculateCovariance").toBool(), false);
        box->click();
        QCOMPARE(spy.at(1).at(0).toBool(), true);
        QVERIFY(m_window->workspace().calculateCovariance);
    }

    void uncheckingPreviousEstimatesTellsTheWindow()
    {
        showOptimizerPage();
        QCheckBox *box = widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox");
        box->setChecked(true);
        QSignalSpy spy(page(), &OptimizerPage::usePreviousEstimatesSeedsStateChanged);
        box->click();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        QVERIFY(!m_window->workspace().usePreviousEstimatesAsSeeds);
        QCOMPARE(QSettings().value("usePreviousEstimatesSeeds").toBool(), false);
        box->click();
        QVERIFY(m_window->workspace().usePreviousEstimatesAsSeeds);
    }

    void settingsLoadedWhileThePageIsShownReplaceTheFields()
    {
        showOptimizerPage();
        QTest::keyClicks(field("simplexMaxFuncLineEdit"), "9");
        const QString file = m_files.write(
                "settings.txt", "optimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = yes,\n"
                                "maxFuncEvaluations = 777, fractionalTolerance = 1e-9, stepSize = 0.2;\n");
        QVERIFY(m_window->loadOptimizerSettings(file));
        QTRY_COMPARE(field("simplexMaxFuncLineEdit")->text(), QString("777"));
        QCOMPARE(field("simplexToleranceLineEdit")->text(), QString("1e-09"));
        leaveOptimizerPage();
        QCOMPARE(zav::SimplexSettings::instance().maxFuncEvaluations, 777);
        QCOMPARE(zav::SimplexSettings::instance().fractionalTolerance, 1e-9);
        QCOMPARE(zav::SimplexSettings::instance().stepSize, 0.2);
    }

    void storeCurrentSettingsWritesTheShownFieldsOnlyWhenCurrent()
    {
        showOptimizerPage();
        field("fletchMaxIterationsLineEdit")->setText("123");
        page()->storeCurrentSettings();
        QCOMPARE(zav::FletchSettings::instance().maxIterations, 123);
        leaveOptimizerPage();
        field("fletchMaxIterationsLineEdit")->setText("456");
        page()->storeCurrentSettings();
        QCOMPARE(zav::FletchSettings::instance().maxIterations, 123);
    }

    void theLockFreezesTheMethodAndItsSettings()
    {
        showOptimizerPage();
        const QList<QLineEdit *> fields = {
            field("fletchMaxIterationsLineEdit"), field("fletchPrecisionLineEdit"), field("fletchStepSizeLineEdit"),
            field("simplexMaxFuncLineEdit"),      field("simplexToleranceLineEdit"), field("simplexStepSizeLineEdit")};
        const QList<QPushButton *> buttons = {
            widget<QPushButton>("fletchResetButton"), widget<QPushButton>("fletchDefaultsButton"),
            widget<QPushButton>("simplexResetButton"), widget<QPushButton>("simplexDefaultsButton")};

        emit m_window->lockWorkspace();
        QVERIFY(!combo()->isEnabled());
        for (QPushButton *button : buttons)
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        for (QLineEdit *edit : fields)
            QVERIFY2(edit->isReadOnly(), qPrintable(edit->objectName()));
        // The switches and the profile precision stay editable.
        QVERIFY(widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox")->isEnabled());
        QVERIFY(widget<QCheckBox>("calculateCovarianceCheckbox")->isEnabled());
        QVERIFY(widget<QRadioButton>("customProfileRadioButton")->isEnabled());
        QVERIFY(page()->isLockLabelShown());
        const QString before = field("simplexStepSizeLineEdit")->text();
        QTest::keyClicks(field("simplexStepSizeLineEdit"), "5");
        QCOMPARE(field("simplexStepSizeLineEdit")->text(), before);

        emit m_window->clearEstimates();
        QVERIFY(combo()->isEnabled());
        for (QPushButton *button : buttons)
            QVERIFY(button->isEnabled());
        for (QLineEdit *edit : fields)
            QVERIFY(!edit->isReadOnly());
        QVERIFY(!page()->isLockLabelShown());
    }

    void theCustomProfilePrecisionReachesTheWindow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("precision"); // 0: none handed on
        QTest::addColumn<bool>("warned");
        QTest::newRow("0.02") << "0.02" << 0.02 << false;
        QTest::newRow("exponent notation") << "5e-4" << 5e-4 << false;
        QTest::newRow("empty keeps the default") << "" << 0.0 << true;
        QTest::newRow("0 keeps the default") << "0" << 0.0 << true;
        QTest::newRow("incomplete number keeps the default") << "1e" << 0.0 << true;
    }

    void theCustomProfilePrecisionReachesTheWindow()
    {
        QFETCH(QString, text);
        QFETCH(double, precision);
        QFETCH(bool, warned);
        showOptimizerPage();
        QLineEdit *edit = field("customProfileLineEdit");
        widget<QRadioButton>("customProfileRadioButton")->click();
        QVERIFY(edit->isEnabled());
        QCOMPARE(m_window->profilePrecision().value_or(-1.0), edit->text().toDouble());

        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QCOMPARE(m_window->profilePrecision().value_or(0.0), precision);
        const QString warning = "Custom precision must be greater than 0; the default is used";
        QCOMPARE(page()->statusBar()->currentMessage() == warning, warned);

        widget<QRadioButton>("defaultProfileRadioButton")->click();
        QVERIFY(!edit->isEnabled());
        QVERIFY(!m_window->profilePrecision());
        QVERIFY(page()->statusBar()->currentMessage().isEmpty());
        edit->setText("0.1");
    }
};

QTEST_MAIN(TestOptimizerPage)
#include "tst_optimizerpage.moc"
