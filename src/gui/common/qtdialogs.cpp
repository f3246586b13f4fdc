#include "qtdialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

namespace tallyhawk {

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

int run(QWidget* parent, const QString& text, const QString& title, Dialogs::Icon icon,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(toQt(icon), title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

void QtDialogs::message(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    run(parent, text, title, icon, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& text, const QString& title, Icon icon,
                         Default defaultButton)
{
    return run(parent, text, title, icon, QMessageBox::Yes | QMessageBox::No,
               defaultButton == Default::No ? QMessageBox::No : QMessageBox::Yes) == QMessageBox::Yes;
}

bool QtDialogs::askOkCancel(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    return run(parent, text, title, icon, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& prompt, const QString& title,
                                        const QString& defaultText)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString QtDialogs::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                const QString& filter)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Added before the dialog asks whether to replace a file of that name.
    const QRegularExpressionMatch extension = QRegularExpression(R"(\*\.(\w+))").match(filter);
    if (extension.hasMatch())
        dialog.setDefaultSuffix(extension.captured(1));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

bool QtDialogs::openDocument(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace tallyhawk
