# Sourced by the end-to-end tests that run vorn-cli.exe on the demo machine and change it: the
# demo prefix of the build (scripts/demo-env.sh), whose registry and users' files come back when
# the test ends, a scratch folder $work, and the helpers. $test_name names the test in failures.
#   test_name="..."; source tests/support/demo_cli_test.sh WINDOWS-BUILD-DIR
build=$(cd "$1" && pwd)
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$repo/scripts/demo-env.sh" "$build"
source "$repo/tests/restore/keep_demo_machine.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"; vorn_put_back_demo_machine' EXIT

fail() { echo "$test_name: $*" >&2; exit 1; }
unix_path() { winepath -u "$1" 2>/dev/null; }
win_path() { winepath -w "$1" 2>/dev/null; }
win_env() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
cli() { wine "$build/cli/vorn-cli.exe" "$@"; }
