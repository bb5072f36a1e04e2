#!/usr/bin/env bash
# The plays window (投注方式) on Qt and under Wine (scripts/screenshot-dialog.sh).
exec "$(dirname "$0")/screenshot-dialog.sh" plays "$@"
