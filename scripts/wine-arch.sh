#!/usr/bin/env bash
# Prints the Wine prefix architecture a Windows program needs: win32 for a 32-bit program,
# win64 for a 64-bit one (from the machine field of its PE header).
#   wine-arch.sh PROGRAM
set -euo pipefail
pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
case $machine in
  014c) echo win32 ;;
  8664) echo win64 ;;
  *) echo "wine-arch: $1 is not an x86 Windows program (machine $machine)" >&2; exit 1 ;;
esac
