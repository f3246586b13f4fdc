#pragma once
// Dialogs for tests: records everything shown and answers from queues, so no test waits on
// a modal dialog. A question with no queued answer is answered No (and recorded).

#include "gui/common/dialogs.h"

#include <deque>
#include <QStringList>

namespace tallyhawk {

class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "yesno", "okcancel", "input", "open", "save", "document"
        QString text;
        QString title;
        bool defaultNo = false; // a question whose Enter key answers No
    };

    std::vector<Shown> shown;
    std::deque<bool> answers;      // Yes/No and OK/Cancel
    std::deque<QString> inputs;    // input boxes: a null QString() = Cancel
    std::deque<QString> fileNames; // file dialogs: empty = Cancel
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
    bool askYesNo(QWidget*, const QString& text, const QString& title, Icon, Default defaultButton) override
    {
        shown.push_back({"yesno", text, title, defaultButton == Default::No});
        return next(answers, false);
    }
    bool askOkCancel(QWidget*, const QString& text, const QString& title, Icon) override
    {
        shown.push_back({"okcancel", text, title});
        return next(answers, false);
    }
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title,
                                 const QString& defaultText) override
    {
        shown.push_back({"input", prompt + "|" + defaultText, title});
        const QString answer = next(inputs, QString());
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }
    // File dialogs record the folder they start in as their title.
    QString openFileName(QWidget*, const QString& caption, const QString& folder, const QString&) override
    {
        shown.push_back({"open", caption, folder});
        return next(fileNames, QString());
    }
    QString saveFileName(QWidget*, const QString& caption, const QString& folder, const QString&) override
    {
        shown.push_back({"save", caption, folder});
        return next(fileNames, QString());
    }
    bool openDocument(const QString& path) override
    {
        shown.push_back({"document", path, {}});
        return documentsOpen;
    }
    void beep() override { ++beeps; }

private:
    template <typename T> static T next(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace tallyhawk
