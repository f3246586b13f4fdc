#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tallyhawk {

struct Module2;

// The window the program starts with: product name, version, a warning and the Start button.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    SplashWindow(Module2& module2, const QString& dataFolder, QWidget* parent = nullptr);

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblWarning;
    QLabel* imgLogo;
    QPushButton* CommandStart;

signals:
    // Start was clicked: the splash window is hidden and the board should be shown.
    void startRequested();
    // The window was closed without Start: the program ends.
    void closedWithoutStart();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load(const QString& dataFolder);
    void CommandStart_Click();

    Module2& m_module2;
    bool m_started = false;
};

} // namespace tallyhawk
