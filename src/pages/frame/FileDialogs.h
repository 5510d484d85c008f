// The file dialogs of the window and its pages, behind one seam: the
// desktop program asks the analyst through the toolkit's dialogs, tests
// answer from a script. Both calls return an empty name when the analyst
// cancels.
#pragma once

#include <QString>

class QWidget;

class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    virtual QString getOpenFileName(QWidget *parent, const QString &caption, const QString &directory,
                                    const QString &filter);
    // selectedFilter, when given, receives the filter the analyst chose.
    virtual QString getSaveFileName(QWidget *parent, const QString &caption, const QString &directory,
                                    const QString &filter, QString *selectedFilter = nullptr);

    // Each kind of file remembers the directory last chosen for it in the
    // settings store, under its own key (default ".").
    static QString rememberedDirectory(const QString &settingsKey);
    // Stores the directory of a chosen file under the key when it differs
    // from the one stored; a cancelled dialog (empty name) stores nothing.
    static void rememberDirectory(const QString &fileName, const QString &settingsKey);
    // The directory part of a path as typed: before the last "\" when the
    // name has one, else before the last "/"; empty for a bare file name.
    static QString directoryOf(const QString &fileName);
    // The name with the suffix appended unless it ends with it (in any case).
    // The save dialog asked before returning the name of a file that exists,
    // but not about the name with a suffix added; when that names a file
    // that exists, a question titled title asks whether to replace it. No
    // is its default, so Return and Escape keep the file; then the result
    // is empty and nothing is to be written.
    static QString withSuffix(QWidget *parent, const QString &title, const QString &fileName,
                              const QString &suffix);
};
