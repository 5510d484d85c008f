#include "ParameterSeedsPage.h"

#include "ParameterSeedDelegate.h"
#include "ParameterSeedsForm.h"
#include "ParameterSeedsModel.h"
#include "SeedColumn.h"

#include "app/PelkWindow.h"
#include "model/ModelDefinition.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

ParameterSeedsPage::ParameterSeedsPage(PelkWindow *mainWindow)
    : PelkContentPage(mainWindow, "Parameter Seeds"),
      m_form(new ParameterSeedsForm(this)),
      m_delegate(new ParameterSeedDelegate(this))
{
    contentLayout()->addWidget(m_form);
    m_form->tableView()->setItemDelegate(m_delegate);
    connect(m_form, &ParameterSeedsForm::copyFromClipboardRequest, this,
            &ParameterSeedsPage::onCopyFromClipboard);

    // Pasting is an edit like typing into a cell, so the lock stops it too;
    // the window's own copy of the estimates goes through setSeed.
    QPushButton *paste = m_form->copyFromClipboardButton();
    connect(mainWindow, &PelkWindow::lockWorkspace, paste, [paste] { paste->setEnabled(false); });
    connect(mainWindow, &PelkWindow::clearEstimates, paste, [paste] { paste->setEnabled(true); });
}

void ParameterSeedsPage::setModelDefinition(pelk::ModelDefinition *model, std::vector<double> *seeds)
{
    ParameterSeedsModel *previous = m_seedsModel;
    m_model = model;
    m_seedsModel = new ParameterSeedsModel(model, seeds, this);
    if (mainWindow()->isLocked())
        m_seedsModel->onLockWorkspace();
    connect(m_seedsModel, &QAbstractItemModel::dataChanged, this, &ParameterSeedsPage::parameterSeedsChanged);
    connect(m_seedsModel, &ParameterSeedsModel::illegalSeedError, this, &ParameterSeedsPage::onIllegalSeed);
    connect(mainWindow(), &PelkWindow::lockWorkspace, m_seedsModel, &ParameterSeedsModel::onLockWorkspace);
    connect(mainWindow(), &PelkWindow::clearEstimates, m_seedsModel, &ParameterSeedsModel::onClearEstimates);
    m_form->tableView()->setModel(m_seedsModel);
    delete previous;
}

void ParameterSeedsPage::setSeed(int i, double value)
{
    if (m_seedsModel)
        m_seedsModel->setData(m_seedsModel->index(i, 0), value, Qt::EditRole);
}

void ParameterSeedsPage::onCopyFromClipboard()
{
    if (!m_seedsModel)
        return;
    const QString text = QGuiApplication::clipboard()->text();
    const std::optional<QList<double>> values = readSeedColumn(text, m_seedsModel->rowCount());
    if (!values) {
        QMessageBox::critical(this, "Parameter Seeds", "Clipboard data is not formatted correctly.");
        return;
    }
    for (int i = 0; i < int(values->size()); ++i)
        setSeed(i, values->at(i));
}

void ParameterSeedsPage::onIllegalSeed(int i)
{
    const QString name = m_model && i < m_model->parameterCount() ? m_model->parameterName(i) : QString();
    statusBar()->showMessage(QString("Illegal seed for parameter %1").arg(name), 1000);
}
