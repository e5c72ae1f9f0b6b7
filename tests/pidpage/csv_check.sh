# Shared by the pidpage CSV tests: a scratch folder removed at exit, and
# check DESCRIPTION WANT GOT, which counts what fails in $failures.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: got '$3', want '$2'"; failures=$((failures + 1)); fi
}
