#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tesmera-cli's bash completion, case by case: the words typed so far and
# what is offered. bash-completion's helpers are stood in for, so the table
# checks this file's own choices. Argument: the completion file.
set -uo pipefail
# shellcheck source=/dev/null
source "$1"

_init_completion() {
  words=("${COMP_WORDS[@]}")
  cword=$COMP_CWORD
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD - 1]}"
}
_filedir() { COMPREPLY=("<files${1:+ *.$1}>"); }

failures=0
# expect <case name> <offered, space-separated> <words typed...>
expect() {
  local name="$1" wanted="$2"
  shift 2
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tesmera_cli
  local got="${COMPREPLY[*]}"
  if [ "$got" != "$wanted" ]; then
    echo "FAIL $name: offered '$got', expected '$wanted'"
    failures=$((failures + 1))
  fi
}

expect Subcommands "analyze agreement extract render" tesmera-cli ""
expect SubcommandPrefix "analyze agreement" tesmera-cli a
expect ProgramOptions "--help --version" tesmera-cli --
expect AnalyzeOptions "--help --csv --json" tesmera-cli analyze --
expect AgreementOptions "--help --json" tesmera-cli agreement --
expect ExtractOptions "--help --at" tesmera-cli extract in.wav --
expect RenderOptions "--png" tesmera-cli render x.wav --p
expect VoiceFilesAfterSubcommand "<files *.wav>" tesmera-cli analyze ""
expect NoSubcommandsAfterOne "<files *.wav>" tesmera-cli analyze a
expect AnyFileForCsv "<files>" tesmera-cli analyze x.wav --csv ""
expect PngForPicture "<files *.png>" tesmera-cli render x.wav --png ""
expect NothingForSeconds "" tesmera-cli extract in.wav --at ""
# A file named like a subcommand does not switch to it.
expect FirstSubcommandCounts "--help --csv --json" tesmera-cli analyze render --

[ "$failures" -eq 0 ] && echo "all completion cases pass"
exit $((failures > 0))
