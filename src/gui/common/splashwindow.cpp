#include "splashwindow.h"

#include "module2.h"
#include "uifonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tallyhawk {

SplashWindow::SplashWindow(Module2& module2, const QString& dataFolder, QWidget* parent)
    : QWidget(parent), m_module2(module2)
{
    setWindowTitle("Tallyhawk");
    setObjectName("splashWindow");

    lblProductName = new QLabel("Tallyhawk", this);
    lblProductName->setObjectName("lblProductName");
    lblProductName->setFont(uiFont("Arial", 32, true));

    lblVersion = new QLabel(
        QStringLiteral("Version %1.%2").arg(TALLYHAWK_VERSION_MAJOR).arg(TALLYHAWK_VERSION_MINOR), this);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setFont(uiFont("Arial", 12, true));

    lblWarning = new QLabel("Tallyhawk is free software, published under the GNU General Public License, "
                            "version 3 or later, and comes with ABSOLUTELY NO WARRANTY; see the licence "
                            "for details.",
                            this);
    lblWarning->setObjectName("lblWarning");
    lblWarning->setWordWrap(true);
    lblWarning->setFont(uiFont("Arial", 8));

    imgLogo = new QLabel(this);
    imgLogo->setObjectName("imgLogo");
    const QPixmap logo(QDir(m_module2.gProgramFolder).filePath("images/logo.png"));
    if (!logo.isNull())
        imgLogo->setPixmap(logo.scaled(160, 160, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    CommandStart = new QPushButton("Start", this);
    CommandStart->setObjectName("CommandStart");
    CommandStart->setFont(uiFont("Arial", 10, true));
    CommandStart->setDefault(true);
    connect(CommandStart, &QPushButton::clicked, this, &SplashWindow::CommandStart_Click);

    auto* text = new QVBoxLayout;
    text->addWidget(lblProductName);
    text->addWidget(lblVersion);
    text->addStretch();
    text->addWidget(lblWarning);
    auto* top = new QHBoxLayout;
    top->addWidget(imgLogo, 0, Qt::AlignTop);
    top->addSpacing(16);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandStart);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addLayout(top);
    layout->addLayout(buttons);
    resize(480, 240);

    Form_Load(dataFolder);
}

void SplashWindow::Form_Load(const QString& dataFolder)
{
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_module2.setDataFolder(dataFolder);
}

void SplashWindow::CommandStart_Click()
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
