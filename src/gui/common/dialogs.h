// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Every message, question, input box, file dialog, document opening and beep of the program
// goes through this one interface. The program uses QtDialogs; tests answer from a script,
// so that no test ever waits on a modal dialog.

#include <optional>
#include <QCloseEvent>
#include <QString>
#include <QWidget>

namespace tallyhawk {

inline const QString kProgramTitle = QStringLiteral("Tallyhawk");

class Dialogs
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical,
        Question
    };

    // The button a question's Enter key answers with.
    enum class Default
    {
        Yes,
        No
    };

    // The answers to the question asked before typed pays that are not locked would be left.
    enum class UnlockedEdits
    {
        Lock,
        Drop,
        GoBack
    };

    virtual ~Dialogs() = default;

    // A message with an OK button.
    virtual void message(QWidget* parent, const QString& text, const QString& title = kProgramTitle,
                         Icon icon = Icon::None) = 0;
    // A question with Yes and No buttons: true for Yes.
    [[nodiscard]] virtual bool askYesNo(QWidget* parent, const QString& text,
                                        const QString& title = kProgramTitle, Icon icon = Icon::Question,
                                        Default defaultButton = Default::Yes) = 0;
    // A message with OK and Cancel buttons: true for OK.
    [[nodiscard]] virtual bool askOkCancel(QWidget* parent, const QString& text,
                                           const QString& title = kProgramTitle, Icon icon = Icon::None) = 0;
    // Typed values not yet stored: Lock, Drop or Go Back. Enter, Esc and the close box go back,
    // the one answer that neither stores nor loses anything.
    [[nodiscard]] virtual UnlockedEdits askLockDropOrGoBack(QWidget* parent, const QString& text,
                                                            const QString& title = kProgramTitle) = 0;
    // An input box offering a default answer: no value when cancelled.
    [[nodiscard]] virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                                       const QString& title, const QString& defaultText) = 0;
    // File dialogs: an empty name when cancelled. The filter is in Qt's form ("Text (*.txt)"); a
    // name saved without an extension gets the filter's.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // Opens a document with the desktop's viewer: false when that is not possible.
    [[nodiscard]] virtual bool openDocument(const QString& path) = 0;
    virtual void beep() = 0;
};

// The question a main window asks before the program ends: true for Yes.
[[nodiscard]] inline bool ConfirmQuit(Dialogs& dialogs, QWidget* parent)
{
    return dialogs.askYesNo(parent, "Are you sure you want to quit?");
}

// The close box of a main window: a shown window asks the quit question and the event is
// accepted or ignored by the answer. True when the program should end; a hidden window
// closes without a question (the program is already ending).
[[nodiscard]] inline bool ConfirmQuitOnClose(Dialogs& dialogs, QWidget* window, QCloseEvent* event)
{
    if (!window->isVisible()) {
        event->accept();
        return false;
    }
    const bool quit = ConfirmQuit(dialogs, window);
    event->setAccepted(quit);
    return quit;
}

} // namespace tallyhawk
