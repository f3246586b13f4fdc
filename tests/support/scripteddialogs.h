// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Dialogs for tests: records everything shown and answers from queues, so no test waits on
// a modal dialog. The queues are the test's script: a question, input box or file dialog that
// finds its queue empty was not expected, and an answer still queued when the dialogs go was
// never asked for; either fails the test. A test may hand the questions to other dialogs (the
// desktop's, answered by keys) while the rest stay scripted.

#include "gui/common/dialogs.h"

#include <deque>
#include <QStringList>
#include <QTest>

namespace tallyhawk {

class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "yesno", "okcancel", "lockdrop", "input", "open", "save", "document"
        QString text;
        QString title;
        bool defaultNo = false; // a question whose Enter key answers No
    };

    ~ScriptedDialogs() override
    {
        const std::size_t unused = answers.size() + inputs.size() + fileNames.size() + editChoices.size();
        if (unused > 0)
            QTest::qFail(qPrintable(QStringLiteral("%1 scripted answers were never asked for").arg(unused)),
                         __FILE__, __LINE__);
    }

    std::vector<Shown> shown;
    std::deque<bool> answers;      // Yes/No and OK/Cancel
    std::deque<QString> inputs;    // input boxes: a null QString() = Cancel
    std::deque<QString> fileNames; // file dialogs: empty = Cancel
    std::deque<UnlockedEdits> editChoices; // the question before typed pays would be left
    // When set, questions (Yes/No, OK/Cancel, Lock/Drop/Go Back) are recorded and then asked of
    // these dialogs instead of answered from the queues.
    Dialogs* questionsTo = nullptr;
    bool documentsOpen = true;     // what openDocument returns
    int beeps = 0;

    QStringList messages() const
    {
        QStringList texts;
        for (const Shown& s : shown)
            if (s.kind == "message")
                texts << s.text;
        return texts;
    }

    void message(QWidget*, const QString& text, const QString& title, Icon) override
    {
        shown.push_back({"message", text, title});
    }
    bool askYesNo(QWidget* parent, const QString& text, const QString& title, Icon icon,
                  Default defaultButton) override
    {
        shown.push_back({"yesno", text, title, defaultButton == Default::No});
        if (questionsTo)
            return questionsTo->askYesNo(parent, text, title, icon, defaultButton);
        return next(answers, text);
    }
    bool askOkCancel(QWidget* parent, const QString& text, const QString& title, Icon icon) override
    {
        shown.push_back({"okcancel", text, title});
        if (questionsTo)
            return questionsTo->askOkCancel(parent, text, title, icon);
        return next(answers, text);
    }
    UnlockedEdits askLockDropOrGoBack(QWidget* parent, const QString& text, const QString& title) override
    {
        shown.push_back({"lockdrop", text, title});
        if (questionsTo)
            return questionsTo->askLockDropOrGoBack(parent, text, title);
        if (editChoices.empty()) {
            QTest::qFail(qPrintable("Not scripted: " + text), __FILE__, __LINE__);
            return UnlockedEdits::GoBack;
        }
        const UnlockedEdits choice = editChoices.front();
        editChoices.pop_front();
        return choice;
    }
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title,
                                 const QString& defaultText) override
    {
        shown.push_back({"input", prompt + "|" + defaultText, title});
        const QString answer = next(inputs, prompt);
        return answer.isNull() ? std::nullopt : std::optional<QString>(answer);
    }
    // File dialogs record the folder they start in as their title.
    QString openFileName(QWidget*, const QString& caption, const QString& folder, const QString&) override
    {
        shown.push_back({"open", caption, folder});
        return next(fileNames, caption);
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& folder, const QString&) override
    {
        shown.push_back({"save", caption, folder});
        return next(fileNames, caption);
    }
    bool openDocument(const QString& path) override
    {
        shown.push_back({"document", path, {}});
        return documentsOpen;
    }
    void beep() override { ++beeps; }

private:
    // The next scripted answer; an empty queue fails the test (and answers No or Cancel).
    template <typename T> static T next(std::deque<T>& queue, const QString& asked)
    {
        if (queue.empty()) {
            QTest::qFail(qPrintable("Not scripted: " + asked), __FILE__, __LINE__);
            return T{};
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace tallyhawk
