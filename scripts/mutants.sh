#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tallyhawk developers
# Plants small faults in the program, one at a time, and says whether the tests catch each.
#
#   scripts/mutants.sh            every fault
#   scripts/mutants.sh 3 17       only faults 3 and 17 (numbered as listed)
#   scripts/mutants.sh --list     the faults, without running anything
#
# Each fault is one change of one line of src/: the file, the text as it stands (it must stand
# there exactly once) and the text that replaces it. The faults are planted in a scratch copy
# of the checkout, build-mutants/tree/, never in the checkout itself, so a run that is stopped,
# even killed outright, leaves the checkout as it was. The copy is brought up to date file by
# file, so that after the first build only what changed, or what a fault touches, is rebuilt
# (into build-mutants/build/). For each fault the script runs the tests until one fails, puts
# the line back, and prints the fault as caught or survived; then the total. A fault whose
# code does not build is counted apart: it says nothing about the tests.
set -uo pipefail
cd "$(dirname "$0")/.."

faults=()
fault() { faults+=("$1" "$2" "$3" "$4"); } # name, file, original, changed

# The draw and quick pick
fault "the shuffle deals from the other end" src/engine/play/deck.h \
  'const int j = i + static_cast<int>(product >> 32);' 'const int j = 80 - static_cast<int>(product >> 32);'
fault "the shuffle keeps a biased draw" src/engine/play/deck.h \
  'while (x * draw.bound < draw.threshold)' 'while (false && x * draw.bound < draw.threshold)'
fault "eggs may fall on the ticket" src/engine/play/playengine.cpp \
  'for (int j = 1; j < k; ++j)' 'for (int j = 11; j < k; ++j)'
# The win formula and each bonus rule
fault "one free game counts as a multiplier" src/engine/play/playengine.cpp \
  'if (state.bonus.FreeGames < 1)' 'if (state.bonus.FreeGames <= 1)'
fault "free games pay without the factor" src/engine/play/playengine.cpp \
  'return times(state.bonus.BonusFactor);
    if (state.caveman)' 'return base;
    if (state.caveman)'
fault "a missing row pays 0 instead of keeping the win" src/engine/play/playengine.cpp \
  'return previousWin;
    const double pay' 'return 0;
    const double pay'
fault "the extra balls open with one egg" src/engine/play/playengine.cpp \
  'if (m_win == 0 || m_eggCatches < 2)' 'if (m_win == 0 || m_eggCatches < 1)'
fault "a Caveman Plus game draws 20 balls" src/engine/play/playengine.cpp \
  'const int ballCount = m_kind.cavemanPlus ? kDrawnBalls + kExtraBalls : kDrawnBalls;' 'const int ballCount = kDrawnBalls;'
fault "the egg multiplier of two eggs is the third's" src/engine/common/kenogame.h \
  '        case 2:
            return Egg2Bonus;' '        case 2:
            return Egg3Bonus;'
fault "the board reads Caveman Plus anywhere" src/engine/common/kenogame.cpp \
  'return {contains(listEntry, "Caveman"), contains(listEntry, "Caveman Plus")};' \
  'return {contains(listEntry, "Caveman"), contains(listEntry, "Plus")};'
fault "the last row of a catch counts" src/engine/common/kenogame.cpp \
  'if (!slot)' 'if (true)'
fault "halves round up" src/engine/common/numberforms.cpp \
  'return std::nearbyint(value);' 'return std::round(value);'
# Credits and bets
fault "the bet limit is 46" src/engine/play/betting.cpp \
  'if (step > 0 && bet + step > kMaxBet) {' 'if (step > 0 && bet + step > kMaxBet + 1) {'
fault "an unplayed bet is lost on quitting" src/engine/play/betting.cpp \
  'return credits + (betPrepaid && !playing ? bet : 0);' 'return credits;'
fault "a play's credits are kept only on quitting" src/gui/board/boardwindowdraw.cpp \
  '    m_credits = result.credits;
    keepCredits();' '    m_credits = result.credits;'
fault "a credit total beyond the limit is kept" src/engine/play/betting.cpp \
  'if (total > kMaxCredits)' 'if (total > 2 * kMaxCredits)'
fault "START allows a bet above the credits" src/engine/play/betting.cpp \
  'if (credits - bet < 0) {' 'if (credits - bet < -1) {'
# The simulation's counts and the session statistics
fault "the simulation's extra balls need no paying catch" src/engine/sim/simulationrules.h \
  'return m_cavemanPlus && !m_hasBonusBall && eggCatches > 1 && m_pay[hits] > 0;' 'return m_cavemanPlus && !m_hasBonusBall && eggCatches > 1;'
fault "the simulation's bonus ball pays its factor twice" src/engine/sim/simulationrules.h \
  'return {SimulationBonusPaid::BonusFactor, m_bonus.BonusFactor};' 'return {SimulationBonusPaid::BonusFactor, m_bonus.BonusFactor + 1};'
fault "a session is 99 games" src/engine/sim/simulation.cpp \
  'if (g % kSessionGames == 0 && session <= m_sessions) {' 'if (g % kSessionGames == 1 && session <= m_sessions) {'
fault "losing half counts 51" src/engine/sim/sessionstats.cpp \
  '        if (w < 51)' '        if (w < 52)'
fault "breaking even is not winning" src/engine/sim/sessionstats.cpp \
  '        if (w >= 100)' '        if (w > 100)'
fault "the summary calls an even session a loss" src/engine/sim/sessionstats.cpp \
  'const char* outcome = mode < 100 ? "Lose" : "Win";' 'const char* outcome = mode <= 100 ? "Lose" : "Win";'
# The exact odds
fault "the exact bonus ball is hit by every catch" src/engine/exact/exactodds.cpp \
  'const long double hitBall = hyper[c] * c / k;' 'const long double hitBall = hyper[c] * (c + 1) / k;'
fault "the exact board ignores the egg multiplier" src/engine/exact/exactodds.cpp \
  'return base[o.hits] * bonus.eggMultiplier(o.eggs);' 'return base[o.hits];'
fault "exact sessions double at 199" src/engine/exact/exactdistribution.cpp \
  '        if (w >= 200)' '        if (w >= 199)'
fault "exact wins in units are not divided back" src/engine/exact/exactdistribution.cpp \
  'return sum / static_cast<long double>(unitsPerCredit);' 'return sum;'
fault "exact free games ignore the series" src/engine/exact/exactodds.cpp \
  'return win >= 1 && game.boardBonus.FreeGames >= 1 && o.bonusBallHit;' 'return false;'
# The randomness statistic
fault "the chi-square forgets the factor 4" src/engine/randomness/randomness.cpp \
  'sum += 4 * v * v / games;' 'sum += v * v / games;'
fault "the test passes at its lower bound" src/engine/randomness/randomness.cpp \
  'return kRandomnessLowerBound < statistic && statistic < kRandomnessUpperBound;' \
  'return kRandomnessLowerBound <= statistic + 1 && statistic < kRandomnessUpperBound;'
# The pay-table file reader and writer
fault "the writer separates values with semicolons" src/engine/catalogue/paytablefile.cpp \
  "                out += ',';" "                out += ';';"
fault "the writer ends lines without CR" src/engine/catalogue/paytablefile.cpp \
  '        out += "\r\n";
    }' '        out += "\n";
    }'
fault "the import takes a Catch of 11" src/engine/catalogue/paytableimport.cpp \
  '        *caught > kMaxMarks) {' '        *caught > kMaxMarks + 1) {'
fault "the import takes a second game's records" src/engine/catalogue/paytableimport.cpp \
  '} else if (!SameGameKey(key.key, game.key)) {' '} else if (false) {'
fault "the import takes a repeated Catch" src/engine/catalogue/paytableimport.cpp \
  'if (game.rows[earlier].Catch == row.Catch)' 'if (false)'
# The catalogue's lock checks, the key, delete
fault "the lock lets a pay above its catch pass" src/engine/catalogue/payvalidation.cpp \
  'if (pay != 0 && caught > n)' 'if (pay != 0 && caught > n + 1)'
fault "eggs and a bonus ball may be combined" src/engine/catalogue/payvalidation.cpp \
  '        if (bonusBall > 0)' '        if (bonusBall > 1)'
fault "a negative pay can be stored" src/engine/catalogue/payvalidation.cpp \
  '    if (value < 0)
        return " is "' '    if (value < -1)
        return " is "'
fault "a key is not trimmed" src/engine/common/gamekey.cpp \
  'result.key = {TrimBlanks(key.Location), TrimBlanks(key.Casino), TrimBlanks(key.Game)};' \
  'result.key = key;'
fault "a casino of 29 characters is stored" src/engine/common/gamekey.cpp \
  'else if (CharacterCount(part.text) > part.limit)' 'else if (CharacterCount(part.text) > part.limit + 1)'
fault "an accented capital is not folded" src/engine/common/gamekey.cpp \
  '{0x00C0, 0x00D6, 0x20}' '{0x00C0, 0x00D6, 0x00}'
fault "the lookup finds only the exact spelling of a key" src/db/paytable.cpp \
  'if (SameGameKey(found, key))' 'if (found == key)'
fault "the rename check lets a game take another's key" src/db/catalogue.cpp \
  'if (others > 0) {' 'if (others > 1) {'
fault "delete reports a game it did not find as deleted" src/db/catalogue.cpp \
  'if (own == 0)
        return DeleteOutcome::NotFound;' 'if (own < 0)
        return DeleteOutcome::NotFound;'
fault "the repair keeps a fractional Catch" src/db/repair.cpp \
  "\"NOT (typeof([Catch]) = 'integer' AND" "\"NOT (typeof([Catch]) IN ('integer', 'real') AND"
# The database's transactions
fault "an unfinished transaction is not rolled back" src/db/sqltransaction.cpp \
  '    if (m_active)
        rollback();
}' '    if (false)
        rollback();
}'
fault "stored credits are not checked" src/db/defaults.cpp \
  'if (CheckCreditTotal(std::abs(defaults->SaveCredits))) {' 'if (false) {'
# The tests of a draw history and its reader
fault "the pairs' variance leaves out four numbers together" src/engine/randomness/drawtests.cpp \
  'constexpr double kPairVariance = kBoth - 2 * kThree + kFour;' 'constexpr double kPairVariance = kBoth - kThree - kThree;'
fault "every number tied at the hot count is hot" src/engine/randomness/drawtests.cpp \
  'const bool hot = count > threshold || (count == threshold && atThreshold-- > 0);' \
  'const bool hot = count > threshold || (count == threshold && atThreshold-- > -100);'
fault "filling in stops before 20 draws missing" src/engine/randomness/drawtests.cpp \
  'if (last < 0 || m_draws - 1 - last > kLongestAbsence)' 'if (last < 0 || m_draws - 1 - last >= kLongestAbsence)'
fault "the power takes a quarter of the squared bias" src/engine/randomness/drawtests.cpp \
  'const double noncentrality = static_cast<double>(draws) * bias * bias / 3;' \
  'const double noncentrality = static_cast<double>(draws) * bias * bias / 4;'
fault "the draw is always the first run of 20 numbers" src/engine/randomness/drawhistory.cpp \
  'std::find(found.begin(), found.end(), usual) != found.end() ? usual : found.front();' \
  'std::find(found.begin(), found.end(), usual) != found.end() ? found.front() : found.front();'
fault "any line with a letter is a header" src/engine/randomness/drawhistory.cpp \
  'if (header && holdsLetter(line))' 'if ((header || !header) && holdsLetter(line))'
fault "a failed install is not refused for a folder that may not be written" src/db/database.cpp \
  'if (!MayChangeFolder(folder))' 'if (false)'
fault "a disk with exactly the room needed is called full" src/db/database.cpp \
  'if (available < 0 || available >= needed)' 'if (available < 0 || available > needed)'
# Opening a file and the schema's steps
fault "a file is upgraded before it is checked" src/db/database.cpp \
  'if (!checkSchema(db, &fault) || !checkDefaultsRow(db, &fault))' 'if (false)'
fault "a file without options is opened" src/db/database.cpp \
  'return ReadDefaults(db, &defaults, error, &setAside);' \
  'return ReadDefaults(db, &defaults, error, &setAside) || true;'
fault "a missing field is not noticed" src/db/schema.cpp \
  'if (!record.contains(name)) {' 'if (false) {'
fault "a file one version newer is opened" src/db/database.cpp \
  'if (opening.fileVersion > current || opening.fileVersion < 0) {' \
  'if (opening.fileVersion > current + 1 || opening.fileVersion < 0) {'
fault "the upgrade skips the step after the file's version" src/db/schemaversion.cpp \
  'if (step.version <= fromVersion)' 'if (step.version <= fromVersion + 1)'
fault "a step does not write its version" src/db/schemaversion.cpp \
  'if (!step.apply(db, &reason) || !WriteSchemaVersion(db, step.version, &reason)) {' \
  'if (!step.apply(db, &reason)) {'
# The session figures and the bets that pay a table exactly
fault "half the sessions winning 500 or more make it the outcome" src/engine/sim/sessionstats.cpp \
  'if (fiveFoldPercent > 50)' 'if (fiveFoldPercent >= 50)'
fault "a bet of 46 pays a table exactly" src/engine/exact/exactodds.cpp \
  'for (int bet = kMinBet; bet <= kMaxBet; ++bet) {' 'for (int bet = kMinBet; bet <= kMaxBet + 1; ++bet) {'
fault "several tables share a bet of 46" src/engine/exact/exactodds.cpp \
  'if (common > kMaxBet)' 'if (common > kMaxBet + 1)'
fault "a bet of 23 is said to have a multiple up to 45" src/engine/exact/exactodds.cpp \
  'if (2 * *bet > kMaxBet)' 'if (2 * *bet > kMaxBet + 1)'
# The session planner
fault "the planner's exact even end is one credit up" src/engine/planner/sessionexact.cpp \
  'else if (atom.credits == start)' 'else if (atom.credits == start + 1)'
fault "the planner's sampled even end is one credit up" src/engine/planner/sessionsample.cpp \
  'even += credits == start ? 1 : 0;' 'even += credits == start + 1 ? 1 : 0;'
fault "the planner's exact walk is ruined only below the bet less one" src/engine/planner/sessionexact.cpp \
  'const std::int64_t floor = std::max<std::int64_t>(plan.bet, plan.floor.value_or(0));' \
  'const std::int64_t floor = std::max<std::int64_t>(plan.bet - 1, plan.floor.value_or(0));'
fault "the planner's exact target is one credit further" src/engine/planner/sessionexact.cpp \
  'w.top = std::max<std::int64_t>(std::min(ceilDiv(*plan.target - plan.credits, w.unit), reach), 1);' \
  'w.top = std::max<std::int64_t>(std::min(ceilDiv(*plan.target + 1 - plan.credits, w.unit), reach), 1);'
fault "the planner's sampled sessions pass their target" src/engine/planner/sessionsample.cpp \
  'if (credits >= m_target) {' 'if (credits > m_target) {'
fault "a plan may start one credit short of the bet" src/engine/planner/sessionplanner.cpp \
  'if (plan.credits < plan.bet)' 'if (plan.credits + 1 < plan.bet)'
fault "a plan's target may equal the starting credits" src/engine/planner/sessionplanner.cpp \
  'if (plan.target && *plan.target <= plan.credits)' 'if (plan.target && *plan.target < plan.credits)'
# The command line and the pay-table file's separators
fault "the command line takes one more than its limit" src/cli/clioptions.cpp \
  '*number > static_cast<double>(most)) {' '*number > static_cast<double>(most) + 1) {'
fault "the command line takes number 81 on a ticket" src/cli/clioptions.cpp \
  'if (number < 1 || number > kBoardNumbers) {' 'if (number < 1 || number > kBoardNumbers + 1) {'
fault "the randomness limit is said as a number not divisible by 4" src/cli/main.cpp \
  'std::numeric_limits<std::int32_t>::max() / 4 * 4;' 'std::numeric_limits<std::int32_t>::max();'
fault "games figures what odds refuses" src/cli/clicommands.cpp \
  'if (line.refusals[i].empty())' 'if (true)'
fault "semicolons inside quotes are taken for separators" src/engine/catalogue/paytablefile.cpp \
  "quoted = quoted != (c == '\"');" 'quoted = false;'
# The catalogue's unlocked edits
fault "Enter on the question about typed pays drops them" src/gui/common/qtdialogs.cpp \
  '                  QDialogButtonBox::Cancel);
    box.setButtonText(QDialogButtonBox::Save, "Lock");' '                  QDialogButtonBox::Discard);
    box.setButtonText(QDialogButtonBox::Save, "Lock");'
fault "a typed value out of range waits for the lock" src/gui/catalogue/paygridmodel.cpp \
  'if (const auto problem = rangeProblem(field, this->value(index.row(), "Catch"), *number)) {' \
  'if (const auto problem = rangeProblem(field, this->value(index.row(), "Catch"), *number); false) {'
fault "Enter on the delete question deletes the game" src/gui/catalogue/cataloguewindow.cpp \
  'Dialogs::Icon::Question, Dialogs::Default::No))
        return;
    const GameKey key = m_currentGame.key;' 'Dialogs::Icon::Question, Dialogs::Default::Yes))
        return;
    const GameKey key = m_currentGame.key;'
fault "a cancelled edit's game is made whole on leaving" src/gui/catalogue/cataloguewindow.cpp \
  '    m_editedKey = m_currentGame.key;
}' '    m_editedKey = m_currentGame.key;
    m_editedGames.push_back(m_currentGame.key);
}'
# Windows on small screens, the charts and the options dialog
fault "a window larger than the screen keeps its size" src/gui/common/screenfit.cpp \
  'window->resize(size.boundedTo(available.marginsRemoved(frame).size()));' 'window->resize(size);'
fault "a window with room beside its owner opens over it" src/gui/common/screenfit.cpp \
  'x = beside.right() + 1;' 'x = beside.left();'
fault "the summary's question scrolls away with its figures" src/gui/common/qtdialogs.cpp \
  'if (buttons == QDialogButtonBox::Ok || lastBreak < 0' 'if (true || lastBreak < 0'
fault "the log scale writes its small decades as 1e-05" src/gui/sim/chartswindow.cpp \
  "axis->append(QString::number(std::pow(10.0, decade), 'f', std::max(0, -decade)), decade);" \
  "axis->append(QString::number(std::pow(10.0, decade), 'g', 6), decade);"
fault "break-even is not marked on the session histogram" src/gui/sim/chartswindow.cpp \
  'chart->addSeries(breakEven);' 'delete breakEven;'
fault "Esc drops changed options without a word" src/gui/options/optionsdialog.cpp \
  'if (changed)' 'if (false)'
fault "Tab in the pay grid wraps round and never leaves it" src/gui/catalogue/paygridview.cpp \
  'const bool wrapped = (action == MoveNext && order(to) <= order(from)) ||' \
  'const bool wrapped = (action == MoveNext && false) ||'
fault "the board's pictures blur on a display scaled up" src/gui/board/boardgrid.cpp \
  'const qreal ratio = painter->device()->devicePixelRatioF();' 'const qreal ratio = 1;'

# Card sets and way tickets
fault "a card set's bonus ball falls on one ball more than is drawn" src/engine/cards/cardexact.cpp \
  'settle(0, p * m_drawn[atom] / m_shape.drawn);' 'settle(0, p * m_drawn[atom] / (m_shape.drawn + 1));'
fault "a card set's free game leaves one unmarked number out" src/engine/cards/cardexact.cpp \
  'settleFreeGame(weight * choose(m_atoms.unmarked, rest));' 'settleFreeGame(weight * choose(m_atoms.unmarked - 1, rest));'
fault "a card set's exact free games pay without the factor" src/engine/cards/cardrules.cpp \
  'inUnits(rulesOf(card).freeGameMultiplier(), m_units);' 'inUnits(1, m_units);'
fault "a card set's simulated extra balls crack no eggs" src/engine/cards/cardsample.cpp \
  'eggCatches += (eggs & extra).count();' 'eggCatches += 0;'
fault "a card of eleven numbers is played" src/engine/cards/cardset.cpp \
  'card.size() > static_cast<std::size_t>(kMaxMarks))' 'card.size() > static_cast<std::size_t>(kMaxMarks + 1))'
fault "a way ticket's groups may overlap" src/engine/cards/cardset.cpp \
  'if (int other = groupOf[static_cast<std::size_t>(number)]; other != 0) {' 'if (int other = groupOf[static_cast<std::size_t>(number)]; other < 0) {'
fault "a way ticket may play twice the ways" src/engine/cards/cardset.cpp \
  'if (total > kMaxWays) {' 'if (total > 2 * kMaxWays) {'
fault "a card set's play costs one card's bet" src/engine/planner/cardsetplan.cpp \
  'step.bet = static_cast<int>(set.cost());' 'step.bet = set.bet;'
fault "a card set's simulated series pays every card" src/engine/cards/cardsample.cpp \
  'if (m_triggered[i])' 'if (true)'

names=()
for ((i = 0; i < ${#faults[@]}; i += 4)); do names+=("${faults[i]}"); done
total=${#names[@]}

if [ "${1:-}" = "--list" ]; then
  for ((n = 1; n <= total; n++)); do printf '%3d  %s\n' "$n" "${names[n - 1]}"; done
  exit 0
fi
chosen=("$@")
if [ ${#chosen[@]} -eq 0 ]; then chosen=($(seq 1 "$total")); fi

# Replaces the one occurrence of $2 in file $1 by $3; fails when it is not there exactly once.
replace() {
  python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1], sys.argv[2], sys.argv[3]
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(f"{path}: the original text stands there {text.count(old)} times, not once")
open(path, "w", encoding="utf-8").write(text.replace(old, new))
EOF
}

# Brings the scratch copy up to date with the checkout's files (tracked, and new ones not
# ignored): a file is copied only when its bytes differ, so that the build sees only what
# changed. This also puts back a fault that a killed run left in the copy.
sync_copy() {
  git ls-files -z --cached --others --exclude-standard | python3 -c '
import os, shutil, sys
target = sys.argv[1]
wanted = set()
for name in sys.stdin.buffer.read().split(b"\0"):
    path = name.decode()
    if not path or not os.path.isfile(path):
        continue
    wanted.add(path)
    copy = os.path.join(target, path)
    if os.path.isfile(copy) and open(copy, "rb").read() == open(path, "rb").read():
        continue
    os.makedirs(os.path.dirname(copy), exist_ok=True)
    shutil.copy2(path, copy)
    os.utime(copy)  # newer than anything built from the copy before
for root, _, files in os.walk(target):
    for name in files:
        if os.path.relpath(os.path.join(root, name), target) not in wanted:
            os.remove(os.path.join(root, name))
' "$tree"
}

scratch=build-mutants
tree=$scratch/tree
build=$scratch/build
jobs=$(nproc)
mkdir -p "$tree"
sync_copy || { echo "The scratch copy $tree/ cannot be made."; exit 2; }
cmake -S "$tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 2
echo "Building the unchanged program and its tests into $build/ ..."
cmake --build "$build" -j "$jobs" >/dev/null || { echo "The unchanged program does not build."; exit 2; }
run_tests() {
  (cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --stop-on-failure --timeout 300 >/dev/null 2>&1)
}
run_tests || { echo "The unchanged program fails its tests: fix that first."; exit 2; }

# The file of the fault in hand, put back in the copy from the checkout when the fault is done
# or the run is stopped.
current=""
restore() { if [ -n "$current" ]; then cp "$current" "$tree/$current"; current=""; fi; }
trap 'restore; exit 130' INT TERM HUP

caught=0 survived=0 unbuilt=0
started=$(date +%s)
for n in "${chosen[@]}"; do
  i=$(((n - 1) * 4))
  name=${faults[i]} file=${faults[i + 1]} original=${faults[i + 2]} changed=${faults[i + 3]}
  current=$file
  if ! replace "$tree/$file" "$original" "$changed"; then
    restore
    printf '%3d  %-9s %s\n' "$n" "missing" "$name"
    unbuilt=$((unbuilt + 1))
    continue
  fi
  t0=$(date +%s)
  if ! cmake --build "$build" -j "$jobs" >/dev/null 2>&1; then
    verdict="unbuilt"; unbuilt=$((unbuilt + 1))
  elif run_tests; then
    verdict="SURVIVED"; survived=$((survived + 1))
  else
    verdict="caught"; caught=$((caught + 1))
  fi
  restore
  printf '%3d  %-9s %s (%ss)\n' "$n" "$verdict" "$name" "$(($(date +%s) - t0))"
done
cmake --build "$build" -j "$jobs" >/dev/null 2>&1
echo
echo "$caught of $((caught + survived)) planted faults caught, $survived survived, $unbuilt not built," \
  "in $(($(date +%s) - started)) s"
[ "$survived" -eq 0 ] && [ "$unbuilt" -eq 0 ]
