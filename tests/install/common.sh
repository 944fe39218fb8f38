# Shared by the installation checks: report a failure and stop, or make sure
# a tool the check relies on is there (scripts/install-deps installs them).

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps installs it)"
  done
}

# The files of the finished installation, relative to its root, sorted.
list_files() {
  (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
}

# Compares the files found with those expected (both sorted lists).
expect_exactly() {
  local found=$1 expected=$2
  if ! diff -u <(echo "$expected") <(echo "$found") >&2; then
    fail "the files differ from those expected (- expected, + found)"
  fi
}
