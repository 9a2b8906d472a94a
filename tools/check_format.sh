#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says,
# with Debian's clang-format (tools/setup.sh installs it). Lists the files
# that are not; `clang-format -i <file>` formats one.
source "$(dirname "$0")/fail_loudly.sh"
cd "$(dirname "$0")/.."
unformatted=()
while IFS= read -r file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#unformatted[@]} -gt 0 ]; then
    echo "check_format: not formatted as .clang-format says (clang-format -i fixes them):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "check_format: $(git ls-files '*.cpp' '*.h' | wc -l) C++ files formatted"
