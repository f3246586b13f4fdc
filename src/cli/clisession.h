// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tallyhawk developers

#pragma once
// tallyhawk-cli session: what a plan of play (a bet, starting credits, a number of games, a target
// and a floor) leads to with a game's ticket under the board's rules.

#include "clicommands.h"
#include "engine/planner/sessionplanner.h"

#include <cstdint>
#include <QCommandLineOption>
#include <QString>

class QCommandLineParser;

namespace tallyhawk::cli {

extern const char kSessionHelp[];

struct SessionInput
{
    SessionPlan plan;
    std::uint64_t seed = 0; // of a simulated plan
    bool progress = true;   // the progress line on standard error
};

// The command's own options, beside --game, --spots, --ticket, --db and --json.
class SessionOptions
{
public:
    void addTo(QCommandLineParser& parser) const;
    // The plan and the seed given on the command line (a random seed when none is). False with a
    // sentence when a value is wrong or the plan cannot be followed.
    [[nodiscard]] bool read(const QCommandLineParser& parser, SessionInput* input, QString* error) const;

private:
    QCommandLineOption m_bet{"bet", "", "B"};
    QCommandLineOption m_credits{"credits", "", "C"};
    QCommandLineOption m_games{"games", "", "N"};
    QCommandLineOption m_target{"target", "", "T"};
    QCommandLineOption m_floor{"floor", "", "F"};
    QCommandLineOption m_seed{"seed", "", "S"};
    QCommandLineOption m_quiet{"quiet"};
};

// The plan for the ticket of `input.spots` numbers of `input.rules`.
[[nodiscard]] CommandResult RunSessionCommand(const CommandInput& input, const SessionInput& session);

} // namespace tallyhawk::cli
