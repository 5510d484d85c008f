// The Optimizer page in a window: the method reaches the factory, the fields
// mirror the settings records while the page is current, the switches tell the
// window, the lock, and the custom profile precision.
#include "support/WindowFixture.h"

#include "optim/FletchSettings.h"
#include "optim/OptimizerFactory.h"
#include "optim/SimplexSettings.h"
#include "pages/options/OptimizerPage.h"
#include "pages/symbols/ParameterDefinitionsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QStatusBar>

using Factory = zav::OptimizerFactory;

namespace {

const QStringList fletchFields {"fletchMaxIterationsLineEdit", "fletchPrecisionLineEdit", "fletchStepSizeLineEdit"};
const QStringList simplexFields {"simplexMaxFuncLineEdit", "simplexToleranceLineEdit", "simplexStepSizeLineEdit"};

// The six records as one list, in the order of the fields above.
QList<double> records()
{
    const zav::FletchSettings &f = zav::FletchSettings::instance();
    const zav::SimplexSettings &s = zav::SimplexSettings::instance();
    return {double(f.maxIterations), f.precision, f.stepSize, double(s.maxFuncEvaluations), s.fractionalTolerance,
            s.stepSize};
}

void setRecords(const QList<double> &v)
{
    zav::FletchSettings::instance() = {v[1], v[2], int(v[0])};
    zav::SimplexSettings::instance() = {v[4], int(v[3]), v[5]};
}

} // namespace

class tst_OptimizerPage : public QObject
{
    Q_OBJECT

    IsolatedSettings m_settings;
    std::unique_ptr<WindowFixture> m_f;

    OptimizerPage *page() const { return m_f->window.findChild<OptimizerPage *>(); }
    template<typename T = QLineEdit>
    T *widget(const QString &name) const { return page()->findChild<T *>(name); }
    QStringList texts(const QStringList &fields) const
    {
        QStringList result;
        for (const QString &name : fields)
            result << widget(name)->text();
        return result;
    }
    void show() { m_f->window.showPage(page()); }
    void leave() { m_f->window.showPage(m_f->window.findChild<ParameterDefinitionsPage *>()); }
    void retype(const QString &field, const QString &text)
    {
        widget(field)->clear();
        QTest::keyClicks(widget(field), text);
    }

private slots:
    void init()
    {
        setRecords({200, 1e-6, 1e-6, 5000, 3e-8, 0.1}); // the built-in values
        m_f = std::make_unique<WindowFixture>();
    }
    void cleanup() { m_f.reset(); }

    // The fields show six significant digits: one millionth as "1e-06".
    void defaultsAndResetFillTheFieldsOnly()
    {
        setRecords({17, 0.000123456789, 1234567, 1234, 1e-5, 0.25});
        show();
        widget<QPushButton>("simplexDefaultsButton")->click();
        widget<QPushButton>("fletchDefaultsButton")->click();
        QCOMPARE(texts(fletchFields), QStringList({"200", "1e-06", "1e-06"}));
        QCOMPARE(texts(simplexFields), QStringList({"5000", "3e-08", "0.1"}));
        QCOMPARE(records(), QList<double>({17, 0.000123456789, 1234567, 1234, 1e-5, 0.25}));
        widget<QPushButton>("fletchResetButton")->click();
        QCOMPARE(texts(fletchFields), QStringList({"17", "0.000123457", "1.23457e+06"}));
        widget<QPushButton>("simplexResetButton")->click();
        QCOMPARE(texts(simplexFields), QStringList({"1234", "1e-05", "0.25"}));
        widget<QPushButton>("simplexDefaultsButton")->click();
        leave();
        QCOMPARE(records().mid(3), QList<double>({5000, 3e-8, 0.1}));
    }

    // What the validators let through is what leaving the page stores.
    void typedSettingsAreStoredOnLeaving_data()
    {
        QTest::addColumn<int>("field"); // position in fletchFields + simplexFields
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("acceptable");
        QTest::addColumn<double>("stored");
        QTest::newRow("emptied count stores 0") << 0 << "" << "" << false << 0.0;
        QTest::newRow("no sign on a count") << 0 << "-5" << "5" << true << 5.0;
        QTest::newRow("no fraction in a count") << 3 << "12.5" << "125" << true << 125.0;
        QTest::newRow("a count of 0") << 3 << "0" << "0" << false << 0.0;
        QTest::newRow("precision in exponent notation") << 1 << "2.5e-3" << "2.5e-3" << true << 0.0025;
        QTest::newRow("no letters in a tolerance") << 4 << "x0.5" << "0.5" << true << 0.5;
        QTest::newRow("incomplete exponent stores 0") << 4 << "1e" << "1e" << false << 0.0;
    }
    void typedSettingsAreStoredOnLeaving()
    {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(double, stored);
        show();
        QLineEdit *edit = widget((fletchFields + simplexFields).at(field));
        retype(edit->objectName(), typed);
        QTEST(edit->text(), "shown");
        QTEST(edit->hasAcceptableInput(), "acceptable");
        QList<double> expected = records();
        expected[field] = stored;
        leave();
        QCOMPARE(records(), expected);
        // The window's store call writes them only while the page is current.
        edit->setText("7");
        page()->storeCurrentSettings();
        QCOMPARE(records(), expected);
    }

    // The page's wiring: the method shown reaches the factory (anything
    // unknown is the simplex); a workspace's settings shown are no edit,
    // the covariance switch (the other one is clicked in the editors'
    // scenario) tells the window and is remembered; a file names the method
    // before its settings are read, so settings loaded while the page is
    // shown replace the fields rather than being written over; the lock
    // freezes the method and its settings but not the switches.
    void wiring()
    {
        for (const auto &[type, index, chosen] : {std::tuple{Factory::Fletch, 1, Factory::Fletch},
                                                  {Factory::Powell, 0, Factory::Powell},
                                                  {Factory::NoOptimizer, 2, Factory::Simplex}}) {
            page()->showOptimizerType(type == Factory::Powell ? Factory::Simplex : Factory::Powell);
            page()->showOptimizerType(type);
            QCOMPARE(widget<QComboBox>("optimizerComboBox")->currentIndex(), index);
            QCOMPARE(widget<QStackedWidget>("stackedWidget")->currentIndex(), index);
            QCOMPARE(Factory::instance().optimizerType(), chosen);
        }

        QVERIFY(m_f->load(QStringLiteral(
                "parameters\ns;\n\nvariables;\n\nlikelihood \"L\"\nseen, s;\n\n"
                "optimizer\nsimplex, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = no, maxFuncEvaluations = 800;\n\n"
                "parameterSeeds\ns = 0.5;\n\nprofileLikelihoodRequests;\n\nseen : 3\n")));
        QSignalSpy setup(page(), &OptimizerPage::optimizerSetupChanged);
        show();
        QVERIFY(!widget<QCheckBox>("usePreviousEstimatesSeedsCheckBox")->isChecked());
        QVERIFY(!widget<QCheckBox>("calculateCovarianceCheckbox")->isChecked());
        QCOMPARE(widget("simplexMaxFuncLineEdit")->text(), QString("800"));
        leave();
        QCOMPARE(setup.count(), 0);
        QVERIFY(!m_f->window.isChanged());
        show();
        widget<QCheckBox>("calculateCovarianceCheckbox")->click();
        QVERIFY(m_f->window.workspace().calculateCovariance && m_f->window.isChanged());
        QCOMPARE(QSettings().value("calculateCovariance").toBool(), true);

        QTest::keyClicks(widget("simplexMaxFuncLineEdit"), "9");
        QVERIFY(m_f->window.loadOptimizerSettings(m_f->file(
                "optimizer\nsimplex, usePreviousEstimatesAsSeeds = yes,\ncalculateCovariance = yes,\n"
                "maxFuncEvaluations = 777, fractionalTolerance = 1e-9, stepSize = 0.2;\n")));
        QTRY_COMPARE(texts(simplexFields), QStringList({"777", "1e-09", "0.2"}));
        leave();
        QCOMPARE(records().mid(3), QList<double>({777, 1e-9, 0.2}));

        show();
        const auto buttons = page()->findChildren<QPushButton *>(QRegularExpression("(Reset|Defaults)Button$"));
        QCOMPARE(buttons.size(), 4);
        for (bool locked : {true, false}) {
            emit(locked ? m_f->window.lockWorkspace() : m_f->window.clearEstimates());
            QCOMPARE(widget<QComboBox>("optimizerComboBox")->isEnabled(), !locked);
            for (QPushButton *button : buttons)
                QCOMPARE(button->isEnabled(), !locked);
            for (const QString &name : fletchFields + simplexFields)
                QCOMPARE(widget(name)->isReadOnly(), locked);
            QVERIFY(widget<QCheckBox>("calculateCovarianceCheckbox")->isEnabled());
            QVERIFY(widget<QRadioButton>("customProfileRadioButton")->isEnabled());
        }
    }

    void customProfilePrecisionIsHandedOnWhenUsable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("precision"); // 0: none handed on
        QTest::newRow("0.02") << "0.02" << 0.02;
        QTest::newRow("empty keeps the default") << "" << 0.0;
        QTest::newRow("0 keeps the default") << "0" << 0.0;
        QTest::newRow("incomplete number keeps the default") << "1e" << 0.0;
        QTest::newRow("no sign") << "-0.2" << 0.2;
    }
    void customProfilePrecisionIsHandedOnWhenUsable()
    {
        QFETCH(QString, text);
        QFETCH(double, precision);
        show();
        widget<QRadioButton>("customProfileRadioButton")->click();
        QCOMPARE(m_f->window.profilePrecision().value_or(0.0), 0.1); // the value the field starts with
        retype("customProfileLineEdit", text);
        QCOMPARE(m_f->window.profilePrecision().value_or(0.0), precision);
        const QString warning = precision ? "" : "Custom precision must be greater than 0; the default is used";
        QCOMPARE(page()->statusBar()->currentMessage(), warning);
        widget<QRadioButton>("defaultProfileRadioButton")->click();
        QVERIFY(!widget("customProfileLineEdit")->isEnabled() && !m_f->window.profilePrecision());
        QCOMPARE(page()->statusBar()->currentMessage(), QString());
    }
};

QTEST_MAIN(tst_OptimizerPage)
#include "tst_optimizerpage.moc"
