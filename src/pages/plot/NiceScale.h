// Round numbers for plot axes. A tick step is 1, 2 or 5 times a power of
// ten: the smallest such step that cuts a span into at most maxIntervals
// parts. A data range is widened outwards to the nearest multiples of its
// step, so that the first and the last tick bracket the data and every
// tick value is a multiple of the step.
#pragma once

class NiceScale
{
public:
    // Enough ticks to read a value to a tenth of the span or so, few enough
    // that their labels never crowd an axis a few hundred pixels long.
    static constexpr int maxIntervals = 8;

    struct Range
    {
        double min, max, step;
    };

    // The smallest round step of at least span / maxIntervals and at least
    // minimumStep (1 for axes that count whole things); 1 for a span that
    // is not positive or not finite.
    static double step(double span, double minimumStep = 0.0);
    // [min, max] widened to multiples of step(max - min); a range of no
    // width (a single value) is first taken as [min, min + 1].
    static Range bracket(double min, double max, double minimumStep = 0.0);
    // The decimals that print every multiple of the step exactly: 0 for
    // steps of 1 and more, 1 for 0.5, 0.2 and 0.1, and so on.
    static int decimals(double step);
};
