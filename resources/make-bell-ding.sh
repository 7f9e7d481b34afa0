#!/bin/sh
# Makes resources/bell-ding.wav: a 0.7 s two-tone bell (E6 over B6), 44.1 kHz
# mono 16-bit, with a short attack and a long fade. Needs sox.
set -eu
cd "$(dirname "$0")"
sox -n -r 44100 -c 1 -b 16 bell-ding.wav \
    synth 0.7 sine 1318.51 synth 0.7 sine mix 1975.53 fade q 0.005 0.7 0.65 vol 0.6
