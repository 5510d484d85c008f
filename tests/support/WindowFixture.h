// One main window as a test drives it: an isolated settings store, every
// message box answered and recorded, file dialogs answered from a script,
// workspaces written from text into temporary files, and an estimation
// started from the Estimate page and waited for. Each GUI test builds its
// window from this instead of assembling the parts itself.
#pragma once

#include "GuiTestSupport.h"
#include "ModalAnswerer.h"
#include "TempFiles.h"

#include "app/PelkWindow.h"
#include "estimation/EstimationSequence.h"
#include "io/FileWriter.h"
#include "pages/estimate/EstimatePage.h"
#include "pages/estimate/EstimationForm.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTextStream>

#include <memory>


class WindowFixture
{
public:
    WindowFixture() { window.setFileDialogs(std::unique_ptr<FileDialogs>(dialogs)); }

    // Writes the text to a new temporary file and returns its path.
    QString file(const QString &text, const QString &name = QString())
    {
        return files.write(name.isEmpty() ? QStringLiteral("workspace%1.txt").arg(++m_fileCount) : name, text);
    }

    // Loads the workspace text through the window, as File > Open does.
    bool load(const QString &workspaceText) { return window.loadWorkspace(file(workspaceText)); }

    // Presses Estimate and waits for the run to end; false when it did not
    // end in time (a hang) or did not start.
    bool estimateAndWait(int timeoutMs = 120000)
    {
        auto *page = window.findChild<pelk::EstimatePage *>();
        QSignalSpy finished(page->sequence(), &pelk::EstimationSequence::finished);
        page->form()->estimateButton()->click();
        return finished.count() > 0 || finished.wait(timeoutMs);
    }

    // The model, seeds, requests, counts and flags as the workspace file
    // writes them: two workspaces are the same when this text is.
    QString workspaceText()
    {
        QString text;
        QTextStream stream(&text);
        window.storeEditedOptimizer();
        pelk::FileWriter(&stream).writeWorkspace(window.workspace());
        stream.flush();
        return text;
    }

    support::TempFiles files;
    PelkWindow window;
    ModalAnswerer answerer;
    // Owned by the window.
    ScriptedFileDialogs *dialogs = new ScriptedFileDialogs;

private:
    int m_fileCount = 0;
};
