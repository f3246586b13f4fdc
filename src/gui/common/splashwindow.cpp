// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "splashwindow.h"

#include "screenfit.h"
#include "uifonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallyhawk {

SplashWindow::SplashWindow(const QString& programFolder, QWidget* parent) : QWidget(parent)
{
    setWindowTitle("Tallyhawk");
    setObjectName("splashWindow");

    productNameLabel = new QLabel("Tallyhawk", this);
    productNameLabel->setObjectName("productNameLabel");
    productNameLabel->setFont(uiFont("Arial", 32, true));

    versionLabel = new QLabel(
        QStringLiteral("Version %1.%2").arg(TALLYHAWK_VERSION_MAJOR).arg(TALLYHAWK_VERSION_MINOR), this);
    versionLabel->setObjectName("versionLabel");
    versionLabel->setFont(uiFont("Arial", 12, true));

    licenceLabel = new QLabel("Tallyhawk is free software, published under the GNU General Public License, "
                            "version 3 or later, and comes with ABSOLUTELY NO WARRANTY; see the licence "
                            "for details.",
                            this);
    licenceLabel->setObjectName("licenceLabel");
    licenceLabel->setWordWrap(true);
    licenceLabel->setFont(uiFont("Arial", 8));

    logoLabel = new QLabel(this);
    logoLabel->setObjectName("logoLabel");
    const QPixmap logo(QDir(programFolder).filePath("images/logo.png"));
    if (!logo.isNull()) {
        // Scaled for the screen's pixels, so that the logo stays sharp on a display scaled up.
        const qreal ratio = qApp->devicePixelRatio();
        QPixmap shown = logo.scaled(QSize(160, 160) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        shown.setDevicePixelRatio(ratio);
        logoLabel->setPixmap(shown);
    }

    startButton = new QPushButton("Start", this);
    startButton->setObjectName("startButton");
    startButton->setFont(uiFont("Arial", 10, true));
    startButton->setDefault(true);
    connect(startButton, &QPushButton::clicked, this, &SplashWindow::startProgram);

    auto* text = new QVBoxLayout;
    text->addWidget(productNameLabel);
    text->addWidget(versionLabel);
    text->addStretch();
    text->addWidget(licenceLabel);
    auto* top = new QHBoxLayout;
    top->addWidget(logoLabel, 0, Qt::AlignTop);
    top->addSpacing(16);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addLayout(top);
    layout->addLayout(buttons);
    SetScrollingLayout(this, layout);
    resize(480, 240);
    PlaceOnScreen(this);
}

void SplashWindow::startProgram()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_started = true;
    hide();
    QApplication::processEvents();
    emit startRequested();
    QApplication::restoreOverrideCursor();
}

} // namespace tallyhawk

namespace tallyhawk {

void SplashWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!m_started)
        emit closedWithoutStart();
}

} // namespace tallyhawk
