#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# tesmera-cli's bash completion under the real bash-completion, in a folder
# of one file per kind: every option each subcommand's --help lists is
# offered, every extension `report --help` searches folders for completes,
# and each option's argument gets the files it names.
# Arguments: the completion file, the bash-completion script, tesmera-cli.
set -uo pipefail
completion="$1"
bash_completion="$2"
cli="$3"

# shellcheck source=/dev/null
source "$bash_completion"
# shellcheck source=/dev/null
source "$completion"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir corpus
touch period.wav notes.txt table.csv report.json picture.png page.pdf

failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# offered <line>: what completing the end of the line offers, one a line,
# sorted.
offered() {
  COMP_LINE="$1"
  COMP_POINT=${#COMP_LINE}
  read -r -a COMP_WORDS <<<"$COMP_LINE"
  [[ "$COMP_LINE" == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tesmera_cli tesmera-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

# expect <case> <line> <wanted, space-separated>: exactly these are offered.
expect() {
  local got wanted
  got="$(offered "$2" | tr '\n' ' ')"
  wanted="$(tr ' ' '\n' <<<"$3" | sort | tr '\n' ' ')"
  [ "$got" = "$wanted" ] || fail "$1: '$2' offered '$got', expected '$wanted'"
}

# includes <case> <line> <word...>: each word is among the offers.
includes() {
  local name="$1" line="$2" got word
  shift 2
  got="$(offered "$line")"
  for word in "$@"; do
    grep -qxF -- "$word" <<<"$got" || fail "$name: '$line' does not offer '$word'"
  done
}

# long_options <help text>: the long options its Options part lists, one a
# line.
long_options() {
  sed -n '/^Options:/I,/^$/p' <<<"$1" | grep -oE '(^|[ ,])--[a-z][a-z-]*' | sed 's/^[ ,]//' | sort -u
}

subcommands="$(sed -n '/^Subcommands:/I,$p' <<<"$("$cli" --help)" | awk 'NR > 1 && NF {print $1}')"
[ -n "$subcommands" ] || fail "no subcommands in tesmera-cli --help"
expect Subcommands "tesmera-cli " "$(echo $subcommands)"
expect ProgramOptions "tesmera-cli --" "--help --version"
for command in $subcommands; do
  mapfile -t options < <(long_options "$("$cli" "$command" --help)")
  [ ${#options[@]} -gt 0 ] || fail "$command --help lists no options"
  includes "EveryOptionOf_$command" "tesmera-cli $command --" "${options[@]}"
done

# One file per extension the program reads recordings in, named in capitals
# for one of them: a corpus as a recorder leaves it.
mapfile -t extensions < <("$cli" report --help | grep -oE '\*\.[a-z0-9]+' | sed 's/^\*//' | sort -u)
[ ${#extensions[@]} -gt 0 ] || fail "report --help names no extensions"
recordings=()
for extension in "${extensions[@]}"; do
  recordings+=("voice$extension")
  touch "voice$extension"
done
touch VOICE.FLAC
includes EveryRecordingExtension "tesmera-cli report " "${recordings[@]}" VOICE.FLAC corpus
includes ExtractReadsRecordings "tesmera-cli extract " voice.flac corpus
includes AgreementOnRecordings "tesmera-cli agreement --recordings " voice.ogg corpus
! offered "tesmera-cli report " | grep -qxF notes.txt || fail "report offers notes.txt"

expect PeriodFilesForAnalyze "tesmera-cli analyze " "corpus period.wav voice.wav"
expect PeriodFilesForAgreement "tesmera-cli agreement " "corpus period.wav voice.wav"
expect TableForGrades "tesmera-cli analyze --grades " "corpus table.csv"
expect ReportForFromReport "tesmera-cli agreement --from-report " "corpus report.json"
expect FolderForPeriods "tesmera-cli report --periods " "corpus"
expect PictureForRender "tesmera-cli render period.wav --png " "corpus picture.png"
expect PageForPdf "tesmera-cli report x.wav --pdf " "corpus page.pdf"
expect NothingForPatient "tesmera-cli report x.wav --pdf p.pdf --patient " ""
expect NothingForSeconds "tesmera-cli report x.wav --at " ""
expect NothingForJobs "tesmera-cli analyze --jobs " ""
includes AnyFileForRecords "tesmera-cli report x.wav --json-lines " notes.txt corpus
includes AnyFileAfterEquals "tesmera-cli analyze --csv=" notes.txt corpus
# A file named like a subcommand does not switch to it; after "--" every
# word is a file.
includes FirstSubcommandCounts "tesmera-cli analyze render --" --csv
expect FilesAfterEndOfOptions "tesmera-cli analyze -- --" ""

[ "$failures" -eq 0 ] && echo "all completion cases pass"
exit $((failures > 0))
