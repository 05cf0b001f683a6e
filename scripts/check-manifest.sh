#!/usr/bin/env bash
# Checks the application manifest built into an executable: the execution
# level it asks for, the common controls 6.0.0.0 it depends on and its
# awareness of the system's DPI.
#   check-manifest.sh EXE LEVEL        (LEVEL: asInvoker, requireAdministrator, ...)
set -euo pipefail
exe=$1
level=$2
name=$(basename "$exe")
status=0
grep -aq "requestedExecutionLevel level=\"$level\"" "$exe" || { echo "$name: the manifest does not ask for $level"; status=1; }
grep -aq 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$exe" ||
    { echo "$name: the manifest does not ask for common controls 6.0.0.0"; status=1; }
grep -aq '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' "$exe" ||
    { echo "$name: the manifest does not declare it DPI-aware"; status=1; }
[ "$status" -eq 0 ] && echo "$name: manifest asks for $level and common controls 6.0.0.0, and is DPI-aware"
exit "$status"
