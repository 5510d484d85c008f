#include "io/InputFileText.h"

#include "expr/ParseError.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace pelk::InputFileText {

namespace {

[[noreturn]] void refuse(const QString &reason)
{
    throw zav::ParseError(zav::Token::empty(), reason);
}

} // namespace

QString read(const QString &fileName)
{
    // Checked before opening, because opening a pipe waits for a writer.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        refuse(QStringLiteral("Not a regular file"));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        refuse(QStringLiteral("Error opening input file (%1)").arg(file.errorString()));
    const QString tooLarge = QStringLiteral("The file is larger than 64 MiB");
    if (file.size() > maximumBytes)
        refuse(tooLarge);
    // Read in pieces up to one past the limit: a file may grow while it is
    // read, and some (in /proc) report a size of 0.
    constexpr qint64 pieceBytes = qint64(1) << 20;
    QByteArray bytes;
    for (;;) {
        const QByteArray piece = file.read(pieceBytes);
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > maximumBytes)
            refuse(tooLarge);
    }
    if (file.error() != QFileDevice::NoError)
        refuse(QStringLiteral("Error reading input file (%1)").arg(file.errorString()));

    QString text = QTextStream(bytes).readAll();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace pelk::InputFileText
