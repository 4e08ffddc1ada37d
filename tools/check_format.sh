#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from the one style of .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "check_format: every C++ file keeps the style"
