# What the script tests share: a work folder (with a stand-in stub) removed at exit, failures
# counted rather than fatal (every check runs and says what failed), and the closing line.
#   . "$(dirname "$0")/lib/checks.sh" NAME
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/noise.sh"
checks_name=$1
here=$(dirname "$(realpath "$0")")
root=$(realpath "$here/../..")
work=$(mktemp -d "${TMPDIR:-/tmp}/diskspan-$checks_name.XXXXXX")
trap 'rm -rf "$work"' EXIT
python3 "$here/fake_stub.py" 3000 >"$work/stub.exe"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
die() { echo "FAIL: $*" >&2; exit 1; }
# expect WHAT STATUS TEXT COMMAND...: COMMAND ends with STATUS and says TEXT (when not empty).
expect() {
  local what=$1 status=$2 text=$3 got
  "${@:4}" >"$work/log" 2>&1; got=$?
  [ "$got" = "$status" ] || fail "$what: exit $got, not $status: $(head -c 800 "$work/log")"
  [ -z "$text" ] || grep -qF -- "$text" "$work/log" || fail "$what does not say: $text ($(head -c 800 "$work/log"))"
}
# snapshot DIR: everything in DIR, hidden files too, with the contents of its files (but the log).
snapshot() { [ ! -d "$1" ] || (cd "$1" && find . -mindepth 1 ! -name log -printf '%y %p\n' -type f -exec sha256sum {} \; | sort); }
# checks_done SUMMARY: exit 1 with the count of failed checks, else say SUMMARY.
checks_done() {
  [ "$failures" -eq 0 ] || { echo "$checks_name: $failures check(s) failed" >&2; exit 1; }
  echo "$checks_name: $1"
}
