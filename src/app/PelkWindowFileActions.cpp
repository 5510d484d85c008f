// The File menu of the main window: new, load and save of the workspace and
// of every side file, with the unsaved-changes question. Every file is
// written whole or not at all (writeTextFile).
#include "PelkWindow.h"
#include "CompareModelsDialog.h"
#include "RecentWorkspaces.h"

#include "expr/ParseError.h"
#include "io/FileWriter.h"
#include "io/PelkFileReader.h"
#include "io/SafeTextFile.h"
#include "model/ModelDefinition.h"
#include "model/ProfileLikelihoods.h"
#include "pages/frame/FileDialogs.h"
#include "pages/options/OptimizerPage.h"
#include "pages/seeds/ParameterSeedsPage.h"
#include "pages/seeds/ProfileLikelihoodsPage.h"
#include "pages/symbols/ParameterDefinitionsPage.h"

#include <QAction>
#include <QMessageBox>
#include <QTextStream>

namespace {

const char *const fileFilter = "Text Files (*.txt);;All Files (*.*)";

} // namespace

QString PelkWindow::chooseOpenFile(const QString &caption, const QString &settingsKey)
{
    const QString fileName = m_fileDialogs->getOpenFileName(
        this, caption, FileDialogs::rememberedDirectory(settingsKey), fileFilter);
    FileDialogs::rememberDirectory(fileName, settingsKey);
    return fileName;
}

QString PelkWindow::chooseSaveFile(const QString &caption, const QString &settingsKey)
{
    const QString fileName = m_fileDialogs->getSaveFileName(
        this, caption, FileDialogs::rememberedDirectory(settingsKey), fileFilter);
    FileDialogs::rememberDirectory(fileName, settingsKey);
    return fileName;
}

void PelkWindow::showError(const QString &message)
{
    QMessageBox::critical(this, m_windowTitleBase, message);
}

bool PelkWindow::saveSideFile(const QString &fileName, const std::function<void(pelk::FileWriter &)> &write,
                              const QString &savedMessage)
{
    if (!pelk::writeTextFile(fileName, [&write](QTextStream &stream) {
            pelk::FileWriter writer(&stream);
            write(writer);
        })) {
        showError(QString("Error opening output file \"%1\"").arg(fileName));
        return false;
    }
    showStatusMessage(savedMessage.arg(fileName));
    return true;
}

bool PelkWindow::confirmDiscard()
{
    if (!m_changed)
        return true;
    QMessageBox box(
        QMessageBox::Question, m_windowTitleBase,
        QString("There are unsaved changes to the workspace \"%1\".  Discard?").arg(workspaceDisplayName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    // Only a click on Save writes a file: Return and Escape both cancel.
    // Without a default of its own the box would make Save the default.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    if (m_workspaceFileName.isEmpty()) {
        const QString fileName = chooseSaveFile("Save Workspace", "workspaceDirectory");
        if (fileName.isEmpty())
            return false;
        setWorkspaceFileName(fileName);
    }
    // Unsaved work is never dropped silently: a failed save keeps the window.
    return writeWorkspace();
}

bool PelkWindow::writeWorkspace()
{
    // Settings typed on the options page reach their records when the page is
    // left; a save from the page itself must not miss them.
    storeEditedOptimizer();
    const bool written = pelk::writeTextFile(m_workspaceFileName, [this](QTextStream &stream) {
        pelk::FileWriter(&stream).writeWorkspace(*m_workspace);
    });
    if (!written) {
        showError(QString("Error opening output file \"%1\"").arg(m_workspaceFileName));
        if (m_changed)
            setTitle("**");
        return false;
    }
    actionSaveWorkspace->setEnabled(false);
    m_changed = false;
    setTitle("--");
    m_recentWorkspaces->add(m_workspaceFileName);
    return true;
}

// A read keeps what it read, even when it failed part way; the model needs a
// likelihood to be edited, and the seeds one value per parameter.
void PelkWindow::completeAfterRead()
{
    if (m_workspace->model.likelihoodCount() == 0)
        m_workspace->model.addLikelihood("Likelihood 1", false);
    if (m_workspace->seeds.size() != std::size_t(m_workspace->model.parameterCount()))
        m_workspace->seeds.resize(std::size_t(m_workspace->model.parameterCount()), 0.5);
}

bool PelkWindow::loadWorkspace(const QString &fileName)
{
    resetWorkspace();
    setWorkspaceFileName(fileName);
    pelk::PelkFileReader reader;
    bool read = true;
    try {
        reader.readWorkspace(fileName, *m_workspace);
    } catch (zav::ParseError &error) {
        error.setFileName(fileName);
        showError(error.description());
        read = false;
    }
    useWorkspaceOptimizer();
    completeAfterRead();
    createLikelihoodPages();
    m_profileLikelihoodsPage->setModelDefinition(&m_workspace->model, &m_workspace->parameterRequests,
                                                 &m_workspace->variableRequests);
    m_parameterSeedsPage->setModelDefinition(&m_workspace->model, &m_workspace->seeds);
    if (read) {
        m_changed = false;
        setTitle("--");
        m_recentWorkspaces->add(fileName);
        showStatusMessage(QString("Workspace loaded from \"%1\"").arg(fileName));
    } else {
        // What was read is only part of the file: a save must not replace
        // the file with it, so the window holds an untitled, changed copy.
        setWorkspaceFileName(QString());
        workspaceChanged();
    }
    return read;
}

bool PelkWindow::loadModelDefinition(const QString &fileName)
{
    // The definition starts a new workspace, with every count zero: saving
    // it over the workspace file open before would lose that file's counts.
    resetWorkspace();
    setWorkspaceFileName(QString());
    pelk::PelkFileReader reader;
    bool read = true;
    try {
        reader.readModelDefinition(fileName, m_workspace->model, m_workspace->categoryCounts);
    } catch (zav::ParseError &error) {
        error.setFileName(fileName);
        showError(error.description());
        read = false;
    }
    completeAfterRead();
    createLikelihoodPages();
    m_profileLikelihoodsPage->setModelDefinition(&m_workspace->model, &m_workspace->parameterRequests,
                                                 &m_workspace->variableRequests);
    m_parameterSeedsPage->setModelDefinition(&m_workspace->model, &m_workspace->seeds);
    workspaceChanged();
    if (read)
        showStatusMessage(QString("Model definition loaded from \"%1\"").arg(fileName));
    return read;
}

bool PelkWindow::saveModelDefinition(const QString &fileName)
{
    const bool written = pelk::writeTextFile(fileName, [this](QTextStream &stream) {
        pelk::FileWriter(&stream).writeModelDefinition(m_workspace->model);
    });
    if (!written) {
        showError(QString("Unable to open file \"%1\"").arg(fileName));
        return false;
    }
    QMessageBox::information(this, m_windowTitleBase,
                             QString("Model definition saved to \"%1\"").arg(fileName));
    return true;
}

bool PelkWindow::loadCategoryCounts(const QString &fileName)
{
    pelk::PelkFileReader reader;
    bool read = true;
    try {
        reader.readCategoryCounts(fileName, m_workspace->categoryCounts);
    } catch (zav::ParseError &error) {
        error.setFileName(fileName);
        showError(error.description());
        read = false;
    }
    emit categoryCountsLoaded();
    workspaceChanged();
    if (read)
        showStatusMessage(QString("Category counts loaded from \"%1\"").arg(fileName));
    return read;
}

bool PelkWindow::saveCategoryCounts(const QString &fileName)
{
    return saveSideFile(
        fileName,
        [this](pelk::FileWriter &writer) {
            writer.writeCategoryCounts(m_workspace->categoryCounts, m_workspace->model);
        },
        "Category counts written to \"%1\"");
}

bool PelkWindow::loadOptimizerSettings(const QString &fileName)
{
    pelk::PelkFileReader reader;
    // What the file does not set keeps the values in force.
    storeEditedOptimizer();
    m_workspace->optimizer.type = zav::OptimizerFactory::NoOptimizer;
    bool read = true;
    try {
        reader.readOptimizerSettings(fileName, m_workspace->usePreviousEstimatesAsSeeds,
                                     m_workspace->calculateCovariance, m_workspace->optimizer);
    } catch (const zav::ParseError &error) {
        showError(error.description());
        read = false;
    }
    // The options page follows the method read, as after a workspace load.
    useWorkspaceOptimizer();
    if (!read)
        return false;
    workspaceChanged();
    showStatusMessage(QString("Optimizer settings read from \"%1\"").arg(fileName));
    return true;
}

bool PelkWindow::saveOptimizerSettings(const QString &fileName)
{
    storeEditedOptimizer();
    return saveSideFile(
        fileName,
        [this](pelk::FileWriter &writer) {
            writer.writeOptimizerSettings(m_workspace->usePreviousEstimatesAsSeeds,
                                          m_workspace->calculateCovariance, m_workspace->optimizer);
        },
        "Optimizer settings saved to \"%1\"");
}

bool PelkWindow::loadParameterSeeds(const QString &fileName)
{
    pelk::PelkFileReader reader;
    std::vector<double> seeds = m_workspace->seeds;
    bool read = true;
    try {
        reader.readParameterSeeds(fileName, m_workspace->model, seeds);
    } catch (const zav::ParseError &error) {
        showError(error.description());
        read = false;
    }
    // Through the seeds page, so that its table shows the values read.
    for (int i = 0; i < int(seeds.size()) && i < int(m_workspace->seeds.size()); ++i)
        m_parameterSeedsPage->setSeed(i, seeds[std::size_t(i)]);
    if (read)
        showStatusMessage(QString("Parameter seeds loaded from \"%1\"").arg(fileName));
    return read;
}

bool PelkWindow::saveParameterSeeds(const QString &fileName)
{
    return saveSideFile(
        fileName,
        [this](pelk::FileWriter &writer) {
            writer.writeParameterSeeds(m_workspace->model, m_workspace->seeds);
        },
        "Parameter seeds saved to \"%1\"");
}

bool PelkWindow::loadProfileLikelihoodRequests(const QString &fileName)
{
    // Emptied and shown before the read, so that a repaint under the error
    // box shows what was read so far, never requests of the old file.
    m_workspace->parameterRequests = pelk::ProfileLikelihoods();
    m_workspace->variableRequests = pelk::ProfileLikelihoods();
    m_profileLikelihoodsPage->setModelDefinition(&m_workspace->model, &m_workspace->parameterRequests,
                                                 &m_workspace->variableRequests);
    pelk::PelkFileReader reader;
    bool read = true;
    try {
        reader.readProfileLikelihoodRequests(fileName, m_workspace->model, m_workspace->parameterRequests,
                                             m_workspace->variableRequests);
    } catch (const zav::ParseError &error) {
        showError(error.description());
        read = false;
    }
    m_profileLikelihoodsPage->setModelDefinition(&m_workspace->model, &m_workspace->parameterRequests,
                                                 &m_workspace->variableRequests);
    workspaceChanged();
    if (read)
        showStatusMessage(QString("Profile likelihood requests loaded from \"%1\"").arg(fileName));
    return read;
}

bool PelkWindow::saveProfileLikelihoodRequests(const QString &fileName)
{
    return saveSideFile(
        fileName,
        [this](pelk::FileWriter &writer) {
            writer.writeProfileLikelihoodRequests(m_workspace->model, m_workspace->parameterRequests,
                                                  m_workspace->variableRequests);
        },
        "Profile likelihood requests saved to \"%1\"");
}

// --- The File menu's slots: a dialog, then the action ------------------------------------

void PelkWindow::openFileThen(const QString &caption, const QString &settingsKey,
                              bool (PelkWindow::*action)(const QString &))
{
    const QString fileName = chooseOpenFile(caption, settingsKey);
    if (!fileName.isEmpty())
        (this->*action)(fileName);
}

void PelkWindow::saveFileThen(const QString &caption, const QString &settingsKey,
                              bool (PelkWindow::*action)(const QString &))
{
    const QString fileName = chooseSaveFile(caption, settingsKey);
    if (!fileName.isEmpty())
        (this->*action)(fileName);
}

void PelkWindow::onNewWorkspace()
{
    if (!confirmDiscard())
        return;
    resetWorkspace();
    // A new workspace has no file yet: its first save asks for one.
    setWorkspaceFileName(QString());
    newLikelihood("Likelihood 1");
    showPage(m_parameterDefinitionsPage);
}

void PelkWindow::onLoadWorkspace()
{
    const QString fileName = chooseOpenFile("Load Workspace", "workspaceDirectory");
    if (!fileName.isEmpty() && confirmDiscard())
        loadWorkspace(fileName);
}

void PelkWindow::onOpenRecentWorkspace(const QString &fileName)
{
    if (confirmDiscard())
        loadWorkspace(fileName);
}

void PelkWindow::onCompareModels()
{
    auto *dialog = new CompareModelsDialog(*m_fileDialogs, this);
    dialog->setObjectName(QStringLiteral("compareModelsDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &CompareModelsDialog::openRequested, this, &PelkWindow::onOpenRecentWorkspace);
    connect(dialog, &CompareModelsDialog::helpRequested, this, &PelkWindow::showHelpPage);
    dialog->show();
}

void PelkWindow::onSaveWorkspace()
{
    if (m_workspaceFileName.isEmpty())
        onSaveWorkspaceAs();
    else
        writeWorkspace();
}

void PelkWindow::onSaveWorkspaceAs()
{
    const QString fileName = chooseSaveFile("Save Workpace", "workspaceDirectory");
    if (fileName.isEmpty())
        return;
    setWorkspaceFileName(fileName);
    writeWorkspace();
}

void PelkWindow::onLoadModelDefinition()
{
    const QString fileName = chooseOpenFile("Load Model Definition", "modelDefinitionDirectory");
    if (!fileName.isEmpty() && confirmDiscard())
        loadModelDefinition(fileName);
}

void PelkWindow::onSaveModelDefinition()
{
    saveFileThen("Save Model Definition", "modelDefinitionDirectory", &PelkWindow::saveModelDefinition);
}

void PelkWindow::onLoadCategoryCounts()
{
    openFileThen("Load Category Counts", "categoryCountsDirectory", &PelkWindow::loadCategoryCounts);
}

void PelkWindow::onSaveCategoryCounts()
{
    saveFileThen("Save Category Counts", "categoryCountsDirectory", &PelkWindow::saveCategoryCounts);
}

void PelkWindow::onLoadOptimizerSettings()
{
    openFileThen("Load Optimizer Settings", "optimizerSettingsDirectory", &PelkWindow::loadOptimizerSettings);
}

void PelkWindow::onSaveOptimizerSettings()
{
    saveFileThen("Save Optimizer Settings", "optimizerSettingsDirectory", &PelkWindow::saveOptimizerSettings);
}

void PelkWindow::onLoadParameterSeeds()
{
    openFileThen("Load Parameter Seeds", "parameterSeedsDirectory", &PelkWindow::loadParameterSeeds);
}

void PelkWindow::onSaveParameterSeeds()
{
    saveFileThen("Save Parameter Seeds", "parameterSeedsDirectory", &PelkWindow::saveParameterSeeds);
}

void PelkWindow::onLoadProfileLikelihoodRequests()
{
    openFileThen("Load Profile Likelihood Requests", "profileLikelihoodsDirectory",
                 &PelkWindow::loadProfileLikelihoodRequests);
}

void PelkWindow::onSaveProfileLikelihoodRequests()
{
    saveFileThen("Save Profile Likelihood Requests", "profileLikelihoodsDirectory",
                 &PelkWindow::saveProfileLikelihoodRequests);
}
