// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#include "qtdialogs.h"

#include <algorithm>
#include <utility>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace tallyhawk {

namespace {

// The widest a box's text runs before it wraps.
constexpr int kWidestText = 560;
// Room kept free around a box on the screen, for the window manager's frame.
constexpr int kScreenMargin = 48;

QStyle::StandardPixmap pixmapOf(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QStyle::SP_MessageBoxInformation;
    case Dialogs::Icon::Warning:
        return QStyle::SP_MessageBoxWarning;
    case Dialogs::Icon::Critical:
        return QStyle::SP_MessageBoxCritical;
    case Dialogs::Icon::Question:
        return QStyle::SP_MessageBoxQuestion;
    case Dialogs::Icon::None:
        break;
    }
    return QStyle::SP_CustomBase;
}

// A question's closing paragraph, which stays in view below a long text that scrolls; a text
// of one paragraph, or a plain message, has none.
std::pair<QString, QString> splitQuestion(const QString& text, QDialogButtonBox::StandardButtons buttons)
{
    const qsizetype lastBreak = text.lastIndexOf("\n\n");
    if (buttons == QDialogButtonBox::Ok || lastBreak < 0 || text.mid(lastBreak).trimmed().isEmpty())
        return {text, QString()};
    return {text.left(lastBreak), text.mid(lastBreak + 2).trimmed()};
}

// A message, question or input box whose text wraps and which fits the screen: a text too
// long for it scrolls inside the box, so that its buttons, and a question's closing question,
// always show.
class FittedBox : public QDialog
{
public:
    FittedBox(QWidget* parent, const QString& title, const QString& text, Dialogs::Icon icon,
              QDialogButtonBox::StandardButtons buttons, QDialogButtonBox::StandardButton defaultButton)
        : QDialog(parent)
    {
        setObjectName("fittedBoxDialog");
        setWindowTitle(title);
        const auto [body, question] = splitQuestion(text, buttons);
        auto* label = new QLabel(body);
        label->setObjectName("textLabel");
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_scroll = new QScrollArea;
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setWidgetResizable(true);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setWidget(label);
        m_label = label;

        auto* textRow = new QHBoxLayout;
        if (icon != Dialogs::Icon::None) {
            auto* picture = new QLabel;
            const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
            picture->setPixmap(style()->standardIcon(pixmapOf(icon), nullptr, this).pixmap(side, side));
            picture->setAlignment(Qt::AlignTop);
            textRow->addWidget(picture);
            textRow->addSpacing(12);
        }
        textRow->addWidget(m_scroll, 1);

        m_layout = new QVBoxLayout(this);
        m_layout->addLayout(textRow, 1);
        if (!question.isEmpty()) {
            m_question = new QLabel(question);
            m_question->setObjectName("questionLabel");
            m_question->setTextFormat(Qt::PlainText);
            m_question->setWordWrap(true);
            m_question->setFont(m_label->font());
            m_layout->addWidget(m_question);
        }
        m_buttons = new QDialogButtonBox(buttons);
        m_defaultButton = m_buttons->button(defaultButton);
        m_defaultButton->setDefault(true);
        connect(m_buttons, &QDialogButtonBox::clicked, this,
                [this](QAbstractButton* clicked) { done(m_buttons->standardButton(clicked)); });
        m_layout->addWidget(m_buttons);
    }

    QLineEdit* addAnswer(const QString& defaultText)
    {
        m_answer = new QLineEdit(defaultText);
        m_answer->setObjectName("answerEdit");
        m_answer->selectAll();
        m_layout->insertWidget(1, m_answer);
        m_answer->setFocus();
        return m_answer;
    }

    void setButtonText(QDialogButtonBox::StandardButton button, const QString& text)
    {
        m_buttons->button(button)->setText(text);
    }

    // True when the user answered with `button`; Esc and the close box answer no.
    bool ask(QDialogButtonBox::StandardButton button) { return answer() == button; }

    // The button the user answered with; QDialog::Rejected (0) for Esc and the close box.
    int answer()
    {
        fitToScreen();
        return exec();
    }

protected:
    // The default button also takes the focus as the box shows (an input box's answer keeps it):
    // a focused push button answers Enter and Space itself, so a stray key gives the default
    // answer, the safe one where a question names it, only when the focus starts there.
    void showEvent(QShowEvent* event) override
    {
        QDialog::showEvent(event);
        if (!m_answer)
            m_defaultButton->setFocus(Qt::OtherFocusReason);
    }

private:
    void fitToScreen()
    {
        const QScreen* screen = parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
        const QFontMetrics metrics(m_label->font());
        int longestLine = 0;
        const QString question = m_question ? m_question->text() : QString();
        for (const QString& line : (m_label->text() + '\n' + question).split('\n'))
            longestLine = std::max(longestLine, metrics.horizontalAdvance(line));
        const int scrollBar = m_scroll->verticalScrollBar()->sizeHint().width();
        // The dialog's own margins, the icon and the buttons take what the text does not.
        const int chrome = sizeHint().width() - m_scroll->sizeHint().width();
        const int widest = std::min(kWidestText, available.width() - kScreenMargin - chrome - scrollBar);
        const int textWidth = std::clamp(longestLine + 2, std::min(240, widest), widest);
        m_scroll->setMinimumWidth(textWidth + scrollBar);
        if (m_question)
            m_question->setMinimumHeight(m_question->heightForWidth(textWidth + scrollBar));
        const int textHeight = m_label->heightForWidth(textWidth);
        const int otherHeight = sizeHint().height() - m_scroll->sizeHint().height();
        m_scroll->setMinimumHeight(std::min(textHeight, available.height() - kScreenMargin - otherHeight));
        // The layout takes the new minimums now, so that the box is exactly as big as they make it.
        m_layout->activate();
        resize(minimumSizeHint());
    }

    QScrollArea* m_scroll;
    QLabel* m_label;
    QLabel* m_question = nullptr;
    QVBoxLayout* m_layout;
    QDialogButtonBox* m_buttons;
    QPushButton* m_defaultButton;
    QLineEdit* m_answer = nullptr;
};

} // namespace

void QtDialogs::message(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    FittedBox box(parent, title, text, icon, QDialogButtonBox::Ok, QDialogButtonBox::Ok);
    (void)box.ask(QDialogButtonBox::Ok);
}

bool QtDialogs::askYesNo(QWidget* parent, const QString& text, const QString& title, Icon icon,
                         Default defaultButton)
{
    FittedBox box(parent, title, text, icon, QDialogButtonBox::Yes | QDialogButtonBox::No,
                  defaultButton == Default::No ? QDialogButtonBox::No : QDialogButtonBox::Yes);
    return box.ask(QDialogButtonBox::Yes);
}

bool QtDialogs::askOkCancel(QWidget* parent, const QString& text, const QString& title, Icon icon)
{
    FittedBox box(parent, title, text, icon, QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                  QDialogButtonBox::Ok);
    return box.ask(QDialogButtonBox::Ok);
}

Dialogs::UnlockedEdits QtDialogs::askLockDropOrGoBack(QWidget* parent, const QString& text,
                                                      const QString& title)
{
    FittedBox box(parent, title, text, Icon::Question,
                  QDialogButtonBox::Save | QDialogButtonBox::Discard | QDialogButtonBox::Cancel,
                  QDialogButtonBox::Cancel);
    box.setButtonText(QDialogButtonBox::Save, "Lock");
    box.setButtonText(QDialogButtonBox::Discard, "Drop");
    box.setButtonText(QDialogButtonBox::Cancel, "Go Back");
    switch (box.answer()) {
    case QDialogButtonBox::Save:
        return UnlockedEdits::Lock;
    case QDialogButtonBox::Discard:
        return UnlockedEdits::Drop;
    default:
        return UnlockedEdits::GoBack;
    }
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& prompt, const QString& title,
                                        const QString& defaultText)
{
    FittedBox box(parent, title, prompt, Icon::None, QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                  QDialogButtonBox::Ok);
    const QLineEdit* answer = box.addAnswer(defaultText);
    if (!box.ask(QDialogButtonBox::Ok))
        return std::nullopt;
    return answer->text();
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
