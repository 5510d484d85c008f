#include "io/Workspace.h"

#include "io/FileWriter.h"
#include "io/PelkFileReader.h"

namespace pelk {

void Workspace::read(const QString &fileName)
{
    PelkFileReader reader;
    read(fileName, reader);
}

void Workspace::read(const QString &fileName, PelkFileReader &reader)
{
    reader.readWorkspace(fileName, model, seeds, parameterRequests, variableRequests, categoryCounts,
                         usePreviousEstimatesAsSeeds, calculateCovariance);
}

void Workspace::write(FileWriter &writer) const
{
    writer.writeWorkspace(model, seeds, parameterRequests, variableRequests, categoryCounts,
                          usePreviousEstimatesAsSeeds, calculateCovariance);
}

} // namespace pelk
