#!/usr/bin/env bash
# The conditions window on Qt and under Wine (scripts/screenshot-dialog.sh).
exec "$(dirname "$0")/screenshot-dialog.sh" filter "$@"
