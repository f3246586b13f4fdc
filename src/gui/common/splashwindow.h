// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tallyhawk {

// The window the program starts with: product name, version, a warning and the Start button.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    // The logo is read from images/ in the program's folder.
    explicit SplashWindow(const QString& programFolder, QWidget* parent = nullptr);

    QLabel* productNameLabel;
    QLabel* versionLabel;
    QLabel* licenceLabel;
    QLabel* logoLabel;
    QPushButton* startButton;

signals:
    // Start was clicked: the splash window is hidden and the board should be shown.
    void startRequested();
    // The window was closed without Start: the program ends.
    void closedWithoutStart();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void startProgram();

    bool m_started = false;
};

} // namespace tallyhawk
