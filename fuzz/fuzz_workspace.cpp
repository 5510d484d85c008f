// Fuzz target for the workspace reader. Any input either reads cleanly or
// stops with a zav::ParseError (any other exception ends the run through
// std::terminate). A text that reads cleanly must survive a round trip:
// written by FileWriter, read again and written again, it gives the same
// text. Saving normalises the layout, so the first text written, not the
// input, is the fixed point.
#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "model/Workspace.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdint>
#include <cstdio>

namespace {

// The reader reads files only: every input goes through one scratch file,
// removed with its folder when the process ends normally.
const QString &scratchPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("workspace.txt"));
    return path;
}

void writeFile(const QByteArray &bytes)
{
    QFile file(scratchPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(scratchPath()));
        std::abort();
    }
}

QString written(const pelk::Workspace &workspace)
{
    QString text;
    QTextStream stream(&text);
    pelk::FileWriter writer(&stream);
    writer.writeWorkspace(workspace);
    stream.flush();
    return text;
}

[[noreturn]] void brokenRoundTrip(const char *what, const QString &first, const QString &second)
{
    std::fprintf(stderr,
                 "Broken workspace round trip: %s\n--- written from the input:\n%s\n--- written again:\n%s\n",
                 what, qPrintable(first), qPrintable(second));
    __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    writeFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    pelk::Workspace input;
    try {
        pelk::PelkFileReader().readWorkspace(scratchPath(), input);
    } catch (const zav::ParseError &) {
        return 0;
    }

    const QString first = written(input);
    writeFile(first.toUtf8());
    pelk::Workspace reread;
    try {
        pelk::PelkFileReader().readWorkspace(scratchPath(), reread);
    } catch (const zav::ParseError &e) {
        brokenRoundTrip("the written text does not read", first, e.description());
    }
    const QString second = written(reread);
    if (second != first)
        brokenRoundTrip("the text written again differs", first, second);
    return 0;
}
