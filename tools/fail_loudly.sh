# Sourced by the project's scripts: stop at the first failing command and
# say which one failed, where, and with what status.
set -eEuo pipefail
trap 'kit_status=$?; echo "$(basename "$0"): failed with status $kit_status at line $LINENO: $BASH_COMMAND" >&2' ERR
