#!/usr/bin/env bash
# Makes the game's two sounds from nothing but sox's tone generator, so they are
# our own: Tada.wav, a short bright fanfare for the player's win, and
# Chimes.wav, a gentle falling chime for the player's loss.
# The results are committed; the build never runs this. Run it again after a
# change:  bash resources/media/make-sounds.sh   (needs: sox)
set -euo pipefail
cd "$(dirname "$0")"

rate=22050          # plenty for these tones, and half the file size of CD rate
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# -D: no dither, so that the same script always writes the same bytes. The last
# step of each sound runs with -V1: sox loses track of the length after the
# reverb and warns about the trim that sets it, which is harmless.
gen() { sox -D -n -r "$rate" -b 16 -c 1 "$@"; }

# A brass-like chord: sawtooth voices, softened by a low-pass filter and widened
# by a chorus. Arguments: output, length in seconds, attack, release, frequencies.
brass() {
  local out=$1 length=$2 attack=$3 release=$4
  shift 4
  local voices=()
  for f in "$@"; do voices+=(sawtooth "$f"); done
  gen "$work/raw.wav" synth "$length" "${voices[@]}" remix - \
    lowpass 2600 lowpass 4200 \
    fade q "$attack" "$length" "$release" \
    chorus 0.7 0.9 45 0.35 0.3 2 -s
  sox -D "$work/raw.wav" "$out" gain -n -3
}

# A bell: a pure tone with two inharmonic partials, struck and left to ring out.
# Arguments: output, length in seconds, fundamental.
bell() {
  local out=$1 length=$2 f=$3
  local f2 f3 ring
  f2=$(awk -v f="$f" 'BEGIN { printf "%.2f", f * 2.76 }')
  f3=$(awk -v f="$f" 'BEGIN { printf "%.2f", f * 5.40 }')
  ring=$(awk -v l="$length" 'BEGIN { printf "%.3f", l - 0.004 }')
  gen "$out" synth "$length" sine "$f" sine "$f2" sine "$f3" remix 1v0.7,2v0.2,3v0.08 \
    fade l 0.004 "$length" "$ring"
}

# --- Tada: a quick pickup chord, then the big major chord that rings on.
brass "$work/ta.wav" 0.16 0.012 0.06 392.00 493.88 587.33          # G major
brass "$work/da.wav" 1.05 0.02 0.75 523.25 659.26 783.99 1046.50   # C major
sox -D "$work/da.wav" "$work/da-late.wav" pad 0.15
sox -D -m -v 1 "$work/ta.wav" -v 1 "$work/da-late.wav" "$work/tada.wav"
sox -D -V1 "$work/tada.wav" -r "$rate" -b 16 -c 1 Tada.wav \
  pad 0 0.2 reverb 25 50 60 trim 0 1.3 fade t 0 1.3 0.12 gain -n -1.5

# --- Chimes: three bells falling by a major third and a fourth.
bell "$work/b1.wav" 0.9 1318.51   # E6
bell "$work/b2.wav" 0.9 1046.50   # C6
bell "$work/b3.wav" 0.9 783.99    # G5
sox -D "$work/b2.wav" "$work/b2-late.wav" pad 0.18
sox -D "$work/b3.wav" "$work/b3-late.wav" pad 0.36
sox -D -m "$work/b1.wav" "$work/b2-late.wav" "$work/b3-late.wav" "$work/chimes.wav"
sox -D -V1 "$work/chimes.wav" -r "$rate" -b 16 -c 1 Chimes.wav \
  reverb 35 50 70 trim 0 1.15 fade t 0 1.15 0.2 gain -n -3

echo "made Tada.wav and Chimes.wav"
