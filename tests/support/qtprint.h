// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// Lets GoogleTest show Qt's strings: EXPECT_EQ(text, "...") and EXPECT_TRUE(ok) << error.

#include <ostream>
#include <QString>

inline std::ostream& operator<<(std::ostream& out, const QString& text)
{
    return out << text.toStdString();
}
