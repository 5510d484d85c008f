// The estimation summary as plain text: the sections of the summary report
// (date, AIC, AICc, BIC, log-likelihoods, estimability, sample size,
// goodness of fit, counts by likelihood, parameter estimates, profile
// intervals, convenience functions) followed
// by the observed-versus-expected table, numbers as the report prints them
// (6 significant digits; profile limits with their own decimals; "--na--"
// for a value that does not exist). Tables are aligned in columns.
#pragma once

#include <optional>

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace pelk {

struct EstimationSummary;
struct ProfileLimit;

class SummaryTextWriter
{
public:
    static QString write(const EstimationSummary &summary, const QDateTime &when);

    // The convergence check's line, and the warning line when it is above
    // the threshold (both end in a newline), as the report also shows them.
    static QString gradientLines(const EstimationSummary &summary);
    // "AICc: ..." and "BIC: ..." ("--na--" where n - k - 1 <= 0), each
    // ending in a newline.
    static QString criteriaLines(const EstimationSummary &summary);
    // "Sample size (n): ..." with its newline.
    static QString sampleSizeLine(const EstimationSummary &summary);
    // The goodness-of-fit section's lines: G^2, X^2, df, p-values, c-hat,
    // then the note on a c-hat below 1, the warning and the reason where
    // they apply; each ends in a newline.
    static QString goodnessOfFitLines(const EstimationSummary &summary);
    // "05 March 2010 03::15::42 pm", in the C locale so that the text is
    // the same on every desktop.
    static QString dateLine(const QDateTime &when);
    // General format, 6 significant digits; "--na--" for NaN.
    static QString number(double value);
    // The same; "--na--" also for no value.
    static QString number(const std::optional<double> &value);
    // A profile limit in fixed notation with the decimals its search
    // reached (10^-digits; a search coarser than 1 shows whole numbers);
    // beyond the last value where the model could be evaluated, that value
    // marked "> " (upper) or "< " (lower); "not bounded" for an open side;
    // "--na--" for a limit not found or not finite.
    static QString profileLimit(const ProfileLimit &limit, bool isUpper, int displayDigits);
    // What the marks of the profile table mean, one line for each mark the
    // summary shows (none when every limit was found).
    static QStringList profileNotes(const EstimationSummary &summary);
};

} // namespace pelk
