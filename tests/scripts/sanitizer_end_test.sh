#!/usr/bin/env bash
# A test program that a sanitizer ends (no exit handlers run) leaves nothing behind: its
# temporary folder, with the lock and scratch folders in it, goes within 10 s.
set -u
folder=$(ASAN_OPTIONS=detect_leaks=0 "$1")
status=$?
[[ $status -ne 0 && -n $folder ]] || { echo "not ended by the sanitizer (status $status)"; exit 1; }
for ((tries = 0; tries < 100; tries++)); do
  [[ -e $folder ]] || exit 0
  sleep 0.1
done
echo "left behind: $folder"; exit 1
