#!/usr/bin/env bash
# bench/lyrics/replay.sh [REVISION]
#
# Replays the player's lyric line tick by tick against lrc-kit, an LRC
# reader from the npm registry, for lyric files of many shapes, the files
# of bench/lyrics/make_corpus.sh and 30-line songs with offsets from -1500
# to +1500 ms: once with the lyric code of the working tree, once with that
# of REVISION (default: main). Not a test (scripts/test does not run it):
# it needs the npm registry once, for lrc-kit. Prints one line per shape.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
revision=${1:-main}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build() {  # build DIR-WITH-LYRICS OUTPUT [FLAGS]
  g++ -std=c++20 -O1 -I"$1" -I"$root" -o "$2" "$here/lyric_replay.cc" "$1/music-player/lyrics.cpp" \
    "$root/common/unicode.cpp" "$root/common/text_rules.cpp" "$root/music-player/media_player.cpp" \
    "$root/testing/iconv_code_page.cpp" "${@:3}"
}
mkdir -p "$work/old/music-player"
git -C "$root" show "$revision:music-player/lyrics.cpp" >"$work/old/music-player/lyrics.cpp"
git -C "$root" show "$revision:music-player/lyrics.h" >"$work/old/music-player/lyrics.h"
old_flags=()
grep -q 'class Lyrics' "$work/old/music-player/lyrics.h" || old_flags=(-DOLD_LYRICS_API)
build "$root" "$work/replay-new"
build "$work/old" "$work/replay-old" "${old_flags[@]}"
(cd "$here" && [ -d node_modules/lrc-kit ] || npm install --no-audit --no-fund --silent)
node "$here/replay.mjs" "$work" "$revision" "$root/music-player/corpus"
