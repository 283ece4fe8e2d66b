#!/usr/bin/env bash
# Makes a small directory of measurement-like data files (deterministic):
# a sweep of .dat files with comment and header lines, LF and CRLF line ends,
# one-, two-, three- and four-column files, plus a .txt and a .gdw file.
set -euo pipefail
out=${1:-examples/data}
mkdir -p "$out"

# awk program: columns, points, phase, crlf, then writes the file body.
gen() {
  local file=$1 cols=$2 points=$3 phase=$4 crlf=$5 title=$6
  awk -v cols="$cols" -v n="$points" -v ph="$phase" -v crlf="$crlf" -v title="$title" 'BEGIN {
    eol = crlf ? "\r\n" : "\n"
    printf "# %s%s", title, eol
    printf "# instrument: bench scope CH1-CH3, sample interval 1 ms%s", eol
    if (cols == 1) printf "voltage%s", eol
    else if (cols == 2) printf "time\tvoltage%s", eol
    else if (cols == 3) printf "time\tvoltage\tcurrent%s", eol
    else printf "time\tvoltage\tcurrent\ttemperature%s", eol
    srand(7 + ph * 13)
    for (i = 0; i < n; i++) {
      t = i * 0.001
      v = 2.5 * sin(2 * 3.14159265 * 5 * t + ph) * exp(-t * 0.8) + (rand() - 0.5) * 0.05
      c = 0.8 * cos(2 * 3.14159265 * 3 * t + ph / 2) + (rand() - 0.5) * 0.02
      k = 24.0 + ph + 3 * t + (rand() - 0.5) * 0.1
      if (cols == 1) printf "%.5f%s", v, eol
      else if (cols == 2) printf "%.4f\t%.5f%s", t, v, eol
      else if (cols == 3) printf "%.4f\t%.5f\t%.5f%s", t, v, c, eol
      else printf "%.4f,%.5f,%.5f,%.3f%s", t, v, c, k, eol
    }
  }' > "$out/$file"
}

gen run01.dat 2 1000 0 0 "run 01: damped oscillation, 2 columns"
gen run02.dat 2 1000 1 1 "run 02: damped oscillation, CRLF line ends"
gen run03.dat 3 1000 2 0 "run 03: voltage and current"
gen run04.dat 4 1000 3 1 "run 04: voltage, current and temperature (comma separated)"
gen run05.dat 1 800 4 0 "run 05: voltage only, one column"
gen notes.txt 2 200 5 0 "notes: a text file beside the measurements"
gen sweep.gdw 3 1500 6 1 "sweep: a .gdw file with CRLF line ends"
echo "$out"
