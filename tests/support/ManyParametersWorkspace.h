// A workspace with many parameters, written exactly as PELK saves it: n
// parameters a0 .. a(n-1), one binomial likelihood on a0, a seed and a
// 0.05 profile request for every parameter. Reading it is linear in n when
// no step looks names up in a list or rebuilds what came before.
#pragma once

#include <QString>
#include <QStringList>

namespace support {

// The seed of parameter i: distinct for every i and exact in the file.
inline double manyParametersSeed(int i)
{
    return i + 0.5;
}

inline QString manyParametersWorkspace(int n)
{
    QStringList names, seeds, requests;
    for (int i = 0; i < n; ++i) {
        const QString name = QStringLiteral("a%1").arg(i);
        names << name;
        seeds << name + QStringLiteral(" = ") + QString::number(manyParametersSeed(i), 'g', 15);
        requests << name + QStringLiteral(" = 0.05");
    }
    return QStringLiteral("parameters\n") + names.join(QStringLiteral(", "))
        + QStringLiteral(";\n\nvariables;\n\nlikelihood \"Trials\"\nsuccess, a0,\nfailure, 1-a0;\n\n"
                         "optimizer\npowell, usePreviousEstimatesAsSeeds = no,\ncalculateCovariance = yes;\n\n"
                         "parameterSeeds\n")
        + seeds.join(QStringLiteral(",\n")) + QStringLiteral(";\n\nprofileLikelihoodRequests\n")
        + requests.join(QStringLiteral(",\n")) + QStringLiteral(";\n\n\nfailure : 7\nsuccess : 3\n");
}

} // namespace support
