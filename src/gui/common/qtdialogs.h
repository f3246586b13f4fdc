// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once

#include "dialogs.h"

namespace tallyhawk {

// The dialogs of the desktop.
class QtDialogs : public Dialogs
{
public:
    void message(QWidget* parent, const QString& text, const QString& title, Icon icon) override;
    [[nodiscard]] bool askYesNo(QWidget* parent, const QString& text, const QString& title, Icon icon,
                                Default defaultButton) override;
    [[nodiscard]] bool askOkCancel(QWidget* parent, const QString& text, const QString& title,
                                   Icon icon) override;
    [[nodiscard]] UnlockedEdits askLockDropOrGoBack(QWidget* parent, const QString& text,
                                                    const QString& title) override;
    [[nodiscard]] std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                               const QString& defaultText) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    [[nodiscard]] bool openDocument(const QString& path) override;
    void beep() override;
};

} // namespace tallyhawk
