#include "io/SafeTextFile.h"

#include <QSaveFile>
#include <QTextStream>

namespace pelk {

bool writeTextFile(const QString &fileName, const std::function<void(QTextStream &)> &write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    write(stream);
    stream.flush();
    if (stream.status() != QTextStream::Ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace pelk
