#include "AboutDialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle("Dialog");
    auto *layout = new QVBoxLayout(this);

    auto *name = new QLabel("<p align=\"center\" style=\"font-size:18pt\">PELK<br>Parameter Estimation by "
                            "Likelihood</p>",
                            this);
    name->setTextFormat(Qt::RichText);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    auto *version = new QLabel("Version 4.7.0", this);
    QFont versionFont = version->font();
    versionFont.setPointSize(14);
    version->setFont(versionFont);
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);

    auto *ok = new QPushButton("OK", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
}
