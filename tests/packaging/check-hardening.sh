#!/bin/sh
# The packaged program's hardening, from two sides: what the binary shows
# (hardening-check: PIE, stack protector, fortified calls, RELRO, BIND_NOW)
# and what every compile command asked for. Control-flow protection is only
# checked on the command lines: Debian 12's start files carry no IBT/SHSTK
# property note, so the linked program never shows it.
# Usage: check-hardening.sh <program> <compile_commands.json> [cf]
# With "cf" every command must also have -fcf-protection.
set -eu
program=$1 commands=$2 cf=${3:-}

hardening-check --nocfprotection "$program"

# A later -fno-stack-protector, -fcf-protection=none or -U_FORTIFY_SOURCE
# would undo the flag, so the last word of each kind is what counts.
awk -v cf="$cf" '
  /"command":/ {
    n++; sp = ""; fort = ""; cet = ""
    count = split($0, w, /[ "]+/)
    for (i = 1; i <= count; i++) {
      if (w[i] ~ /^-f(no-)?stack-protector/) sp = w[i]
      if (w[i] ~ /^-(D|U)_FORTIFY_SOURCE/) fort = w[i]
      if (w[i] ~ /^-f(no-)?cf-protection/) cet = w[i]
    }
    bad = ""
    if (sp != "-fstack-protector-strong") bad = bad " stack protector (" sp ")"
    if (fort !~ /^-D_FORTIFY_SOURCE=[23]$/) bad = bad " fortify (" fort ")"
    if (cf == "cf" && cet != "-fcf-protection" && cet != "-fcf-protection=full") bad = bad " cf-protection (" cet ")"
    if (bad != "") { failed++; if (failed <= 5) print "compiled without" bad ": " $0 }
  }
  END {
    if (n == 0) { print "no compile commands found"; exit 1 }
    if (failed) { print failed " of " n " compile commands lack hardening"; exit 1 }
    print n " compile commands hardened"
  }' "$commands"
