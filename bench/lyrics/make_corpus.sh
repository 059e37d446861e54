#!/usr/bin/env bash
# Remakes the lyric files of music-player/corpus that other lyric tools
# wrote (not run by scripts/test; the files are kept in the repository):
#   lyric_ffmpeg.lrc         ffmpeg's LRC muxer, from SubRip: UTF-8 without
#                            a byte-order mark, LF, [re:]/[ve:] tags, a stamp
#                            past 99 minutes
#   lyric_gaupol_gbk.lrc     Gaupol's library (Debian: python3-aeidon),
#                            GBK with CR LF and a header
#   lyric_gaupol_utf16le.lrc the same saved as UTF-16LE, which it writes
#                            without a byte-order mark
#   lyric_lrc_kit.lrc        lrc-kit (npm): several stamps on one line, an
#                            [offset:]
#   lyric_paroles.lrc        paroles (npm): lines inserted out of order
# Needs ffmpeg, python3-aeidon and node with npm.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$here/../../music-player/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/song.srt" <<'SRT'
1
00:00:01,000 --> 00:00:02,500
窗外的麻雀

2
00:00:02,800 --> 00:00:04,000
Sing it again [x2]

3
00:01:05,250 --> 00:01:07,000
在电线杆上多嘴

4
01:40:00,500 --> 01:40:02,000
late
SRT
ffmpeg -hide_banner -loglevel error -y -i "$work/song.srt" \
  -metadata title=七里香 -metadata artist=周杰伦 "$out/lyric_ffmpeg.lrc"
/usr/bin/python3 - "$work/song.srt" "$out" <<'PY'
import sys, aeidon
srt, out = sys.argv[1], sys.argv[2]
for name, encoding in (("lyric_gaupol_gbk.lrc", "gbk"),
                       ("lyric_gaupol_utf16le.lrc", "utf_16_le")):
    project = aeidon.Project()
    project.open_main(srt, "utf_8")
    lrc = aeidon.files.new(aeidon.formats.LRC, f"{out}/{name}", encoding,
                           aeidon.newlines.WINDOWS)
    # What a user types into the header dialog.
    lrc.header = "[ti:七里香]\n[ar:周杰伦]\n[offset:-500]"
    project.save_main(lrc)
PY
(cd "$here" && npm install --no-audit --no-fund --silent && node write_lrc.mjs "$out")
