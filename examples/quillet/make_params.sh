#!/bin/sh
# Writes the sample parameters file params.dat (64-byte records, no line ends):
# a header, then three pieces with their civil parishes. The people and
# places are made up. Usage: sh make_params.sh [output file]
set -e
out=${1:-params.dat}

# The header: transcriber id (4), 4 bytes the editor leaves alone, name (56).
header() { printf '%-4s%-4s%-56s' "$1" "$2" "$3"; }

# A piece record: number (4), spare (4), registration district (20),
# LDS film (8), spare (2), household and record counts (6 digits each), spare (14).
piece() { printf '%-4s%-4s%-20s%-8s%-2s%06d%06d%-14s' "$1" '' "$2" "$3" '' "$4" "$5" ''; }

# A civil parish stamped as updated: number (4), spare (4), name (20),
# spare (6), mark "*" (1), updated by (4), updated on (9), rest of the stamp (13), spare (3).
stamped() { printf '%-4s%-4s%-20s%-6s*%-4s%-9s%-13s%-3s' "$1" '' "$2" '' "$3" "$4" '' ''; }

# A civil parish not yet updated: its stamp is 27 NUL bytes.
fresh() {
    printf '%-4s%-4s%-20s%-6s' "$1" '' "$2" ''
    printf '\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000'
    printf '%-3s' ''
}

{
    header 'MJB' '0001' 'Margery J. Bellweather'
    piece 0412 'Thornleigh' '1341097' 312 1388
    stamped 0412 'Thornleigh St Agnes' 'MJB' '14Mar2024'
    fresh 0412 'Little Haddow'
    stamped 0412 'Crookfold' 'RTW' '02Nov2023'
    piece 0413 'Thornleigh' '1341097' 0 0
    fresh 0413 'Mossgate'
    fresh 0413 'Ebbington Parva'
    piece 0587 'Wendlesham' '1341122' 96 421
    stamped 0587 'Wendlesham Market' 'MJB' '30Jan2025'
} > "$out"
