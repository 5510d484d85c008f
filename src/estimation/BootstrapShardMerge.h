// Puts the shards of one bootstrap run, computed by separate processes or
// machines, back together into the result one run would have given: the
// same record, replicate for replicate, so the same p-values to the bit.
//
// The shards must agree on everything that defines the run (seed, total
// number of replicates, data fingerprint, observed deviance and X^2), each
// must hold exactly the block its index names, and together they must cover
// 1..B exactly once. Anything else is refused with a message that names the
// offending file (or, for a gap, the missing shard and its replicates).
#pragma once

#include "estimation/BootstrapResult.h"

#include <QList>
#include <QString>

#include <optional>

namespace pelk {

class BootstrapShardMerge
{
public:
    struct Shard
    {
        QString fileName;
        BootstrapResult result;
    };

    // The merged result (shard 1 of 1), or none with the reason in `error`.
    static std::optional<BootstrapResult> merge(const QList<Shard> &shards, QString &error);
};

} // namespace pelk
