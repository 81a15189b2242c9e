#!/usr/bin/env bash
# Every shell script of the project, through shellcheck (all severities). It
# catches, among others, the quoting and word-splitting slips that make a
# script work on the machine it was written on and fail on a new one.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t scripts < <(git ls-files -z | xargs -0 grep -lE '^#!/usr/bin/env bash|^#!/bin/(ba)?sh' --)
echo "shellcheck: ${#scripts[@]} scripts"
shellcheck --external-sources "${scripts[@]}"
