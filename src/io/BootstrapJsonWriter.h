// A bootstrap result (a whole run or one shard) as one JSON document:
//   replicates, failed                  this document's replicates, and how
//                                       many of them did not refit
//   totalReplicates, seed               B and S of the whole run
//   shard {index, count}                1/1 for a whole run
//   dataFingerprint, observedDeviance, observedPearson
//   bootstrapPValue, bootstrapChat, bootstrapPearsonPValue,
//   bootstrapPearsonChat                over this document's replicates
//   results [{replicate, deviance, pearson, failed}]
// Numbers at full double precision (they read back to the same bits), null
// where a value does not exist. The seed is written as a JSON number, which
// is why seeds stay below 2^53.
#pragma once

#include <QJsonObject>

namespace pelk {

struct BootstrapResult;

class BootstrapJsonWriter
{
public:
    static QJsonObject write(const BootstrapResult &result);
};

} // namespace pelk
