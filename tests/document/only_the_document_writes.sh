#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The show's count and modified flag are changed by the show document alone: no source file outside
# document/ assigns, increments or decrements SlideCount or ShowModified.
set -uo pipefail
top=${1:?usage: only_the_document_writes.sh SOURCE_ROOT}
cd "$top" || exit 2
field='(SlideCount|ShowModified)'
writes=$(grep -rnE --include='*.cpp' --include='*.h' \
  -e "\\b${field}\\s*([-+*/%|&^]?=[^=]|\\+\\+|--)" \
  -e "(\\+\\+|--)\\s*([A-Za-z_][A-Za-z0-9_]*(\\(\\))?(\\.|->))*${field}\\b" \
  --exclude-dir=document --exclude-dir='build*' --exclude-dir=.git . |
  grep -vE ':[0-9]+:\s*//')
if [ -n "$writes" ]; then
  echo "written outside document/:"
  echo "$writes"
  exit 1
fi
