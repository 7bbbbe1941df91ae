#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The CI workflows pass the GitHub Actions schema check of action-validator. Where the validator is
# not on PATH it is installed with npm into the build folder; without node and npm this skips.
# Usage: workflow.sh BUILD_DIR WORKFLOW_FILE...
set -euo pipefail
build=$1; shift
version=0.6.0
tools=$build/tools/action-validator

validator=$(command -v action-validator || true)
if [ -z "$validator" ]; then
    validator=$tools/node_modules/.bin/action-validator
    if [ ! -x "$validator" ]; then
        for tool in node npm; do
            command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
        done
        if ! npm install --prefix "$tools" --no-audit --no-fund --loglevel=error \
                "@action-validator/cli@$version" >"$build/action-validator-install.log" 2>&1; then
            cat "$build/action-validator-install.log"
            echo "SKIP: npm could not install @action-validator/cli@$version"; exit 77
        fi
    fi
fi

fail=0
for workflow in "$@"; do
    if output=$("$validator" "$workflow" 2>&1); then
        echo "ok: $workflow"
    else
        printf '%s\n' "$output"
        echo "FAIL: $workflow does not pass action-validator"; fail=1
    fi
done
exit $fail
